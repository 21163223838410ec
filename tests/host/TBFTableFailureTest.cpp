// Bad input to the table store: every case fails with a Czech text that names
// the file (and the field), and none crashes.

#include "HostTestSupport.h"

#include "core/Error.h"
#include "host/HostSchema.h"
#include "host/HostTableMessages.h"
#include "host/TBFTable.h"

#include "support/QtPrinters.h"
#include "support/Unprivileged.h"

#include <QDir>

#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace kasovka;
using kasovka::test::execSql;
using kasovka::test::writeFile;

namespace {

class TBFTableFailureTest : public ::testing::Test {
protected:
    QString path(const QString &name) const { return m_dir.path() + u'/' + name; }

    // The text of the Error `operation` throws, or empty when none.
    template <typename F> static QString errorOf(F operation)
    {
        try {
            operation();
        } catch (const Error &error) {
            return error.text();
        }
        return QString();
    }

    QTemporaryDir m_dir;
};

TEST_F(TBFTableFailureTest, OpenFindsTheFileWithOrWithoutExtensionAndIgnoringLetterCase)
{
    execSql(path(QStringLiteral("ucpohyby.dat")), "CREATE TABLE data (Zkrat TEXT)");
    const QString variants[] = {QStringLiteral("UCPOHYBY"), QStringLiteral("UCPOHYBY.DAT"),
                                QStringLiteral("ucpohyby"), QStringLiteral("UcPohyby.Dat")};
    for (const QString &name : variants) {
        TBFTable table;
        EXPECT_EQ(table.Open(path(name)), 0) << name.toStdString();
        EXPECT_EQ(table.FilePath(), path(QStringLiteral("ucpohyby.dat")));
    }
}

TEST_F(TBFTableFailureTest, FilesThatAreNoTablesFailToOpenWithTheirReason)
{
    writeFile(path(QStringLiteral("TEXT.DAT")), "[Global]\nKlic=hodnota\n");
    writeFile(path(QStringLiteral("EMPTY.DAT")), "");
    execSql(path(QStringLiteral("OTHER.DAT")), "CREATE TABLE zaznamy (Zkrat TEXT)");
    execSql(path(QStringLiteral("VIEW.DAT")), "CREATE TABLE t (a); CREATE VIEW data AS SELECT a FROM t");
    QDir(m_dir.path()).mkdir(QStringLiteral("FOLDER.DAT"));
    execSql(path(QStringLiteral("ROWID.DAT")), "CREATE TABLE data (Kod TEXT, RowId INTEGER)");
    execSql(path(QStringLiteral("NOROWID.DAT")),
            "CREATE TABLE data (Kod TEXT PRIMARY KEY) WITHOUT ROWID");
    struct Case {
        const char *name;
        const char *reason;
    };
    const Case cases[] = {
        {"MISSING", "neexistuje"},
        {"TEXT", "není databází"},
        {"EMPTY", "neobsahuje tabulku data"},
        {"OTHER", "neobsahuje tabulku data"},
        {"VIEW", "neobsahuje tabulku data"},
        {"FOLDER", "neexistuje"},
        {"ROWID", "„RowId“"},
        {"NOROWID", "nelze otevřít"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TBFTable table;
        EXPECT_NE(table.Open(path(QLatin1String(c.name))), 0);
        EXPECT_FALSE(table.IsOpen());
        EXPECT_TRUE(table.LastError().contains(QString::fromUtf8(c.reason)))
            << table.LastError().toStdString();
        EXPECT_TRUE(table.LastError().contains(QLatin1String(c.name) + QLatin1String(".DAT")));
        EXPECT_THROW(table.First(), Error);
        EXPECT_THROW(table.RecordCount(), Error);
        EXPECT_EQ(table.Next(), TBFTable::EndOfTable);
    }
}

TEST_F(TBFTableFailureTest, DamagedPagesFailTheReadNotTheProgram)
{
    const QString file = path(QStringLiteral("UCPENDEN.DAT"));
    QByteArray rows = "CREATE TABLE data (Cislo INTEGER, Popis TEXT);"
                      " CREATE INDEX \"Cislo\" ON data (Cislo); BEGIN;";
    for (int i = 0; i < 3000; ++i)
        rows += "INSERT INTO data VALUES (" + QByteArray::number(i) + ", 'popis dokladu číslo "
            + QByteArray::number(i) + "');";
    execSql(file, rows + "COMMIT;");
    QFile damaged(file);
    ASSERT_TRUE(damaged.open(QIODevice::ReadWrite));
    const qint64 size = damaged.size();
    for (qint64 offset = 4096 * 2; offset < size; offset += 4096 * 3) {
        damaged.seek(offset);
        damaged.write(QByteArray(600, '\xA5'));
    }
    damaged.close();

    TBFTable table;
    if (table.Open(file) != 0) {
        EXPECT_TRUE(table.LastError().contains(QStringLiteral("UCPENDEN.DAT")));
        return;
    }
    const QString message = errorOf([&] {
        for (const QString &index : {QString(), QStringLiteral("Cislo")}) {
            if (table.SetIndex(index) != 0)
                throw Error(table.LastError());
            table.RecordCount();
            for (int r = table.First(); r != TBFTable::EndOfTable; r = table.Next())
                table.Value(QStringLiteral("Popis"));
        }
    });
    EXPECT_TRUE(message.contains(QStringLiteral("UCPENDEN.DAT"))) << message.toStdString();
}

TEST_F(TBFTableFailureTest, FieldsAndValuesTheTableCannotGiveThrowNamingTheField)
{
    execSql(path(QStringLiteral("UCPENDEN.DAT")),
            "CREATE TABLE data (Cislo INTEGER, Castka CURRENCY, Datum DATE, Del BOOLEAN,"
            " Popis TEXT, Suma MONEY);"
            "INSERT INTO data VALUES ('x1', 'sto', 'včera', 'ano', X'00FF', 5);"
            "INSERT INTO data VALUES (2.5, 10.25, 45000, 2, 'ok', NULL);");
    TBFTable table;
    ASSERT_EQ(table.Open(path(QStringLiteral("UCPENDEN"))), 0);
    ASSERT_EQ(table.First(), 0);
    struct Case {
        const char *field;
        const char *found; // storage class named in the message
    };
    const Case firstRecord[] = {
        {"Cislo", "text"}, {"Castka", "text"}, {"Datum", "text"}, {"Del", "text"},
        {"Popis", "binární data"}, {"Suma", "neznámý typ MONEY"},
    };
    for (const Case &c : firstRecord) {
        SCOPED_TRACE(c.field);
        const QString message = errorOf([&] { table.Value(QLatin1String(c.field)); });
        EXPECT_TRUE(message.contains(QStringLiteral("„%1“").arg(QLatin1String(c.field))))
            << message.toStdString();
        EXPECT_TRUE(message.contains(QStringLiteral("UCPENDEN.DAT")));
        EXPECT_TRUE(message.contains(QString::fromUtf8(c.found))) << message.toStdString();
    }
    // The typed reads refuse the same values with the same texts.
    EXPECT_EQ(errorOf([&] { table.IntegerValue(0); }), errorOf([&] { table.Value(0); }));
    EXPECT_EQ(errorOf([&] { table.CurrencyValue(1); }), errorOf([&] { table.Value(1); }));
    EXPECT_EQ(errorOf([&] { table.DateValue(2); }), errorOf([&] { table.Value(2); }));
    EXPECT_EQ(errorOf([&] { table.BoolValue(3); }), errorOf([&] { table.Value(3); }));
    EXPECT_EQ(errorOf([&] { table.TextValue(4); }), errorOf([&] { table.Value(4); }));
    EXPECT_EQ(errorOf([&] { table.CurrencyValue(5); }), errorOf([&] { table.Value(5); }));
    table.Next();
    // A fractional number where whole ones (or ten-thousandths) belong.
    EXPECT_FALSE(errorOf([&] { table.Value(QStringLiteral("Cislo")); }).isEmpty());
    EXPECT_FALSE(errorOf([&] { table.Value(QStringLiteral("Castka")); }).isEmpty());
    EXPECT_EQ(table.Value(QStringLiteral("Datum")), Variant::fromDate(45000));
    EXPECT_EQ(table.Value(QStringLiteral("Del")), Variant(true));

    const QString missing = errorOf([&] { table.FieldIndex(QStringLiteral("Zakazka")); });
    EXPECT_TRUE(missing.contains(QStringLiteral("„Zakazka“"))) << missing.toStdString();
    EXPECT_TRUE(missing.contains(QStringLiteral("UCPENDEN.DAT")));
    EXPECT_THROW(table.Value(99), Error);
    EXPECT_THROW(table.SetValue(-1, Variant(1)), Error);
}

TEST_F(TBFTableFailureTest, SetIndexTakesOnlyAnIndexOfExactlyThatName)
{
    execSql(path(QStringLiteral("SETPVARS.DAT")),
            "CREATE TABLE data (SetupVarsU TEXT, Sekce TEXT, Prom TEXT, Str TEXT);"
            " CREATE INDEX \"SetupVarsU+Sekce+Prom\" ON data (SetupVarsU, Sekce, Prom);"
            " CREATE INDEX \"Vyraz\" ON data (lower(Prom));"
            " INSERT INTO data VALUES ('Default', 'Poc. stav PD', 'PZbo', '1500.50');");
    TBFTable table;
    ASSERT_EQ(table.Open(path(QStringLiteral("SETPVARS"))), 0);
    const QString rejected[] = {
        QStringLiteral("Prom"), QStringLiteral("setupvarsu+sekce+prom"),
        QStringLiteral("Vyraz"), // over an expression, not over fields
        QStringLiteral("x\"; DROP TABLE data; --"), QStringLiteral("sqlite_autoindex_data_1"),
    };
    for (const QString &name : rejected) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_NE(table.SetIndex(name), 0);
        EXPECT_TRUE(table.LastError().contains(QStringLiteral("SETPVARS.DAT")));
    }
    ASSERT_EQ(table.SetIndex(QStringLiteral("SetupVarsU+Sekce+Prom")), 0);
    ASSERT_EQ(table.SeekArray({QStringLiteral("Default"), QStringLiteral("Poc. stav PD"),
                               QStringLiteral("PZbo")}), TBFTable::SeekFound);
    EXPECT_EQ(table.Value(QStringLiteral("Str")), Variant(QStringLiteral("1500.50")));
}

TEST_F(TBFTableFailureTest, AnIndexWithAnotherCollationStillGivesByteOrder)
{
    execSql(path(QStringLiteral("SZSTRED.DAT")),
            "CREATE TABLE data (Zkrat TEXT, Nazev TEXT);"
            " CREATE INDEX \"Zkrat\" ON data (Zkrat COLLATE NOCASE);"
            " INSERT INTO data VALUES ('b', '1'), ('A', '2'), ('a', '3'), ('B', '4');");
    TBFTable table;
    ASSERT_EQ(table.Open(path(QStringLiteral("SZSTRED"))), 0);
    ASSERT_EQ(table.SetIndex(QStringLiteral("Zkrat")), 0);
    QStringList order;
    for (int r = table.First(); r != TBFTable::EndOfTable; r = table.Next())
        order.append(table.Value(QStringLiteral("Zkrat")).toText());
    EXPECT_EQ(order.join(u' '), QStringLiteral("A B a b"));
    ASSERT_EQ(table.Seek(QStringLiteral("a")), TBFTable::SeekFound);
    EXPECT_EQ(table.Value(QStringLiteral("Nazev")), Variant(QStringLiteral("3")));
}

TEST_F(TBFTableFailureTest, OperationsWithoutARecordThrowInsteadOfReadingGarbage)
{
    execSql(path(QStringLiteral("MENY.DAT")), "CREATE TABLE data (Kod TEXT, Zeme TEXT)");
    TBFTable table;
    ASSERT_EQ(table.Open(path(QStringLiteral("MENY"))), 0);
    EXPECT_EQ(table.First(), TBFTable::EndOfTable);
    EXPECT_THROW(table.Value(QStringLiteral("Kod")), Error);
    EXPECT_THROW(table.SetValue(QStringLiteral("Kod"), QStringLiteral("EUR")), Error);
    EXPECT_THROW(table.Delete(), Error);
    EXPECT_EQ(table.Post(), 0); // nothing to store
    table.Close();
    EXPECT_THROW(table.Value(0), Error);
    EXPECT_THROW(table.First(), Error);
    EXPECT_NE(table.SetIndex(QStringLiteral("Kod")), 0);
}

// An amount declared as text would be read in crowns instead of its stored
// ten-thousandths; every field the schema defines must have its type.
TEST_F(TBFTableFailureTest, AFieldOfAnotherDeclaredTypeIsRefusedAtOpen)
{
    struct Case {
        const char *columns;
        const char *error; // %1: the file
    };
    const Case cases[] = {
        {"Cislo INTEGER, Castka TEXT", "Pole „Castka“ databáze %1 má typ TEXT, očekává se typ CURRENCY."},
        {"Datum REAL", "Pole „Datum“ databáze %1 má typ REAL, očekává se typ DATE."},
        {"Del INTEGER", "Pole „Del“ databáze %1 má typ INTEGER, očekává se typ BOOLEAN."},
        {"Castka", "Pole „Castka“ databáze %1 nemá typ, očekává se typ CURRENCY."},
        {"Castka MONEY", "Pole „Castka“ databáze %1 má typ MONEY, očekává se typ CURRENCY."},
        // Letter case of a type, and fields the schema does not know, pass.
        {"Castka currency, Poznamka BLOB", ""},
    };
    int n = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.columns);
        QDir(m_dir.path()).mkdir(QString::number(++n));
        const QString file = path(QStringLiteral("%1/UCPENDEN.DAT").arg(n));
        execSql(file, QByteArray("CREATE TABLE data (") + c.columns + "); INSERT INTO data DEFAULT VALUES");
        TBFTable table;
        EXPECT_EQ(table.Open(file) != 0, *c.error != 0);
        EXPECT_EQ(table.LastError(), QString::fromUtf8(c.error).arg(file));
    }
}

