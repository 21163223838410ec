#include "core/Error.h"
#include "core/IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <vector>

using namespace kasovka;

namespace {

const QLocale Czech(QLocale::Czech, QLocale::CzechRepublic);

ino_t inode(const QString &path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

class IniFileTest : public testing::Test {
protected:
    QString path(const QString &name = QStringLiteral("settings.ini")) const { return dir.filePath(name); }
    void writeBytes(const QByteArray &bytes, const QString &name = QStringLiteral("settings.ini")) const
    {
        QFile file(path(name));
        ASSERT_EQ(file.open(QIODevice::WriteOnly), true);
        file.write(bytes);
    }
    QByteArray readBytes(const QString &name = QStringLiteral("settings.ini")) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QTemporaryDir dir;
};

TEST_F(IniFileTest, ProfileRulesForReading)
{
    writeBytes("; comment\r\n"
               "orphan=before any section\r\n"
               "[ReportFilter]\r\n"
               "  Obdobi =  2026  \r\n"
               "Nazev=\"  quoted  \"\r\n"
               "OBDOBI=second copy\r\n"
               "no equals sign\r\n"
               "=no key\r\n"
               "Empty=\r\n"
               "[reportfilter]\r\n"
               "Later=hidden by the first section\r\n"
               "[Other]\r\n"
               "Obdobi=other\r\n");
    TIniFile ini(path(), Czech);
    EXPECT_EQ(ini.ReadString(QStringLiteral("reportFILTER"), QStringLiteral("obdobi"), QStringLiteral("-")),
              QStringLiteral("2026"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("ReportFilter"), QStringLiteral("Nazev"), QString()),
              QStringLiteral("  quoted  "));
    EXPECT_EQ(ini.ReadString(QStringLiteral("ReportFilter"), QStringLiteral("Empty"), QStringLiteral("-")), QString());
    EXPECT_EQ(ini.ReadString(QStringLiteral("ReportFilter"), QStringLiteral("Later"), QStringLiteral("-")),
              QStringLiteral("-"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("ReportFilter"), QStringLiteral("no equals sign"), QStringLiteral("-")),
              QStringLiteral("-"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("Other"), QStringLiteral("Obdobi"), QString()), QStringLiteral("other"));
    EXPECT_EQ(ini.ReadString(QString(), QStringLiteral("orphan"), QStringLiteral("-")), QStringLiteral("-"));
    QStringList keys;
    ini.ReadSection(QStringLiteral("REPORTFILTER"), keys);
    EXPECT_EQ(keys, (QStringList{"Obdobi", "Nazev", "Empty"}));
    QStringList sections;
    ini.ReadSections(sections);
    EXPECT_EQ(sections, (QStringList{"ReportFilter", "Other"}));
    QStringList values;
    ini.ReadSectionValues(QStringLiteral("Other"), values);
    EXPECT_EQ(values, (QStringList{"Obdobi=other"}));
    EXPECT_EQ(ini.SectionExists(QStringLiteral("other")), true);
    EXPECT_EQ(ini.ValueExists(QStringLiteral("Other"), QStringLiteral("OBDOBI")), true);
    EXPECT_EQ(ini.ValueExists(QStringLiteral("Other"), QStringLiteral("Nazev")), false);
}

TEST_F(IniFileTest, MissingFileGivesDefaultsAndWritesCreateIt)
{
    TIniFile ini(path(QStringLiteral("new.ini")), Czech);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("S"), QStringLiteral("K"), 42), 42);
    EXPECT_EQ(ini.SectionExists(QStringLiteral("S")), false);
    QStringList keys{"stale"};
    ini.ReadSection(QStringLiteral("S"), keys);
    EXPECT_EQ(keys, QStringList());
    ini.WriteString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("v"));
    EXPECT_EQ(readBytes(QStringLiteral("new.ini")), QByteArray("[S]\nK=v\n"));

    TIniFile nowhere(dir.filePath(QStringLiteral("no/such/folder/x.ini")), Czech);
    EXPECT_EQ(nowhere.ReadString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("d")), QStringLiteral("d"));
    EXPECT_THROW(nowhere.WriteString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("v")), Error);
}

