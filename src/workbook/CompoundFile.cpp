// Compound File Binary Format, following [MS-CFB] sections 2.2 (header),
// 2.3 (FAT), 2.5 (DIFAT), 2.4 (mini FAT and mini stream) and 2.6
// (directory entries). Every field is read through bounds checks and every
// chain is checked for loops and for sectors outside the file.

#include "workbook/CompoundFile.h"

#include "workbook/detail/Bytes.h"

#include <algorithm>

namespace kasovka {

using namespace detail;

namespace {

constexpr uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr uint32_t kMaxRegSect = 0xFFFFFFFA;
constexpr uint32_t kNoStream = 0xFFFFFFFF;
constexpr uint32_t kMiniCutoff = 4096;
const char kSignature[8] = {'\xD0', '\xCF', '\x11', '\xE0', '\xA1', '\xB1', '\x1A', '\xE1'};

// Reading side: the parsed header plus helpers that follow chains.
class CfbReader {
public:
    CfbReader(const QByteArray &file, const QString &error) : m_file(file), m_error(error) {}

    TXlsStorage read()
    {
        readHeader();
        readFat();
        readDirectory();
        readMini();
        TXlsStorage root;
        std::vector<bool> seen(m_entries.size(), false);
        buildEntry(0, root, seen, 0);
        return root;
    }

private:
    struct Entry {
        QString name;
        uint8_t type = 0;
        uint32_t left = kNoStream, right = kNoStream, child = kNoStream;
        QByteArray classId, times;
        uint32_t stateBits = 0;
        uint32_t start = 0;
        uint64_t size = 0;
    };

    [[noreturn]] void fail() const { throw Error(m_error); }

    void readHeader()
    {
        ByteReader r(m_file, m_error);
        r.need(512);
        r.skip(24); // signature (checked by the caller) and class id
        r.skip(2);  // minor version
        const uint16_t major = r.u16();
        if (r.u16() != 0xFFFE)
            fail();
        const uint16_t shift = r.u16();
        if (!((major == 3 && shift == 9) || (major == 4 && shift == 12)))
            fail();
        m_sectorSize = 1u << shift;
        if (r.u16() != 6) // mini sector shift
            fail();
        r.skip(6 + 4); // reserved, number of directory sectors
        m_numFat = r.u32();
        m_firstDir = r.u32();
        r.skip(4);
        m_cutoff = r.u32();
        if (m_cutoff != kMiniCutoff)
            fail();
        m_firstMiniFat = r.u32();
        m_numMiniFat = r.u32();
        m_firstDifat = r.u32();
        m_numDifat = r.u32();
        for (int i = 0; i < 109; ++i)
            m_difat.push_back(r.u32());
        const qsizetype body = m_file.size() - qsizetype(m_sectorSize);
        m_sectorCount = body <= 0 ? 0 : uint32_t((body + m_sectorSize - 1) / m_sectorSize);
    }

    const char *sector(uint32_t index) const
    {
        if (index >= m_sectorCount)
            fail();
        return m_file.constData() + qsizetype(index + 1) * m_sectorSize;
    }
    // Bytes of a sector that lie inside the file (the last may be short).
    qsizetype sectorBytes(uint32_t index) const
    {
        const qsizetype start = qsizetype(index + 1) * m_sectorSize;
        return std::min<qsizetype>(m_sectorSize, m_file.size() - start);
    }

    void readFat()
    {
        std::vector<uint32_t> fatSectors;
        for (uint32_t s : m_difat)
            if (s <= kMaxRegSect)
                fatSectors.push_back(s);
        const uint32_t perSector = m_sectorSize / 4 - 1;
        uint32_t next = m_firstDifat;
        std::vector<bool> seen(m_sectorCount, false);
        for (uint32_t n = 0; n < m_numDifat && next <= kMaxRegSect; ++n) {
            if (next >= m_sectorCount || seen[next] || sectorBytes(next) < qsizetype(m_sectorSize))
                fail();
            seen[next] = true;
            const char *p = sector(next);
            for (uint32_t i = 0; i < perSector; ++i) {
                const uint32_t s = u32At(p + 4 * i);
                if (s <= kMaxRegSect)
                    fatSectors.push_back(s);
            }
            next = u32At(p + 4 * perSector);
        }
        if (fatSectors.size() < m_numFat || m_numFat == 0)
            fail();
        fatSectors.resize(m_numFat);
        for (uint32_t s : fatSectors) {
            if (s >= m_sectorCount || sectorBytes(s) < qsizetype(m_sectorSize))
                fail();
            const char *p = sector(s);
            for (uint32_t i = 0; i < m_sectorSize / 4; ++i)
                m_fat.push_back(u32At(p + 4 * i));
        }
    }

    // Follows a chain through `table`, rejecting loops and foreign indexes.
    std::vector<uint32_t> chain(uint32_t start, const std::vector<uint32_t> &table,
                                uint32_t limit) const
    {
        std::vector<uint32_t> out;
        std::vector<bool> seen(table.size(), false);
        uint32_t s = start;
        while (s != kEndOfChain) {
            if (s >= table.size() || s >= limit || seen[s])
                fail();
            seen[s] = true;
            out.push_back(s);
            s = table[s];
        }
        return out;
    }

    QByteArray readChain(uint32_t start, uint64_t size) const
    {
        if (size == 0)
            return {};
        const auto sectors = chain(start, m_fat, m_sectorCount);
        if (uint64_t(sectors.size()) * m_sectorSize < size)
            fail();
        QByteArray out;
        out.reserve(qsizetype(size));
        for (uint32_t s : sectors) {
            const qsizetype n = std::min<qsizetype>(sectorBytes(s), qsizetype(size) - out.size());
            if (n <= 0)
                break;
            out.append(sector(s), n);
        }
        if (uint64_t(out.size()) < size)
            fail();
        return out;
    }

