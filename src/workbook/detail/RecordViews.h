#pragma once
// Typed views of the fixed-layout records the layer reads and edits: their
// fields by name, over the record's own bytes. A view checks the record's
// size when it is made, so a damaged record is reported by its name and
// stream position; setters edit the bytes in place, so whatever the layer
// does not set stays as read. View = read-only, Edit = writable.

#include "workbook/SheetAreas.h"
#include "workbook/detail/Bytes.h"
#include "workbook/detail/Records.h"

#include <type_traits>

namespace kasovka::detail {

template <typename Rec>
class RecordFields {
public:
    Rec &record() const { return *m_rec; }

protected:
    static constexpr bool kWritable = !std::is_const_v<Rec>;

    RecordFields(Rec &rec, qsizetype minSize) : m_rec(&rec)
    {
        if (rec.data.size() < minSize)
            throwDamaged(rec, 0, QStringLiteral("expected at least %1 bytes, found %2")
                                     .arg(minSize)
                                     .arg(rec.data.size()));
    }
    uint16_t get16(int at) const { return u16At(m_rec->data.constData() + at); }
    uint32_t get32(int at) const { return u32At(m_rec->data.constData() + at); }
    void set16(int at, int value) const
        requires kWritable
    {
        put16(m_rec->data.data() + at, uint16_t(value));
    }

private:
    Rec *m_rec;
};

// NOTE, as NoteSh ([MS-XLS] 2.4.179): the cell a comment belongs to and the
// id of its OBJ; the author follows.
template <typename Rec>
class NoteFields : public RecordFields<Rec> {
    enum : int { kRow = 0, kColumn = 2, kFlags = 4, kObjectId = 6, kSize = 8 };

public:
    explicit NoteFields(Rec &rec) : RecordFields<Rec>(rec, kSize) {}
    int row() const { return this->get16(kRow); }
    int column() const { return this->get16(kColumn); }
    int objectId() const { return this->get16(kObjectId); }
    void setRow(int row) const requires RecordFields<Rec>::kWritable { this->set16(kRow, row); }
    void setObjectId(int id) const requires RecordFields<Rec>::kWritable { this->set16(kObjectId, id); }
};
using NoteView = NoteFields<const BiffRecord>;
using NoteEdit = NoteFields<BiffRecord>;

// OBJ ([MS-XLS] 2.4.181): sub-records, the first an FtCmo (ft, cb, ot, id,
// flags) naming the object's kind and id, the last an FtEnd.
template <typename Rec>
class ObjFields : public RecordFields<Rec> {
    enum : int { kFt = 0, kCb = 2, kType = 4, kId = 6, kSize = 8 };
    static constexpr uint16_t kFtCmo = 0x0015, kFtEnd = 0x0000, kFtPictFmla = 0x0009;

public:
    enum Type : int { Group = 0x00, Picture = 0x08, Chart = 0x05, Comment = 0x19 };

    explicit ObjFields(Rec &rec) : RecordFields<Rec>(rec, kSize)
    {
        if (this->get16(kFt) != kFtCmo)
            throwDamaged(rec, kFt, QStringLiteral("expected FtCmo (0x0015), found 0x%1")
                                       .arg(this->get16(kFt), 4, 16, QLatin1Char('0')));
    }
    int type() const { return this->get16(kType); }
    int objectId() const { return this->get16(kId); }
    void setObjectId(int id) const requires RecordFields<Rec>::kWritable { this->set16(kId, id); }
    // A picture carrying an FtPictFmla embeds an OLE object.
    bool embedsOle() const
    {
        const QByteArray &d = this->record().data;
        for (qsizetype p = 0; p + 4 <= d.size();) {
            const uint16_t ft = u16At(d.constData() + p);
            if (ft == kFtEnd)
                break;
            if (ft == kFtPictFmla)
                return type() == Picture;
            p += 4 + u16At(d.constData() + p + 2);
        }
        return false;
    }
};
using ObjView = ObjFields<const BiffRecord>;
using ObjEdit = ObjFields<BiffRecord>;

// TXO ([MS-XLS] 2.4.329): the text of a text box; its characters and
// formatting runs follow in CONTINUE records.
template <typename Rec>
class TxoFields : public RecordFields<Rec> {
    enum : int { kTextLength = 10, kRunsSize = 12, kSize = 14 };

public:
    explicit TxoFields(Rec &rec) : RecordFields<Rec>(rec, kSize) {}
    int textLength() const { return this->get16(kTextLength); }
    int runsSize() const { return this->get16(kRunsSize); }
    void setTextLength(int n) const requires RecordFields<Rec>::kWritable { this->set16(kTextLength, n); }
    void setRunsSize(int n) const requires RecordFields<Rec>::kWritable { this->set16(kRunsSize, n); }
};
using TxoView = TxoFields<const BiffRecord>;
using TxoEdit = TxoFields<BiffRecord>;

// BOF ([MS-XLS] 2.4.21): the BIFF version and the kind of substream.
class BofView : public RecordFields<const BiffRecord> {
public:
    enum Type : int { Globals = 0x0005, Worksheet = 0x0010, Chart = 0x0020 };
    static constexpr int kBiff8 = 0x0600;

