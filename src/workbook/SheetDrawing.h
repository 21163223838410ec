#pragma once
// The drawing of one sheet: the Office drawing shapes held in its
// MSODRAWING records ([MS-ODRAW] 2.2.13 OfficeArtDgContainer), each shape
// with client data followed by its OBJ record, a text box by its TXO, and a
// comment's shape named by a NOTE record. Excel continues a long shape in
// CONTINUE records after the preceding OBJ; those count as drawing data.
// Anchors and notes are edited in the sheet's records in place.

#include "workbook/detail/ArtRecords.h"
#include "workbook/detail/Records.h"

#include <QString>

namespace kasovka {

class SheetDrawing {
public:
    // An OfficeArtSpContainer; offsets are in the joined drawing data.
    struct Shape {
        qsizetype begin = 0, end = 0;
        qsizetype anchor = -1;        // body of its client anchor
        qsizetype fsp = -1;           // body of its FSP (the shape id)
        qsizetype pib = -1;           // value of its BLIP index property
        qsizetype clientDataEnd = -1; // its OBJ follows here
        qsizetype textboxEnd = -1;    // its TXO follows here
        int obj = -1, txo = -1;       // record indexes
        int objId = -1, objType = -1;
        int object = -1;              // the top-level object it belongs to
        QString name;
    };

    static constexpr uint16_t kDropped = 0xF0FF; // a record removed from the sheet

    // Indexes the drawing of a sheet's records; `records` must outlive this
    // object and be changed only through it.
    void index(std::vector<detail::BiffRecord> *records);

    // Moves anchors and notes: rows at or below `at` move by `delta`
    // (negative when rows were deleted; what lay in them goes to `at`).
    void shiftRows(int at, int delta);

    int anchorRow(const Shape &s) const;
    std::vector<int> notesInRow(int row) const; // NOTE record indexes by column
    std::vector<const Shape *> imagesInRow(int row) const;
    std::vector<const Shape *> allImages() const;
    std::vector<int> allNotes() const;
    int noteRow(int note) const;
    int noteColumn(int note) const;
    QString noteText(int note) const;
    void setNoteText(int note, const QString &text);
    bool hasOleObjectIn(int firstRow, int lastRow) const;
    bool hasObjectsIn(int firstRow, int lastRow) const
    {
        return !objectsInRows(firstRow, lastRow).empty();
    }
    void setImageBlip(const Shape &shape, uint32_t blipIndex);

    // Removing and copying keep the drawing's and, through `ids` (nullptr
    // when the workbook has no drawing group), the workbook's shape counts.
    void removeNote(int note, detail::ShapeIdClusters *ids);
    // Removes every comment of rows first..last and every object anchored
    // there.
    void removeInRows(int first, int last, detail::ShapeIdClusters *ids);
    // Copies the comments and objects of rows first..last `copies` times,
    // the k-th copy `dest + k * height - first` rows lower, with new object
    // and shape ids.
    void copyRows(int first, int last, int copies, int height, int dest,
                  detail::ShapeIdClusters *ids);

private:
    struct Part {
        qsizetype start;
        int record;
        int part; // 0: the record data, 1..: its continuations
    };
    // A direct child of the drawing's top group: one shape, or a group
    // whose first shape carries the client anchor.
    struct TopObject {
        qsizetype begin = 0, end = 0;
        int firstShape = 0, lastShape = -1;
    };
    struct Walk;

    QByteArray drawingData() const;
    QByteArray bytesAt(qsizetype pos, qsizetype size) const;
    void writeAt(qsizetype pos, const QByteArray &bytes);
    const QByteArray &partBytes(const Part &p) const;
    void matchRecords(const std::vector<int> &objs, const std::vector<int> &txos);
    int objectRow(const TopObject &o) const;
    int noteOf(const Shape &s) const;
    std::vector<int> objectsInRows(int first, int last) const;
    void resize(qsizetype delta, int shapes);
    void cut(const TopObject &o);
    bool carriesDrawing(int record) const;
    void dropAttachments(int record);
    void tidyRecords();
    int boundaryAt(qsizetype pos);
    int afterDrawing() const;
    std::vector<detail::BiffRecord> copyObject(const TopObject &o, const QByteArray &data,
                                               int rowDelta, int &nextObjId,
                                               const uint32_t *&shapeIds,
                                               std::vector<detail::BiffRecord> &notes) const;

    std::vector<detail::BiffRecord> *m_records = nullptr;
    std::vector<Part> m_parts;
    std::vector<Shape> m_shapes;
    std::vector<TopObject> m_objects;
    std::vector<int> m_notes;
    qsizetype m_size = 0;      // bytes of drawing data
    qsizetype m_dg = -1;       // header of the OfficeArtDgContainer
    qsizetype m_topGroup = -1; // header of its top OfficeArtSpgrContainer
    qsizetype m_fdg = -1;      // body of its FDG
    QString m_damage;          // what is wrong with a drawing that cannot be edited
};

} // namespace kasovka
