#pragma once
// Texts as libxlsxwriter puts them into the XML parts. The library escapes
// only &, <, > and " there, and the characters below U+0020 only in plain
// cell texts (and in rich texts in constant-memory mode); anything else
// XML 1.0 cannot hold would make the part unreadable. Such characters are
// spelled in Office Open XML's escape form "_xHHHH_" (ECMA-376, ST_Xstring),
// which readers turn back into the character.

#include <QByteArray>
#include <QStringView>

namespace kasovka::xlsx {

enum class XmlPlace {
    // Element text: cells, rich-text runs, notes and their authors, headers
    // and footers. A carriage return is escaped too, as XML reads it as a
    // line feed; a literal "_xHHHH_" is protected as "_x005F_xHHHH_".
    Text,
    // Attribute values (sheet, font and defined names, number formats):
    // as Text, and tabs and line feeds too, which XML reads as spaces there.
    Attribute,
    // Formulas: readers take their text as written and decode no escape
    // (LibreOffice, openpyxl), so only what XML cannot hold is escaped.
    Formula,
};

// The text in UTF-8 as it may stand in `place`.
QByteArray xmlText(QStringView text, XmlPlace place);

// Characters (code points) of UTF-8 text, as libxlsxwriter counts them
// against its limits.
qsizetype utf8Length(const QByteArray &text);

} // namespace kasovka::xlsx
