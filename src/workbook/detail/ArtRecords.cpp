#include "workbook/detail/ArtRecords.h"

namespace kasovka::detail {

namespace {

constexpr uint32_t kClusterSize = 1024;

// OfficeArtFDGG ([MS-ODRAW] 2.2.47) after its header: spidMax, cidcl,
// cspSaved, cdgSaved; then cidcl - 1 OfficeArtIDCL (2.2.46): dgid, cspidCur.
enum : int { kSpidMax = 0, kClusterCount = 4, kShapesSaved = 8, kClusters = 16, kIdclSize = 8 };

} // namespace

bool ShapeIdClusters::load(QByteArray &dgg)
{
    m_dgg = &dgg;
    m_fdgg = -1;
    if (dgg.size() < ArtHeader::kSize || ArtHeader::at(dgg.constData()).type != art::DggContainer)
        return false;
    for (qsizetype pos = ArtHeader::kSize; pos + ArtHeader::kSize <= dgg.size();) {
        const ArtHeader h = ArtHeader::at(dgg.constData() + pos);
        const qsizetype body = pos + ArtHeader::kSize;
        if (h.type == art::Fdgg) {
            const uint32_t clusters = body + kClusters <= dgg.size() ? u32At(dgg.constData() + body + kClusterCount) : 0;
            if (clusters >= 1 && h.length >= kClusters + (clusters - 1) * kIdclSize
                && body + h.length <= dgg.size())
                m_fdgg = pos;
            break;
        }
        pos = body + h.length;
    }
    return m_fdgg >= 0;
}

std::vector<uint32_t> ShapeIdClusters::allocate(int drawingId, int count)
{
    std::vector<uint32_t> ids;
    ids.reserve(count);
    m_changed = true;
    QByteArray &d = *m_dgg;
    const qsizetype body = m_fdgg + ArtHeader::kSize;
    uint32_t clusters = u32At(d.constData() + body + kClusterCount) - 1;
    for (uint32_t i = 0; i < clusters && int(ids.size()) < count; ++i) {
        char *idcl = d.data() + body + kClusters + i * kIdclSize;
        if (int(u32At(idcl)) != drawingId)
            continue;
        uint32_t used = u32At(idcl + 4);
        while (used < kClusterSize && int(ids.size()) < count)
            ids.push_back((i + 1) * kClusterSize + used++);
        put32(idcl + 4, used);
    }
    while (int(ids.size()) < count) {
        // A new cluster at the end of the FDGG; the containers around it grow.
        const uint32_t take = std::min<uint32_t>(kClusterSize, uint32_t(count - ids.size()));
        for (uint32_t k = 0; k < take; ++k)
            ids.push_back((clusters + 1) * kClusterSize + k);
        QByteArray idcl;
        append32(idcl, uint32_t(drawingId));
        append32(idcl, take);
        d.insert(body + kClusters + clusters * kIdclSize, idcl);
        ++clusters;
        put32(d.data() + body + kClusterCount, clusters + 1);
        for (qsizetype header : {qsizetype(0), m_fdgg}) {
            ArtHeader h = ArtHeader::at(d.constData() + header);
            h.length += kIdclSize;
            h.writeTo(d.data() + header);
        }
    }
    if (!ids.empty() && ids.back() + 1 > u32At(d.constData() + body + kSpidMax))
        put32(d.data() + body + kSpidMax, ids.back() + 1);
    return ids;
}

void ShapeIdClusters::countShapes(int delta)
{
    m_changed = true;
    char *saved = m_dgg->data() + m_fdgg + ArtHeader::kSize + kShapesSaved;
    put32(saved, uint32_t(std::max<int64_t>(0, int64_t(u32At(saved)) + delta)));
}

} // namespace kasovka::detail