TEST_F(IniFileTest, WritingKeepsOtherLinesAndReplacesTheFirstOccurrence)
{
    writeBytes("; keep me\r\n[A]\r\nx=1\r\nX=2\r\n\r\n[B]\r\ny=1\r\n");
    TIniFile ini(path(), Czech);
    ini.WriteString(QStringLiteral("a"), QStringLiteral("X"), QStringLiteral("new"));
    ini.WriteString(QStringLiteral("A"), QStringLiteral("z"), QStringLiteral("added"));
    ini.WriteString(QStringLiteral("C"), QStringLiteral("k"), QStringLiteral("v"));
    EXPECT_EQ(readBytes(), QByteArray("; keep me\r\n[A]\r\nX=new\r\nX=2\r\nz=added\r\n\r\n[B]\r\ny=1\r\n"
                                      "\r\n[C]\r\nk=v\r\n"));
    ini.DeleteKey(QStringLiteral("A"), QStringLiteral("x"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("A"), QStringLiteral("x"), QStringLiteral("gone")), QStringLiteral("gone"))
        << "a duplicate must not surface after a delete";
    ini.EraseSection(QStringLiteral("b"));
    EXPECT_EQ(readBytes(), QByteArray("; keep me\r\n[A]\r\nz=added\r\n\r\n[C]\r\nk=v\r\n"));
}

TEST_F(IniFileTest, HostileNamesAndValuesCannotChangeTheStructure)
{
    TIniFile ini(path(), Czech);
    ini.WriteString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("line\n[Injected]\nx=1"));
    EXPECT_EQ(ini.SectionExists(QStringLiteral("Injected")), false);
    EXPECT_EQ(ini.ReadString(QStringLiteral("S"), QStringLiteral("K"), QString()), QStringLiteral("line [Injected] x=1"));
    for (const char *key : {"a=b", "", "[x", ";c", "two\nlines"})
        EXPECT_THROW(ini.WriteString(QStringLiteral("S"), QString::fromLatin1(key), QStringLiteral("v")), Error) << key;
    EXPECT_THROW(ini.WriteString(QStringLiteral("S]x"), QStringLiteral("k"), QStringLiteral("v")), Error);
}

TEST_F(IniFileTest, EncodingsOnRead)
{
    // "Účetní řádek" in Windows-1250.
    writeBytes("[S]\r\nK=\xDA\xE8\x65tn\xED \xF8\xE1\x64\x65k\r\n", QStringLiteral("cp1250.ini"));
    writeBytes("\xEF\xBB\xBF[S]\nK=\xC3\x9A\xC4\x8D\x65tn\xC3\xAD \xC5\x99\xC3\xA1\x64\x65k\n", QStringLiteral("bom.ini"));
    writeBytes("[S]\nK=\xC3\x9A\xC4\x8D\x65tn\xC3\xAD \xC5\x99\xC3\xA1\x64\x65k\n", QStringLiteral("utf8.ini"));
    const QString expected = QStringLiteral("Účetní řádek");
    const QString utf16Text = QStringLiteral("[S]\r\nK=") + expected + QStringLiteral("\r\n");
    writeBytes(QByteArray("\xFF\xFE") + QByteArray(reinterpret_cast<const char *>(utf16Text.utf16()), utf16Text.size() * 2),
               QStringLiteral("utf16.ini"));
    for (const char *name : {"cp1250.ini", "bom.ini", "utf8.ini", "utf16.ini"}) {
        TIniFile ini(path(QString::fromLatin1(name)), Czech);
        EXPECT_EQ(ini.ReadString(QStringLiteral("S"), QStringLiteral("K"), QString()), expected) << name;
    }
    // A value written to a Windows-1250 file turns the whole file into UTF-8.
    TIniFile legacy(path(QStringLiteral("cp1250.ini")), Czech);
    legacy.WriteString(QStringLiteral("S"), QStringLiteral("New"), QStringLiteral("č"));
    EXPECT_EQ(readBytes(QStringLiteral("cp1250.ini")),
              QByteArray("[S]\r\nK=\xC3\x9A\xC4\x8D\x65tn\xC3\xAD \xC5\x99\xC3\xA1\x64\x65k\r\nNew=\xC4\x8D\r\n"));
    // The BOM stays where it was.
    TIniFile bom(path(QStringLiteral("bom.ini")), Czech);
    bom.WriteInteger(QStringLiteral("S"), QStringLiteral("N"), 1);
    EXPECT_EQ(readBytes(QStringLiteral("bom.ini")).startsWith("\xEF\xBB\xBF[S]\n"), true);
}

