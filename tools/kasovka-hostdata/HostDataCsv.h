#pragma once
// CSV forms of host tables for kasovka-hostdata: a header row of field names,
// then one row per record, "," between fields, double quotes around fields
// that need them (inner quotes doubled). Values: texts as they are, integers
// in decimal, Booleans 1/0, dates YYYY-MM-DD (with THH:MM:SS when timed; an
// import also takes a day serial), amounts with "." and up to four
// decimals, floats with ".". An empty field is an empty value. In a settings
// value (VARIANT) a quoted field is a text and an unquoted one a number.

#include <QByteArray>
#include <QString>

namespace kasovka {

// Appends the CSV's records to the table, all or nothing. Throws Error; an
// error in the data names the CSV line and the field.
int importCsv(const QString &tablePath, const QByteArray &csv);
// Every record in table order. Throws Error.
QByteArray dumpCsv(const QString &tablePath);

} // namespace kasovka
