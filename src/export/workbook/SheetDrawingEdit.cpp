// Removing and copying the shapes of a sheet's drawing. The shape
// containers are cut from or added to the drawing data, and the lengths of
// the enclosing containers and the drawing's shape count follow.

#include "export/workbook/SheetDrawing.h"

#include "export/workbook/Errors.h"
#include "export/workbook/detail/Bytes.h"

#include <algorithm>

namespace kasovka {

using namespace detail;

namespace {

constexpr int kRow1 = 6, kRow2 = 14;
constexpr int kObjComment = 0x19;

void addToLength(char *header, qsizetype delta)
{
    put32(header + 4, uint32_t(qsizetype(u32At(header + 4)) + delta));
}

} // namespace

QByteArray SheetDrawing::drawingData() const
{
    QByteArray data;
    for (const Part &p : m_parts) {
        const BiffRecord &r = (*m_records)[p.record];
        data.append(p.part == 0 ? r.data : r.continues[p.part - 1]);
    }
    return data;
}

void SheetDrawing::storeDrawingData(const QByteArray &data, qsizetype cutFrom, qsizetype cutTo)
{
    for (size_t i = 0; i < m_parts.size(); ++i) {
        const qsizetype a = m_parts[i].start;
        const qsizetype b = i + 1 < m_parts.size() ? m_parts[i + 1].start : m_size;
        QByteArray bytes = data.mid(a, b - a);
        const qsizetype from = std::clamp(cutFrom, a, b) - a, to = std::clamp(cutTo, a, b) - a;
        bytes.remove(from, to - from);
        BiffRecord &r = (*m_records)[m_parts[i].record];
        (m_parts[i].part == 0 ? r.data : r.continues[m_parts[i].part - 1]) = bytes;
    }
    for (const Part &p : m_parts) {
        BiffRecord &r = (*m_records)[p.record];
        if (r.id == rid::MsoDrawing && r.joined().isEmpty())
            r.id = kDropped;
    }
}

void SheetDrawing::removeShape(const Shape &shape)
{
    QByteArray data = drawingData();
    const qsizetype size = shape.end - shape.begin;
    for (qsizetype parent : shape.parents)
        addToLength(data.data() + parent, -size);
    if (m_fdg >= 0)
        put32(data.data() + m_fdg, std::max<uint32_t>(u32At(data.constData() + m_fdg), 1) - 1);
    const int obj = shape.objRecord, txo = shape.txoRecord;
    storeDrawingData(data, shape.begin, shape.end);
    if (obj >= 0)
        (*m_records)[obj].id = kDropped;
    if (txo >= 0)
        (*m_records)[txo].id = kDropped;
}

void SheetDrawing::removeNote(int note)
{
    const int objId = u16At((*m_records)[note].data.constData() + 6);
    (*m_records)[note].id = kDropped;
    for (const auto &s : m_shapes)
        if (s.objId == objId && s.objType == kObjComment) {
            removeShape(s);
            break;
        }
    index(m_records);
}

void SheetDrawing::removeInRows(int first, int last)
{
    for (;;) {
        auto note = std::find_if(m_notes.begin(), m_notes.end(), [&](int n) {
            return noteRow(n) >= first && noteRow(n) <= last;
        });
        if (note != m_notes.end()) {
            removeNote(*note);
            continue;
        }
        auto shape = std::find_if(m_shapes.begin(), m_shapes.end(), [&](const Shape &s) {
            const int row = shapeRow(s);
            return s.hasClientData && row >= first && row <= last;
        });
        if (shape == m_shapes.end())
            return;
        removeShape(*shape);
        index(m_records);
    }
}

int SheetDrawing::shapeRow(const Shape &s) const
{
    // A comment belongs to the row of its cell; its box may float elsewhere.
    if (s.objType == kObjComment) {
        for (int n : m_notes)
            if (u16At((*m_records)[n].data.constData() + 6) == s.objId)
                return noteRow(n);
        return -1;
    }
    return anchorRow(s);
}

int SheetDrawing::lastDrawingRecord() const
{
    int last = -1;
    for (int i = 0; i < int(m_records->size()); ++i) {
        const uint16_t id = (*m_records)[i].id;
        if (id == rid::MsoDrawing || id == rid::Obj || id == rid::Txo)
            last = i;
    }
    return last;
}

void SheetDrawing::copyRows(int first, int last, int copies, int height, int dest)
{
    std::vector<const Shape *> sources;
    for (const auto &s : m_shapes) {
        const int row = shapeRow(s);
        if (s.hasClientData && s.objRecord >= 0 && row >= first && row <= last)
            sources.push_back(&s);
    }
    if (sources.empty() || copies <= 0)
        return;
    QByteArray data = drawingData();
    for (const Shape *s : sources)
        for (qsizetype parent : s->parents)
            if (parent + 8 + qsizetype(u32At(data.constData() + parent + 4)) != m_size)
                return; // shapes are only appended to a group that closes the drawing
    int nextObj = 0;
    for (const auto &s : m_shapes)
        nextObj = std::max(nextObj, s.objId + 1);
    uint32_t nextSpid = m_fdg >= 0 ? u32At(data.constData() + m_fdg + 4) + 1 : 0;
    if (nextObj + qsizetype(sources.size()) * copies > 0xFFFF)
        throw Error(xlstext::tooManyEntries(int(nextObj + sources.size() * copies), 0xFFFF));

    std::vector<BiffRecord> drawingRecords, noteRecords;
    qsizetype added = 0;
    for (int k = 0; k < copies; ++k) {
        const int delta = dest + k * height - first;
        for (const Shape *s : sources) {
            QByteArray shape = data.mid(s->begin, s->end - s->begin);
            char *anchor = shape.data() + (s->anchor - s->begin);
            put16(anchor + kRow1, uint16_t(std::min(u16At(anchor + kRow1) + delta, 65535)));
            put16(anchor + kRow2, uint16_t(std::min(u16At(anchor + kRow2) + delta, 65535)));
            if (s->spidOffset >= 0)
                put32(shape.data() + (s->spidOffset - s->begin), nextSpid++);
            added += shape.size();
            const qsizetype split = s->clientDataEnd - s->begin;
            drawingRecords.push_back({rid::MsoDrawing, shape.left(split), {}});
            BiffRecord obj = (*m_records)[s->objRecord];
            put16(obj.data.data() + 6, uint16_t(nextObj));
            drawingRecords.push_back(obj);
            if (split < shape.size())
                drawingRecords.push_back({rid::MsoDrawing, shape.mid(split), {}});
            if (s->txoRecord >= 0)
                drawingRecords.push_back((*m_records)[s->txoRecord]);
            for (int n : m_notes) {
                if (u16At((*m_records)[n].data.constData() + 6) != s->objId
                    || s->objType != kObjComment)
                    continue;
                BiffRecord note = (*m_records)[n];
                put16(note.data.data(), uint16_t(noteRow(n) + delta));
                put16(note.data.data() + 6, uint16_t(nextObj));
                noteRecords.push_back(note);
            }
            ++nextObj;
        }
    }
    for (qsizetype parent : sources.front()->parents)
        addToLength(data.data() + parent, added);
    if (m_fdg >= 0) {
        put32(data.data() + m_fdg, u32At(data.constData() + m_fdg) + uint32_t(sources.size() * copies));
        put32(data.data() + m_fdg + 4, nextSpid - 1);
    }
    storeDrawingData(data, 0, 0);
    const int lastNote = m_notes.empty() ? -1 : *std::max_element(m_notes.begin(), m_notes.end());
    const int drawingAt = lastDrawingRecord() + 1;
    // Notes follow the drawing, so they are inserted first to keep the
    // drawing's insertion point valid.
    const int noteAt = lastNote >= 0 ? lastNote + 1 : drawingAt;
    m_records->insert(m_records->begin() + noteAt, noteRecords.begin(), noteRecords.end());
    m_records->insert(m_records->begin() + drawingAt, drawingRecords.begin(), drawingRecords.end());
    index(m_records);
}

} // namespace kasovka
