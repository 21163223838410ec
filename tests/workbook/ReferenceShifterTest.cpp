// The reference shifter, case by case: one row per token and change.

#include "workbook/Formula.h"

#include <gtest/gtest.h>

using namespace kasovka;

namespace {

constexpr uint16_t kRel = 0xC000; // row and column relative

QByteArray u16(int v)
{
    return QByteArray(1, char(v & 0xFF)) + QByteArray(1, char((v >> 8) & 0xFF));
}

QByteArray ref(int row, int col, uint16_t flags = kRel, uint8_t id = 0x24)
{
    return QByteArray(1, char(id)) + u16(row) + u16(flags | col);
}

QByteArray area(int r1, int r2, int col, uint16_t flags = kRel, uint8_t id = 0x25)
{
    return QByteArray(1, char(id)) + u16(r1) + u16(r2) + u16(flags | col) + u16(flags | col);
}

QByteArray ref3d(int ixti, int row, int col, uint16_t flags = kRel)
{
    return QByteArray(1, char(0x3A)) + u16(ixti) + u16(row) + u16(flags | col);
}

QByteArray area3d(int ixti, int r1, int r2, int col, uint8_t id = 0x3B)
{
    return QByteArray(1, char(id)) + u16(ixti) + u16(r1) + u16(r2) + u16(kRel | col) + u16(kRel | col);
}

// EXTERNSHEET index 0 is sheet 0, index 1 sheet 1, index 2 sheets 0 to 2.
SheetSpan covers(int ixti, int sheet)
{
    if (ixti == 2)
        return sheet <= 2 ? SheetSpan::Mixed : SheetSpan::Outside;
    return ixti == sheet ? SheetSpan::Only : SheetSpan::Outside;
}

struct Row {
    const char *what;
    RowShift shift;
    bool onChangedSheet;
    QByteArray before;
    QByteArray after;
};

class ShiftTest : public ::testing::TestWithParam<Row> {};

TEST_P(ShiftTest, MovesReferences)
{
    const Row &row = GetParam();
    QByteArray tokens = row.before;
    ReferenceShifter(row.shift, covers).apply(tokens, row.onChangedSheet);
    EXPECT_EQ(tokens.toHex().toStdString(), row.after.toHex().toStdString()) << row.what;
}

const auto ins = RowShift::insertRows;
const auto del = RowShift::deleteRows;
const auto copy = RowShift::copyBy;

INSTANTIATE_TEST_SUITE_P(Insert, ShiftTest, ::testing::Values(
    Row{"above the insertion point stays", ins(0, 5, 6), true, ref(4, 1), ref(4, 1)},
    Row{"at the insertion point moves", ins(0, 5, 6), true, ref(5, 1), ref(11, 1)},
    Row{"absolute rows move too", ins(0, 5, 6), true, ref(7, 1, 0), ref(13, 1, 0)},
    Row{"beyond the last row stays on it", ins(0, 100, 10), true, ref(65530, 0), ref(65535, 0)},
    Row{"area ending above stays", ins(0, 5, 6), true, area(2, 4, 1), area(2, 4, 1)},
    Row{"area spanning the point grows", ins(0, 5, 6), true, area(2, 6, 1), area(2, 12, 1)},
    Row{"whole column stays", ins(0, 5, 6), true, area(0, 65535, 1), area(0, 65535, 1)},
    Row{"other sheet untouched", ins(0, 5, 6), false, ref(7, 1), ref(7, 1)},
    Row{"3-D to changed sheet moves", ins(1, 5, 6), false, ref3d(1, 9, 1), ref3d(1, 15, 1)},
    Row{"3-D to other sheet stays", ins(1, 5, 6), true, ref3d(0, 9, 1), ref3d(0, 9, 1)},
    Row{"3-D over several sheets stays", ins(1, 5, 6), false, ref3d(2, 9, 1), ref3d(2, 9, 1)},
    Row{"3-D area over several sheets grows inside", ins(1, 5, 6), false, area3d(2, 2, 6, 1),
        area3d(2, 2, 12, 1)},
    Row{"3-D area over several sheets from the point stays", ins(1, 5, 6), false,
        area3d(2, 5, 8, 1), area3d(2, 5, 8, 1)},
    Row{"value class keeps class", ins(0, 5, 1), true, ref(5, 1, kRel, 0x44), ref(6, 1, kRel, 0x44)}));

INSTANTIATE_TEST_SUITE_P(Delete, ShiftTest, ::testing::Values(
    Row{"deleted row becomes an error", del(0, 9, 1), true, ref(9, 1), ref(9, 1, kRel, 0x2A)},
    Row{"error keeps the operand class", del(0, 9, 1), true, ref(9, 1, kRel, 0x44), ref(9, 1, kRel, 0x4A)},
    Row{"below moves up", del(0, 9, 1), true, ref(10, 1), ref(9, 1)},
    Row{"above stays", del(0, 9, 1), true, ref(8, 1), ref(8, 1)},
    Row{"area wholly deleted is an error", del(0, 9, 2), true, area(9, 10, 1), area(9, 10, 1, kRel, 0x2B)},
    Row{"area around the rows shrinks", del(0, 9, 2), true, area(5, 12, 1), area(5, 10, 1)},
    Row{"area losing its top", del(0, 9, 2), true, area(10, 12, 1), area(9, 10, 1)},
    Row{"area losing its bottom", del(0, 9, 2), true, area(5, 9, 1), area(5, 8, 1)},
    Row{"3-D deleted row is an error", del(1, 9, 1), false, ref3d(1, 9, 1),
        QByteArray(1, char(0x3C)) + ref3d(1, 9, 1).mid(1)},
    Row{"3-D over several sheets: deleted row is an error", del(1, 9, 1), false, ref3d(2, 9, 1),
        QByteArray(1, char(0x3C)) + ref3d(2, 9, 1).mid(1)},
    Row{"3-D over several sheets below stays", del(1, 9, 1), false, ref3d(2, 10, 1), ref3d(2, 10, 1)},
    Row{"3-D area over several sheets shrinks", del(1, 9, 2), false, area3d(2, 5, 12, 1),
        area3d(2, 5, 10, 1)},
    Row{"3-D area over several sheets below stays", del(1, 9, 2), false, area3d(2, 11, 12, 1),
        area3d(2, 11, 12, 1)}));

INSTANTIATE_TEST_SUITE_P(Copy, ShiftTest, ::testing::Values(
    Row{"relative row follows the copy", copy(3), false, ref(3, 1), ref(6, 1)},
    Row{"absolute row stays", copy(3), false, ref(3, 1, 0x4000), ref(3, 1, 0x4000)},
    Row{"absolute area stays", copy(6), false, area(2, 4, 1, 0), area(2, 4, 1, 0)},
    Row{"relative area follows", copy(6), false, area(2, 4, 1), area(8, 10, 1)},
    Row{"moved above row 1 is an error", copy(-5), false, ref(2, 1), ref(2, 1, kRel, 0x2A)},
    Row{"3-D relative follows", copy(2), false, ref3d(0, 1, 1), ref3d(0, 3, 1)}));

TEST(ShiftWalk, StepsOverEveryTokenKind)
{
    // 1 + "ab" & CHOOSE-jump-table, then a reference that must still move.
    QByteArray tokens;
    tokens += QByteArray::fromHex("1e0100");           // ptgInt 1
    tokens += QByteArray::fromHex("1702006162");         // ptgStr "ab" (compressed)
    tokens += QByteArray::fromHex("19040200040006000800"); // ptgAttr choose, 2 + 1 offsets
    tokens += QByteArray::fromHex("1f000000000000f03f"); // ptgNum 1.0
    tokens += ref(7, 2);
    ReferenceShifter(ins(0, 5, 1), covers).apply(tokens, true);
    EXPECT_EQ(tokens.right(5).toHex().toStdString(), ref(8, 2).toHex().toStdString());
}

TEST(ShiftWalk, UnknownTokenNamesItsId)
{
    QByteArray tokens = ref(1, 1) + QByteArray::fromHex("18ff");
    try {
        ReferenceShifter(ins(0, 0, 1), covers).apply(tokens, true);
        FAIL() << "expected UnsupportedToken";
    } catch (const UnsupportedToken &t) {
        EXPECT_EQ(t.id, 0x18);
    }
}

TEST(ShiftWalk, TruncatedTokenIsUnsupported)
{
    QByteArray tokens = ref(1, 1).left(3);
    EXPECT_THROW(ReferenceShifter(ins(0, 0, 1), covers).apply(tokens, true), UnsupportedToken);
}

TEST(SharedFormula, RelativeOffsetsBecomeCellReferences)
{
    // PtgRefN: one row up (-1), same column (0), both relative; PtgAreaN
    // from row offset 0 to +2 with an absolute column 3.
    QByteArray shared = QByteArray(1, char(0x2C)) + u16(0xFFFF) + u16(kRel | 0x00);
    shared += QByteArray(1, char(0x2D)) + u16(0) + u16(2) + u16(0x8000 | 3) + u16(0x8000 | 3);
    const QByteArray cell = expandSharedFormula(shared, 10, 4);
    const QByteArray expected = ref(9, 4) + area(10, 12, 3, 0x8000);
    EXPECT_EQ(cell.toHex().toStdString(), expected.toHex().toStdString());
}

} // namespace
