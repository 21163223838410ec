#pragma once
// What a written document says about itself in its properties (PDF
// information, a workbook's core properties): readers and archives list
// files by these.

#include <QString>

namespace kasovka {

struct DocumentInfo {
    QString title;   // "Peněžní deník – Střediska"
    QString author;  // the firm; left out when empty
    QString subject; // the report and its period
};

} // namespace kasovka
