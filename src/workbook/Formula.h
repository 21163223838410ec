#pragma once
// Moving the row references of BIFF8 formulas ([MS-XLS] 2.5.198) when rows
// are inserted, deleted or copied. Shifts edit tokens in place; no token
// ever changes its size.

#include "workbook/FormulaTokens.h"

#include <QByteArray>
#include <functional>

namespace kasovka {

// Thrown for a token the reader cannot read (one it does not know, or one
// cut short); the caller adds the formula's position to the message.
struct UnsupportedToken {
    uint8_t id = 0;
};

// A shared formula's tokens as they stand for the cell at row, col: the
// cell-relative references (PtgRefN, PtgAreaN) become ordinary ones.
QByteArray expandSharedFormula(const QByteArray &rgce, int row, int col);

// One change of row positions.
struct RowShift {
    enum class Kind { Insert, Delete, Copy };
    Kind kind = Kind::Insert;
    int sheet = 0; // 0-based sheet the rows change on (Insert, Delete)
    int at = 0;    // first inserted or deleted row
    int count = 0; // rows inserted or deleted
    int delta = 0; // Copy: distance of the copy from its source

    static RowShift insertRows(int sheet, int at, int count);
    static RowShift deleteRows(int sheet, int at, int count);
    static RowShift copyBy(int delta);
};

// How the sheets of a 3-D reference (its EXTERNSHEET entry) lie to the
// changed sheet: not among them, the changed sheet alone, or the changed
// sheet among others.
enum class SheetSpan { Outside, Only, Mixed };

class ReferenceShifter {
public:
    using SpanTest = std::function<SheetSpan(int ixti, int sheet)>;

    // A reference spanning the changed sheet and others keeps its place,
    // since the other sheets did not change; it grows with rows inserted
    // inside it and loses deleted rows, as a spreadsheet program does.
    ReferenceShifter(RowShift shift, SpanTest span);

    // Moves the references of one token string. `onChangedSheet` says whether
    // plain (2-D) references lie on the changed sheet. Returns whether
    // anything changed.
    bool apply(QByteArray &rgce, bool onChangedSheet) const;
    // Moves a range of rows that belongs to cells (an array formula's), as
    // an area of relative rows; false when it was deleted or is unchanged.
    bool moveRange(int &first, int &last, bool onChangedSheet) const;

private:
    enum class Move { None, Whole, SizeOnly };

    bool shiftRef(FormulaToken &t, Move move) const;
    bool shiftArea(FormulaToken &t, Move move) const;
    bool shiftAnchor(FormulaToken &t, bool onChangedSheet) const;
    Move moveOf(const FormulaToken &t, bool onChangedSheet) const;

    RowShift m_shift;
    SpanTest m_span;
};

} // namespace kasovka
