// The table store read and written through TBFTable: tables written by other
// programs, index order, seeks, writes and read transactions.

#include "HostTestSupport.h"

#include "core/Error.h"
#include "host/HostSchema.h"
#include "host/TBFTable.h"

#include <QProcess>
#include <QStandardPaths>

using namespace kasovka;
using kasovka::test::execSql;

namespace {

class TBFTableTest : public ::testing::Test {
protected:
    QString path(const char *name) const { return m_dir.path() + u'/' + QLatin1String(name); }

    // A table of every kind with the index "Kod+Pocet".
    QString kindsTable(const QByteArray &rows)
    {
        const QString file = path("KINDS.DAT");
        // Write-ahead logging, as the files the program creates: a reader
        // positioned on a record does not block a writer.
        execSql(file, "PRAGMA journal_mode = WAL; CREATE TABLE data (Kod TEXT, Pocet INTEGER, Platny BOOLEAN, Datum DATE,"
                      " Castka CURRENCY, Kurz FLOAT, Hodnota VARIANT);"
                      " CREATE INDEX \"Kod+Pocet\" ON data (Kod, Pocet);" + rows);
        return path("KINDS");
    }

    // Walks the current order and joins the text of one field of each record.
    static QString walk(TBFTable &table, const QString &field)
    {
        QStringList seen;
        if (table.First() == TBFTable::EndOfTable)
            return QString();
        do {
            const Variant value = table.Value(field);
            seen.append(value.isEmpty() ? QStringLiteral("-") : value.toText());
        } while (table.Next() != TBFTable::EndOfTable);
        return seen.join(u' ');
    }

