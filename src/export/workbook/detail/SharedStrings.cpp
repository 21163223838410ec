#include "export/workbook/detail/SharedStrings.h"

#include "export/workbook/detail/Bytes.h"

namespace kasovka::detail {

uint32_t StringPool::addPlain(const QString &text)
{
    const auto it = m_plain.constFind(text);
    if (it != m_plain.constEnd())
        return it.value();
    const uint32_t index = uint32_t(m_strings.size());
    m_strings.push_back({text, {}, {}});
    m_plain.insert(text, index);
    return index;
}

uint32_t StringPool::addParsed(SstString s)
{
    const uint32_t index = uint32_t(m_strings.size());
    if (s.runs.isEmpty() && s.ext.isEmpty() && !m_plain.contains(s.text))
        m_plain.insert(s.text, index);
    m_strings.push_back(std::move(s));
    return index;
}

namespace {

// Reads across the SST record and its CONTINUE records. Character data that
// crosses into a new record starts there with a fresh option byte.
class SegmentReader {
public:
    SegmentReader(const BiffRecord &rec, const QString &error) : m_error(error)
    {
        m_parts.push_back(&rec.data);
        for (const auto &c : rec.continues)
            m_parts.push_back(&c);
    }

    bool atEnd()
    {
        while (m_part < m_parts.size() && m_off >= m_parts[m_part]->size()) {
            ++m_part;
            m_off = 0;
        }
        return m_part >= m_parts.size();
    }
    uint8_t u8()
    {
        if (atEnd())
            throw Error(m_error);
        return uint8_t(m_parts[m_part]->at(m_off++));
    }
    uint16_t u16() { return uint16_t(u8() | (u8() << 8)); }
    uint32_t u32() { return uint32_t(u16()) | (uint32_t(u16()) << 16); }
    QByteArray bytes(qsizetype n)
    {
        QByteArray out;
        while (n > 0) {
            if (atEnd())
                throw Error(m_error);
            const QByteArray &p = *m_parts[m_part];
            const qsizetype k = std::min(n, p.size() - m_off);
            out.append(p.constData() + m_off, k);
            m_off += k;
            n -= k;
        }
        return out;
    }
    QString chars(qsizetype count, bool highByte)
    {
        QString s;
        s.reserve(count);
        bool first = true;
        while (count > 0) {
            if (m_off >= m_parts[m_part]->size() || (!first && m_off == 0)) {
                if (atEnd())
                    throw Error(m_error);
                highByte = u8() & 0x01;
            }
            first = false;
            const QByteArray &p = *m_parts[m_part];
            const qsizetype avail = (p.size() - m_off) / (highByte ? 2 : 1);
            const qsizetype k = std::min(count, avail);
            if (k == 0)
                throw Error(m_error);
            ByteReader r(p, m_error, m_off);
            s += r.chars(k, highByte);
            m_off = r.pos();
            count -= k;
        }
        return s;
    }

private:
    QString m_error;
    std::vector<const QByteArray *> m_parts;
    size_t m_part = 0;
    qsizetype m_off = 0;
};

// Builds records of at most kMaxRecordData bytes; strings are split only
// inside their characters, which then resume after a new option byte.
class SstWriter {
public:
    explicit SstWriter(qsizetype streamPos) : m_recordStart(streamPos) {}

    void header(uint32_t total, uint32_t unique)
    {
        append32(m_cur, total);
        append32(m_cur, unique);
    }

