#include "app/ui/QtUiServices.h"

#include "app/ShellOpen.h"
#include "app/ui/TfrmHelpViewer.h"
#include "app/ui/TfrmProgressForm.h"
#include "app/ui/TfrmSavedNotice.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>
#include <QWindow>

namespace kasovka {

namespace {

QMessageBox::Icon iconOf(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Warning: return QMessageBox::Warning;
    case MessageKind::Error: return QMessageBox::Critical;
    case MessageKind::Information: return QMessageBox::Information;
    case MessageKind::Question: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

// The window a box or the help should stand over: the running modal dialog
// when there is one, else the active window.
QWidget *currentOwner()
{
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

} // namespace

QtUiServices::QtUiServices()
    : m_progress(std::make_unique<TfrmProgressForm>([this] { requestCancel(); })),
      m_lookup(&HasAssociatedProgram),
      m_opener([](const QUrl &url) { return QDesktopServices::openUrl(url); })
{
}

QtUiServices::~QtUiServices()
{
    delete m_help.data();
}

MessageResult QtUiServices::showMessage(const QString &text, MessageKind kind)
{
    hideProgress();
    QMessageBox box(iconOf(kind), MessageTitle(kind), text, QMessageBox::NoButton, currentOwner());
    box.setObjectName(QStringLiteral("frmMessageBox"));
    box.setTextFormat(Qt::PlainText);
    if (kind == MessageKind::Question) {
        QPushButton *yes = box.addButton(QStringLiteral("&Ano"), QMessageBox::YesRole);
        QPushButton *no = box.addButton(QStringLiteral("&Ne"), QMessageBox::NoRole);
        box.setDefaultButton(yes);
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() == yes ? MessageResult::Yes : MessageResult::No;
    }
    QPushButton *ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
    return MessageResult::Ok;
}

void QtUiServices::showProgress(const QString &text, bool showCancelLink, bool animate)
{
    m_progress->ShowProgress(text, showCancelLink, animate);
}

void QtUiServices::refreshProgress()
{
    m_progress->RefreshProgress();
}

void QtUiServices::hideProgress()
{
    m_progress->HideProgress();
}

int QtUiServices::openWithAssociatedProgram(const QString &path)
{
    const bool address = IsAddress(path);
    const QFileInfo file(path);
    if (!address && !file.exists())
        return ShellFileNotFound;
    if (!m_lookup(AssociationMimeType(path)))
        return ShellNoAssociation;
    const QUrl url = address ? QUrl(path) : QUrl::fromLocalFile(file.absoluteFilePath());
    return m_opener(url) ? ShellOpenSucceeded : ShellNoAssociation;
}

void QtUiServices::showSavedNotice(const QString &path)
{
    delete m_notice;
    m_notice = new TfrmSavedNotice(path, [this](const QUrl &url) { return m_opener(url); });
    m_notice->show();
}

void QtUiServices::showHelpTopic(const QString &helpFolder, const QString &topic)
{
    if (!m_help)
        m_help = new TfrmHelpViewer;
    if (!m_help->ShowTopic(helpFolder, topic)) {
        showMessage(QStringLiteral("Nápovědu nelze zobrazit, chybí soubor ") + helpFolder + topic, MessageKind::Error);
        return;
    }
    // Like the progress window: a window of its own must not be blocked by
    // the modal workspace it was opened from.
    if (QWidget *modal = QApplication::activeModalWidget(); modal && modal != m_help) {
        m_help->winId();
        modal->winId();
        m_help->windowHandle()->setTransientParent(modal->windowHandle());
    }
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

} // namespace kasovka
