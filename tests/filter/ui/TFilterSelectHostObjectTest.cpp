#include "filter/ui/HostTables.h"
#include "filter/ui/TFilterSelectHostObject.h"
#include "filter/ui/WidgetTestApp.h"
#include "support/TestLaunchContext.h"

#include <QFile>

#include <gtest/gtest.h>

namespace kasovka {
namespace {

using test::HostRow;

QStringList hostCodes(TFilterSelectHostObject &select)
{
    QStringList codes;
    TMemTable &list = select.HostList();
    for (int row = 0; row < list.recordCount(); ++row)
        codes << list.valueAt(row, TFilterSelectHostObject::FieldShortCut).toText() + QLatin1Char('=')
                     + list.valueAt(row, TFilterSelectHostObject::FieldDescription).toText();
    return codes;
}

TEST(SelectionText, SplitAndJoin)
{
    struct Case {
        QString text;
        QStringList codes;
    };
    const Case cases[] = {
        {QString(), {}},
        {QStringLiteral("A;B;"), {QStringLiteral("A"), QStringLiteral("B")}},
        // The filter matches a last code without ";" as a code, so the editor
        // keeps it instead of silently dropping it.
        {QStringLiteral("A;B"), {QStringLiteral("A"), QStringLiteral("B")}},
        {QStringLiteral("EUR"), {QStringLiteral("EUR")}},
        {QStringLiteral(";"), {QString()}},
        {QStringLiteral("A;;B;"), {QStringLiteral("A"), QString(), QStringLiteral("B")}},
        {QStringLiteral(" a b ;c;"), {QStringLiteral(" a b "), QStringLiteral("c")}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(TFilterSelectHostObject::SplitSelectionText(c.text), c.codes);
    }
    EXPECT_EQ(TFilterSelectHostObject::JoinSelectionText({}), QString());
    EXPECT_EQ(TFilterSelectHostObject::JoinSelectionText({QStringLiteral("A"), QString()}),
              QStringLiteral("A;;"));
    // Whatever the editor reads it writes back in the stored form.
    EXPECT_EQ(TFilterSelectHostObject::JoinSelectionText(
                  TFilterSelectHostObject::SplitSelectionText(QStringLiteral("A;;B;"))),
              QStringLiteral("A;;B;"));
}

class SelectHostObjectTest : public ::testing::Test {
protected:
    void SetUp() override { test::widgetApp(); }
    QString year() const { return ctx.yearFolder(); }
    QString agenda() const { return ctx.root() + QStringLiteral("DATA/AGENDA.TST/"); }
    test::TestLaunchContext ctx;
};

TEST_F(SelectHostObjectTest, CaptionsAndTablesOfEveryKind)
{
    struct Case {
        quint8 kind;
        QString noun;
        QString path;
    };
    const Case cases[] = {
        {mokCentre, QStringLiteral("středisek"), year() + QStringLiteral("SZSTRED")},
        {mokActivity, QStringLiteral("činností"), year() + QStringLiteral("SZCINN")},
        {mokContract, QStringLiteral("zakázek"), year() + QStringLiteral("ZAKAZKY")},
        {mokCurrency, QStringLiteral("měn"), agenda() + QStringLiteral("MENY")},
        {mokAddressKey, QStringLiteral("adresních klíčů"), agenda() + QStringLiteral("ADKLICE")},
        {mokStockGroup, QStringLiteral("skladových skupin"), agenda() + QStringLiteral("SKSEZSKP")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(int(c.kind));
        TFilterSelectHostObject select(ctx.app(), c.kind, year(), true, QString());
        EXPECT_EQ(select.KindCaption(true), QStringLiteral("Editor ") + c.noun);
        EXPECT_EQ(select.KindCaption(false), QStringLiteral("Seznam ") + c.noun);
        EXPECT_EQ(select.HostTablePath(), c.path);
        EXPECT_EQ(select.HostListLoaded(), false);
        EXPECT_EQ(select.SelectedList().isActive(), true);
        EXPECT_EQ(select.HostList().recordCount(), 0);
    }
    EXPECT_EQ(TFilterSelectHostObject::KindNoun(6), QString());
}

TEST_F(SelectHostObjectTest, FolderWithoutTheHostShapeGivesTheBareDelimiter)
{
    TFilterSelectHostObject select(ctx.app(), mokCurrency, QStringLiteral("/data/firma/ROK.2026"),
                                   false, QString());
    EXPECT_EQ(select.YearFolder(), QStringLiteral("/data/firma/ROK.2026/"));
    EXPECT_EQ(select.AgendaFolder(), QStringLiteral("/"));
    EXPECT_EQ(select.HostTablePath(), QStringLiteral("/MENY"));
    // Lower-case names have the shape too and keep their letter case.
    TFilterSelectHostObject lower(ctx.app(), mokAddressKey, QStringLiteral("/d/agenda.a/rok.b/"),
                                  false, QString());
    EXPECT_EQ(lower.AgendaFolder(), QStringLiteral("/d/agenda.a/"));
}

TEST_F(SelectHostObjectTest, CodeListsAreReadInTableOrder)
{
    test::writeCodeList(year(), QStringLiteral("SZSTRED"),
                        {{QStringLiteral("VYR"), QStringLiteral("Výroba")},
                         {QStringLiteral("ADM"), QStringLiteral("Správa")},
                         {QString(), QStringLiteral("Bez zkratky")}});
    test::writeHostTable(agenda(), QStringLiteral("MENY"),
                         {{{QStringLiteral("Kod"), Variant("EUR")}, {QStringLiteral("Zeme"), Variant("EMU")}},
                          {{QStringLiteral("Kod"), Variant("USD")}, {QStringLiteral("Zeme"), Variant("USA")}}});
    TFilterSelectHostObject centres(ctx.app(), mokCentre, year(), true, QString());
    ASSERT_EQ(centres.LoadHostList(), true);
    EXPECT_EQ(hostCodes(centres),
              QStringList({QStringLiteral("VYR=Výroba"), QStringLiteral("ADM=Správa"),
                           QStringLiteral("=Bez zkratky")}));
    EXPECT_EQ(centres.HostListLoaded(), true);

    TFilterSelectHostObject currencies(ctx.app(), mokCurrency, year(), false, QString());
    ASSERT_EQ(currencies.LoadHostList(), true);
    EXPECT_EQ(hostCodes(currencies), QStringList({QStringLiteral("EUR=EMU"), QStringLiteral("USD=USA")}));
    EXPECT_EQ(ctx.ui().messages.size(), 0);
}

TEST_F(SelectHostObjectTest, StockGroupsJoinTheirStoresInIndexOrder)
{
    const auto store = [](int number, const char *name, int type) {
        return HostRow{{QStringLiteral("Číslo"), Variant(number)},
                       {QStringLiteral("Název"), Variant(name)},
                       {QStringLiteral("TypSkladu"), Variant(type)}};
    };
    const auto group = [](int store, int number, const char *name) {
        return HostRow{{QStringLiteral("Sklad"), Variant(store)},
                       {QStringLiteral("Číslo"), Variant(number)},
                       {QStringLiteral("Název"), Variant(name)}};
    };
    test::writeHostTable(agenda(), QStringLiteral("SKSEZSKL"),
                         {store(2, "Prodejna", 0), store(1, "Hlavní sklad", 0),
                          store(3, "Komise", 1)});
    test::writeHostTable(agenda(), QStringLiteral("SKSEZSKP"),
                         {group(2, 5, "Zelenina"), group(1, 20, "Potraviny"),
                          group(3, 1, "Komisní zboží"), group(9, 1, "Bez skladu"),
                          group(1, 10, "Drogerie")});
    TFilterSelectHostObject select(ctx.app(), mokStockGroup, year(), false, QString());
    ASSERT_EQ(select.LoadHostList(), true);
    // Index "Sklad+Název": store 1 before 2, names ascending within a store;
    // the type-1 store and the missing store 9 are left out.
    EXPECT_EQ(hostCodes(select),
              QStringList({QStringLiteral("1/10=Hlavní sklad/Drogerie"),
                           QStringLiteral("1/20=Hlavní sklad/Potraviny"),
                           QStringLiteral("2/5=Prodejna/Zelenina")}));
}

TEST_F(SelectHostObjectTest, FailedLoadsReportTheTableAndRetry)
{
    struct Case {
        const char *name;
        quint8 kind;
        std::function<void()> prepare;
        QString message;
    };
    const QString stores = agenda() + QStringLiteral("SKSEZSKL");
    const Case cases[] = {
        {"missing centres", mokCentre, [] {},
         QStringLiteral("Nastala chyba při otevírání databáze ") + year() + QStringLiteral("SZSTRED.DAT")},
        {"missing currencies", mokCurrency, [] {},
         QStringLiteral("Nastala chyba při otevírání databáze ") + agenda() + QStringLiteral("MENY.DAT")},
        {"groups without stores", mokStockGroup,
         [&] { test::writeHostTable(agenda(), QStringLiteral("SKSEZSKP"), {}); },
         QStringLiteral("Nastala chyba při otevírání databáze ") + stores + QStringLiteral(".DAT")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ctx.ui().messages.clear();
        c.prepare();
        TFilterSelectHostObject select(ctx.app(), c.kind, year(), false, QStringLiteral("X"));
        EXPECT_EQ(select.LoadHostList(), false);
        EXPECT_EQ(select.HostListLoaded(), false);
        // A pick of a list that cannot be read shows no window and returns nothing.
        EXPECT_EQ(select.PickFromHostList(QStringLiteral("X")), QString());
        EXPECT_EQ(select.Execute(), false);
        EXPECT_EQ(select.SelectionText(), QStringLiteral("X"));
        ASSERT_EQ(ctx.ui().messages.size(), 3); // every attempt reads again
        for (const test::RecordedMessage &m : ctx.ui().messages) {
            EXPECT_EQ(m.kind, MessageKind::Error);
            EXPECT_EQ(m.text, c.message);
        }
    }
}

TEST_F(SelectHostObjectTest, DamagedTableIsAnErrorNotACrash)
{
    QFile garbage(year() + QStringLiteral("SZCINN.DAT"));
    ASSERT_EQ(garbage.open(QIODevice::WriteOnly), true);
    garbage.write(QByteArray(4096, '\x5a'));
    garbage.close();
    TFilterSelectHostObject select(ctx.app(), mokActivity, year(), true, QString());
    EXPECT_EQ(select.LoadHostList(), false);
    ASSERT_EQ(ctx.ui().messages.size(), 1);
    EXPECT_EQ(ctx.ui().messages.at(0).kind, MessageKind::Error);
    EXPECT_EQ(ctx.ui().messages.at(0).text,
              QStringLiteral("Nastala chyba při otevírání databáze ") + year()
                  + QStringLiteral("SZCINN.DAT"));
}

TEST_F(SelectHostObjectTest, TableLackingTheCodeFieldNamesIt)
{
    // A contracts table of another layout: the store's own text names the
    // missing field, and nothing half-read stays in the list.
    test::writeHostTable(agenda(), QStringLiteral("ADKLICE"),
                         {{{QStringLiteral("Klic"), Variant("K1")}}});
    QFile::copy(agenda() + QStringLiteral("ADKLICE.DAT"), year() + QStringLiteral("ZAKAZKY.DAT"));
    TFilterSelectHostObject select(ctx.app(), mokContract, year(), true, QString());
    EXPECT_EQ(select.LoadHostList(), false);
    EXPECT_EQ(select.HostList().recordCount(), 0);
    ASSERT_EQ(ctx.ui().messages.size(), 1);
    EXPECT_EQ(ctx.ui().messages.at(0).text.contains(QStringLiteral("Zkrat")), true)
        << ctx.ui().messages.at(0).text.toStdString();
}

} // namespace
} // namespace kasovka
