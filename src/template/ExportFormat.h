#pragma once
// The two workbook formats an export writes: Excel 97-2003 (.xls, BIFF8)
// and Office Open XML (.xlsx). The target's extension decides; a name
// without one (or with another) is written as .xls.

#include <QString>
#include <optional>

namespace kasovka {

enum class TExportFormat { Xls, Xlsx };

TExportFormat exportFormatOf(const QString &path);
// Rows a sheet of the format holds: 65536 or 1048576.
int maxExportRows(TExportFormat format);
// "xls" or "xlsx", as remembered in the settings.
QString exportFormatName(TExportFormat format);
// The format of a remembered name; Xls for anything else.
TExportFormat exportFormatFromName(const QString &name);
// The format a path names by its extension, if it names one at all.
std::optional<TExportFormat> explicitExportFormat(const QString &path);
// "Excel 97-2003 (.xls)" or "Office Open XML (.xlsx)", as the window shows it.
QString exportFormatTitle(TExportFormat format);

} // namespace kasovka
