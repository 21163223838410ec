#include "workbook/WorkbookGlobals.h"

#include "workbook/Errors.h"
#include "workbook/detail/RecordViews.h"

namespace kasovka {

using namespace detail;

namespace {

constexpr uint16_t kSstSpot = 0xF101;
constexpr uint16_t kXf = 0x00E0;

// Built-in name texts by their one-character code ([MS-XLS] 2.5.148 Lbl).
const char *const kBuiltinNames[] = {
    "Consolidate_Area", "Auto_Open", "Auto_Close", "Extract", "Database", "Criteria",
    "Print_Area", "Print_Titles", "Recorder", "Data_Form", "Auto_Activate",
    "Auto_Deactivate", "Sheet_Title", "_FilterDatabase",
};

} // namespace

void TWorkbookGlobals::load(std::vector<BiffRecord> records, StringPool &strings)
{
    int supBooks = 0;
    for (auto &rec : records) {
        switch (rec.id) {
        case rid::FilePass:
            throw Error(xlstext::passwordProtected());
        case rid::Sst:
            for (auto &s : parseSst(rec, xlstext::recordsInvalid()))
                strings.addParsed(std::move(s));
            m_records.push_back({kSstSpot, {}, {}});
            continue;
        case rid::ExtSst:
            continue; // rebuilt with the table
        case rid::BoundSheet: {
            // BoundSheet8 ([MS-XLS] 2.4.28): lbPlyPos, hsState, dt, stName.
            ByteReader r(rec.data, rec);
            r.skip(4);
            SheetEntry e;
            e.state = r.u8() & 0x03;
            e.type = r.u8();
            const int cch = r.u8();
            e.name = r.chars(cch, r.u8() & 0x01);
            e.record = int(m_records.size());
            m_sheets.push_back(e);
            break;
        }
        case rid::SupBook:
            // SupBook ([MS-XLS] 2.4.271): ctab, then cch 0x0401 marks this workbook.
            if (rec.data.size() >= 4 && u16At(rec.data.constData() + 2) == 0x0401)
                m_selfSupBook = supBooks;
            ++supBooks;
            break;
        case rid::ExternSheet:
            parseExternSheet(rec);
            break;
        case rid::Window1:
            if (m_window1 < 0) {
                (void)Window1View(rec); // a damaged WINDOW1 is reported here
                m_window1 = int(m_records.size());
            }
            break;
        case kXf:
            ++m_xfCount;
            break;
        default:
            break;
        }
        m_records.push_back(std::move(rec));
        if (m_records.back().id == rid::Name)
            parseName(int(m_records.size()) - 1);
    }
    if (std::none_of(m_records.begin(), m_records.end(),
                     [](const BiffRecord &r) { return r.id == kSstSpot; }))
        m_records.insert(m_records.end() - 1, {kSstSpot, {}, {}});
}

void TWorkbookGlobals::parseExternSheet(const BiffRecord &rec)
{
    const QByteArray data = rec.joined();
    ByteReader r(data, rec);
    const int n = r.u16();
    for (int i = 0; i < n; ++i) {
        ExternSheet x;
        x.supBook = r.u16();
        x.first = int16_t(r.u16());
        x.last = int16_t(r.u16());
        m_xti.push_back(x);
    }
}

// NAME ([MS-XLS] 2.4.150): grbit, chKey, cch, cce, reserved, itab, four
// reserved bytes, the name, then its formula.
void TWorkbookGlobals::parseName(int index)
{
    const QByteArray data = m_records[index].joined();
    ByteReader r(data, m_records[index]);
    NameEntry n;
    n.record = index;
    const uint16_t flags = r.u16();
    n.hidden = flags & 0x0001;
    n.function = flags & 0x0002;
    n.builtIn = flags & 0x0020;
    r.skip(1);
    const int cch = r.u8();
    n.cce = r.u16();
    r.skip(2);
    n.scope = r.u16();
    r.skip(4);
    const bool high = r.u8() & 0x01;
    n.name = r.chars(cch, high);
    if ((flags & 0x0020) && cch == 1 && n.name[0].unicode() < std::size(kBuiltinNames))
        n.name = QString::fromLatin1(kBuiltinNames[n.name[0].unicode()]);
    n.rgceOffset = r.pos();
    r.need(n.cce);
    m_names.push_back(n);
}

QByteArray TWorkbookGlobals::nameTokens(const NameEntry &n) const
{
    return m_records[n.record].joined().mid(n.rgceOffset, n.cce);
}

void TWorkbookGlobals::removeName(int index)
{
    const int record = m_names[size_t(index)].record;
    m_records.erase(m_records.begin() + record);
    m_names.erase(m_names.begin() + index);
    const auto follow = [record](int &at) {
        if (at > record)
            --at;
    };
    for (auto &n : m_names)
        follow(n.record);
    for (auto &s : m_sheets)
        follow(s.record);
    follow(m_window1);
}

int TWorkbookGlobals::activeSheet() const
{
    if (m_window1 < 0)
        return 0;
    const int tab = Window1View(m_records[m_window1]).activeTab();
    return tab < int(m_sheets.size()) ? tab : 0;
}

void TWorkbookGlobals::selectFirstSheet()
{
    if (m_window1 < 0)
        return;
    Window1Edit(m_records[m_window1]).showFirstTabOnly();
}

std::optional<ExternSheet> TWorkbookGlobals::externSheet(int ixti) const
{
    if (ixti < 0 || ixti >= int(m_xti.size()))
        return std::nullopt;
    return m_xti[ixti];
}

std::vector<std::vector<QString>> TWorkbookGlobals::addInFunctions() const
{
    std::vector<std::vector<QString>> names;
    bool addIn = false;
    for (const BiffRecord &rec : m_records) {
        if (rec.id == rid::SupBook) {
            // SupBook ([MS-XLS] 2.4.271): cch 0x3A01 marks an add-in's functions.
            addIn = rec.data.size() >= 4 && u16At(rec.data.constData() + 2) == 0x3A01;
            names.emplace_back();
        } else if (rec.id == rid::ExternName && addIn && rec.data.size() >= 8) {
            // ExternName: flags, 4 reserved bytes, the name.
            ByteReader r(rec.data, xlstext::unreadablePart(QStringLiteral("název funkce doplňku")), 6);
            const int length = r.u8();
            names.back().push_back(r.chars(length, r.u8() & 0x01));
        }
    }
    return names;
}

SheetSpan TWorkbookGlobals::span(int ixti, int sheet) const
{
    if (ixti < 0 || ixti >= int(m_xti.size()))
        return SheetSpan::Outside;
    const ExternSheet &x = m_xti[ixti];
    if (x.supBook != m_selfSupBook || x.first < 0 || sheet < x.first || sheet > x.last)
        return SheetSpan::Outside;
    return x.first == x.last ? SheetSpan::Only : SheetSpan::Mixed;
}

int TWorkbookGlobals::ixtiFirstSheet(int ixti) const
{
    if (ixti < 0 || ixti >= int(m_xti.size()) || m_xti[ixti].supBook != m_selfSupBook)
        return -1;
    return m_xti[ixti].first;
}

int TWorkbookGlobals::ixtiLastSheet(int ixti) const
{
    if (ixti < 0 || ixti >= int(m_xti.size()) || m_xti[ixti].supBook != m_selfSupBook)
        return -1;
    return m_xti[ixti].last;
}

void TWorkbookGlobals::shiftNames(const ReferenceShifter &shifter)
{
    for (const auto &n : m_names) {
        BiffRecord &rec = m_records[n.record];
        QByteArray data = rec.joined();
        QByteArray rgce = data.mid(n.rgceOffset, n.cce);
        try {
            if (!shifter.apply(rgce, false))
                continue;
        } catch (const UnsupportedToken &) {
            continue; // a name the walker cannot read is left as it is
        }
        data.replace(n.rgceOffset, n.cce, rgce);
        rec.setJoined(data);
    }
}

BiffRecord *TWorkbookGlobals::drawingGroup()
{
    for (auto &rec : m_records)
        if (rec.id == rid::MsoDrawingGroup)
            return &rec;
    return nullptr;
}

void TWorkbookGlobals::setDrawingGroup(const QByteArray &data)
{
    *drawingGroup() = splitRecord(rid::MsoDrawingGroup, data);
}

void TWorkbookGlobals::write(QByteArray &out, const std::vector<const SstString *> &strings,
                             uint32_t stringRefs, std::vector<qsizetype> &boundSheetOffsets) const
{
    for (const auto &rec : m_records) {
        if (rec.id == kSstSpot) {
            if (!strings.empty())
                appendSst(out, strings, stringRefs, out.size());
            continue;
        }
        if (rec.id == rid::BoundSheet)
            boundSheetOffsets.push_back(out.size() + 4);
        rec.appendTo(out);
    }
}

} // namespace kasovka
