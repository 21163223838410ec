#pragma once
// The drawing of one sheet: the Office drawing shapes held in its
// MSODRAWING records ([MS-ODRAW] 2.2.13 OfficeArtDgContainer), each linked
// to its OBJ record, its TXO text box and, for comments, its NOTE record.
// Anchors and notes are edited in the sheet's records in place.

#include "export/workbook/detail/Records.h"

#include <QString>

namespace kasovka {

class SheetDrawing {
public:
    struct Shape {
        qsizetype anchor = -1; // offset of the client anchor in the drawing data
        bool hasClientData = false, hasTextbox = false;
        int objRecord = -1, txoRecord = -1;
        int objId = -1, objType = -1;
        int pibOffset = -1; // offset of the BLIP index property value
        qsizetype spidOffset = -1;
        qsizetype begin = 0, end = 0;  // the shape container in the drawing data
        qsizetype clientDataEnd = -1; // where its OBJ record follows
        std::vector<qsizetype> parents; // headers of the enclosing containers
        QString name;
    };

    // Indexes the drawing of a sheet's records; `records` must outlive this
    // object and keep its size.
    void index(std::vector<detail::BiffRecord> *records);

    // Moves anchors and notes: rows at or below `at` move by `delta`
    // (negative when rows were deleted).
    void shiftRows(int at, int delta);

    int anchorRow(const Shape &s) const;
    int shapeRow(const Shape &s) const; // comments: their cell's row
    std::vector<int> notesInRow(int row) const;  // NOTE record indexes by column
    std::vector<const Shape *> imagesInRow(int row) const;
    std::vector<const Shape *> allImages() const;
    std::vector<int> allNotes() const;
    int noteRow(int note) const;
    int noteColumn(int note) const;
    QString noteText(int note) const;
    void setNoteText(int note, const QString &text);
    bool hasOleObjectIn(int firstRow, int lastRow) const;
    void setImageBlip(const Shape &shape, uint32_t blipIndex);

    // Removes a comment: its NOTE, OBJ, TXO and shape.
    void removeNote(int note);
    // Removes every shape and comment anchored in rows first..last.
    void removeInRows(int first, int last);
    // Copies the shapes anchored in rows first..last, `copies` times, the
    // k-th copy moved down by delta(k) rows. Returns the records to insert
    // into the sheet before record `insertAt` (set by the call).
    void copyRows(int first, int last, int copies, int height, int dest);

    static constexpr uint16_t kDropped = 0xF0FF; // a record removed from the sheet

private:
    struct Part {
        qsizetype start;
        int record;
        int part; // 0: the record data, 1..: its continuations
    };

    void walk(const QByteArray &data, qsizetype pos, qsizetype end, int depth,
              std::vector<qsizetype> &parents);
    QByteArray drawingData() const;
    void storeDrawingData(const QByteArray &data, qsizetype cutFrom, qsizetype cutTo);
    void removeShape(const Shape &shape);
    int lastDrawingRecord() const;
    void readOptions(const QByteArray &data, qsizetype pos, qsizetype len, int instances);
    char *at(qsizetype offset, int size);
    const char *at(qsizetype offset, int size) const;
    const Shape *shapeForObject(int objId) const;

    std::vector<detail::BiffRecord> *m_records = nullptr;
    std::vector<Part> m_parts;
    std::vector<Shape> m_shapes;
    std::vector<int> m_notes;
    qsizetype m_fdg = -1; // FDG atom body: shape count and last shape id
    qsizetype m_size = 0; // bytes of drawing data
};

} // namespace kasovka
