// Moving, removing and copying the objects of a sheet's drawing. An object
// is cut from or added to the top group together with its OBJ, TXO and
// chart records; the lengths of the containers around it, the drawing's
// shape count and the workbook's shape ids follow.

#include "workbook/SheetDrawing.h"

#include "workbook/Errors.h"
#include "workbook/detail/RecordViews.h"

#include <algorithm>

namespace kasovka {

using namespace detail;

namespace {

constexpr int kLastRow = 65535;

// The records that follow a record of the drawing: an OBJ's embedded chart
// substream (BOF..EOF), or nothing. Returns the index past them.
int pastSubstream(const std::vector<BiffRecord> &records, int index)
{
    int next = index + 1;
    if (next >= int(records.size()) || records[next].id != rid::Bof)
        return next;
    for (int depth = 0; next < int(records.size()); ++next) {
        depth += records[next].id == rid::Bof ? 1 : records[next].id == rid::Eof ? -1 : 0;
        if (depth == 0)
            return next + 1;
    }
    return next;
}

} // namespace

void SheetDrawing::shiftRows(int at, int delta)
{
    // Inserting moves rows at or below `at` down; deleting moves the rows
    // below the deleted ones up, and anything left inside them to `at`.
    auto moved = [at, delta](int row) {
        if (delta > 0 && row >= at)
            return std::min(row + delta, kLastRow);
        if (delta < 0 && row >= at - delta)
            return row + delta;
        if (delta < 0 && row >= at)
            return at;
        return row;
    };
    for (const auto &s : m_shapes) {
        if (s.anchor < 0)
            continue;
        QByteArray bytes = bytesAt(s.anchor, ClientAnchorView::kSize);
        if (bytes.size() < ClientAnchorView::kSize)
            continue;
        const ClientAnchorEdit anchor(bytes, 0);
        const int top = moved(anchor.topRow()), bottom = moved(anchor.bottomRow());
        if (top != anchor.topRow() || bottom != anchor.bottomRow()) {
            anchor.setRows(top, bottom);
            writeAt(s.anchor, bytes);
        }
    }
    for (int n : m_notes) {
        const NoteEdit note((*m_records)[n]);
        note.setRow(moved(note.row()));
    }
}

// Grows or shrinks the containers around a top object and the drawing's
// shape count.
void SheetDrawing::resize(qsizetype delta, int shapes)
{
    for (qsizetype header : {m_dg, m_topGroup}) {
        QByteArray bytes = bytesAt(header, ArtHeader::kSize);
        ArtHeader h = ArtHeader::at(bytes.constData());
        h.length = uint32_t(qsizetype(h.length) + delta);
        h.writeTo(bytes.data());
        writeAt(header, bytes);
    }
    if (m_fdg >= 0) {
        QByteArray bytes = bytesAt(m_fdg, FdgView::kSize);
        const FdgEdit fdg(bytes, 0);
        fdg.setShapeCount(uint32_t(std::max<int64_t>(0, int64_t(fdg.shapeCount()) + shapes)));
        writeAt(m_fdg, bytes);
    }
}

bool SheetDrawing::carriesDrawing(int record) const
{
    return std::any_of(m_parts.begin(), m_parts.end(),
                       [record](const Part &p) { return p.record == record && p.part > 0; });
}

// An OBJ goes with its chart substream; drawing data continued after it
// stays, in what becomes an MSODRAWING.
void SheetDrawing::dropAttachments(int record)
{
    BiffRecord &obj = (*m_records)[record];
    const int end = pastSubstream(*m_records, record);
    for (int i = record + 1; i < end; ++i)
        (*m_records)[i].id = kDropped;
    if (carriesDrawing(record)) {
        obj.id = rid::MsoDrawing;
        obj.data.clear();
    } else {
        obj.id = kDropped;
    }
}

// After cutting: emptied continuations go, and so do records left
// without bytes.
void SheetDrawing::tidyRecords()
{
    for (const Part &p : m_parts) {
        BiffRecord &r = (*m_records)[p.record];
        std::erase_if(r.continues, [](const QByteArray &c) { return c.isEmpty(); });
        if (r.id == rid::MsoDrawing && r.data.isEmpty() && !r.continues.empty()) {
            r.data = r.continues.front();
            r.continues.erase(r.continues.begin());
        }
        if (r.id == rid::MsoDrawing && r.data.isEmpty())
            r.id = kDropped;
    }
}

// Removes the object's bytes from the parts holding them, and its records.
void SheetDrawing::cut(const TopObject &o)
{
    for (int s = o.firstShape; s <= o.lastShape; ++s) {
        if (m_shapes[s].obj >= 0)
            dropAttachments(m_shapes[s].obj);
        if (m_shapes[s].txo >= 0)
            (*m_records)[m_shapes[s].txo].id = kDropped;
    }
    for (size_t i = m_parts.size(); i-- > 0;) {
        const qsizetype start = m_parts[i].start;
        const qsizetype end = i + 1 < m_parts.size() ? m_parts[i + 1].start : m_size;
        const qsizetype from = std::clamp(o.begin, start, end), to = std::clamp(o.end, start, end);
        if (from >= to)
            continue;
        BiffRecord &r = (*m_records)[m_parts[i].record];
        QByteArray &b = m_parts[i].part == 0 ? r.data : r.continues[m_parts[i].part - 1];
        b.remove(from - start, to - from);
    }
}

void SheetDrawing::removeNote(int note, ShapeIdClusters *ids)
{
    const int objId = NoteView((*m_records)[note]).objectId();
    (*m_records)[note].id = kDropped;
    for (const TopObject &o : m_objects) {
        const Shape &s = m_shapes[o.firstShape];
        if (s.objType == ObjView::Comment && s.objId == objId) {
            const int shapes = o.lastShape - o.firstShape + 1;
            resize(-(o.end - o.begin), -shapes);
            cut(o);
            tidyRecords();
            if (ids)
                ids->countShapes(-shapes);
            break;
        }
    }
    index(m_records);
}

void SheetDrawing::removeInRows(int first, int last, ShapeIdClusters *ids)
{
    const std::vector<int> objects = objectsInRows(first, last);
    const auto notes = std::count_if(m_notes.begin(), m_notes.end(), [&](int n) {
        return noteRow(n) >= first && noteRow(n) <= last;
    });
    if (objects.empty() && notes == 0)
        return;
    for (int n : m_notes)
        if (noteRow(n) >= first && noteRow(n) <= last)
            (*m_records)[n].id = kDropped;
    int shapes = 0;
    // From the last to the first, so that the offsets of the others hold.
    for (auto it = objects.rbegin(); it != objects.rend(); ++it) {
        const TopObject &o = m_objects[*it];
        const int n = o.lastShape - o.firstShape + 1;
        resize(-(o.end - o.begin), -n);
        cut(o);
        shapes += n;
    }
    if (ids && shapes > 0)
        ids->countShapes(-shapes);
    tidyRecords();
    index(m_records);
}

// The record index past the drawing and everything attached to it.
int SheetDrawing::afterDrawing() const
{
    int last = -1;
    for (const Part &p : m_parts)
        last = std::max(last, p.record);
    for (const Shape &s : m_shapes)
        last = std::max({last, s.txo, s.obj >= 0 ? pastSubstream(*m_records, s.obj) - 1 : -1});
    return last + 1;
}

// Makes a record begin at drawing byte `pos` and returns its index; a
// record holding bytes on both sides is split, the second half becoming a
// new MSODRAWING. The parts are stale afterwards.
int SheetDrawing::boundaryAt(qsizetype pos)
{
    if (pos >= m_size)
        return afterDrawing();
    auto it = std::upper_bound(m_parts.begin(), m_parts.end(), pos,
                               [](qsizetype o, const Part &p) { return o < p.start; }) - 1;
    const qsizetype local = pos - it->start;
    if (local == 0 && it->part == 0)
        return it->record;
    BiffRecord &r = (*m_records)[it->record];
    QByteArray &bytes = it->part == 0 ? r.data : r.continues[it->part - 1];
    BiffRecord tail{rid::MsoDrawing, bytes.mid(local), {}};
    tail.continues.assign(r.continues.begin() + it->part, r.continues.end());
    bytes.truncate(local);
    r.continues.resize(it->part);
    if (local == 0)
        r.continues.pop_back();
    m_records->insert(m_records->begin() + it->record + 1, std::move(tail));
    return it->record + 1;
}

// One copy of a top object: its bytes with moved anchors and new shape ids,
// split into MSODRAWING records around copies of its OBJ (with new object
// ids), TXO and chart records. Its notes go to `notes`.
std::vector<BiffRecord> SheetDrawing::copyObject(const TopObject &o, const QByteArray &data,
                                                 int rowDelta, int &nextObjId,
                                                 const uint32_t *&shapeIds,
                                                 std::vector<BiffRecord> &notes) const
{
    QByteArray bytes = data.mid(o.begin, o.end - o.begin);
    std::vector<std::pair<qsizetype, std::vector<BiffRecord>>> attached;
    for (int i = o.firstShape; i <= o.lastShape; ++i) {
        const Shape &s = m_shapes[i];
        if (s.anchor >= 0) {
            const ClientAnchorEdit anchor(bytes, s.anchor - o.begin);
            anchor.setRows(std::min(anchor.topRow() + rowDelta, kLastRow),
                           std::min(anchor.bottomRow() + rowDelta, kLastRow));
        }
        if (s.fsp >= 0)
            FspEdit(bytes, s.fsp - o.begin).setShapeId(*shapeIds++);
        if (s.obj >= 0) {
            const int id = nextObjId++;
            std::vector<BiffRecord> records(m_records->begin() + s.obj,
                                            m_records->begin() + pastSubstream(*m_records, s.obj));
            if (carriesDrawing(s.obj))
                records.front().continues.clear(); // the next object's data
            ObjEdit(records.front()).setObjectId(id);
            attached.emplace_back(s.clientDataEnd, std::move(records));
            if (const int n = noteOf(s); n >= 0) {
                notes.push_back((*m_records)[n]);
                const NoteEdit note(notes.back());
                note.setRow(std::min(note.row() + rowDelta, kLastRow));
                note.setObjectId(id);
            }
        }
        if (s.txo >= 0)
            attached.push_back({s.textboxEnd, {(*m_records)[s.txo]}});
    }
    std::stable_sort(attached.begin(), attached.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    std::vector<BiffRecord> out;
    qsizetype done = o.begin;
    for (auto &[at, records] : attached) {
        if (at > done)
            out.push_back(splitRecord(rid::MsoDrawing, bytes.mid(done - o.begin, at - done)));
        done = std::max(done, at);
        for (auto &r : records) {
            r.offset = BiffRecord::kMade;
            out.push_back(std::move(r));
        }
    }
    if (done < o.end)
        out.push_back(splitRecord(rid::MsoDrawing, bytes.mid(done - o.begin)));
    return out;
}

void SheetDrawing::copyRows(int first, int last, int copies, int height, int dest,
                            ShapeIdClusters *ids)
{
    const std::vector<int> sources = objectsInRows(first, last);
    if (sources.empty() || copies <= 0)
        return;
    if (!m_damage.isEmpty() || m_topGroup < 0)
        throw Error(xlstext::damagedRecord(recordName(rid::MsoDrawing), -1,
                                           m_damage.isEmpty() ? QStringLiteral("no top group")
                                                              : m_damage));
    int shapesPerCopy = 0, nextObjId = 1;
    for (int o : sources)
        shapesPerCopy += m_objects[o].lastShape - m_objects[o].firstShape + 1;
    for (const Shape &s : m_shapes)
        nextObjId = std::max(nextObjId, s.objId + 1);
    const qsizetype newShapes = qsizetype(shapesPerCopy) * copies;
    if (nextObjId + newShapes - 1 > 0xFFFF)
        throw Error(xlstext::tooManyEntries(int(nextObjId + newShapes - 1), 0xFFFF));

    const QByteArray data = drawingData();
    std::vector<uint32_t> shapeIds;
    if (ids && m_fdg >= 0) {
        // The FDG's recInstance is the drawing's id.
        const int drawingId = ArtHeader::at(data.constData() + m_fdg - ArtHeader::kSize).instance();
        shapeIds = ids->allocate(drawingId, int(newShapes));
        ids->countShapes(int(newShapes));
    } else {
        const uint32_t next = m_fdg >= 0 ? FdgView(data, m_fdg).lastShapeId() + 1 : 1;
        for (qsizetype i = 0; i < newShapes; ++i)
            shapeIds.push_back(next + uint32_t(i));
    }
    std::vector<BiffRecord> drawing, notes;
    const uint32_t *nextShapeId = shapeIds.data();
    qsizetype added = 0;
    for (int k = 0; k < copies; ++k)
        for (int o : sources) {
            auto records = copyObject(m_objects[o], data, dest + k * height - first, nextObjId,
                                      nextShapeId, notes);
            std::move(records.begin(), records.end(), std::back_inserter(drawing));
            added += m_objects[o].end - m_objects[o].begin;
        }
    resize(added, int(newShapes));
    if (m_fdg >= 0 && !shapeIds.empty()) {
        QByteArray bytes = bytesAt(m_fdg, FdgView::kSize);
        const FdgEdit fdg(bytes, 0);
        fdg.setLastShapeId(std::max(fdg.lastShapeId(), shapeIds.back()));
        writeAt(m_fdg, bytes);
    }
    // New objects close the top group; notes follow the last note.
    const ArtHeader group = ArtHeader::at(bytesAt(m_topGroup, ArtHeader::kSize).constData());
    const int drawingAt = boundaryAt(m_topGroup + ArtHeader::kSize + group.length - added);
    int noteAt = drawingAt;
    for (int i = 0; i < int(m_records->size()); ++i)
        if ((*m_records)[i].id == rid::Note)
            noteAt = std::max(noteAt, i + 1);
    m_records->insert(m_records->begin() + noteAt, notes.begin(), notes.end());
    m_records->insert(m_records->begin() + drawingAt, drawing.begin(), drawing.end());
    index(m_records);
}

} // namespace kasovka
