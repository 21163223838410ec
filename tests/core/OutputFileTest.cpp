// Every written file: what may stand at the target, what is left when a
// write fails or races another program, and the new file's mode.

#include "core/OutputFile.h"
#include "core/PrivateFolder.h"
#include "core/SystemError.h"
#include "support/FileBytes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <fcntl.h>
#include <unistd.h>
#include <utime.h>

using namespace kasovka;
using namespace kasovka::test;

namespace {

int modeOf(const QString &path)
{
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode) : -1;
}

void makeOld(const QString &path)
{
    const utimbuf old{1000000000, 1000000000};
    ::utime(QFile::encodeName(path).constData(), &old);
}

class OutputFileTest : public ::testing::Test {
protected:
    QString path(const QString &name) const { return dir.path() + u'/' + name; }
    // Writes `bytes` to `target`; the error text, empty when written.
    QString write(const QString &target, const QByteArray &bytes, const OutputPolicy &policy = {})
    {
        try {
            TOutputFile file(target, policy);
            file.open();
            file.write(bytes);
            file.commit();
            return QString();
        } catch (const OutputError &error) {
            return error.text();
        }
    }
    QStringList entries() const
    {
        return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                          QDir::Name);
    }

    QTemporaryDir dir;
};

TEST_F(OutputFileTest, NewFileAppearsWholeWithTheUmasksMode)
{
    const mode_t old = ::umask(027);
    EXPECT_EQ(write(path("a.pdf"), "obsah"), QString());
    ::umask(old);
    EXPECT_EQ(readAll(path("a.pdf")), "obsah");
    EXPECT_EQ(modeOf(path("a.pdf")) & 0777, 0640);
    EXPECT_EQ(entries(), QStringList{"a.pdf"});
}

TEST_F(OutputFileTest, ReplacedOnlyWhenAllowedAndKeepsItsMode)
{
    writeAll(path("a.xlsx"), "old");
    ::chmod(QFile::encodeName(path("a.xlsx")).constData(), 0664);
    EXPECT_EQ(write(path("a.xlsx"), "new"), QString("Soubor %1 již existuje.").arg(path("a.xlsx")));
    EXPECT_EQ(readAll(path("a.xlsx")), "old");
    EXPECT_EQ(write(path("a.xlsx"), "new", {.replace = true}), QString());
    EXPECT_EQ(readAll(path("a.xlsx")), "new");
    EXPECT_EQ(modeOf(path("a.xlsx")) & 0777, 0664);
}

// Nothing but a regular file is ever replaced, even when the user agreed;
// a stream is written in place only where the writer asks for it.
TEST_F(OutputFileTest, OnlyRegularFilesAndLinksAreReplaced)
{
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("roura")).constData(), 0600), 0);
    QDir(dir.path()).mkdir("slozka");
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    qstrncpy(address.sun_path, QFile::encodeName(path("soket")).constData(), sizeof address.sun_path);
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    const QString device = "/dev/null";

    struct Row {
        QString target;
        QString error;
    };
    const QString special = "Soubor %1 je zařízení, roura nebo soket, ne obyčejný soubor; nelze jej zapsat.";
    for (const Row &row : {Row{path("roura"), special.arg(path("roura"))},
                           Row{path("soket"), special.arg(path("soket"))},
                           Row{device, special.arg(device)},
                           Row{path("slozka"), QString("Soubor %1 je složka, ne soubor; nelze jej zapsat.").arg(path("slozka"))}}) {
        SCOPED_TRACE(row.target.toStdString());
        const int before = modeOf(row.target);
        EXPECT_EQ(write(row.target, "x", {.replace = true}), row.error);
        EXPECT_EQ(modeOf(row.target), before);
    }
    ::close(sock);
    EXPECT_EQ(write(device, "x", {.replace = true, .streamInPlace = true}), QString());
    EXPECT_TRUE(S_ISCHR(modeOf(device)));
}

TEST_F(OutputFileTest, LinkAtTheTargetIsReplacedNotFollowed)
{
    writeAll(path("cizi"), "someone else's");
    QFile::link(path("cizi"), path("odkaz.pdf"));
    QFile::link(path("nikde"), path("visici.pdf"));
    EXPECT_EQ(write(path("odkaz.pdf"), "new", {.replace = true}), QString());
    EXPECT_EQ(write(path("visici.pdf"), "new", {.replace = true}), QString());
    EXPECT_EQ(readAll(path("cizi")), "someone else's");
    EXPECT_FALSE(QFileInfo(path("odkaz.pdf")).isSymLink());
    EXPECT_FALSE(QFileInfo::exists(path("nikde")));
    EXPECT_EQ(readAll(path("visici.pdf")), "new");
}

