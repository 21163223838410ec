#pragma once
// An in-memory workbook behind the engine's adapter interface: sheets of
// cells, comments, images and page breaks, with row insertion and deletion.
// Formulas are opaque texts here; their reference moving belongs to the
// file layer and is tested there.

#include "template/WorkbookAdapter.h"

#include <QMap>
#include <map>
#include <set>
#include <vector>

namespace kasovka::test {

struct FakeCell {
    QVariant value;
    int format = 0;
    bool formula = false;
};

struct FakeImage {
    QString name;
    TXlsImageType type = TXlsImageType::Jpeg;
    QByteArray data;
};

struct FakeSheet {
    bool worksheet = true;
    std::map<int, std::map<int, FakeCell>> rows;
    std::map<int, std::vector<QString>> comments;
    std::map<int, std::vector<FakeImage>> images;
    std::set<int> pageBreaks;

    void set(int row, int column, const QVariant &value, int format = 0, bool formula = false);
    QVariant value(int row, int column) const;
    int format(int row, int column) const; // -1: no cell
    // Column 1..width of every row from 1 to the last, as text ("" blank).
    std::vector<QStringList> texts(int width) const;
};

struct FakeBook {
    std::vector<FakeSheet> sheets{FakeSheet{}};
    std::vector<TXlsNamedRange> names;
    int activeSheet = 1;
    bool firstSelected = false;

    void addName(const QString &name, int sheet, int firstRow, int lastRow,
                 int firstColumn = 1, int lastColumn = 10);
};

class FakeAdapter : public TWorkbookAdapter {
public:
    std::map<QString, FakeBook> files; // templates and saved results by path
    int openCount = 0;

    std::unique_ptr<IXlsWorkbook> createWorkbook() override;
    const FakeBook &saved(const QString &path) const { return files.at(path); }
};

} // namespace kasovka::test
