// Worksheet substream ([MS-XLS] 2.1.7.20.5): the cell table is parsed into
// rows and cells and written back in row blocks with fresh INDEX and DBCELL
// records; merged areas and page breaks are read into lists, their records
// kept in place.

#include "workbook/WorkSheet.h"

#include "workbook/Errors.h"
#include "workbook/detail/Bytes.h"
#include "workbook/detail/Rk.h"

#include <algorithm>

namespace kasovka {

using namespace detail;

void Cell::copyFrom(const Cell &o)
{
    col = o.col;
    xf = o.xf;
    m_boolErr = o.m_boolErr;
    std::memcpy(m_value, o.m_value, sizeof m_value);
    if (o.m_type == CellType::Formula)
        setSlot(new FormulaData(*o.slot<FormulaData *>()));
    m_type = o.m_type;
}

void Cell::takeFrom(Cell &o) noexcept
{
    col = o.col;
    xf = o.xf;
    m_boolErr = o.m_boolErr;
    std::memcpy(m_value, o.m_value, sizeof m_value);
    m_type = o.m_type;
    o.m_type = CellType::Blank;
}

Cell &Cell::operator=(const Cell &o)
{
    if (this != &o) {
        // Copied first, so that a failed allocation leaves this cell intact.
        Cell copy(o);
        release();
        takeFrom(copy);
    }
    return *this;
}

Cell &Cell::operator=(Cell &&o) noexcept
{
    if (this != &o) {
        release();
        takeFrom(o);
    }
    return *this;
}

void Cell::setFormula(std::unique_ptr<FormulaData> f)
{
    reset(f ? CellType::Formula : CellType::Blank);
    if (f)
        setSlot(f.release());
}

const Cell *RowData::find(int col) const
{
    auto it = std::lower_bound(cells.begin(), cells.end(), col,
                               [](const Cell &c, int v) { return c.col < v; });
    return it != cells.end() && it->col == col ? &*it : nullptr;
}

Cell *RowData::find(int col)
{
    return const_cast<Cell *>(std::as_const(*this).find(col));
}

// miyRw in the low 15 bits of the height; iOutLevel, fCollapsed and
// fDyZero (hidden) in the flags.
RowFormat RowData::format() const
{
    RowFormat f;
    f.heightTwips = record.height & 0x7FFF;
    f.outlineLevel = record.flags & 0x07;
    f.collapsed = record.flags & 0x10;
    f.hidden = record.flags & 0x20;
    f.format = record.hasFormat() ? record.formatIndex() : -1;
    return f;
}

namespace {

const BiffRecord *attachedRecord(const FormulaData &f, uint16_t id)
{
    for (const BiffRecord &rec : f.attached)
        if (rec.id == id)
            return &rec;
    return nullptr;
}

} // namespace

bool FormulaData::isDataTable() const
{
    return attachedRecord(*this, rid::Table) != nullptr;
}

std::optional<ArrayFormula> FormulaData::array() const
{
    const BiffRecord *rec = attachedRecord(*this, rid::Array);
    if (!rec)
        return std::nullopt;
    const QByteArray data = rec->joined();
    const ArrayView view(*rec);
    const int cce = view.tokenSize();
    return ArrayFormula{{view.firstRow(), view.lastRow(), view.firstColumn(), view.lastColumn()},
                        data.mid(ArrayView::tokensAt(), cce),
                        data.mid(ArrayView::tokensAt() + cce)};
}

bool FormulaData::isArrayMember() const
{
    return rgce.size() == 5 && uint8_t(rgce[0]) == uint8_t(TokenKind::Exp);
}

namespace {

bool isCellRecord(uint16_t id)
{
    switch (id) {
    case rid::Row: case rid::Blank: case rid::MulBlank: case rid::Number: case rid::Rk:
    case rid::MulRk: case rid::LabelSst: case rid::Label: case rid::RString:
    case rid::BoolErr: case rid::Formula: case rid::DbCell: case rid::String:
    case rid::SharedFormula: case rid::Array: case rid::Table:
        return true;
    default:
        return false;
    }
}

// Records that precede the page-break records in a worksheet's page setup.
bool followsBreaks(uint16_t id)
{
    switch (id) {
    case rid::VerticalBreaks: case 0x0014: case 0x0015: case 0x0083: case 0x0084:
    case 0x0026: case 0x0027: case 0x0028: case 0x0029: case 0x004D: case 0x00A1:
    case rid::Dimensions:
        return true;
    default:
        return false;
    }
}

} // namespace

void TWorkSheet::load(std::vector<BiffRecord> records, StringPool &strings)
{
    m_chart = BofView(records.front()).type() == BofView::Chart;
    m_colFormat.assign(256, -1);
    int depth = 0;
    bool cellTable = false;
    for (auto &rec : records) {
        depth += rec.id == rid::Bof ? 1 : rec.id == rid::Eof ? -1 : 0;
        const bool top = depth == 1 && rec.id != rid::Bof && !m_chart;
        if (top && isCellRecord(rec.id)) {
            if (!cellTable)
                m_records.push_back({CellTable, {}, {}});
            cellTable = true;
            parseCellRecord(rec, strings);
            continue;
        }
        if (top && rec.id == rid::Index) {
            m_records.push_back({IndexSpot, {}, {}});
            continue;
        }
        if (top)
            readList(rec);
        m_records.push_back(std::move(rec));
    }
    resolveSharedFormulas();
    placeMissingMarkers();
    m_drawing.index(&m_records);
}

// The sheet's lists are read from their records, which stay in place.
void TWorkSheet::readList(const BiffRecord &rec)
{
    auto append = [](auto &list, auto entries) {
        list.entries.insert(list.entries.end(), entries.begin(), entries.end());
    };
    switch (rec.id) {
    case rid::MergedCells:
        append(m_merged, parseMergedCells(rec));
        break;
    case rid::HorizontalBreaks:
        append(m_rowBreaks, parsePageBreaks(rec));
        break;
    case rid::VerticalBreaks:
        append(m_columnBreaks, parsePageBreaks(rec));
        break;
    case rid::ColInfo: {
        const ColInfoView info(rec);
        for (int c = info.firstColumn(); c <= std::min(info.lastColumn(), 255); ++c)
            m_colFormat[c] = info.format();
        break;
    }
    default:
        break;
    }
}

void TWorkSheet::placeMissingMarkers()
{
    auto find = [this](auto pred) {
        return std::find_if(m_records.begin() + 1, m_records.end(), pred);
    };
    if (m_chart)
        return;
    if (find([](const BiffRecord &r) { return r.id == CellTable; }) == m_records.end()) {
        auto it = find([](const BiffRecord &r) { return r.id == rid::Dimensions; });
        if (it != m_records.end())
            ++it;
        else
            it = find([](const BiffRecord &r) { return r.id == rid::Window2 || r.id == rid::Eof; });
        m_records.insert(it, {CellTable, {}, {}});
    }
    // Where a sheet without row breaks gets its first one.
    if (find([](const BiffRecord &r) { return r.id == rid::HorizontalBreaks; }) == m_records.end()) {
        auto it = find([](const BiffRecord &r) { return followsBreaks(r.id) || r.id == CellTable; });
        m_records.insert(it, {BreaksSpot, {}, {}});
    }
}

Cell &TWorkSheet::putCell(int row, Cell cell)
{
    RowData &rd = rowAt(row);
    auto it = std::lower_bound(rd.cells.begin(), rd.cells.end(), cell.col,
                               [](const Cell &c, int v) { return c.col < v; });
    if (it != rd.cells.end() && it->col == cell.col) {
        *it = std::move(cell);
        return *it;
    }
    return *rd.cells.insert(it, std::move(cell));
}

void TWorkSheet::parseCellRecord(const BiffRecord &rec, StringPool &strings)
{
    const QByteArray data = rec.continues.empty() ? rec.data : rec.joined();
    ByteReader r(data, rec);
    auto checkCol = [&](int col) {
        if (col > 255)
            throwDamaged(rec, 2, QStringLiteral("expected a column up to 255, found %1").arg(col));
        return uint16_t(col);
    };
    switch (rec.id) {
    case rid::Row: {
        const RowRecord parsed = RowRecord::parse(rec);
        RowData &row = rowAt(parsed.row);
        row.record = parsed;
        row.hasRecord = true;
        return;
    }
    case rid::Formula:
        parseFormula(rec);
        return;
    case rid::SharedFormula: {
        SharedFormula sf{r.u16(), r.u16(), r.u8(), r.u8(), {}, {}};
        r.skip(2);
        const int cce = r.u16();
        sf.rgce = r.bytes(cce);
        sf.extra = data.mid(r.pos());
        m_shared.push_back(std::move(sf));
        return;
    }
    case rid::Array: case rid::Table:
        if (m_lastFormulaRow >= 0) {
            if (Cell *c = rowAt(m_lastFormulaRow).find(m_lastFormulaCol); c && c->formula())
                c->formula()->attached.push_back(rec);
        }
        return;
    case rid::DbCell: case rid::String:
        return; // rebuilt on save; formula results are cleared
    case rid::MulRk: case rid::MulBlank: {
        const int row = r.u16();
        const int first = r.u16();
        const int width = rec.id == rid::MulRk ? 6 : 2;
        const int n = int((data.size() - 6) / width);
        for (int i = 0; i < n; ++i) {
            Cell c;
            c.col = checkCol(first + i);
            c.xf = r.u16();
            if (rec.id == rid::MulRk) {
                c.setNumber(rkToDouble(r.u32()));
            }
            putCell(row, std::move(c));
        }
        return;
    }
    default:
        break;
    }
    const int row = r.u16();
    Cell c;
    c.col = checkCol(r.u16());
    c.xf = r.u16();
    switch (rec.id) {
    case rid::Blank:
        break;
    case rid::Number:
        c.setNumber(r.f64());
        break;
    case rid::Rk:
        c.setNumber(rkToDouble(r.u32()));
        break;
    case rid::LabelSst:
        c.setText(r.u32());
        if (c.str() >= strings.size())
            throwDamaged(rec, 6, QStringLiteral("expected a string index below %1, found %2")
                                     .arg(strings.size())
                                     .arg(c.str()));
        break;
    case rid::Label: case rid::RString: {
        const int cch = r.u16();
        const bool high = r.u8() & 0x01;
        c.setText(strings.addPlain(r.chars(cch, high)));
        break;
    }
    case rid::BoolErr:
        const uint8_t value = r.u8();
        if (r.u8())
            c.setError(value);
        else
            c.setBool(value);
        break;
    }
    putCell(row, std::move(c));
}

void TWorkSheet::parseFormula(const BiffRecord &rec)
{
    const QByteArray data = rec.joined();
    ByteReader r(data, rec);
    const int row = r.u16();
    Cell c;
    c.col = r.u16();
    if (c.col > 255)
        throwDamaged(rec, 2, QStringLiteral("expected a column up to 255, found %1").arg(c.col));
    c.xf = r.u16();
    r.skip(8);
    auto f = std::make_unique<FormulaData>();
    f->flags = r.u16();
    r.skip(4);
    const int cce = r.u16();
    f->rgce = r.bytes(cce);
    f->extra = data.mid(r.pos());
    const bool shared = cce == 5 && f->rgce[0] == 0x01;
    c.setFormula(std::move(f));
    if (shared)
        m_pendingShared.emplace_back(row, c.col);
    m_lastFormulaRow = row;
    m_lastFormulaCol = c.col;
    putCell(row, std::move(c));
}

void TWorkSheet::resolveSharedFormulas()
{
    for (const auto &pending : m_pendingShared) {
        const int row = pending.first, col = pending.second;
        FormulaData &f = *m_rows[row].find(col)->formula();
        // PtgExp ([MS-XLS] 2.5.198.58): the row and column of the shared
        // formula's first cell.
        const int r0 = u16At(f.rgce.constData() + 1), c0 = u16At(f.rgce.constData() + 3);
        auto sf = std::find_if(m_shared.begin(), m_shared.end(), [&](const SharedFormula &s) {
            return s.firstRow == r0 && s.firstCol == c0 && row >= s.firstRow && row <= s.lastRow
                && col >= s.firstCol && col <= s.lastCol;
        });
        if (sf != m_shared.end()) {
            try {
                f.rgce = expandSharedFormula(sf->rgce, row, col);
            } catch (const UnsupportedToken &t) {
                throw Error(xlstext::unsupportedToken(row + 1, col + 1, t.id));
            }
            f.extra = sf->extra;
            continue;
        }
        const RowData *anchorRow = this->row(r0);
        const Cell *anchor = anchorRow ? anchorRow->find(c0) : nullptr;
        if (!anchor || !anchor->formula() || anchor->formula()->attached.empty())
            throw Error(xlstext::missingSharedFormula());
    }
    m_pendingShared.clear();
    m_shared.clear();
}

int TWorkSheet::lastRow() const
{
    for (int r = int(m_rows.size()) - 1; r >= 0; --r)
        if (!m_rows[r].empty())
            return r;
    return -1;
}

bool TWorkSheet::hasDrawnObjects() const
{
    int depth = 0;
    for (const BiffRecord &rec : m_records) {
        depth += rec.id == rid::Bof ? 1 : rec.id == rid::Eof ? -1 : 0;
        if (depth == 1 && rec.id == rid::Obj && ObjView(rec).type() != ObjView::Comment)
            return true;
    }
    return false;
}

void TWorkSheet::setSelected(bool selected)
{
    for (auto &rec : m_records)
        if (rec.id == rid::Window2) {
            Window2Edit(rec).setSelected(selected);
            return;
        }
}

void TWorkSheet::addPageBreak(int row)
{
    auto &breaks = m_rowBreaks.entries;
    if (std::any_of(breaks.begin(), breaks.end(), [row](const PageBreak &b) { return b.at == row; }))
        return;
    if (breaks.size() >= 1026)
        throw Error(xlstext::tooManyPageBreaks());
    // A new break spans all columns.
    breaks.insert(std::upper_bound(breaks.begin(), breaks.end(), row,
                                   [](int r, const PageBreak &b) { return r < b.at; }),
                  PageBreak{row, 0, 255});
    m_rowBreaks.changed = true;
}

} // namespace kasovka
