// The controls and sections of the report filter dialog, top to bottom.

#include "filter/ui/TfrmReportFilter.h"

#include "filter/ui/TDateBox.h"
#include "ui/WindowConventions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace kasovka {

namespace {

constexpr int DropDownWidth = 230;
constexpr int DateBoxWidth = 118;

QLabel *sectionCaption(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    label->setContentsMargins(0, 5, 0, 0);
    return label;
}

QLabel *explanation(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    QPalette muted = label->palette();
    muted.setColor(QPalette::WindowText, QColor(0x44, 0x4c, 0x58));
    label->setPalette(muted);
    return label;
}

// A caption and a thin rule under it, then the section's controls.
void addSection(QVBoxLayout *body, const QString &caption, QWidget *parent)
{
    body->addWidget(sectionCaption(caption, parent));
    auto *rule = new QFrame(parent);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    body->addWidget(rule);
}

QComboBox *dropDown(const QString &name, QWidget *parent)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(name);
    box->setFixedWidth(DropDownWidth);
    return box;
}

QCheckBox *checkBox(const QString &name, const QString &caption, QWidget *parent)
{
    auto *box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    return box;
}

QHBoxLayout *labelled(const QString &caption, QWidget *control, QWidget *parent, int labelWidth)
{
    auto *row = new QHBoxLayout;
    auto *label = new QLabel(caption, parent);
    label->setMinimumWidth(labelWidth);
    label->setBuddy(control);
    row->addWidget(label);
    row->addWidget(control);
    row->addStretch();
    return row;
}

} // namespace

QWidget *TfrmReportFilter::buildToolbar()
{
    QHBoxLayout *layout = nullptr;
    QWidget *toolbar = makeToolbarStrip(this, layout, StripLook::Plain);
    btnOK = makeToolbarButton(glyphIcon(Glyph::Ok), QStringLiteral("OK"), toolbar);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnZpet = makeToolbarButton(glyphIcon(Glyph::Back), QStringLiteral("Zpět"), toolbar);
    btnZpet->setObjectName(QStringLiteral("btnZpet"));
    layout->addWidget(btnOK);
    layout->addWidget(btnZpet);
    layout->addStretch();
    return toolbar;
}

void TfrmReportFilter::buildGroupsSection(QVBoxLayout *body)
{
    addSection(body, QStringLiteral("Sumační skupiny"), this);
    body->addWidget(explanation(
        QStringLiteral("Peněžní deník můžete rozdělit na tzv. sumační skupiny (zakázky, "
                       "střediska, činnosti, a další)."),
        this));
    cbxVertikalniDeleni = dropDown(QStringLiteral("cbxVertikalniDeleni"), this);
    body->addLayout(labelled(QStringLiteral("Sumovat deník podle"), cbxVertikalniDeleni, this, 130));
}