TEST(Windows1250, OwnTableCoversTheCzechLettersAndPunctuation)
{
    QByteArray all;
    for (int b = 0x20; b < 0x100; ++b)
        all.append(char(b));
    const QString text = decodeWindows1250(all);
    ASSERT_EQ(text.size(), all.size());
    EXPECT_EQ(decodeWindows1250("\x8A\x8D\x8E\x9A\x9D\x9E\xC8\xCC\xD8\xD9\xE8\xEC\xF8\xF9\xCF\xEF\xD2\xF2"),
              QStringLiteral("ŠŤŽšťžČĚŘŮčěřůĎďŇň"));
    EXPECT_EQ(decodeWindows1250("\x80\x84\x93\x94\x96\xA0\xA7"), QStringLiteral("€„“”–\u00a0§"));
    EXPECT_EQ(decodeWindows1250("\x81\x83\x88\x90\x98"), QString(5, QChar(0xFFFD)));
    EXPECT_EQ(decodeWindows1250("plain ASCII"), QStringLiteral("plain ASCII"));
}

TEST_F(IniFileTest, DamagedFilesNeverCrash)
{
    QByteArray garbage;
    for (int i = 0; i < 64 * 1024; ++i)
        garbage.append(char((i * 7919 + 13) & 0xff));
    writeBytes(garbage);
    TIniFile ini(path(), Czech);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("S"), QStringLiteral("K"), 7), 7);
    QStringList sections;
    EXPECT_NO_THROW(ini.ReadSections(sections));

    QByteArray longLine = "[S]\nK=" + QByteArray(1024 * 1024, 'x') + "\nAfter=1\n";
    writeBytes(longLine, QStringLiteral("long.ini"));
    TIniFile big(path(QStringLiteral("long.ini")), Czech);
    EXPECT_EQ(big.ReadString(QStringLiteral("S"), QStringLiteral("K"), QString()).size(), 1024 * 1024);
    EXPECT_EQ(big.ReadInteger(QStringLiteral("S"), QStringLiteral("After"), 0), 1);

    writeBytes(QByteArray("[S]\nK=a\0b\n", 10), QStringLiteral("nul.ini"));
    TIniFile nul(path(QStringLiteral("nul.ini")), Czech);
    EXPECT_EQ(nul.ReadString(QStringLiteral("S"), QStringLiteral("K"), QString()).size(), 3);

    writeBytes("[S]\nK=secret\n", QStringLiteral("locked.ini"));
    QFile::setPermissions(path(QStringLiteral("locked.ini")), QFileDevice::WriteOwner);
    if (!QFile(path(QStringLiteral("locked.ini"))).open(QIODevice::ReadOnly)) { // not when run as root
        TIniFile locked(path(QStringLiteral("locked.ini")), Czech);
        EXPECT_EQ(locked.ReadString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("d")), QStringLiteral("d"));
        EXPECT_THROW(locked.WriteString(QStringLiteral("S"), QStringLiteral("N"), QStringLiteral("v")), Error)
            << "a file that could not be read must not be replaced by one value";
        QFile::setPermissions(path(QStringLiteral("locked.ini")), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        EXPECT_EQ(readBytes(QStringLiteral("locked.ini")), QByteArray("[S]\nK=secret\n"));
    }

    {
        // A sparse file far beyond any settings file: not loaded, not replaced.
        QFile huge(path(QStringLiteral("huge.ini")));
        ASSERT_EQ(huge.open(QIODevice::WriteOnly), true);
        huge.write("[S]\nK=1\n");
        ASSERT_EQ(huge.resize(qint64(65) * 1024 * 1024), true);
    }
    TIniFile huge(path(QStringLiteral("huge.ini")), Czech);
    EXPECT_EQ(huge.ReadInteger(QStringLiteral("S"), QStringLiteral("K"), 5), 5);
    EXPECT_THROW(huge.WriteInteger(QStringLiteral("S"), QStringLiteral("K"), 2), Error);
    EXPECT_EQ(QFileInfo(path(QStringLiteral("huge.ini"))).size(), qint64(65) * 1024 * 1024);

    QDir(dir.path()).mkdir(QStringLiteral("folder.ini"));
    TIniFile folder(path(QStringLiteral("folder.ini")), Czech);
    EXPECT_EQ(folder.ReadString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("d")), QStringLiteral("d"));
}

