// The wizard's pages and buttons, the compatibility rule, the foreground
// timer and the hand-over to the workspace.

#include "app/ui/HostTree.h"

#include "app/TBaseApplication.h"
#include "core/DateTime.h"
#include "program/TfrmMain.h"
#include "support/RecordingUiServices.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QWindow>

#include <gtest/gtest.h>

namespace kasovka::test {
namespace {

const QString NoRights = QStringLiteral(
    "Litujeme, ale pro spuštění tohoto doplňku nemáte potřebná přístupová práva. Chcete-li využívat tento "
    "doplněk, požádejte administrátora o nastavení práv k funkci Účetnictví/Tiskové sestavy/Peněžní deník.");

// Stands in for the report container and records what the wizard did.
struct WorkspaceProbe {
    int runs = 0;
    bool buttonsEnabledDuringRun = true;
    bool result = true;
};

class ProbeWorkspace : public IReportWorkspace {
public:
    ProbeWorkspace(WorkspaceProbe &probe, TfrmMain &frm) : m_probe(probe), m_frm(frm) {}
    bool Run() override
    {
        ++m_probe.runs;
        m_probe.buttonsEnabledDuringRun =
            m_frm.btnBack()->isEnabled() || m_frm.btnNext()->isEnabled() || m_frm.btnClose()->isEnabled();
        return m_probe.result;
    }

private:
    WorkspaceProbe &m_probe;
    TfrmMain &m_frm;
};

class WizardTest : public ::testing::Test {
protected:
    void start(const QString &password = QString())
    {
        frm = std::make_unique<TfrmMain>(ui, tree.arguments(password));
        frm->setProgramFolder(tree.programFolder());
        frm->setWorkspaceFactory([this](TBaseApplication &) {
            return std::make_unique<ProbeWorkspace>(probe, *frm);
        });
        ASSERT_EQ(frm->StartUp(), 0);
        ui.messages.clear();
    }
    void finish()
    {
        frm->btnNext()->click(); // to tsFinal
        frm->btnNext()->click(); // "Dokončit"
    }