    void readDirectory()
    {
        if (m_firstDir > kMaxRegSect)
            fail();
        const auto sectors = chain(m_firstDir, m_fat, m_sectorCount);
        QByteArray dir;
        for (uint32_t s : sectors) {
            if (sectorBytes(s) < qsizetype(m_sectorSize))
                fail();
            dir.append(sector(s), m_sectorSize);
        }
        for (qsizetype off = 0; off + 128 <= dir.size(); off += 128)
            m_entries.push_back(parseEntry(dir, off));
        if (m_entries.empty() || m_entries[0].type != 5)
            fail();
    }

    Entry parseEntry(const QByteArray &dir, qsizetype off) const
    {
        ByteReader r(dir, m_error, off);
        Entry e;
        const QByteArray rawName = r.bytes(64);
        const uint16_t nameLen = r.u16();
        e.type = r.u8();
        r.skip(1); // colour
        e.left = r.u32();
        e.right = r.u32();
        e.child = r.u32();
        e.classId = r.bytes(16);
        e.stateBits = r.u32();
        e.times = r.bytes(16);
        e.start = r.u32();
        const uint32_t low = r.u32();
        const uint32_t high = r.u32();
        // Version 3 files may leave garbage in the high half of the size.
        e.size = m_sectorSize == 512 ? low : (uint64_t(high) << 32 | low);
        if (e.type == 0)
            return e;
        if (nameLen < 2 || nameLen > 64 || nameLen % 2 != 0)
            fail();
        ByteReader nr(rawName, m_error);
        e.name = nr.chars(nameLen / 2 - 1, true);
        if (e.type != 1 && e.type != 2 && e.type != 5)
            fail();
        return e;
    }

    void readMini()
    {
        const Entry &root = m_entries[0];
        m_miniStream = readChain(root.start, root.size);
        if (m_numMiniFat == 0 || m_firstMiniFat > kMaxRegSect)
            return;
        const auto sectors = chain(m_firstMiniFat, m_fat, m_sectorCount);
        for (uint32_t s : sectors) {
            const char *p = sector(s);
            const qsizetype n = sectorBytes(s) / 4;
            for (qsizetype i = 0; i < n; ++i)
                m_miniFat.push_back(u32At(p + 4 * i));
        }
    }

    QByteArray readMiniChain(uint32_t start, uint64_t size) const
    {
        if (size == 0)
            return {};
        const uint32_t limit = uint32_t(m_miniStream.size() / 64);
        const auto sectors = chain(start, m_miniFat, limit);
        if (uint64_t(sectors.size()) * 64 < size)
            fail();
        QByteArray out;
        out.reserve(qsizetype(size));
        for (uint32_t s : sectors) {
            const qsizetype n = std::min<qsizetype>(64, qsizetype(size) - out.size());
            out.append(m_miniStream.constData() + qsizetype(s) * 64, n);
        }
        return out;
    }

    // Builds the storage for entry `index` and its children, visiting each
    // entry at most once so that a looping tree cannot hang the reader.
    void buildEntry(uint32_t index, TXlsStorage &out, std::vector<bool> &seen, int depth)
    {
        if (index >= m_entries.size() || seen[index] || depth > 64)
            fail();
        seen[index] = true;
        const Entry &e = m_entries[index];
        out.name = e.name;
        out.classId = e.classId;
        out.stateBits = e.stateBits;
        out.times = e.times;
        out.isStorage = e.type != 2;
        if (e.type == 2) {
            if (e.size > uint64_t(m_file.size()) * 64)
                fail();
            out.data = e.size < m_cutoff ? readMiniChain(e.start, e.size) : readChain(e.start, e.size);
            return;
        }
        if (e.child == kNoStream)
            return;
        // In-order walk of the sibling tree with an explicit stack.
        std::vector<uint32_t> stack;
        uint32_t node = e.child;
        std::vector<bool> walked(m_entries.size(), false);
        while (node != kNoStream || !stack.empty()) {
            while (node != kNoStream) {
                if (node >= m_entries.size() || walked[node] || m_entries[node].type == 0
                    || m_entries[node].type == 5)
                    fail();
                walked[node] = true;
                stack.push_back(node);
                node = m_entries[node].left;
            }
            node = stack.back();
            stack.pop_back();
            out.children.emplace_back();
            buildEntry(node, out.children.back(), seen, depth + 1);
            node = m_entries[node].right;
        }
    }

    const QByteArray &m_file;
    QString m_error;
    uint32_t m_sectorSize = 512, m_sectorCount = 0;
    uint32_t m_numFat = 0, m_firstDir = 0, m_cutoff = 0;
    uint32_t m_firstMiniFat = 0, m_numMiniFat = 0, m_firstDifat = 0, m_numDifat = 0;
    std::vector<uint32_t> m_difat, m_fat, m_miniFat;
    std::vector<Entry> m_entries;
    QByteArray m_miniStream;
};

} // namespace

TXlsStorage *TXlsStorage::child(const QString &childName)
{
    for (auto &c : children)
        if (c.name.compare(childName, Qt::CaseInsensitive) == 0)
            return &c;
    return nullptr;
}

const TXlsStorage *TXlsStorage::child(const QString &childName) const
{
    return const_cast<TXlsStorage *>(this)->child(childName);
}

bool TOle2Storage::hasSignature(const QByteArray &file)
{
    return file.size() >= 8 && std::memcmp(file.constData(), kSignature, 8) == 0;
}

TXlsStorage TOle2Storage::read(const QByteArray &file, const QString &damagedText)
{
    if (!hasSignature(file))
        throw Error(damagedText);
    return CfbReader(file, damagedText).read();
}

} // namespace kasovka
