#include "app/TBaseApplication.h"
#include "filter/ui/WidgetTestApp.h"
#include "report/view/DemoReport.h"
#include "report/view/TGroupList.h"
#include "report/view/TfrmPenDenReport.h"
#include "workspace/TReportContainer.h"
#include "workspace/TfrmReportContainer.h"

#include <QPointer>
#include <QStackedWidget>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace kasovka {
namespace {

class ReportContainerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        test::widgetApp();
        s_demo = new test::DemoContext(300);
    }
    static void TearDownTestSuite()
    {
        delete s_demo;
        s_demo = nullptr;
    }
    void SetUp() override
    {
        m_container = std::make_unique<TReportContainer>(s_demo->app());
        // Each new report takes the next name of the list ("" = unnamed);
        // a missing entry cancels the dialog.
        m_container->SetFilterEditorFactory([this](QWidget *) {
            return std::make_unique<test::ScriptedFilterEditor>([this](TReportFilter &filter) {
                if (m_names.isEmpty())
                    return false;
                filter.NazevFiltru = m_names.takeFirst();
                filter.VertikalniDeleni = m_kind;
                return true;
            });
        });
        m_container->SetWarningPresenter([this](const QString &headline, const QString &, QWidget *) {
            m_warningCalls.append(QStringLiteral("%1|%2").arg(headline).arg(m_container->ReportCount()));
        });
    }
    void TearDown() override { m_container.reset(); }

    TfrmReportContainer *openWindow()
    {
        TfrmReportContainer *window = m_container->OpenWindow();
        QCoreApplication::processEvents(); // the first showing starts a new report
        return window;
    }
    QStringList buttonTexts() const
    {
        QStringList texts;
        for (QToolButton *button : m_container->Window()->SelectorButtons())
            texts.append(button->toolTip().section(QLatin1Char('\n'), 0, 0));
        return texts;
    }
    QList<bool> boldButtons() const
    {
        QList<bool> bold;
        for (QToolButton *button : m_container->Window()->SelectorButtons())
            bold.append(button->font().bold());
        return bold;
    }

    static test::DemoContext *s_demo;
    std::unique_ptr<TReportContainer> m_container;
    QStringList m_names;
    quint8 m_kind = sgkNone;
    QStringList m_warningCalls;
};
test::DemoContext *ReportContainerTest::s_demo = nullptr;

TEST_F(ReportContainerTest, CancelledFirstFilterLeavesAnEmptyWorkspaceAndAddStartsAgain)
{
    TfrmReportContainer *window = openWindow();
    EXPECT_EQ(m_container->ReportCount(), 0);
    EXPECT_EQ(m_container->CurrentReport(), nullptr);
    EXPECT_TRUE(window->btnPridat->isEnabled());
    EXPECT_EQ(window->pcReports->count(), 0);

    m_names = {QString()};
    window->btnPridat->click();
    EXPECT_EQ(m_container->ReportCount(), 1);
    EXPECT_EQ(window->pcReports->count(), 1);
    EXPECT_EQ(m_container->CurrentReport(), &m_container->Report(0));
    EXPECT_TRUE(window->btnPridat->isEnabled());
}

TEST_F(ReportContainerTest, UnnamedReportsCountEveryReportBeforeThem)
{
    openWindow();
    m_names = {QString(), QString(), QStringLiteral("Pokladna"), QString()};
    for (int i = 0; i < 4; ++i)
        m_container->NewReport();
    EXPECT_EQ(buttonTexts(), (QStringList{"Sestava 1", "Sestava 2", "Pokladna", "Sestava 4"}));
    EXPECT_EQ(m_container->Report(2).ReportName(), QStringLiteral("Pokladna"));
}

TEST_F(ReportContainerTest, WarningsAreShownBeforeTheReportIsAdded)
{
    openWindow();
    m_names = {QString()};
    m_container->NewReport();
    ASSERT_EQ(m_container->ReportCount(), 1);
    // The demo agenda carries data problems on purpose.
    ASSERT_TRUE(m_container->Report(0).HasWarnings());
    EXPECT_EQ(m_warningCalls,
              QStringList{QStringLiteral("Věnujte prosím pozornost následujícím varovným zprávám|0")});
}

TEST_F(ReportContainerTest, WorkspaceFitsASmallScreenAndLongNamesStayReadable)
{
    TfrmReportContainer *window = openWindow();
    const QString longName = QStringLiteral("Přehled firem podle čísla adresy za celý účetní rok 2024");
    m_names = {longName, QStringLiteral("Pokladna")};
    m_kind = sgkUser; // the longest groups header
    m_container->NewReport();
    m_container->NewReport();
    // 1024x768 less the window's frame, its title bar and a desktop panel.
    const QSize smallest = window->minimumSizeHint().expandedTo(window->minimumSize());
    EXPECT_LE(smallest.width(), 1024 - 8);
    EXPECT_LE(smallest.height(), 768 - 34 - 40);

    // Two lines that fit the button in bold, the shown report's look; the
    // hint keeps the whole name.
    QToolButton *button = window->SelectorButtons().at(0);
    const QStringList lines = button->text().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 2);
    QFont bold = button->font();
    bold.setBold(true);
    for (const QString &line : lines)
        EXPECT_LE(QFontMetrics(bold).horizontalAdvance(line), TfrmReportContainer::SelectorWidth - 12);
    EXPECT_TRUE(longName.startsWith(lines.at(0) + QLatin1Char(' ')));
    EXPECT_TRUE(lines.at(1).endsWith(QChar(0x2026)));
    EXPECT_EQ(button->toolTip(), longName + QStringLiteral("\nObdobí: 1.1.2024 – 31.12.2024"));
    EXPECT_EQ(window->SelectorButtons().at(1)->text(), QStringLiteral("Pokladna"));
}

