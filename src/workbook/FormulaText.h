#pragma once
// A readable text of a BIFF8 token string ("SUM(B3:B5)", "Data!$B$4*2"),
// for listings and diagnostics. Tokens without a text form appear as
// "?xx" with their id.

#include <QByteArray>
#include <QString>
#include <functional>

namespace kasovka {

// sheetName gives the text of a 3-D reference's EXTERNSHEET index.
QString formulaText(const QByteArray &rgce, const std::function<QString(int ixti)> &sheetName);

} // namespace kasovka
