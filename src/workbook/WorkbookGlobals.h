#pragma once
// The workbook globals substream ([MS-XLS] 2.1.7.20.1): the sheet list,
// defined names, external-sheet references, window settings and the
// shared string table; every other record is kept as read.

#include "workbook/Formula.h"
#include "workbook/detail/Records.h"
#include "workbook/detail/SharedStrings.h"

#include <QString>
#include <optional>

namespace kasovka {

struct SheetEntry {
    QString name;
    uint8_t type = 0;  // BOUNDSHEET dt: 0 worksheet, 2 chart, 1 macro, 6 module
    uint8_t state = 0; // BOUNDSHEET hsState: 0 visible, 1 hidden, 2 very hidden
    int record = -1;
};

struct NameEntry {
    int record = -1;
    QString name;
    int scope = 0; // itab: 1-based sheet or 0
    bool hidden = false, function = false, builtIn = false;
    qsizetype rgceOffset = 0;
    int cce = 0;
};

// An entry of EXTERNSHEET ([MS-XLS] 2.4.106, an XTI): the SUPBOOK it refers
// to and its first and last sheet there, from 0 (negative for a deleted one).
struct ExternSheet {
    int supBook = 0;
    int first = 0, last = 0;
};

class TWorkbookGlobals {
public:
    void load(std::vector<detail::BiffRecord> records, detail::StringPool &strings);
    // Appends the globals; sheetPositions are patched in later through
    // boundSheetOffsets (positions of each BOUNDSHEET's lbPlyPos field).
    void write(QByteArray &out, const std::vector<const detail::SstString *> &strings,
               uint32_t stringRefs, std::vector<qsizetype> &boundSheetOffsets) const;

    const std::vector<SheetEntry> &sheets() const { return m_sheets; }
    const std::vector<NameEntry> &names() const { return m_names; }
    QByteArray nameTokens(const NameEntry &n) const;
    // Drops the NAME record of that index (from 0); the names after it move
    // up one place, so nothing may refer to them by position.
    void removeName(int index);
    // The 3-D areas a name's formula names as it stands now, one or several
    // joined by unions (a print area, print titles); none for another formula.
    std::vector<TokenArea> nameAreas(const NameEntry &n) const { return kasovka::nameAreas(nameTokens(n)); }
    int activeSheet() const; // 0-based
    void selectFirstSheet();
    int formatCount() const { return m_xfCount; }
    // The records kept as read, for the layer's readers of what it keeps as
    // bytes (BiffStyles).
    const std::vector<detail::BiffRecord> &records() const { return m_records; }

    // EXTERNSHEET entry ixti; nullopt when there is none.
    std::optional<ExternSheet> externSheet(int ixti) const;
    bool inThisWorkbook(const ExternSheet &x) const { return x.supBook == m_selfSupBook; }
    // The function names of add-in SUPBOOKs ([MS-XLS] 2.4.105 ExternName)
    // by SUPBOOK index, empty for the other SUPBOOKs. Throws kasovka::Error
    // for a damaged name.
    std::vector<std::vector<QString>> addInFunctions() const;
    // How EXTERNSHEET entry ixti spans the 0-based sheet of this book.
    SheetSpan span(int ixti, int sheet) const;
    int ixtiFirstSheet(int ixti) const; // -1 when external
    int ixtiLastSheet(int ixti) const;  // -1 when external
    void shiftNames(const ReferenceShifter &shifter);
    // The MSODRAWINGGROUP record, nullptr when the workbook has none.
    detail::BiffRecord *drawingGroup();
    void setDrawingGroup(const QByteArray &data);

private:
    void parseName(int index);
    void parseExternSheet(const detail::BiffRecord &rec);

    std::vector<detail::BiffRecord> m_records;
    std::vector<SheetEntry> m_sheets;
    std::vector<NameEntry> m_names;
    std::vector<ExternSheet> m_xti;
    int m_selfSupBook = -1;
    int m_window1 = -1;
    int m_xfCount = 0;
};

} // namespace kasovka
