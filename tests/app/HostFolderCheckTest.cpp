// The start-up's checks of the year folder: each refusal names its folder and
// its real reason, before anything is created.

#include "app/HostFolderCheck.h"
#include "app/TBaseApplication.h"
#include "support/RecordingUiServices.h"
#include "support/TestLaunchContext.h"
#include "support/Unprivileged.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace kasovka::test {
namespace {

class HostFolderCheck : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_data = m_dir.path() + QStringLiteral("/DATA/");
        m_year = m_data + QStringLiteral("AGENDA.TST/ROK.2026/");
        ASSERT_TRUE(QDir().mkpath(m_year));
        QFile rok(m_year + QStringLiteral("ROK.INI"));
        ASSERT_TRUE(rok.open(QIODevice::WriteOnly));
        rok.write("[Global]\nPodvojné účetnictví=N\n");
        rok.close();
        openToOthers(m_year);
    }

    // The message of the check for a year folder; empty when it passed.
    QString check(const QString &yearFolder)
    {
        RecordingUiServices ui;
        TBaseApplication app(ui, LaunchArguments(yearFolder));
        if (!app.LoadLaunchContext())
            return QStringLiteral("(not loaded)");
        const bool passed = CheckHostFolders(app);
        if (passed != ui.messages.isEmpty() || ui.messages.size() > 1)
            return QStringLiteral("(result and messages disagree)");
        return passed ? QString() : ui.messages.first().text;
    }

    QTemporaryDir m_dir;
    QString m_data;
    QString m_year;
};

TEST_F(HostFolderCheck, EachRefusalNamesItsFolder)
{
    const QString missing = QStringLiteral("Doplněk nelze spustit: adresář účetního roku %1 neexistuje.");
    struct Row {
        QString yearFolder;
        QString message;
    };
    const Row cases[] = {
        {m_year, QString()},
        {m_year + QStringLiteral("../ROK.2026"), QString()},
        {m_data + QStringLiteral("AGENDA.TST/ROK.2030"), missing.arg(m_data + QStringLiteral("AGENDA.TST/ROK.2030/"))},
        {QStringLiteral("/nonexistent-kasovka/AGENDA.A/ROK.1/"), missing.arg("/nonexistent-kasovka/AGENDA.A/ROK.1/")},
        // ".." segments that climb to the top of the file system.
        {m_year + QStringLiteral("../../../../../../../../../../../../AGENDA.X/ROK.1"),
         missing.arg("/AGENDA.X/ROK.1/")},
        {m_data + QStringLiteral("DATA/ROK.2026"),
         QStringLiteral("Doplněk nelze spustit: adresář účetního roku %1 neleží v datové struktuře účetního systému "
                        "(…/AGENDA…/ROK…/).").arg(m_data + QStringLiteral("DATA/ROK.2026/"))},
    };
    for (const Row &row : cases) {
        SCOPED_TRACE(row.yearFolder.toStdString());
        EXPECT_EQ(check(row.yearFolder), row.message);
    }
    EXPECT_FALSE(QFileInfo::exists(m_data + QStringLiteral("Doplnky")));
}

// A user who may not read the data is told so, not that the agenda is kept
// in double entry (the defaults of year settings that could not be read).
TEST_F(HostFolderCheck, DataThatCannotBeReadIsToldAsSuch)
{
    QFile::setPermissions(m_year + QStringLiteral("ROK.INI"), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const QString settings = runUnprivileged([&] { return check(m_year); });
    EXPECT_TRUE(settings.startsWith(QStringLiteral("Doplněk nelze spustit: nastavení účetního roku nelze přečíst. "
                                                   "Soubor %1ROK.INI nelze otevřít")
                                        .arg(m_year)))
        << settings.toStdString();

    QFile::setPermissions(m_data, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(runUnprivileged([&] { return check(m_year); }),
              QStringLiteral("Doplněk nelze spustit: data účetního systému v adresáři %1 nelze číst (chybí "
                             "oprávnění ke čtení).")
                  .arg(m_data));
}

} // namespace
} // namespace kasovka::test