TEST_F(IniFileTest, TypedValuesRoundTripAndReadLocalForms)
{
    TIniFile ini(path(), Czech);
    ini.WriteInteger(QStringLiteral("T"), QStringLiteral("Int"), -17);
    ini.WriteBool(QStringLiteral("T"), QStringLiteral("Bool"), true);
    ini.WriteFloat(QStringLiteral("T"), QStringLiteral("Float"), 0.1);
    ini.WriteDate(QStringLiteral("T"), QStringLiteral("Date"), encodeDate(2026, 3, 7) + 0.5);
    ini.WriteDateTime(QStringLiteral("T"), QStringLiteral("DateTime"), encodeDate(2026, 3, 7) + 0.75);
    ini.WriteTime(QStringLiteral("T"), QStringLiteral("Time"), 0.25);
    ini.WriteBinaryStream(QStringLiteral("T"), QStringLiteral("Bin"), QByteArray("\x00\xff\x10", 3));
    EXPECT_EQ(readBytes(), QByteArray("[T]\nInt=-17\nBool=1\nFloat=0.1\nDate=2026-03-07\n"
                                      "DateTime=2026-03-07T18:00:00\nTime=06:00:00\nBin=00FF10\n"));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("T"), QStringLiteral("Int"), 0), -17);
    EXPECT_EQ(ini.ReadBool(QStringLiteral("T"), QStringLiteral("Bool"), false), true);
    EXPECT_DOUBLE_EQ(ini.ReadFloat(QStringLiteral("T"), QStringLiteral("Float"), 0), 0.1);
    EXPECT_EQ(ini.ReadDate(QStringLiteral("T"), QStringLiteral("Date"), 0), encodeDate(2026, 3, 7));
    EXPECT_DOUBLE_EQ(ini.ReadDateTime(QStringLiteral("T"), QStringLiteral("DateTime"), 0), encodeDate(2026, 3, 7) + 0.75);
    EXPECT_DOUBLE_EQ(ini.ReadTime(QStringLiteral("T"), QStringLiteral("Time"), 0), 0.25);
    EXPECT_DOUBLE_EQ(ini.ReadTime(QStringLiteral("T"), QStringLiteral("DateTime"), 0), 0.75);
    QByteArray bin;
    EXPECT_EQ(ini.ReadBinaryStream(QStringLiteral("T"), QStringLiteral("Bin"), bin), 3);
    EXPECT_EQ(bin, QByteArray("\x00\xff\x10", 3));

    writeBytes("[L]\nComma=0,25\nDate=7.3.2026\nDateTime=07.03.2026 18:00\n"
               "Hex=0x1F\nDollar=$10\nBig=99999999999\nWord=ano\nNo=NE\nJunk=12abc\nBin=0G\n");
    EXPECT_DOUBLE_EQ(ini.ReadFloat(QStringLiteral("L"), QStringLiteral("Comma"), 0), 0.25);
    EXPECT_DOUBLE_EQ(ini.ReadFloat(QStringLiteral("L"), QStringLiteral("Junk"), -1), -1);
    EXPECT_EQ(ini.ReadDate(QStringLiteral("L"), QStringLiteral("Date"), 0), encodeDate(2026, 3, 7));
    EXPECT_DOUBLE_EQ(ini.ReadDateTime(QStringLiteral("L"), QStringLiteral("DateTime"), 0), encodeDate(2026, 3, 7) + 0.75);
    EXPECT_EQ(ini.ReadDate(QStringLiteral("L"), QStringLiteral("Junk"), -5), -5);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("L"), QStringLiteral("Hex"), 0), 31);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("L"), QStringLiteral("Dollar"), 0), 16);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("L"), QStringLiteral("Big"), 3), 3) << "outside 32 bits";
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("L"), QStringLiteral("Junk"), 3), 3);
    EXPECT_EQ(ini.ReadBool(QStringLiteral("L"), QStringLiteral("Word"), false), true);
    EXPECT_EQ(ini.ReadBool(QStringLiteral("L"), QStringLiteral("No"), true), false);
    EXPECT_EQ(ini.ReadBool(QStringLiteral("L"), QStringLiteral("Junk"), true), true);
    EXPECT_EQ(ini.ReadBinaryStream(QStringLiteral("L"), QStringLiteral("Bin"), bin), 0);
    EXPECT_EQ(bin, QByteArray());
}

