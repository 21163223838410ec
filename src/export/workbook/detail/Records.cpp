#include "export/workbook/detail/Records.h"

#include "export/workbook/detail/Bytes.h"

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

std::vector<BiffRecord> readRecords(const QByteArray &stream, const QString &error)
{
    std::vector<BiffRecord> records;
    ByteReader r(stream, error);
    while (r.remaining() >= 4) {
        const uint16_t id = r.u16();
        const uint16_t size = r.u16();
        if (id == 0 && size == 0 && !records.empty() && records.back().id == rid::Eof)
            break; // padding after the last section
        QByteArray data = r.bytes(size);
        if (id == rid::Continue && !records.empty()) {
            records.back().continues.push_back(std::move(data));
            continue;
        }
        records.push_back({id, std::move(data), {}});
    }
    return records;
}

} // namespace kasovka::detail
