#include "FakeWorkbook.h"

#include "core/Error.h"
#include "template/TemplateTags.h"

namespace kasovka::test {

void FakeSheet::set(int row, int column, const QVariant &value, int format, bool formula)
{
    rows[row][column] = FakeCell{value, format, formula};
}

QVariant FakeSheet::value(int row, int column) const
{
    const auto r = rows.find(row);
    if (r == rows.end())
        return {};
    const auto c = r->second.find(column);
    return c == r->second.end() ? QVariant() : c->second.value;
}

int FakeSheet::format(int row, int column) const
{
    const auto r = rows.find(row);
    if (r == rows.end())
        return -1;
    const auto c = r->second.find(column);
    return c == r->second.end() ? -1 : c->second.format;
}

std::vector<QStringList> FakeSheet::texts(int width) const
{
    std::vector<QStringList> out;
    const int last = rows.empty() ? 0 : rows.rbegin()->first;
    for (int row = 1; row <= last; ++row) {
        QStringList line;
        for (int column = 1; column <= width; ++column)
            line << cellText(value(row, column));
        out.push_back(line);
    }
    return out;
}

void FakeBook::addName(const QString &name, int sheet, int firstRow, int lastRow, int firstColumn,
                       int lastColumn)
{
    names.push_back({name, sheet, firstRow, lastRow, firstColumn, lastColumn});
}

namespace {

// Rows first..first+count-1 vanish when count is negative (deletion at
// first), or every row from first moves down by count.
template <typename Map>
void shiftKeys(Map &map, int first, int count)
{
    Map moved;
    for (auto &[key, value] : map) {
        if (key < first)
            moved.emplace(key, std::move(value));
        else if (count >= 0)
            moved.emplace(key + count, std::move(value));
        else if (key >= first - count)
            moved.emplace(key + count, std::move(value));
    }
    map = std::move(moved);
}

class FakeWorkbookObject : public IXlsWorkbook {
public:
    explicit FakeWorkbookObject(FakeAdapter &adapter) : m_adapter(adapter) {}

    void open(const QString &path) override
    {
        const auto it = m_adapter.files.find(path);
        if (it == m_adapter.files.end())
            throw Error(QStringLiteral("Can't find the file \"%1\"").arg(path));
        m_book = it->second;
        ++m_adapter.openCount;
    }
    void save(const QString &path, const OutputPolicy &) override
    {
        if (m_adapter.files.count(path))
            throw Error(QStringLiteral("Can't write to file \"%1\". Check it is not in use by another user").arg(path));
        m_adapter.files[path] = m_book;
    }
    int sheetCount() const override { return static_cast<int>(m_book.sheets.size()); }
    bool isWorksheet(int sheet) const override { return m_book.sheets.at(sheet - 1).worksheet; }
    int activeSheet() const override { return m_book.activeSheet; }
    void setActiveSheet(int sheet) override { m_book.activeSheet = sheet; }
    void selectFirstSheet() override
    {
        m_book.activeSheet = 1;
        m_book.firstSelected = true;
    }
    int namedRangeCount() const override { return static_cast<int>(m_book.names.size()); }
    TXlsNamedRange namedRange(int index) const override { return m_book.names.at(index); }
    bool removeNamedRange(int index) override
    {
        m_book.names.erase(m_book.names.begin() + index);
        return true;
    }
    int storeFormulaResults() override { return 0; } // formulas are opaque here
    void fitWrappedRows() override {}

