#include "workbook/FormulaResults.h"

#include "workbook/WorkSheet.h"

#include <cmath>
#include <unordered_map>

namespace kasovka {

namespace {

constexpr int kSumFunction = 4; // [MS-XLS] 2.5.198.17 Ftab: SUM
constexpr int kAttrSemiVolatile = 0x01, kAttrSpace = 0x40;
// Decimals a result may be rounded to; a product of amounts has four.
constexpr int kMaxDecimals = 6;
// Formulas evaluated inside one another at most: a column whose every row
// refers to the next one would otherwise exhaust the stack. What lies
// deeper is left without a result.
constexpr int kMaxDepth = 1000;

// A number and how many decimals it holds at most (-1: more than we track,
// so the result is stored as calculated).
struct Number {
    double value = 0;
    int decimals = 0;
};

int decimalsOf(double v)
{
    double scale = 1;
    for (int d = 0; d <= 2; ++d, scale *= 10)
        if (std::round(v * scale) / scale == v)
            return d;
    return -1;
}

int combined(int a, int b, bool add)
{
    if (a < 0 || b < 0)
        return -1;
    const int d = add ? a + b : std::max(a, b);
    return d <= kMaxDecimals ? d : -1;
}

// An operand on the evaluation stack: a number, or cells of the sheet.
struct Operand {
    bool isReference = false;
    Number number;
    int firstRow = 0, lastRow = 0, firstColumn = 0, lastColumn = 0;
};

class Evaluator {
public:
    explicit Evaluator(const TWorkSheet &sheet) : m_sheet(sheet) {}

    std::optional<Number> result(int row, int col, const FormulaData &f);

private:
    enum class State { Busy, Done, Failed };
    struct Memo {
        State state = State::Busy;
        Number number;
    };
    // What a cell adds to a SUM (inRange) or gives as an operand; nullopt
    // when it has no number, or is text outside a SUM.
    std::optional<Number> cellNumber(int row, int col, bool inRange);
    std::optional<Number> value(const Operand &o);
    std::optional<Number> sum(const std::vector<Operand> &arguments);
    std::optional<Number> evaluate(const QByteArray &rgce);

