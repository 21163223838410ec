// Writes a version 3 compound file ([MS-CFB] 2.2-2.6): 512-byte sectors,
// streams under 4096 bytes in the mini stream, siblings kept in a balanced
// red-black tree ordered the way the format compares names.

#include "workbook/CompoundFile.h"

#include "workbook/detail/Bytes.h"

#include <QBuffer>
#include <algorithm>

namespace kasovka {

using namespace detail;

namespace {

constexpr uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr uint32_t kFreeSect = 0xFFFFFFFF;
constexpr uint32_t kFatSect = 0xFFFFFFFD;
constexpr uint32_t kDifSect = 0xFFFFFFFC;
constexpr uint32_t kNoStream = 0xFFFFFFFF;
constexpr uint32_t kSector = 512;
constexpr uint32_t kMiniCutoff = 4096;

bool nameLess(const TXlsStorage *a, const TXlsStorage *b)
{
    if (a->name.size() != b->name.size())
        return a->name.size() < b->name.size();
    return a->name.toUpper() < b->name.toUpper();
}

struct DirEntry {
    TXlsStorage *node = nullptr;
    uint8_t type = 0;
    bool red = false;
    uint32_t left = kNoStream, right = kNoStream, child = kNoStream;
    uint32_t start = kEndOfChain;
    uint32_t size = 0;
};

// Builds the file after its header sector in one buffer, which begins with
// the largest stream's own bytes: sector 0 is that stream's first.
class CfbWriter {
public:
    // The header sector, then the rest of the file (in `body`).
    QByteArray write(TXlsStorage &root, QByteArray &body)
    {
        m_entries.push_back({&root, 5});
        addChildren(0);
        qsizetype streams = 0;
        DirEntry *largest = nullptr;
        for (auto &e : m_entries) {
            streams += e.node->data.size() + kSector;
            if (e.type == 2 && e.node->data.size() >= kMiniCutoff
                && (!largest || e.node->data.size() > largest->node->data.size()))
                largest = &e;
        }
        const qsizetype room = streams + streams / 64 + qsizetype(m_entries.size()) * 128;
        if (largest) {
            m_body = std::move(largest->node->data);
            largest->size = uint32_t(m_body.size());
            largest->start = 0;
            m_placed = largest->node;
            m_body.reserve(room);
            padAndChain(uint32_t(m_body.size()));
        } else {
            m_body.reserve(room);
        }
        layoutStreams();
        QByteArray head = assemble();
        body = std::move(m_body);
        return head;
    }

private:
    // Gives entry `index` its children, as a balanced tree over the sorted list.
    void addChildren(uint32_t index)
    {
        TXlsStorage *node = m_entries[index].node;
        std::vector<TXlsStorage *> kids;
        for (auto &c : node->children)
            kids.push_back(&c);
        std::sort(kids.begin(), kids.end(), nameLess);
        const uint32_t first = uint32_t(m_entries.size());
        for (auto *k : kids)
            m_entries.push_back({k, uint8_t(k->isStorage ? 1 : 2)});
        int height = 0;
        while ((1u << (height + 1)) - 1 < kids.size())
            ++height;
        m_entries[index].child = balance(first, 0, int(kids.size()), 0, height, kids.size());
        for (uint32_t i = 0; i < kids.size(); ++i)
            if (kids[i]->isStorage)
                addChildren(first + i);
    }

    // Nodes on the lowest, incomplete level are red, so every path from the
    // root to a leaf passes the same number of black nodes.
    uint32_t balance(uint32_t base, int lo, int hi, int depth, int height, size_t count)
    {
        if (lo >= hi)
            return kNoStream;
        const int mid = (lo + hi) / 2;
        DirEntry &e = m_entries[base + mid];
        e.red = depth == height && count != (size_t(1) << (height + 1)) - 1;
        e.left = balance(base, lo, mid, depth + 1, height, count);
        m_entries[base + mid].right = balance(base, mid + 1, hi, depth + 1, height, count);
        return base + mid;
    }

    void layoutStreams()
    {
        for (auto &e : m_entries) {
            if (e.type != 2 || e.node == m_placed)
                continue;
            const QByteArray &d = e.node->data;
            e.size = uint32_t(d.size());
            if (d.isEmpty())
                continue;
            if (uint32_t(d.size()) < kMiniCutoff) {
                e.start = uint32_t(m_mini.size() / 64);
                const uint32_t n = (uint32_t(d.size()) + 63) / 64;
                for (uint32_t i = 0; i < n; ++i)
                    m_miniFat.push_back(i + 1 < n ? e.start + i + 1 : kEndOfChain);
                m_mini.append(d);
                m_mini.append(QByteArray(qsizetype(n) * 64 - d.size(), '\0'));
            } else {
                e.start = placeSectors(d);
            }
        }
        if (!m_mini.isEmpty()) {
            m_entries[0].start = placeSectors(m_mini);
            m_entries[0].size = uint32_t(m_mini.size());
        }
        QByteArray miniFat;
        for (uint32_t v : m_miniFat)
            append32(miniFat, v);
        m_miniFatStart = miniFat.isEmpty() ? kEndOfChain : placeSectors(miniFat);
        m_miniFatSectors = uint32_t((miniFat.size() + kSector - 1) / kSector);
        m_dirStart = placeSectors(directory());
    }

