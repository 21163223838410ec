#pragma once
// The rows a template needs once filled, counted before the fill: an export
// that would not fit the file format is refused with the row limit's message
// instead of failing half way with the workbook layer's text.

#include <QString>
#include <QtGlobal>
#include <functional>

namespace kasovka {

class IXlsDataSet;
class IXlsWorkbook;

// Rows a sheet of an Excel 97-2003 workbook holds.
inline constexpr int MaxXlsRows = 65536;

// The most rows any worksheet of the opened workbook reaches while the
// engine fills it with the data sets `lookup` finds: the template's own rows
// plus every band's copies, rows that a marker deletes later included. The
// data sets end on their first records. Bands the engine would refuse (a
// damaged range, bands that repeat for ever) throw the engine's Error.
qint64 filledRowCount(IXlsWorkbook &workbook, const std::function<IXlsDataSet *(const QString &)> &lookup);

// "Maximální počet řádků pro export do Excelu je <limit>, export nelze provést"
QString rowLimitText(int limit);

} // namespace kasovka