    QTemporaryDir m_dir;
};

TEST_F(TBFTableTest, TableWrittenWithTheSqliteShellOpensAndSeeks)
{
    const QString shell = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    if (shell.isEmpty())
        GTEST_SKIP() << "sqlite3 shell not installed";
    const QString sql = QStringLiteral(
        "CREATE TABLE data (Zkrat TEXT, Popis TEXT, Typ TEXT, Sloupec TEXT);"
        "CREATE INDEX \"Zkrat\" ON data (Zkrat);"
        "INSERT INTO data VALUES ('VMA', 'Nákup materiálu', 'V', 'VMat');"
        "INSERT INTO data VALUES ('PZB', 'Tržba za zboží', 'P', 'PZbo');"
        "INSERT INTO data VALUES ('PRE', NULL, 'P', '');");
    QProcess process;
    process.start(shell, {path("UCPOHYBY.DAT"), sql});
    ASSERT_TRUE(process.waitForFinished(10000));
    ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();

    TBFTable table;
    ASSERT_EQ(table.Open(path("UCPOHYBY")), 0) << table.LastError().toStdString();
    EXPECT_EQ(table.RecordCount(), 3);
    EXPECT_EQ(walk(table, QStringLiteral("Zkrat")), QStringLiteral("VMA PZB PRE"));
    ASSERT_EQ(table.SetIndex(QStringLiteral("Zkrat")), 0);
    EXPECT_EQ(walk(table, QStringLiteral("Zkrat")), QStringLiteral("PRE PZB VMA"));
    ASSERT_EQ(table.Seek(QStringLiteral("PZB")), TBFTable::SeekFound);
    EXPECT_EQ(table.Value(QStringLiteral("Popis")), Variant(QStringLiteral("Tržba za zboží")));
    EXPECT_EQ(table.Value(QStringLiteral("Sloupec")), Variant(QStringLiteral("PZbo")));
    ASSERT_EQ(table.Seek(QStringLiteral("PRE")), TBFTable::SeekFound);
    EXPECT_EQ(table.Value(QStringLiteral("Popis")), Variant(QString())); // NULL reads as ""
    EXPECT_EQ(table.Seek(QStringLiteral("pzb")), TBFTable::SeekNotFound);
    EXPECT_FALSE(table.HasCurrent());
}

TEST_F(TBFTableTest, ValuesHaveTheKindTheColumnDeclaresAndNullIsTheEmptyValue)
{
    TBFTable table;
    ASSERT_EQ(table.Open(kindsTable(
                  "INSERT INTO data VALUES ('A', 42, 1, 45292.5, 1234567, 25.125, 'text');"
                  "INSERT INTO data VALUES ('B', NULL, NULL, NULL, NULL, NULL, NULL);"
                  "INSERT INTO data VALUES ('C', -7, 0, 45000, -5, 2, 12.5);"
                  "INSERT INTO data VALUES ('D', 0, 0, 0, 0, 0, 99);")), 0);
    struct Row {
        const char *kod;
        Variant pocet, platny, datum, castka, kurz, hodnota;
    };
    const Row rows[] = {
        {"A", qint64(42), true, Variant::fromDate(45292.5), Currency::fromRaw(1234567), 25.125,
         QStringLiteral("text")},
        {"B", qint64(0), false, Variant::fromDate(0), Currency(), 0.0, Variant()},
        {"C", qint64(-7), false, Variant::fromDate(45000), Currency::fromRaw(-5), 2.0, 12.5},
        {"D", qint64(0), false, Variant::fromDate(0), Currency(), 0.0, qint64(99)},
    };
    ASSERT_EQ(table.First(), 0);
    for (const Row &row : rows) {
        SCOPED_TRACE(row.kod);
        EXPECT_EQ(table.Value(QStringLiteral("Kod")), Variant(QString::fromLatin1(row.kod)));
        EXPECT_EQ(table.Value(QStringLiteral("Pocet")), row.pocet);
        EXPECT_EQ(table.Value(QStringLiteral("Platny")), row.platny);
        EXPECT_EQ(table.Value(QStringLiteral("Datum")), row.datum);
        EXPECT_EQ(table.Value(QStringLiteral("Castka")), row.castka);
        EXPECT_EQ(table.Value(QStringLiteral("Kurz")), row.kurz);
        EXPECT_EQ(table.Value(QStringLiteral("Hodnota")), row.hodnota);
        // Typed reads give the same, of the field's own kind or converted.
        EXPECT_EQ(table.TextValue(0), QString::fromLatin1(row.kod));
        EXPECT_EQ(table.IntegerValue(1), row.pocet.toInt());
        EXPECT_EQ(table.BoolValue(2), row.platny.toBool());
        EXPECT_EQ(table.DateValue(3), row.datum.toDate());
        EXPECT_EQ(table.CurrencyValue(4), row.castka.toCurrency());
        EXPECT_EQ(table.CurrencyValue(5), row.kurz.toCurrency());
        EXPECT_EQ(table.TextValue(6), row.hodnota.toText());
        EXPECT_EQ(table.DateValue(1), row.pocet.toDate());
        table.Next();
    }
    EXPECT_FALSE(table.HasCurrent());
}

TEST_F(TBFTableTest, ASelectionOfFieldsIsAllThatIsReadAndKeepsTheOrder)
{
    TBFTable table;
    ASSERT_EQ(table.Open(kindsTable(
                  "INSERT INTO data VALUES ('B', 2, 1, 45000, 100, 1.5, 'r1'), ('A', 1, 0, 45001, 200, 2.5, 'r2'),"
                  " ('B', 1, 0, 45002, 300, 3.5, 'r3'), ('A', 2, 1, 45003, 400, 4.5, 'r4');")), 0);
    ASSERT_EQ(table.SetIndex(QStringLiteral("Kod+Pocet")), 0);
    const int castka = table.FieldIndex(QStringLiteral("Castka"));
    const int hodnota = table.FieldIndex(QStringLiteral("Hodnota"));
    table.SelectFields({hodnota, castka});
    EXPECT_EQ(walk(table, QStringLiteral("Hodnota")), QStringLiteral("r2 r4 r3 r1"));
    // A seek and the records after it: the index's fields are fetched too.
    ASSERT_EQ(table.Seek(QStringLiteral("B")), TBFTable::SeekFound);
    EXPECT_EQ(table.CurrencyValue(castka), Currency::fromRaw(300));
    EXPECT_EQ(table.TextValue(0), QStringLiteral("B"));
    const QString unread = [&] {
        try {
            table.DateValue(3);
        } catch (const Error &error) {
            return error.text();
        }
        return QString();
    }();
    EXPECT_TRUE(unread.contains(QStringLiteral("„Datum“"))) << unread.toStdString();
    // An edit of the current record is read back, and its stored record kept.
    table.SetValue(castka, Currency::fromRaw(301));
    EXPECT_EQ(table.CurrencyValue(castka), Currency::fromRaw(301));
    table.Post();
    ASSERT_EQ(table.Next(), 0);
    EXPECT_EQ(table.TextValue(hodnota), QStringLiteral("r1"));
    // Another index keeps the selection; none brings every field back.
    ASSERT_EQ(table.SetIndex(QString()), 0);
    EXPECT_EQ(walk(table, QStringLiteral("Castka")), QStringLiteral("0.01 0.02 0.0301 0.04"));
    EXPECT_THROW(table.Value(0), Error);
    table.SelectFields({});
    ASSERT_EQ(table.First(), 0);
    EXPECT_EQ(table.DateValue(3), 45000);
}

TEST_F(TBFTableTest, IndexOrderComparesTextsByteForByteThenRowid)
{
    TBFTable table;
    ASSERT_EQ(table.Open(kindsTable(
                  "INSERT INTO data (Kod, Pocet, Hodnota) VALUES ('b', 1, 'r1'), ('Č', 1, 'r2'),"
                  " ('B', 2, 'r3'), (NULL, 1, 'r4'), ('a', 1, 'r5'), ('B', 1, 'r6'), ('B', 2, 'r7'),"
                  " ('C', 1, 'r8');")), 0);
    EXPECT_EQ(walk(table, QStringLiteral("Hodnota")), QStringLiteral("r1 r2 r3 r4 r5 r6 r7 r8"));
    ASSERT_EQ(table.SetIndex(QStringLiteral("Kod+Pocet")), 0);
    // NULL first; upper case before lower case; "Č" (C4 8C) after every ASCII
    // letter; equal keys keep their rowid order.
    EXPECT_EQ(walk(table, QStringLiteral("Hodnota")), QStringLiteral("r4 r6 r3 r7 r8 r5 r1 r2"));
    ASSERT_EQ(table.SetIndex(QString()), 0);
    EXPECT_EQ(walk(table, QStringLiteral("Hodnota")), QStringLiteral("r1 r2 r3 r4 r5 r6 r7 r8"));
}

TEST_F(TBFTableTest, SeeksFindTheFirstMatchInIndexOrderAndNextGoesOnInThatOrder)
{
    TBFTable table;
    ASSERT_EQ(table.Open(kindsTable(
                  "INSERT INTO data (Kod, Pocet, Hodnota) VALUES ('X', 2, 'r1'), ('X', NULL, 'r2'),"
                  " ('X', 1, 'r3'), ('Y', 5, 'r4'), ('X', 1, 'r5'), ('A', 9, 'r6');")), 0);
    EXPECT_THROW(table.Seek(QStringLiteral("X")), Error); // no index set yet
    ASSERT_EQ(table.SetIndex(QStringLiteral("Kod+Pocet")), 0);

    struct Case {
        QList<Variant> keys;
        const char *expectedWalk; // the found record and every one after it
    };
    const Case cases[] = {
        {{QStringLiteral("X")}, "r2 r3 r5 r1 r4"},        // (X, NULL) comes first
        {{QStringLiteral("X"), 1}, "r3 r5 r1 r4"},
        {{QStringLiteral("X"), QStringLiteral("1")}, "r3 r5 r1 r4"}, // text key, integer field
        {{QStringLiteral("X"), 2}, "r1 r4"},
        {{QStringLiteral("A")}, "r6 r2 r3 r5 r1 r4"},
        {{QStringLiteral("Y"), qint64(5)}, "r4"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.expectedWalk);
        ASSERT_EQ(table.SeekArray(c.keys), TBFTable::SeekFound);
        QStringList seen;
        do {
            seen.append(table.Value(QStringLiteral("Hodnota")).toText());
        } while (table.Next() != TBFTable::EndOfTable);
        EXPECT_EQ(seen.join(u' '), QString::fromLatin1(c.expectedWalk));
    }
    EXPECT_EQ(table.Seek2(QStringLiteral("X"), 3), TBFTable::SeekNotFound);
    EXPECT_EQ(table.Seek2(QStringLiteral("X"), QStringLiteral("abc")), TBFTable::SeekNotFound);
    EXPECT_EQ(table.Seek(QStringLiteral("x")), TBFTable::SeekNotFound);
    EXPECT_FALSE(table.HasCurrent());
    EXPECT_THROW(table.Value(QStringLiteral("Hodnota")), Error);
    EXPECT_EQ(table.Next(), TBFTable::EndOfTable);
    EXPECT_THROW(table.SeekArray({QStringLiteral("X"), 1, 2}), Error);
}

TEST_F(TBFTableTest, PostStoresDurablyAndAFailedPostStoresNothing)
{
    const QString file = kindsTable("INSERT INTO data (Kod, Pocet) VALUES ('A', 1), ('B', 2);");
    TBFTable writer;
    ASSERT_EQ(writer.Open(file), 0);
    writer.Append();
    EXPECT_EQ(writer.Value(QStringLiteral("Castka")), Variant(Currency())); // blank record
    writer.SetValue(QStringLiteral("Kod"), QStringLiteral("N"));
    writer.SetValue(QStringLiteral("Castka"), Currency::fromRaw(15005000));
    writer.SetValue(QStringLiteral("Datum"), Variant::fromDate(45300));
    writer.Post();
    EXPECT_EQ(writer.Value(QStringLiteral("Kod")), Variant(QStringLiteral("N")));
    EXPECT_EQ(writer.Next(), TBFTable::EndOfTable); // the new record is the last by rowid

    TBFTable reader; // a second connection sees the committed record
    ASSERT_EQ(reader.Open(file), 0);
    ASSERT_EQ(reader.SetIndex(QStringLiteral("Kod+Pocet")), 0);
    ASSERT_EQ(reader.Seek(QStringLiteral("N")), TBFTable::SeekFound);
    EXPECT_EQ(reader.Value(QStringLiteral("Castka")), Variant(Currency::fromRaw(15005000)));
    EXPECT_EQ(reader.Value(QStringLiteral("Pocet")), Variant(qint64(0)));

    // Updating one field keeps the others.
    ASSERT_EQ(writer.SetIndex(QStringLiteral("Kod+Pocet")), 0);
    ASSERT_EQ(writer.Seek(QStringLiteral("B")), TBFTable::SeekFound);
    writer.SetValue(QStringLiteral("Kurz"), 1.5);
    writer.Post();
    ASSERT_EQ(writer.Next(), 0); // the stored record stays current: N follows B
    EXPECT_EQ(writer.Value(QStringLiteral("Kod")), Variant(QStringLiteral("N")));
    ASSERT_EQ(reader.Seek(QStringLiteral("B")), TBFTable::SeekFound);
    EXPECT_EQ(reader.Value(QStringLiteral("Pocet")), Variant(qint64(2)));
    EXPECT_EQ(reader.Value(QStringLiteral("Kurz")), Variant(1.5));

    // A value the field cannot hold fails the whole Post.
    writer.Append();
    writer.SetValue(QStringLiteral("Kod"), QStringLiteral("Z"));
    writer.SetValue(QStringLiteral("Pocet"), QStringLiteral("dvanáct"));
    EXPECT_THROW(writer.Post(), Error);
    EXPECT_EQ(reader.RecordCount(), 3);
    EXPECT_EQ(reader.Seek(QStringLiteral("Z")), TBFTable::SeekNotFound);
}

TEST_F(TBFTableTest, DeleteMakesTheNextRecordInIndexOrderCurrent)
{
    TBFTable table;
    ASSERT_EQ(table.Open(kindsTable("INSERT INTO data (Kod, Pocet) VALUES ('C', 1), ('A', 1),"
                                    " ('B', 1), ('B', 2);")), 0);
    ASSERT_EQ(table.SetIndex(QStringLiteral("Kod+Pocet")), 0);
    ASSERT_EQ(table.Seek(QStringLiteral("B")), TBFTable::SeekFound);
    table.Delete();
    ASSERT_TRUE(table.HasCurrent());
    EXPECT_EQ(table.Value(QStringLiteral("Pocet")), Variant(qint64(2)));
    table.Delete();
    EXPECT_EQ(table.Value(QStringLiteral("Kod")), Variant(QStringLiteral("C")));
    table.Delete();
    EXPECT_FALSE(table.HasCurrent());
    EXPECT_EQ(walk(table, QStringLiteral("Kod")), QStringLiteral("A"));
}

TEST_F(TBFTableTest, SettingsValuesKeepTheirOwnKind)
{
    const QString file = path("ROK");
    HostSchema::createTableFile(file, HostSchema::settingsTable(QStringLiteral("ROK")));
    const QList<Variant> values = {QStringLiteral("0012"), QStringLiteral("11.060"),
                                   QStringLiteral(" 7 "), QStringLiteral("1e3"), qint64(45656),
                                   2.5, QStringLiteral("N"), QString()};
    TBFTable table;
    ASSERT_EQ(table.Open(file), 0);
    for (qsizetype i = 0; i < values.size(); ++i) {
        table.Append();
        table.SetValue(QStringLiteral("Variable"), QString::number(i));
        table.SetValue(QStringLiteral("Value"), values[i]);
        table.Post();
    }
    ASSERT_EQ(table.First(), 0);
    for (const Variant &expected : values) {
        SCOPED_TRACE(expected.toText().toStdString());
        EXPECT_EQ(table.Value(QStringLiteral("Value")), expected);
        table.Next();
    }
}

TEST_F(TBFTableTest, ReadTransactionSeesOneStateWhileAnotherConnectionWrites)
{
    const QString file = path("UCPOHYBY");
    HostSchema::createTableFile(file, *HostSchema::find(QStringLiteral("UCPOHYBY")));
    TBFTable host, report;
    ASSERT_EQ(host.Open(file), 0);
    ASSERT_EQ(report.Open(file), 0);
    auto append = [&](const char *code) {
        host.Append();
        host.SetValue(QStringLiteral("Zkrat"), QString::fromLatin1(code));
        host.Post();
    };
    append("A");
    {
        THostReadSession session;
        session.add(report);
        EXPECT_TRUE(report.InReadTransaction());
        append("B"); // the host is not blocked by the reading report
        EXPECT_EQ(report.RecordCount(), 1);
        EXPECT_EQ(walk(report, QStringLiteral("Zkrat")), QStringLiteral("A"));
        report.Append();
        EXPECT_THROW(report.Post(), Error); // no writes while reading
    }
    EXPECT_FALSE(report.InReadTransaction());
    EXPECT_EQ(report.RecordCount(), 2);
    EXPECT_EQ(walk(report, QStringLiteral("Zkrat")), QStringLiteral("A B"));
}

TEST_F(TBFTableTest, ASessionOutlivedOrOutlivingItsTablesEndsCleanly)
{
    const QString file = path("SZSTRED");
    HostSchema::createTableFile(file, *HostSchema::find(QStringLiteral("SZSTRED")));
    auto session = std::make_unique<THostReadSession>();
    {
        TBFTable closedEarly;
        ASSERT_EQ(closedEarly.Open(file), 0);
        session->add(closedEarly);
        closedEarly.Close();
        EXPECT_FALSE(closedEarly.InReadTransaction());
    } // destroyed while the session lives
    TBFTable kept;
    ASSERT_EQ(kept.Open(file), 0);
    session->add(kept);
    session.reset();
    EXPECT_FALSE(kept.InReadTransaction());
    EXPECT_EQ(kept.RecordCount(), 0);
}

} // namespace
