// The console services of the tools: what reaches standard error, how
// questions are answered and how Ctrl+C becomes a cancel request.

#include "app/ConsoleUiServices.h"
#include "app/TBaseApplication.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <string>

namespace kasovka {
namespace {

// Everything the services write, read back from a temporary file (not a
// terminal, so progress stays off unless switched on).
class Captured {
public:
    Captured() : m_file(std::tmpfile()) {}
    ~Captured() { std::fclose(m_file); }
    std::FILE *file() const { return m_file; }
    std::string text() const
    {
        std::fflush(m_file);
        std::rewind(m_file);
        std::string result;
        char buffer[256];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, m_file)) > 0)
            result.append(buffer, n);
        std::fseek(m_file, 0, SEEK_END);
        return result;
    }

private:
    std::FILE *m_file;
};

TEST(ConsoleUiServices, MessagesAreTitledLines)
{
    const std::pair<MessageKind, std::string> cases[] = {
        {MessageKind::Warning, "Varování: Soubor chybí\n"},
        {MessageKind::Error, "Chyba: Soubor chybí\n"},
        {MessageKind::Information, "Informace: Soubor chybí\n"},
        {MessageKind::Question, "Dotaz: Soubor chybí\n"},
    };
    for (const auto &[kind, line] : cases) {
        Captured err;
        ConsoleUiServices console(MessageResult::No, err.file());
        console.showMessage(QStringLiteral("Soubor chybí"), kind);
        EXPECT_EQ(err.text(), line);
    }
}

TEST(ConsoleUiServices, QuestionsTakeThePresetAnswer)
{
    Captured err;
    ConsoleUiServices console(MessageResult::No, err.file());
    EXPECT_EQ(console.showMessage("Přepsat?", MessageKind::Question), MessageResult::No);
    console.setQuestionAnswer(MessageResult::Yes);
    EXPECT_EQ(console.showMessage("Přepsat?", MessageKind::Question), MessageResult::Yes);
    // Other boxes have only "OK", whatever the preset.
    EXPECT_EQ(console.showMessage("Hotovo", MessageKind::Information), MessageResult::Ok);
    // An Ok preset cannot answer a yes/no question with Ok.
    console.setQuestionAnswer(MessageResult::Ok);
    EXPECT_EQ(console.showMessage("Přepsat?", MessageKind::Question), MessageResult::No);
}

TEST(ConsoleUiServices, ProgressStaysOffTheRedirectedStream)
{
    Captured err;
    ConsoleUiServices console(MessageResult::No, err.file());
    console.showProgress("Načítání deníku", true, true);
    console.refreshProgress();
    console.hideProgress();
    EXPECT_EQ(err.text(), std::string());
}

TEST(ConsoleUiServices, ProgressOnATerminalIsOneRewrittenLine)
{
    Captured err;
    ConsoleUiServices console(MessageResult::No, err.file());
    console.setShowsProgress(true);
    console.showProgress("Načítání", false, true);
    console.refreshProgress();
    console.showMessage("Chybí kurz", MessageKind::Warning);
    console.refreshProgress(); // hidden by the message: draws nothing
    EXPECT_EQ(err.text(), "\rNačítání |\x1b[K"
                          "\rNačítání /\x1b[K"
                          "\r\x1b[K"
                          "Varování: Chybí kurz\n");
}

using SignalHandler = void (*)(int);

SignalHandler currentInterruptHandler()
{
    struct sigaction action {};
    sigaction(SIGINT, nullptr, &action);
    return action.sa_handler;
}

TEST(ConsoleUiServices, CtrlCDuringACancellableJobRequestsCancelling)
{
    Captured err;
    ConsoleUiServices console(MessageResult::No, err.file());
    TBaseApplication app(console, {});

    // Without a cancel link Ctrl+C keeps its usual meaning.
    app.ShowProgress("Spouštění", false, false);
    EXPECT_FALSE(console.catchesInterrupt());
    EXPECT_EQ(currentInterruptHandler(), SIG_DFL);

    app.ShowProgress("Generování sestavy", true, false);
    EXPECT_TRUE(console.catchesInterrupt());
    std::raise(SIGINT);
    EXPECT_TRUE(app.CancelRequested());

    // A message hides the progress and gives Ctrl+C back until the job
    // shows its progress again.
    app.ShowMessageDialog("Pozor", MessageKind::Warning);
    EXPECT_FALSE(console.catchesInterrupt());
    app.ShowProgress("Generování sestavy", true, false);
    EXPECT_TRUE(console.catchesInterrupt());

    app.HideProgress();
    EXPECT_FALSE(console.catchesInterrupt());
    EXPECT_EQ(currentInterruptHandler(), SIG_DFL);
}

using ConsoleUiServicesDeathTest = ::testing::Test;

TEST(ConsoleUiServicesDeathTest, ASecondCtrlCEndsAJobThatDoesNotStop)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            ConsoleUiServices console(MessageResult::No, stderr);
            TBaseApplication app(console, {});
            app.ShowProgress("Generování sestavy", true, false);
            std::raise(SIGINT);
            if (!app.CancelRequested())
                std::_Exit(3);
            std::raise(SIGINT);
            std::_Exit(4);
        },
        ::testing::KilledBySignal(SIGINT), "");
}

TEST(ConsoleUiServicesDeathTest, CtrlCAfterTheLaunchContextHasGoneEndsTheProgram)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            ConsoleUiServices console(MessageResult::No, stderr);
            {
                TBaseApplication app(console, {});
                app.ShowProgress("Generování sestavy", true, false);
            }
            std::raise(SIGINT);
            std::_Exit(4);
        },
        ::testing::KilledBySignal(SIGINT), "");
}

} // namespace
} // namespace kasovka