    // Returns the stream position of the string and its offset in its record.
    std::pair<qsizetype, qsizetype> add(const SstString &s)
    {
        const bool high = needsHighByte(s.text);
        const int headerSize = 3 + (s.runs.isEmpty() ? 0 : 2) + (s.ext.isEmpty() ? 0 : 4);
        if (m_cur.size() + headerSize + (high ? 2 : 1) > kMaxRecordData)
            flush();
        const std::pair<qsizetype, qsizetype> where{m_recordStart + 4 + m_cur.size(),
                                                    4 + m_cur.size()};
        append16(m_cur, uint16_t(s.text.size()));
        m_cur.append(char((high ? 0x01 : 0) | (s.ext.isEmpty() ? 0 : 0x04)
                          | (s.runs.isEmpty() ? 0 : 0x08)));
        if (!s.runs.isEmpty())
            append16(m_cur, uint16_t(s.runs.size() / 4));
        if (!s.ext.isEmpty())
            append32(m_cur, uint32_t(s.ext.size()));
        const int width = high ? 2 : 1;
        qsizetype done = 0;
        while (done < s.text.size()) {
            qsizetype room = (kMaxRecordData - m_cur.size()) / width;
            if (room == 0) {
                flush();
                m_cur.append(char(high ? 0x01 : 0));
                room = (kMaxRecordData - m_cur.size()) / width;
            }
            const qsizetype k = std::min(room, s.text.size() - done);
            appendChars(m_cur, s.text.mid(done, k), high);
            done += k;
        }
        addRaw(s.runs, 4);
        addRaw(s.ext, 1);
        return where;
    }

    QByteArray finish()
    {
        flush();
        return m_out;
    }

private:
    void addRaw(const QByteArray &bytes, int unit)
    {
        qsizetype done = 0;
        while (done < bytes.size()) {
            qsizetype room = (kMaxRecordData - m_cur.size()) / unit * unit;
            if (room == 0) {
                flush();
                room = kMaxRecordData / unit * unit;
            }
            const qsizetype k = std::min(room, bytes.size() - done);
            m_cur.append(bytes.constData() + done, k);
            done += k;
        }
    }

    void flush()
    {
        append16(m_out, m_first ? rid::Sst : rid::Continue);
        append16(m_out, uint16_t(m_cur.size()));
        m_out.append(m_cur);
        m_recordStart += 4 + m_cur.size();
        m_cur.clear();
        m_first = false;
    }

    QByteArray m_out, m_cur;
    qsizetype m_recordStart;
    bool m_first = true;
};

} // namespace

std::vector<SstString> parseSst(const BiffRecord &sst, const QString &error)
{
    SegmentReader r(sst, error);
    r.u32(); // references: recomputed on save
    const uint32_t unique = r.u32();
    std::vector<SstString> out;
    out.reserve(std::min<uint32_t>(unique, 1u << 20));
    for (uint32_t i = 0; i < unique && !r.atEnd(); ++i) {
        const uint16_t cch = r.u16();
        const uint8_t flags = r.u8();
        const uint16_t runs = (flags & 0x08) ? r.u16() : 0;
        const uint32_t ext = (flags & 0x04) ? r.u32() : 0;
        SstString s;
        s.text = r.chars(cch, flags & 0x01);
        s.runs = r.bytes(qsizetype(runs) * 4);
        s.ext = r.bytes(ext);
        out.push_back(std::move(s));
    }
    return out;
}

void appendSst(QByteArray &out, const std::vector<const SstString *> &strings,
               uint32_t totalRefs, qsizetype streamPos)
{
    SstWriter writer(streamPos);
    writer.header(totalRefs, uint32_t(strings.size()));
    // EXTSST: one bucket per `perBucket` strings, at most 128 buckets.
    const uint16_t perBucket = uint16_t(std::max<size_t>(8, strings.size() / 128 + 1));
    QByteArray ext;
    append16(ext, perBucket);
    for (size_t i = 0; i < strings.size(); ++i) {
        const auto where = writer.add(*strings[i]);
        if (i % perBucket == 0) {
            append32(ext, uint32_t(where.first));
            append16(ext, uint16_t(where.second));
            append16(ext, 0);
        }
    }
    out.append(writer.finish());
    appendRecord(out, rid::ExtSst, ext);
}

} // namespace kasovka::detail

