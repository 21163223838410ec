// Replacing a picture: the new picture becomes a BLIP store entry of the
// drawing group ([MS-ODRAW] 2.2.20 OfficeArtBStoreContainer, 2.2.32
// OfficeArtFBSE, 2.2.23-2.2.31 the BLIP records) and the shape's BLIP
// index points at it.

#include "workbook/TWorkbook.h"

#include "workbook/Errors.h"
#include "workbook/detail/ArtRecords.h"

#include <QCryptographicHash>

namespace kasovka {

using namespace detail;

namespace {

struct BlipKind {
    uint8_t winType;    // msoblip* in the FBSE
    uint16_t recType;   // BLIP record type
    uint16_t instance;  // recInstance of the BLIP record with one UID
    bool metafile;
};

BlipKind blipKind(XlsImageType type)
{
    switch (type) {
    case XlsImageType::Emf: return {2, 0xF01A, 0x3D4, true};
    case XlsImageType::Wmf: return {3, 0xF01B, 0x216, true};
    case XlsImageType::Jpeg: return {5, 0xF01D, 0x46A, false};
    case XlsImageType::Png: return {6, 0xF01E, 0x6E0, false};
    }
    return {6, 0xF01E, 0x6E0, false};
}

void appendHeader(QByteArray &out, uint16_t verInstance, uint16_t type, uint32_t len)
{
    append16(out, verInstance);
    append16(out, type);
    append32(out, len);
}

// The BLIP record: a UID, then a bitmap's tag byte or a metafile's header
// (OfficeArtMetafileHeader, its picture stored deflated), then the bytes.
QByteArray blipRecord(const BlipKind &kind, const QByteArray &picture, const QByteArray &uid)
{
    QByteArray body = uid;
    if (kind.metafile) {
        QByteArray packed = qCompress(picture).mid(4); // zlib stream without Qt's size prefix
        append32(body, uint32_t(picture.size()));
        for (int i = 0; i < 4; ++i)
            append32(body, 0); // bounds: unknown, the shape's anchor sizes the picture
        append32(body, 0);     // size in EMUs
        append32(body, 0);
        append32(body, uint32_t(packed.size()));
        body.append(char(0x00)); // compressed
        body.append(char(0xFE)); // no filter
        body.append(packed);
    } else {
        body.append(char(0xFF));
        body.append(picture);
    }
    QByteArray out;
    appendHeader(out, kind.instance << 4, kind.recType, uint32_t(body.size()));
    out.append(body);
    return out;
}

} // namespace

void TWorkbook::replacePicture(int sheetIndex, const SheetDrawing::Shape &shape,
                               XlsImageType type, const QByteArray &picture)
{
    BiffRecord *group = m_globals.drawingGroup();
    if (!group || shape.pib < 0)
        throw Error(xlstext::damagedRecord(recordName(rid::MsoDrawingGroup), -1,
                                           QStringLiteral("no picture store for the picture")));
    QByteArray data = group->joined();
    if (data.size() < ArtHeader::kSize || ArtHeader::at(data.constData()).type != art::DggContainer)
        throwDamaged(*group, 0, QStringLiteral("expected an OfficeArtDggContainer"));
    // Find the BLIP store inside the drawing group container.
    qsizetype store = -1;
    for (qsizetype pos = ArtHeader::kSize; pos + ArtHeader::kSize <= data.size();) {
        const ArtHeader h = ArtHeader::at(data.constData() + pos);
        if (h.type == art::BStoreContainer) {
            store = pos;
            break;
        }
        pos += ArtHeader::kSize + qsizetype(h.length);
    }
    if (store < 0)
        throwDamaged(*group, 0, QStringLiteral("expected an OfficeArtBStoreContainer"));
    const BlipKind kind = blipKind(type);
    const QByteArray uid = QCryptographicHash::hash(picture, QCryptographicHash::Md5);
    const QByteArray blip = blipRecord(kind, picture, uid);

    // OfficeArtFBSE: btWin32, btMacOS, rgbUid, tag, size, cRef, foDelay,
    // unused1, cbName, unused2, unused3, then the BLIP itself.
    QByteArray bse;
    appendHeader(bse, uint16_t(0x0002 | (kind.winType << 4)), art::Bse, uint32_t(36 + blip.size()));
    bse.append(char(kind.winType));
    bse.append(char(kind.winType));
    bse.append(uid);
    append16(bse, 0xFF);
    append32(bse, uint32_t(blip.size()));
    append32(bse, 1); // references
    append32(bse, 0); // foDelay: the BLIP follows in the store itself
    bse.append(QByteArray(4, '\0'));
    bse.append(blip);

    // The store's recInstance counts its entries; the new one is the last.
    ArtHeader storeHeader = ArtHeader::at(data.constData() + store);
    const int count = storeHeader.instance() + 1;
    const qsizetype storeEnd = store + ArtHeader::kSize + qsizetype(storeHeader.length);
    data.insert(storeEnd, bse);
    storeHeader.setInstance(count);
    storeHeader.length += uint32_t(bse.size());
    storeHeader.writeTo(data.data() + store);
    ArtHeader dgg = ArtHeader::at(data.constData());
    dgg.length += uint32_t(bse.size());
    dgg.writeTo(data.data());
    m_globals.setDrawingGroup(data);
    m_sheets[sheetIndex].drawing().setImageBlip(shape, uint32_t(count));
}

} // namespace kasovka
