#include "core/DisplayFormat.h"
#include "core/Error.h"
#include "core/MemTable.h"

#include <gtest/gtest.h>

#include <memory>

using namespace kasovka;

namespace {

// A journal-like table: ID, Parent_ID, Popis (text 10), Datum, Col5, Col6.
std::unique_ptr<TMemTable> journal(const QString &defaultExpression = QString())
{
    auto t = std::make_unique<TMemTable>(QStringLiteral("Denik"));
    t->addField(QStringLiteral("ID"), FieldType::AutoInc, 0, true);
    t->addField(QStringLiteral("Parent_ID"), FieldType::Integer);
    t->addField(QStringLiteral("Popis"), FieldType::Text, 10);
    t->addField(QStringLiteral("Datum"), FieldType::DateTime);
    t->addField(QStringLiteral("Col5"), FieldType::Currency);
    t->addField(QStringLiteral("Col6"), FieldType::Currency);
    t->addIndex(QStringLiteral("ID"), {QStringLiteral("ID")});
    t->createTable();
    FormatCurrencyFields(*t, 2, defaultExpression);
    return t;
}

void addRow(TMemTable &t, int parent, const QString &popis, qint64 col5Raw = 0)
{
    t.append();
    t.setInteger(1, parent);
    t.setText(2, popis);
    if (col5Raw != 0)
        t.setCurrency(4, Currency::fromRaw(col5Raw));
    t.post();
}

// The values of one field over the visible records, in order.
QStringList column(TMemTable &t, int field)
{
    QStringList values;
    for (int row = 0; row < t.recordCount(); ++row)
        values.append(t.valueAt(row, field).toText());
    return values;
}

TEST(MemTableDefaults, CurrencyDefaultExpressionDecidesEmptyOrZero)
{
    auto zero = journal(QStringLiteral("0"));
    zero->append();
    zero->post();
    EXPECT_EQ(zero->isNull(4), false);
    EXPECT_EQ(zero->asCurrency(4), Currency());
    EXPECT_EQ(zero->asVariant(5), Variant(Currency()));

    auto empty = journal();
    empty->append();
    empty->post();
    EXPECT_EQ(empty->isNull(4), true);
    EXPECT_EQ(empty->asCurrency(4), Currency()) << "an empty amount reads as 0";
    EXPECT_EQ(empty->asVariant(4), Variant());
    EXPECT_EQ(empty->isNull(QStringLiteral("Popis")), true);
    EXPECT_EQ(empty->asText(QStringLiteral("Popis")), QString());
    EXPECT_EQ(empty->asInteger(QStringLiteral("Parent_ID")), 0);

    EXPECT_THROW(empty->setDefaultExpression(4, QStringLiteral("Col5 + 1")), Error);
    EXPECT_EQ(empty->fieldDef(4).displayFormat, QStringLiteral("# ### ### ##0.00"));
    EXPECT_EQ(empty->fieldDef(4).currencySymbol, false);
}

TEST(MemTableDefaults, AutoIncrementIsUniqueAndIncreasing)
{
    auto t = journal();
    t->append();
    const qint64 first = t->asInteger(0);
    t->post();
    t->append();
    t->cancel(); // a cancelled number is not reused
    t->append();
    const qint64 second = t->asInteger(0);
    t->post();
    EXPECT_GT(second, first);
    EXPECT_EQ(t->recordCount(), 2);
    t->first();
    EXPECT_EQ(t->asInteger(0), first);
}

TEST(MemTableFields, LookupAndErrors)
{
    auto t = journal();
    EXPECT_EQ(t->fieldIndex(QStringLiteral("popis")), 2);
    EXPECT_EQ(t->fieldIndex(QStringLiteral("PARENT_ID")), 1);
    try {
        t->fieldIndex(QStringLiteral("Castka"));
        FAIL() << "no exception";
    } catch (const Error &e) {
        EXPECT_EQ(e.text(), QStringLiteral("Denik: Field 'Castka' not found"));
    }
    EXPECT_THROW(t->asText(QStringLiteral("Castka")), Error);
    EXPECT_THROW(t->asText(99), Error);
    TMemTable fresh;
    fresh.addField(QStringLiteral("A"), FieldType::Integer);
    EXPECT_THROW(fresh.addField(QStringLiteral("a"), FieldType::Text), Error);
    EXPECT_THROW(t->addField(QStringLiteral("Late"), FieldType::Integer), Error) << "table is open";
}

TEST(MemTableEditing, WritesNeedEditStateAndAnOpenTable)
{
    auto t = journal();
    EXPECT_THROW(t->setInteger(1, 5), Error) << "browse state";
    EXPECT_THROW(t->edit(), Error) << "no current record";
    addRow(*t, 1, QStringLiteral("a"));
    EXPECT_THROW(t->setText(2, QStringLiteral("b")), Error);
    t->close();
    EXPECT_EQ(t->isActive(), false);
    EXPECT_THROW(t->append(), Error);
    EXPECT_EQ(t->recordCount(), 0);
    t->createTable();
    EXPECT_EQ(t->recordCount(), 0) << "closing discarded the records";
}

TEST(MemTableEditing, ValuesAreConvertedCutAndRangeChecked)
{
    auto t = journal();
    t->append();
    t->setText(2, QStringLiteral("Převedeno: dlouhý popis"));
    EXPECT_EQ(t->asText(2), QStringLiteral("Převedeno:")) << "cut to 10 characters on store";
    t->setValue(1, Variant(u"17"));
    t->setValue(4, Variant(u"12.5"));
    t->setValue(3, Variant(u"2026-03-07"));
    EXPECT_THROW(t->setValue(1, Variant(u"abc")), Error);
    EXPECT_THROW(t->setInteger(1, qint64(1) << 31), Error) << "32-bit field";
    EXPECT_NO_THROW(t->setInteger(1, -(qint64(1) << 31)));
    t->setInteger(1, 17);
    t->post();
    EXPECT_EQ(t->asInteger(1), 17);
    EXPECT_EQ(t->asCurrency(4).raw(), 125000);
    EXPECT_EQ(t->asDate(3), encodeDate(2026, 3, 7));
    EXPECT_EQ(t->asText(2), QStringLiteral("Převedeno:"));
}

TEST(MemTableEditing, CancelRestoresAndDeleteMovesOn)
{
    auto t = journal();
    addRow(*t, 1, QStringLiteral("a"), 10000);
    addRow(*t, 1, QStringLiteral("b"), 20000);
    addRow(*t, 1, QStringLiteral("c"), 30000);
    t->setRecNo(1);
    t->edit();
    t->setText(2, QStringLiteral("changed"));
    t->setNull(4);
    EXPECT_EQ(t->isNull(4), true);
    t->cancel();
    EXPECT_EQ(t->asText(2), QStringLiteral("b"));
    EXPECT_EQ(t->asCurrency(4).raw(), 20000);

    t->deleteRecord();
    EXPECT_EQ(t->recordCount(), 2);
    EXPECT_EQ(t->recNo(), 1);
    EXPECT_EQ(t->asText(2), QStringLiteral("c"));
    t->deleteRecord();
    EXPECT_EQ(t->asText(2), QStringLiteral("a")) << "deleting the last record steps back";
    t->deleteRecord();
    EXPECT_EQ(t->recordCount(), 0);
    EXPECT_EQ(t->eof(), true);
    EXPECT_THROW(t->deleteRecord(), Error);
}

TEST(MemTableEditing, RequiredFieldMustBeSetAndMovingPostsEdits)
{
    TMemTable t(QStringLiteral("T"));
    t.addField(QStringLiteral("Kod"), FieldType::Text, 5, true);
    t.createTable();
    t.append();
    EXPECT_THROW(t.post(), Error);
    t.setText(0, QStringLiteral("A"));
    t.first(); // navigation posts the pending record
    EXPECT_EQ(t.state(), TMemTable::State::Browse);
    EXPECT_EQ(t.asText(0), QStringLiteral("A"));
}

TEST(MemTableCursor, NavigationAndEndMarks)
{
    auto t = journal();
    t->first();
    EXPECT_EQ(t->eof(), true);
    EXPECT_EQ(t->bof(), true);
    EXPECT_EQ(t->recNo(), -1);
    t->setRecNo(3);
    EXPECT_EQ(t->recNo(), -1) << "nothing to stand on";
    t->last();
    EXPECT_EQ(t->recNo(), -1);
    for (const char *text : {"a", "b", "c"})
        addRow(*t, 1, QString::fromLatin1(text));
    QStringList seen;
    for (t->first(); !t->eof(); t->next())
        seen.append(t->asText(2));
    EXPECT_EQ(seen, (QStringList{"a", "b", "c"}));
    EXPECT_EQ(t->recNo(), 2) << "next past the end does not move";
    t->last();
    EXPECT_EQ(t->eof(), false);
    seen.clear();
    for (; !t->bof(); t->prior())
        seen.append(t->asText(2));
    EXPECT_EQ(seen, (QStringList{"c", "b", "a"}));
    t->setRecNo(99);
    EXPECT_EQ(t->recNo(), 2);
    t->setRecNo(-4);
    EXPECT_EQ(t->recNo(), 0);
}

TEST(MemTableRows, ValueAtReadsWithoutMovingAndShowsTheEditBuffer)
{
    auto t = journal();
    addRow(*t, 1, QStringLiteral("a"), 15005000);
    addRow(*t, 2, QStringLiteral("b"));
    t->first();
    EXPECT_EQ(t->valueAt(1, 2), Variant(u"b"));
    EXPECT_EQ(t->recNo(), 0);
    t->edit();
    t->setText(2, QStringLiteral("edited"));
    EXPECT_EQ(t->valueAt(0, 2), Variant(u"edited"));
    t->cancel();
    EXPECT_THROW(t->valueAt(2, 0), Error);
    const QLocale czech(QLocale::Czech, QLocale::CzechRepublic);
    EXPECT_EQ(t->displayTextAt(0, 4, czech), QStringLiteral("1 500,50"));
    EXPECT_EQ(t->displayTextAt(1, 4, czech), QString()) << "an empty amount shows a blank cell";
}

TEST(MemTableLocate, CaseOptionsAndCursor)
{
    auto t = journal();
    addRow(*t, 1, QStringLiteral("ABC"));
    addRow(*t, 2, QStringLiteral("abc"));
    addRow(*t, 3, QStringLiteral("xyz"));
    t->last();
    EXPECT_EQ(t->locate(QStringLiteral("Popis"), Variant(u"abc"), true), true);
    EXPECT_EQ(t->recNo(), 0) << "the first visible match";
    EXPECT_EQ(t->locate(QStringLiteral("Popis"), Variant(u"abc"), false), true);
    EXPECT_EQ(t->recNo(), 1);
    t->first();
    EXPECT_EQ(t->locate(QStringLiteral("Popis"), Variant(u"ABC "), false), false);
    EXPECT_EQ(t->locate(QStringLiteral("Popis"), Variant(u"Abc"), false), false);
    EXPECT_EQ(t->recNo(), 0) << "not found: the cursor stays";
    EXPECT_EQ(t->locate({QStringLiteral("Parent_ID"), QStringLiteral("Popis")}, {Variant(3), Variant(u"XYZ")}, true), true);
    EXPECT_EQ(t->recNo(), 2);
    EXPECT_EQ(t->locate(QStringLiteral("Parent_ID"), Variant(u"2")), true);
    EXPECT_EQ(t->recNo(), 1);
    EXPECT_EQ(t->locate(QStringLiteral("Parent_ID"), Variant(u"abc")), false);
    EXPECT_EQ(t->locate(QStringLiteral("Col5"), Variant(Currency())), false);
    EXPECT_EQ(t->locate(QStringLiteral("Col5"), Variant()), true) << "Empty finds an empty field";
    EXPECT_THROW(t->locate(QStringLiteral("Nope"), Variant(1)), Error);
    EXPECT_EQ(t->locate(QList<int>{1, 2}, {Variant(3), Variant(u"xyz")}), true);
    EXPECT_EQ(t->recNo(), 2);
    EXPECT_THROW(t->locate(QList<int>{42}, {Variant(3)}), Error);
}

TEST(MemTableLocate, IndexFollowsEditsDeletesAndSort)
{
    auto t = journal();
    for (int i = 0; i < 5; ++i)
        addRow(*t, i, QStringLiteral("r%1").arg(i));
    ASSERT_EQ(t->locate(QStringLiteral("Parent_ID"), Variant(3)), true);
    t->edit();
    t->setInteger(1, 1); // now two records hold 1
    t->post();
    EXPECT_EQ(t->locate(QStringLiteral("Parent_ID"), Variant(3)), false);
    ASSERT_EQ(t->locate(QStringLiteral("Parent_ID"), Variant(1)), true);
    EXPECT_EQ(t->asText(2), QStringLiteral("r1")) << "earlier record first";
    t->deleteRecord();
    ASSERT_EQ(t->locate(QStringLiteral("Parent_ID"), Variant(1)), true);
    EXPECT_EQ(t->asText(2), QStringLiteral("r3"));
    addRow(*t, 1, QStringLiteral("r5"));
    t->sortBy({QStringLiteral("Popis")});
    t->edit();
    t->setText(2, QStringLiteral("zz"));
    t->post();
    ASSERT_EQ(t->locate(QStringLiteral("Parent_ID"), Variant(1)), true);
    EXPECT_EQ(t->asText(2), QStringLiteral("r3"));
    EXPECT_EQ(t->locate(QStringLiteral("Popis"), Variant(u"ZZ"), true), true);
    EXPECT_EQ(t->recNo(), 0);
}

TEST(MemTableFilter, IdFilter)
{
    auto t = journal();
    for (int i = 0; i < 7; ++i)
        addRow(*t, 0, QStringLiteral("r%1").arg(i));
    t->last();
    const qint64 fifth = t->valueAt(4, 0).toInt();
    t->setFilterText(QStringLiteral("ID = %1").arg(fifth));
    EXPECT_EQ(t->recordCount(), 7) << "text alone does not filter";
    t->setFiltered(true);
    EXPECT_EQ(t->recordCount(), 1);
    EXPECT_EQ(t->asText(2), QStringLiteral("r4"));
    EXPECT_EQ(t->locate(QStringLiteral("Popis"), Variant(u"r1")), false);
    t->setFilterText(QStringLiteral("ID=999"));
    EXPECT_EQ(t->recordCount(), 0);
    EXPECT_EQ(t->eof(), true);
    t->setFiltered(false);
    EXPECT_EQ(t->recordCount(), 7);

    for (const char *bad : {"ID > 5", "Parent_ID = 5", "ID = abc", "ID = 5 or 1=1", "ID = 99999999999"})
        EXPECT_THROW(t->setFilterText(QString::fromLatin1(bad)), Error) << bad;
    EXPECT_EQ(t->filterText(), QStringLiteral("ID=999")) << "a rejected text changes nothing";
}

class MemTableLink : public testing::Test {
protected:
    void SetUp() override
    {
        master = std::make_unique<TMemTable>(QStringLiteral("Skupiny"));
        master->addField(QStringLiteral("ID"), FieldType::AutoInc);
        master->addField(QStringLiteral("Nazev"), FieldType::Text, 50);
        master->createTable();
        for (const char *name : {"A", "B", "C"}) {
            master->append();
            master->setText(1, QString::fromLatin1(name));
            master->post();
        }
        detail = journal();
        // A: two rows, B: none, C: one row.
        addRow(*detail, 1, QStringLiteral("a1"));
        addRow(*detail, 3, QStringLiteral("c1"));
        addRow(*detail, 1, QStringLiteral("a2"));
        detail->setMasterSource(master.get(), {QStringLiteral("ID")}, {QStringLiteral("Parent_ID")});
    }
    std::unique_ptr<TMemTable> master;
    std::unique_ptr<TMemTable> detail;
};

TEST_F(MemTableLink, DetailFollowsTheMastersCurrentRecord)
{
    master->first();
    EXPECT_EQ(column(*detail, 2), (QStringList{"a1", "a2"}));
    detail->last();
    master->next(); // B has no rows
    EXPECT_EQ(detail->recordCount(), 0);
    detail->first();
    EXPECT_EQ(detail->eof(), true);
    master->next();
    EXPECT_EQ(column(*detail, 2), (QStringList{"c1"}));
    master->first();
    EXPECT_EQ(detail->recNo(), 0) << "stands on its first record";
    EXPECT_EQ(detail->asText(2), QStringLiteral("a1"));
    EXPECT_EQ(detail->totalRecordCount(), 3);
}

TEST_F(MemTableLink, LocateAndAppendHonourTheLink)
{
    master->first();
    EXPECT_EQ(detail->locate(QStringLiteral("Popis"), Variant(u"c1")), false);
    EXPECT_EQ(detail->locate(QStringLiteral("Popis"), Variant(u"a2")), true);
    EXPECT_EQ(detail->recNo(), 1);
    addRow(*detail, 1, QStringLiteral("a3"));
    EXPECT_EQ(column(*detail, 2), (QStringList{"a1", "a2", "a3"}));
    addRow(*detail, 2, QStringLiteral("b1")); // posted for another master
    EXPECT_EQ(detail->recordCount(), 3);
    master->next();
    EXPECT_EQ(column(*detail, 2), (QStringList{"b1"}));
}

TEST_F(MemTableLink, CompleteCopyIgnoresTheLinkButHonoursTheFilter)
{
    master->setRecNo(1); // B
    ASSERT_EQ(detail->recordCount(), 0);
    TMemTable copy(QStringLiteral("Kopie"));
    copy.copyFrom(*detail);
    EXPECT_EQ(copy.recordCount(), 3);
    EXPECT_EQ(copy.fieldCount(), detail->fieldCount());
    EXPECT_EQ(copy.fieldDef(2).size, 10);
    EXPECT_EQ(column(copy, 0), (QStringList{"1", "2", "3"})) << "auto-increment values are the source's";
    copy.append(); // numbering goes on after the source's
    EXPECT_EQ(copy.asInteger(0), 4);
    copy.cancel();

    detail->clearMasterSource();
    detail->setFilterText(QStringLiteral("ID = 2"));
    detail->setFiltered(true);
    copy.copyFrom(*detail);
    EXPECT_EQ(column(copy, 2), (QStringList{"c1"}));
    EXPECT_EQ(copy.isFiltered(), false);
    detail->setFiltered(false);
    EXPECT_EQ(copy.recordCount(), 1) << "the copy is independent";
}

TEST_F(MemTableLink, RecordReadsSeeEveryRecordAndTheEditBuffer)
{
    master->setRecNo(1); // B: nothing visible
    detail->setFilterText(QStringLiteral("ID = 2"));
    detail->setFiltered(true);
    QStringList all;
    for (int record = 0; record < detail->totalRecordCount(); ++record)
        all.append(detail->recordValue(record, 2).toText());
    EXPECT_EQ(all, (QStringList{"a1", "c1", "a2"}));
    EXPECT_EQ(detail->recordIsNull(1, 2), false);
    EXPECT_THROW(detail->recordValue(3, 2), Error);
    EXPECT_THROW(detail->recordValue(-1, 2), Error);

    detail->setFiltered(false);
    master->last(); // C: c1 is current
    detail->edit();
    detail->setText(2, QStringLiteral("c1*"));
    EXPECT_EQ(detail->recordDisplayText(1, 2, QLocale::c()), QStringLiteral("c1*"));
    detail->cancel();
    EXPECT_EQ(detail->recordDisplayText(1, 2, QLocale::c()), QStringLiteral("c1"));
}

TEST_F(MemTableLink, DestroyingTheMasterEndsTheLink)
{
    master->setRecNo(1); // B
    ASSERT_EQ(detail->recordCount(), 0);
    master.reset();
    EXPECT_EQ(detail->masterSource(), nullptr);
    EXPECT_EQ(detail->recordCount(), 3);
}

TEST_F(MemTableLink, CyclesAndMismatchedFieldListsAreRejected)
{
    EXPECT_THROW(master->setMasterSource(detail.get(), {QStringLiteral("Parent_ID")}, {QStringLiteral("ID")}), Error);
    EXPECT_THROW(detail->setMasterSource(master.get(), {QStringLiteral("ID")}, {}), Error);
    EXPECT_THROW(detail->setMasterSource(master.get(), {QStringLiteral("Nic")}, {QStringLiteral("Parent_ID")}), Error);
}

TEST_F(MemTableLink, EditsThatChangeTheKeyMoveRecordsBetweenMasters)
{
    master->first();
    ASSERT_EQ(detail->recordCount(), 2);
    detail->edit();
    detail->setInteger(1, 3); // a1 now belongs to C
    detail->post();
    EXPECT_EQ(column(*detail, 2), (QStringList{"a2"}));
    EXPECT_EQ(detail->recNo(), 0);
    master->last();
    EXPECT_EQ(column(*detail, 2), (QStringList{"a1", "c1"})) << "table order, not posting order";

    // Renumbering the master's current record re-selects the details.
    master->edit();
    master->setInteger(0, 1);
    master->post();
    EXPECT_EQ(column(*detail, 2), (QStringList{"a2"}));
}

TEST_F(MemTableLink, FilterAndLinkTogether)
{
    master->first();
    detail->setFilterText(QStringLiteral("ID = 3"));
    detail->setFiltered(true);
    EXPECT_EQ(column(*detail, 2), (QStringList{"a2"}));
    master->last();
    EXPECT_EQ(detail->recordCount(), 0);
    TMemTable copy;
    copy.copyFrom(*detail);
    EXPECT_EQ(column(copy, 2), (QStringList{"a2"}));
}

TEST(MemTableCopy, PendingAppendOfTheSourceIsNotCopied)
{
    auto source = journal();
    addRow(*source, 1, QStringLiteral("posted"));
    source->append();
    source->setText(2, QStringLiteral("pending"));
    TMemTable copy;
    copy.copyFrom(*source);
    EXPECT_EQ(column(copy, 2), (QStringList{"posted"}));
    EXPECT_EQ(source->state(), TMemTable::State::Insert) << "the source is left as it was";
}

TEST(MemTableFields, RedefinedTableUsesTheNewPositions)
{
    auto t = journal();
    addRow(*t, 7, QStringLiteral("x"));
    ASSERT_EQ(t->locate(QStringLiteral("Popis"), Variant(u"x")), true);
    t->close();
    t->clearFields();
    t->addField(QStringLiteral("Popis"), FieldType::Text, 5);
    t->addField(QStringLiteral("Parent_ID"), FieldType::Integer);
    t->createTable();
    t->append();
    t->setText(0, QStringLiteral("y"));
    t->setInteger(1, 8);
    t->post();
    EXPECT_EQ(t->locate(QStringLiteral("Popis"), Variant(u"y")), true);
    EXPECT_EQ(t->locate(QStringLiteral("Popis"), Variant(u"x")), false);
    EXPECT_THROW(t->asText(QStringLiteral("Col5")), Error);
}

TEST(MemTableSort, StableAscendingWithEmptyFirst)
{
    auto t = journal();
    addRow(*t, 2, QStringLiteral("beta"));
    addRow(*t, 1, QStringLiteral("Alfa"));
    addRow(*t, 2, QStringLiteral("alfa"));
    addRow(*t, 1, QStringLiteral("čtyři"));
    t->append();
    t->post(); // all empty
    t->sortBy({QStringLiteral("Parent_ID")});
    EXPECT_EQ(column(*t, 2), (QStringList{"", "Alfa", "čtyři", "beta", "alfa"}));
    t->sortBy({QStringLiteral("Popis")});
    EXPECT_EQ(column(*t, 2), (QStringList{"", "Alfa", "alfa", "beta", "čtyři"}));
    addRow(*t, 0, QStringLiteral("aaa"));
    EXPECT_EQ(column(*t, 2).last(), QStringLiteral("aaa")) << "later appends go to the end";
}

TEST(MemTableWide, MoreThanSixtyFourFields)
{
    TMemTable t(QStringLiteral("Wide"));
    for (int i = 0; i < 150; ++i)
        t.addField(QStringLiteral("F%1").arg(i), i % 3 == 0 ? FieldType::Text : FieldType::Currency, 20);
    t.createTable();
    t.append();
    for (int i = 0; i < 150; i += 7)
        t.setValue(i, i % 3 == 0 ? Variant(QStringLiteral("t%1").arg(i)) : Variant(Currency::fromInt(i)));
    t.post();
    for (int i = 0; i < 150; ++i) {
        if (i % 7 != 0) {
            EXPECT_EQ(t.isNull(i), true) << i;
            continue;
        }
        EXPECT_EQ(t.asVariant(i), i % 3 == 0 ? Variant(QStringLiteral("t%1").arg(i)) : Variant(Currency::fromInt(i))) << i;
    }
}

struct Recorder : TMemTableListener {
    QStringList events;
    void tableAboutToReset(TMemTable &) override { events << "aboutToReset"; }
    void tableReset(TMemTable &) override { events << "reset"; }
    void recordsAboutToBeInserted(TMemTable &, int row, int n) override { events << QStringLiteral("aboutToInsert %1 %2").arg(row).arg(n); }
    void recordsInserted(TMemTable &, int row, int n) override { events << QStringLiteral("inserted %1 %2").arg(row).arg(n); }
    void recordsAboutToBeRemoved(TMemTable &, int row, int n) override { events << QStringLiteral("aboutToRemove %1 %2").arg(row).arg(n); }
    void recordsRemoved(TMemTable &, int row, int n) override { events << QStringLiteral("removed %1 %2").arg(row).arg(n); }
    void recordChanged(TMemTable &, int row) override { events << QStringLiteral("changed %1").arg(row); }
    void cursorMoved(TMemTable &, int row) override { events << QStringLiteral("cursor %1").arg(row); }
    void tableDestroyed(TMemTable &) override { events << "destroyed"; }
};

TEST(MemTableListener, ViewsHearAboutDataAndCursor)
{
    auto t = journal();
    Recorder r;
    t->addListener(&r);
    t->append();
    t->setInteger(1, 5);
    t->post();
    t->append();
    t->post();
    EXPECT_EQ(r.events, (QStringList{"aboutToInsert 0 1", "inserted 0 1", "cursor 0", "changed 0", "changed 0",
                                     "aboutToInsert 1 1", "inserted 1 1", "cursor 1", "changed 1"}));
    r.events.clear();
    t->first();
    t->deleteRecord();
    EXPECT_EQ(r.events, (QStringList{"cursor 0", "aboutToRemove 0 1", "removed 0 1", "cursor 0"}));
    r.events.clear();
    t->sortBy({QStringLiteral("ID")});
    EXPECT_EQ(r.events, (QStringList{"aboutToReset", "reset", "cursor 0"}));
    r.events.clear();
    t.reset();
    EXPECT_EQ(r.events, (QStringList{"destroyed"}));
}

TEST(MemTableListener, DetailViewsHearMasterMoves)
{
    TMemTable master(QStringLiteral("M"));
    master.addField(QStringLiteral("ID"), FieldType::AutoInc);
    master.createTable();
    master.append();
    master.append();
    master.post();
    auto detail = journal();
    addRow(*detail, 1, QStringLiteral("x"));
    detail->setMasterSource(&master, {QStringLiteral("ID")}, {QStringLiteral("Parent_ID")});
    Recorder r;
    detail->addListener(&r);
    master.first();
    EXPECT_EQ(r.events, (QStringList{"aboutToReset", "reset", "cursor 0"}));
    EXPECT_EQ(detail->recordCount(), 1);
    detail->removeListener(&r);
    r.events.clear();
    detail.reset();
    EXPECT_EQ(r.events, QStringList()) << "a removed listener hears nothing";
}

} // namespace

