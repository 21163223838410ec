#include "workbook/detail/Records.h"

#include "workbook/Errors.h"
#include "workbook/detail/Bytes.h"

namespace kasovka::detail {

QByteArray BiffRecord::joined() const
{
    if (continues.empty())
        return data;
    QByteArray out = data;
    for (const auto &c : continues)
        out.append(c);
    return out;
}

void BiffRecord::setJoined(const QByteArray &bytes)
{
    qsizetype pos = 0;
    data = bytes.mid(pos, data.size());
    pos += data.size();
    for (auto &c : continues) {
        c = bytes.mid(pos, c.size());
        pos += c.size();
    }
}

qsizetype BiffRecord::streamPos(qsizetype at) const
{
    if (offset == kMade)
        return -1;
    qsizetype pos = qsizetype(offset) + 4;
    qsizetype left = at;
    qsizetype part = data.size();
    for (size_t i = 0; left >= part && i < continues.size(); ++i) {
        left -= part;
        pos += part + 4;
        part = continues[i].size();
    }
    return pos + left;
}

QString recordName(uint16_t id)
{
    switch (id) {
    case rid::Note: return QStringLiteral("NOTE");
    case rid::Obj: return QStringLiteral("OBJ");
    case rid::Txo: return QStringLiteral("TXO");
    case rid::Row: return QStringLiteral("ROW");
    case rid::MergedCells: return QStringLiteral("MERGEDCELLS");
    case rid::HorizontalBreaks: return QStringLiteral("HORIZONTALPAGEBREAKS");
    case rid::VerticalBreaks: return QStringLiteral("VERTICALPAGEBREAKS");
    case rid::MsoDrawing: return QStringLiteral("MSODRAWING");
    case rid::MsoDrawingGroup: return QStringLiteral("MSODRAWINGGROUP");
    case rid::Bof: return QStringLiteral("BOF");
    case rid::BoundSheet: return QStringLiteral("BOUNDSHEET");
    case rid::Name: return QStringLiteral("NAME");
    case rid::ExternSheet: return QStringLiteral("EXTERNSHEET");
    case rid::Sst: return QStringLiteral("SST");
    case rid::Formula: return QStringLiteral("FORMULA");
    case rid::SharedFormula: return QStringLiteral("SHRFMLA");
    case rid::Array: return QStringLiteral("ARRAY");
    case rid::ColInfo: return QStringLiteral("COLINFO");
    case rid::Window1: return QStringLiteral("WINDOW1");
    case rid::Window2: return QStringLiteral("WINDOW2");
    default: return QStringLiteral("record 0x%1").arg(id, 4, 16, QLatin1Char('0'));
    }
}

void throwDamaged(const BiffRecord &rec, qsizetype at, const QString &what)
{
    throw Error(xlstext::damagedRecord(recordName(rec.id), rec.streamPos(at), what));
}

qsizetype BiffRecord::streamSize() const
{
    qsizetype n = 4 + data.size();
    for (const auto &c : continues)
        n += 4 + c.size();
    return n;
}

void BiffRecord::appendTo(QByteArray &out) const
{
    append16(out, id);
    append16(out, uint16_t(data.size()));
    out.append(data);
    for (const auto &c : continues) {
        append16(out, rid::Continue);
        append16(out, uint16_t(c.size()));
        out.append(c);
    }
}

void appendRecord(QByteArray &out, uint16_t id, const QByteArray &data)
{
    qsizetype pos = 0;
    uint16_t current = id;
    do {
        const qsizetype n = std::min<qsizetype>(kMaxRecordData, data.size() - pos);
        append16(out, current);
        append16(out, uint16_t(n));
        out.append(data.constData() + pos, n);
        pos += n;
        current = rid::Continue;
    } while (pos < data.size());
}

void ByteReader::fail(qsizetype n) const
{
    if (!m_record)
        throw Error(m_error);
    throwDamaged(*m_record, m_pos,
                 QStringLiteral("expected %1 more bytes, found %2").arg(n).arg(remaining()));
}

BiffRecord splitRecord(uint16_t id, const QByteArray &data)
{
    BiffRecord rec{id, data.left(kMaxRecordData), {}};
    for (qsizetype pos = kMaxRecordData; pos < data.size(); pos += kMaxRecordData)
        rec.continues.push_back(data.mid(pos, kMaxRecordData));
    return rec;
}

std::vector<BiffRecord> readRecords(const QByteArray &stream, const QString &error)
{
    std::vector<BiffRecord> records;
    ByteReader r(stream, error);
    while (r.remaining() >= 4) {
        const auto offset = uint32_t(r.pos());
        const uint16_t id = r.u16();
        const uint16_t size = r.u16();
        if (id == 0 && size == 0 && !records.empty() && records.back().id == rid::Eof)
            break; // padding after the last section
        QByteArray data = r.bytes(size);
        if (id == rid::Continue && !records.empty()) {
            records.back().continues.push_back(std::move(data));
            continue;
        }
        records.push_back({id, std::move(data), {}, offset});
    }
    return records;
}

} // namespace kasovka::detail
