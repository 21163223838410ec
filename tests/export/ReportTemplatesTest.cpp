// The program's three templates filled with report tables and read back
// through the file layer: every figure must be the report's.

#include "ExportFixture.h"

#include "export/ReportExport.h"
#include "export/workbook/Workbook.h"
#include "report/ReportTables.h"

#include <QFileInfo>
#include "QtPrinters.h"

#include <gtest/gtest.h>

using namespace kasovka;
using namespace kasovka::test;

namespace {

class ReportTemplatesTest : public ::testing::Test, protected ReportTablesFixture {
protected:
    ReportTemplatesTest()
    {
        addGroup("A", "Alfa", {100.0, 250.5});
        addGroup("B", "Beta", {1.25, 2.0, 3.0});
        addGroup("C", "Gama", {});
        link();
        installTemplates();
    }

    // Exports with the template and opens the result.
    void exportWith(const QString &templateName, bool withRows)
    {
        path = context.root() + "out.xls";
        TExcelExporter exporter(context.app(), &skupiny, withRows ? &denik : nullptr, nullptr);
        exporter.SetTemplateFolder(context.app().PrintFormsFolder());
        exporter.SetTemplateName(templateName);
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
    exportWith(reportTemplateName(true), true);
    const QList<int> totals = rowsWithText(4, "Celkem za sumační skupinu");
    ASSERT_EQ(totals.size(), 3);
    const QList<int> overviews = rowsWithText(3, "Hotovost celkem");
    ASSERT_EQ(overviews.size(), 3);
    for (int group = 0; group < 3; ++group) {
        SCOPED_TRACE(group);
        for (int column = 5; column <= 35; ++column)
            EXPECT_EQ(number(totals[group], column), groupValue(group, amountFieldName(column)));
        EXPECT_EQ(number(overviews[group], 5), groupValue(group, "HotovostCeninyCelkem"));
    }
    // The group's rows stand between its heading and its totals line.
    const QList<int> headings = rowsWithText(1, "Sumační skupina:");
    ASSERT_EQ(headings.size(), 3);
    EXPECT_EQ(totals[0] - headings[0] - 1, 2);
    EXPECT_EQ(totals[1] - headings[1] - 1, 3);
    EXPECT_EQ(totals[2] - headings[2] - 1, 0);
    EXPECT_EQ(book.cell(headings[1], 4).value, QVariant("Beta"));
    EXPECT_EQ(book.cell(headings[1] + 1, 4).value, QVariant("B řádek 1"));
    EXPECT_EQ(number(headings[1] + 1, 5), 1.25);
    EXPECT_EQ(book.cell(headings[1] + 1, 6).value, QVariant()); // an empty amount stays blank
    // A new page before every next group.
    const QList<int> breaks = book.pageBreaks();
    ASSERT_GE(breaks.size(), 2);
    EXPECT_EQ(breaks[0], headings[1] - 1);
    EXPECT_EQ(breaks[1], headings[2] - 1);
    EXPECT_TRUE(rowsWithText(1, "...page break...").isEmpty());
}

TEST_F(ReportTemplatesTest, WithoutFinalSummaryHasNoOverview)
{
    exportWith(reportTemplateName(false), true);
    EXPECT_EQ(rowsWithText(4, "Celkem za sumační skupinu").size(), 3);
    EXPECT_TRUE(rowsWithText(3, "Hotovost celkem").isEmpty());
    for (const XlsCellEntry &entry : book.cells())
        EXPECT_FALSE(entry.cell.value.toString().startsWith("##")) << entry.row << "/" << entry.column;
}

TEST_F(ReportTemplatesTest, GroupTableHasOneLinePerGroupAndASumLine)
{
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
