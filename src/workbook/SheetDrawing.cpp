#include "workbook/SheetDrawing.h"

#include "workbook/detail/RecordViews.h"

#include <algorithm>

namespace kasovka {

using namespace detail;

namespace {

// FOPT property ids ([MS-ODRAW] 2.3.23.1 pib, 2.3.4.1 wzName).
constexpr uint16_t kPropPib = 0x0104, kPropName = 0x0380;
constexpr int kMaxDepth = 16;

int depthStep(uint16_t id)
{
    return id == rid::Bof ? 1 : id == rid::Eof ? -1 : 0;
}

} // namespace

// Walks the drawing data: the DgContainer, its FDG and top group, the top
// group's objects and every shape inside them.
struct SheetDrawing::Walk {
    SheetDrawing &d;
    const QByteArray &data;

    // level 0: the drawing; 1: inside the DgContainer; 2: inside its top
    // group; 3: inside an object. `shape`: the SpContainer being read.
    void run(qsizetype pos, qsizetype end, int level, int shape, int depth)
    {
        while (pos + ArtHeader::kSize <= end && depth < kMaxDepth) {
            const ArtHeader h = ArtHeader::at(data.constData() + pos);
            const qsizetype body = pos + ArtHeader::kSize;
            if (qsizetype(h.length) > end - body) {
                d.m_damage = QStringLiteral("drawing record 0x%1 at byte %2 runs past its container")
                                 .arg(h.type, 4, 16, QLatin1Char('0'))
                                 .arg(pos);
                return;
            }
            const qsizetype stop = body + h.length;
            if (h.isContainer())
                container(h, pos, stop, level, depth);
            else if (level == 1 && h.type == art::Fdg && h.length >= FdgView::kSize)
                d.m_fdg = body;
            else if (shape >= 0)
                atom(h, body, stop, d.m_shapes[shape]);
            pos = stop;
        }
    }

    void container(const ArtHeader &h, qsizetype pos, qsizetype stop, int level, int depth)
    {
        const qsizetype body = pos + ArtHeader::kSize;
        if (level == 0 && h.type == art::DgContainer && d.m_dg < 0) {
            d.m_dg = pos;
            run(body, stop, 1, -1, depth + 1);
        } else if (level == 1 && h.type == art::SpgrContainer && d.m_topGroup < 0) {
            d.m_topGroup = pos;
            run(body, stop, 2, -1, depth + 1);
        } else if (h.type == art::SpContainer || h.type == art::SpgrContainer) {
            TopObject o{pos, stop, int(d.m_shapes.size()), -1};
            int shape = -1;
            if (h.type == art::SpContainer) {
                shape = int(d.m_shapes.size());
                d.m_shapes.push_back({});
                d.m_shapes.back().begin = pos;
                d.m_shapes.back().end = stop;
            }
            run(body, stop, 3, shape, depth + 1);
            o.lastShape = int(d.m_shapes.size()) - 1;
            // The top group's own shape has no anchor and is no object.
            if (level == 2 && o.lastShape >= o.firstShape && d.m_shapes[o.firstShape].anchor >= 0) {
                for (int s = o.firstShape; s <= o.lastShape; ++s)
                    d.m_shapes[s].object = int(d.m_objects.size());
                d.m_objects.push_back(o);
            }
        }
    }

    void atom(const ArtHeader &h, qsizetype body, qsizetype stop, Shape &s)
    {
        switch (h.type) {
        case art::ClientAnchor:
            if (h.length >= ClientAnchorView::kSize)
                s.anchor = body;
            break;
        case art::ClientData:
            s.clientDataEnd = stop;
            break;
        case art::ClientTextbox:
            s.textboxEnd = stop;
            break;
        case art::Fsp:
            if (h.length >= FspView::kSize)
                s.fsp = body;
            break;
        case art::Fopt:
            options(body, stop, h.instance(), s);
            break;
        default:
            break;
        }
    }

