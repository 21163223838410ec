#pragma once
// Writes a workbook of the file layer as an Office Open XML workbook (.xlsx)
// through libxlsxwriter: sheets, cells of every kind, formats, merged areas,
// columns, rows, print setup, notes and defined names, as the workbook would
// look saved in the Excel 97-2003 format.
//
//     TXlsxWriter::save(file.workbook(), "/path/vystup.xlsx", progress);

#include "core/DocumentInfo.h"

#include <QString>
#include <functional>

namespace kasovka {

class TOutputFile;
class TWorkbook;

class TXlsxWriter {
public:
    // Told the rows written so far and the rows to write, every few thousand
    // rows. It may throw to stop; nothing is left behind then.
    using Progress = std::function<void(qint64 done, qint64 total)>;

    // path must not exist yet. Throws kasovka::Error; on failure no file is
    // left at path.
    static void save(const TWorkbook &book, const QString &path, const Progress &progress = {},
                     const DocumentInfo &info = {});
    // Writes through `output`, which it opens and commits.
    static void save(const TWorkbook &book, TOutputFile &output, const Progress &progress = {},
                     const DocumentInfo &info = {});
};

} // namespace kasovka