    const TWorkSheet &m_sheet;
    std::unordered_map<int, Memo> m_memo; // by row * 256 + column
    int m_depth = 0;
};

std::optional<Number> Evaluator::result(int row, int col, const FormulaData &f)
{
    const int key = row * 256 + col;
    if (auto it = m_memo.find(key); it != m_memo.end()) {
        if (it->second.state == State::Done)
            return it->second.number;
        return std::nullopt; // failed, or a formula that refers to itself
    }
    if (m_depth >= kMaxDepth)
        return std::nullopt;
    m_memo[key] = {};
    std::optional<Number> n;
    if (!f.isDataTable() && !f.isArrayMember() && !f.array()) {
        ++m_depth;
        n = evaluate(f.rgce);
        --m_depth;
    }
    m_memo[key] = n ? Memo{State::Done, *n} : Memo{State::Failed, {}};
    return n;
}

std::optional<Number> Evaluator::cellNumber(int row, int col, bool inRange)
{
    const RowData *r = m_sheet.row(row);
    const Cell *c = r ? r->find(col) : nullptr;
    if (!c)
        return Number{};
    switch (c->type()) {
    case CellType::Blank: return Number{};
    case CellType::Number: return Number{c->num(), decimalsOf(c->num())};
    case CellType::Text: case CellType::Bool:
        if (inRange)
            return Number{};
        return std::nullopt;
    case CellType::Error: return std::nullopt;
    case CellType::Formula: return result(row, col, *c->formula());
    }
    return std::nullopt;
}

std::optional<Number> Evaluator::value(const Operand &o)
{
    if (!o.isReference)
        return o.number;
    if (o.firstRow != o.lastRow || o.firstColumn != o.lastColumn)
        return std::nullopt;
    return cellNumber(o.firstRow, o.firstColumn, false);
}

std::optional<Number> Evaluator::sum(const std::vector<Operand> &arguments)
{
    Number total;
    for (const Operand &o : arguments) {
        if (!o.isReference) {
            total = {total.value + o.number.value, combined(total.decimals, o.number.decimals, false)};
            continue;
        }
        for (int row = o.firstRow; row <= o.lastRow; ++row) {
            for (int col = o.firstColumn; col <= o.lastColumn; ++col) {
                const std::optional<Number> n = cellNumber(row, col, true);
                if (!n)
                    return std::nullopt;
                total = {total.value + n->value, combined(total.decimals, n->decimals, false)};
            }
        }
    }
    return total;
}

std::optional<Number> Evaluator::evaluate(const QByteArray &rgce)
{
    std::vector<Operand> stack;
    FormulaTokenizer tokens(rgce);
    for (FormulaToken t; tokens.next(t);) {
        switch (t.kind) {
        case TokenKind::Int:
            stack.push_back({false, {double(t.value), 0}});
            break;
        case TokenKind::Num:
            stack.push_back({false, {t.number, decimalsOf(t.number)}});
            break;
        case TokenKind::Ref: case TokenKind::Area: {
            if (t.first.row > t.last.row || t.first.column > t.last.column)
                return std::nullopt;
            Operand o;
            o.isReference = true;
            o.firstRow = t.first.row;
            o.lastRow = t.last.row;
            o.firstColumn = t.first.column & 0xFF;
            o.lastColumn = t.last.column & 0xFF;
            stack.push_back(o);
            break;
        }
        case TokenKind::Add: case TokenKind::Sub: case TokenKind::Mul: case TokenKind::Div: {
            if (stack.size() < 2)
                return std::nullopt;
            const std::optional<Number> b = value(stack.back());
            stack.pop_back();
            const std::optional<Number> a = value(stack.back());
            stack.pop_back();
            if (!a || !b || (t.kind == TokenKind::Div && b->value == 0))
                return std::nullopt;
            Number n;
            switch (t.kind) {
            case TokenKind::Add: n = {a->value + b->value, combined(a->decimals, b->decimals, false)}; break;
            case TokenKind::Sub: n = {a->value - b->value, combined(a->decimals, b->decimals, false)}; break;
            case TokenKind::Mul: n = {a->value * b->value, combined(a->decimals, b->decimals, true)}; break;
            default: n = {a->value / b->value, -1}; break;
            }
            stack.push_back({false, n});
            break;
        }
        case TokenKind::Uplus: case TokenKind::Uminus: case TokenKind::Percent: {
            if (stack.empty())
                return std::nullopt;
            std::optional<Number> n = value(stack.back());
            if (!n)
                return std::nullopt;
            if (t.kind == TokenKind::Uminus)
                n->value = -n->value;
            else if (t.kind == TokenKind::Percent)
                *n = {n->value / 100, combined(n->decimals, 2, true)};
            stack.back() = {false, *n};
            break;
        }
        case TokenKind::Paren:
            break;
        case TokenKind::Attr:
            if (t.isSum()) {
                if (stack.empty())
                    return std::nullopt;
                const std::optional<Number> n = sum({stack.back()});
                if (!n)
                    return std::nullopt;
                stack.back() = {false, *n};
            } else if (t.attributes & ~(kAttrSemiVolatile | kAttrSpace)) {
                return std::nullopt; // IF, CHOOSE and their jumps
            }
            break;
        case TokenKind::FuncVar: {
            if (t.function != kSumFunction || t.argumentCount > int(stack.size()))
                return std::nullopt;
            const std::vector<Operand> arguments(stack.end() - t.argumentCount, stack.end());
            stack.resize(stack.size() - size_t(t.argumentCount));
            const std::optional<Number> n = sum(arguments);
            if (!n)
                return std::nullopt;
            stack.push_back({false, *n});
            break;
        }
        default:
            return std::nullopt;
        }
    }
    if (tokens.stop() != FormulaTokenizer::Stop::End || stack.size() != 1)
        return std::nullopt;
    return value(stack.back());
}

double stored(const Number &n)
{
    if (n.decimals < 0 || !std::isfinite(n.value))
        return n.value;
    const double scale = std::pow(10.0, n.decimals);
    // Adding 0 turns a rounded -0 into 0.
    return std::round(n.value * scale) / scale + 0.0;
}

} // namespace

std::vector<FormulaResult> formulaResults(const TWorkSheet &sheet)
{
    Evaluator evaluator(sheet);
    std::vector<FormulaResult> out;
    const auto &rows = sheet.rows();
    for (int row = 0; row < int(rows.size()); ++row) {
        for (const Cell &c : rows[size_t(row)].cells) {
            const FormulaData *f = c.formula();
            if (!f)
                continue;
            FormulaResult r{row, c.col, std::nullopt};
            if (const std::optional<Number> n = evaluator.result(row, c.col, *f); n && std::isfinite(n->value))
                r.value = stored(*n);
            out.push_back(r);
        }
    }
    return out;
}

} // namespace kasovka