TEST_F(IniFileTest, ChangesByOthersAreSeenAndWritesAreAtomic)
{
    writeBytes("[S]\nK=old\n");
    TIniFile ini(path(), Czech);
    EXPECT_EQ(ini.ReadString(QStringLiteral("S"), QStringLiteral("K"), QString()), QStringLiteral("old"));
    writeBytes("[S]\nK=changed elsewhere\nOther=1\n");
    EXPECT_EQ(ini.ReadString(QStringLiteral("S"), QStringLiteral("K"), QString()), QStringLiteral("changed elsewhere"));
    ini.WriteString(QStringLiteral("S"), QStringLiteral("New"), QStringLiteral("x"));
    EXPECT_EQ(readBytes(), QByteArray("[S]\nK=changed elsewhere\nOther=1\nNew=x\n")) << "another writer's lines survive";
    // The file is replaced, not rewritten in place: a reader holding the old
    // file keeps its complete content.
    QFile before(path());
    ASSERT_EQ(before.open(QIODevice::ReadOnly), true);
    const ino_t inodeBefore = inode(path());
    ini.WriteString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("y"));
    EXPECT_NE(inode(path()), inodeBefore);
    EXPECT_EQ(before.readAll(), QByteArray("[S]\nK=changed elsewhere\nOther=1\nNew=x\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), (QStringList{"settings.ini", "settings.ini.lock"}))
        << "no temporary left behind";
}

// A link at the settings file's name (someone else's file behind it) is
// replaced by a new file holding only what is written; an entry that is no
// file at all is refused.
TEST_F(IniFileTest, WritesReplaceALinkAndRefuseWhatIsNoFile)
{
    writeBytes("[Foreign]\nKeep=me\n", QStringLiteral("foreign.txt"));
    QFile::link(path(QStringLiteral("foreign.txt")), path());
    TIniFile ini(path(), Czech);
    EXPECT_EQ(ini.ReadString(QStringLiteral("Foreign"), QStringLiteral("Keep"), QString()), QStringLiteral("me"));
    ini.WriteString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("v"));
    EXPECT_EQ(readBytes(QStringLiteral("foreign.txt")), QByteArray("[Foreign]\nKeep=me\n"));
    EXPECT_FALSE(QFileInfo(path()).isSymLink());
    EXPECT_EQ(readBytes(), QByteArray("[S]\nK=v\n")) << "nothing of the linked file is copied";

    ASSERT_EQ(::mkfifo(QFile::encodeName(path(QStringLiteral("fifo.ini"))).constData(), 0600), 0);
    QDir(dir.path()).mkdir(QStringLiteral("folder.ini"));
    for (const QString &name : {QStringLiteral("fifo.ini"), QStringLiteral("folder.ini")}) {
        SCOPED_TRACE(name.toStdString());
        TIniFile odd(path(name), Czech);
        EXPECT_THROW(odd.WriteString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("v")), Error);
    }
    EXPECT_EQ(QFileInfo(path(QStringLiteral("fifo.ini"))).isFile(), false);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral(".tmp")), QStringList());
}

