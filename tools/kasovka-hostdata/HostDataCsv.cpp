#include "HostDataCsv.h"

#include "core/Error.h"
#include "host/HostSchema.h"
#include "host/TBFTable.h"
#include "host/demo/THostTableWriter.h"

#include <QList>

#include <cmath>

namespace kasovka {

namespace {

struct CsvField {
    QString text;
    bool quoted = false;
};

struct CsvRow {
    int line = 0; // line of the row's first character, from 1
    QList<CsvField> fields;
};

// RFC 4180 reading: quoted fields may hold commas, quotes ("") and line
// breaks; CR LF and LF both end a row; blank lines are skipped.
QList<CsvRow> parseCsv(const QString &text)
{
    QList<CsvRow> rows;
    CsvRow row;
    CsvField field;
    int line = 1;
    row.line = 1;
    // fieldStarted: the current field has a character or an opening quote;
    // a row with a separator has a (maybe empty) field after it.
    bool inQuotes = false, fieldStarted = false;
    auto endField = [&] { row.fields.append(field); field = CsvField(); fieldStarted = false; };
    auto endRow = [&] {
        if (fieldStarted || !row.fields.isEmpty())
            endField();
        if (!row.fields.isEmpty())
            rows.append(row);
        row = CsvRow();
        row.line = line;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (inQuotes) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
                field.text += u'"';
                ++i;
            } else if (c == u'"') {
                inQuotes = false;
            } else {
                if (c == u'\n')
                    ++line;
                field.text += c;
            }
        } else if (c == u'"' && !fieldStarted) {
            inQuotes = field.quoted = fieldStarted = true;
        } else if (c == u',') {
            endField();
        } else if (c == u'\n') {
            ++line;
            endRow();
        } else if (c != u'\r') {
            field.text += c;
            fieldStarted = true;
        }
    }
    if (inQuotes)
        throw Error(QStringLiteral("Řádek %1: uvozovky nejsou uzavřené.").arg(row.line));
    endRow();
    return rows;
}

Variant numberOrText(const QString &text)
{
    bool ok = false;
    const qint64 integer = text.toLongLong(&ok);
    if (ok)
        return Variant(integer);
    const double number = text.toDouble(&ok);
    return ok ? Variant(number) : Variant(text);
}

Variant importValue(HostFieldKind kind, const CsvField &field)
{
    const QString &text = field.text;
    if (text.isEmpty() && !field.quoted)
        return Variant();
    switch (kind) {
    case HostFieldKind::Text: return Variant(text);
    case HostFieldKind::Variant: return field.quoted ? Variant(text) : numberOrText(text);
    case HostFieldKind::Integer: return Variant(Variant(text).toInt());
    case HostFieldKind::Boolean: return Variant(Variant(text).toBool());
    case HostFieldKind::Float: return Variant(Variant(text).toDouble());
    case HostFieldKind::Currency: {
        const std::optional<Currency> amount = Currency::parse(text);
        if (!amount)
            throw Error(QStringLiteral("„%1“ není částka").arg(text));
        return Variant(*amount);
    }
    case HostFieldKind::Date: {
        if (const std::optional<TDateTime> date = parseIsoDate(text))
            return Variant::fromDate(*date);
        bool ok = false;
        const double serial = text.toDouble(&ok);
        if (!ok || !std::isfinite(serial))
            throw Error(QStringLiteral("„%1“ není datum (RRRR-MM-DD) ani pořadové číslo dne").arg(text));
        return Variant::fromDate(serial);
    }
    }
    return Variant(text);
}

// The kinds of the named fields as the table file declares them; an unknown
// declared type is taken as text here and refused when written.
QList<HostFieldKind> declaredKinds(const QString &tablePath, const QStringList &fields)
{
    TBFTable table;
    if (table.Open(tablePath) != 0)
        throw Error(table.LastError());
    QList<HostFieldKind> kinds;
    for (const QString &field : fields)
        kinds.append(table.FieldKind(table.FieldIndex(field)).value_or(HostFieldKind::Text));
    return kinds;
}

QString quoted(const QString &text)
{
    return u'"' + QString(text).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

QString csvText(const QString &text)
{
    const bool needsQuotes = text.contains(u',') || text.contains(u'"') || text.contains(u'\n')
        || text.contains(u'\r') || text.trimmed() != text;
    return needsQuotes ? quoted(text) : text;
}

QString dumpValue(HostFieldKind kind, const Variant &value)
{
    if (value.isEmpty())
        return QString();
    switch (value.kind()) {
    case Variant::Kind::Text:
        return kind == HostFieldKind::Variant ? quoted(value.toText()) : csvText(value.toText());
    case Variant::Kind::Boolean: return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case Variant::Kind::Date: {
        const TDateTime serial = value.toDate();
        if (serial == 0)
            return QString();
        const QString iso = formatIsoDate(serial);
        return iso.isEmpty() ? QString::number(serial, 'g', 17) : iso;
    }
    default: return value.toText();
    }
}

} // namespace

int importCsv(const QString &tablePath, const QByteArray &csv)
{
    QString text = QString::fromUtf8(csv);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    const QList<CsvRow> rows = parseCsv(text);
    if (rows.isEmpty())
        throw Error(QStringLiteral("Soubor CSV nemá řádek s názvy polí."));
    THostTableWriter writer(tablePath);
    QList<int> positions;
    QStringList names;
    for (const CsvField &field : rows.first().fields) {
        positions.append(writer.FieldIndex(field.text.trimmed()));
        names.append(field.text.trimmed());
    }
    const QList<HostFieldKind> kinds = declaredKinds(writer.FilePath(), names);
    for (qsizetype r = 1; r < rows.size(); ++r) {
        const CsvRow &row = rows[r];
        if (row.fields.size() != positions.size())
            throw Error(QStringLiteral("Řádek %1: %2 polí místo %3.")
                            .arg(row.line).arg(row.fields.size()).arg(positions.size()));
        for (qsizetype i = 0; i < positions.size(); ++i) {
            try {
                writer.SetValue(positions[i], importValue(kinds[i], row.fields[i]));
            } catch (const Error &error) {
                throw Error(QStringLiteral("Řádek %1, pole „%2“: %3")
                                .arg(row.line).arg(names[i], error.text()));
            }
        }
        try {
            writer.Append();
        } catch (const Error &error) {
            throw Error(QStringLiteral("Řádek %1: %2").arg(row.line).arg(error.text()));
        }
    }
    writer.Commit();
    return writer.AppendedCount();
}

QByteArray dumpCsv(const QString &tablePath)
{
    TBFTable table;
    if (table.Open(tablePath) != 0)
        throw Error(table.LastError());
    const QStringList names = table.FieldNames();
    QList<HostFieldKind> kinds;
    QStringList header;
    for (qsizetype i = 0; i < names.size(); ++i) {
        kinds.append(table.FieldKind(int(i)).value_or(HostFieldKind::Text));
        header.append(csvText(names[i]));
    }
    QByteArray out = header.join(u',').toUtf8() + '\n';
    if (table.First() == TBFTable::EndOfTable)
        return out;
    do {
        QStringList fields;
        for (qsizetype i = 0; i < names.size(); ++i)
            fields.append(dumpValue(kinds[i], table.Value(int(i))));
        out += fields.join(u',').toUtf8() + '\n';
    } while (table.Next() != TBFTable::EndOfTable);
    return out;
}

} // namespace kasovka
