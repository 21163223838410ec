#include "print/PrintTable.h"

#include "print/PrintFont.h"
#include "print/TextBatch.h"

#include <algorithm>
#include <climits>
#include <tuple>
#include <numeric>

namespace kasovka::print {

namespace {

// A wrapping column is not squeezed below this when the key columns must
// leave room for the others.
constexpr double MinWrapWidth = 18 * UnitsPerMm;
// The key columns take at most this share of the page width.
constexpr double KeyShare = 0.45;
// Spare width is spread over a slice's columns up to this factor.
constexpr double MaxStretch = 1.5;

double widestWord(const PrintFont &font, const QString &text)
{
    double widest = 0;
    for (const QString &word : QString(text).replace(u'\n', u' ').split(u' ', Qt::SkipEmptyParts))
        widest = std::max(widest, font.width(word));
    return widest;
}

} // namespace

double ColumnSlice::width() const
{
    return std::accumulate(widths.begin(), widths.end(), 0.0);
}

TableLayout::TableLayout(QList<PrintColumn> columns, const PrintFonts &fonts)
    : m_columns(std::move(columns)), m_fonts(fonts)
{
    for (const PrintColumn &column : std::as_const(m_columns)) {
        m_textWidth.append(fonts.bodyBold.width(column.amount ? AmountSample : column.sample));
        m_titleWidth.append(std::max(widestWord(fonts.title, column.caption), fonts.title.width(column.number)));
    }
}

void TableLayout::widen(int column, double textWidth)
{
    m_textWidth[column] = std::max(m_textWidth[column], textWidth);
}

void TableLayout::measure(const TableSource &source)
{
    const int rows = source.rowCount();
    for (int c = 0; c < m_columns.size(); ++c) {
        if (m_columns[c].amount) {
            // Digits share one width, so the widest text belongs to the
            // largest or the most negative amount.
            int highest = -1, lowest = -1;
            Currency high, low;
            for (int row = 0; row < rows; ++row) {
                const std::optional<Currency> value = source.amount(row, c);
                if (!value)
                    continue;
                if (highest < 0 || *value > high)
                    high = *value, highest = row;
                if (lowest < 0 || *value < low)
                    low = *value, lowest = row;
            }
            for (int row : {highest, lowest}) {
                if (row >= 0)
                    widen(c, m_fonts.bodyBold.width(source.text(row, c)));
            }
            continue;
        }
        if (m_columns[c].maxWidth > 0 && !m_columns[c].fitText)
            continue; // as wide as it may be
        for (int row = 0; row < rows; ++row) {
            const PrintFont &font = source.bold(row) ? m_fonts.bodyBold : m_fonts.body;
            widen(c, font.width(source.text(row, c)));
        }
    }
}

double TableLayout::naturalWidth(int column) const
{
    const PrintColumn &c = m_columns[column];
    double text = m_textWidth[column];
    if (c.maxWidth > 0)
        text = c.fitText ? std::min(text, c.maxWidth) : c.maxWidth;
    return std::max(text, m_titleWidth[column]) + 2 * CellPadding;
}

void TableLayout::arrange(double pageWidth)
{
    m_lastHeights = Heights();
    QList<int> keys, others;
    double keysWidth = 0;
    m_keyWidths = QList<double>(m_columns.size(), 0.0);
    for (int c = 0; c < m_columns.size(); ++c) {
        if (m_columns[c].key) {
            keys.append(c);
            m_keyWidths[c] = naturalWidth(c);
            keysWidth += m_keyWidths[c];
        } else {
            others.append(c);
        }
    }
    fitKeys(pageWidth, keysWidth);
    m_slices.clear();
    if (others.isEmpty()) {
        m_slices.append(stretch(keys, {}, pageWidth));
    } else {
        double used = 0;
        for (int c : keys)
            used += m_keyWidths[c];
        const QList<QList<int>> parts = packColumns(pageWidth - used);
        widenKeys(parts, pageWidth - used);
        for (const QList<int> &part : parts)
            m_slices.append(stretch(keys, part, pageWidth));
    }

    int captionLines = 1;
    for (const ColumnSlice &slice : std::as_const(m_slices)) {
        for (qsizetype i = 0; i < slice.columns.size(); ++i) {
            const QStringList lines = wrapText(m_fonts.title, m_columns[slice.columns[i]].caption,
                                               slice.widths[i] - 2 * CellPadding, MaxCaptionLines);
            captionLines = std::max(captionLines, int(lines.size()));
        }
    }
    // Group band, caption lines and the number band.
    m_titleHeight = (captionLines + 2) * m_fonts.title.lineSpacing() + 4 * RowPadding;
}

// Narrows the wrapping key columns, widest first, until the keys leave room.
void TableLayout::fitKeys(double pageWidth, double keysWidth)
{
    const double limit = pageWidth * KeyShare;
    while (keysWidth > limit) {
        int widest = -1;
        for (int c = 0; c < m_columns.size(); ++c) {
            if (m_columns[c].key && m_columns[c].maxWidth > 0 && m_keyWidths[c] > MinWrapWidth
                && (widest < 0 || m_keyWidths[c] > m_keyWidths[widest]))
                widest = c;
        }
        if (widest < 0)
            return;
        const double cut = std::min(keysWidth - limit, m_keyWidths[widest] - MinWrapWidth);
        m_keyWidths[widest] -= std::max(cut, 1.0);
        keysWidth -= std::max(cut, 1.0);
    }
}

// Width every slice can spare goes to the wrapping key columns, the one
// with the longest text (the description) first, each up to half as wide
// again (or up to its widest text): fewer wrapped rows, so fewer pages.
void TableLayout::widenKeys(const QList<QList<int>> &parts, double room)
{
    double spare = room;
    for (const QList<int> &part : parts) {
        double used = 0;
        for (int c : part)
            used += naturalWidth(c);
        spare = std::min(spare, room - used);
    }
    QList<int> wrapping;
    for (int c = 0; c < m_columns.size(); ++c) {
        if (m_columns[c].key && m_columns[c].maxWidth > 0)
            wrapping.append(c);
    }
    std::stable_sort(wrapping.begin(), wrapping.end(),
                     [this](int a, int b) { return m_columns[a].maxWidth > m_columns[b].maxWidth; });
    for (int c : std::as_const(wrapping)) {
        const double wanted = m_columns[c].fitText
            ? std::max(m_textWidth[c], m_titleWidth[c]) + 2 * CellPadding - m_keyWidths[c]
            : m_keyWidths[c] * (MaxStretch - 1);
        const double added = std::clamp(wanted, 0.0, std::max(spare, 0.0));
        m_keyWidths[c] += added;
        spare -= added;
    }
}

// The fewest slices that hold the columns; among those, the ones whose
// widest slice is narrowest and then whose narrowest slice is widest, so the
// page widths come out even; among those, the one that cuts the fewest column
// groups ("Hotovost a ceniny", "VDZUP", ...) in two.
QList<QList<int>> TableLayout::packColumns(double room) const
{
    QList<int> others;
    for (int c = 0; c < m_columns.size(); ++c) {
        if (!m_columns[c].key)
            others.append(c);
    }
    const qsizetype n = others.size();
    std::vector<double> offset{0}; // offset[i]: width of others[0..i - 1]
    for (int c : std::as_const(others))
        offset.push_back(offset.back() + naturalWidth(c));
    const auto width = [&](qsizetype i, qsizetype j) { return offset[size_t(j)] - offset[size_t(i)]; };
    // A cut before others[i] splits a group when it falls inside one.
    const auto splitsGroup = [&](qsizetype i) {
        if (i == 0 || i == n)
            return 0;
        const PrintColumn &before = m_columns[others[i - 1]], &after = m_columns[others[i]];
        return !after.group.isEmpty() && after.group == before.group ? 1 : 0;
    };
    struct Best {
        int slices = INT_MAX;
        int splits = INT_MAX;
        qsizetype next = 0;
    };
    // The packing with every slice from `low` to `high` wide that takes the
    // fewest slices, then splits the fewest groups. A column wider than
    // `high` still gets a slice of its own. best[i]: the packing of others[i..].
    const auto pack = [&](double low, double high) {
        std::vector<Best> best(size_t(n + 1));
        best[size_t(n)] = Best{0, 0, n};
        for (qsizetype i = n - 1; i >= 0; --i) {
            for (qsizetype j = i + 1; j <= n; ++j) {
                const double w = width(i, j);
                if (w > high && j > i + 1)
                    break;
                const Best &rest = best[size_t(j)];
                if (w < low || rest.slices == INT_MAX)
                    continue;
                const Best candidate{rest.slices + 1, rest.splits + splitsGroup(j), j};
                if (std::tie(candidate.slices, candidate.splits) < std::tie(best[size_t(i)].slices,
                                                                            best[size_t(i)].splits))
                    best[size_t(i)] = candidate;
            }
        }
        return best;
    };
    std::vector<double> widths; // every width a slice can have
    for (qsizetype i = 0; i < n; ++i) {
        for (qsizetype j = i + 1; j <= n; ++j)
            widths.push_back(width(i, j));
    }
    std::sort(widths.begin(), widths.end());
    const int fewest = pack(0, room)[0].slices;
    // The narrowest widest slice, then the widest narrowest one, that keep the fewest slices.
    const auto widest = std::partition_point(widths.begin(), widths.end(),
                                             [&](double high) { return pack(0, high)[0].slices > fewest; });
    const double high = widest == widths.end() ? room : std::min(room, *widest);
    const auto narrowest = std::partition_point(widths.begin(), widths.end(),
                                                [&](double low) { return pack(low, high)[0].slices == fewest; });
    const double low = narrowest == widths.begin() ? 0 : *(narrowest - 1);
    const std::vector<Best> best = pack(low, high);
    QList<QList<int>> slices;
    for (qsizetype i = 0; i < n; i = best[size_t(i)].next)
        slices.append(others.mid(i, best[size_t(i)].next - i));
    return slices;
}

ColumnSlice TableLayout::stretch(const QList<int> &keys, const QList<int> &others, double pageWidth) const
{
    ColumnSlice slice;
    double used = 0;
    for (int c : keys) {
        slice.columns.append(c);
        slice.widths.append(m_keyWidths[c]);
        used += m_keyWidths[c];
    }
    double natural = 0;
    for (int c : others)
        natural += naturalWidth(c);
    const double factor = natural > 0 ? std::clamp((pageWidth - used) / natural, 1.0, MaxStretch) : 1.0;
    for (int c : others) {
        slice.columns.append(c);
        slice.widths.append(naturalWidth(c) * factor);
    }
    return slice;
}

QStringList TableLayout::cellLines(const TableSource &source, int row, int column, double width) const
{
    const QString text = source.text(row, column);
    const PrintColumn &c = m_columns[column];
    if (c.amount || c.maxWidth <= 0 || text.isEmpty())
        return text.isEmpty() ? QStringList() : QStringList{text};
    const PrintFont &font = source.bold(row) ? m_fonts.bodyBold : m_fonts.body;
    return wrapText(font, text, width - 2 * CellPadding, MaxCellLines);
}

double TableLayout::rowHeight(const TableSource &source, int row) const
{
    int lines = 1;
    for (int c = 0; c < m_columns.size(); ++c) {
        if (m_columns[c].key && m_columns[c].maxWidth > 0)
            lines = std::max(lines, int(cellLines(source, row, c, m_keyWidths[c]).size()));
    }
    return lines * m_fonts.body.lineSpacing() + 2 * RowPadding;
}

const std::vector<double> &TableLayout::rowHeights(const TableSource &source, int first, int count) const
{
    Heights &last = m_lastHeights;
    if (last.source != &source || last.first != first || last.count != count) {
        last = Heights{&source, first, count, {}};
        for (int row = first; row < first + count; ++row)
            last.heights.push_back(rowHeight(source, row));
    }
    return last.heights;
}

} // namespace kasovka::print
