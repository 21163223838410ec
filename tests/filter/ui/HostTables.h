#pragma once
// Host code-list tables written into a test's folders with the host schema.

#include "core/Variant.h"

#include <QList>
#include <QPair>
#include <QString>

namespace kasovka::test {

using HostRow = QList<QPair<QString, Variant>>;

// Creates folder + name + ".DAT" with the schema's fields and indexes and
// appends the rows (fields not given stay empty).
void writeHostTable(const QString &folder, const QString &name, const QList<HostRow> &rows);

// Centres, activities, contracts: Zkrat and Nazev.
void writeCodeList(const QString &folder, const QString &name,
                   const QList<QPair<QString, QString>> &codes);

} // namespace kasovka::test
