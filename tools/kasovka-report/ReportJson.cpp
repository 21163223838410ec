#include "ReportJson.h"
#include "MonthsJson.h"

#include "core/Error.h"
#include "core/MemTable.h"
#include "report/TPenDenReport.h"

#include <QHash>

#include <vector>

namespace kasovka {

namespace {

// Buffers the text and hands it to the device in large pieces: a detailed
// report of a big journal is written without holding it whole in memory.
class JsonSink {
public:
    explicit JsonSink(QIODevice &device) : m_device(device) { m_buffer.reserve(BufferSize + 4096); }
    ~JsonSink() = default;

    void raw(const char *text) { m_buffer.append(text); spill(); }
    void raw(const QByteArray &bytes) { m_buffer.append(bytes); spill(); }
    // Escapes on the UTF-8 bytes: every byte of a multi-byte sequence is
    // 0x80 or above, so only ASCII needs a look.
    void string(const QString &text)
    {
        static const char hex[] = "0123456789abcdef";
        m_buffer.append('"');
        for (const char byte : text.toUtf8()) {
            const auto u = static_cast<unsigned char>(byte);
            if (u == '"' || u == '\\')
                m_buffer.append('\\').append(byte);
            else if (u < 0x20)
                m_buffer.append("\\u00").append(hex[u >> 4]).append(hex[u & 15]);
            else
                m_buffer.append(byte);
        }
        m_buffer.append('"');
        spill();
    }
    void integer(qint64 value) { raw(QByteArray::number(value)); }
    void finish()
    {
        write();
    }

private:
    static constexpr qsizetype BufferSize = 1 << 20;
    void spill()
    {
        if (m_buffer.size() >= BufferSize)
            write();
    }
    void write()
    {
        if (!m_buffer.isEmpty() && m_device.write(m_buffer) != m_buffer.size())
            throw Error(QStringLiteral("Výstup JSON nelze zapsat: ") + m_device.errorString());
        m_buffer.clear();
    }
    QIODevice &m_device;
    QByteArray m_buffer;
};

void writeText(JsonSink &sink, const QString &text)
{
    sink.string(text);
}

void writeValue(JsonSink &sink, const TMemTable &table, int row, int field)
{
    if (table.isNullAt(row, field)) {
        sink.raw("null");
        return;
    }
    const Variant value = table.valueAt(row, field);
    switch (table.fieldType(field)) {
    case FieldType::Currency:
        sink.raw("\"");
        sink.raw(value.toCurrency().toPlainText().toLatin1());
        sink.raw("\"");
        return;
    case FieldType::DateTime:
        if (isZeroDate(value.toDate()) && timePart(value.toDate()) == 0) {
            sink.raw("null");
            return;
        }
        writeText(sink, formatIsoDate(value.toDate()));
        return;
    case FieldType::AutoInc:
    case FieldType::Integer:
        sink.integer(value.toInt());
        return;
    case FieldType::Boolean:
        sink.raw(value.toBool() ? "true" : "false");
        return;
    case FieldType::Text:
    case FieldType::Memo:
        writeText(sink, value.toText());
        return;
    }
}

void writeNamedFields(JsonSink &sink, const TMemTable &table, int row, const QList<int> &fields)
{
    sink.raw("{");
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            sink.raw(",");
        writeText(sink, table.fieldName(fields[i]));
        sink.raw(":");
        writeValue(sink, table, row, fields[i]);
    }
    sink.raw("}");
}

QList<int> fieldPositions(const TMemTable &table, const QStringList &names)
{
    QList<int> positions;
    for (const QString &name : names)
        positions.append(table.fieldIndex(name));
    return positions;
}

QStringList amountNames()
{
    QStringList names;
    for (int column = 5; column <= 35; ++column)
        names.append(QStringLiteral("Col%1").arg(column));
    return names;
}

void writeRows(JsonSink &sink, const TMemTable &denik, const std::vector<int> &rows)
{
    static const QStringList rowNames = {QStringLiteral("ID"), QStringLiteral("Poradi"),
                                         QStringLiteral("Datum"), QStringLiteral("Doklad_VS"),
                                         QStringLiteral("Popis")};
    const QList<int> rowFields = fieldPositions(denik, rowNames);
    const QList<int> cols = fieldPositions(denik, amountNames());
    sink.raw("[");
    for (size_t i = 0; i < rows.size(); ++i) {
        sink.raw(i > 0 ? ",\n{" : "\n{");
        for (qsizetype f = 0; f < rowFields.size(); ++f) {
            if (f > 0)
                sink.raw(",");
            writeText(sink, rowNames[f]);
            sink.raw(":");
            writeValue(sink, denik, rows[i], rowFields[f]);
        }
        sink.raw(",\"cols\":");
        writeNamedFields(sink, denik, rows[i], cols);
        sink.raw("}");
    }
    sink.raw("]");
}

void writeGroups(JsonSink &sink, const TPenDenReport &report)
{
    const TMemTable &skupiny = report.Skupiny();
    const TMemTable &denik = report.Denik();
    const TMemTable &prevedeno = report.Prevedeno();

    // Rows and carried records by group, in one pass each.
    const int denikParent = denik.fieldIndex(QStringLiteral("Parent_ID"));
    QHash<qint64, std::vector<int>> rowsByGroup;
    for (int row = 0; row < denik.recordCount(); ++row)
        rowsByGroup[denik.valueAt(row, denikParent).toInt()].push_back(row);
    const int carriedParent = prevedeno.fieldIndex(QStringLiteral("Parent_ID"));
    QHash<qint64, int> carriedByGroup;
    for (int row = 0; row < prevedeno.recordCount(); ++row)
        carriedByGroup.insert(prevedeno.valueAt(row, carriedParent).toInt(), row);

    const QStringList ownNames = {QStringLiteral("ID"), QStringLiteral("Zkratka"),
                                  QStringLiteral("Nazev"), QStringLiteral("LastPoradi"),
                                  QStringLiteral("IDPrevedeno")};
    const QList<int> own = fieldPositions(skupiny, ownNames);
    const QList<int> cols = fieldPositions(skupiny, amountNames());
    const QList<int> totals = fieldPositions(
        skupiny, {QStringLiteral("HotovostCeninyCelkem"), QStringLiteral("BankUctyCelkem"),
                  QStringLiteral("PrubPolozkyCelkem"), QStringLiteral("ZakladDane"),
                  QStringLiteral("PrijmyZahrDoZaklCelkem"), QStringLiteral("VydajeNaZajPrijCelkem"),
                  QStringLiteral("PrijmyNeovlZaklDaneCelkem"),
                  QStringLiteral("VydajeNeovlZaklDaneCelkem")});
    const QList<int> carriedCols = fieldPositions(prevedeno, amountNames());
    const int idField = skupiny.fieldIndex(QStringLiteral("ID"));

    sink.raw("[");
    for (int row = 0; row < skupiny.recordCount(); ++row) {
        const qint64 id = skupiny.valueAt(row, idField).toInt();
        sink.raw(row > 0 ? ",\n{" : "\n{");
        for (qsizetype f = 0; f < own.size(); ++f) {
            if (f > 0)
                sink.raw(",");
            writeText(sink, ownNames[f]);
            sink.raw(":");
            writeValue(sink, skupiny, row, own[f]);
        }
        sink.raw(",\"cols\":");
        writeNamedFields(sink, skupiny, row, cols);
        sink.raw(",\"totals\":");
        writeNamedFields(sink, skupiny, row, totals);
        sink.raw(",\"carried\":");
        const auto carried = carriedByGroup.constFind(id);
        if (carried == carriedByGroup.constEnd())
            sink.raw("null");
        else
            writeNamedFields(sink, prevedeno, *carried, carriedCols);
        sink.raw(",\"rows\":");
        writeRows(sink, denik, rowsByGroup.value(id));
        sink.raw(",\"months\":");
        sink.raw(monthsJson(report, id));
        sink.raw("}");
    }
    sink.raw("]");
}

} // namespace

void writeReportJson(const TPenDenReport &report, QIODevice &device)
{
    JsonSink sink(device);
    sink.raw("{\"reportName\":");
    writeText(sink, report.ReportName());
    sink.raw(",\n\"rowCountAll\":");
    sink.integer(report.RowCountAll());
    sink.raw(",\n\"warnings\":[");
    const QStringList &warnings = report.Warnings();
    for (qsizetype i = 1; i < warnings.size(); ++i) {
        if (i > 1)
            sink.raw(",");
        sink.raw("\n");
        writeText(sink, warnings[i]);
    }
    sink.raw("],\n\"openingBalances\":");
    const TMemTable &opening = report.PocatecniStav();
    if (opening.recordCount() == 0)
        sink.raw("null");
    else
        writeNamedFields(sink, opening, 0, fieldPositions(opening, amountNames()));
    sink.raw(",\n\"groups\":");
    writeGroups(sink, report);
    sink.raw("}\n");
    sink.finish();
}

} // namespace kasovka
