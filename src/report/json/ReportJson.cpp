#include "report/json/ReportJson.h"
#include "report/json/MonthsJson.h"

#include "core/Error.h"
#include "core/MemTable.h"
#include "report/TPenDenReport.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace kasovka {

namespace {

// A short piece of output known in advance: a separator and field name,
// with or without the null that follows it.
struct Fragment {
    char bytes[48] = {};
    size_t size = 0;

    explicit Fragment(const std::string &text)
    {
        Q_ASSERT(text.size() <= sizeof bytes);
        size = std::min(text.size(), sizeof bytes);
        std::memcpy(bytes, text.data(), size);
    }
};

// Collects the text in a fixed buffer and hands it to the device whenever
// it fills: a report of any size is written in pieces, never held whole.
class JsonSink {
public:
    explicit JsonSink(QIODevice &device) : m_device(device), m_buffer(new char[Size + Slack]) {}

    // Room for `bytes` more; a request larger than the buffer is an error
    // of the caller, which splits long texts.
    char *reserve(size_t bytes)
    {
        if (m_used + bytes > Size)
            flush();
        return m_buffer.get() + m_used;
    }
    void commit(char *end) { m_used = size_t(end - m_buffer.get()); }

    void raw(const char *bytes, size_t size)
    {
        char *out = reserve(size);
        std::memcpy(out, bytes, size);
        commit(out + size);
    }
    // A prepared fragment: copied whole, in one fixed-size move.
    void fragment(const Fragment &piece)
    {
        char *out = reserve(sizeof piece.bytes);
        std::memcpy(out, piece.bytes, sizeof piece.bytes);
        commit(out + piece.size);
    }
    template<size_t N>
    void raw(const char (&literal)[N]) { raw(literal, N - 1); }

    void integer(qint64 value)
    {
        char *out = reserve(24);
        commit(writeInteger(out, value));
    }
    // Currency::toPlainText: the amount with four decimals and no grouping.
    void currency(qint64 raw)
    {
        char *out = reserve(32);
        *out++ = '"';
        const quint64 magnitude = raw < 0 ? quint64(0) - quint64(raw) : quint64(raw);
        if (raw < 0)
            *out++ = '-';
        out = writeUnsigned(out, magnitude / 10000);
        const unsigned fraction = unsigned(magnitude % 10000);
        out[0] = '.';
        out[1] = char('0' + fraction / 1000);
        out[2] = char('0' + fraction / 100 % 10);
        out[3] = char('0' + fraction / 10 % 10);
        out[4] = char('0' + fraction % 10);
        out[5] = '"';
        commit(out + 6);
    }
    void text(QStringView text);

    void flush()
    {
        if (m_used > 0 && m_device.write(m_buffer.get(), qint64(m_used)) != qint64(m_used))
            throw Error(QStringLiteral("Výstup JSON nelze zapsat: ") + m_device.errorString());
        m_used = 0;
    }

private:
    static constexpr size_t Size = size_t(1) << 20;
    static constexpr size_t Slack = 64; // fragments may copy past their end

    static char *writeUnsigned(char *out, quint64 value)
    {
        char digits[20];
        int count = 0;
        do {
            digits[count++] = char('0' + value % 10);
            value /= 10;
        } while (value != 0);
        while (count > 0)
            *out++ = digits[--count];
        return out;
    }
    static char *writeInteger(char *out, qint64 value)
    {
        if (value < 0) {
            *out++ = '-';
            return writeUnsigned(out, quint64(0) - quint64(value));
        }
        return writeUnsigned(out, quint64(value));
    }
    void escapedUtf8(const QByteArray &bytes);

