#pragma once
// BIFF8 parsed-expression tokens ([MS-XLS] 2.5.198 Ptg) read one by one into
// typed tokens. Every walk over a formula goes through this one reader:
// moving its references, its texts, and the rows and areas it refers to.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace kasovka {

// What a token is: its id with the operand class removed.
enum class TokenKind : uint8_t {
    Exp = 0x01, Tbl = 0x02,
    Add = 0x03, Sub, Mul, Div, Power, Concat, Lt, Le, Eq, Ge, Gt, Ne, Isect, Union, Range,
    Uplus = 0x12, Uminus, Percent, Paren, MissArg, Str,
    SxName = 0x18, // the only token of the 0x18 family read
    Attr = 0x19,
    Err = 0x1C, Bool, Int, Num,
    Array = 0x20, Func, FuncVar, Name, Ref, Area, MemArea, MemErr, MemNoMem, MemFunc,
    RefErr, AreaErr, RefN, AreaN, MemAreaN, MemNoMemN,
    NameX = 0x39, Ref3d, Area3d, RefErr3d, AreaErr3d,
};

// Bits 5 and 6 of an operand's id ([MS-XLS] 2.5.198.2); None for the
// tokens below 0x20.
enum class OperandClass : uint8_t { None, Reference, Value, Array };

// One corner of a reference ([MS-XLS] 2.5.198.x RgceLoc, RgceLocRel): the
// row, and the column field's column bits and relative flags.
struct TokenCell {
    int row = 0;    // as stored: from 0, or an offset from the cell in RefN, AreaN
    int column = 0; // the low 14 bits of the column field; Exp, Tbl: the whole field
    bool rowRelative = false, columnRelative = false;
};

struct FormulaToken {
    TokenKind kind{};
    uint8_t id = 0; // as stored, operand class included
    OperandClass operandClass = OperandClass::None;
    int at = 0;     // offset of its id in the token string
    int size = 0;   // bytes, the id included

    // References and areas of every form: their corners (a reference's last
    // is its first); Exp and Tbl: the cell of the formula they stand for.
    TokenCell first, last;
    int ixti = -1;         // the 3-D forms and NameX: the EXTERNSHEET index
    int function = 0;      // Func, FuncVar: the function's index
    int argumentCount = 0; // FuncVar: the arguments on the stack
    bool prompt = false;   // FuncVar: fPrompt, the high bit of the count
    uint32_t nameIndex = 0; // Name, NameX, SxName: the name from 1
    int value = 0;         // Err: the code; Bool: 0 or 1; Int: the number; Attr: its data field
    int attributes = 0;    // Attr: the flags byte (0x10 a SUM of one argument, 0x04 CHOOSE...)
    double number = 0;     // Num
    int memSize = 0;       // the Mem tokens: bytes of the tokens they enclose

    bool isSum() const { return kind == TokenKind::Attr && (attributes & 0x10); }
};

// Reads a token string front to back. The string must outlive the reader.
class FormulaTokenizer {
public:
    enum class Stop { None, End, UnknownToken, CutShort };

    explicit FormulaTokenizer(const QByteArray &rgce);

    // The next token; false at the end of the string or at a token that
    // cannot be read, which stop() tells apart.
    bool next(FormulaToken &token);
    Stop stop() const { return m_stop; }
    // The id of the token that could not be read.
    uint8_t stopId() const { return m_stopId; }
    // The characters of a Str token.
    QString text(const FormulaToken &token) const;

private:
    bool fail(Stop stop, uint8_t id);

    const char *m_data;
    int m_size;
    int m_pos = 0;
    Stop m_stop = Stop::None;
    uint8_t m_stopId = 0;
};

// Writes a reference token's id, corners and EXTERNSHEET index back in its
// place (Exp, Tbl and every form of Ref and Area); its size stays.
void writeReference(char *rgce, const FormulaToken &token);

// The cells a formula of exactly one reference or area stands for (a
// defined name's usually): rows and columns from 0, and the EXTERNSHEET
// index of a 3-D one (-1 for a plain one).
struct TokenArea {
    int ixti = -1;
    int firstRow = 0, lastRow = 0, firstColumn = 0, lastColumn = 0;
};
std::optional<TokenArea> singleArea(const QByteArray &rgce);

// The 3-D references and areas of a defined name's formula, one or several
// joined by unions, up to the first token of another kind.
std::vector<TokenArea> nameAreas(const QByteArray &rgce);

// The highest row (from 0) a reference or area of the formula lies in,
// whole columns left out; -1 without any.
int highestReferencedRow(const QByteArray &rgce);

} // namespace kasovka