    // OfficeArtFOPT ([MS-ODRAW] 2.2.9): property entries (opid, value), then
    // the complex data of the complex ones in the same order.
    void options(qsizetype pos, qsizetype end, int count, Shape &s)
    {
        qsizetype complex = pos + qsizetype(count) * 6;
        if (complex > end)
            return;
        for (int i = 0; i < count; ++i) {
            const char *p = data.constData() + pos + i * 6;
            const uint16_t opid = u16At(p);
            const uint32_t value = u32At(p + 2);
            const uint16_t pid = opid & 0x3FFF;
            const bool isComplex = opid & 0x8000;
            if (pid == kPropPib && !isComplex)
                s.pib = pos + i * 6 + 2;
            if (!isComplex)
                continue;
            if (value > uint32_t(end - complex))
                return;
            if (pid == kPropName) {
                ByteReader r(data, QString(), complex);
                s.name = r.chars(value / 2, true);
                s.name.truncate(s.name.indexOf(QChar(0)) < 0 ? s.name.size() : s.name.indexOf(QChar(0)));
            }
            complex += value;
        }
    }
};

void SheetDrawing::index(std::vector<BiffRecord> *records)
{
    m_records = records;
    m_parts.clear();
    m_shapes.clear();
    m_objects.clear();
    m_notes.clear();
    m_dg = m_topGroup = m_fdg = -1;
    m_damage.clear();
    QByteArray data;
    qsizetype expected = 0; // the DgContainer's size, once its header is read
    std::vector<int> objs, txos;
    int depth = 0;
    for (int i = 0; i < int(records->size()); ++i) {
        const BiffRecord &r = (*records)[i];
        depth += depthStep(r.id);
        if (depth != 1)
            continue;
        const bool drawing = r.id == rid::MsoDrawing;
        if (drawing) {
            m_parts.push_back({data.size(), i, 0});
            data.append(r.data);
        }
        if (r.id == rid::Obj)
            objs.push_back(i);
        if (drawing || (r.id == rid::Obj && data.size() < expected)) {
            for (int c = 0; c < int(r.continues.size()); ++c) {
                m_parts.push_back({data.size(), i, c + 1});
                data.append(r.continues[c]);
            }
        }
        if (expected == 0 && data.size() >= ArtHeader::kSize)
            expected = ArtHeader::kSize + ArtHeader::at(data.constData()).length;
        if (r.id == rid::Txo)
            txos.push_back(i);
        else if (r.id == rid::Note) {
            (void)NoteView(r); // a damaged NOTE is reported when the sheet is read
            m_notes.push_back(i);
        }
    }
    m_size = data.size();
    Walk{*this, data}.run(0, m_size, 0, -1, 0);
    matchRecords(objs, txos);
}

// Each shape with client data is followed by the next OBJ, each text box by
// the next TXO, in the order of the drawing data.
void SheetDrawing::matchRecords(const std::vector<int> &objs, const std::vector<int> &txos)
{
    size_t nextObj = 0, nextTxo = 0;
    for (auto &s : m_shapes) {
        if (s.clientDataEnd >= 0 && nextObj < objs.size()) {
            s.obj = objs[nextObj++];
            const ObjView obj((*m_records)[s.obj]);
            s.objType = obj.type();
            s.objId = obj.objectId();
        }
        if (s.textboxEnd >= 0 && nextTxo < txos.size())
            s.txo = txos[nextTxo++];
        if (s.name.isEmpty() && s.objType == ObjView::Picture)
            s.name = QStringLiteral("Picture %1").arg(s.objId);
    }
}

const QByteArray &SheetDrawing::partBytes(const Part &p) const
{
    const BiffRecord &r = (*m_records)[p.record];
    return p.part == 0 ? r.data : r.continues[p.part - 1];
}

QByteArray SheetDrawing::drawingData() const
{
    QByteArray data;
    data.reserve(m_size);
    for (const Part &p : m_parts)
        data.append(partBytes(p));
    return data;
}

// Fields may cross from one record into the next, so small reads and
// writes go through the parts.
QByteArray SheetDrawing::bytesAt(qsizetype pos, qsizetype size) const
{
    QByteArray out;
    auto it = std::upper_bound(m_parts.begin(), m_parts.end(), pos,
                               [](qsizetype o, const Part &p) { return o < p.start; });
    for (it = it == m_parts.begin() ? it : it - 1; it != m_parts.end() && out.size() < size; ++it) {
        const QByteArray &b = partBytes(*it);
        const qsizetype from = std::max<qsizetype>(0, pos + out.size() - it->start);
        out.append(b.mid(from, size - out.size()));
    }
    return out;
}

void SheetDrawing::writeAt(qsizetype pos, const QByteArray &bytes)
{
    auto it = std::upper_bound(m_parts.begin(), m_parts.end(), pos,
                               [](qsizetype o, const Part &p) { return o < p.start; });
    qsizetype done = 0;
    for (it = it == m_parts.begin() ? it : it - 1; it != m_parts.end() && done < bytes.size(); ++it) {
        BiffRecord &r = (*m_records)[it->record];
        QByteArray &b = it->part == 0 ? r.data : r.continues[it->part - 1];
        const qsizetype from = pos + done - it->start;
        const qsizetype n = std::min(bytes.size() - done, b.size() - from);
        if (n > 0) {
            b.replace(from, n, bytes.constData() + done, n);
            done += n;
        }
    }
}

int SheetDrawing::anchorRow(const Shape &s) const
{
    if (s.anchor < 0)
        return -1;
    const QByteArray bytes = bytesAt(s.anchor, ClientAnchorView::kSize);
    return bytes.size() == ClientAnchorView::kSize ? ClientAnchorView(bytes, 0).topRow() : -1;
}

int SheetDrawing::noteOf(const Shape &s) const
{
    if (s.objType != ObjView::Comment)
        return -1;
    for (int n : m_notes)
        if (NoteView((*m_records)[n]).objectId() == s.objId)
            return n;
    return -1;
}

// A comment belongs to the row of its cell, wherever its box floats.
int SheetDrawing::objectRow(const TopObject &o) const
{
    const Shape &s = m_shapes[o.firstShape];
    const int note = noteOf(s);
    return note >= 0 ? noteRow(note) : anchorRow(s);
}

std::vector<int> SheetDrawing::objectsInRows(int first, int last) const
{
    std::vector<int> out;
    for (int i = 0; i < int(m_objects.size()); ++i) {
        const int row = objectRow(m_objects[i]);
        if (row >= first && row <= last)
            out.push_back(i);
    }
    return out;
}

int SheetDrawing::noteRow(int note) const
{
    return NoteView((*m_records)[note]).row();
}

int SheetDrawing::noteColumn(int note) const
{
    return NoteView((*m_records)[note]).column();
}

std::vector<int> SheetDrawing::notesInRow(int row) const
{
    std::vector<int> out;
    for (int n : m_notes)
        if (noteRow(n) == row)
            out.push_back(n);
    std::stable_sort(out.begin(), out.end(),
                     [this](int a, int b) { return noteColumn(a) < noteColumn(b); });
    return out;
}

std::vector<int> SheetDrawing::allNotes() const
{
    std::vector<int> out = m_notes;
    std::stable_sort(out.begin(), out.end(), [this](int a, int b) {
        return std::pair(noteRow(a), noteColumn(a)) < std::pair(noteRow(b), noteColumn(b));
    });
    return out;
}

std::vector<const SheetDrawing::Shape *> SheetDrawing::allImages() const
{
    std::vector<const Shape *> out;
    for (const auto &s : m_shapes)
        if (s.objType == ObjView::Picture)
            out.push_back(&s);
    std::stable_sort(out.begin(), out.end(), [this](const Shape *a, const Shape *b) {
        return anchorRow(*a) < anchorRow(*b);
    });
    return out;
}

std::vector<const SheetDrawing::Shape *> SheetDrawing::imagesInRow(int row) const
{
    std::vector<const Shape *> out;
    for (const auto *s : allImages())
        if (anchorRow(*s) == row)
            out.push_back(s);
    return out;
}

// TXO's characters follow in CONTINUE records, each led by an option byte
// (fHighByte), then the formatting runs.
QString SheetDrawing::noteText(int note) const
{
    const int objId = NoteView((*m_records)[note]).objectId();
    auto s = std::find_if(m_shapes.begin(), m_shapes.end(), [&](const Shape &x) {
        return x.objType == ObjView::Comment && x.objId == objId;
    });
    if (s == m_shapes.end() || s->txo < 0)
        return {};
    const BiffRecord &txo = (*m_records)[s->txo];
    int remaining = TxoView(txo).textLength();
    QString text;
    for (const auto &part : txo.continues) {
        if (remaining <= 0 || part.isEmpty())
            break;
        const bool high = part[0] & 0x01;
        const int n = std::min<int>(remaining, int((part.size() - 1) / (high ? 2 : 1)));
        ByteReader r(part, QString(), 1);
        text += r.chars(n, high);
        remaining -= n;
    }
    return text;
}

// The new text gets one formatting run in the font of the old text's last
// run (TxORuns, [MS-XLS] 2.5.272).
void SheetDrawing::setNoteText(int note, const QString &text)
{
    const int objId = NoteView((*m_records)[note]).objectId();
    auto s = std::find_if(m_shapes.begin(), m_shapes.end(), [&](const Shape &x) {
        return x.objType == ObjView::Comment && x.objId == objId;
    });
    if (s == m_shapes.end() || s->txo < 0)
        return;
    BiffRecord &txo = (*m_records)[s->txo];
    const TxoEdit fields(txo);
    // The last continuation holds the runs, each (ich, ifnt, 4 unused bytes).
    uint16_t font = 0;
    if (!txo.continues.empty() && txo.continues.back().size() >= 4)
        font = u16At(txo.continues.back().constData() + 2);
    txo.continues.clear();
    const bool high = needsHighByte(text);
    const int perPart = (kMaxRecordData - 1) / (high ? 2 : 1);
    for (qsizetype done = 0; done < text.size(); done += perPart) {
        QByteArray part(1, char(high ? 1 : 0));
        appendChars(part, QStringView(text).mid(done, perPart), high);
        txo.continues.push_back(part);
    }
    QByteArray runs;
    append16(runs, 0);     // the run starts at character 0
    append16(runs, font);
    append32(runs, 0);
    append16(runs, uint16_t(text.size())); // TxOLastRun: the text's length
    append16(runs, 0);
    append32(runs, 0);
    txo.continues.push_back(runs);
    fields.setTextLength(int(text.size()));
    fields.setRunsSize(int(runs.size()));
}

bool SheetDrawing::hasOleObjectIn(int firstRow, int lastRow) const
{
    for (int o : objectsInRows(firstRow, lastRow))
        for (int s = m_objects[o].firstShape; s <= m_objects[o].lastShape; ++s)
            if (m_shapes[s].obj >= 0 && ObjView((*m_records)[m_shapes[s].obj]).embedsOle())
                return true;
    return false;
}

void SheetDrawing::setImageBlip(const Shape &shape, uint32_t blipIndex)
{
    if (shape.pib < 0)
        return;
    QByteArray value;
    append32(value, blipIndex);
    writeAt(shape.pib, value);
}

} // namespace kasovka