// A serial no calendar date has reads like a missing date.
TEST_F(TBFTableFailureTest, ImpossibleDatesReadAsNoDate)
{
    execSql(path(QStringLiteral("UZZAVUP.DAT")),
            "CREATE TABLE data (Cislo INTEGER, Datum DATE);"
            " INSERT INTO data VALUES (1, 1e308), (2, -1e308), (3, 9e999), (4, -9e999), (5, 2958466),"
            " (6, -693594.5), (7, 2958465.5), (8, -693593), (9, 45000.25), (10, NULL)");
    TBFTable table;
    ASSERT_EQ(table.Open(path(QStringLiteral("UZZAVUP"))), 0) << table.LastError().toStdString();
    QList<double> dates;
    for (int r = table.First(); r != TBFTable::EndOfTable; r = table.Next()) {
        dates.append(table.Value(QStringLiteral("Datum")).toDate());
        EXPECT_EQ(table.DateValue(1), dates.last());
    }
    EXPECT_EQ(dates, (QList<double>{0, 0, 0, 0, 0, 0, 2958465.5, -693593, 45000.25, 0}));
}

// A report only reads: a user who may read the host's tables but not write
// their folder gets them, whether or not the host has the table open (its
// log and index beside it, or neither).
TEST_F(TBFTableFailureTest, ATableInAFolderThatMayOnlyBeReadIsRead)
{
    const QString folder = path(QStringLiteral("ro"));
    const QString file = folder + QStringLiteral("/UCPOHYBY.DAT");
    QDir().mkpath(folder);
    HostSchema::createTableFile(file, *HostSchema::find(QStringLiteral("UCPOHYBY")));
    execSql(file, "INSERT INTO data (Zkrat, Popis) VALUES ('P1', 'první'), ('P2', 'druhý')");
    kasovka::test::openToOthers(folder);
    const auto readOnlyFolder = QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup
        | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther;
    for (const bool hostHasItOpen : {false, true}) {
        SCOPED_TRACE(hostHasItOpen);
        sqlite3 *host = nullptr;
        if (hostHasItOpen) {
            ASSERT_EQ(sqlite3_open(file.toUtf8().constData(), &host), SQLITE_OK);
            ASSERT_EQ(sqlite3_exec(host, "SELECT count(*) FROM data", nullptr, nullptr, nullptr), SQLITE_OK);
        }
        QFile::setPermissions(folder, readOnlyFolder);
        const QString seen = kasovka::test::runUnprivileged([&] {
            TBFTable table;
            if (table.Open(file) != 0)
                return table.LastError();
            QStringList seen;
            for (int r = table.First(); r != TBFTable::EndOfTable; r = table.Next())
                seen.append(table.Value(QStringLiteral("Popis")).toText());
            table.First();
            table.SetValue(QStringLiteral("Popis"), Variant(QStringLiteral("změna")));
            seen.append(errorOf([&] { table.Post(); }).isEmpty() ? QStringLiteral("written")
                                                                 : QStringLiteral("refused"));
            return seen.join(u' ');
        });
        QFile::setPermissions(folder, readOnlyFolder | QFileDevice::WriteOwner);
        sqlite3_close(host);
        EXPECT_EQ(seen.toStdString(), "první druhý refused");
    }
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("UCPOHYBY.DAT")});
}

