// Cells, page breaks, comments, opening and saving through the workbook
// object.

#include "WorkbookTestSupport.h"

#include <QDate>
#include <QFile>
#include <array>
#include <cmath>
#include <map>

using namespace kasovka;
using namespace kasovka::test;

namespace {

using Cells = WorkbookFixture;

TEST_F(Cells, ValuesSurviveSavingExactly)
{
    struct Case {
        QVariant value;
        XlsCellKind kind;
    };
    const std::vector<Case> cases = {
        {QVariant(0.001), XlsCellKind::Number},    // not an RK number: stored in full
        {QVariant(1.25), XlsCellKind::Number},     // RK, scaled by 100
        {QVariant(-536870912), XlsCellKind::Number},
        {QVariant(qlonglong(1) << 40), XlsCellKind::Number},
        {QVariant(1e-300), XlsCellKind::Number},
        {QVariant(true), XlsCellKind::Bool},
        {QVariant(QStringLiteral("Žluťoučký kůň")), XlsCellKind::Text},
    };
    for (size_t i = 0; i < cases.size(); ++i)
        m_book.setCell(20 + int(i), 3, cases[i].value, 15);
    TXLSFile &out = saveAndReopen();
    for (size_t i = 0; i < cases.size(); ++i) {
        const XlsCell c = out.cell(20 + int(i), 3);
        EXPECT_EQ(c.kind, cases[i].kind) << i;
        EXPECT_EQ(c.value, cases[i].value.typeId() == QMetaType::QString ? cases[i].value
                           : cases[i].kind == XlsCellKind::Bool ? cases[i].value
                                                                : QVariant(cases[i].value.toDouble()))
            << i;
        EXPECT_EQ(c.format, 15) << i;
    }
}

TEST_F(Cells, FormatMinusOneKeepsTheCellsFormat)
{
    const int before = m_book.cell(3, 2).format;
    m_book.setCell(3, 2, 42.0, -1);
    EXPECT_EQ(m_book.cell(3, 2).format, before);
    EXPECT_EQ(m_book.cell(3, 2).value.toDouble(), 42.0);
    m_book.setCell(3, 2, 43.0, 16);
    EXPECT_EQ(m_book.cell(3, 2).format, 16);
}

TEST_F(Cells, BlankWithTheDefaultFormatRemovesTheCell)
{
    m_book.setCell(3, 2, QVariant(), 15);
    EXPECT_EQ(m_book.cell(3, 2).kind, XlsCellKind::None);
    EXPECT_EQ(m_book.cell(3, 2).format, -1);
    m_book.setCell(4, 2, QString(), 16); // an empty text counts as empty
    EXPECT_EQ(m_book.cell(4, 2).kind, XlsCellKind::Blank);
    EXPECT_EQ(m_book.cell(4, 2).format, 16);
    TXLSFile &out = saveAndReopen();
    EXPECT_EQ(out.cell(3, 2).kind, XlsCellKind::None);
    EXPECT_EQ(out.cell(4, 2).kind, XlsCellKind::Blank);
}

TEST_F(Cells, DatesAreStoredAsText)
{
    m_book.setCell(30, 1, QDate(2026, 3, 1));
    EXPECT_EQ(m_book.cell(30, 1).kind, XlsCellKind::Text);
    EXPECT_EQ(m_book.cell(30, 1).value.toString(), QDate(2026, 3, 1).toString(Qt::ISODate));
}

TEST_F(Cells, OutOfRangePositionsAreRefused)
{
    EXPECT_EQ(errorOf([&] { m_book.setCell(0, 1, 1.0); }), QStringLiteral("Invalid Row (0)"));
    EXPECT_EQ(errorOf([&] { m_book.setCell(65537, 1, 1.0); }), QStringLiteral("Invalid Row (65537)"));
    EXPECT_EQ(errorOf([&] { m_book.setCell(1, 257, 1.0); }), QStringLiteral("Invalid Column (257)"));
    EXPECT_EQ(errorOf([&] { m_book.cell(1, 0); }), QStringLiteral("Invalid Column (0)"));
    EXPECT_EQ(errorOf([&] { m_book.setActiveSheet(3); }),
              QStringLiteral("Sheet number \"3\" invalid. Must be between 1 and 2"));
    EXPECT_EQ(errorOf([&] { m_book.setCell(1, 1, QString(32768, QLatin1Char('x'))); }),
              QStringLiteral("String too large"));
    EXPECT_EQ(errorOf([&] { m_book.setCell(65536, 256, 1.0); }), QString());
}

TEST_F(Cells, PageBreaksAreKeptOnceAndLimited)
{
    m_book.addPageBreak(10);
    m_book.addPageBreak(10);
    m_book.addPageBreak(5);
    EXPECT_EQ(m_book.pageBreaks(), (QList<int>{5, 10}));
    for (int row = 100; m_book.pageBreaks().size() < 1026; ++row)
        m_book.addPageBreak(row);
    EXPECT_EQ(errorOf([&] { m_book.addPageBreak(50); }),
              QStringLiteral("Too many manual Page breaks for this sheet"));
    TXLSFile &out = saveAndReopen();
    EXPECT_EQ(out.pageBreaks().size(), 1026);
    EXPECT_EQ(out.pageBreaks().front(), 5);
}

TEST_F(Cells, PageBreaksMoveWithRows)
{
    m_book.addPageBreak(10);
    m_book.insertAndCopyRows(3, 5, 6, 1, true);
    EXPECT_EQ(m_book.pageBreaks(), (QList<int>{13}));
    m_book.deleteRows(13, 1);
    EXPECT_EQ(m_book.pageBreaks(), (QList<int>{}));
}

// FmtTest's second sheet: row breaks at row 5 over columns 1..9 and 11..16
// and at row 11 over 1..5; column breaks at 3, 4 and 6 over rows 1..31,
// 1..30 and 1..31.
TEST(PageBreaks, PartialBreaksSurviveAndFollowRows)
{
    KASOVKA_NEEDS_SHARED_FILE(corpus(QString()));
    using Breaks = std::vector<std::array<int, 3>>;
    auto list = [](const QList<XlsPageBreak> &breaks) {
        Breaks out;
        for (const auto &b : breaks)
            out.push_back({b.at, b.first, b.last});
        return out;
    };
    auto breakRecords = [](const QString &path) {
        std::vector<QByteArray> out;
        for (const auto &r : workbookRecords(path))
            if (r.id == detail::rid::HorizontalBreaks || r.id == detail::rid::VerticalBreaks)
                out.push_back(r.data);
        return out;
    };
    QTemporaryDir dir;
    const QString source = corpus(QStringLiteral("parseexcel_FmtTest.xls"));
    TXLSFile book;
    book.open(source);
    book.setActiveSheet(2);
    const QString same = dir.filePath(QStringLiteral("same.xls"));
    book.save(same);
    EXPECT_EQ(breakRecords(same), breakRecords(source));

    book.insertAndCopyRows(2, 2, 3, 2, false); // two rows at row 3
    book.deleteRows(6, 3);                     // rows 6..8, the first break's row among them
    const QString edited = dir.filePath(QStringLiteral("edited.xls"));
    book.save(edited);
    TXLSFile out;
    out.open(edited);
    out.setActiveSheet(2);
    EXPECT_EQ(list(out.rowPageBreaks()), (Breaks{{10, 1, 5}}));
    EXPECT_EQ(list(out.columnPageBreaks()), (Breaks{{3, 1, 30}, {4, 1, 29}, {6, 1, 30}}));
}

TEST_F(Cells, RunsOfBlanksAndRkNumbersShareRecords)
{
    struct Case {
        int column;
        QVariant value;
        int format;
    };
    const std::vector<Case> cases = {
        {1, QVariant(), 16}, {2, QVariant(), 17}, {3, QVariant(), 16}, // one MULBLANK
        {4, 1.5, 16}, {5, -7, 17}, {6, 123456.78, 16},                  // one MULRK
        {7, 0.001, 16},                                                // a NUMBER ends the run
        {8, 2.0, 16},                                                  // a lone RK
        {10, QVariant(), 16},                                          // a lone BLANK
    };
    for (const Case &c : cases)
        m_book.setCell(40, c.column, c.value, c.format);
    TXLSFile &out = saveAndReopen();
    for (const Case &c : cases) {
        const XlsCell cell = out.cell(40, c.column);
        EXPECT_EQ(cell.kind, c.value.isNull() ? XlsCellKind::Blank : XlsCellKind::Number) << c.column;
        EXPECT_EQ(cell.value.toDouble(), c.value.toDouble()) << c.column;
        EXPECT_EQ(cell.format, c.format) << c.column;
    }
    std::map<uint16_t, int> kinds;
    for (const auto &r : workbookRecords(m_saved))
        if (r.data.size() >= 2 && uint8_t(r.data[0]) == 39 && r.data[1] == 0)
            ++kinds[r.id];
    EXPECT_EQ(kinds[detail::rid::MulBlank], 1);
    EXPECT_EQ(kinds[detail::rid::MulRk], 1);
    EXPECT_EQ(kinds[detail::rid::Number], 1);
    EXPECT_EQ(kinds[detail::rid::Rk], 1);
    EXPECT_EQ(kinds[detail::rid::Blank], 1);
}

TEST_F(Cells, CommentTextIsReplacedAndRemoved)
{
    ASSERT_EQ(m_book.commentCount(4), 1);
    EXPECT_EQ(m_book.commentText(4, 0), QStringLiteral("Poznámka"));
    m_book.setCommentText(4, 0, QStringLiteral("Nový text, delší než původní"));
    TXLSFile &out = saveAndReopen();
    EXPECT_EQ(out.commentText(4, 0), QStringLiteral("Nový text, delší než původní"));
    out.setCommentText(4, 0, QString());
    EXPECT_EQ(out.commentCount(4), 0);
    const QString path = scratch(QStringLiteral("removed.xls"));
    out.save(path);
    TXLSFile again;
    again.open(path);
    EXPECT_EQ(again.comments().size(), 0);
}

TEST_F(Cells, SelectFirstSheetMakesItActive)
{
    m_book.setActiveSheet(2);
    m_book.selectFirstSheet();
    EXPECT_EQ(m_book.activeSheet(), 1);
    TXLSFile &out = saveAndReopen();
    EXPECT_EQ(out.activeSheet(), 1);
}

TEST_F(Cells, SavingOverAnExistingFileIsRefused)
{
    const QString path = scratch(QStringLiteral("exists.xls"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("keep");
    f.close();
    EXPECT_EQ(errorOf([&] { m_book.save(path); }), QStringLiteral("Soubor %1 již existuje.").arg(path));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("keep"));
}

TEST_F(Cells, AFailedSaveLeavesNoFile)
{
    const QString path = scratch(QStringLiteral("missing-folder/out.xls"));
    EXPECT_EQ(errorOf([&] { m_book.save(path); }),
              QStringLiteral("Soubor %1 nelze vytvořit: soubor nebo složka neexistuje.").arg(path));
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(QDir(scratch(QString())).entryList(QDir::Files).size(), 0);
}

TEST(Open, PathWithoutExtensionFindsTheXlsFile)
{
    TXLSFile book;
    QString path = fixture(QStringLiteral("template.xls"));
    path.chop(4);
    book.open(path);
    EXPECT_EQ(book.sheetCount(), 2);
    EXPECT_EQ(book.sheetName(1), QStringLiteral("Data"));
    EXPECT_EQ(errorOf([&] { book.open(QStringLiteral("/nonexistent/none")); }),
              QStringLiteral("Can't find the file \"/nonexistent/none\""));
}

TEST(Open, AnUnopenedWorkbookRefusesWork)
{
    TXLSFile book;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("never.xls"));
    EXPECT_EQ(errorOf([&] { book.save(path); }), QStringLiteral("Soubor %1 nelze zapsat: sešit nebyl načten.").arg(path));
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(errorOf([&] { book.cell(1, 1); }),
              QStringLiteral("Sheet number \"1\" invalid. Must be between 1 and 0"));
    EXPECT_EQ(book.namedRangeCount(), 0);
}

TEST(Open, RealWorldFeaturesAreListed)
{
    KASOVKA_NEEDS_SHARED_FILE(corpus(QString()));
    TXLSFile images;
    images.open(corpus(QStringLiteral("poi_SimpleWithImages.xls")));
    int pictures = 0;
    for (int s = 1; s <= images.sheetCount(); ++s) {
        images.setActiveSheet(s);
        pictures += int(images.images().size());
    }
    EXPECT_EQ(pictures, 4);

    TXLSFile charts;
    charts.open(corpus(QStringLiteral("phpss_chartsheet.xls")));
    ASSERT_EQ(charts.sheetCount(), 2);
    const int chart = charts.isWorksheet(1) ? 2 : 1;
    EXPECT_FALSE(charts.isWorksheet(chart));
    EXPECT_TRUE(charts.isWorksheet(3 - chart));
    charts.setActiveSheet(chart);
    EXPECT_EQ(errorOf([&] { charts.setCell(1, 1, 1.0); }),
              QStringLiteral("Sheet number \"%1\" invalid. Must be between 1 and 2").arg(chart));

    TXLSFile shared;
    shared.open(corpus(QStringLiteral("poi_SharedFormulaTest.xls")));
    int formulas = 0;
    for (const auto &e : shared.cells())
        formulas += e.cell.kind == XlsCellKind::Formula;
    EXPECT_EQ(formulas, 32);
}

} // namespace
