// Installing the support files from the program folder into the data root.

#include "app/SupportFiles.h"
#include "core/IniFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kasovka {
namespace {

class SupportFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_program = m_dir.path() + "/program/";
        m_data = m_dir.path() + "/DATA/";
        m_programData = m_data + "Doplnky/Kasovka/";
        QDir().mkpath(m_program + "SetupDat");
        QDir().mkpath(m_programData);
    }

    static void write(const QString &path, const QByteArray &content)
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
        file.write(content);
    }
    static QByteArray read(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    void installedSign(const QByteArray &sign)
    {
        write(m_program + "SetupDat/setup.ini", "[INSTALL]\nSIGN=" + sign + "\n");
    }
    void copiedSign(const QByteArray &sign)
    {
        write(m_programData + "setup.ini", "[INSTALL]\nSIGN=" + sign + "\n");
    }
    void copyList(const QByteArray &lines) { write(m_program + "Install.ini", "[COPY]\n" + lines); }
    // The sign last copied into the data root, "<none>" without one.
    QString copied() const
    {
        return TIniFile(m_programData + "setup.ini").ReadString("INSTALL", "SIGN", "<none>");
    }

    bool install()
    {
        m_error = "stale";
        return InstallSupportFiles(m_program, m_programData, m_data, m_error);
    }

    QTemporaryDir m_dir;
    QString m_program;
    QString m_data;
    QString m_programData;
    QString m_error;
};

TEST_F(SupportFiles, EqualSignsCopyNothing)
{
    installedSign("3.10-a");
    copiedSign("3.10-a");
    copyList("Source1=PrintFrm\nDest1=%HOSTDATA%Doplnky/Kasovka/PrintFrm\n");
    write(m_program + "SetupDat/PrintFrm/a.xl", "a");
    EXPECT_TRUE(install());
    EXPECT_EQ(m_error, QString());
    EXPECT_FALSE(QFileInfo::exists(m_programData + "PrintFrm"));
}

TEST_F(SupportFiles, NoSignsAnywhereWritesNothing)
{
    QFile::remove(m_programData + "setup.ini");
    copyList("Source1=PrintFrm\nDest1=%HOSTDATA%X\n");
    write(m_program + "SetupDat/PrintFrm/a.xl", "a");
    EXPECT_TRUE(install());
    EXPECT_FALSE(QFileInfo::exists(m_programData + "setup.ini"));
    EXPECT_FALSE(QFileInfo::exists(m_data + "X"));
}

TEST_F(SupportFiles, ANewSignCopiesEveryPairAndIsWritten)
{
    installedSign("new");
    copiedSign("old");
    copyList("Source1=PrintFrm\nDest1=%HOSTDATA%Doplnky/Kasovka/PrintFrm\n"
             "Source2=Extra/Sub\nDest2=%HOSTDATA%Doplnky/Kasovka/Extra/\n");
    write(m_program + "SetupDat/PrintFrm/_GroupTables.xl", "groups");
    write(m_program + "SetupDat/PrintFrm/.hidden", "hidden");
    write(m_program + "SetupDat/PrintFrm/NOEXT", "noext");
    write(m_program + "SetupDat/PrintFrm/nested/deep.xl", "deep");
    write(m_program + "SetupDat/Extra/Sub/e.txt", "extra");
    const QDateTime stamp(QDate(2016, 9, 30), QTime(12, 0));
    {
        QFile f(m_program + "SetupDat/PrintFrm/_GroupTables.xl");
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.setFileTime(stamp, QFileDevice::FileModificationTime);
    }

    EXPECT_TRUE(install());
    EXPECT_EQ(m_error, QString());
    const QString printForms = m_programData + "PrintFrm/";
    EXPECT_EQ(read(printForms + "_GroupTables.xl"), "groups");
    EXPECT_EQ(read(printForms + ".hidden"), "hidden");
    EXPECT_EQ(read(printForms + "NOEXT"), "noext");
    EXPECT_FALSE(QFileInfo::exists(printForms + "nested")); // no recursion
    EXPECT_EQ(read(m_programData + "Extra/e.txt"), "extra");
    EXPECT_EQ(QFileInfo(printForms + "_GroupTables.xl").lastModified(), stamp);
    EXPECT_EQ(copied(), QStringLiteral("new"));
}

TEST_F(SupportFiles, TheListEndsAtTheFirstEmptyEntry)
{
    struct Case {
        const char *name;
        QByteArray list;
        bool firstCopied;
    };
    const Case cases[] = {
        {"empty Source1", "Source1=\nDest1=%HOSTDATA%One\nSource2=B\nDest2=%HOSTDATA%Two\n", false},
        {"empty Dest2", "Source1=A\nDest1=%HOSTDATA%One\nSource2=B\nDest2=\n", true},
        {"gap after pair 1", "Source1=A\nDest1=%HOSTDATA%One\nSource3=B\nDest3=%HOSTDATA%Two\n",
         true},
    };
    write(m_program + "SetupDat/A/a.xl", "a");
    write(m_program + "SetupDat/B/b.xl", "b");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QDir(m_data + "One").removeRecursively();
        installedSign("new");
        copiedSign("old");
        copyList(c.list);
        EXPECT_TRUE(install());
        EXPECT_EQ(QFileInfo::exists(m_data + "One/a.xl"), c.firstCopied);
        EXPECT_FALSE(QFileInfo::exists(m_data + "Two"));
        EXPECT_EQ(copied(), QStringLiteral("new"));
    }
}