// Two programs writing different sections of one file at the same time:
// each change rereads the file under its lock, so no section is lost.
TEST_F(IniFileTest, ConcurrentWritersKeepEachOthersSections)
{
    constexpr int Writers = 2, Sections = 40;
    std::vector<pid_t> children;
    for (int writer = 0; writer < Writers; ++writer) {
        const pid_t child = ::fork();
        if (child == 0) {
            TIniFile ini(path(), Czech);
            for (int i = 0; i < Sections; ++i)
                ini.WriteInteger(QStringLiteral("W%1_%2").arg(writer).arg(i), QStringLiteral("K"), i);
            ::_exit(0);
        }
        children.push_back(child);
    }
    for (pid_t child : children) {
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    QStringList sections;
    TIniFile(path(), Czech).ReadSections(sections);
    EXPECT_EQ(sections.size(), Writers * Sections);
    // Removing the lock would let a waiting writer lock a file no longer there.
    EXPECT_TRUE(QFileInfo(path() + QStringLiteral(".lock")).isFile());
}

// Whatever sits at the lock's name that is no regular file is refused at
// once, telling the user to delete it: waiting or retrying would never help,
// and reading a pipe or a device would hang.
TEST_F(IniFileTest, ALockThatIsNoFileIsRefusedAtOnce)
{
    writeBytes("x", QStringLiteral("target"));
    const struct {
        const char *name;
        std::function<void(const QString &)> make;
    } rows[] = {
        {"pipe", [](const QString &lock) { ::mkfifo(QFile::encodeName(lock).constData(), 0600); }},
        {"link to /dev/zero", [](const QString &lock) { QFile::link(QStringLiteral("/dev/zero"), lock); }},
        {"folder", [](const QString &lock) { QDir().mkdir(lock); }},
        {"link to a file", [this](const QString &lock) { QFile::link(path(QStringLiteral("target")), lock); }},
    };
    ::alarm(60); // a hang fails the test instead of the whole run
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        const QString settings = path(QString::fromLatin1(row.name).replace(u'/', u'_') + QStringLiteral(".ini"));
        const QString lock = settings + QStringLiteral(".lock");
        row.make(lock);
        TIniFile ini(settings, Czech);
        try {
            ini.WriteString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("v"));
            ADD_FAILURE() << "written through an odd lock";
        } catch (const Error &error) {
            EXPECT_TRUE(error.text().contains(lock) && error.text().contains(u"smažte ho prosím"))
                << error.text().toStdString();
        }
        EXPECT_FALSE(QFileInfo::exists(settings));
    }
    ::alarm(0);
    EXPECT_EQ(readBytes(QStringLiteral("target")), QByteArray("x"));
}

// The lock is waited for while another program holds it, and its content
// and size never matter.
TEST_F(IniFileTest, AHeldLockIsWaitedForAndAnyRegularFileServes)
{
    const QString lock = path() + QStringLiteral(".lock");
    {
        QFile huge(lock);
        ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(qint64(4) << 30)); // sparse
    }
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = ::fork();
    if (holder == 0) {
        const int fd = ::open(QFile::encodeName(lock).constData(), O_RDONLY);
        ::flock(fd, LOCK_EX);
        if (::write(ready[1], "1", 1) != 1)
            ::_exit(1);
        ::usleep(300 * 1000);
        writeBytes("[Holder]\nK=1\n");
        ::_exit(0);
    }
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    ::alarm(30); // reading the lock's content would take minutes
    TIniFile(path(), Czech).WriteString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("v"));
    ::alarm(0);
    ::waitpid(holder, nullptr, 0);
    EXPECT_EQ(readBytes(), QByteArray("[Holder]\nK=1\n\n[S]\nK=v\n")) << "written after the holder, keeping its change";
    ::close(ready[0]);
    ::close(ready[1]);
}

} // namespace