    explicit BofView(const BiffRecord &rec) : RecordFields(rec, 4) {}
    int version() const { return get16(0); }
    int type() const { return get16(2); }
};

// COLINFO ([MS-XLS] 2.4.53): a run of columns and their format.
class ColInfoView : public RecordFields<const BiffRecord> {
public:
    explicit ColInfoView(const BiffRecord &rec) : RecordFields(rec, 10) {}
    int firstColumn() const { return get16(0); }
    int lastColumn() const { return get16(2); }
    int format() const { return get16(6); }
};

// WINDOW1 ([MS-XLS] 2.4.345): the active tab, the first visible tab and
// how many tabs are selected.
template <typename Rec>
class Window1Fields : public RecordFields<Rec> {
    enum : int { kActiveTab = 10, kFirstTab = 12, kSelectedTabs = 14, kSize = 18 };

public:
    explicit Window1Fields(Rec &rec) : RecordFields<Rec>(rec, kSize) {}
    int activeTab() const { return this->get16(kActiveTab); }
    void showFirstTabOnly() const requires RecordFields<Rec>::kWritable
    {
        this->set16(kActiveTab, 0);
        this->set16(kFirstTab, 0);
        this->set16(kSelectedTabs, 1);
    }
};
using Window1View = Window1Fields<const BiffRecord>;
using Window1Edit = Window1Fields<BiffRecord>;

// WINDOW2 ([MS-XLS] 2.4.346): fSelected and fPaged say whether the sheet's
// tab is selected and shown.
class Window2Edit : public RecordFields<BiffRecord> {
    static constexpr uint16_t kSelectedAndShown = 0x0600;

public:
    explicit Window2Edit(BiffRecord &rec) : RecordFields(rec, 2) {}
    void setSelected(bool selected) const
    {
        const uint16_t flags = get16(0);
        set16(0, selected ? (flags | kSelectedAndShown) : (flags & ~kSelectedAndShown));
    }
};

// ROW ([MS-XLS] 2.4.221), kept per row in its stored order. The layer sets
// only the row number and the first and last columns; the rest (height,
// outline, format) stays as read.
struct RowRecord {
    uint16_t row = 0, firstColumn = 0, lastColumnPlus1 = 0;
    uint16_t height = 0x00FF; // miyRw; 0x00FF with fUnsynced clear: the default height
    uint16_t reserved = 0, unused = 0;
    uint16_t flags = 0x0100;  // bit 8 is always set; fGhostDirty (0x80): has a format
    uint16_t format = 0x000F; // ixfe in the low 12 bits

    static constexpr int kSize = 16;
    static constexpr uint16_t kHasFormat = 0x0080;

    static RowRecord parse(const BiffRecord &rec);
    bool hasFormat() const { return flags & kHasFormat; }
    int formatIndex() const { return format & 0x0FFF; }
    void writeTo(char *p) const;
};

// ARRAY ([MS-XLS] 2.4.4): the cell range (RefU) the array formula fills,
// then its flags and formula.
template <typename Rec>
class ArrayFields : public RecordFields<Rec> {
    enum : int { kFirstRow = 0, kLastRow = 2, kFirstColumn = 4, kLastColumn = 5, kCce = 12,
                 kTokens = 14 };

public:
    explicit ArrayFields(Rec &rec) : RecordFields<Rec>(rec, kTokens) {}
    int firstRow() const { return this->get16(kFirstRow); }
    int lastRow() const { return this->get16(kLastRow); }
    int firstColumn() const { return uint8_t(this->record().data[kFirstColumn]); }
    int lastColumn() const { return uint8_t(this->record().data[kLastColumn]); }
    int tokenSize() const { return this->get16(kCce); }
    static constexpr int tokensAt() { return kTokens; }
    void setRows(int first, int last) const requires RecordFields<Rec>::kWritable
    {
        this->set16(kFirstRow, first);
        this->set16(kLastRow, last);
    }
};
using ArrayView = ArrayFields<const BiffRecord>;
using ArrayEdit = ArrayFields<BiffRecord>;

// MERGEDCELLS ([MS-XLS] 2.4.168): a count, then that many Ref8 areas.
std::vector<CellArea> parseMergedCells(const BiffRecord &rec);
// The areas as MERGEDCELLS records of at most 1026 areas each.
void appendMergedCells(QByteArray &out, const std::vector<CellArea> &areas);

// HORIZONTALPAGEBREAKS and VERTICALPAGEBREAKS ([MS-XLS] 2.4.122, 2.4.350):
// a count, then that many breaks.
std::vector<PageBreak> parsePageBreaks(const BiffRecord &rec);
void appendPageBreaks(QByteArray &out, uint16_t id, const std::vector<PageBreak> &breaks);

} // namespace kasovka::detail