void TfrmReportFilter::buildPeriodSection(QVBoxLayout *body)
{
    addSection(body, QStringLiteral("Období"), this);
    body->addWidget(explanation(
        QStringLiteral("Peněžní deník můžete vytisknout také za zadané období: zapněte přepínač "
                       "\"za období\" a vyplňte data od - do. Přepínač \"Započítávat i předchozí "
                       "období\" pak určuje, zda se do součtů započítají i pohyby předchozího "
                       "období včetně počátečních stavů."),
        this));

    auto *frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("panObdobi"));
    frame->setFrameShape(QFrame::StyledPanel);
    auto *grid = new QGridLayout(frame);
    grid->setContentsMargins(10, 6, 10, 6);
    grid->setHorizontalSpacing(8);
    chckZaObdobi = checkBox(QStringLiteral("chckZaObdobi"), QStringLiteral("za období"), frame);
    edtObdobiOD = new TDateBox(frame);
    edtObdobiOD->setObjectName(QStringLiteral("edtObdobiOD"));
    edtObdobiOD->setFixedWidth(DateBoxWidth);
    edtObdobiDO = new TDateBox(frame);
    edtObdobiDO->setObjectName(QStringLiteral("edtObdobiDO"));
    edtObdobiDO->setFixedWidth(DateBoxWidth);
    auto *lblOD = new QLabel(QStringLiteral("od"), frame);
    lblOD->setBuddy(edtObdobiOD);
    auto *lblDO = new QLabel(QStringLiteral("do"), frame);
    lblDO->setBuddy(edtObdobiDO);
    chckZapocitavatPredchObdobi = checkBox(QStringLiteral("chckZapocitavatPredchObdobi"),
                                           QStringLiteral("započítávat i předchozí období"), frame);
    grid->addWidget(chckZaObdobi, 0, 0);
    grid->addWidget(lblOD, 0, 1);
    grid->addWidget(edtObdobiOD, 0, 2);
    grid->addWidget(lblDO, 0, 3);
    grid->addWidget(edtObdobiDO, 0, 4);
    grid->setColumnStretch(5, 1);
    grid->addWidget(chckZapocitavatPredchObdobi, 1, 0, 1, 6);
    body->addWidget(frame);

    body->addWidget(explanation(
        QStringLiteral("Pokud tisknete peněžní deník bez sumačních skupin a bez datumového "
                       "omezení, můžete zapnout také tisk uzávěrkových úprav"),
        this));
    chckZaverkoveUpravy = checkBox(QStringLiteral("chckZaverkoveUpravy"),
                                   QStringLiteral("včetně uzávěrkových úprav"), this);
    body->addWidget(chckZaverkoveUpravy);
}

void TfrmReportFilter::buildLayoutSection(QVBoxLayout *body)
{
    addSection(body, QStringLiteral("Vzhled deníku"), this);
    body->addWidget(explanation(
        QStringLiteral("Peněžní deník je možné generovat po dokladech (tzn. že celý doklad bude na "
                       "jednom řádku), nebo detailně (každý záznam v deníku bude vytištěn "
                       "samostatně na zvláštní řádek)"),
        this));
    // Both drop-downs on one row keep the dialog low enough for a laptop screen.
    cbxZpusobSumace = dropDown(QStringLiteral("cbxZpusobSumace"), this);
    QHBoxLayout *rows = labelled(QStringLiteral("Generovat"), cbxZpusobSumace, this, 130);
    cbxTridiDle = dropDown(QStringLiteral("cbxTridiDle"), this);
    rows->insertSpacing(2, 24);
    rows->insertLayout(3, labelled(QStringLiteral("Řádky třídit"), cbxTridiDle, this, 0));
    body->addLayout(rows);
    body->addWidget(explanation(
        QStringLiteral("Jestliže vás zajímá pouze závěrečný přehled deníku, můžete vypnout "
                       "generování jednotlivých řádků - načtení celé sestavy je poté rychlejší, "
                       "nebudete však mít k dispozici rozpis dokladů."),
        this));
    chckPouzeZaverecnyPrehled = checkBox(QStringLiteral("chckPouzeZaverecnyPrehled"),
                                         QStringLiteral("pouze závěrečný přehled peněžního deníku"),
                                         this);
    body->addWidget(chckPouzeZaverecnyPrehled);
}

TfrmReportFilter::FilterRow TfrmReportFilter::makeFilterRow(const QString &objectName,
                                                            const QString &caption, bool editable)
{
    FilterRow row;
    row.on = checkBox(QStringLiteral("chckFiltr") + objectName, caption, this);
    row.text = new QLineEdit(this);
    row.text->setObjectName(QStringLiteral("edtFiltr") + objectName + QStringLiteral("Text"));
    row.text->setReadOnly(!editable);
    row.select = new QToolButton(this);
    row.select->setObjectName(QStringLiteral("btnFiltr") + objectName + QStringLiteral("Select"));
    row.select->setText(QStringLiteral("..."));
    row.select->setFixedWidth(28);
    row.negation = checkBox(QStringLiteral("chckFiltr") + objectName + QStringLiteral("Negace"),
                            QStringLiteral("negace"), this);
    return row;
}

