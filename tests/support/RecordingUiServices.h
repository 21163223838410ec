#pragma once
// UI services for tests: every call is recorded, questions take preset
// answers, and a cancel click can be simulated after a number of progress
// refreshes.

#include "app/UiServices.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace kasovka::test {

struct RecordedMessage {
    MessageKind kind;
    QString text;
    bool operator==(const RecordedMessage &) const = default;
};

class RecordingUiServices : public IUiServices {
public:
    // --- What happened -----------------------------------------------------
    QList<RecordedMessage> messages;
    // One line per progress call, in order:
    //   "show:<text>" with " [cancel]" and/or " [animate]" appended,
    //   "refresh", "hide" (also the implicit hide before every message).
    QStringList progressCalls;
    QStringList openedPaths;
    QStringList helpTopics;  // helpFolder + topic
    QStringList savedNotices; // the paths
    bool progressVisible = false;
    int refreshCount = 0;

    // --- How to answer ---------------------------------------------------
    // Answers for questions, used front first; No once they are used up.
    QList<MessageResult> questionAnswers;
    // Result of openWithAssociatedProgram.
    int openResult = ShellOpenSucceeded;
    // Simulate a click on "Přerušit" at the n-th refresh (1-based) after
    // this is set; 0 never.
    void cancelAfterRefreshes(int n);

    // The texts of all messages of one kind, in order.
    QStringList texts(MessageKind kind) const;
    // The only message; fails the current test when there is not exactly one.
    RecordedMessage single() const;

    MessageResult showMessage(const QString &text, MessageKind kind) override;
    void showProgress(const QString &text, bool showCancelLink, bool animate) override;
    void refreshProgress() override;
    void hideProgress() override;
    int openWithAssociatedProgram(const QString &path) override;
    void showHelpTopic(const QString &helpFolder, const QString &topic) override;
    void showSavedNotice(const QString &path) override { savedNotices.append(path); }

    // Simulates a click on the cancel link now.
    void clickCancel() { requestCancel(); }

private:
    int m_cancelAt = 0;
};

} // namespace kasovka::test