    int lastRow() const override
    {
        int last = sheet().rows.empty() ? 0 : sheet().rows.rbegin()->first;
        if (!sheet().comments.empty())
            last = std::max(last, sheet().comments.rbegin()->first);
        return last;
    }
    TXlsCellValue cell(int row, int column) const override
    {
        const int format = sheet().format(row, column);
        if (format < 0)
            return {};
        const FakeCell &cell = sheet().rows.at(row).at(column);
        return {cell.formula ? QVariant() : cell.value, cell.format, cell.formula};
    }
    void setCell(int row, int column, const QVariant &value, int format) override
    {
        const int present = sheet().format(row, column);
        const int stored = format >= 0 ? format : std::max(present, 0);
        if (value.isNull() && stored == 0) {
            if (present >= 0)
                sheet().rows[row].erase(column);
            return;
        }
        sheet().set(row, column, value, stored);
    }
    void insertAndCopyRows(int first, int last, int destination, int count, bool formulasOnly) override
    {
        const int height = last - first + 1;
        FakeSheet block = blockOf(first, last, formulasOnly);
        shiftKeys(sheet().rows, destination, count * height);
        shiftKeys(sheet().comments, destination, count * height);
        shiftKeys(sheet().images, destination, count * height);
        shiftBreaks(destination, count * height);
        for (int copy = 0; copy < count; ++copy)
            place(block, destination + copy * height - first);
    }
    void deleteRows(int first, int count) override
    {
        shiftKeys(sheet().rows, first, -count);
        shiftKeys(sheet().comments, first, -count);
        shiftKeys(sheet().images, first, -count);
        shiftBreaks(first, -count);
    }
    int commentCount(int row) const override { return static_cast<int>(listAt(sheet().comments, row).size()); }
    QString commentText(int row, int index) const override { return listAt(sheet().comments, row).at(index); }
    void setCommentText(int row, int index, const QString &text) override
    {
        auto &list = sheet().comments[row];
        if (text.isEmpty())
            list.erase(list.begin() + index);
        else
            list.at(index) = text;
    }
    int imageCount(int row) const override { return static_cast<int>(listAt(sheet().images, row).size()); }
    QString imageName(int row, int index) const override { return listAt(sheet().images, row).at(index).name; }
    void setImage(int row, int index, TXlsImageType type, const QByteArray &data) override
    {
        FakeImage &image = sheet().images[row].at(index);
        image.type = type;
        image.data = data;
    }
    void addPageBreak(int row) override { sheet().pageBreaks.insert(row); }

private:
    FakeSheet &sheet() { return m_book.sheets.at(m_book.activeSheet - 1); }
    const FakeSheet &sheet() const { return m_book.sheets.at(m_book.activeSheet - 1); }

    template <typename T>
    static const std::vector<T> &listAt(const std::map<int, std::vector<T>> &map, int row)
    {
        static const std::vector<T> none;
        const auto it = map.find(row);
        return it == map.end() ? none : it->second;
    }

    FakeSheet blockOf(int first, int last, bool formulasOnly) const
    {
        FakeSheet block;
        for (int row = first; row <= last; ++row) {
            if (auto it = sheet().rows.find(row); it != sheet().rows.end())
                for (const auto &[column, cell] : it->second)
                    if (!formulasOnly || cell.formula)
                        block.rows[row][column] = cell;
            if (auto it = sheet().comments.find(row); it != sheet().comments.end())
                block.comments[row] = it->second;
            if (auto it = sheet().images.find(row); it != sheet().images.end())
                block.images[row] = it->second;
        }
        return block;
    }
    void place(const FakeSheet &block, int delta)
    {
        for (const auto &[row, cells] : block.rows)
            sheet().rows[row + delta] = cells;
        for (const auto &[row, list] : block.comments)
            sheet().comments[row + delta] = list;
        for (const auto &[row, list] : block.images)
            sheet().images[row + delta] = list;
    }
    void shiftBreaks(int first, int count)
    {
        std::map<int, int> keyed;
        for (int row : sheet().pageBreaks)
            keyed.emplace(row, 0);
        shiftKeys(keyed, first, count);
        sheet().pageBreaks.clear();
        for (const auto &entry : keyed)
            sheet().pageBreaks.insert(entry.first);
    }

    FakeAdapter &m_adapter;
    FakeBook m_book;
};

} // namespace

std::unique_ptr<IXlsWorkbook> FakeAdapter::createWorkbook()
{
    return std::make_unique<FakeWorkbookObject>(*this);
}

} // namespace kasovka::test
