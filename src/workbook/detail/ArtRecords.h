#pragma once
// Office drawing records ([MS-ODRAW] 2.2) inside MSODRAWINGGROUP and
// MSODRAWING: each begins with an OfficeArtRecordHeader (2.2.1). The views
// here name the fields the layer reads and edits; a view stands on bytes
// the caller has checked to be long enough.

#include "workbook/detail/Bytes.h"

#include <type_traits>

namespace kasovka::detail {

namespace art {
constexpr uint16_t DggContainer = 0xF000, BStoreContainer = 0xF001, DgContainer = 0xF002;
constexpr uint16_t SpgrContainer = 0xF003, SpContainer = 0xF004, Fdgg = 0xF006, Bse = 0xF007;
constexpr uint16_t Fdg = 0xF008, Fsp = 0xF00A, Fopt = 0xF00B, ClientTextbox = 0xF00D;
constexpr uint16_t ClientAnchor = 0xF010, ClientData = 0xF011;
} // namespace art

// OfficeArtRecordHeader ([MS-ODRAW] 2.2.1): recVer (4 bits) and
// recInstance (12 bits), recType, recLen.
struct ArtHeader {
    static constexpr int kSize = 8;

    uint16_t verInstance = 0;
    uint16_t type = 0;
    uint32_t length = 0;

    static ArtHeader at(const char *p) { return {u16At(p), u16At(p + 2), u32At(p + 4)}; }
    void writeTo(char *p) const
    {
        put16(p, verInstance);
        put16(p + 2, type);
        put32(p + 4, length);
    }
    bool isContainer() const { return (verInstance & 0x0F) == 0x0F; }
    int instance() const { return verInstance >> 4; }
    void setInstance(int instance) { verInstance = uint16_t((verInstance & 0x0F) | (instance << 4)); }
};

// Fields of a structure at a position in a byte buffer; Bytes is
// QByteArray (writable) or const QByteArray.
template <typename Bytes>
class ArtFields {
protected:
    static constexpr bool kWritable = !std::is_const_v<Bytes>;

    ArtFields(Bytes &data, qsizetype pos) : m_data(&data), m_pos(pos) {}
    uint16_t get16(int at) const { return u16At(m_data->constData() + m_pos + at); }
    uint32_t get32(int at) const { return u32At(m_data->constData() + m_pos + at); }
    void set16(int at, int v) const requires kWritable { put16(m_data->data() + m_pos + at, uint16_t(v)); }
    void set32(int at, uint32_t v) const requires kWritable { put32(m_data->data() + m_pos + at, v); }

private:
    Bytes *m_data;
    qsizetype m_pos;
};

// The body of a client anchor in a sheet ([MS-XLS] OfficeArtClientAnchorSheet):
// flags, colL, dxL, rwT, dyT, colR, dxR, rwB, dyB.
template <typename Bytes>
class ClientAnchorFields : public ArtFields<Bytes> {
    enum : int { kTopRow = 6, kBottomRow = 14 };

public:
    static constexpr int kSize = 18;

    ClientAnchorFields(Bytes &data, qsizetype body) : ArtFields<Bytes>(data, body) {}
    int topRow() const { return this->get16(kTopRow); }
    int bottomRow() const { return this->get16(kBottomRow); }
    void setRows(int top, int bottom) const requires ArtFields<Bytes>::kWritable
    {
        this->set16(kTopRow, top);
        this->set16(kBottomRow, bottom);
    }
};
using ClientAnchorView = ClientAnchorFields<const QByteArray>;
using ClientAnchorEdit = ClientAnchorFields<QByteArray>;

// OfficeArtFDG ([MS-ODRAW] 2.2.49): the drawing's shape count and the last
// shape id it gave; the drawing id is the header's recInstance.
template <typename Bytes>
class FdgFields : public ArtFields<Bytes> {
public:
    static constexpr int kSize = 8;

    FdgFields(Bytes &data, qsizetype body) : ArtFields<Bytes>(data, body) {}
    uint32_t shapeCount() const { return this->get32(0); }
    uint32_t lastShapeId() const { return this->get32(4); }
    void setShapeCount(uint32_t n) const requires ArtFields<Bytes>::kWritable { this->set32(0, n); }
    void setLastShapeId(uint32_t id) const requires ArtFields<Bytes>::kWritable { this->set32(4, id); }
};
using FdgView = FdgFields<const QByteArray>;
using FdgEdit = FdgFields<QByteArray>;

// OfficeArtFSP ([MS-ODRAW] 2.2.40): the shape id, then its flags.
template <typename Bytes>
class FspFields : public ArtFields<Bytes> {
public:
    static constexpr int kSize = 8;

    FspFields(Bytes &data, qsizetype body) : ArtFields<Bytes>(data, body) {}
    uint32_t shapeId() const { return this->get32(0); }
    void setShapeId(uint32_t id) const requires ArtFields<Bytes>::kWritable { this->set32(0, id); }
};
using FspView = FspFields<const QByteArray>;
using FspEdit = FspFields<QByteArray>;

// Shape ids of a workbook's drawings ([MS-ODRAW] 2.2.47 OfficeArtFDGG and
// 2.2.46 OfficeArtIDCL, in the drawing group's OfficeArtDggContainer).
// Ids come in clusters of 1024: the n-th IDCL (from 1) owns ids n * 1024 to
// n * 1024 + 1023 for its drawing and counts how many it gave. New ids are
// taken from the drawing's own clusters, a new cluster added when they are
// full, and the workbook's maximum id and shape count follow.
class ShapeIdClusters {
public:
    // `dgg`: the joined MSODRAWINGGROUP data; false when it holds no FDGG.
    bool load(QByteArray &dgg);
    // `count` new ids for drawing `drawingId`, ascending.
    std::vector<uint32_t> allocate(int drawingId, int count);
    // Shapes added (positive) or removed (negative) from the saved count.
    void countShapes(int delta);
    bool changed() const { return m_changed; }

private:
    QByteArray *m_dgg = nullptr;
    qsizetype m_fdgg = -1; // header of the FDGG record
    bool m_changed = false;
};

} // namespace kasovka::detail
