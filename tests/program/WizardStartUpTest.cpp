// StartUp: the steps before the wizard is shown and each refusal's message.

#include "app/ui/HostTree.h"

#include "app/TBaseApplication.h"
#include "program/TfrmMain.h"
#include "support/RecordingUiServices.h"
#include "support/TestLaunchContext.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QLabel>

#include <gtest/gtest.h>

namespace kasovka::test {
namespace {

const QString MissingParameter = QStringLiteral(
    "Doplněk byl spuštěn s neúplným parametrem - pravděpodobně ho spouštíte jako samostatný program, nikoliv "
    "jako zásuvný modul účetního systému přímo z plochy.");

struct Wizard {
    HostTree tree;
    RecordingUiServices ui;
    std::unique_ptr<TfrmMain> frm;

    int startUp(QStringList arguments)
    {
        frm = std::make_unique<TfrmMain>(ui, std::move(arguments));
        frm->setProgramFolder(tree.programFolder());
        return frm->StartUp();
    }
    int startUp() { return startUp(tree.arguments()); }
};

TEST(WizardStartUp, ReadiesTheDataRootAndShowsNothing)
{
    Wizard w;
    EXPECT_EQ(w.startUp(), 0);
    EXPECT_TRUE(w.ui.messages.isEmpty());
    EXPECT_EQ(w.ui.progressCalls,
              QStringList({QStringLiteral("show:Spouštění zásuvného modulu, čekejte prosím..."),
                           QStringLiteral("hide")}));
    EXPECT_FALSE(w.ui.progressVisible);
    const QString programData = w.tree.dataRoot() + QStringLiteral("Doplnky/Kasovka/");
    EXPECT_TRUE(QFileInfo(programData + QStringLiteral("Setting")).isDir());
    EXPECT_TRUE(QFileInfo(programData + QStringLiteral("PrintFrm/_GroupTables.xl")).isFile());
    EXPECT_EQ(w.frm->currentPage(), int(TfrmMain::tsWelcome));
    EXPECT_EQ(w.frm->findChild<QLabel *>(QStringLiteral("lblVersion"))->text(), QStringLiteral("3.10"));
    EXPECT_EQ(w.frm->launchContext()->DataFolder(), w.tree.dataRoot());
}

// Every launch parameter is required; the first missing one ends StartUp
// with the same error before anything is created.
TEST(WizardStartUp, RefusesEachMissingParameter)
{
    for (const char *name : {"MAIN", "AKTROK", "MVERZE", "AKTHESLO", "AKTCFGNAME"}) {
        SCOPED_TRACE(name);
        Wizard w;
        QStringList arguments = w.tree.arguments();
        arguments.removeIf([&](const QString &a) { return a.startsWith(u'?' + QString::fromLatin1(name) + u'='); });
        EXPECT_NE(w.startUp(arguments), 0);
        EXPECT_EQ(w.ui.single(), (RecordedMessage{MessageKind::Error, MissingParameter}));
        EXPECT_FALSE(QFileInfo::exists(w.tree.dataRoot() + QStringLiteral("Doplnky")));
    }
}

TEST(WizardStartUp, RefusesWithoutAnyArguments)
{
    Wizard w;
    EXPECT_NE(w.startUp(QStringList()), 0);
    EXPECT_EQ(w.ui.single().text, MissingParameter);
}

TEST(WizardStartUp, RefusesASettingsFolderThatCannotBeCreated)
{
    Wizard w;
    // A file where the plug-in's folder should be.
    w.tree.writeFile(w.tree.dataRoot() + QStringLiteral("Doplnky"), "not a folder");
    EXPECT_NE(w.startUp(), 0);
    EXPECT_EQ(w.ui.single(),
              (RecordedMessage{MessageKind::Error, QStringLiteral("Nelze vytvořit adresář ") + w.tree.dataRoot()
                                                       + QStringLiteral("Doplnky/Kasovka/Setting/")}));
}

TEST(WizardStartUp, RefusesAFailedSupportFileCopy)
{
    Wizard w;
    // A folder in place of the template file the copy has to write.
    const QString target = w.tree.dataRoot() + QStringLiteral("Doplnky/Kasovka/PrintFrm/_GroupTables.xl");
    ASSERT_TRUE(QDir().mkpath(target + QStringLiteral("/inside")));
    EXPECT_NE(w.startUp(), 0);
    EXPECT_EQ(w.ui.single(),
              (RecordedMessage{MessageKind::Error, QStringLiteral("Při kopírování souboru %1 do %2 došlo k chybě.")
                                                       .arg(w.tree.programFolder()
                                                                + QStringLiteral("SetupDat/PrintFrm/_GroupTables.xl"),
                                                            target)}));
    // The sign stays unwritten, so the next start tries again.
    EXPECT_FALSE(QFileInfo::exists(w.tree.dataRoot() + QStringLiteral("Doplnky/Kasovka/setup.ini")));
}

TEST(WizardStartUp, RefusesADoubleEntryAgendaAfterHidingTheProgress)
{
    Wizard w;
    w.tree.setDoubleEntry(true);
    EXPECT_NE(w.startUp(), 0);
    EXPECT_EQ(w.ui.single(),
              (RecordedMessage{MessageKind::Warning,
                               QStringLiteral("Litujeme, ale tento doplněk je možné spustit pouze v agendě, která je "
                                              "vedena v daňové evidenci (jednoduchém účetnictví).")}));
    EXPECT_FALSE(w.ui.progressVisible);
}

// A year folder outside .../AGENDA*/ROK* would make the data root "/" and the
// installation would write below the file system's root.
TEST(WizardStartUp, RefusesAYearFolderWithoutTheHostShapeBeforeCreatingAnything)
{
    for (const QString &relative : {QStringLiteral("DATA/ROK.2026"), QStringLiteral("DATA/AGENDA.TST/2026"),
                                    QStringLiteral("ROK.2026")}) {
        SCOPED_TRACE(relative.toStdString());
        Wizard w;
        const QString year = w.tree.root() + relative;
        w.tree.writeFile(year + QStringLiteral("/ROK.INI"), "[Global]\nPodvojné účetnictví=N\n");
        EXPECT_NE(w.startUp(LaunchArguments(year)), 0);
        EXPECT_EQ(w.ui.single(),
                  (RecordedMessage{MessageKind::Error, QStringLiteral("Doplněk nelze spustit: adresář účetního roku ")
                                                           + year
                                                           + QStringLiteral("/ neleží v datové struktuře účetního "
                                                                            "systému (…/AGENDA…/ROK…/).")}));
        EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/Doplnky")));
        QDirIterator created(w.tree.root(), {QStringLiteral("Doplnky")}, QDir::Dirs, QDirIterator::Subdirectories);
        EXPECT_FALSE(created.hasNext());
    }
}

} // namespace
} // namespace kasovka::test
