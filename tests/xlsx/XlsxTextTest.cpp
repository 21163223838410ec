// Texts as the .xlsx writer hands them to libxlsxwriter, and the sheet names
// it refuses before the library would. check_xlsx_texts.py reads the written
// file back.

#include "xlsx/detail/XlsxNames.h"
#include "xlsx/detail/XmlText.h"

#include <gtest/gtest.h>

using namespace kasovka::xlsx;

namespace {

QString units(std::initializer_list<char16_t> codes)
{
    QString text;
    for (const char16_t c : codes)
        text += QChar(c);
    return text;
}

struct TextCase {
    const char *what;
    QString text;
    XmlPlace place;
    const char *xml;
};

} // namespace

TEST(XlsxText, CharactersXmlCannotHoldAreEscaped)
{
    const TextCase cases[] = {
        {"Czech text as it is", QStringLiteral("Částka 1 000 Kč"), XmlPlace::Text, "Částka 1 000 Kč"},
        {"control character", QStringLiteral("a\x01z"), XmlPlace::Text, "a_x0001_z"},
        {"NUL keeps the rest", QString::fromUtf16(u"a\0z", 3), XmlPlace::Text, "a_x0000_z"},
        {"tab and line feed stay in text", QStringLiteral("a\tb\nc"), XmlPlace::Text, "a\tb\nc"},
        {"carriage return", QStringLiteral("a\r\nb"), XmlPlace::Text, "a_x000D_\nb"},
        {"tab and line feed in an attribute", QStringLiteral("a\tb\nc"), XmlPlace::Attribute, "a_x0009_b_x000A_c"},
        {"non-characters", units({u'a', 0xFFFE, 0xFFFF}), XmlPlace::Text, "a_xFFFE__xFFFF_"},
        {"unpaired surrogates", units({0xDC00, u'a', 0xD800}), XmlPlace::Attribute, "_xDC00_a_xD800_"},
        {"surrogate pair", units({0xD83D, 0xDE00}), XmlPlace::Text, "\xF0\x9F\x98\x80"},
        {"literal escape protected", QStringLiteral("_x0041__x00e9_"), XmlPlace::Text, "_x005F_x0041__x005F_x00e9_"},
        {"not an escape", QStringLiteral("_x004_ _x00G1_ _X0041_ x0041_"), XmlPlace::Attribute,
         "_x004_ _x00G1_ _X0041_ x0041_"},
        {"formula: only what XML cannot hold", QStringLiteral("\"a\x02_x0041_\r\""), XmlPlace::Formula,
         "\"a_x0002__x0041_\r\""},
    };
    for (const TextCase &c : cases)
        EXPECT_EQ(xmlText(c.text, c.place), QByteArray(c.xml)) << c.what;
}

TEST(XlsxText, SheetNamesFollowExcelsRules)
{
    const struct {
        QString name;
        QStringList earlier;
        const char *problem;
    } cases[] = {
        {QStringLiteral("Přehled účtů"), {QStringLiteral("Data")}, ""},
        {QString(), {}, "název listu je prázdný"},
        {QString(31, QLatin1Char('a')), {}, ""},
        {QString(32, QLatin1Char('a')), {}, "název listu je delší než 31 znaků"},
        {QStringLiteral("a:b"), {}, "název listu nesmí obsahovat znaky [ ] : * ? / \\"},
        {QStringLiteral("a\\b"), {}, "název listu nesmí obsahovat znaky [ ] : * ? / \\"},
        {QStringLiteral("a'b"), {}, ""},
        {QStringLiteral("a'"), {}, "název listu nesmí začínat ani končit apostrofem"},
        {QStringLiteral("účty"), {QStringLiteral("Data"), QStringLiteral("ÚČTY")}, "stejný název má už jiný list"},
        {QStringLiteral("a\x01z"), {}, ""},
        {QString(25, QLatin1Char('a')) + QChar(0x01), {},
         "název listu obsahuje řídicí znaky a zapsaný by byl delší než 31 znaků"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(sheetNameProblem(c.name, c.earlier), QString::fromUtf8(c.problem)) << c.name.toStdString();
}
