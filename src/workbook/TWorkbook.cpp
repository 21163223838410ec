#include "workbook/TWorkbook.h"

#include "workbook/Errors.h"
#include "workbook/detail/RecordViews.h"

namespace kasovka {

using namespace detail;

namespace {

const QString kStreamName = QStringLiteral("Workbook");

// Splits the record list into sections, each from its BOF to the EOF that
// closes it (embedded chart substreams stay inside their sheet).
std::vector<std::vector<BiffRecord>> sections(std::vector<BiffRecord> records)
{
    std::vector<std::vector<BiffRecord>> out;
    int depth = 0;
    for (auto &rec : records) {
        if (depth == 0) {
            if (rec.id != rid::Bof)
                throwDamaged(rec, 0, QStringLiteral("expected a BOF record to begin a section"));
            out.emplace_back();
        }
        depth += rec.id == rid::Bof ? 1 : rec.id == rid::Eof ? -1 : 0;
        out.back().push_back(std::move(rec));
    }
    if (depth != 0)
        throw Error(xlstext::damagedRecord(QStringLiteral("EOF"), -1,
                                           QStringLiteral("the last section is not closed")));
    return out;
}

uint16_t sectionType(const BiffRecord &bof)
{
    const BofView view(bof);
    if (view.version() != BofView::kBiff8)
        throw Error(xlstext::invalidVersion());
    return uint16_t(view.type());
}

// Whether the tokens name a defined name at position `index` (from 0) or
// later: PtgName counts from 1. PtgNameX may name one of this workbook's
// too, so any counts.
bool namesFrom(const QByteArray &rgce, int index)
{
    FormulaTokenizer tokens(rgce);
    for (FormulaToken t; tokens.next(t);) {
        if ((t.kind == TokenKind::Name && int(t.nameIndex) > index) || t.kind == TokenKind::NameX)
            return true;
    }
    return tokens.stop() != FormulaTokenizer::Stop::End;
}

} // namespace

bool TWorkbook::referencesNamesFrom(int index) const
{
    for (const NameEntry &n : m_globals.names())
        if (namesFrom(m_globals.nameTokens(n), index))
            return true;
    for (const TWorkSheet &sheet : m_sheets) {
        for (const RowData &row : sheet.rows()) {
            for (const Cell &c : row.cells) {
                const FormulaData *f = c.formula();
                if (!f)
                    continue;
                const std::optional<ArrayFormula> array = f->array();
                if (namesFrom(f->rgce, index) || (array && namesFrom(array->rgce, index)))
                    return true;
            }
        }
    }
    return false;
}

std::vector<TextRun> TWorkbook::textRuns(uint32_t index) const
{
    const QByteArray &runs = m_strings.at(index).runs;
    std::vector<TextRun> out;
    for (qsizetype at = 0; at + 4 <= runs.size(); at += 4)
        out.push_back({u16At(runs.constData() + at), u16At(runs.constData() + at + 2)});
    return out;
}

void TWorkbook::load(const QByteArray &file, const QString &path)
{
    if (!TOle2Storage::hasSignature(file))
        throw Error(xlstext::fileInvalid(path));
    m_root = TOle2Storage::read(file, xlstext::cantReadFile(path));
    const TXlsStorage *stream = m_root.child(kStreamName);
    if (!stream || stream->isStorage) {
        // A file of Excel 5.0/95 holds its records in "Book" instead; its
        // BOF's version follows the 4-byte record header.
        const TXlsStorage *book = m_root.child(QStringLiteral("Book"));
        if (book && !book->isStorage && book->data.size() >= 6
            && u16At(book->data.constData()) == rid::Bof
            && u16At(book->data.constData() + 4) != BofView::kBiff8)
            throw Error(xlstext::invalidVersion());
        throw Error(xlstext::cantOpenStream(kStreamName));
    }
    m_streamName = stream->name;
    loadStream(stream->data);
}

void TWorkbook::loadStream(const QByteArray &stream)
{
    auto parts = sections(readRecords(stream, xlstext::recordsInvalid()));
    if (parts.empty())
        throw Error(xlstext::recordsInvalid());
    if (const uint16_t type = sectionType(parts[0].front()); type != BofView::Globals)
        throwDamaged(parts[0].front(), 2, QStringLiteral("expected the workbook globals, found type 0x%1")
                                              .arg(type, 4, 16, QLatin1Char('0')));
    for (const auto &rec : parts[0])
        if (rec.id == rid::FilePass)
            throw Error(xlstext::passwordProtected());
    for (size_t i = 1; i < parts.size(); ++i) {
        const uint16_t type = sectionType(parts[i].front());
        if (type != BofView::Worksheet && type != BofView::Chart)
            throwDamaged(parts[i].front(), 2, QStringLiteral("expected a worksheet or chart, found type 0x%1")
                                                  .arg(type, 4, 16, QLatin1Char('0')));
    }
    m_globals.load(std::move(parts[0]), m_strings);
    if (m_globals.sheets().size() != parts.size() - 1)
        throw Error(xlstext::damagedRecord(recordName(rid::BoundSheet), -1,
                                           QStringLiteral("%1 sheets listed, %2 found")
                                               .arg(m_globals.sheets().size())
                                               .arg(parts.size() - 1)));
    m_sheets.resize(parts.size() - 1);
    for (size_t i = 1; i < parts.size(); ++i)
        m_sheets[i - 1].load(std::move(parts[i]), m_strings);
}

QByteArray TWorkbook::workbookStream() const
{
    // The table is rebuilt from the cells: strings in order of first use.
    std::vector<uint32_t> map(m_strings.size(), UINT32_MAX);
    std::vector<const SstString *> used;
    uint32_t refs = 0;
    qsizetype cells = 0;
    for (const auto &sheet : m_sheets)
        for (const auto &row : sheet.rows()) {
            cells += qsizetype(row.cells.size());
            for (const auto &c : row.cells)
                if (c.type() == CellType::Text) {
                    ++refs;
                    if (map[c.str()] == UINT32_MAX) {
                        map[c.str()] = uint32_t(used.size());
                        used.push_back(&m_strings.at(c.str()));
                    }
                }
        }
    QByteArray out;
    out.reserve((1 << 20) + cells * 18);
    std::vector<qsizetype> boundSheets;
    m_globals.write(out, used, refs, boundSheets);
    if (boundSheets.size() != m_sheets.size())
        throw Error(xlstext::recordsInvalid());
    for (size_t i = 0; i < m_sheets.size(); ++i) {
        put32(out.data() + boundSheets[i], uint32_t(out.size()));
        m_sheets[i].write(out, map);
    }
    return out;
}

bool TWorkbook::save(QIODevice &device) const
{
    TXlsStorage root = m_root;
    root.child(m_streamName)->data = workbookStream();
    return TOle2Storage::write(std::move(root), device);
}

void TWorkbook::shiftEverywhere(const RowShift &shift)
{
    const ReferenceShifter shifter(shift, [this](int ixti, int sheet) {
        return m_globals.span(ixti, sheet);
    });
    for (int i = 0; i < sheetCount(); ++i)
        m_sheets[i].shiftFormulas(shifter, i == shift.sheet);
    m_globals.shiftNames(shifter);
}

void TWorkbook::insertAndCopyRows(int sheetIndex, int first, int last, int dest, int count,
                                  bool formulasOnly)
{
    const int height = last - first + 1;
    TWorkSheet &sh = m_sheets[sheetIndex];
    if (count <= 0)
        return;
    if (sh.drawing().hasOleObjectIn(first, last))
        throw Error(xlstext::cantCopyOle());
    const int inserted = count * height;
    // References move first, so that a formula the shifter cannot read is
    // reported at the position the template shows.
    sh.checkRoom(dest, inserted);
    shiftEverywhere(RowShift::insertRows(sheetIndex, dest, inserted));
    sh.insertEmptyRows(dest, inserted);
    const int source = first >= dest ? first + inserted : first;
    if (!sh.drawing().hasObjectsIn(source, source + height - 1)) {
        sh.copyRows(source, source + height - 1, dest, count, formulasOnly, nullptr);
        return;
    }
    withShapeIds([&](ShapeIdClusters *ids) {
        sh.copyRows(source, source + height - 1, dest, count, formulasOnly, ids);
    });
}

void TWorkbook::deleteRows(int sheetIndex, int first, int count)
{
    if (count <= 0)
        return;
    shiftEverywhere(RowShift::deleteRows(sheetIndex, first, count));
    TWorkSheet &sh = m_sheets[sheetIndex];
    if (!sh.drawing().hasObjectsIn(first, first + count - 1)) {
        sh.removeRows(first, count, nullptr);
        return;
    }
    withShapeIds([&](ShapeIdClusters *ids) { sh.removeRows(first, count, ids); });
}

void TWorkbook::removeComment(int sheetIndex, int note)
{
    withShapeIds([&](ShapeIdClusters *ids) { m_sheets[sheetIndex].drawing().removeNote(note, ids); });
}

void TWorkbook::withShapeIds(const std::function<void(ShapeIdClusters *)> &edit)
{
    BiffRecord *group = m_globals.drawingGroup();
    QByteArray data = group ? group->joined() : QByteArray();
    ShapeIdClusters ids;
    const bool loaded = group && ids.load(data);
    edit(loaded ? &ids : nullptr);
    if (loaded && ids.changed())
        m_globals.setDrawingGroup(data);
}

} // namespace kasovka
