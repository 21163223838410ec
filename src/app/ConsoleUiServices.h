#pragma once
// The UI services of the command-line tools. Messages go to standard error
// as "<box title>: <text>"; a question is answered with a preset answer
// (a tool's --overwrite, for example), No unless told otherwise; the
// progress text is shown only when standard error is a terminal. While a
// job with a cancel link runs, Ctrl+C (SIGINT) sets the launch context's
// CancelRequested instead of ending the process; a second Ctrl+C before the
// job has stopped ends it as usual.

#include "app/UiServices.h"

#include <cstdio>

namespace kasovka {

class ConsoleUiServices : public IUiServices {
public:
    // `err` is where everything is written (standard error by default).
    explicit ConsoleUiServices(MessageResult questionAnswer = MessageResult::No,
                               std::FILE *err = stderr);
    ~ConsoleUiServices() override;
    ConsoleUiServices(const ConsoleUiServices &) = delete;
    ConsoleUiServices &operator=(const ConsoleUiServices &) = delete;

    void setQuestionAnswer(MessageResult answer) { m_questionAnswer = answer; }
    // Whether progress is drawn; decided from `err` at construction.
    void setShowsProgress(bool shows) { m_showsProgress = shows; }
    // Whether SIGINT is taken over while a cancellable progress is shown.
    bool catchesInterrupt() const { return m_interruptInstalled; }

    MessageResult showMessage(const QString &text, MessageKind kind) override;
    void showProgress(const QString &text, bool showCancelLink, bool animate) override;
    void refreshProgress() override;
    void hideProgress() override;
    int openWithAssociatedProgram(const QString &path) override;
    void showHelpTopic(const QString &helpFolder, const QString &topic) override;
    // Nothing: the tools write the files their caller named.
    void showSavedNotice(const QString &) override {}

private:
    void drawProgress();
    void clearProgressLine();
    void installInterrupt();
    void restoreInterrupt();
    // The SIGINT handler; it reaches the cancel flag through the console, so
    // a launch context that has gone (and detached its flag) is never
    // written to.
    static void onInterrupt(int signal);

    MessageResult m_questionAnswer;
    std::FILE *m_err;
    bool m_showsProgress = false;
    bool m_progressVisible = false;
    bool m_animate = false;
    int m_frame = 0;
    QString m_progressText;
    bool m_interruptInstalled = false;
};

} // namespace kasovka
