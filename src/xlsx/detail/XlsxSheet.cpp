// The rows of a worksheet: row formats and heights, merged areas, cells of
// every kind, formulas and notes, written strictly from the first row down.

#include "xlsx/detail/XlsxSheet.h"

#include "core/Error.h"
#include "workbook/FormulaTokens.h"
#include "workbook/TWorkbook.h"
#include "xlsx/detail/XlsxErrors.h"
#include "xlsx/detail/XmlText.h"

#include <cmath>
#include <tuple>

namespace kasovka::xlsx {

namespace {

constexpr int kRowsPerReport = 4096;
constexpr int kBiffLastRow = kBiffRows - 1;
// A row the model does not hold: its cells take the column's format.
const RowData kNoRow;

QByteArray textBytes(const QString &text)
{
    return xmlText(text, XmlPlace::Text);
}

} // namespace

XlsxSheetWriter::XlsxSheetWriter(lxw_worksheet *worksheet, XlsxFormats &formats, const TWorkbook &book,
                                 int index, const QString &name, FormulaContext formulas)
    : m_ws(worksheet), m_formats(formats), m_book(book), m_sheet(book.sheet(index)), m_name(name),
      m_formulas(std::move(formulas)), m_setup(BiffSheetSetup::read(m_sheet))
{
    const TWorkSheet &sheet = m_sheet;
    for (const CellArea &m : sheet.merged())
        if (m.firstRow != m.lastRow || m.firstColumn != m.lastColumn)
            m_merges.push_back({m.firstRow, m.firstColumn, m.lastRow, m.lastColumn});
    // By first row, merges within one row before those over two: the order in
    // which constant-memory mode can write them, kept in either mode.
    std::sort(m_merges.begin(), m_merges.end(), [](const auto &a, const auto &b) {
        return std::tie(a[0], a[2], a[1], a[3]) < std::tie(b[0], b[2], b[1], b[3]);
    });
    for (int i = 0; i < int(m_setup.notes.size()); ++i)
        m_notes.emplace_back(sheet.drawing().noteRow(m_setup.notes[size_t(i)].record), i);
    std::sort(m_notes.begin(), m_notes.end());
    m_beyondBiff = sheet.lastRow() > kBiffLastRow;
    m_rowByRow = worksheet->optimize != 0; // the workbook's constant-memory mode
}

// Notes are written; pictures, charts and shapes are not carried.
void XlsxSheetWriter::refuseDrawings() const
{
    if (m_sheet.hasDrawnObjects())
        throw Error(QStringLiteral("List \"%1\" obsahuje obrázek, graf nebo jiný kreslený objekt, který ve "
                                   "formátu .xlsx uložit nelze; uložte sestavu ve formátu .xls.")
                        .arg(m_name));
}

bool XlsxSheetWriter::writableRowByRow(const TWorkSheet &sheet)
{
    for (const CellArea &m : sheet.merged())
        if (m.lastRow > m.firstRow + 1)
            return false;
    for (const RowData &row : sheet.rows())
        for (const Cell &c : row.cells)
            if (const FormulaData *f = c.formula()) {
                const std::optional<ArrayFormula> array = f->array();
                if (array && array->range.firstRow != array->range.lastRow)
                    return false;
            }
    return true;
}

QString XlsxSheetWriter::cellName(int row, int col) const
{
    return columnName(col) + QString::number(row + 1);
}

void XlsxSheetWriter::check(lxw_error error, int row, int col) const
{
    if (error == LXW_NO_ERROR)
        return;
    throw Error(QStringLiteral("Buňku %1 listu \"%2\" nelze uložit ve formátu .xlsx: %3.")
                    .arg(cellName(row, col), m_name, libraryErrorText(error)));
}

void XlsxSheetWriter::checkSheet(lxw_error error, const QString &what) const
{
    if (error != LXW_NO_ERROR)
        throw Error(QStringLiteral("%1 listu \"%2\" nelze uložit ve formátu .xlsx: %3.")
                        .arg(what, m_name, libraryErrorText(error)));
}

void XlsxSheetWriter::writeRows(const RowsDone &rowsDone)
{
    const auto &rows = m_sheet.rows();
    int last = int(rows.size()) - 1;
    if (!m_notes.empty())
        last = std::max(last, m_notes.back().first);
    if (!m_merges.empty())
        last = std::max(last, m_merges.back()[0]);
    for (int r = 0; r <= last; ++r) {
        const RowData *row = r < int(rows.size()) ? &rows[size_t(r)] : nullptr;
        if (row && row->hasRecord)
            writeRowFormat(r);
        openMerges(r);
        if (row)
            for (const Cell &c : row->cells)
                writeCell(r, c);
        fillMergedGaps(r);
        writeNotes(r);
        writeTwoRowMerges(r);
        if (rowsDone && (r + 1) % kRowsPerReport == 0)
            rowsDone(kRowsPerReport);
    }
    if (rowsDone)
        rowsDone((last + 1) % kRowsPerReport);
}

void XlsxSheetWriter::writeRowFormat(int row)
{
    const RowFormat rf = m_sheet.rows()[size_t(row)].format();
    lxw_row_col_options options{};
    options.level = uint8_t(rf.outlineLevel);
    options.collapsed = rf.collapsed ? 1 : 0;
    options.hidden = rf.hidden ? 1 : 0;
    lxw_format *format = rf.format >= 0 ? m_formats.cell(rf.format) : nullptr;
    check(worksheet_set_row_opt(m_ws, lxw_row_t(row), rf.heightTwips / 20.0, format, &options), row, 0);
}

// A merge writes its value and format into every cell of its area; the
// cells of the model written afterwards replace them. In constant-memory mode
// a row is flushed as soon as a later row is written, so a merge over two rows
// is registered only once its first row is complete (writeTwoRowMerges).
void XlsxSheetWriter::openMerges(int row)
{
    for (; m_nextMerge < m_merges.size() && m_merges[m_nextMerge][0] <= row; ++m_nextMerge) {
        const auto &m = m_merges[m_nextMerge];
        if (m[0] < row)
            continue; // begins above the first row written: not possible in a loaded sheet
        if (m_rowByRow && m[2] > m[0])
            m_twoRowMerges.push_back(m);
        else
            writeMerge(m);
        m_openMerges.push_back(m);
    }
}

// The next row is begun first (its height and format set), which flushes
// the complete first row: the merge's writes into it are then dropped by
// libxlsxwriter and its blanks start the next row, whose cells follow.
void XlsxSheetWriter::writeTwoRowMerges(int row)
{
    if (m_twoRowMerges.empty())
        return;
    const RowData *next = m_sheet.row(row + 1);
    if (next && next->hasRecord)
        writeRowFormat(row + 1);
    else
        check(worksheet_set_row_opt(m_ws, lxw_row_t(row + 1), LXW_DEF_ROW_HEIGHT, nullptr, nullptr), row + 1, 0);
    for (const auto &m : m_twoRowMerges)
        writeMerge(m);
    m_twoRowMerges.clear();
}

void XlsxSheetWriter::writeMerge(const std::array<int, 4> &m)
{
    const RowData *first = m_sheet.row(m[0]);
    const Cell *anchor = first ? first->find(m[1]) : nullptr;
    lxw_format *format = m_formats.cell(anchor ? anchor->xf : m_sheet.defaultFormat(first ? *first : kNoRow, m[1]));
    check(worksheet_merge_range(m_ws, lxw_row_t(m[0]), lxw_col_t(m[1]), lxw_row_t(m[2]), lxw_col_t(m[3]), "",
                                format),
          m[0], m[1]);
}

// The merge wrote its own value and format into every cell of the area;
// cells the model does not hold get back the format they have in the .xls.
void XlsxSheetWriter::fillMergedGaps(int row)
{
    for (const auto &m : m_openMerges) {
        if (row < m[0] || row > m[2])
            continue;
        const RowData *rd = m_sheet.row(row);
        for (int col = m[1]; col <= m[3]; ++col)
            if (!rd || !rd->find(col))
                check(worksheet_write_blank(m_ws, lxw_row_t(row), lxw_col_t(col),
                                            m_formats.cell(m_sheet.defaultFormat(rd ? *rd : kNoRow, col))),
                      row, col);
    }
    std::erase_if(m_openMerges, [row](const auto &m) { return m[2] <= row; });
}

void XlsxSheetWriter::writeCell(int row, const Cell &c)
{
    lxw_format *format = m_formats.cell(c.xf);
    const auto r = lxw_row_t(row);
    const auto col = lxw_col_t(c.col);
    switch (c.type()) {
    case CellType::Blank:
        check(worksheet_write_blank(m_ws, r, col, format), row, c.col);
        return;
    case CellType::Number:
        if (std::isfinite(c.num()))
            check(worksheet_write_number(m_ws, r, col, c.num(), format), row, c.col);
        else
            writeFormulaText(row, c.col, QStringLiteral("#NUM!"), format);
        return;
    case CellType::Text:
        writeText(row, c.col, c.str(), format);
        return;
    case CellType::Bool:
        check(worksheet_write_boolean(m_ws, r, col, c.boolErr() != 0, format), row, c.col);
        return;
    case CellType::Error: {
        // An error value has no cell form of its own here: a formula of the error.
        writeFormulaText(row, c.col, errorText(c.boolErr()), format);
        return;
    }
    case CellType::Formula:
        writeFormula(row, c, format);
        return;
    }
}

// Formatting runs ([MS-XLS] 2.5.129 FormatRun: ich, ifnt) split the text
// into fragments; the text before the first run has the cell's font.
void XlsxSheetWriter::writeText(int row, int col, uint32_t index, lxw_format *format)
{
    const QString &text = m_book.text(index);
    const std::vector<TextRun> runs = m_book.textRuns(index);
    if (runs.empty() || text.isEmpty()) {
        check(worksheet_write_string(m_ws, lxw_row_t(row), lxw_col_t(col), textBytes(text).constData(), format),
              row, col);
        return;
    }
    struct Fragment {
        int from;
        int font;
    };
    const RowData *rd = m_sheet.row(row);
    const Cell *cell = rd ? rd->find(col) : nullptr;
    std::vector<Fragment> fragments{{0, -1}};
    for (const TextRun &run : runs)
        fragments.push_back({std::min(run.from, int(text.size())), run.font});
    std::vector<QByteArray> texts;
    std::vector<lxw_rich_string_tuple> tuples;
    for (size_t i = 0; i < fragments.size(); ++i) {
        const int end = i + 1 < fragments.size() ? fragments[i + 1].from : int(text.size());
        if (end <= fragments[i].from)
            continue;
        texts.push_back(textBytes(text.mid(fragments[i].from, end - fragments[i].from)));
        const int font = fragments[i].font >= 0 ? fragments[i].font
                                                : m_formats.fontOf(cell ? cell->xf : 15);
        tuples.push_back({m_formats.font(font), nullptr});
    }
    if (tuples.size() < 2) {
        check(worksheet_write_string(m_ws, lxw_row_t(row), lxw_col_t(col), textBytes(text).constData(), format),
              row, col);
        return;
    }
    std::vector<lxw_rich_string_tuple *> list;
    for (size_t i = 0; i < tuples.size(); ++i) {
        tuples[i].string = const_cast<char *>(texts[i].constData());
        list.push_back(&tuples[i]);
    }
    list.push_back(nullptr);
    check(worksheet_write_rich_string(m_ws, lxw_row_t(row), lxw_col_t(col), list.data(), format), row, col);
}

void XlsxSheetWriter::writeFormula(int row, const Cell &c, lxw_format *format)
{
    const FormulaData &f = *c.formula();
    if (f.isDataTable())
        throw Error(QStringLiteral("Tabulku dat v buňce %1 listu \"%2\" nelze uložit ve formátu .xlsx.")
                        .arg(cellName(row, c.col), m_name));
    const std::optional<ArrayFormula> array = f.array();
    if (!array && f.isArrayMember())
        return; // a cell of an array formula, written with its anchor
    const QByteArray &rgce = array ? array->rgce : f.rgce;
    const QByteArray &rgcb = array ? array->extra : f.extra;
    // References cannot reach past BIFF8's last row inside the model: one
    // that sits there in a longer sheet was cut off, and would be wrong.
    if (m_beyondBiff && highestReferencedRow(rgce) == kBiffLastRow)
        throw Error(QStringLiteral("Vzorec v buňce %1 listu \"%2\" by odkazoval za řádek %3; "
                                   "ve formátu .xlsx jej nelze uložit správně.")
                        .arg(cellName(row, c.col), m_name)
                        .arg(kBiffRows));
    FormulaContext context = m_formulas;
    context.row = row;
    context.column = c.col;
    QString text;
    try {
        text = formulaText(rgce, rgcb, context, FormulaTextForm::Cell);
    } catch (const UnconvertibleToken &t) {
        throw Error(QStringLiteral("Vzorec v buňce %1 listu \"%2\" nelze uložit ve formátu .xlsx "
                                   "(token 0x%3).")
                        .arg(cellName(row, c.col), m_name)
                        .arg(t.id, 2, 16, QLatin1Char('0')));
    }
    if (array) {
        const CellArea &range = array->range;
        const QByteArray formula = xmlText(QStringLiteral("{=") + text + QLatin1Char('}'), XmlPlace::Formula);
        check(worksheet_write_array_formula(m_ws, lxw_row_t(range.firstRow), lxw_col_t(range.firstColumn),
                                            lxw_row_t(range.lastRow), lxw_col_t(range.lastColumn),
                                            formula.constData(), format),
              row, c.col);
        return;
    }
    if (f.result) {
        check(worksheet_write_formula_num(m_ws, lxw_row_t(row), lxw_col_t(c.col),
                                          xmlText(text, XmlPlace::Formula).constData(), format, *f.result),
              row, c.col);
        return;
    }
    writeFormulaText(row, c.col, text, format);
}

// Without a stored result the value is left empty, as in the .xls: readers
// calculate it on opening (LibreOffice does so only for an empty result).
void XlsxSheetWriter::writeFormulaText(int row, int col, const QString &formula, lxw_format *format)
{
    check(worksheet_write_formula_str(m_ws, lxw_row_t(row), lxw_col_t(col),
                                      xmlText(formula, XmlPlace::Formula).constData(), format, ""),
          row, col);
}

void XlsxSheetWriter::writeNotes(int row)
{
    for (; m_nextNote < m_notes.size() && m_notes[m_nextNote].first <= row; ++m_nextNote) {
        if (m_notes[m_nextNote].first < row)
            continue;
        const BiffNote &note = m_setup.notes[size_t(m_notes[m_nextNote].second)];
        const SheetDrawing &drawing = m_sheet.drawing();
        const int col = drawing.noteColumn(note.record);
        if (m_beyondBiff && row == kBiffLastRow)
            throw Error(QStringLiteral("Komentář v buňce %1 listu \"%2\" leží za řádkem %3; "
                                       "ve formátu .xlsx jej nelze uložit správně.")
                            .arg(cellName(row, col), m_name)
                            .arg(kBiffRows));
        const QByteArray noteText = textBytes(drawing.noteText(note.record));
        QByteArray author = textBytes(note.author);
        lxw_comment_options options{};
        options.visible = note.shown ? LXW_COMMENT_DISPLAY_VISIBLE : LXW_COMMENT_DISPLAY_HIDDEN;
        options.author = author.isEmpty() ? nullptr : author.data();
        check(worksheet_write_comment_opt(m_ws, lxw_row_t(row), lxw_col_t(col), noteText.constData(), &options),
              row, col);
    }
}

} // namespace kasovka::xlsx
