#pragma once
// The workbook's defined names: the print titles and print areas of its
// sheets, the other names defined again in the written workbook, and what
// formulas need to name sheets ([MS-XLS] 2.4.150 Lbl, 2.4.106 ExternSheet,
// 2.4.271 SupBook).

#include "workbook/FormulaText.h"
#include "xlsx/detail/XlsxSheet.h"

#include <QStringList>

#include <xlsxwriter.h>

namespace kasovka {
class TWorkbook;
}

namespace kasovka::xlsx {

// Why a sheet may not be named so in the written workbook, as the end of a
// Czech sentence; empty if it may. `earlier` are the names of the sheets
// before it. Excel's rules: 1 to 31 characters, none of [ ] : * ? / \, no
// apostrophe first or last, no other sheet of the same name.
QString sheetNameProblem(const QString &name, const QStringList &earlier);

class XlsxNames {
public:
    explicit XlsxNames(const TWorkbook &book);

    // The context of formulas; valid while this object lives.
    FormulaContext formulaContext() const;
    SheetPrintNames printNames(int sheet) const;
    // Defines the names other than print titles and areas.
    void define(lxw_workbook *workbook) const;

private:
    std::optional<QString> sheetPrefix(int ixti) const;
    std::optional<QString> addInName(int ixti, int index) const;

    const TWorkbook &m_book;
    // The function names of add-in SUPBOOKs, by SUPBOOK index.
    std::vector<std::vector<QString>> m_addInNames;
    std::vector<SheetPrintNames> m_print;
};

} // namespace kasovka::xlsx
