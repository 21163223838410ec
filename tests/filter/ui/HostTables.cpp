#include "filter/ui/HostTables.h"

#include "host/HostSchema.h"
#include "host/demo/THostTableWriter.h"

#include <gtest/gtest.h>

namespace kasovka::test {

void writeHostTable(const QString &folder, const QString &name, const QList<HostRow> &rows)
{
    const HostTableDef *def = HostSchema::find(name);
    ASSERT_NE(def, nullptr) << name.toStdString();
    HostSchema::createTableFile(folder + name, *def);
    THostTableWriter writer(folder + name);
    for (const HostRow &row : rows) {
        for (const auto &[field, value] : row)
            writer.SetValue(field, value);
        writer.Append();
    }
    writer.Commit();
}

void writeCodeList(const QString &folder, const QString &name,
                   const QList<QPair<QString, QString>> &codes)
{
    QList<HostRow> rows;
    for (const auto &[code, title] : codes)
        rows.append({{QStringLiteral("Zkrat"), Variant(code)}, {QStringLiteral("Nazev"), Variant(title)}});
    writeHostTable(folder, name, rows);
}

} // namespace kasovka::test