void TfrmReportFilter::buildFilterSection(QVBoxLayout *body)
{
    addSection(body, QStringLiteral("Filtr"), this);
    const FilterRow centres = makeFilterRow(QStringLiteral("Strediska"),
                                            QStringLiteral("jen střediska"), false);
    const FilterRow activities = makeFilterRow(QStringLiteral("Cinnosti"),
                                               QStringLiteral("jen činnosti"), false);
    const FilterRow contracts = makeFilterRow(QStringLiteral("Zakazky"),
                                              QStringLiteral("jen zakázky"), false);
    const FilterRow currency = makeFilterRow(QStringLiteral("Mena"), QStringLiteral("jen měnu"),
                                             true);
    m_rows = {centres, activities, contracts, currency};
    chckFiltrStrediska = centres.on, edtFiltrStrediskaText = centres.text;
    btnFiltrStrediskaSelect = centres.select, chckFiltrStrediskaNegace = centres.negation;
    chckFiltrCinnosti = activities.on, edtFiltrCinnostiText = activities.text;
    btnFiltrCinnostiSelect = activities.select, chckFiltrCinnostiNegace = activities.negation;
    chckFiltrZakazky = contracts.on, edtFiltrZakazkyText = contracts.text;
    btnFiltrZakazkySelect = contracts.select, chckFiltrZakazkyNegace = contracts.negation;
    chckFiltrMena = currency.on, edtFiltrMenaText = currency.text;
    btnFiltrMenaSelect = currency.select, chckFiltrMenaNegace = currency.negation;
    edtFiltrMenaText->setFixedWidth(70);

    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    for (int i = 0; i < m_rows.size(); ++i) {
        const FilterRow &row = m_rows.at(i);
        grid->addWidget(row.on, i, 0);
        grid->addWidget(row.text, i, 1, Qt::AlignLeft);
        grid->addWidget(row.select, i, 2);
        grid->addWidget(row.negation, i, 3);
    }
    for (int i = 0; i < 3; ++i)
        m_rows.at(i).text->setFixedWidth(330);
    grid->setColumnStretch(4, 1);
    body->addLayout(grid);
}

void TfrmReportFilter::buildOtherSection(QVBoxLayout *body)
{
    addSection(body, QStringLiteral("Ostatní"), this);
    edtNazevFiltru = new QLineEdit(this);
    edtNazevFiltru->setObjectName(QStringLiteral("edtNazevFiltru"));
    edtNazevFiltru->setFixedWidth(300);
    body->addLayout(labelled(QStringLiteral("Stručný název sestavy (nepovinné)"), edtNazevFiltru,
                             this, 0));
}

void TfrmReportFilter::setTabOrderOfControls()
{
    const QList<QWidget *> order = {
        cbxVertikalniDeleni,   chckZaObdobi,          edtObdobiOD,
        edtObdobiDO,           chckZapocitavatPredchObdobi, chckZaverkoveUpravy,
        cbxZpusobSumace,       cbxTridiDle,           chckPouzeZaverecnyPrehled,
        chckFiltrStrediska,    edtFiltrStrediskaText, btnFiltrStrediskaSelect,
        chckFiltrStrediskaNegace, chckFiltrCinnosti,  edtFiltrCinnostiText,
        btnFiltrCinnostiSelect, chckFiltrCinnostiNegace, chckFiltrZakazky,
        edtFiltrZakazkyText,   btnFiltrZakazkySelect, chckFiltrZakazkyNegace,
        chckFiltrMena,         edtFiltrMenaText,      btnFiltrMenaSelect,
        chckFiltrMenaNegace,   edtNazevFiltru,
    };
    for (QWidget *control : order)
        control->setFocusPolicy(Qt::StrongFocus);
    for (int i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order.at(i - 1), order.at(i));
}

} // namespace kasovka
