#include "workbook/detail/SharedStrings.h"

#include "workbook/detail/Bytes.h"

namespace kasovka::detail {

uint32_t StringPool::addPlain(const QString &text)
{
    // One lookup: a new entry reads 0, stored indexes are one above.
    uint32_t &slot = m_plain[text];
    if (slot == 0) {
        m_strings.push_back({text, {}, {}});
        slot = uint32_t(m_strings.size());
    }
    return slot - 1;
}

uint32_t StringPool::addParsed(SstString s)
{
    const uint32_t index = uint32_t(m_strings.size());
    if (s.runs.isEmpty() && s.ext.isEmpty() && !m_plain.contains(s.text))
        m_plain.insert(s.text, index + 1);
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

// Builds records of at most kMaxRecordData bytes at the end of the stream;
// strings are split only inside their characters, which then resume after
// a new option byte.
class SstWriter {
public:
    // streamPos: the stream position at which `out` ends now.
    SstWriter(QByteArray &out, qsizetype streamPos) : m_out(out), m_shift(streamPos - out.size())
    {
        begin(rid::Sst);
    }

    void header(uint32_t total, uint32_t unique)
    {
        append32(m_out, total);
        append32(m_out, unique);
    }

    // Returns the stream position of the string and its offset in its record.
    std::pair<qsizetype, qsizetype> add(const SstString &s)
    {
        const bool high = needsHighByte(s.text);
        const int headerSize = 3 + (s.runs.isEmpty() ? 0 : 2) + (s.ext.isEmpty() ? 0 : 4);
        if (used() + headerSize + (high ? 2 : 1) > kMaxRecordData)
            next();
        const std::pair<qsizetype, qsizetype> where{m_shift + m_out.size(), m_out.size() - m_record};
        append16(m_out, uint16_t(s.text.size()));
        m_out.append(char((high ? 0x01 : 0) | (s.ext.isEmpty() ? 0 : 0x04)
                          | (s.runs.isEmpty() ? 0 : 0x08)));
        if (!s.runs.isEmpty())
            append16(m_out, uint16_t(s.runs.size() / 4));
        if (!s.ext.isEmpty())
            append32(m_out, uint32_t(s.ext.size()));
        const int width = high ? 2 : 1;
        qsizetype done = 0;
        while (done < s.text.size()) {
            qsizetype room = (kMaxRecordData - used()) / width;
            if (room == 0) {
                next();
                m_out.append(char(high ? 0x01 : 0));
                room = (kMaxRecordData - used()) / width;
            }
            const qsizetype k = std::min(room, s.text.size() - done);
            appendChars(m_out, QStringView(s.text).mid(done, k), high);
            done += k;
        }
        addRaw(s.runs, 4);
        addRaw(s.ext, 1);
        return where;
    }

    void finish() { close(); }

private:
    qsizetype used() const { return m_out.size() - m_record - 4; }

    void begin(uint16_t id)
    {
        m_record = m_out.size();
        append16(m_out, id);
        append16(m_out, 0); // the size, set by close()
    }
    void close() { put16(m_out.data() + m_record + 2, uint16_t(used())); }
    void next()
    {
        close();
        begin(rid::Continue);
    }

    void addRaw(const QByteArray &bytes, int unit)
    {
        qsizetype done = 0;
        while (done < bytes.size()) {
            qsizetype room = (kMaxRecordData - used()) / unit * unit;
            if (room == 0) {
                next();
                room = kMaxRecordData / unit * unit;
            }
            const qsizetype k = std::min(room, bytes.size() - done);
            m_out.append(bytes.constData() + done, k);
            done += k;
        }
    }

    QByteArray &m_out;
    qsizetype m_shift;      // stream position minus position in m_out
    qsizetype m_record = 0; // the current record's header in m_out
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
    SstWriter writer(out, streamPos);
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
    writer.finish();
    appendRecord(out, rid::ExtSst, ext);
}

} // namespace kasovka::detail

