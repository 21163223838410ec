#pragma once
// The program's UI services: modal message boxes with the program's titles
// and buttons, the progress window, the help window and the desktop's file
// associations.

#include "app/UiServices.h"
#include "app/ui/TfrmHelpViewer.h"

#include <QPointer>

#include <functional>
#include <memory>

namespace kasovka {

class TfrmProgressForm;

class QtUiServices : public IUiServices {
public:
    // Answers whether the desktop has a program for a MIME type.
    using AssociationLookup = std::function<bool(const QString &mimeType)>;
    // Hands a URL to the desktop; false when that failed.
    using UrlOpener = std::function<bool(const QUrl &url)>;

    QtUiServices();
    ~QtUiServices() override;

    MessageResult showMessage(const QString &text, MessageKind kind) override;
    void showProgress(const QString &text, bool showCancelLink, bool animate) override;
    void refreshProgress() override;
    void hideProgress() override;
    int openWithAssociatedProgram(const QString &path) override;
    void showHelpTopic(const QString &helpFolder, const QString &topic) override;
    void showSavedNotice(const QString &path) override;

    TfrmProgressForm &progressForm() { return *m_progress; }
    TfrmHelpViewer *helpViewer() const { return m_help; }
    QWidget *savedNotice() const { return m_notice; }

    // Replaceable for tests, so that nothing is started on the desktop.
    void setAssociationLookup(AssociationLookup lookup) { m_lookup = std::move(lookup); }
    void setUrlOpener(UrlOpener opener) { m_opener = std::move(opener); }

private:
    std::unique_ptr<TfrmProgressForm> m_progress;
    QPointer<TfrmHelpViewer> m_help;
    QPointer<QWidget> m_notice;
    AssociationLookup m_lookup;
    UrlOpener m_opener;
};

} // namespace kasovka
