#pragma once
// A printed table: its columns, the rows it prints, and how the columns are
// sized and split into slices that each fit the width of a page.
//
// Key columns (row number, date, document and description of the journal;
// code and name of the group table) stand at the left of every slice, so
// each sheet can be read on its own. The other columns are packed into the
// fewest slices in order, as evenly as they go, whole column groups
// ("Hotovost a ceniny", "VDZUP", ...) kept together where they fit.
//
// Column widths follow the paper, not the data: an amount column is as wide
// as the largest amount a journal prints, a wrapping column as its limit, so
// a report splits alike whatever its rows hold. Only a wider text than that
// widens its column rather than being cut.

#include "core/Currency.h"

#include <QList>
#include <QString>

#include <optional>
#include <vector>

namespace kasovka::print {

struct PrintFonts;

enum class Shade { None, Light, Dark };

struct PrintColumn {
    QString caption; // the column's own title; wraps at blanks, breaks at "\n"
    QString number;  // "[5]"; empty for none
    QString group;   // title over neighbouring columns of the same group; empty for none
    Shade shade = Shade::None;
    bool key = false;      // repeated at the left of every slice
    bool amount = false;   // right-aligned; as wide as AmountSample or the widest amount it prints
    double maxWidth = 0;   // text columns: as wide as this, wider text wraps (units; 0: no limit)
    Qt::Alignment alignment = Qt::AlignLeft;
    QString sample = {};   // unwrapped text columns: the widest text expected ("99999")
    bool fitText = false;  // a wrapping column only as wide as its widest text, where a short list
                           // (the group table) need not split alike whatever it holds
};

// The widest amount a column is sized for: below a billion, which leaves
// eight amount columns to a landscape A4 page.
inline const QString AmountSample = QStringLiteral("-999 999 999,99");

// The rows of one table section, as display texts.
class TableSource {
public:
    virtual ~TableSource() = default;
    virtual int rowCount() const = 0;
    // The cell as the screen shows it; empty for a blank cell.
    virtual QString text(int row, int column) const = 0;
    // The amount of an amount cell, none when blank; used for sizing only.
    virtual std::optional<Currency> amount(int row, int column) const = 0;
    virtual bool bold(int row) const = 0;
};

// One page width of columns: key columns first, then its share of the rest.
struct ColumnSlice {
    QList<int> columns;
    QList<double> widths; // units, per entry of `columns`
    double width() const;
};

// Sizes the columns over every source printed with them, then lays them out.
class TableLayout {
public:
    TableLayout(QList<PrintColumn> columns, const PrintFonts &fonts);

    // Widens the columns whose text the source prints wider than expected.
    void measure(const TableSource &source);
    // Fixes the slices for a page body of the given width.
    void arrange(double pageWidth);

    const QList<PrintColumn> &columns() const { return m_columns; }
    const QList<ColumnSlice> &slices() const { return m_slices; }
    const PrintFonts &fonts() const { return m_fonts; }

    // Height of the title block of every slice.
    double titleHeight() const { return m_titleHeight; }
    // Height of one row of the source.
    double rowHeight(const TableSource &source, int row) const;
    // Heights of the rows `first`..`first + count - 1`; the slices of one
    // page ask for the same rows one after the other, so the last answer is
    // kept.
    const std::vector<double> &rowHeights(const TableSource &source, int first, int count) const;
    // Lines of a cell's text as they are printed in a column `width` wide.
    QStringList cellLines(const TableSource &source, int row, int column, double width) const;

    static constexpr double CellPadding = 18;  // units, left and right of a cell's text
    static constexpr double RowPadding = 8;    // units, above and below a row's text
    static constexpr int MaxCellLines = 3;
    static constexpr int MaxCaptionLines = 3;

private:
    void widen(int column, double textWidth);
    double naturalWidth(int column) const;
    QList<QList<int>> packColumns(double room) const;
    ColumnSlice stretch(const QList<int> &keys, const QList<int> &others, double pageWidth) const;
    void fitKeys(double pageWidth, double keysWidth);
    void widenKeys(const QList<QList<int>> &parts, double room);

    QList<PrintColumn> m_columns;
    const PrintFonts &m_fonts;
    QList<double> m_textWidth;   // widest text expected or printed, without padding
    QList<double> m_titleWidth;  // widest title word, without padding
    QList<ColumnSlice> m_slices;
    QList<double> m_keyWidths;   // final widths of the key columns, shared by every slice
    double m_titleHeight = 0;
    struct Heights {
        const TableSource *source = nullptr;
        int first = -1;
        int count = 0;
        std::vector<double> heights;
    };
    mutable Heights m_lastHeights;
};

} // namespace kasovka::print
