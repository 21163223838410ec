#pragma once
// Globals plus sheets, loaded from and saved to a compound file.

#include "workbook/CompoundFile.h"
#include "workbook/WorkSheet.h"
#include "workbook/WorkbookGlobals.h"
#include "workbook/Workbook.h"

#include <functional>

namespace kasovka {

// A formatting run of a rich text ([MS-XLS] 2.5.129 FormatRun): the font
// its characters take from `from` on.
struct TextRun {
    int from = 0;
    int font = 0;
};

class TWorkbook {
public:
    // Loads the file's bytes; `path` names the file in error texts.
    void load(const QByteArray &file, const QString &path);
    // Writes the compound file; false when the device refused a write.
    bool save(QIODevice &device) const;

    TWorkbookGlobals &globals() { return m_globals; }
    const TWorkbookGlobals &globals() const { return m_globals; }
    int sheetCount() const { return int(m_sheets.size()); }
    TWorkSheet &sheet(int index) { return m_sheets[index]; }
    const TWorkSheet &sheet(int index) const { return m_sheets[index]; }
    detail::StringPool &strings() { return m_strings; }
    const detail::StringPool &strings() const { return m_strings; }
    // A text cell's text (its string index) and its formatting runs.
    const QString &text(uint32_t index) const { return m_strings.at(index).text; }
    std::vector<TextRun> textRuns(uint32_t index) const;
    void setRowLimit(int rows)
    {
        for (auto &sheet : m_sheets)
            sheet.setRowLimit(rows);
    }

    // Whether a formula of a cell or of a name names the defined name of
    // that index (from 0) or one after it; a token the reader cannot read
    // counts as such a reference.
    bool referencesNamesFrom(int index) const;

    // Row operations on a 0-based sheet, references moved everywhere.
    void insertAndCopyRows(int sheet, int first, int last, int dest, int count,
                           bool formulasOnly);
    void deleteRows(int sheet, int first, int count);
    void removeComment(int sheet, int note);
    void replacePicture(int sheet, const SheetDrawing::Shape &shape, XlsImageType type,
                        const QByteArray &picture);

private:
    // Runs an edit of a drawing with the workbook's shape ids (nullptr when
    // it has no drawing group) and stores the drawing group if they changed.
    void withShapeIds(const std::function<void(detail::ShapeIdClusters *)> &edit);
    void loadStream(const QByteArray &stream);
    void shiftEverywhere(const RowShift &shift);
    QByteArray workbookStream() const;

    TXlsStorage m_root;
    QString m_streamName;
    TWorkbookGlobals m_globals;
    std::vector<TWorkSheet> m_sheets;
    detail::StringPool m_strings;
};

} // namespace kasovka