// A user who may only read the host's data while the host keeps writing the
// table: the private copy is taken again until it is whole, and when the
// table keeps changing the user is told that the host is writing it and to
// try again in a moment, never just that it cannot be opened.
TEST_F(TBFTableFailureTest, WhileTheHostWritesAReadOnlyUserReadsOrIsAskedToTryAgain)
{
    const QString folder = path(QStringLiteral("busy"));
    const QString table = folder + QStringLiteral("/UCPOHYBY");
    const QString file = table + QStringLiteral(".DAT");
    QDir().mkpath(folder);
    HostSchema::createTableFile(file, *HostSchema::find(QStringLiteral("UCPOHYBY")));
    execSql(file, "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 20000)"
                  " INSERT INTO data (Zkrat, Popis) SELECT 'P' || i, printf('%.200c', 'x') FROM n");
    kasovka::test::openToOthers(folder);
    const pid_t host = ::fork();
    if (host == 0) {
        // Grows the file past its last page (which SQLite ignores) until
        // killed, or for half a minute should the test not get that far.
        const int fd = ::open(QFile::encodeName(file).constData(), O_WRONLY | O_APPEND);
        for (int i = 0; i < 300000 && ::write(fd, "", 1) == 1; ++i)
            ::usleep(100);
        ::_exit(0);
    }
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther
                                      | QFileDevice::ExeOther);
    QStringList seen;
    for (int run = 0; run < 3; ++run) {
        seen.append(kasovka::test::runUnprivileged([&] {
            TBFTable opened;
            return opened.Open(table) == 0 ? QString::number(opened.RecordCount())
                                           : tableOpenFailedText(table, opened);
        }));
    }
    ::kill(host, SIGKILL);
    ::waitpid(host, nullptr, 0);
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QString busy =
        QStringLiteral("Do databáze %1 právě zapisuje účetní systém; zkuste to prosím za chvíli znovu.").arg(file);
    for (const QString &one : std::as_const(seen))
        EXPECT_TRUE(one == u"20000" || one == busy) << one.toStdString();
}

} // namespace
