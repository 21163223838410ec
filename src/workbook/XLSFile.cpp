// The workbook object the template engine talks to: argument checks,
// counting from 1, and the rules for storing cell values.

#include "workbook/Workbook.h"

#include "core/OutputFile.h"

#include "workbook/Errors.h"
#include "workbook/FormulaResults.h"
#include "workbook/FormulaText.h"
#include "workbook/FormulaTokens.h"
#include "workbook/RowHeights.h"
#include "workbook/TWorkbook.h"
#include "workbook/detail/Bytes.h"

#include <QFile>
#include <QFileInfo>

namespace kasovka {

using namespace detail;

namespace {

constexpr int kMaxColumn = 256, kMaxText = 32767;

// The checks run once per cell written; their errors are built out of line.
[[noreturn]] Q_DECL_COLD_FUNCTION void throwError(const QString &text)
{
    throw Error(text);
}

void checkRow(int row, int limit)
{
    if (row < 1 || row > limit) [[unlikely]]
        throwError(xlstext::invalidRow(row));
}

void checkColumn(int column)
{
    if (column < 1 || column > kMaxColumn) [[unlikely]]
        throwError(xlstext::invalidColumn(column));
}

void checkSheet(int sheet, int count)
{
    if (sheet < 1 || sheet > count) [[unlikely]]
        throwError(xlstext::invalidSheet(sheet, 1, count));
}

enum class ValueKind { Empty, Bool, Number, Text };

// What a value becomes in a cell; `text` receives a text's characters.
ValueKind kindOf(const QVariant &v, QString &text)
{
    if (!v.isValid() || v.isNull())
        return ValueKind::Empty;
    switch (v.typeId()) {
    case QMetaType::Bool:
        return ValueKind::Bool;
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong:
    case QMetaType::ULongLong: case QMetaType::Double: case QMetaType::Float:
    case QMetaType::Short: case QMetaType::UShort: case QMetaType::Long: case QMetaType::ULong:
        return ValueKind::Number;
    default:
        text = v.toString();
        return text.isEmpty() ? ValueKind::Empty : ValueKind::Text;
    }
}

// The listing names a 3-D reference's sheets as they are, or its
// EXTERNSHEET index when they are not in this workbook.
FormulaContext listingContext(const TWorkbook &book)
{
    FormulaContext context;
    context.sheetPrefix = [&book](int ixti) -> std::optional<QString> {
        const auto &g = book.globals();
        const int first = g.ixtiFirstSheet(ixti), last = g.ixtiLastSheet(ixti);
        if (first < 0 || last < first || last >= book.sheetCount())
            return QStringLiteral("[%1]!").arg(ixti);
        const QString name = g.sheets()[first].name;
        return (first == last ? name : name + QLatin1Char(':') + g.sheets()[last].name) + QLatin1Char('!');
    };
    return context;
}

XlsCell describe(const Cell &c, const TWorkbook &book)
{
    const StringPool &strings = book.strings();
    XlsCell out;
    out.format = c.xf;
    switch (c.type()) {
    case CellType::Blank: out.kind = XlsCellKind::Blank; break;
    case CellType::Number: out.kind = XlsCellKind::Number; out.value = c.num(); break;
    case CellType::Text: out.kind = XlsCellKind::Text; out.value = strings.at(c.str()).text; break;
    case CellType::Bool: out.kind = XlsCellKind::Bool; out.value = c.boolErr() != 0; break;
    case CellType::Error: out.kind = XlsCellKind::Error; out.value = int(c.boolErr()); break;
    case CellType::Formula:
        out.kind = XlsCellKind::Formula;
        out.formula = formulaText(c.formula()->rgce, c.formula()->extra, listingContext(book),
                                  FormulaTextForm::Listing);
        break;
    }
    return out;
}

} // namespace

TXLSFile::TXLSFile() = default;
TXLSFile::~TXLSFile() = default;

void TXLSFile::open(const QString &path)
{
    QString resolved = path;
    if (!QFileInfo(resolved).isFile() && QFileInfo(path).suffix().isEmpty())
        resolved = path + QStringLiteral(".xls");
    if (!QFileInfo(resolved).isFile())
        throw Error(xlstext::cantFindFile(path));
    QFile file(resolved);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(xlstext::cantReadFile(resolved));
    const QByteArray bytes = file.readAll();
    auto book = std::make_unique<TWorkbook>();
    book->load(bytes, resolved);
    book->setRowLimit(m_rowLimit);
    m_book = std::move(book);
    m_active = m_book->globals().activeSheet() + 1;
}

void TXLSFile::setRowLimit(int rows)
{
    m_rowLimit = std::clamp(rows, kBiffRows, kMaxSheetRows);
    if (m_book)
        m_book->setRowLimit(m_rowLimit);
}

void TXLSFile::save(const QString &path)
{
    TOutputFile output(path);
    save(output);
}

void TXLSFile::save(TOutputFile &output)
{
    if (!m_book)
        throw Error(QStringLiteral("Soubor %1 nelze zapsat: sešit nebyl načten.").arg(output.displayPath()));
    // Rows beyond BIFF8's range have no place in this format.
    for (int i = 0; i < m_book->sheetCount(); ++i)
        if (m_book->sheet(i).lastRow() >= kBiffRows)
            throw Error(xlstext::invalidRow(m_book->sheet(i).lastRow() + 1));
    output.open();
    if (!m_book->save(output.device()))
        output.writeFailed();
    output.commit();
}

int TXLSFile::sheetCount() const
{
    return m_book ? m_book->sheetCount() : 0;
}

QString TXLSFile::sheetName(int sheet) const
{
    checkSheet(sheet, sheetCount());
    return m_book->globals().sheets()[sheet - 1].name;
}

XlsSheetKind TXLSFile::sheetKind(int sheet) const
{
    checkSheet(sheet, sheetCount());
    return m_book->sheet(sheet - 1).isChart() ? XlsSheetKind::Chart : XlsSheetKind::Worksheet;
}

int TXLSFile::activeSheet() const
{
    return m_active;
}

void TXLSFile::setActiveSheet(int sheet)
{
    checkSheet(sheet, sheetCount());
    m_active = sheet;
}

void TXLSFile::selectFirstSheet()
{
    if (sheetCount() == 0)
        return;
    m_book->globals().selectFirstSheet();
    for (int i = 0; i < sheetCount(); ++i)
        m_book->sheet(i).setSelected(i == 0);
    m_active = 1;
}

int TXLSFile::namedRangeCount() const
{
    return m_book ? int(m_book->globals().names().size()) : 0;
}

XlsDefinedName TXLSFile::namedRange(int index) const
{
    if (!m_book)
        throw Error(xlstext::tooManyEntries(index, -1));
    const auto &names = m_book->globals().names();
    if (index < 0 || index >= int(names.size()))
        throw Error(xlstext::tooManyEntries(index, int(names.size()) - 1));
    const NameEntry &n = names[index];
    XlsDefinedName out;
    out.name = n.name;
    out.scopeSheet = n.scope;
    out.raw = m_book->globals().nameTokens(n);
    const std::optional<TokenArea> area = singleArea(out.raw);
    if (!area)
        return out;
    const int sheet = area->ixti < 0 ? n.scope - 1 : m_book->globals().ixtiFirstSheet(area->ixti);
    if (sheet < 0 || sheet >= sheetCount())
        return out;
    out.isArea = true;
    out.sheet = sheet + 1;
    out.firstRow = area->firstRow + 1;
    out.lastRow = area->lastRow + 1;
    out.firstColumn = area->firstColumn + 1;
    out.lastColumn = area->lastColumn + 1;
    return out;
}

bool TXLSFile::removeNamedRange(int index)
{
    if (!m_book || index < 0 || index >= namedRangeCount())
        throw Error(xlstext::tooManyEntries(index, namedRangeCount() - 1));
    if (m_book->referencesNamesFrom(index))
        return false;
    m_book->globals().removeName(index);
    return true;
}

int TXLSFile::storeFormulaResults()
{
    TWorkSheet &sheet = writableSheet();
    int left = 0;
    for (const FormulaResult &r : formulaResults(sheet)) {
        sheet.rowForWrite(r.row).find(r.column)->formula()->result = r.value;
        left += r.value ? 0 : 1;
    }
    return left;
}

int TXLSFile::fitWrappedRows()
{
    return kasovka::fitWrappedRows(writableSheet(), *m_book);
}

TWorkSheet &TXLSFile::activeWorkSheet() const
{
    checkSheet(m_active, sheetCount());
    return m_book->sheet(m_active - 1);
}

TWorkSheet &TXLSFile::writableSheet()
{
    TWorkSheet &sheet = activeWorkSheet();
    // A chart sheet has no cell table: what was written there would be lost.
    if (sheet.isChart()) [[unlikely]]
        throwError(xlstext::invalidSheet(m_active, 1, sheetCount()));
    return sheet;
}

int TXLSFile::lastRow() const
{
    return activeWorkSheet().lastRow() + 1;
}

XlsCell TXLSFile::cell(int row, int column) const
{
    checkRow(row, m_rowLimit);
    checkColumn(column);
    const RowData *rd = activeWorkSheet().row(row - 1);
    const Cell *c = rd ? rd->find(column - 1) : nullptr;
    return c ? describe(*c, *m_book) : XlsCell{};
}

void TXLSFile::setCell(int row, int column, const QVariant &value, int format)
{
    checkRow(row, m_rowLimit);
    checkColumn(column);
    TWorkSheet &sheet = writableSheet();
    const int r = row - 1, c = column - 1;
    QString text;
    const ValueKind kind = kindOf(value, text);
    // Checked before anything changes, so that a refused text leaves the
    // cell as it was.
    if (text.size() > kMaxText)
        throw Error(xlstext::stringTooLarge());
    RowData &rd = sheet.rowForWrite(r);
    std::vector<Cell> &cells = rd.cells;
    // Rows are mostly filled from left to right.
    auto it = cells.empty() || cells.back().col < c
        ? cells.end()
        : std::lower_bound(cells.begin(), cells.end(), c, [](const Cell &x, int v) { return x.col < v; });
    const bool exists = it != cells.end() && it->col == c;
    const int fallback = sheet.defaultFormat(rd, c);
    const int xf = format >= 0 ? format : exists ? it->xf : fallback;
    if (kind == ValueKind::Empty && xf == fallback) {
        if (exists)
            cells.erase(it);
        return;
    }
    const uint32_t string = kind == ValueKind::Text ? m_book->strings().addPlain(text) : 0;
    if (!exists)
        it = cells.emplace(it);
    it->col = uint16_t(c);
    it->xf = uint16_t(xf);
    switch (kind) {
    case ValueKind::Empty: it->setBlank(); break;
    case ValueKind::Bool: it->setBool(value.toBool() ? 1 : 0); break;
    case ValueKind::Number:
        it->setNumber(value.typeId() == QMetaType::Double ? *static_cast<const double *>(value.constData())
                                                          : value.toDouble());
        break;
    case ValueKind::Text: it->setText(string); break;
    }
}

void TXLSFile::insertAndCopyRows(int first, int last, int destination, int count,
                                 bool formulasOnly)
{
    const int f = first - 1, l = last - 1, d = destination - 1;
    const long long end = d + (long long)count * (l - f + 1);
    if (f > l || f < 0 || l > m_rowLimit - 1 || (d > f && d <= l) || d < 0 || count < 0
        || end > m_rowLimit - 1)
        throw Error(xlstext::invalidInsertArguments());
    writableSheet();
    m_book->insertAndCopyRows(m_active - 1, f, l, d, count, formulasOnly);
}

void TXLSFile::deleteRows(int first, int count)
{
    checkRow(first, m_rowLimit);
    if (count < 0 || (long long)first + count - 1 > m_rowLimit)
        throw Error(xlstext::invalidRow(first + count - 1));
    writableSheet();
    m_book->deleteRows(m_active - 1, first - 1, count);
}

void TXLSFile::addPageBreak(int row)
{
    checkRow(row, m_rowLimit);
    writableSheet().addPageBreak(row - 1);
}

QList<int> TXLSFile::pageBreaks() const
{
    QList<int> out;
    for (const auto &b : activeWorkSheet().rowBreaks())
        out.append(b.at + 1);
    return out;
}

namespace {

QList<XlsPageBreak> breakList(const std::vector<PageBreak> &breaks)
{
    QList<XlsPageBreak> out;
    for (const auto &b : breaks)
        out.append({b.at + 1, b.first + 1, b.last + 1});
    return out;
}

} // namespace

QList<XlsPageBreak> TXLSFile::rowPageBreaks() const
{
    return breakList(activeWorkSheet().rowBreaks());
}

QList<XlsPageBreak> TXLSFile::columnPageBreaks() const
{
    return breakList(activeWorkSheet().columnBreaks());
}

QList<XlsCellEntry> TXLSFile::cells() const
{
    QList<XlsCellEntry> out;
    const auto &rows = activeWorkSheet().rows();
    for (int r = 0; r < int(rows.size()); ++r)
        for (const auto &c : rows[r].cells)
            out.append({r + 1, c.col + 1, describe(c, *m_book)});
    return out;
}

} // namespace kasovka
