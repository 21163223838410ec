#include "filter/ui/TfrmFilterSelectHostObject.h"

#include "app/TBaseApplication.h"
#include "core/model/MemTableModel.h"
#include "filter/ui/MemTableGrid.h"
#include "filter/ui/TFilterSelectHostObject.h"
#include "ui/WindowConventions.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace kasovka {

TfrmFilterSelectHostObject::TfrmFilterSelectHostObject(TFilterSelectHostObject &owner,
                                                       QWidget *parent)
    : QDialog(parent), m_owner(owner)
{
    setObjectName(QStringLiteral("frmFilterSelectHostObject"));
    setWindowTitle(m_owner.KindCaption(true));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(10);

    auto *listColumn = new QVBoxLayout;
    listColumn->setSpacing(4);
    m_lblHeading = new QLabel(QStringLiteral("   Seznam položek"), this);
    m_lblHeading->setObjectName(QStringLiteral("lblSeznamPolozek"));
    listColumn->addWidget(m_lblHeading);
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("grSelectedList"));
    m_model = new MemTableModel(m_owner.SelectedList(),
                                {{QStringLiteral("ShortCut"), QStringLiteral("Zkratka")}}, this);
    MemTableGridOptions options;
    options.titleRow = false;
    bindMemTableGrid(m_grid, m_model, options);
    listColumn->addWidget(m_grid, 1);
    layout->addLayout(listColumn, 1);

    auto *buttons = new QVBoxLayout;
    buttons->setSpacing(6);
    const auto addButton = [&](const QString &name, const QString &text) {
        auto *button = new QPushButton(text, this);
        button->setObjectName(name);
        button->setAutoDefault(false);
        buttons->addWidget(button);
        return button;
    };
    m_btnOK = addButton(QStringLiteral("btnOK"), QStringLiteral("OK"));
    m_btnOK->setDefault(true);
    m_btnZpet = addButton(QStringLiteral("btnZpet"), QStringLiteral("Zpět"));
    buttons->addSpacing(18);
    m_btnPridat = addButton(QStringLiteral("btnPridat"), QStringLiteral("Přidat"));
    m_btnVyjmout = addButton(QStringLiteral("btnVyjmout"), QStringLiteral("Vyjmout"));
    buttons->addStretch();
    layout->addLayout(buttons);

    connect(m_btnOK, &QPushButton::clicked, this, &TfrmFilterSelectHostObject::Confirm);
    connect(m_btnZpet, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_btnPridat, &QPushButton::clicked, this,
            &TfrmFilterSelectHostObject::AddFromHostList);
    connect(m_btnVyjmout, &QPushButton::clicked, this, &TfrmFilterSelectHostObject::RemoveCurrent);
    installKeyPreview(this, [this] { Confirm(); }, [this] { reject(); });
    resize(330, 300);
}

TfrmFilterSelectHostObject::~TfrmFilterSelectHostObject() = default;

void TfrmFilterSelectHostObject::showEvent(QShowEvent *event)
{
    if (!m_loaded) {
        m_loaded = true;
        loadSelection();
    }
    QDialog::showEvent(event);
}

void TfrmFilterSelectHostObject::loadSelection()
{
    TMemTable &list = m_owner.SelectedList();
    list.emptyTable();
    const QStringList codes = TFilterSelectHostObject::SplitSelectionText(m_owner.SelectionText());
    for (const QString &code : codes) {
        list.append();
        list.setText(TFilterSelectHostObject::FieldShortCut, code);
        list.post();
    }
    list.first();
    updateButtons();
    m_grid->setFocus();
}

void TfrmFilterSelectHostObject::updateButtons()
{
    m_btnVyjmout->setEnabled(m_owner.SelectedList().recordCount() > 0);
}

void TfrmFilterSelectHostObject::AddFromHostList()
{
    TMemTable &list = m_owner.SelectedList();
    const QString current = list.hasCurrent()
                                ? list.asText(TFilterSelectHostObject::FieldShortCut)
                                : QString();
    const QString code = m_owner.PickFromHostList(current, this);
    if (code.isEmpty())
        return;
    if (code.contains(QLatin1Char(';'))) {
        // The list text separates codes by ";": such a code would come back
        // as two codes.
        m_owner.Application().ShowMessageDialog(
            QStringLiteral("Zkratka \"") + code
                + QStringLiteral("\" obsahuje středník a do filtru ji nelze zařadit."),
            MessageKind::Information);
        return;
    }
    if (list.locate(QStringLiteral("ShortCut"), Variant(code), true)) {
        m_owner.Application().ShowMessageDialog(
            QStringLiteral("Zkratka \"") + code + QStringLiteral("\" již v seznamu existuje."),
            MessageKind::Information);
    } else {
        list.append();
        list.setText(TFilterSelectHostObject::FieldShortCut, code);
        list.post();
    }
    updateButtons();
}

void TfrmFilterSelectHostObject::RemoveCurrent()
{
    TMemTable &list = m_owner.SelectedList();
    if (list.hasCurrent())
        list.deleteRecord();
    updateButtons();
}

void TfrmFilterSelectHostObject::Confirm()
{
    TMemTable &list = m_owner.SelectedList();
    QStringList codes;
    for (int row = 0; row < list.recordCount(); ++row)
        codes.append(list.valueAt(row, TFilterSelectHostObject::FieldShortCut).toText());
    m_owner.SetSelectionText(TFilterSelectHostObject::JoinSelectionText(codes));
    accept();
}

} // namespace kasovka
