#include "print/ui/TfrmPrintScope.h"

#include "ui/ReportIcons.h"
#include "ui/ToolWindow.h"
#include "ui/WindowConventions.h"

#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace kasovka {

TfrmPrintScope::TfrmPrintScope(bool allGroups, const QString &currentGroupName, QWidget *parent)
    : QDialog(parent, toolWindowFlags()), m_allGroups(allGroups)
{
    setObjectName(QStringLiteral("TfrmPrintScope"));
    setWindowTitle(QStringLiteral("Tisk"));
    QVBoxLayout *layout = toolWindowLayout(this, int(Glyph::Back), QStringLiteral("Zpět"), btnOk, btnClose);
    auto *main = new QWidget(this);
    auto *body = new QVBoxLayout(main);
    body->setContentsMargins(14, 12, 14, 14);
    body->setSpacing(10);
    body->addWidget(captionRow(main, ReportIcon::Rows, QStringLiteral("Vyberte rozsah tisku")));
    auto *frame = new QGroupBox(main);
    auto *choices = new QVBoxLayout(frame);
    rbPrintOneGroup = new QRadioButton(QStringLiteral("tisknout pouze aktuální sumační skupinu"), frame);
    lblActualGroupName = new QLabel(currentGroupName, frame);
    lblActualGroupName->setContentsMargins(24, 0, 0, 6);
    QFont bold = lblActualGroupName->font();
    bold.setBold(true);
    lblActualGroupName->setFont(bold);
    rbPrintAllGroups = new QRadioButton(QStringLiteral("tisknout všechny sumační skupiny najednou"), frame);
    choices->addWidget(rbPrintOneGroup);
    choices->addWidget(lblActualGroupName);
    choices->addWidget(rbPrintAllGroups);
    body->addWidget(frame);
    main->setMinimumWidth(420);
    layout->addWidget(main);
    connect(btnOk, &QToolButton::clicked, this, &TfrmPrintScope::Ok);
    connect(btnClose, &QToolButton::clicked, this, &QDialog::reject);
    installKeyPreview(this, [this] { Ok(); }, [this] { reject(); });
}

void TfrmPrintScope::showEvent(QShowEvent *event)
{
    (m_allGroups ? rbPrintAllGroups : rbPrintOneGroup)->setChecked(true);
    centreOnScreen(this);
    QDialog::showEvent(event);
}

void TfrmPrintScope::Ok()
{
    m_allGroups = !rbPrintOneGroup->isChecked();
    accept();
}

} // namespace kasovka