    QIODevice &m_device;
    std::unique_ptr<char[]> m_buffer;
    size_t m_used = 0;
};

// The escape of one ASCII byte, or nothing when it stands for itself.
inline char *escapeAscii(char *out, char16_t unit)
{
    static const char hex[] = "0123456789abcdef";
    if (unit == u'"' || unit == u'\\') {
        *out++ = '\\';
        *out++ = char(unit);
    } else if (unit < 0x20) {
        std::memcpy(out, "\\u00", 4);
        out[4] = hex[unit >> 4];
        out[5] = hex[unit & 15];
        out += 6;
    } else {
        *out++ = char(unit);
    }
    return out;
}

// The ASCII characters that stand for themselves in a JSON string.
constexpr auto PlainAscii = [] {
    std::array<bool, 128> plain{};
    for (int c = 0x20; c < 0x80; ++c)
        plain[size_t(c)] = c != '"' && c != '\\';
    return plain;
}();

// UTF-8 of the text, escaped on its ASCII bytes: every byte of a multi-byte
// sequence is 0x80 or above, so only ASCII needs a look. Texts holding
// surrogates go through Qt's own encoder, which decides what a lone one
// becomes.
void JsonSink::text(QStringView text)
{
    constexpr qsizetype Piece = 4096; // at most 6 bytes a unit
    if (text.size() > Piece) {
        escapedUtf8(text.toUtf8());
        return;
    }
    char *const start = reserve(size_t(text.size()) * 6 + 2);
    char *out = start;
    *out++ = '"';
    for (const QChar c : text) {
        const char16_t unit = c.unicode();
        if (unit < 0x80 && PlainAscii[unit]) {
            *out++ = char(unit);
        } else if (unit < 0x80) {
            out = escapeAscii(out, unit);
        } else if (unit < 0x800) {
            *out++ = char(0xC0 | (unit >> 6));
            *out++ = char(0x80 | (unit & 0x3F));
        } else if (c.isSurrogate()) {
            commit(start);
            escapedUtf8(text.toUtf8());
            return;
        } else {
            *out++ = char(0xE0 | (unit >> 12));
            *out++ = char(0x80 | ((unit >> 6) & 0x3F));
            *out++ = char(0x80 | (unit & 0x3F));
        }
    }
    *out++ = '"';
    commit(out);
}

void JsonSink::escapedUtf8(const QByteArray &bytes)
{
    raw("\"");
    for (const char byte : bytes) {
        char *out = reserve(6);
        const auto u = static_cast<unsigned char>(byte);
        commit(u < 0x80 ? escapeAscii(out, u) : (*out = byte, out + 1));
    }
    raw("\"");
}

// The stored values of one record at a time, read once for every writer of
// that record.
class RowValues {
public:
    explicit RowValues(const TMemTable &table)
        : m_table(table), m_values(size_t(table.fieldCount()))
    {
    }
    const TMemTable::RawValue *load(int record)
    {
        m_table.recordRawValues(record, m_values.data());
        return m_values.data();
    }

private:
    const TMemTable &m_table;
    std::vector<TMemTable::RawValue> m_values;
};

// Writes chosen fields of a row: each field with its name, in the order
// given, values by the field's type (empty ones as null, amounts and dates
// as texts). The names and separators are prepared once.
class FieldWriter {
public:
    // `asObject`: the fields form one object {...}; otherwise they are the
    // first members of an object the caller opens and closes.
    FieldWriter(const TMemTable &table, const QStringList &names, bool asObject)
        : m_asObject(asObject)
    {
        for (qsizetype i = 0; i < names.size(); ++i) {
            const int field = table.fieldIndex(names[i]);
            std::string prefix = i == 0 ? (asObject ? "{" : "") : ",";
            prefix += '"' + table.fieldName(field).toStdString() + "\":";
            m_fields.push_back({field, table.fieldType(field), Fragment(prefix),
                                Fragment(prefix + "null")});
        }
    }

    void write(JsonSink &sink, const TMemTable::RawValue *values) const
    {
        for (const Field &field : m_fields)
            writeField(sink, field, values[field.position]);
        if (m_asObject)
            sink.raw("}");
    }

private:
    struct Field {
        int position;
        FieldType type;
        Fragment prefix;   // separator and name
        Fragment nullForm; // the same followed by null
    };

    void writeField(JsonSink &sink, const Field &field, const TMemTable::RawValue &value) const
    {
        if (value.null) {
            sink.fragment(field.nullForm);
            return;
        }
        sink.fragment(field.prefix);
        switch (field.type) {
        case FieldType::Currency:
            sink.currency(qint64(value.slot));
            return;
        case FieldType::DateTime:
            writeDate(sink, std::bit_cast<double>(value.slot));
            return;
        case FieldType::AutoInc:
        case FieldType::Integer:
            sink.integer(qint64(value.slot));
            return;
        case FieldType::Boolean:
            value.slot != 0 ? sink.raw("true") : sink.raw("false");
            return;
        case FieldType::Text:
        case FieldType::Memo:
            sink.text(value.text);
            return;
        }
    }

    // Consecutive rows mostly share their date, so its text is kept.
    void writeDate(JsonSink &sink, TDateTime date) const
    {
        if (isZeroDate(date) && timePart(date) == 0) {
            sink.raw("null");
            return;
        }
        if (!m_dateValid || std::bit_cast<quint64>(date) != std::bit_cast<quint64>(m_date)) {
            m_date = date;
            m_dateValid = true;
            m_dateText = formatIsoDate(date);
        }
        sink.text(m_dateText);
    }

