// Wrapped lines of a cell's text, as the rows of filled workbooks grow by
// them. Arial 8 pt: "m" is 7.0 pt wide, "a" 4.7 pt, "z" 4.2 pt,
// a space 2.3 pt.

#include "workbook/RowHeights.h"

#include <gtest/gtest.h>

using namespace kasovka;

TEST(RowHeights, WrappedLinesOfACellsText)
{
    BiffFont font;
    font.heightTwips = 160;
    const QString m10(10, u'm'); // 70 pt
    const struct {
        const char *what;
        QString text;
        double width;
        int lines;
    } cases[] = {
        {"empty", QString(), 50, 1},
        {"fits", QStringLiteral("Nájem kanceláře"), 100, 1},
        {"the second word moves down", m10 + u' ' + m10, 140, 2},
        {"both words share the line", m10 + u' ' + m10, 143, 1},
        {"a word wider than the cell is broken", m10 + m10 + m10, 50, 5},
        {"words go on after a broken word", m10 + m10 + QStringLiteral(" a"), 50, 3},
        {"line breaks stand", QStringLiteral("a\n\nb"), 50, 3},
        {"spaces in a row", QStringLiteral("a     b"), 50, 1},
        {"a hidden column", m10 + u' ' + m10, 0, 1},
        {"diacritics as their letters", QString(20, u'ž'), 30, 3},
    };
    for (const auto &c : cases)
        EXPECT_EQ(wrappedLines(c.text, font, c.width), c.lines) << c.what;
}
