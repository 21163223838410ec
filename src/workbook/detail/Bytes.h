#pragma once
// Little-endian reading and writing of on-disk fields. Every read is checked
// against the buffer, so damaged input raises an error instead of reading
// out of bounds.

#include "core/Error.h"
#include "workbook/detail/Records.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <cstring>

namespace kasovka::detail {

inline uint16_t u16At(const char *p)
{
    return uint16_t(uint8_t(p[0]) | (uint8_t(p[1]) << 8));
}

inline uint32_t u32At(const char *p)
{
    return uint32_t(u16At(p)) | (uint32_t(u16At(p + 2)) << 16);
}

inline void put16(char *p, uint16_t v)
{
    p[0] = char(v & 0xFF);
    p[1] = char(v >> 8);
}

inline void put32(char *p, uint32_t v)
{
    put16(p, uint16_t(v & 0xFFFF));
    put16(p + 2, uint16_t(v >> 16));
}

inline void append16(QByteArray &out, uint16_t v)
{
    char b[2];
    put16(b, v);
    out.append(b, 2);
}

inline void append32(QByteArray &out, uint32_t v)
{
    char b[4];
    put32(b, v);
    out.append(b, 4);
}

inline void appendDouble(QByteArray &out, double v)
{
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    append32(out, uint32_t(bits & 0xFFFFFFFFu));
    append32(out, uint32_t(bits >> 32));
}

inline double doubleAt(const char *p)
{
    const uint64_t bits = uint64_t(u32At(p)) | (uint64_t(u32At(p + 4)) << 32);
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

// A bounded cursor over a byte buffer, which must outlive it; a read past
// the end throws `error`, or, over a record's data, the damaged-records
// error naming the record.
class ByteReader {
public:
    ByteReader(const QByteArray &data, QString error, qsizetype pos = 0)
        : m_data(data.constData()), m_size(data.size()), m_error(std::move(error)), m_pos(pos)
    {
    }
    // `data`: the record's data or its joined data.
    ByteReader(const QByteArray &data, const BiffRecord &record, qsizetype pos = 0)
        : m_data(data.constData()), m_size(data.size()), m_record(&record), m_pos(pos)
    {
    }

    qsizetype pos() const { return m_pos; }
    qsizetype remaining() const { return m_size - m_pos; }
    bool atEnd() const { return m_pos >= m_size; }

    void need(qsizetype n) const
    {
        if (n < 0 || m_pos > m_size || m_size - m_pos < n)
            fail(n);
    }
    void skip(qsizetype n)
    {
        need(n);
        m_pos += n;
    }
    uint8_t u8()
    {
        need(1);
        return uint8_t(m_data[m_pos++]);
    }
    uint16_t u16()
    {
        need(2);
        const uint16_t v = u16At(m_data + m_pos);
        m_pos += 2;
        return v;
    }
    uint32_t u32()
    {
        need(4);
        const uint32_t v = u32At(m_data + m_pos);
        m_pos += 4;
        return v;
    }
    double f64()
    {
        need(8);
        const double v = doubleAt(m_data + m_pos);
        m_pos += 8;
        return v;
    }
    QByteArray bytes(qsizetype n)
    {
        need(n);
        QByteArray b(m_data + m_pos, n);
        m_pos += n;
        return b;
    }
    // Characters of an XLUnicodeString body: 8-bit (Latin-1) or UTF-16LE.
    QString chars(qsizetype count, bool highByte)
    {
        if (highByte) {
            need(count * 2);
            QString s(count, Qt::Uninitialized);
            const char *p = m_data + m_pos;
            for (qsizetype i = 0; i < count; ++i)
                s[i] = QChar(u16At(p + 2 * i));
            m_pos += count * 2;
            return s;
        }
        need(count);
        QString s = QString::fromLatin1(m_data + m_pos, count);
        m_pos += count;
        return s;
    }

private:
    [[noreturn]] void fail(qsizetype n) const;

    const char *m_data;
    qsizetype m_size;
    QString m_error;
    const BiffRecord *m_record = nullptr;
    qsizetype m_pos;
};

// Appends a string body: compressed (the low bytes) when every character
// fits in 8 bits, else UTF-16LE.
inline void appendChars(QByteArray &out, QStringView s, bool highByte)
{
    const qsizetype at = out.size();
    out.resize(at + s.size() * (highByte ? 2 : 1));
    char *p = out.data() + at;
    if (highByte) {
        for (QChar c : s) {
            put16(p, c.unicode());
            p += 2;
        }
    } else {
        for (QChar c : s)
            *p++ = char(c.unicode());
    }
}

inline bool needsHighByte(QStringView s)
{
    for (QChar c : s)
        if (c.unicode() > 0xFF)
            return true;
    return false;
}

} // namespace kasovka::detail