TEST_F(ReportContainerTest, SelectorRowScrollsOnlyWithinItsRules)
{
    TfrmReportContainer *window = openWindow();
    window->ScrollLeft();
    EXPECT_EQ(window->ScrollOffset(), 0);
    // With no report, 0 >= 50 fails: nothing to scroll.
    window->ScrollRight();
    EXPECT_EQ(window->ScrollOffset(), 0);

    m_names = {QString()};
    m_container->NewReport();
    window->ScrollRight(); // 137 >= 50
    EXPECT_EQ(window->ScrollOffset(), -100);
    window->ScrollRight(); // 137 < 150
    EXPECT_EQ(window->ScrollOffset(), -100);
    EXPECT_EQ(window->SelectorButtons()[0]->geometry(), QRect(-100, 26, 137, 38));

    // A report added now joins the scrolled row.
    m_names = {QString()};
    m_container->NewReport();
    EXPECT_EQ(window->SelectorButtons()[1]->geometry(), QRect(-100 + 135, 26, 137, 38));
    window->ScrollRight(); // 274 >= 150
    EXPECT_EQ(window->ScrollOffset(), -200);
    window->ScrollLeft();
    window->ScrollLeft();
    window->ScrollLeft();
    EXPECT_EQ(window->ScrollOffset(), 0);
    EXPECT_EQ(window->SelectorButtons()[1]->pos(), QPoint(135, 26));
}

TEST_F(ReportContainerTest, SelectorButtonShowsItsReportAndIsTheOnlyBoldOne)
{
    TfrmReportContainer *window = openWindow();
    m_names = {QString(), QString(), QString()};
    for (int i = 0; i < 3; ++i)
        m_container->NewReport();
    EXPECT_EQ(boldButtons(), (QList<bool>{false, false, true}));
    EXPECT_EQ(window->pcReports->currentIndex(), 2);

    window->SelectorButtons()[0]->click();
    EXPECT_EQ(m_container->CurrentIndex(), 0);
    EXPECT_EQ(m_container->CurrentReport(), &m_container->Report(0));
    EXPECT_EQ(window->pcReports->currentIndex(), 0);
    EXPECT_EQ(boldButtons(), (QList<bool>{true, false, false}));
    EXPECT_EQ(window->SelectorButtons()[1]->focusPolicy(), Qt::NoFocus);
}

TEST_F(ReportContainerTest, KeysAddSwitchAndCloseReportsAndClosingFreesTheView)
{
    TfrmReportContainer *window = openWindow();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    s_demo->ui().helpTopics.clear();
    QTest::keyClick(window, Qt::Key_F1);
    EXPECT_EQ(s_demo->ui().helpTopics.size(), 1);
    m_names = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")};
    QTest::keyClick(window, Qt::Key_N, Qt::ControlModifier);
    QTest::keyClick(window, Qt::Key_Insert);
    QTest::keyClick(window, Qt::Key_N, Qt::ControlModifier);
    ASSERT_EQ(buttonTexts(), (QStringList{"A", "B", "C"}));
    ASSERT_EQ(m_container->CurrentIndex(), 2);

    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int shown;
    } steps[] = {
        {Qt::Key_Tab, Qt::ControlModifier, 0}, // round the strip
        {Qt::Key_PageDown, Qt::ControlModifier, 1},
        {Qt::Key_PageUp, Qt::ControlModifier, 0},
        {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, 2},
        {Qt::Key_Tab, Qt::ControlModifier, 0},
        {Qt::Key_Tab, Qt::ControlModifier, 1},
    };
    for (const auto &step : steps) {
        QTest::keyClick(window, step.key, step.modifiers);
        EXPECT_EQ(m_container->CurrentIndex(), step.shown) << step.key;
    }

    // Ctrl+W closes "B": its view goes, "C" takes its place and is shown.
    QPointer<TfrmPenDenReport> view = m_container->View(1);
    QTest::keyClick(window, Qt::Key_W, Qt::ControlModifier);
    EXPECT_TRUE(view.isNull());
    EXPECT_EQ(buttonTexts(), (QStringList{"A", "C"}));
    EXPECT_EQ(window->pcReports->count(), 2);
    EXPECT_EQ(m_container->CurrentReport()->ReportName(), QStringLiteral("C"));
    EXPECT_EQ(boldButtons(), (QList<bool>{false, true}));
    EXPECT_EQ(window->SelectorButtons()[1]->objectName(), QStringLiteral("btnSestava2"));
    // The buttons after a closed one still show their own report.
    window->SelectorButtons()[1]->click();
    EXPECT_EQ(m_container->CurrentReport()->ReportName(), QStringLiteral("C"));

    // The last one closed leaves the one before it shown, then nothing.
    m_container->CloseReport(1);
    EXPECT_EQ(m_container->CurrentReport()->ReportName(), QStringLiteral("A"));
    QTest::keyClick(window, Qt::Key_W, Qt::ControlModifier);
    EXPECT_EQ(m_container->ReportCount(), 0);
    EXPECT_EQ(m_container->CurrentReport(), nullptr);
    EXPECT_TRUE(window->SelectorButtons().isEmpty());
    QTest::keyClick(window, Qt::Key_W, Qt::ControlModifier); // nothing to close
}

