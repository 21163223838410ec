#pragma once
// The narrow channel through which the launch context reaches the user.
// The program serves it with message boxes and the progress window
// (app/ui), the command-line tools with the console (ConsoleUiServices),
// the tests with a recorder (tests/support/RecordingUiServices.h).
//
// An implementation needs nothing but this header: everything it has to
// show arrives as arguments, and the only state it may change in the launch
// context is the cancel flag handed over through attachCancelFlag().

#include <QString>

#include <atomic>

namespace kasovka {

enum class MessageKind {
    Warning,     // box title "Varování", button "OK"
    Error,       // box title "Chyba", button "OK"
    Information, // box title "Informace", button "OK"
    Question,    // box title "Dotaz", buttons "&Ano" and "&Ne"
};

// The button that closed a message box.
enum class MessageResult {
    Ok,
    Yes,
    No,
};

// The box title of a message kind ("Varování", "Chyba", "Informace", "Dotaz").
QString MessageTitle(MessageKind kind);

// Result codes of OpenWithAssociatedProgram, shell style: above 32 is success.
inline constexpr int ShellOpenSucceeded = 42;
inline constexpr int ShellFileNotFound = 2;
inline constexpr int ShellNoAssociation = 31;
inline constexpr int ShellSuccessThreshold = 32;

class IUiServices {
public:
    virtual ~IUiServices() = default;

    // Hides the progress first, then shows a modal box of the given kind.
    // Warning, Error and Information have the single button "OK" and return
    // Ok; a Question has "&Ano" and "&Ne" and returns Yes or No.
    virtual MessageResult showMessage(const QString &text, MessageKind kind) = 0;

    // Shows the non-modal progress with its main text; the cancel link
    // "Přerušit" and the animation only when asked for. Pending events are
    // processed before and after, so a click on the link is seen.
    virtual void showProgress(const QString &text, bool showCancelLink, bool animate) = 0;
    // Shows the progress again, unchanged, and processes pending events.
    virtual void refreshProgress() = 0;
    // Hides the progress and stops its animation.
    virtual void hideProgress() = 0;

    // Opens a file or an address with its associated program and returns a
    // shell result code: above ShellSuccessThreshold on success,
    // ShellNoAssociation when no program handles the file's type.
    virtual int openWithAssociatedProgram(const QString &path) = 0;

    // Shows the page `topic` (for example "pgMain.htm") of the HTML help
    // installed in `helpFolder` (with a trailing delimiter).
    virtual void showHelpTopic(const QString &helpFolder, const QString &topic) = 0;

    // A file was written and nothing opened it: a short notice that does not
    // wait for the user, naming the file and offering its folder.
    virtual void showSavedNotice(const QString &path) = 0;

    // The launch context hands over the flag behind its CancelRequested once,
    // at construction. The flag outlives the services' use of it.
    void attachCancelFlag(std::atomic<bool> *flag) noexcept { m_cancelFlag.store(flag); }

protected:
    // What the cancel link (or Ctrl+C) does. Lock-free, so a signal handler
    // may call it.
    void requestCancel() noexcept
    {
        if (std::atomic<bool> *flag = m_cancelFlag.load())
            flag->store(true);
    }
    std::atomic<bool> *cancelFlag() const noexcept { return m_cancelFlag.load(); }

private:
    std::atomic<std::atomic<bool> *> m_cancelFlag{nullptr};
};

} // namespace kasovka