    HostTree tree;
    RecordingUiServices ui;
    WorkspaceProbe probe;
    std::unique_ptr<TfrmMain> frm;
};

TEST_F(WizardTest, ButtonsFollowThePage)
{
    start();
    EXPECT_FALSE(frm->btnBack()->isEnabled());
    EXPECT_EQ(frm->btnNext()->text(), QStringLiteral("Další >"));
    EXPECT_EQ(frm->btnBack()->text(), QStringLiteral("< Zpět"));
    EXPECT_EQ(frm->btnClose()->text(), QStringLiteral("Zavřít"));

    frm->btnNext()->click();
    EXPECT_EQ(frm->currentPage(), int(TfrmMain::tsFinal));
    EXPECT_TRUE(frm->btnBack()->isEnabled());
    EXPECT_EQ(frm->btnNext()->text(), QStringLiteral("Dokončit"));

    frm->btnBack()->click();
    EXPECT_EQ(frm->currentPage(), int(TfrmMain::tsWelcome));
    EXPECT_FALSE(frm->btnBack()->isEnabled());
    EXPECT_EQ(frm->btnNext()->text(), QStringLiteral("Další >"));
    EXPECT_FALSE(frm->programEnded());
}

TEST_F(WizardTest, GoToPageIgnoresPagesThatDoNotExist)
{
    start();
    frm->GoToPage(TfrmMain::tsFinal);
    for (int page : {-1, 2, 100}) {
        frm->GoToPage(page);
        EXPECT_EQ(frm->currentPage(), int(TfrmMain::tsFinal)) << page;
        EXPECT_EQ(frm->btnNext()->text(), QStringLiteral("Dokončit")) << page;
    }
}

TEST_F(WizardTest, PagesCarryTheirTexts)
{
    start();
    auto text = [&](const char *name) { return frm->findChild<QLabel *>(QString::fromLatin1(name))->text(); };
    EXPECT_EQ(frm->windowTitle(), QStringLiteral("Kasovka"));
    EXPECT_EQ(text("lblIntro"), QStringLiteral("Tento průvodce vám usnadní přípravu rozšířeného peněžního deníku, "
                                               "základní tiskové sestavy v daňové evidenci."));
    EXPECT_EQ(text("lblContinue"), QStringLiteral("Pokračovat můžete klepnutím na tlačítko [Další]."));
    EXPECT_EQ(text("lblFinish"), QStringLiteral("Načítání zahájíte klepnutím na tlačítko [Dokončit]."));
    EXPECT_TRUE(text("lblAbout").contains(QStringLiteral("<b>sumovat dle různých skupin</b>, např. zakázek, "
                                                         "středisek, firem, apod. (tzv. vertikální členění).")));
    EXPECT_FALSE(frm->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(frm->minimumSize(), frm->maximumSize());
}

// The grey bands of the information block must lie under its texts.
TEST_F(WizardTest, InformationBlockValuesAreNotCovered)
{
    start();
    frm->show();
    QApplication::processEvents();
    auto *page = frm->findChild<QWidget *>(QStringLiteral("tsWelcome"));
    for (const char *name : {"lblVersion", "lblSupport"}) {
        auto *value = frm->findChild<QLabel *>(QString::fromLatin1(name));
        EXPECT_EQ(page->childAt(value->geometry().center()), value) << name;
    }
    frm->hide();
}

TEST_F(WizardTest, SupportLinkStartsAMailWithTheSubject)
{
    start();
    auto *link = frm->findChild<QLabel *>(QStringLiteral("lblSupport"));
    Q_EMIT link->linkActivated(QStringLiteral("mail"));
    EXPECT_EQ(ui.openedPaths, QStringList(QStringLiteral(
                                  "mailto:podpora@kasovka.cz?subject=Kasovka%20pro%20%C3%BA%C4%8Detn%C3%AD%20syst%C3%A9m")));
}

TEST_F(WizardTest, NextOnTheWelcomePageWarnsAboutANewerHostOnce)
{
    tree.setProgBuild(QStringLiteral("20170115"));
    start();
    frm->btnNext()->click();
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages.first().kind, MessageKind::Warning);
    EXPECT_TRUE(ui.messages.first().text.endsWith(QStringLiteral("\n\nKontaktní e-mail: podpora@kasovka.cz")));
    EXPECT_EQ(frm->currentPage(), int(TfrmMain::tsFinal)); // only a warning
    frm->btnBack()->click();
    EXPECT_EQ(ui.messages.size(), 1);
}

TEST(HostCompatibility, ComparesTheReleaseDateWithTheCompatibilityDate)
{
    struct Row {
        const char *build;
        bool compatible;
    };
    const Row rows[] = {
        {"20170115", false}, {"20161001", false}, {"20170115-rc2", false},
        {"20160930", true},  {"", true},          {"2017011", true},
        {"2017a115", true},  {"2017-1-5", true},  {"20170230", true},
        {"20171301", true},  {"19991231", true},
    };
    const TDateTime compatibility = TBaseApplication::CompatibilityDate();
    for (const Row &row : rows) {
        SCOPED_TRACE(row.build);
        HostTree tree;
        tree.setProgBuild(QString::fromLatin1(row.build));
        QString message = QStringLiteral("stale");
        // The data folder comes with or without its trailing delimiter.
        EXPECT_EQ(TfrmMain::CheckHostCompatibility(tree.dataRoot(), compatibility, message), row.compatible);
        QString again;
        EXPECT_EQ(TfrmMain::CheckHostCompatibility(tree.dataRoot().chopped(1), compatibility, again), row.compatible);
        EXPECT_EQ(message.isEmpty(), row.compatible);
    }
}

TEST(HostCompatibility, WarningTextAndMissingDataIni)
{
    HostTree tree;
    QString message;
    EXPECT_TRUE(TfrmMain::CheckHostCompatibility(tree.dataRoot(), TBaseApplication::CompatibilityDate(), message));
    tree.setProgBuild(QStringLiteral("20161001"));
    EXPECT_FALSE(TfrmMain::CheckHostCompatibility(tree.dataRoot(), TBaseApplication::CompatibilityDate(), message));
    EXPECT_EQ(message,
              QStringLiteral(
                  "Datum vydání aktuálně používané verze účetního systému je vyšší, než tzv. datum kompatibility "
                  "tohoto doplňku. Stávající verze doplňku nemusí být kompatibilní s novějšími verzemi účetního "
                  "systému, což může mít za následek nepředvídatelné chování celého programu (v krajním případě i "
                  "poškození databáze).\n\n Doporučujeme Vám co nejdříve provést upgrade na vyšší verzi doplňku, "
                  "která je kompatibilní i s novějšími verzemi účetního systému. Informujte se, prosím, na naší "
                  "e-mailové adrese, za jakých podmínek můžete vyšší verzi získat.\n\nKontaktní e-mail: "
                  "podpora@kasovka.cz"));

    // The host's files are found whatever the letter case of their names.
    QFile::rename(tree.dataRoot() + QStringLiteral("data.ini"), tree.dataRoot() + QStringLiteral("DATA.INI"));
    EXPECT_FALSE(TfrmMain::CheckHostCompatibility(tree.dataRoot(), TBaseApplication::CompatibilityDate(), message));
}

TEST_F(WizardTest, ForegroundTimerRunsOnceAfterShowingAndStopsOnNext)
{
    start();
    QTimer &timer = frm->tmSetFormInForeground();
    EXPECT_EQ(timer.interval(), 2000);
    EXPECT_FALSE(timer.isActive());
    frm->show();
    EXPECT_TRUE(timer.isActive());
    frm->btnNext()->click();
    EXPECT_FALSE(timer.isActive());
    frm->hide();
    frm->show();
    EXPECT_FALSE(timer.isActive()) << "a second showing must not bring the window forward again";
}

TEST_F(WizardTest, ForegroundTimerLeavesTheWindowAsItWas)
{
    start();
    QTimer &timer = frm->tmSetFormInForeground();
    frm->show();
    timer.setInterval(1);
    timer.start();
    QElapsedTimer waited;
    waited.start();
    while (timer.isActive() && waited.elapsed() < 2000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_FALSE(timer.isActive());
    EXPECT_TRUE(frm->isVisible());
    ASSERT_NE(frm->windowHandle(), nullptr);
    EXPECT_FALSE(frm->windowHandle()->flags() & Qt::WindowStaysOnTopHint);
    frm->hide();
}

TEST_F(WizardTest, CloseEndsTheProgramFromEitherPage)
{
    start();
    frm->btnClose()->click();
    EXPECT_TRUE(frm->programEnded());

    start();
    frm->btnNext()->click();
    int ends = 0;
    QObject::connect(frm.get(), &TfrmMain::programEndRequested, [&] { ++ends; });
    frm->show();
    frm->close();
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(probe.runs, 0);
}

// --- Hand-over ----------------------------------------------------------

TEST_F(WizardTest, FinishRunsTheWorkspaceWithButtonsDisabledAndEnds)
{
    tree.createRights({{QStringLiteral("tajne"), QStringLiteral("R")}});
    start(QStringLiteral("tajne"));
    finish();
    EXPECT_EQ(probe.runs, 1);
    EXPECT_FALSE(probe.buttonsEnabledDuringRun);
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_TRUE(frm->programEnded());
    EXPECT_TRUE(frm->btnNext()->isEnabled());
}

TEST_F(WizardTest, RunWorkspaceResultFollowsTheWorkspace)
{
    tree.createRights({}); // no users: full rights for everybody
    start(QStringLiteral("whatever"));
    EXPECT_EQ(frm->RunWorkspace(), 0);
    probe.result = false;
    EXPECT_EQ(frm->RunWorkspace(), -1);
    frm->setWorkspaceFactory([](TBaseApplication &) { return std::unique_ptr<IReportWorkspace>(); });
    EXPECT_EQ(frm->RunWorkspace(), -1); // a build without the workspace
    EXPECT_EQ(probe.runs, 2);
}

TEST_F(WizardTest, RefusesUsersWithoutTheRight)
{
    struct Row {
        const char *password;
        const char *why;
    };
    const Row rows[] = {
        {"zadne", "right none"},
        {"jinak", "any other text is none"},
        {"chybi2", "missing from PRISTUP2"},
        {"neznamy", "not in PRISTUP at all"},
    };
    tree.createRights({{QStringLiteral("plne"), QStringLiteral("A")},
                       {QStringLiteral("zadne"), QString()},
                       {QStringLiteral("jinak"), QStringLiteral("a")},
                       {QStringLiteral("chybi2"), QStringLiteral("A"), false}});
    for (const Row &row : rows) {
        SCOPED_TRACE(row.why);
        ui.messages.clear();
        start(QString::fromLatin1(row.password));
        EXPECT_EQ(frm->RunWorkspace(), -1);
        EXPECT_EQ(ui.single(), (RecordedMessage{MessageKind::Warning, NoRights}));
    }
    EXPECT_EQ(probe.runs, 0);
    start(QStringLiteral("plne"));
    EXPECT_EQ(frm->RunWorkspace(), 0);
}

TEST_F(WizardTest, AMissingRightsTableIsAnErrorAndTheProgramStillEnds)
{
    start(QStringLiteral("tajne")); // no PRISTUP.DAT in the data root
    finish();
    EXPECT_EQ(ui.single(), (RecordedMessage{MessageKind::Error, QStringLiteral("Nastala chyba při otevírání databáze ")
                                                                    + tree.dataRoot()
                                                                    + QStringLiteral("PRISTUP.DAT\n")}));
    EXPECT_EQ(probe.runs, 0);
    EXPECT_TRUE(frm->programEnded());
}

} // namespace
} // namespace kasovka::test