    std::vector<Field> m_fields;
    bool m_asObject;
    mutable TDateTime m_date = 0;
    mutable bool m_dateValid = false;
    mutable QString m_dateText;
};

QStringList amountNames()
{
    QStringList names;
    for (int column = 5; column <= 35; ++column)
        names.append(QStringLiteral("Col%1").arg(column));
    return names;
}

void writeRows(JsonSink &sink, RowValues &denik, const FieldWriter &own, const FieldWriter &cols,
               const std::vector<int> &rows)
{
    sink.raw("[");
    for (size_t i = 0; i < rows.size(); ++i) {
        sink.raw(i > 0 ? ",\n{" : "\n{", i > 0 ? 3 : 2);
        const TMemTable::RawValue *values = denik.load(rows[i]);
        own.write(sink, values);
        sink.raw(",\"cols\":");
        cols.write(sink, values);
        sink.raw("}");
    }
    sink.raw("]");
}

QStringList groupTotalNames()
{
    QStringList names;
    for (const char *name : groupTotalFieldNames())
        names.append(QString::fromLatin1(name));
    return names;
}

void writeGroups(JsonSink &sink, const TPenDenReport &report)
{
    const ReportResult &result = report.Result();
    const TMemTable &skupiny = result.skupiny();
    const TMemTable &denik = result.denik();
    const TMemTable &prevedeno = result.prevedeno();

    FieldWriter groupOwn(skupiny,
                         {QStringLiteral("ID"), QStringLiteral("Zkratka"), QStringLiteral("Nazev"),
                          QStringLiteral("LastPoradi"), QStringLiteral("IDPrevedeno")},
                         false);
    FieldWriter groupCols(skupiny, amountNames(), true);
    FieldWriter groupTotals(skupiny, groupTotalNames(), true);
    FieldWriter carriedCols(prevedeno, amountNames(), true);
    FieldWriter rowOwn(denik,
                       {QStringLiteral("ID"), QStringLiteral("Poradi"), QStringLiteral("Datum"),
                        QStringLiteral("Doklad_VS"), QStringLiteral("Popis")},
                       false);
    FieldWriter rowCols(denik, amountNames(), true);
    RowValues groupValues(skupiny), carriedValues(prevedeno), rowValues(denik);

    sink.raw("[");
    for (int index = 0; index < result.groupCount(); ++index) {
        const ReportResult::Group &group = result.group(index);
        sink.raw(index > 0 ? ",\n{" : "\n{", index > 0 ? 3 : 2);
        const TMemTable::RawValue *values = groupValues.load(index);
        groupOwn.write(sink, values);
        sink.raw(",\"cols\":");
        groupCols.write(sink, values);
        sink.raw(",\"totals\":");
        groupTotals.write(sink, values);
        sink.raw(",\"carried\":");
        if (group.carried < 0)
            sink.raw("null");
        else
            carriedCols.write(sink, carriedValues.load(group.carried));
        sink.raw(",\"rows\":");
        writeRows(sink, rowValues, rowOwn, rowCols, group.rows);
        sink.raw(",\"months\":");
        const QByteArray months = monthsJson(report, group.id);
        sink.raw(months.constData(), size_t(months.size()));
        sink.raw("}");
    }
    sink.raw("]");
}

} // namespace

void writeReportJson(const TPenDenReport &report, QIODevice &device)
{
    JsonSink sink(device);
    sink.raw("{\"reportName\":");
    sink.text(report.ReportName());
    sink.raw(",\n\"rowCountAll\":");
    sink.integer(report.RowCountAll());
    sink.raw(",\n\"warnings\":[");
    const QStringList &warnings = report.Warnings();
    for (qsizetype i = 1; i < warnings.size(); ++i) {
        if (i > 1)
            sink.raw(",");
        sink.raw("\n");
        sink.text(warnings[i]);
    }
    sink.raw("],\n\"openingBalances\":");
    const ReportResult &result = report.Result();
    if (result.openingRecord() < 0)
        sink.raw("null");
    else
        FieldWriter(result.pocatecniStav(), amountNames(), true)
            .write(sink, RowValues(result.pocatecniStav()).load(result.openingRecord()));
    sink.raw(",\n\"groups\":");
    writeGroups(sink, report);
    sink.raw("}\n");
    sink.flush();
}

} // namespace kasovka
