#include "support/RecordingUiServices.h"

#include <gtest/gtest.h>

namespace kasovka::test {

void RecordingUiServices::cancelAfterRefreshes(int n)
{
    m_cancelAt = n > 0 ? refreshCount + n : 0;
}

QStringList RecordingUiServices::texts(MessageKind kind) const
{
    QStringList result;
    for (const RecordedMessage &message : messages) {
        if (message.kind == kind)
            result.append(message.text);
    }
    return result;
}

RecordedMessage RecordingUiServices::single() const
{
    EXPECT_EQ(messages.size(), 1);
    if (messages.isEmpty())
        return {MessageKind::Information, QString()};
    return messages.first();
}

MessageResult RecordingUiServices::showMessage(const QString &text, MessageKind kind)
{
    hideProgress();
    messages.append({kind, text});
    if (kind != MessageKind::Question)
        return MessageResult::Ok;
    if (questionAnswers.isEmpty())
        return MessageResult::No;
    return questionAnswers.takeFirst();
}

void RecordingUiServices::showProgress(const QString &text, bool showCancelLink, bool animate)
{
    QString call = QStringLiteral("show:") + text;
    if (showCancelLink)
        call += QStringLiteral(" [cancel]");
    if (animate)
        call += QStringLiteral(" [animate]");
    progressCalls.append(call);
    progressVisible = true;
}

void RecordingUiServices::refreshProgress()
{
    progressCalls.append(QStringLiteral("refresh"));
    ++refreshCount;
    if (m_cancelAt > 0 && refreshCount >= m_cancelAt) {
        m_cancelAt = 0;
        requestCancel();
    }
}

void RecordingUiServices::hideProgress()
{
    progressCalls.append(QStringLiteral("hide"));
    progressVisible = false;
}

int RecordingUiServices::openWithAssociatedProgram(const QString &path)
{
    openedPaths.append(path);
    return openResult;
}

void RecordingUiServices::showHelpTopic(const QString &helpFolder, const QString &topic)
{
    helpTopics.append(helpFolder + topic);
}

} // namespace kasovka::test
