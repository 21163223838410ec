// Row insertion, copying and deletion on a template written by another
// program, read back after saving.

#include "WorkbookTestSupport.h"

using namespace kasovka;
using namespace kasovka::test;

namespace {

// The template (see data/template.fods): B3:B5 hold 1..3, C4 =B4*2,
// D4 =$B$4*2, B7 =SUM(B3:B5), B8 =B10, C8 =B11+1, B10 and B11 numbers,
// A14:B14 merged, a comment on A4; sheet Other refers to Data!B4,
// Data!B11 and SUM(Data!B3:B5); the name __Table1__ covers Data!A3:D5.
class Rows : public WorkbookFixture {
protected:
    QString formula(TXLSFile &book, int row, int col)
    {
        const XlsCell c = book.cell(row, col);
        EXPECT_EQ(c.kind, XlsCellKind::Formula) << "row " << row << " column " << col;
        return c.formula;
    }
};

TEST_F(Rows, CopiedBlockMovesRelativeReferencesOnly)
{
    m_book.insertAndCopyRows(3, 5, 6, 2, true);
    TXLSFile &out = saveAndReopen();
    EXPECT_EQ(formula(out, 7, 3), QStringLiteral("B7*2"));
    EXPECT_EQ(formula(out, 10, 3), QStringLiteral("B10*2"));
    EXPECT_EQ(formula(out, 7, 4), QStringLiteral("$B$4*2"));
    EXPECT_EQ(formula(out, 4, 3), QStringLiteral("B4*2"));
}

TEST_F(Rows, ReferencesAroundTheInsertionPoint)
{
    m_book.insertAndCopyRows(3, 5, 6, 2, true);
    TXLSFile &out = saveAndReopen();
    EXPECT_EQ(formula(out, 13, 2), QStringLiteral("SUM(B3:B5)")); // ends before row 6
    EXPECT_EQ(formula(out, 14, 2), QStringLiteral("B16"));        // moved down by 6
    EXPECT_EQ(formula(out, 14, 3), QStringLiteral("B17+1"));
    EXPECT_EQ(out.cell(16, 2).value.toDouble(), 10.0);
    out.setActiveSheet(2);
    EXPECT_EQ(formula(out, 1, 1), QStringLiteral("Data!B4"));
    EXPECT_EQ(formula(out, 1, 2), QStringLiteral("Data!B17"));
    EXPECT_EQ(formula(out, 1, 3), QStringLiteral("SUM(Data!B3:B5)"));
}

TEST_F(Rows, FormulasOnlyLeavesOtherCellsOut)
{
    m_book.insertAndCopyRows(3, 5, 6, 1, true);
    EXPECT_EQ(m_book.cell(6, 1).kind, XlsCellKind::None);
    EXPECT_EQ(m_book.cell(7, 3).kind, XlsCellKind::Formula);
    TXLSFile other;
    other.open(fixture(QStringLiteral("template.xls")));
    other.insertAndCopyRows(3, 5, 6, 1, false);
    EXPECT_EQ(other.cell(6, 1).value.toString(), QStringLiteral("a"));
    EXPECT_EQ(other.cell(7, 2).value.toDouble(), 2.0);
}

TEST_F(Rows, MergedAreasCommentsAndNamesFollow)
{
    m_book.insertAndCopyRows(3, 5, 6, 2, true);
    TXLSFile &out = saveAndReopen();
    EXPECT_EQ(out.cell(20, 1).value.toString(), QStringLiteral("Sloučeno"));
    const XlsDefinedName name = out.namedRange(0);
    EXPECT_EQ(name.name, QStringLiteral("__Table1__"));
    EXPECT_EQ(name.firstRow, 3);
    EXPECT_EQ(name.lastRow, 5);
    EXPECT_EQ(out.commentCount(4), 1);
    EXPECT_EQ(out.commentCount(7), 1);
    EXPECT_EQ(out.commentCount(10), 1);
    EXPECT_EQ(out.commentText(10, 0), QStringLiteral("Poznámka"));
}

TEST_F(Rows, InsertingAboveANameMovesIt)
{
    m_book.insertAndCopyRows(1, 1, 2, 1, false);
    TXLSFile &out = saveAndReopen();
    const XlsDefinedName name = out.namedRange(0);
    EXPECT_EQ(name.firstRow, 4);
    EXPECT_EQ(name.lastRow, 6);
    EXPECT_EQ(name.firstColumn, 1);
    EXPECT_EQ(name.lastColumn, 4);
    EXPECT_EQ(out.commentCount(5), 1);
}

TEST_F(Rows, DeletingARowBreaksReferencesToIt)
{
    m_book.deleteRows(10, 1);
    TXLSFile &out = saveAndReopen();
    EXPECT_EQ(formula(out, 8, 2), QStringLiteral("#REF!"));
    EXPECT_EQ(formula(out, 8, 3), QStringLiteral("B10+1"));
    EXPECT_EQ(out.cell(10, 2).value.toDouble(), 11.0);
    EXPECT_EQ(out.cell(13, 1).value.toString(), QStringLiteral("Sloučeno"));
    out.setActiveSheet(2);
    EXPECT_EQ(formula(out, 1, 2), QStringLiteral("Data!B10"));
}

TEST_F(Rows, DeletingRowsRemovesTheirComments)
{
    m_book.deleteRows(3, 3);
    TXLSFile &out = saveAndReopen();
    EXPECT_EQ(out.comments().size(), 0);
    EXPECT_EQ(formula(out, 4, 2), QStringLiteral("SUM(#REF!)"));
    EXPECT_EQ(out.namedRange(0).isArea, false);
}

TEST_F(Rows, InvalidArgumentsAreRefused)
{
    const QString bad = QStringLiteral("Ivalid arguments to call InsertAndCopyRows");
    struct Case {
        int first, last, dest, count;
    };
    for (const Case c : {Case{5, 3, 6, 1}, Case{0, 3, 6, 1}, Case{3, 65537, 6, 1},
                         Case{3, 5, 4, 1}, Case{3, 5, 0, 1}, Case{3, 5, 6, 21845},
                         Case{3, 5, 6, -1}})
        EXPECT_EQ(errorOf([&] { m_book.insertAndCopyRows(c.first, c.last, c.dest, c.count, true); }),
                  bad)
            << c.first << " " << c.last << " " << c.dest << " " << c.count;
    // The destination may be the block's own first row.
    EXPECT_EQ(errorOf([&] { m_book.insertAndCopyRows(3, 5, 3, 1, true); }), QString());
    EXPECT_EQ(m_book.cell(7, 3).formula, QStringLiteral("B7*2"));
    EXPECT_EQ(m_book.cell(4, 3).formula, QStringLiteral("B4*2"));
}

TEST_F(Rows, RowsPushedPastTheLastRowAreRefused)
{
    m_book.setCell(65530, 1, 5.0);
    EXPECT_EQ(errorOf([&] { m_book.insertAndCopyRows(3, 5, 6, 100, true); }),
              QStringLiteral("Invalid Row (65830)"));
}

// Sheet1 sums Sheet1:Sheet3!A1 (and areas, absolute rows): a row inserted
// on Sheet2 alone leaves them in place.
TEST(ThreeD, ReferencesOverSeveralSheetsStayWhenOneChanges)
{
    KASOVKA_NEEDS_SHARED_FILE(corpus(QString()));
    TXLSFile book;
    book.open(corpus(QStringLiteral("poi_55906-MultiSheetRefs.xls")));
    auto formulas = [&book] {
        book.setActiveSheet(1);
        QStringList out;
        for (const auto &e : book.cells())
            if (e.cell.kind == XlsCellKind::Formula)
                out.append(e.cell.formula);
        return out;
    };
    const QStringList before = formulas();
    ASSERT_TRUE(before.contains(QStringLiteral("SUM(Sheet1:Sheet3!A1)")));
    book.setActiveSheet(2);
    book.insertAndCopyRows(1, 1, 1, 1, false);
    EXPECT_EQ(formulas(), before);
}

TEST_F(Rows, ManyCopiesInOneOperation)
{
    m_book.insertAndCopyRows(4, 4, 5, 20000, false);
    TXLSFile &out = saveAndReopen();
    EXPECT_EQ(formula(out, 20004, 3), QStringLiteral("B20004*2"));
    EXPECT_EQ(out.cell(20004, 1).value.toString(), QStringLiteral("b"));
    EXPECT_EQ(formula(out, 20007, 2), QStringLiteral("SUM(B3:B20005)"));
    EXPECT_EQ(out.commentCount(20004), 1);
}

} // namespace
