#include "app/ConsoleUiServices.h"

#include "app/ShellOpen.h"

#include <QByteArray>

#include <csignal>

#ifdef _WIN32
#include <io.h>
#define KASOVKA_ISATTY _isatty
#define KASOVKA_FILENO _fileno
#else
#include <unistd.h>
#define KASOVKA_ISATTY isatty
#define KASOVKA_FILENO fileno
#endif

namespace kasovka {

namespace {

// The console whose launch context SIGINT cancels. Only one console takes
// over SIGINT at a time; it is set before the handler is installed and
// cleared after it is removed.
std::atomic<ConsoleUiServices *> g_interruptConsole{nullptr};
using SignalHandler = void (*)(int);
SignalHandler g_previousHandler = SIG_DFL;

const char SpinnerFrames[] = {'|', '/', '-', '\\'};

} // namespace

void ConsoleUiServices::onInterrupt(int)
{
    ConsoleUiServices *console = g_interruptConsole.load();
    std::atomic<bool> *flag = console != nullptr ? console->cancelFlag() : nullptr;
    if (flag == nullptr || flag->load()) {
        // Nobody listens, or the job has not reacted to the first Ctrl+C:
        // end as usual.
        std::signal(SIGINT, SIG_DFL);
        std::raise(SIGINT);
        return;
    }
    flag->store(true);
#ifdef _WIN32
    // The Windows runtime resets the handler before calling it.
    std::signal(SIGINT, onInterrupt);
#endif
}

ConsoleUiServices::ConsoleUiServices(MessageResult questionAnswer, std::FILE *err)
    : m_questionAnswer(questionAnswer), m_err(err != nullptr ? err : stderr)
{
    m_showsProgress = KASOVKA_ISATTY(KASOVKA_FILENO(m_err)) != 0;
}

ConsoleUiServices::~ConsoleUiServices()
{
    restoreInterrupt();
}

MessageResult ConsoleUiServices::showMessage(const QString &text, MessageKind kind)
{
    hideProgress();
    const QByteArray line = (MessageTitle(kind) + QStringLiteral(": ") + text).toUtf8();
    std::fprintf(m_err, "%s\n", line.constData());
    std::fflush(m_err);
    if (kind != MessageKind::Question)
        return MessageResult::Ok;
    return m_questionAnswer == MessageResult::Yes ? MessageResult::Yes : MessageResult::No;
}

void ConsoleUiServices::showProgress(const QString &text, bool showCancelLink, bool animate)
{
    m_progressText = text;
    m_animate = animate;
    m_progressVisible = true;
    if (showCancelLink)
        installInterrupt();
    else
        restoreInterrupt();
    drawProgress();
}

void ConsoleUiServices::refreshProgress()
{
    if (!m_progressVisible)
        return;
    ++m_frame;
    drawProgress();
}

void ConsoleUiServices::hideProgress()
{
    restoreInterrupt();
    if (!m_progressVisible)
        return;
    m_progressVisible = false;
    clearProgressLine();
}

int ConsoleUiServices::openWithAssociatedProgram(const QString &path)
{
    return OpenWithShell(path);
}

void ConsoleUiServices::showHelpTopic(const QString &helpFolder, const QString &topic)
{
    const QByteArray line = (QStringLiteral("Nápověda: ") + helpFolder + topic).toUtf8();
    std::fprintf(m_err, "%s\n", line.constData());
    std::fflush(m_err);
}

void ConsoleUiServices::drawProgress()
{
    if (!m_showsProgress)
        return;
    QByteArray line = "\r" + m_progressText.toUtf8();
    if (m_animate)
        line += QByteArray(" ") + SpinnerFrames[m_frame % 4];
    if (m_interruptInstalled)
        line += QStringLiteral(" (přerušit: Ctrl+C)").toUtf8();
    line += "\x1b[K"; // erase what a longer text left on the line
    std::fputs(line.constData(), m_err);
    std::fflush(m_err);
}

void ConsoleUiServices::clearProgressLine()
{
    if (!m_showsProgress)
        return;
    std::fputs("\r\x1b[K", m_err);
    std::fflush(m_err);
}

void ConsoleUiServices::installInterrupt()
{
    if (m_interruptInstalled || cancelFlag() == nullptr)
        return;
    ConsoleUiServices *expected = nullptr;
    if (!g_interruptConsole.compare_exchange_strong(expected, this))
        return; // another console holds SIGINT
    g_previousHandler = std::signal(SIGINT, onInterrupt);
    if (g_previousHandler == SIG_ERR) {
        g_previousHandler = SIG_DFL;
        g_interruptConsole.store(nullptr);
        return;
    }
    m_interruptInstalled = true;
}

void ConsoleUiServices::restoreInterrupt()
{
    if (!m_interruptInstalled)
        return;
    std::signal(SIGINT, g_previousHandler);
    g_previousHandler = SIG_DFL;
    g_interruptConsole.store(nullptr);
    m_interruptInstalled = false;
}

} // namespace kasovka
