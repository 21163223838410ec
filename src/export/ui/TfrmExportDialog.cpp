#include "export/ui/TfrmExportDialog.h"

#include "export/ExportDialog.h"
#include "ui/ReportIcons.h"
#include "ui/ToolWindow.h"
#include "ui/WindowConventions.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace kasovka {

TfrmExportDialog::TfrmExportDialog(TExportDialog &dialog, QWidget *parent)
    : QDialog(parent, toolWindowFlags()), m_dialog(dialog)
{
    setObjectName(QStringLiteral("TfrmExportDialog"));
    setWindowTitle(QStringLiteral("Export"));
    QVBoxLayout *layout = toolWindowLayout(this, int(Glyph::Back), QStringLiteral("Zpět"), btnOk, btnClose);

    auto *main = new QWidget(this);
    auto *body = new QVBoxLayout(main);
    body->setContentsMargins(14, 12, 14, 14);
    body->setSpacing(10);
    body->addWidget(captionRow(main, ReportIcon::Workbook, QStringLiteral("Vyberte rozsah exportu")));
    auto *frame = new QGroupBox(main);
    auto *choices = new QVBoxLayout(frame);
    rbExportOneGroup = new QRadioButton(QStringLiteral("exportovat pouze aktuální sumační skupinu"), frame);
    lblActualGroupName = new QLabel(m_dialog.CurrentGroupName(), frame);
    lblActualGroupName->setContentsMargins(24, 0, 0, 6);
    QFont bold = lblActualGroupName->font();
    bold.setBold(true);
    lblActualGroupName->setFont(bold);
    rbExportAllGroups = new QRadioButton(QStringLiteral("exportovat všechny sumační skupiny najednou"), frame);
    choices->addWidget(rbExportOneGroup);
    choices->addWidget(lblActualGroupName);
    choices->addWidget(rbExportAllGroups);
    body->addWidget(frame);
    main->setMinimumWidth(420);
    layout->addWidget(main);

    connect(btnOk, &QToolButton::clicked, this, &TfrmExportDialog::Ok);
    connect(btnClose, &QToolButton::clicked, this, &QDialog::reject);
    installKeyPreview(this, [this] { Ok(); }, [this] { reject(); });
}

void TfrmExportDialog::showEvent(QShowEvent *event)
{
    (m_dialog.ExportAllGroups() ? rbExportAllGroups : rbExportOneGroup)->setChecked(true);
    centreOnScreen(this);
    QDialog::showEvent(event);
}

void TfrmExportDialog::Ok()
{
    m_dialog.SetExportAllGroups(!rbExportOneGroup->isChecked());
    accept();
}

} // namespace kasovka
