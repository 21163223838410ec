#include "workbook/detail/RecordViews.h"

namespace kasovka::detail {

RowRecord RowRecord::parse(const BiffRecord &rec)
{
    ByteReader r(rec.data, rec);
    RowRecord row;
    row.row = r.u16();
    row.firstColumn = r.u16();
    row.lastColumnPlus1 = r.u16();
    row.height = r.u16();
    row.reserved = r.u16();
    row.unused = r.u16();
    row.flags = r.u16();
    row.format = r.u16();
    return row;
}

void RowRecord::writeTo(char *p) const
{
    for (uint16_t v : {row, firstColumn, lastColumnPlus1, height, reserved, unused, flags, format}) {
        put16(p, v);
        p += 2;
    }
}

std::vector<CellArea> parseMergedCells(const BiffRecord &rec)
{
    ByteReader r(rec.data, rec);
    const int count = r.u16();
    std::vector<CellArea> areas;
    areas.reserve(count);
    for (int i = 0; i < count; ++i) {
        CellArea a;
        a.firstRow = r.u16();
        a.lastRow = r.u16();
        a.firstColumn = r.u16();
        a.lastColumn = r.u16();
        areas.push_back(a);
    }
    return areas;
}

void appendMergedCells(QByteArray &out, const std::vector<CellArea> &areas)
{
    constexpr size_t kPerRecord = 1026;
    for (size_t i = 0; i < areas.size(); i += kPerRecord) {
        const size_t n = std::min(kPerRecord, areas.size() - i);
        QByteArray d;
        append16(d, uint16_t(n));
        for (size_t k = i; k < i + n; ++k)
            for (int v : {areas[k].firstRow, areas[k].lastRow, areas[k].firstColumn, areas[k].lastColumn})
                append16(d, uint16_t(v));
        appendRecord(out, rid::MergedCells, d);
    }
}

std::vector<PageBreak> parsePageBreaks(const BiffRecord &rec)
{
    const QByteArray data = rec.joined();
    ByteReader r(data, rec);
    const int count = r.u16();
    std::vector<PageBreak> breaks;
    breaks.reserve(count);
    for (int i = 0; i < count; ++i) {
        PageBreak b;
        b.at = r.u16();
        b.first = r.u16();
        b.last = r.u16();
        breaks.push_back(b);
    }
    return breaks;
}

void appendPageBreaks(QByteArray &out, uint16_t id, const std::vector<PageBreak> &breaks)
{
    if (breaks.empty())
        return;
    QByteArray d;
    append16(d, uint16_t(breaks.size()));
    for (const PageBreak &b : breaks)
        for (int v : {b.at, b.first, b.last})
            append16(d, uint16_t(v));
    appendRecord(out, id, d);
}

} // namespace kasovka::detail
