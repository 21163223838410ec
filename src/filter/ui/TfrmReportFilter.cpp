#include "filter/ui/TfrmReportFilter.h"

#include "app/TBaseApplication.h"
#include "filter/FilterValidation.h"
#include "filter/TReportFilter.h"
#include "filter/ui/TDateBox.h"
#include "filter/ui/TFilterSelectHostObject.h"
#include "ui/WindowConventions.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace kasovka {

namespace {

constexpr int BodyWidth = 760;

void selectIndex(QComboBox *box, int index)
{
    box->setCurrentIndex(index >= 0 && index < box->count() ? index : 0);
}

// Text boxes look white while they can be used and take the button face
// when they are disabled, so a switched-off row reads as inactive at once.
void colourBox(QLineEdit *box, bool enabled)
{
    const QPalette standard = QApplication::palette();
    const QColor colour = standard.color(enabled ? QPalette::Base : QPalette::Button);
    QPalette palette = box->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Base, colour);
    box->setPalette(palette);
}

} // namespace

TfrmReportFilter::TfrmReportFilter(TReportFilter &filter, QWidget *parent)
    : QDialog(parent), m_filter(filter)
{
    setObjectName(QStringLiteral("frmReportFilter"));
    setWindowTitle(QStringLiteral("Filtr"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildToolbar());
    auto *rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    layout->addWidget(rule);

    auto *body = new QVBoxLayout;
    body->setContentsMargins(14, 2, 14, 14);
    body->setSpacing(5);
    buildGroupsSection(body);
    buildPeriodSection(body);
    buildLayoutSection(body);
    buildFilterSection(body);
    buildOtherSection(body);
    layout->addLayout(body);

    setTabOrderOfControls();
    connectUpdates();
    installKeyPreview(this, [this] { confirm(); }, [this] { reject(); });

    const int width = BodyWidth + 28;
    setFixedSize(width, layout->heightForWidth(width) > 0 ? layout->heightForWidth(width)
                                                          : sizeHint().height());
}

TfrmReportFilter::~TfrmReportFilter() = default;

void TfrmReportFilter::connectUpdates()
{
    connect(btnOK, &QToolButton::clicked, this, &TfrmReportFilter::confirm);
    connect(btnZpet, &QToolButton::clicked, this, &QDialog::reject);
    for (QComboBox *box : {cbxVertikalniDeleni, cbxZpusobSumace, cbxTridiDle})
        connect(box, &QComboBox::currentIndexChanged, this, &TfrmReportFilter::UpdateControls);
    for (QCheckBox *box : findChildren<QCheckBox *>())
        connect(box, &QCheckBox::toggled, this, &TfrmReportFilter::UpdateControls);
    // A typed "do" date counts once the user leaves the box.
    connect(edtObdobiDO, &TDateBox::focusLeft, this, &TfrmReportFilter::UpdateControls);
    connect(edtObdobiDO, &TDateBox::editingFinished, this, &TfrmReportFilter::UpdateControls);
    connect(btnFiltrStrediskaSelect, &QToolButton::clicked, this, &TfrmReportFilter::SelectCentres);
    connect(btnFiltrCinnostiSelect, &QToolButton::clicked, this,
            &TfrmReportFilter::SelectActivities);
    connect(btnFiltrZakazkySelect, &QToolButton::clicked, this, &TfrmReportFilter::SelectContracts);
    connect(btnFiltrMenaSelect, &QToolButton::clicked, this, &TfrmReportFilter::SelectCurrency);
}

void TfrmReportFilter::showEvent(QShowEvent *event)
{
    if (!m_shownOnce) {
        m_shownOnce = true;
        LoadControls();
        UpdateControls();
        placeOnScreen(this);
        cbxVertikalniDeleni->setFocus();
    }
    QDialog::showEvent(event);
}

void TfrmReportFilter::LoadControls()
{
    const QSignalBlocker blockGroups(cbxVertikalniDeleni);
    const QSignalBlocker blockOrder(cbxTridiDle);
    const QSignalBlocker blockGeneration(cbxZpusobSumace);
    cbxVertikalniDeleni->clear();
    for (quint8 kind = 0; kind <= LastSummationGroupKind; ++kind)
        cbxVertikalniDeleni->addItem(
            TReportFilter::SummationGroupKindName(kind, GroupKindListForm));
    cbxTridiDle->clear();
    cbxTridiDle->addItems({QStringLiteral("data dokladu"), QStringLiteral("čísla dokladu")});
    cbxZpusobSumace->clear();
    cbxZpusobSumace->addItems({QStringLiteral("po dokladech"), QStringLiteral("detailně")});

    selectIndex(cbxVertikalniDeleni, m_filter.VertikalniDeleni);
    selectIndex(cbxTridiDle, m_filter.TriditDle);
    selectIndex(cbxZpusobSumace, m_filter.ZpusobSumace);

    chckZaObdobi->setChecked(m_filter.ZaObdobi);
    chckZapocitavatPredchObdobi->setChecked(m_filter.ZapocitavatPredchObdobi);
    chckZaverkoveUpravy->setChecked(m_filter.ZaverkoveUpravy);
    chckPouzeZaverecnyPrehled->setChecked(m_filter.PouzeZaverecnyPrehled);
    chckFiltrStrediska->setChecked(m_filter.FiltrStrediska);
    chckFiltrStrediskaNegace->setChecked(m_filter.FiltrStrediskaNegace);
    chckFiltrCinnosti->setChecked(m_filter.FiltrCinnosti);
    chckFiltrCinnostiNegace->setChecked(m_filter.FiltrCinnostiNegace);
    chckFiltrZakazky->setChecked(m_filter.FiltrZakazky);
    chckFiltrZakazkyNegace->setChecked(m_filter.FiltrZakazkyNegace);
    chckFiltrMena->setChecked(m_filter.FiltrMena);
    chckFiltrMenaNegace->setChecked(m_filter.FiltrMenaNegace);

    edtObdobiOD->setDate(m_filter.ObdobiOD);
    edtObdobiDO->setDate(m_filter.ObdobiDO);
    // An empty box's calendar opens in the accounting year, not today.
    if (const TDateTime yearTo = m_filter.Application().FiscalYearTo(); !isZeroDate(yearTo)) {
        edtObdobiOD->setCalendarFallback(fromQDate(toQDate(yearTo).addYears(-1).addDays(1)));
        edtObdobiDO->setCalendarFallback(yearTo);
    }

    edtFiltrStrediskaText->setText(m_filter.FiltrStrediskaText);
    edtFiltrCinnostiText->setText(m_filter.FiltrCinnostiText);
    edtFiltrZakazkyText->setText(m_filter.FiltrZakazkyText);
    edtFiltrMenaText->setText(m_filter.FiltrMenaText);
    edtNazevFiltru->setText(m_filter.NazevFiltru);
}

void TfrmReportFilter::UpdateControls()
{
    const bool periodOn = chckZaObdobi->isChecked();
    chckZaverkoveUpravy->setEnabled(m_filter.ClosingAdjustmentsAllowed(
        cbxVertikalniDeleni->currentIndex() == sgkNone, periodOn, edtObdobiDO->dateOrZero()));

    edtObdobiOD->setEnabled(periodOn);
    edtObdobiDO->setEnabled(periodOn);
    chckZapocitavatPredchObdobi->setEnabled(periodOn);
    colourBox(edtObdobiOD, periodOn);
    colourBox(edtObdobiDO, periodOn);

    for (const FilterRow &row : std::as_const(m_rows)) {
        const bool on = row.on->isChecked();
        row.text->setEnabled(on);
        row.select->setEnabled(on);
        row.negation->setEnabled(on);
        colourBox(row.text, on);
    }
}

bool TfrmReportFilter::ApplyToFilter()
{
    FilterEntries entries;
    entries.periodOn = chckZaObdobi->isChecked();
    entries.periodFrom = edtObdobiOD->date();
    entries.periodTo = edtObdobiDO->date();
    entries.groupKind = cbxVertikalniDeleni->currentIndex();
    entries.fromText = edtObdobiOD->text();
    entries.toText = edtObdobiDO->text();
    TBaseApplication &app = m_filter.Application();
    if (const std::optional<FilterRejection> rejection =
            validateFilterEntries(entries, app.HostVersion())) {
        app.ShowMessageDialog(rejection->message, rejection->kind);
        return false;
    }
    if (!confirmUnknownCodes())
        return false;

    m_filter.VertikalniDeleni = quint8(cbxVertikalniDeleni->currentIndex());
    m_filter.ZaObdobi = chckZaObdobi->isChecked();
    m_filter.ObdobiOD = edtObdobiOD->dateOrZero();
    m_filter.ObdobiDO = edtObdobiDO->dateOrZero();
    m_filter.ZapocitavatPredchObdobi = chckZapocitavatPredchObdobi->isChecked();
    m_filter.ZaverkoveUpravy = chckZaverkoveUpravy->isChecked();
    m_filter.TriditDle = quint8(cbxTridiDle->currentIndex());
    m_filter.ZpusobSumace = quint8(cbxZpusobSumace->currentIndex());
    m_filter.PouzeZaverecnyPrehled = chckPouzeZaverecnyPrehled->isChecked();
    m_filter.NazevFiltru = edtNazevFiltru->text();
    m_filter.FiltrStrediska = chckFiltrStrediska->isChecked();
    m_filter.FiltrStrediskaText = edtFiltrStrediskaText->text();
    m_filter.FiltrStrediskaNegace = chckFiltrStrediskaNegace->isChecked();
    m_filter.FiltrCinnosti = chckFiltrCinnosti->isChecked();
    m_filter.FiltrCinnostiText = edtFiltrCinnostiText->text();
    m_filter.FiltrCinnostiNegace = chckFiltrCinnostiNegace->isChecked();
    m_filter.FiltrZakazky = chckFiltrZakazky->isChecked();
    m_filter.FiltrZakazkyText = edtFiltrZakazkyText->text();
    m_filter.FiltrZakazkyNegace = chckFiltrZakazkyNegace->isChecked();
    m_filter.FiltrMena = chckFiltrMena->isChecked();
    m_filter.FiltrMenaText = edtFiltrMenaText->text();
    m_filter.FiltrMenaNegace = chckFiltrMenaNegace->isChecked();
    return true;
}

// A code typed by hand that the host does not know gives a report without
// its records and no word why: the user is told and may go back.
bool TfrmReportFilter::confirmUnknownCodes()
{
    static const quint8 kinds[] = {mokCentre, mokActivity, mokContract, mokCurrency};
    TBaseApplication &app = m_filter.Application();
    QStringList lines;
    for (int i = 0; i < m_rows.size() && i < int(std::size(kinds)); ++i) {
        const FilterRow &row = m_rows[i];
        if (!row.on->isChecked() || row.text->text().trimmed().isEmpty())
            continue;
        TFilterSelectHostObject list(app, kinds[i], app.YearFolder(), false, QString());
        const QStringList unknown = list.UnknownCodes(row.text->text());
        if (unknown.isEmpty())
            continue;
        QStringList quoted;
        for (const QString &code : unknown)
            quoted.append(QStringLiteral("„%1“").arg(code));
        const QString pattern = unknown.size() == 1 ? QStringLiteral("Kód %1 není v seznamu %2 účetního systému.")
                                                    : QStringLiteral("Kódy %1 nejsou v seznamu %2 účetního systému.");
        lines.append(pattern.arg(quoted.join(QStringLiteral(", ")), TFilterSelectHostObject::KindNoun(kinds[i])));
    }
    if (lines.isEmpty())
        return true;
    const QString text = lines.join(QLatin1Char('\n'))
                         + QStringLiteral("\n\nSestava pro takový kód nenajde žádné záznamy. Chcete přesto pokračovat?");
    return app.ShowMessageDialog(text, MessageKind::Question) == MessageResult::Yes;
}

void TfrmReportFilter::confirm()
{
    if (ApplyToFilter())
        accept();
}

void TfrmReportFilter::selectInto(quint8 kind, bool editorMode, QLineEdit *box)
{
    TBaseApplication &app = m_filter.Application();
    TFilterSelectHostObject select(app, kind, app.YearFolder(), editorMode, box->text());
    if (select.Execute(this))
        box->setText(select.SelectionText());
}

void TfrmReportFilter::SelectCentres()
{
    selectInto(mokCentre, true, edtFiltrStrediskaText);
}

void TfrmReportFilter::SelectActivities()
{
    selectInto(mokActivity, true, edtFiltrCinnostiText);
}

void TfrmReportFilter::SelectContracts()
{
    selectInto(mokContract, true, edtFiltrZakazkyText);
}

void TfrmReportFilter::SelectCurrency()
{
    selectInto(mokCurrency, false, edtFiltrMenaText);
}

bool TReportFilterDialog::edit(TReportFilter &filter)
{
    TfrmReportFilter dialog(filter, m_parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace kasovka
