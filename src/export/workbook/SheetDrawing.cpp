#include "export/workbook/SheetDrawing.h"

#include "export/workbook/detail/Bytes.h"

#include <algorithm>

namespace kasovka {

using namespace detail;

namespace {

// Office drawing record types ([MS-ODRAW] 2.2, 2.3).
constexpr uint16_t kSpContainer = 0xF004, kOpt = 0xF00B, kClientTextbox = 0xF00D;
constexpr uint16_t kClientAnchor = 0xF010, kClientData = 0xF011;
constexpr uint16_t kFdg = 0xF008, kFsp = 0xF00A;
constexpr uint16_t kPropPib = 0x0104, kPropName = 0x0380;
constexpr int kObjPicture = 0x08, kObjComment = 0x19;
constexpr int kObjOle = 0x08; // pictures that embed OLE data carry the ftPictFmla

// Position of the first row in the client anchor ([MS-XLS] 2.5.4 via
// OfficeArtClientAnchorSheet): flags, col1, dx1, row1, dy1, col2, dx2, row2.
constexpr int kRow1 = 6, kRow2 = 14;

int depthStep(uint16_t id)
{
    return id == rid::Bof ? 1 : id == rid::Eof ? -1 : 0;
}

} // namespace

void SheetDrawing::index(std::vector<BiffRecord> *records)
{
    m_records = records;
    m_parts.clear();
    m_shapes.clear();
    m_notes.clear();
    QByteArray data;
    std::vector<int> objs, txos;
    int depth = 0;
    for (int i = 0; i < int(records->size()); ++i) {
        const BiffRecord &r = (*records)[i];
        depth += depthStep(r.id);
        if (depth != 1 && !(r.id == rid::Eof && depth == 0))
            continue;
        if (r.id == rid::MsoDrawing) {
            m_parts.push_back({data.size(), i, 0});
            data.append(r.data);
            for (int c = 0; c < int(r.continues.size()); ++c) {
                m_parts.push_back({data.size(), i, c + 1});
                data.append(r.continues[c]);
            }
        } else if (r.id == rid::Obj) {
            objs.push_back(i);
        } else if (r.id == rid::Txo) {
            txos.push_back(i);
        } else if (r.id == rid::Note && r.data.size() >= 8) {
            m_notes.push_back(i);
        }
    }
    m_size = data.size();
    m_fdg = -1;
    std::vector<qsizetype> parents;
    walk(data, 0, data.size(), 0, parents);
    size_t nextObj = 0, nextTxo = 0;
    for (auto &s : m_shapes) {
        if (s.hasClientData && nextObj < objs.size()) {
            s.objRecord = objs[nextObj++];
            const QByteArray &obj = (*records)[s.objRecord].data;
            if (obj.size() >= 8 && u16At(obj.constData()) == 0x15) {
                s.objType = u16At(obj.constData() + 4);
                s.objId = u16At(obj.constData() + 6);
            }
        }
        if (s.hasTextbox && nextTxo < txos.size())
            s.txoRecord = txos[nextTxo++];
        if (s.name.isEmpty() && s.objType == kObjPicture)
            s.name = QStringLiteral("Picture %1").arg(s.objId);
    }
}

void SheetDrawing::walk(const QByteArray &data, qsizetype pos, qsizetype end, int depth,
                        std::vector<qsizetype> &parents)
{
    while (pos + 8 <= end && depth < 16) {
        const uint16_t verInst = u16At(data.constData() + pos);
        const uint16_t type = u16At(data.constData() + pos + 2);
        const qsizetype len = u32At(data.constData() + pos + 4);
        const qsizetype body = pos + 8;
        const qsizetype stop = std::min(end, body + len);
        if (type == kSpContainer) {
            m_shapes.emplace_back();
            m_shapes.back().begin = pos;
            m_shapes.back().end = stop;
            m_shapes.back().parents = parents;
        }
        if (type == kFdg && len >= 8 && body + 8 <= end)
            m_fdg = body;
        if ((verInst & 0x0F) == 0x0F) {
            parents.push_back(pos);
            walk(data, body, stop, depth + 1, parents);
            parents.pop_back();
        } else if (!m_shapes.empty()) {
            Shape &s = m_shapes.back();
            if (type == kClientAnchor && len >= 18 && body + 18 <= end) {
                s.anchor = body;
            } else if (type == kClientData) {
                s.hasClientData = true;
                s.clientDataEnd = stop;
            } else if (type == kClientTextbox) {
                s.hasTextbox = true;
            } else if (type == kOpt) {
                readOptions(data, body, stop - body, verInst >> 4);
            } else if (type == kFsp && len >= 4 && body + 4 <= end) {
                s.spidOffset = body;
            }
        }
        if (len > end - body)
            break;
        pos = body + len;
    }
}

// OfficeArtFOPT ([MS-ODRAW] 2.2.9): property entries, then the complex data
// of the complex ones in the same order.
void SheetDrawing::readOptions(const QByteArray &data, qsizetype pos, qsizetype len, int count)
{
    Shape &s = m_shapes.back();
    qsizetype complex = pos + qsizetype(count) * 6;
    if (complex > pos + len)
        return;
    for (int i = 0; i < count; ++i) {
        const char *p = data.constData() + pos + i * 6;
        const uint16_t opid = u16At(p);
        const uint32_t value = u32At(p + 2);
        const uint16_t pid = opid & 0x3FFF;
        if (pid == kPropPib && !(opid & 0x8000))
            s.pibOffset = int(pos + i * 6 + 2);
        if (opid & 0x8000) {
            if (value > uint32_t(pos + len - complex))
                return;
            if (pid == kPropName) {
                QString name;
                for (qsizetype k = 0; k + 1 < qsizetype(value); k += 2) {
                    const uint16_t ch = u16At(data.constData() + complex + k);
                    if (ch == 0)
                        break;
                    name += QChar(ch);
                }
                s.name = name;
            }
            complex += value;
        }
    }
}

char *SheetDrawing::at(qsizetype offset, int size)
{
    auto it = std::upper_bound(m_parts.begin(), m_parts.end(), offset,
                               [](qsizetype o, const Part &p) { return o < p.start; });
    if (it == m_parts.begin())
        return nullptr;
    --it;
    BiffRecord &r = (*m_records)[it->record];
    QByteArray &bytes = it->part == 0 ? r.data : r.continues[it->part - 1];
    const qsizetype local = offset - it->start;
    if (local + size > bytes.size())
        return nullptr; // a field split over two records is left alone
    return bytes.data() + local;
}

const char *SheetDrawing::at(qsizetype offset, int size) const
{
    return const_cast<SheetDrawing *>(this)->at(offset, size);
}

void SheetDrawing::shiftRows(int at, int delta)
{
    // Inserting moves rows at or below `at` down; deleting moves the rows
    // below the deleted ones up, and anything left inside them to `at`.
    auto move = [at, delta](char *p) {
        const int row = u16At(p);
        if (delta > 0 && row >= at)
            put16(p, uint16_t(std::min(row + delta, 65535)));
        else if (delta < 0 && row >= at - delta)
            put16(p, uint16_t(row + delta));
        else if (delta < 0 && row >= at)
            put16(p, uint16_t(at));
    };
    for (const auto &s : m_shapes) {
        if (s.anchor < 0)
            continue;
        if (char *p = this->at(s.anchor, 18)) {
            move(p + kRow1);
            move(p + kRow2);
        }
    }
    for (int n : m_notes)
        move((*m_records)[n].data.data());
}

int SheetDrawing::anchorRow(const Shape &s) const
{
    const char *p = s.anchor < 0 ? nullptr : at(s.anchor, 18);
    return p ? u16At(p + kRow1) : -1;
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

int SheetDrawing::noteRow(int note) const
{
    return u16At((*m_records)[note].data.constData());
}

int SheetDrawing::noteColumn(int note) const
{
    return u16At((*m_records)[note].data.constData() + 2);
}

std::vector<const SheetDrawing::Shape *> SheetDrawing::allImages() const
{
    std::vector<const Shape *> out;
    for (const auto &s : m_shapes)
        if (s.objType == kObjPicture)
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

const SheetDrawing::Shape *SheetDrawing::shapeForObject(int objId) const
{
    for (const auto &s : m_shapes)
        if (s.objId == objId && s.objType == kObjComment)
            return &s;
    return nullptr;
}

// TXO ([MS-XLS] 2.4.329): cchText and cbRuns in the record, the characters
// in the following CONTINUE records (each led by an option byte), then the
// formatting runs.
QString SheetDrawing::noteText(int note) const
{
    const Shape *s = shapeForObject(u16At((*m_records)[note].data.constData() + 6));
    if (!s || s->txoRecord < 0)
        return {};
    const BiffRecord &txo = (*m_records)[s->txoRecord];
    if (txo.data.size() < 14)
        return {};
    int remaining = u16At(txo.data.constData() + 10);
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

void SheetDrawing::setNoteText(int note, const QString &text)
{
    const Shape *s = shapeForObject(u16At((*m_records)[note].data.constData() + 6));
    if (!s || s->txoRecord < 0)
        return;
    BiffRecord &txo = (*m_records)[s->txoRecord];
    if (txo.data.size() < 14)
        return;
    uint16_t font = 0;
    if (!txo.continues.empty() && txo.continues.back().size() >= 4)
        font = u16At(txo.continues.back().constData() + 2);
    txo.continues.clear();
    const bool high = needsHighByte(text);
    const int perPart = (kMaxRecordData - 1) / (high ? 2 : 1);
    for (qsizetype done = 0; done < text.size(); done += perPart) {
        QByteArray part(1, char(high ? 1 : 0));
        appendChars(part, text.mid(done, perPart), high);
        txo.continues.push_back(part);
    }
    QByteArray runs;
    append16(runs, 0);
    append16(runs, font);
    append32(runs, 0);
    append16(runs, uint16_t(text.size()));
    append16(runs, 0);
    append32(runs, 0);
    txo.continues.push_back(runs);
    put16(txo.data.data() + 10, uint16_t(text.size()));
    put16(txo.data.data() + 12, uint16_t(runs.size()));
}

bool SheetDrawing::hasOleObjectIn(int firstRow, int lastRow) const
{
    for (const auto &s : m_shapes) {
        if (s.objType != kObjOle || s.objRecord < 0)
            continue;
        // An OLE object is a picture with an ftPictFmla subrecord (0x0009).
        const QByteArray &obj = (*m_records)[s.objRecord].data;
        bool ole = false;
        for (qsizetype p = 0; p + 4 <= obj.size() && !ole;) {
            const uint16_t ft = u16At(obj.constData() + p);
            ole = ft == 0x0009;
            if (ft == 0x0000)
                break;
            p += 4 + u16At(obj.constData() + p + 2);
        }
        const int row = anchorRow(s);
        if (ole && row >= firstRow && row <= lastRow)
            return true;
    }
    return false;
}

void SheetDrawing::setImageBlip(const Shape &shape, uint32_t blipIndex)
{
    if (shape.pibOffset < 0)
        return;
    if (char *p = at(shape.pibOffset, 4))
        put32(p, blipIndex);
}

} // namespace kasovka
