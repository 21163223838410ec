// The .xlsx side of the workbook model: the row limit a workbook written as
// .xlsx lifts, and what the writer refuses. What reaches the file is read
// back by check_xlsx_features.py; formula texts are tested with the
// workbook layer.

#include "workbook/TWorkbook.h"
#include "xlsx/XlsxWriter.h"

#include "workbook/WorkbookTestSupport.h"

#include <QFileInfo>

using namespace kasovka;
using namespace kasovka::test;

// The template: B3:B5 hold 1..3, C4 =B4*2, B8 =B10 (see ../workbook/data).
class RowLimit : public WorkbookFixture {};

TEST_F(RowLimit, BiffKeepsItsChecksUntilLifted)
{
    EXPECT_EQ(errorOf([&] { m_book.insertAndCopyRows(3, 3, 4, 70000, false); }),
              QStringLiteral("Ivalid arguments to call InsertAndCopyRows"));
    EXPECT_EQ(errorOf([&] { m_book.setCell(65537, 1, 1.0); }), QStringLiteral("Invalid Row (65537)"));

    m_book.setRowLimit(kMaxSheetRows);
    m_book.insertAndCopyRows(3, 3, 4, 70000, false);
    EXPECT_EQ(m_book.cell(70003, 2).value.toDouble(), 1.0);
    m_book.setCell(kMaxSheetRows, 1, QStringLiteral("poslední"));
    EXPECT_EQ(errorOf([&] { m_book.setCell(kMaxSheetRows + 1, 1, 1.0); }),
              QStringLiteral("Invalid Row (1048577)"));
    // Such a workbook has no place in the Excel 97-2003 format.
    EXPECT_EQ(errorOf([&] { m_book.save(scratch(QStringLiteral("velky.xls"))); }),
              QStringLiteral("Invalid Row (1048576)"));
    EXPECT_FALSE(QFileInfo::exists(scratch(QStringLiteral("velky.xls"))));
}

TEST_F(RowLimit, WriterRefusesWhatItCannotWriteAndLeavesNothing)
{
    const QString target = scratch(QStringLiteral("vystup.xlsx"));
    TXlsxWriter::save(*m_book.workbook(), target);
    EXPECT_EQ(errorOf([&] { TXlsxWriter::save(*m_book.workbook(), target); }),
              QStringLiteral("Soubor %1 již existuje.").arg(target));

    // Copies of row 4's formula past row 65536 lost their reference; the
    // first one that reaches BIFF8's last row is refused.
    m_book.setRowLimit(kMaxSheetRows);
    m_book.insertAndCopyRows(3, 3, 4, 65500, false);
    m_book.insertAndCopyRows(65504, 65504, 65505, 100, true);
    const QString big = scratch(QStringLiteral("velky.xlsx"));
    EXPECT_TRUE(errorOf([&] { TXlsxWriter::save(*m_book.workbook(), big); })
                    .startsWith(QStringLiteral("Vzorec v buňce C65536 listu \"Data\" by odkazoval za řádek 65536")));
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("vystup.xlsx")});
}

TEST_F(RowLimit, StoppedWritingLeavesNothing)
{
    m_book.setRowLimit(kMaxSheetRows);
    m_book.insertAndCopyRows(3, 3, 4, 20000, false);
    const QString target = scratch(QStringLiteral("vystup.xlsx"));
    int calls = 0;
    EXPECT_EQ(errorOf([&] {
                  TXlsxWriter::save(*m_book.workbook(), target, [&](qint64 done, qint64 total) {
                      EXPECT_LE(done, total);
                      if (++calls == 2)
                          throw Error(QStringLiteral("přerušeno"));
                  });
              }),
              QStringLiteral("přerušeno"));
    EXPECT_TRUE(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}
