// The program's three templates filled with report tables and read back
// through the file layer: every figure must be the report's, every row of a
// group must name it, and a report without groups shows no group captions.

#include "ExportFixture.h"

#include "export/ReportExport.h"
#include "report/ReportTables.h"
#include "workbook/Workbook.h"

#include <QFileInfo>
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace kasovka;
using namespace kasovka::test;

namespace {

// Sheet columns of the journal templates.
constexpr int KeyColumn = 1, DateColumn = 3, TextColumn = 5;
int amountColumn(int n) { return n + 1; } // Col5 is column F
// The overview's first column: labels in F, values in H.
constexpr int OverviewLabel = 6, OverviewValue = 8;

class ReportTemplatesTest : public ::testing::Test, protected ReportTablesFixture {
protected:
    ReportTemplatesTest() { installTemplates(); }
    void addThreeGroups()
    {
        addGroup("A", "Alfa", {100.0, 250.5});
        addGroup("B", "Beta", {1.25, 2.0, 3.0});
        addGroup("C", "Gama", {});
        link();
    }

    // Exports with the template and opens the result.
    void exportWith(const QString &templateName, bool withRows, const TReportHeading &heading = {})
    {
        path = context.root() + "out.xls";
        QFile::remove(path);
        TExcelExporter exporter(context.app(), &skupiny, withRows ? &denik : nullptr, nullptr);
        exporter.SetTemplateFolder(context.app().PrintFormsFolder());
        exporter.SetTemplateName(templateName);
        exporter.SetHeading(heading);
        TExcelExporterForm form(exporter);
        ASSERT_TRUE(form.OnOk(path, false)) << context.ui().texts(MessageKind::Error).join("\n").toStdString();
        book.open(path);
    }
    // Rows (from 1) whose column holds exactly the text.
    QList<int> rowsWithText(int column, const QString &text) const
    {
        QList<int> rows;
        for (const XlsCellEntry &entry : book.cells())
            if (entry.column == column && entry.cell.value == QVariant(text))
                rows << entry.row;
        return rows;
    }
    int cellsWithText(const QString &text) const
    {
        int count = 0;
        for (const XlsCellEntry &entry : book.cells())
            count += entry.cell.value == QVariant(text);
        return count;
    }
    bool anyCellStartsWith(const QString &text) const
    {
        for (const XlsCellEntry &entry : book.cells())
            if (entry.cell.value.toString().startsWith(text))
                return true;
        return false;
    }
    double number(int row, int column) const { return book.cell(row, column).value.toDouble(); }
    double groupValue(int group, const QString &field)
    {
        skupiny.setRecNo(group);
        return skupiny.asCurrency(field).toDouble();
    }