TEST_F(ReportContainerTest, TheShownReportsButtonStaysInTheStrip)
{
    TfrmReportContainer *window = openWindow();
    window->setWindowState(Qt::WindowNoState);
    window->resize(800, 600);
    QCoreApplication::processEvents();
    m_names = QStringList(12, QString());
    for (int i = 0; i < 12; ++i)
        m_container->NewReport();
    const auto inStrip = [window](int index) {
        const QRect button = window->SelectorButtons().at(index)->geometry();
        return button.left() >= 0 && button.right() < window->panReportList->width();
    };
    EXPECT_TRUE(inStrip(11));
    m_container->SelectReport(0);
    EXPECT_TRUE(inStrip(0));
    m_container->SelectReport(11);
    m_container->CloseReport(11);
    EXPECT_TRUE(inStrip(10));
}

TEST_F(ReportContainerTest, HelpOpensTheMainTopicAndKonecEndsTheWindow)
{
    TfrmReportContainer *window = openWindow();
    s_demo->ui().helpTopics.clear();
    window->btnNapoveda->click();
    ASSERT_EQ(s_demo->ui().helpTopics.size(), 1);
    EXPECT_TRUE(s_demo->ui().helpTopics[0].endsWith(QStringLiteral("help/pgMain.htm")));
    // A stray Esc (say, one meant for a closed dialog) keeps the reports.
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_TRUE(window->isVisible());
    window->btnKonec->click();
    EXPECT_EQ(window->result(), int(QDialog::Accepted));
    EXPECT_FALSE(window->isVisible());
}

// "Konec" while a PDF is being saved once hid every window and left the
// process running: now it asks, and ends only after the job has stopped.
TEST_F(ReportContainerTest, KonecDuringAJobAsksAndEndsOnlyOnceTheJobHasStopped)
{
    TfrmReportContainer *window = openWindow();
    TBaseApplication &app = s_demo->app();
    m_names = {QStringLiteral("A")};
    m_container->NewReport();
    app.ShowProgress(QStringLiteral("Ukládám sestavu do PDF, prosím čekejte"), true, true);
    // The report being saved is neither closed nor joined by another.
    QTest::keyClick(window, Qt::Key_W, Qt::ControlModifier);
    m_container->CloseReport(0);
    m_container->NewReport();
    EXPECT_EQ(m_container->ReportCount(), 1);
    s_demo->ui().messages.clear();
    s_demo->ui().questionAnswers = {MessageResult::No};
    window->btnKonec->click();
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(app.CancelRequested());
    EXPECT_EQ(s_demo->ui().texts(MessageKind::Question).size(), 1);

    s_demo->ui().questionAnswers = {MessageResult::Yes};
    window->btnKonec->click();
    EXPECT_TRUE(app.CancelRequested()); // the job sees "Přerušit"
    QTest::qWait(250);
    EXPECT_TRUE(window->isVisible()); // the job has not returned yet
    app.HideProgress();
    EXPECT_TRUE(QTest::qWaitFor([window] { return !window->isVisible(); }, 2000));
    EXPECT_EQ(window->result(), int(QDialog::Accepted));
    app.SetCancelRequested(false);
}

TEST_F(ReportContainerTest, ResizeRefitsTheGroupListOfTheReportShown)
{
    TfrmReportContainer *window = openWindow();
    m_kind = sgkCentre;
    m_names = {QString()};
    m_container->NewReport();
    window->setWindowState(Qt::WindowNoState);
    window->resize(1200, 500);
    QCoreApplication::processEvents();
    TfrmPenDenReport *view = m_container->View(0);
    ASSERT_NE(view, nullptr);
    const int small = view->cgrSkupiny->VisiblePanelCount();
    window->resize(1200, 1000);
    QCoreApplication::processEvents();
    EXPECT_GT(view->cgrSkupiny->VisiblePanelCount(), small);
    EXPECT_EQ(view->cgrSkupiny->VisiblePanelCount(), view->cgrSkupiny->height() / 85);
}

} // namespace
} // namespace kasovka
