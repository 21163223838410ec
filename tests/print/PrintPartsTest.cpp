// The small parts of printing: wrapping cell text, the columns read from the
// grids' titles and the remembered paper.

#include "core/IniFile.h"
#include "print/PrintFont.h"
#include "print/PrintSettings.h"
#include "print/ReportPrint.h"
#include "print/SyntheticReport.h"
#include "print/TextBatch.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kasovka::test {
namespace {

using namespace kasovka::print;

TEST(PrintText, WrapsAtBlanksAfterSlashesAndInsideLongWords)
{
    ensureGuiApplication();
    const PrintFont font(7.5, false);
    struct Row {
        const char *text;
        const char *widest; // the line width: this text's width
        int maxLines;
        QStringList lines;
    };
    const Row rows[] = {
        {"", "Tržba", 3, {}},
        {"Tržba", "Tržba", 3, {"Tržba"}},
        {"Úhrada faktury dodavatele", "dodavatele", 3, {"Úhrada", "faktury", "dodavatele"}},
        {"FV2024/000123", "FV2024/0", 3, {"FV2024/", "000123"}},
        {"ABCDEFGHIJKL", "ABCDE", 5, {"ABCDE", "FGHIJ", "KL"}},
        {"jedna dvě jedna dvě jedna", "jedna dvě", 2, {"jedna dvě", "jedna d…"}},
    };
    for (const Row &row : rows) {
        const double width = font.width(QString::fromUtf8(row.widest)) + 1;
        const QStringList lines = wrapText(font, QString::fromUtf8(row.text), width, row.maxLines);
        EXPECT_EQ(lines, row.lines) << row.text;
        for (const QString &line : lines)
            EXPECT_LE(font.width(line), width) << row.text;
    }
}

TEST(PrintColumns, TitlesOfTheGridsBecomeGroupsCaptionsAndNumbers)
{
    const PrintColumn cash = columnFromTitle(QStringLiteral("Hotovost a ceniny\npříjem\n[5]"));
    EXPECT_EQ(cash.group, QStringLiteral("Hotovost a ceniny"));
    EXPECT_EQ(cash.caption, QStringLiteral("příjem"));
    EXPECT_EQ(cash.number, QStringLiteral("[5]"));
    const PrintColumn total = columnFromTitle(QStringLiteral("Hotovost celkem\n \n "));
    EXPECT_EQ(total.group, QString());
    EXPECT_EQ(total.caption, QStringLiteral("Hotovost celkem"));
    const PrintColumn transit = columnFromTitle(QStringLiteral("Průběžné položky\ncelkem\n "));
    EXPECT_EQ(transit.group, QStringLiteral("Průběžné položky"));
    EXPECT_EQ(transit.number, QString());

    const QList<PrintColumn> journal = journalColumns();
    ASSERT_EQ(journal.size(), 35);
    EXPECT_EQ(journal[4].number, QStringLiteral("[5]"));
    EXPECT_EQ(journal[34].caption, QStringLiteral("ostatní (vč. rezerv)"));
    // Cash shaded, bank plain, totals dark, income plain, expenses shaded.
    EXPECT_EQ(journal[4].shade, Shade::Light);
    EXPECT_EQ(journal[6].shade, Shade::None);
    EXPECT_EQ(journal[10].shade, Shade::Dark);
    EXPECT_EQ(journal[12].shade, Shade::None);
    EXPECT_EQ(journal[15].shade, Shade::Light);
    EXPECT_EQ(journal[34].shade, Shade::Light);
}

TEST(PrintSettingsFile, PaperIsRememberedAndNonsenseFallsBack)
{
    QTemporaryDir dir;
    const QString file = dir.path() + QStringLiteral("/nastaveni.ini");
    {
        TIniFile ini(file);
        PrintSettings settings;
        settings.pageLayout = QPageLayout(QPageSize(QPageSize::A3), QPageLayout::Portrait, QMarginsF(5, 12.5, 5, 8),
                                          QPageLayout::Millimeter);
        settings.allGroups = true;
        settings.reportPdf = QStringLiteral("/tmp/deník.pdf");
        settings.write(ini);
    }
    TIniFile ini(file);
    const PrintSettings back = PrintSettings::read(ini);
    EXPECT_EQ(back.pageLayout.pageSize().id(), QPageSize::A3);
    EXPECT_EQ(back.pageLayout.orientation(), QPageLayout::Portrait);
    EXPECT_EQ(back.pageLayout.margins(QPageLayout::Millimeter), QMarginsF(5, 12.5, 5, 8));
    EXPECT_TRUE(back.allGroups);
    EXPECT_EQ(back.reportPdf, QStringLiteral("/tmp/deník.pdf"));

    struct Row {
        const char *paper;
        const char *margins;
        QPageSize::PageSizeId id;
        double left;
    };
    const Row rows[] = {
        {"Letter", "10;10;10;10", QPageSize::Letter, 10},
        {"210x297", "20;10;10;10", QPageSize::A4, 20},
        {"papyrus", "10;10;10", QPageSize::A4, 10},
        {"10x10", "-1;0;0;0", QPageSize::A4, 10},
        {"A5", "90;90;90;90", QPageSize::A5, 10},
        {"A4", "nan;nan;nan;nan", QPageSize::A4, 10},
        {"A4", "20;10;inf;10", QPageSize::A4, 10},
        {"A4", "-inf;10;10;10", QPageSize::A4, 10},
        {"nanx297", "20;10;10;10", QPageSize::A4, 20},
        {"210xinf", "20;10;10;10", QPageSize::A4, 20},
    };
    for (const Row &row : rows) {
        ini.WriteString(QStringLiteral("Print"), QStringLiteral("Paper"), QString::fromLatin1(row.paper));
        ini.WriteString(QStringLiteral("Print"), QStringLiteral("Margins"), QString::fromLatin1(row.margins));
        const QPageLayout layout = PrintSettings::read(ini).pageLayout;
        EXPECT_EQ(layout.pageSize().id(), row.id) << row.paper;
        EXPECT_EQ(layout.margins(QPageLayout::Millimeter).left(), row.left) << row.paper << " " << row.margins;
    }
}

} // namespace
} // namespace kasovka::test