namespace {

// The few-fields read gives what the whole-row read gives for those fields,
// in the order asked, for set and empty fields, texts, and the record being
// edited (whose values are the edit buffer's).
TEST(MemTableRawRead, AFewFieldsAsTheWholeRowHasThem)
{
    auto t = journal();
    addRow(*t, 7, QStringLiteral("Nájem"), 123456);
    addRow(*t, 8, QString());
    const int fields[] = {4, 2, 1, 5};
    const TMemTable::FieldReader reader(*t, {4, 2, 1, 5});
    for (int record = 0; record < 2; ++record) {
        std::vector<TMemTable::RawValue> whole(size_t(t->fieldCount()));
        t->recordRawValues(record, whole.data());
        TMemTable::RawValue few[4];
        reader.read(record, few);
        for (int i = 0; i < 4; ++i) {
            const TMemTable::RawValue &expected = whole[size_t(fields[i])];
            EXPECT_EQ(few[i].null, expected.null) << record << " field " << fields[i];
            if (!expected.null) {
                EXPECT_EQ(few[i].slot, expected.slot) << record << " field " << fields[i];
                EXPECT_EQ(few[i].text.toString(), expected.text.toString()) << record << " field " << fields[i];
            }
        }
    }
    t->first();
    t->edit();
    t->setText(2, QStringLiteral("Záloha"));
    TMemTable::RawValue few[4];
    reader.read(0, few);
    EXPECT_EQ(few[1].text.toString(), QStringLiteral("Záloha"));
    t->cancel();
    EXPECT_THROW(TMemTable::FieldReader(*t, {1, 99}), Error);
    EXPECT_THROW(reader.read(5, few), Error);
}

} // namespace
