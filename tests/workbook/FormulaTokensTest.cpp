// The token reader: one table row per kind of token, read back as a short
// description of what the reader made of it.

#include "workbook/FormulaTokens.h"

#include "WorkbookTestSupport.h"

using namespace kasovka;

namespace {

QString hexId(int id)
{
    return QStringLiteral("%1").arg(id, 2, 16, QLatin1Char('0'));
}

QString flag(bool set, const char *mark)
{
    return set ? QLatin1String(mark) : QString();
}

QString corner(const TokenCell &c)
{
    return QStringLiteral("r%1%2c%3%4")
        .arg(c.row)
        .arg(flag(c.rowRelative, "~"))
        .arg(c.column)
        .arg(flag(c.columnRelative, "~"));
}

// The fields of a token's kind.
QString fields(const FormulaTokenizer &tokens, const FormulaToken &t)
{
    const QString area = corner(t.first) + QLatin1Char(':') + corner(t.last);
    switch (t.kind) {
    case TokenKind::Exp: case TokenKind::Ref: case TokenKind::RefErr: case TokenKind::RefN:
        return corner(t.first);
    case TokenKind::Area: case TokenKind::AreaN: return area;
    case TokenKind::Ref3d: return QStringLiteral("x%1 ").arg(t.ixti) + corner(t.first);
    case TokenKind::Area3d: return QStringLiteral("x%1 ").arg(t.ixti) + area;
    case TokenKind::Func: return QStringLiteral("f%1").arg(t.function);
    case TokenKind::FuncVar:
        return QStringLiteral("f%1/%2%3").arg(t.function).arg(t.argumentCount).arg(flag(t.prompt, "?"));
    case TokenKind::Name: return QStringLiteral("n%1").arg(t.nameIndex);
    case TokenKind::NameX: return QStringLiteral("x%1 n%2").arg(t.ixti).arg(t.nameIndex);
    case TokenKind::Str: return QLatin1Char('"') + tokens.text(t) + QLatin1Char('"');
    case TokenKind::Attr: return QStringLiteral("a%1 %2").arg(t.attributes).arg(t.value);
    case TokenKind::Err: case TokenKind::Bool: case TokenKind::Int: return QStringLiteral("=%1").arg(t.value);
    case TokenKind::Num: return QStringLiteral("=%1").arg(t.number);
    case TokenKind::MemArea: case TokenKind::MemFunc: case TokenKind::MemAreaN:
        return QStringLiteral("m%1").arg(t.memSize);
    default: return {};
    }
}

// Each token as "<id> <size> <class> <fields>", then how the reading stopped.
QString read(const char *hex)
{
    const QByteArray rgce = QByteArray::fromHex(hex);
    FormulaTokenizer tokens(rgce);
    QStringList out;
    for (FormulaToken t; tokens.next(t);) {
        const QString head = QStringLiteral("%1 %2 %3").arg(hexId(t.id)).arg(t.size).arg(int(t.operandClass));
        out.append((head + QLatin1Char(' ') + fields(tokens, t)).trimmed());
    }
    if (tokens.stop() == FormulaTokenizer::Stop::UnknownToken)
        out.append(QStringLiteral("unknown ") + hexId(tokens.stopId()));
    else if (tokens.stop() == FormulaTokenizer::Stop::CutShort)
        out.append(QStringLiteral("cut ") + hexId(tokens.stopId()));
    return out.join(QStringLiteral(" | "));
}

struct ReadCase {
    const char *what, *hex, *tokens;
};

const ReadCase kReads[] = {
    {"anchor of a shared formula", "0104000200", "01 5 0 r4c2"},
    {"operators", "03" "15" "16", "03 1 0 | 15 1 0 | 16 1 0"},
    {"strings, narrow and wide", "1702006162" "1701010d01", "17 5 0 \"ab\" | 17 5 0 \"č\""},
    {"constants", "1c07" "1d01" "1e0900" "1f000000000000f83f", "1c 2 0 =7 | 1d 2 0 =1 | 1e 3 0 =9 | 1f 9 0 =1.5"},
    {"sum attribute and space", "191000" "00" "194001" "02", "19 4 0 a16 0 | 19 4 0 a64 513"},
    {"choose and its jump table", "190402" "00" "0800" "0a00" "0c00", "19 10 0 a4 2"},
    {"array constant", "60" "00000000000000", "60 8 3"},
    {"functions", "412700" "22830100", "41 3 2 f39 | 22 4 1 f1/3?"},
    {"names", "4303000000" "39020005000000", "43 5 2 n3 | 39 7 1 x2 n5"},
    {"reference in every class", "2402000340" "44020003c0" "64020003c0", "24 5 1 r2c3~ | 44 5 2 r2~c3~ | 64 5 3 r2~c3~"},
    {"area", "2500000400" "00c001c0", "25 9 1 r0~c0~:r4~c1~"},
    {"3-D forms", "3a0100010002c0" "3b0200" "00000900" "03000300", "3a 7 1 x1 r1~c2~ | 3b 11 1 x2 r0c3:r9c3"},
    {"deleted forms", "2a0900" "0100" "3c0100090001c0", "2a 5 1 r9c1 | 3c 7 1"},
    {"cell-relative forms", "2cffff00c0" "2d0000020000c000c0", "2c 5 1 r65535~c0~ | 2d 9 1 r0~c0~:r2~c0~"},
    {"mem tokens", "26000000001300" "290b00" "2e0500", "26 7 1 m19 | 29 3 1 m11 | 2e 3 1 m5"},
    {"pivot name of the 0x18 family", "181d04000000", "18 6 0"},
    {"other 0x18 tokens are not read", "1e0100" "1801", "1e 3 0 =1 | unknown 18"},
    {"ids from 0x80 name no token", "a4020003c0", "unknown a4"},
    {"a token cut short", "1e0100" "240200", "1e 3 0 =1 | cut 24"},
    {"a string cut short", "170500616263", "cut 17"},
    {"a jump table cut short", "1904030000000000", "cut 19"},
};

} // namespace

TEST(FormulaTokenizer, ReadsEveryKindOfToken)
{
    for (const ReadCase &c : kReads)
        EXPECT_EQ(read(c.hex), QString::fromUtf8(c.tokens)) << c.what;
}

TEST(FormulaTokenizer, ReferencesAreWrittenBackInPlace)
{
    QByteArray rgce = QByteArray::fromHex("1e0100" "3b020000000900038003c0");
    FormulaTokenizer tokens(rgce);
    FormulaToken t;
    ASSERT_TRUE(tokens.next(t) && tokens.next(t));
    t.first.row = 4;
    t.last.row = 12;
    t.id = 0x3D;
    writeReference(rgce.data(), t);
    EXPECT_EQ(rgce.toHex(), QByteArray("1e0100" "3d020004000c00038003c0"));
}
