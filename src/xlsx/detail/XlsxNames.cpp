#include "xlsx/detail/XlsxNames.h"

#include "workbook/TWorkbook.h"
#include "xlsx/detail/XmlText.h"

#include <QRegularExpression>

namespace kasovka::xlsx {

namespace {

constexpr int kBiffLastRow = 65535, kLastColumn = 255;

// A name the format accepts: a letter, "_" or a backslash first, then
// letters, digits, "_", "." and backslashes; nothing that reads as a cell
// (A1 or R1C1).
bool acceptedName(const QString &name)
{
    static const QRegularExpression form(QStringLiteral("^[\\p{L}_\\\\][\\p{L}\\p{N}_.\\\\]{0,254}\\z"));
    static const QRegularExpression cellLike(QStringLiteral("^([A-Za-z]{1,3}[0-9]+|[Rr][0-9]*[Cc]?[0-9]*|[Cc][0-9]*)\\z"));
    return form.match(name).hasMatch() && !cellLike.match(name).hasMatch();
}

} // namespace

XlsxNames::XlsxNames(const TWorkbook &book) : m_book(book), m_addInNames(book.globals().addInFunctions())
{
    m_print.resize(size_t(book.sheetCount()));
    for (const NameEntry &n : book.globals().names()) {
        if (n.scope < 1 || n.scope > book.sheetCount())
            continue;
        SheetPrintNames &print = m_print[size_t(n.scope - 1)];
        const std::vector<TokenArea> found = book.globals().nameAreas(n);
        if (n.name == QLatin1String("Print_Titles")) {
            for (const TokenArea &a : found) {
                if (a.firstColumn == 0 && a.lastColumn == kLastColumn)
                    print.titleRows = std::make_pair(a.firstRow, a.lastRow);
                else if (a.firstRow == 0 && a.lastRow == kBiffLastRow)
                    print.titleColumns = std::make_pair(a.firstColumn, a.lastColumn);
            }
        } else if (n.name == QLatin1String("Print_Area") && !found.empty()) {
            const TokenArea &a = found.front();
            print.printArea = std::array<int, 4>{a.firstRow, a.lastRow, a.firstColumn, a.lastColumn};
        }
    }
}

std::optional<QString> XlsxNames::sheetPrefix(int ixti) const
{
    const auto &globals = m_book.globals();
    const std::optional<ExternSheet> x = globals.externSheet(ixti);
    if (!x || !globals.inThisWorkbook(*x))
        return std::nullopt;
    const auto &sheets = globals.sheets();
    if (x->first < 0 || x->first >= int(sheets.size()) || x->last < x->first || x->last >= int(sheets.size()))
        return QStringLiteral("#REF!");
    const QString &first = sheets[size_t(x->first)].name, &last = sheets[size_t(x->last)].name;
    if (x->first == x->last)
        return quotedSheetName(first) + QLatin1Char('!');
    const QString span = first + QLatin1Char(':') + last;
    const bool plain = quotedSheetName(first) == first && quotedSheetName(last) == last;
    return (plain ? span : QLatin1Char('\'') + QString(span).replace(QLatin1Char('\''), QStringLiteral("''"))
                               + QLatin1Char('\''))
        + QLatin1Char('!');
}

std::optional<QString> XlsxNames::addInName(int ixti, int index) const
{
    const std::optional<ExternSheet> x = m_book.globals().externSheet(ixti);
    if (!x)
        return std::nullopt;
    const int supBook = x->supBook;
    if (supBook < 0 || supBook >= int(m_addInNames.size()) || index < 1
        || index > int(m_addInNames[size_t(supBook)].size()))
        return std::nullopt;
    return m_addInNames[size_t(supBook)][size_t(index - 1)];
}

// libxlsxwriter checks the same rules, but prints its English reason to the
// console; it counts the characters of the name as written, escapes
// included. Excel compares names regardless of case.
QString sheetNameProblem(const QString &name, const QStringList &earlier)
{
    if (name.isEmpty())
        return QStringLiteral("název listu je prázdný");
    if (name.size() > LXW_SHEETNAME_MAX)
        return QStringLiteral("název listu je delší než %1 znaků").arg(LXW_SHEETNAME_MAX);
    for (const QChar c : name)
        if (QStringView(u"[]:*?/\\").contains(c))
            return QStringLiteral("název listu nesmí obsahovat znaky [ ] : * ? / \\");
    if (name.startsWith(QLatin1Char('\'')) || name.endsWith(QLatin1Char('\'')))
        return QStringLiteral("název listu nesmí začínat ani končit apostrofem");
    if (earlier.contains(name, Qt::CaseInsensitive))
        return QStringLiteral("stejný název má už jiný list");
    if (utf8Length(xmlText(name, XmlPlace::Attribute)) > LXW_SHEETNAME_MAX)
        return QStringLiteral("název listu obsahuje řídicí znaky a zapsaný by byl delší než %1 znaků")
            .arg(LXW_SHEETNAME_MAX);
    return {};
}

FormulaContext XlsxNames::formulaContext() const
{
    FormulaContext context;
    context.sheetPrefix = [this](int ixti) { return sheetPrefix(ixti); };
    context.addInName = [this](int ixti, int index) { return addInName(ixti, index); };
    context.name = [this](int index) {
        const auto &names = m_book.globals().names();
        return index >= 1 && index <= int(names.size()) ? names[size_t(index - 1)].name
                                                        : QStringLiteral("#NAME?");
    };
    return context;
}

SheetPrintNames XlsxNames::printNames(int sheet) const
{
    return sheet >= 0 && sheet < int(m_print.size()) ? m_print[size_t(sheet)] : SheetPrintNames{};
}

void XlsxNames::define(lxw_workbook *workbook) const
{
    const auto &sheets = m_book.globals().sheets();
    const FormulaContext context = formulaContext();
    for (const NameEntry &n : m_book.globals().names()) {
        if (n.hidden || n.function || n.builtIn || n.cce == 0)
            continue;
        QString formula;
        try {
            formula = formulaText(m_book.globals().nameTokens(n), {}, context, FormulaTextForm::Cell);
        } catch (const UnconvertibleToken &) {
            continue; // a name of another workbook: nothing in this one refers to it
        }
        QString name = n.name;
        if (n.scope >= 1 && n.scope <= int(sheets.size()))
            name = quotedSheetName(sheets[size_t(n.scope - 1)].name) + QLatin1Char('!') + name;
        const QByteArray nameBytes = xmlText(name, XmlPlace::Attribute);
        const QByteArray formulaBytes = xmlText(QLatin1Char('=') + formula, XmlPlace::Formula);
        // A name the format does not accept is left out; cells never depend on it,
        // their formulas hold the references themselves. So is one that does
        // not fit the 127 bytes libxlsxwriter keeps of a name and its formula:
        // it would cut them short, even inside a character.
        if (!acceptedName(n.name) || nameBytes.size() >= LXW_DEFINED_NAME_LENGTH
            || formulaBytes.size() >= LXW_DEFINED_NAME_LENGTH)
            continue;
        workbook_define_name(workbook, nameBytes.constData(), formulaBytes.constData());
    }
}

} // namespace kasovka::xlsx
