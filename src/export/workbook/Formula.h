#pragma once
// BIFF8 parsed-expression tokens ([MS-XLS] 2.5.198): walking a token string
// and moving its row references when rows are inserted, deleted or copied.
// Shifts edit tokens in place; no token ever changes its size.

#include <QByteArray>
#include <functional>

namespace kasovka {

// Thrown for a token id the walker does not know; the caller adds the
// formula's position to the message.
struct UnsupportedToken {
    uint8_t id = 0;
};

// Size in bytes of the token at `pos` (its id byte included), or throws
// UnsupportedToken. A token running past `len` counts as unsupported too.
int ptgSize(const char *rgce, int pos, int len);

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

class ReferenceShifter {
public:
    // Tells whether a 3-D reference's EXTERNSHEET index covers a given sheet.
    using SheetTest = std::function<bool(int ixti, int sheet)>;

    ReferenceShifter(RowShift shift, SheetTest covers);

    // Moves the references of one token string. `onChangedSheet` says whether
    // plain (2-D) references lie on the changed sheet. Returns whether
    // anything changed.
    bool apply(QByteArray &rgce, bool onChangedSheet) const;

private:
    bool shiftRef(char *p, uint8_t &id, bool is3d) const;
    bool shiftArea(char *p, uint8_t &id, bool is3d) const;
    bool shiftAnchor(char *p, bool onChangedSheet) const;
    bool moves(bool is3d, const char *p, bool onChangedSheet) const;

    RowShift m_shift;
    SheetTest m_covers;
};

} // namespace kasovka