TEST_F(SupportFiles, TheDataMarkerInAnyCaseAndWindowsDelimiters)
{
    installedSign("new");
    copyList("Source1=Print\\Frm\nDest1=%hostdata%Doplnky\\Kasovka\\PrintFrm\n");
    write(m_program + "SetupDat/Print/Frm/a.xl", "a");
    EXPECT_TRUE(install());
    EXPECT_EQ(read(m_data + "Doplnky/Kasovka/PrintFrm/a.xl"), "a");
}

TEST_F(SupportFiles, AReadOnlyFileInTheDestinationIsReplaced)
{
    installedSign("new");
    copyList("Source1=A\nDest1=%HOSTDATA%Dest\n");
    write(m_program + "SetupDat/A/a.xl", "new content");
    write(m_data + "Dest/a.xl", "old content that is longer");
    QFile::setPermissions(m_data + "Dest/a.xl", QFileDevice::ReadOwner);
    EXPECT_TRUE(install());
    EXPECT_EQ(read(m_data + "Dest/a.xl"), "new content");
}

// Links put into the shared data root: a template and the data root's
// setup.ini pointing at other files. The copy and the sign replace the
// links; the files behind them are untouched.
TEST_F(SupportFiles, LinksInTheDataRootAreReplacedNotWrittenThrough)
{
    installedSign("new");
    copyList("Source1=PrintFrm\nDest1=%HOSTDATA%Doplnky/Kasovka/PrintFrm\n");
    write(m_program + "SetupDat/PrintFrm/_GroupTables.xl", "template");
    write(m_dir.path() + "/victim.txt", "victim");
    write(m_dir.path() + "/victim.ini", "[INSTALL]\nSIGN=victim\n");
    QDir().mkpath(m_programData + "PrintFrm");
    QFile::link(m_dir.path() + "/victim.txt", m_programData + "PrintFrm/_GroupTables.xl");
    QFile::link(m_dir.path() + "/victim.ini", m_programData + "setup.ini");

    EXPECT_TRUE(install());
    EXPECT_EQ(read(m_dir.path() + "/victim.txt"), "victim");
    EXPECT_EQ(read(m_dir.path() + "/victim.ini"), "[INSTALL]\nSIGN=victim\n");
    EXPECT_EQ(read(m_programData + "PrintFrm/_GroupTables.xl"), "template");
    EXPECT_FALSE(QFileInfo(m_programData + "PrintFrm/_GroupTables.xl").isSymLink());
    EXPECT_EQ(copied(), QStringLiteral("new"));
}

TEST_F(SupportFiles, ADestinationThatCannotBeCreated)
{
    installedSign("new");
    copiedSign("old");
    copyList("Source1=A\nDest1=%HOSTDATA%blocked/Dest\n");
    write(m_program + "SetupDat/A/a.xl", "a");
    write(m_data + "blocked", "a file in the way");
    EXPECT_FALSE(install());
    EXPECT_EQ(m_error, "Nelze vytvořit adresář " + m_data + "blocked/Dest/");
    EXPECT_EQ(copied(), QStringLiteral("old"));
}

TEST_F(SupportFiles, AFailedCopyKeepsTheOldSignAndTheNextStartCopiesAgain)
{
    installedSign("new");
    copiedSign("old");
    copyList("Source1=A\nDest1=%HOSTDATA%One\nSource2=B\nDest2=%HOSTDATA%Two\n");
    write(m_program + "SetupDat/A/a.xl", "a");
    write(m_program + "SetupDat/B/b1.xl", "b1");
    write(m_program + "SetupDat/B/b2.xl", "b2");
    write(m_program + "SetupDat/B/b3.xl", "b3");
    // A folder stands where b2.xl should go.
    QDir().mkpath(m_data + "Two/b2.xl");

    EXPECT_FALSE(install());
    EXPECT_EQ(m_error, "Při kopírování souboru " + m_program + "SetupDat/B/b2.xl do " + m_data +
                           "Two/b2.xl došlo k chybě.");
    EXPECT_EQ(read(m_data + "One/a.xl"), "a");
    EXPECT_EQ(read(m_data + "Two/b1.xl"), "b1");
    EXPECT_FALSE(QFileInfo::exists(m_data + "Two/b3.xl")); // later files are not copied
    EXPECT_EQ(copied(), QStringLiteral("old"));

    write(m_data + "One/a.xl", "changed by the user");
    QDir(m_data + "Two/b2.xl").removeRecursively();
    EXPECT_TRUE(install());
    EXPECT_EQ(read(m_data + "One/a.xl"), "a");
    EXPECT_EQ(read(m_data + "Two/b3.xl"), "b3");
    EXPECT_EQ(copied(), QStringLiteral("new"));
}

} // namespace
} // namespace kasovka