    QString path;
    TXLSFile book;
};

TEST_F(ReportTemplatesTest, JournalTotalsAndOverviewAreTheGroupsFigures)
{
    addThreeGroups();
    exportWith(reportTemplateName(true), true);
    const QList<int> totals = rowsWithText(TextColumn, "Celkem");
    ASSERT_EQ(totals.size(), 3);
    const QList<int> overviews = rowsWithText(OverviewLabel, "Hotovost celkem");
    ASSERT_EQ(overviews.size(), 3);
    for (int group = 0; group < 3; ++group) {
        SCOPED_TRACE(group);
        for (int column = 5; column <= 35; ++column)
            EXPECT_EQ(number(totals[group], amountColumn(column)), groupValue(group, amountFieldName(column)));
        EXPECT_EQ(number(overviews[group], OverviewValue), groupValue(group, "HotovostCeninyCelkem"));
    }
    // The group's rows stand between its heading and its totals line, each
    // naming its group in the first column, as does every overview line.
    const QList<int> rowsOfB = rowsWithText(KeyColumn, "B");
    ASSERT_FALSE(rowsOfB.isEmpty());
    const int heading = rowsOfB.first() - 1;
    EXPECT_EQ(book.cell(heading, 4).value, QVariant("B"));
    EXPECT_EQ(book.cell(heading, 5).value, QVariant("Beta"));
    EXPECT_EQ(book.cell(heading + 1, TextColumn).value, QVariant("B řádek 1"));
    EXPECT_EQ(number(heading + 1, amountColumn(5)), 1.25);
    EXPECT_EQ(book.cell(heading + 1, amountColumn(6)).value, QVariant()); // an empty amount stays blank
    EXPECT_EQ(totals[1] - heading - 1, 3);
    EXPECT_TRUE(rowsOfB.contains(totals[1]));
    EXPECT_EQ(rowsOfB.last(), overviews[1] + 12); // the last line of B's overview
    // A new page before every next group; the last one's begins an empty row.
    const QList<int> breaks = book.pageBreaks();
    ASSERT_EQ(breaks.size(), 3);
    EXPECT_EQ(breaks[0], heading - 1);
    EXPECT_TRUE(rowsWithText(KeyColumn, "...page break...").isEmpty());
    EXPECT_GT(breaks[2], rowsWithText(KeyColumn, "C").last());
}

TEST_F(ReportTemplatesTest, TitleBlockAndCaptionsFollowTheHeading)
{
    addGroup("", "", {1.0});
    link();
    TReportHeading heading{.reportName = "Sestava 1", .agenda = "DEMO", .year = "2026",
                           .period = "1.1.2026 – 9.5.2026", .hasGroups = false};
    struct Row {
        QString templateName;
        bool withRows;
    };
    for (const Row &row : {Row{reportTemplateName(true), true}, Row{reportTemplateName(false), true},
                           Row{groupTablesTemplateName(), false}}) {
        SCOPED_TRACE(row.templateName.toStdString());
        exportWith(row.templateName, row.withRows, heading);
        for (const QString &text : {heading.reportName, heading.agenda, heading.year, heading.period})
            EXPECT_EQ(cellsWithText(text), 1) << text.toStdString();
        // Without summation groups no caption names one.
        EXPECT_EQ(cellsWithText("Sumační skupina:") + cellsWithText("Sumační skupina"), 0);
        EXPECT_FALSE(anyCellStartsWith("Sumační skupiny ("));
        EXPECT_FALSE(anyCellStartsWith("...delete row..."));
        EXPECT_FALSE(anyCellStartsWith("#"));
    }
    heading.hasGroups = true;
    heading.groupKind = "střediska";
    exportWith(reportTemplateName(false), true, heading);
    EXPECT_EQ(cellsWithText("Sumační skupiny (střediska)"), 1);
    EXPECT_EQ(cellsWithText("Sumační skupina"), 1); // the group column's title
    EXPECT_EQ(cellsWithText("Sumační skupina:"), 1);
}

TEST_F(ReportTemplatesTest, ZeroDateWritesNoDate)
{
    addGroup("", "", {1.0, 2.0});
    link();
    denik.first();
    denik.edit();
    denik.setDate(DenikField::Datum, 0);
    denik.post();
    exportWith(reportTemplateName(false), true);
    const QList<int> first = rowsWithText(TextColumn, " řádek 1");
    ASSERT_EQ(first.size(), 1);
    EXPECT_EQ(book.cell(first[0], DateColumn).value, QVariant());
    EXPECT_EQ(number(first[0] + 1, DateColumn), encodeDate(2026, 1, 1) + 2);
}

TEST_F(ReportTemplatesTest, GroupTableHasOneLinePerGroupAndASumLine)
{
    addThreeGroups();
    exportWith(groupTablesTemplateName(), false);
    const QList<int> first = rowsWithText(1, "A");
    ASSERT_EQ(first.size(), 1);
    for (int group = 0; group < 3; ++group) {
        const int row = first[0] + group;
        skupiny.setRecNo(group);
        EXPECT_EQ(book.cell(row, 2).value.toString(), skupiny.asText("Nazev"));
        EXPECT_EQ(number(row, 3), groupValue(group, "Col5"));
        EXPECT_EQ(number(row, 5), groupValue(group, "HotovostCeninyCelkem"));
    }
    const QList<int> sums = rowsWithText(1, "Celkem");
    ASSERT_EQ(sums.size(), 1);
    EXPECT_EQ(sums[0], first[0] + 4); // three groups, the spacer row, the sums
    for (int column = 3; column <= 41; ++column)
        EXPECT_EQ(book.cell(sums[0], column).kind, XlsCellKind::Formula) << column;
}

} // namespace
