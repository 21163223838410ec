// The rights check against PRISTUP and PRISTUP2 in the data root.

#include "HostTestSupport.h"

#include "host/HostSchema.h"
#include "host/TBFTable.h"
#include "host/TPristupPrava.h"

using namespace kasovka;
using kasovka::test::execSql;
using kasovka::test::writeFile;

namespace {

struct User {
    QString password; // as typed
    QString right;
};

class TPristupPravaTest : public ::testing::Test {
protected:
    QString root() const { return m_dir.path() + u'/'; }

    void writeRights(const QList<User> &pristup, const QList<User> &pristup2)
    {
        for (const auto &[name, users] : {std::pair{"PRISTUP", pristup}, std::pair{"PRISTUP2", pristup2}}) {
            const QString path = root() + QLatin1String(name);
            HostSchema::createTableFile(path, *HostSchema::find(QLatin1String(name)));
            TBFTable table;
            ASSERT_EQ(table.Open(path), 0);
            for (const User &user : users) {
                table.Append();
                table.SetValue(QStringLiteral("Password"), TPristupPrava::ScramblePassword(user.password));
                if (QLatin1String(name) == QLatin1String("PRISTUP"))
                    table.SetValue(QStringLiteral("JUPDTisk"), user.right);
                table.Post();
            }
        }
    }

    QTemporaryDir m_dir;
};

TEST(TPristupPravaScrambleTest, EachCharacterIsCombinedWithAGrowingKeyByte)
{
    const QString plain = QStringLiteral("aB§č");
    const QString stored = TPristupPrava::ScramblePassword(plain);
    ASSERT_EQ(stored.size(), plain.size());
    const unsigned key = TPristupPrava::PasswordKeyStart;
    for (qsizetype i = 0; i < plain.size(); ++i)
        EXPECT_EQ(stored[i].unicode(), plain[i].unicode() ^ ((key + unsigned(i)) & 0xFF)) << i;
    EXPECT_EQ(TPristupPrava::ScramblePassword(stored), plain); // the same function undoes it

    // The key byte wraps at 256: position 256 - start uses the key 0.
    const QString longPassword(300, QLatin1Char('x'));
    const QString scrambled = TPristupPrava::ScramblePassword(longPassword);
    EXPECT_EQ(scrambled[256 - key], QLatin1Char('x'));
    EXPECT_NE(scrambled[0], QLatin1Char('x'));
    EXPECT_EQ(TPristupPrava::ScramblePassword(QString()), QString());
}

TEST_F(TPristupPravaTest, TheRightOfTheUserFoundInBothTablesDecides)
{
    struct Case {
        const char *password;
        bool found;
        TRightLevel right;
    };
    writeRights({{"plny", "A"}, {"cteni", "R"}, {"prazdne", ""}, {"male", "a"}, {"jine", "X"},
                 {"jen1", "A"}, {"dvakrat", "R"}, {"dvakrat", "A"}, {"", "R"}},
                {{"plny", ""}, {"cteni", ""}, {"prazdne", ""}, {"male", ""}, {"jine", ""},
                 {"dvakrat", ""}, {"", ""}, {"jen2", ""}});
    const Case cases[] = {
        {"plny", true, TRightLevel::Full},       {"cteni", true, TRightLevel::ReadOnly},
        {"prazdne", true, TRightLevel::None},    {"male", true, TRightLevel::None},
        {"jine", true, TRightLevel::None},       {"jen1", false, TRightLevel::None},
        {"jen2", false, TRightLevel::None},      {"neznamy", false, TRightLevel::None},
        {"dvakrat", true, TRightLevel::ReadOnly}, // the first in index order
        {"", true, TRightLevel::ReadOnly},        {"PLNY", false, TRightLevel::None},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.password);
        TPristupPrava rights(m_dir.path(), QString::fromLatin1(c.password));
        ASSERT_TRUE(rights.ReadRights()) << rights.ErrorText().toStdString();
        EXPECT_EQ(rights.UserFound(), c.found);
        EXPECT_EQ(rights.JUPDTisk(), c.right);
        EXPECT_EQ(rights.ErrorText(), QString());
    }
}

TEST_F(TPristupPravaTest, NoUsersMeansFullRightsWhateverPristup2Holds)
{
    writeRights({}, {{"kdokoli", ""}});
    TPristupPrava rights(root(), QStringLiteral("cokoli"));
    ASSERT_TRUE(rights.ReadRights());
    EXPECT_TRUE(rights.UserFound());
    EXPECT_EQ(rights.JUPDTisk(), TRightLevel::Full);
}

TEST_F(TPristupPravaTest, TableFailuresNameTheTableAndEndTheCheck)
{
    const QString open = QStringLiteral("Nastala chyba při otevírání databáze ");
    const QString index = QStringLiteral("Nastala chyba při nastavení indexu databáze ");
    struct Case {
        const char *name;
        std::function<void(const QString &root)> damage;
        QString expected;
    };
    const Case cases[] = {
        {"PRISTUP2 missing", [](const QString &r) { QFile::remove(r + "PRISTUP2.DAT"); },
         open + root() + "PRISTUP2.DAT\n"},
        {"PRISTUP missing", [](const QString &r) { QFile::remove(r + "PRISTUP.DAT"); },
         open + root() + "PRISTUP.DAT\n"},
        {"PRISTUP no table", [](const QString &r) { writeFile(r + "PRISTUP.DAT", "garbage"); },
         open + root() + "PRISTUP.DAT\n"},
        {"PRISTUP no index",
         [](const QString &r) { execSql(r + "PRISTUP.DAT", "DROP INDEX \"Password\""); },
         index + root() + "PRISTUP.DAT\n"},
        {"PRISTUP2 no index",
         [](const QString &r) { execSql(r + "PRISTUP2.DAT", "DROP INDEX \"Password\""); },
         index + root() + "PRISTUP2.DAT\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        for (const char *name : {"PRISTUP.DAT", "PRISTUP2.DAT"})
            QFile::remove(root() + QLatin1String(name));
        writeRights({{"heslo", "A"}}, {{"heslo", ""}});
        c.damage(root());
        TPristupPrava rights(root(), QStringLiteral("heslo"));
        EXPECT_FALSE(rights.ReadRights());
        EXPECT_EQ(rights.ErrorText(), c.expected);
    }
}

TEST_F(TPristupPravaTest, AValueOfTheWrongKindIsAFailureNotAGrant)
{
    execSql(root() + "PRISTUP.DAT", "CREATE TABLE data (Password TEXT, JUPDTisk TEXT);"
                                     " CREATE INDEX \"Password\" ON data (Password);"
                                     " INSERT INTO data VALUES (X'0102', 'A');");
    execSql(root() + "PRISTUP2.DAT", "CREATE TABLE data (Password TEXT);"
                                      " CREATE INDEX \"Password\" ON data (Password);");
    TPristupPrava rights(root(), QStringLiteral("heslo"));
    EXPECT_FALSE(rights.ReadRights());
    EXPECT_EQ(rights.JUPDTisk(), TRightLevel::None);
    EXPECT_TRUE(rights.ErrorText().startsWith(
        QStringLiteral("Nastala chyba při otevírání databáze ") + root() + "PRISTUP.DAT\n"));
    EXPECT_TRUE(rights.ErrorText().contains(QStringLiteral("„Password“")));
}

} // namespace
