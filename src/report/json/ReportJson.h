#pragma once
// The JSON form of a generated report: its groups in Skupiny order, each
// with its columns, totals, carried amounts and journal rows.

#include <QByteArray>
#include <QIODevice>

namespace kasovka {

class TPenDenReport;

// Writes the report as one UTF-8 JSON object; throws Error when the device
// refuses the bytes.
void writeReportJson(const TPenDenReport &report, QIODevice &device);

} // namespace kasovka
