// The store's failure texts by result code and field, and what the host's
// own messages keep of the failure behind them.

#include "HostTestSupport.h"

#include "host/HostTableError.h"
#include "host/TBFTable.h"

#include "support/QtPrinters.h"

#include <sqlite3.h>

using namespace kasovka;

namespace {

const QString kFile = QStringLiteral("/data/2024/UCPENDEN.DAT");

TEST(HostTableErrorTest, SqliteFailuresAreToldByResultCodeWithSqlitesTextAndKeepTheCodes)
{
    struct Case {
        bool opening; // cannotOpen, else storeFailed
        int code;
        int extendedCode;
        const char *text; // %1: the file
    };
    const Case cases[] = {
        {true, SQLITE_BUSY, SQLITE_BUSY_SNAPSHOT,
         "Do databáze %1 právě zapisuje účetní systém; zkuste to prosím za chvíli znovu."},
        {true, SQLITE_NOTADB, SQLITE_NOTADB, "Soubor %1 není databází (důvod)."},
        {true, SQLITE_CORRUPT, SQLITE_CORRUPT_INDEX, "Databáze %1 je poškozená (důvod)."},
        {true, SQLITE_CANTOPEN, SQLITE_CANTOPEN_ISDIR, "Databázi %1 nelze otevřít (důvod)."},
        {false, SQLITE_BUSY, SQLITE_BUSY, "Databáze %1 je právě zamčená jiným programem (důvod)."},
        {false, SQLITE_LOCKED, SQLITE_LOCKED_SHAREDCACHE, "Databáze %1 je právě zamčená jiným programem (důvod)."},
        {false, SQLITE_NOTADB, SQLITE_NOTADB, "Databáze %1 je poškozená (důvod)."},
        {false, SQLITE_IOERR, SQLITE_IOERR_SHORT_READ, "Chyba při práci s databází %1 (důvod)."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        const HostTableError::SqliteFailure failure{c.code, c.extendedCode, QStringLiteral("důvod")};
        const HostTableError error = c.opening ? HostTableError::cannotOpen(kFile, failure)
                                               : HostTableError::storeFailed(kFile, failure);
        EXPECT_EQ(error.text(), QString::fromUtf8(c.text).arg(kFile));
        EXPECT_EQ(error.resultCode(), c.code);
        EXPECT_EQ(error.extendedResultCode(), c.extendedCode);
        EXPECT_EQ(error.filePath(), kFile);
        EXPECT_TRUE(error.field().isEmpty());
    }
}

TEST(HostTableErrorTest, FieldFailuresNameTheFieldAndTheFile)
{
    const QString field = QStringLiteral("Castka");
    struct Case {
        HostTableError error;
        const char *text; // %1: the file
    };
    const Case cases[] = {
        {HostTableError::unexpectedValue(kFile, field, SQLITE_BLOB, QStringLiteral("CURRENCY")),
         "Pole „Castka“ databáze %1 obsahuje hodnotu typu binární data, očekává se typ CURRENCY."},
        {HostTableError::unexpectedValue(kFile, field, SQLITE_FLOAT, QStringLiteral("CURRENCY")),
         "Pole „Castka“ databáze %1 obsahuje hodnotu typu desetinné číslo, očekává se typ CURRENCY."},
        {HostTableError::wrongFieldType(kFile, field, QString(), QStringLiteral("CURRENCY")),
         "Pole „Castka“ databáze %1 nemá typ, očekává se typ CURRENCY."},
        {HostTableError::valueDoesNotFit(kFile, field, QStringLiteral("sto"), QStringLiteral("není číslo")),
         "Pole „Castka“ databáze %1 nemůže obsahovat hodnotu „sto“ (není číslo)."},
        {HostTableError::noField(kFile, field), "Databáze %1 nemá pole „Castka“."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.error.text(), QString::fromUtf8(c.text).arg(kFile));
        EXPECT_EQ(c.error.field(), field);
        EXPECT_EQ(c.error.resultCode(), 0);
    }
}

// The host's message replaces the store's reason, but not the result code
// behind it.
TEST(HostTableErrorTest, TheHostsMessagesKeepTheFailureBehind)
{
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/POKLKNIH");
    kasovka::test::writeFile(path + QStringLiteral(".DAT"), "[Global]\nKlic=hodnota\n");
    TBFTable table;
    ASSERT_NE(table.Open(path), 0);
    ASSERT_NE(table.LastFailure(), nullptr);
    EXPECT_EQ(table.LastFailure()->kind(), HostTableError::Kind::CannotOpen);

    const HostTableError opening = HostTableError::openFailed(path, table);
    EXPECT_EQ(opening.kind(), HostTableError::Kind::TableUnusable);
    EXPECT_EQ(opening.text(), QStringLiteral("Nastala chyba při otevírání databáze ") + path + QStringLiteral(".DAT"));
    EXPECT_EQ(opening.resultCode(), SQLITE_NOTADB);

    const HostTableError indexing = HostTableError::indexFailed(path, table);
    EXPECT_EQ(indexing.text(),
              QStringLiteral("Nastala chyba při nastavení indexu databáze ") + path + QStringLiteral(".DAT"));
    EXPECT_EQ(indexing.resultCode(), SQLITE_NOTADB);

    EXPECT_EQ(HostTableError::tableUnusable(path).resultCode(), 0);
}

} // namespace