    // Appends bytes as a fresh chain of sectors; returns its first sector.
    uint32_t placeSectors(const QByteArray &bytes)
    {
        const uint32_t first = uint32_t(m_fat.size());
        m_body.append(bytes);
        padAndChain(uint32_t(bytes.size()));
        return first;
    }

    // Pads the `size` bytes just added to whole sectors and chains them.
    void padAndChain(uint32_t size)
    {
        const uint32_t first = uint32_t(m_fat.size());
        const uint32_t n = (size + kSector - 1) / kSector;
        for (uint32_t i = 0; i < n; ++i)
            m_fat.push_back(i + 1 < n ? first + i + 1 : kEndOfChain);
        m_body.append(QByteArray(qsizetype(n) * kSector - size, '\0'));
    }

    QByteArray directory() const
    {
        QByteArray dir;
        for (const auto &e : m_entries) {
            QByteArray name(64, '\0');
            const QString &text = e.node->name;
            const int len = std::min<int>(int(text.size()), 31);
            for (int i = 0; i < len; ++i)
                put16(name.data() + 2 * i, text[i].unicode());
            dir.append(name);
            append16(dir, uint16_t((len + 1) * 2));
            dir.append(char(e.type));
            dir.append(char(e.red ? 0 : 1));
            append32(dir, e.left);
            append32(dir, e.right);
            append32(dir, e.child);
            dir.append(e.node->classId.leftJustified(16, '\0', true));
            append32(dir, e.node->stateBits);
            dir.append(e.node->times.leftJustified(16, '\0', true));
            append32(dir, e.type == 1 ? 0 : e.start);
            append32(dir, e.type == 1 ? 0 : e.size);
            append32(dir, 0);
        }
        while (dir.size() % kSector != 0) {
            dir.append(QByteArray(64 + 2 + 2, '\0'));
            append32(dir, kNoStream);
            append32(dir, kNoStream);
            append32(dir, kNoStream);
            dir.append(QByteArray(16 + 4 + 16 + 4 + 8, '\0'));
        }
        return dir;
    }

    QByteArray assemble()
    {
        const uint32_t dataSectors = uint32_t(m_fat.size());
        uint32_t fatSectors = 0, difatSectors = 0;
        for (;;) {
            const uint32_t total = dataSectors + fatSectors + difatSectors;
            const uint32_t needFat = (total + 127) / 128;
            const uint32_t needDifat = needFat > 109 ? (needFat - 109 + 126) / 127 : 0;
            if (needFat == fatSectors && needDifat == difatSectors)
                break;
            fatSectors = needFat;
            difatSectors = needDifat;
        }
        std::vector<uint32_t> fatIds;
        for (uint32_t i = 0; i < fatSectors; ++i) {
            fatIds.push_back(uint32_t(m_fat.size()));
            m_fat.push_back(kFatSect);
        }
        const uint32_t difatStart = difatSectors ? uint32_t(m_fat.size()) : kEndOfChain;
        for (uint32_t i = 0; i < difatSectors; ++i)
            m_fat.push_back(kDifSect);
        m_fat.resize(size_t(fatSectors) * 128, kFreeSect);

        for (uint32_t v : m_fat)
            append32(m_body, v);
        for (uint32_t d = 0; d < difatSectors; ++d) {
            for (uint32_t i = 0; i < 127; ++i) {
                const size_t k = 109 + size_t(d) * 127 + i;
                append32(m_body, k < fatIds.size() ? fatIds[k] : kFreeSect);
            }
            append32(m_body, d + 1 < difatSectors ? difatStart + d + 1 : kEndOfChain);
        }
        QByteArray head = header(fatSectors, fatIds, difatStart, difatSectors);
        head.append(QByteArray(kSector - head.size(), '\0'));
        return head;
    }

    QByteArray header(uint32_t fatSectors, const std::vector<uint32_t> &fatIds,
                      uint32_t difatStart, uint32_t difatSectors) const
    {
        QByteArray h("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
        h.append(QByteArray(16, '\0'));
        append16(h, 0x003E);
        append16(h, 3);
        append16(h, 0xFFFE);
        append16(h, 9);
        append16(h, 6);
        h.append(QByteArray(6, '\0'));
        append32(h, 0); // directory sectors: always 0 in version 3
        append32(h, fatSectors);
        append32(h, m_dirStart);
        append32(h, 0);
        append32(h, kMiniCutoff);
        append32(h, m_miniFatStart);
        append32(h, m_miniFatSectors);
        append32(h, difatStart);
        append32(h, difatSectors);
        for (uint32_t i = 0; i < 109; ++i)
            append32(h, i < fatIds.size() ? fatIds[i] : kFreeSect);
        return h;
    }

    std::vector<DirEntry> m_entries;
    std::vector<uint32_t> m_fat, m_miniFat;
    QByteArray m_body, m_mini;
    const TXlsStorage *m_placed = nullptr; // the stream the body begins with
    uint32_t m_miniFatStart = kEndOfChain, m_miniFatSectors = 0, m_dirStart = 0;
};

} // namespace

bool TOle2Storage::write(TXlsStorage root, QIODevice &device)
{
    QByteArray body;
    const QByteArray head = CfbWriter().write(root, body);
    return device.write(head) == head.size() && device.write(body) == body.size();
}

QByteArray TOle2Storage::write(const TXlsStorage &root)
{
    QByteArray file;
    QBuffer buffer(&file);
    buffer.open(QIODevice::WriteOnly);
    write(root, buffer);
    return file;
}

} // namespace kasovka
