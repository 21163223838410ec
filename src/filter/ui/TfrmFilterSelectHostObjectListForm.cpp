#include "filter/ui/TfrmFilterSelectHostObjectListForm.h"

#include "core/model/MemTableModel.h"
#include "filter/ui/MemTableGrid.h"
#include "filter/ui/TFilterSelectHostObject.h"
#include "ui/WindowConventions.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace kasovka {

namespace {
constexpr int CodeColumnWidth = 110;
} // namespace

TfrmFilterSelectHostObjectListForm::TfrmFilterSelectHostObjectListForm(
    TFilterSelectHostObject &owner, QWidget *parent)
    : QDialog(parent), m_owner(owner)
{
    setObjectName(QStringLiteral("frmFilterSelectHostObjectListForm"));
    setWindowTitle(m_owner.KindCaption(false));
    setWindowFlags(resizableDialogFlags());

    QVBoxLayout *layout = nullptr;
    QHBoxLayout *toolbarLayout = addToolbarStrip(this, layout);
    QWidget *toolbar = toolbarLayout->parentWidget();
    m_btnOK = makeToolbarButton(glyphIcon(Glyph::Ok), QStringLiteral("OK"), toolbar);
    m_btnOK->setObjectName(QStringLiteral("btnOK"));
    m_btnZavrit = makeToolbarButton(glyphIcon(Glyph::Close), QStringLiteral("Zavřít"), toolbar);
    m_btnZavrit->setObjectName(QStringLiteral("btnZavrit"));
    toolbarLayout->addWidget(m_btnOK);
    toolbarLayout->addWidget(m_btnZavrit);
    toolbarLayout->addStretch();

    auto *line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    layout->addWidget(line);

    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("grHostList"));
    m_grid->setFrameShape(QFrame::NoFrame);
    m_model = new MemTableModel(
        m_owner.HostList(),
        {{QStringLiteral("ShortCut"), QStringLiteral("Zkratka"), CodeColumnWidth},
         {QStringLiteral("Description"), QStringLiteral("Název"), 3 * CodeColumnWidth}},
        this);
    bindMemTableGrid(m_grid, m_model);
    layout->addWidget(m_grid, 1);

    connect(m_btnOK, &QToolButton::clicked, this, &TfrmFilterSelectHostObjectListForm::Confirm);
    connect(m_btnZavrit, &QToolButton::clicked, this, &QDialog::reject);
    connect(m_grid, &QTableView::doubleClicked, this,
            [this](const QModelIndex &index) {
                if (index.isValid())
                    Confirm();
            });
    installKeyPreview(this, [this] { Confirm(); }, [this] { reject(); });
    resize(4 * CodeColumnWidth + 40, 360);
}

TfrmFilterSelectHostObjectListForm::~TfrmFilterSelectHostObjectListForm() = default;

void TfrmFilterSelectHostObjectListForm::showEvent(QShowEvent *event)
{
    setWindowTitle(m_owner.KindCaption(false));
    m_btnOK->setEnabled(m_owner.HostList().recordCount() > 0);
    m_grid->setFocus();
    QDialog::showEvent(event);
    if (m_owner.HostList().hasCurrent())
        m_grid->scrollTo(m_model->index(m_owner.HostList().recNo(), 0),
                         QAbstractItemView::PositionAtCenter);
}

void TfrmFilterSelectHostObjectListForm::Confirm()
{
    TMemTable &list = m_owner.HostList();
    if (!m_btnOK->isEnabled() || !list.hasCurrent())
        return;
    m_selectedCode = list.asText(TFilterSelectHostObject::FieldShortCut);
    accept();
}

} // namespace kasovka