TEST_F(OutputFileTest, TemplateIsRefusedUnderEveryName)
{
    QDir(dir.path()).mkdir("PrintFrm");
    const QString templ = path("PrintFrm/_Report.xl");
    writeAll(templ, "template");
    QFile::link(templ, path("odkaz.pdf"));
    ASSERT_EQ(::link(QFile::encodeName(templ).constData(), QFile::encodeName(path("pevny.json")).constData()), 0);
    for (const QString &target : {templ, path("PrintFrm/_REPORT.XL"), path("odkaz.pdf"), path("pevny.json")}) {
        SCOPED_TRACE(target.toStdString());
        EXPECT_EQ(write(target, "x", {.replace = true, .templateFolders = {path("PrintFrm/")}}),
                  templateRefusal(target));
    }
    EXPECT_EQ(readAll(templ), "template");
}

// The private folder beside the target has a short name, so a target whose
// name is as long as the file system allows still works.
TEST_F(OutputFileTest, LongestLegalNameWorks)
{
    const QString name = QString(251, u'd') + ".xls";
    EXPECT_EQ(write(path(name), "x"), QString());
    EXPECT_EQ(readAll(path(name)), "x");
}

TEST_F(OutputFileTest, DiscardedWithoutCommitLeavesNothing)
{
    writeAll(path("a.xls"), "old");
    {
        TOutputFile file(path("a.xls"), {.replace = true});
        file.open();
        file.write("half");
        EXPECT_TRUE(QFileInfo::exists(file.privatePath()));
    }
    EXPECT_EQ(readAll(path("a.xls")), "old");
    EXPECT_EQ(entries(), QStringList{"a.xls"});
}

// Two runs writing one new name: the later one does not silently replace
// what the earlier one wrote.
TEST_F(OutputFileTest, TargetThatAppearedMeanwhileIsKept)
{
    TOutputFile file(path("a.xlsx"));
    file.open();
    file.write("mine");
    writeAll(path("a.xlsx"), "theirs");
    try {
        file.commit();
        FAIL() << "the other program's file was replaced";
    } catch (const OutputError &error) {
        EXPECT_EQ(error.text(), QString("Soubor %1 mezitím vytvořil jiný program; zůstal beze změny a nový soubor "
                                        "nebyl uložen.")
                                    .arg(path("a.xlsx")));
    }
    EXPECT_EQ(readAll(path("a.xlsx")), "theirs");
}

TEST_F(OutputFileTest, FailureIsOneCzechSentence)
{
    EXPECT_EQ(write(path("chybi/a.pdf"), "x"),
              QString("Soubor %1 nelze vytvořit: soubor nebo složka neexistuje.").arg(path("chybi/a.pdf")));
    if (::geteuid() != 0) {
        ::chmod(QFile::encodeName(dir.path()).constData(), 0500);
        EXPECT_EQ(write(path("a.pdf"), "x"), QString("Soubor %1 nelze vytvořit: přístup odepřen.").arg(path("a.pdf")));
        ::chmod(QFile::encodeName(dir.path()).constData(), 0700);
    }
    EXPECT_EQ(systemErrorText(ENOSPC), "na disku není dost místa");
}

// A killed run leaves its private folder (and an earlier version its
// temporary workbook); the next write in that folder removes them, but not
// what a running program still holds.
TEST_F(OutputFileTest, LeftoversOfEndedRunsAreRemoved)
{
    QDir(dir.path()).mkpath(".kasovka-dead01");
    writeAll(path(".kasovka-dead01/f"), "half a workbook");
    writeAll(path(".kasovka-Ab12Cd.xlsx"), "half a workbook");
    QDir(dir.path()).mkpath(".kasovka-live01");
    for (const char *name : {".kasovka-dead01", ".kasovka-live01", ".kasovka-Ab12Cd.xlsx"})
        makeOld(path(name));
    const int held = ::open(QFile::encodeName(path(".kasovka-live01")).constData(), O_RDONLY | O_DIRECTORY);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);

    EXPECT_EQ(write(path("a.xls"), "x"), QString());
    EXPECT_EQ(entries(), (QStringList{".kasovka-live01", "a.xls"}));
    ::close(held);
}

TEST_F(OutputFileTest, PrivateFolderIsOwnersOnlyAndGoesAway)
{
    int error = 0;
    QString folder;
    {
        const auto privateFolder = TPrivateFolder::create(dir.path(), "kasovka-", error);
        ASSERT_TRUE(privateFolder);
        folder = privateFolder->path();
        EXPECT_EQ(modeOf(folder) & 0777, 0700);
        writeAll(folder + "/copy.DAT", "books");
    }
    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_EQ(TPrivateFolder::create(path("chybi"), "kasovka-", error), nullptr);
    EXPECT_EQ(error, ENOENT);
}

} // namespace
