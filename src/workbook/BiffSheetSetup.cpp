#include "workbook/BiffSheetSetup.h"

#include "workbook/Errors.h"
#include "workbook/WorkSheet.h"
#include "workbook/detail/Bytes.h"

namespace kasovka {

using namespace detail;

namespace {

namespace id {
constexpr uint16_t Header = 0x0014, Footer = 0x0015, Note = 0x001C;
constexpr uint16_t Protect = 0x0012, LeftMargin = 0x0026, RightMargin = 0x0027;
constexpr uint16_t TopMargin = 0x0028, BottomMargin = 0x0029, PrintHeaders = 0x002A;
constexpr uint16_t PrintGridlines = 0x002B, Pane = 0x0041, DefColWidth = 0x0055;
constexpr uint16_t ColInfo = 0x007D, WsBool = 0x0081, HCenter = 0x0083, VCenter = 0x0084;
constexpr uint16_t StandardWidth = 0x0099, Scl = 0x00A0, Setup = 0x00A1;
constexpr uint16_t DefaultRowHeight = 0x0225, Window2 = 0x023E, Bof = 0x0809, Eof = 0x000A;
} // namespace id

// An empty HEADER or FOOTER record means none.
QString headerText(const QByteArray &data)
{
    if (data.size() < 3)
        return QString();
    ByteReader r(data, xlstext::unreadablePart(QStringLiteral("záhlaví nebo zápatí listu")));
    const int length = r.u16();
    return r.chars(length, r.u8() & 0x01);
}

void readSetup(BiffSheetSetup &s, const QByteArray &data)
{
    ByteReader r(data, xlstext::unreadablePart(QStringLiteral("nastavení stránky listu")));
    s.hasSetup = true;
    s.paper = r.u16();
    s.scale = r.u16();
    s.firstPage = int16_t(r.u16());
    s.fitWidth = r.u16();
    s.fitHeight = r.u16();
    const uint16_t flags = r.u16();
    s.overThenDown = flags & 0x0001;
    s.portrait = flags & 0x0002;
    s.paperValid = !(flags & 0x0004);
    s.orientationValid = s.paperValid && !(flags & 0x0040);
    s.usePageStart = flags & 0x0080;
    r.skip(4);
    s.headerMargin = r.f64();
    s.footerMargin = r.f64();
}

void readWindow(BiffSheetSetup &s, const QByteArray &data)
{
    ByteReader r(data, xlstext::unreadablePart(QStringLiteral("nastavení okna listu")));
    const uint16_t flags = r.u16();
    s.showGridlines = flags & 0x0002;
    s.frozen = flags & 0x0008;
    s.showZeros = flags & 0x0010;
    s.rightToLeft = flags & 0x0040;
    s.selected = flags & 0x0200;
}

void readColumn(BiffSheetSetup &s, const QByteArray &data)
{
    ByteReader r(data, xlstext::unreadablePart(QStringLiteral("šířky sloupců listu")));
    BiffColumn c;
    c.first = r.u16();
    c.last = std::min<int>(r.u16(), 255);
    c.width = r.u16();
    c.xf = r.u16();
    const uint16_t flags = r.u16();
    c.hidden = flags & 0x0001;
    c.level = (flags >> 8) & 0x07;
    c.collapsed = flags & 0x1000;
    if (c.first <= c.last)
        s.columns.push_back(c);
}

void readNote(BiffSheetSetup &s, const QByteArray &data, int record)
{
    ByteReader r(data, xlstext::unreadablePart(QStringLiteral("komentář listu")));
    r.skip(4);
    BiffNote n;
    n.record = record;
    n.shown = r.u16() & 0x0002;
    r.skip(2);
    const int length = r.u16();
    n.author = r.chars(length, r.u8() & 0x01);
    s.notes.push_back(n);
}

double f64Of(const QByteArray &data)
{
    ByteReader r(data, xlstext::unreadablePart(QStringLiteral("okraje stránky listu")));
    return r.f64();
}

bool flagOf(const QByteArray &data)
{
    return data.size() >= 2 && u16At(data.constData()) != 0;
}

} // namespace

BiffSheetSetup BiffSheetSetup::read(const TWorkSheet &sheet)
{
    const std::vector<BiffRecord> &records = sheet.records();
    BiffSheetSetup s;
    int depth = 0;
    for (int i = 0; i < int(records.size()); ++i) {
        const BiffRecord &rec = records[size_t(i)];
        depth += rec.id == id::Bof ? 1 : rec.id == id::Eof ? -1 : 0;
        if (depth != 1 || rec.id == id::Bof)
            continue; // embedded chart substreams have records of the same ids
        const QByteArray &d = rec.data;
        switch (rec.id) {
        case id::ColInfo: readColumn(s, d); break;
        case id::DefColWidth: if (d.size() >= 2) s.defaultColumnChars = u16At(d.constData()); break;
        case id::StandardWidth: if (d.size() >= 2) s.standardColumnWidth = u16At(d.constData()); break;
        case id::DefaultRowHeight:
            if (d.size() >= 4) {
                s.unusedRowsHidden = u16At(d.constData()) & 0x0002;
                s.defaultRowTwips = u16At(d.constData() + 2);
            }
            break;
        case id::Setup: readSetup(s, d); break;
        case id::LeftMargin: s.left = f64Of(d); break;
        case id::RightMargin: s.right = f64Of(d); break;
        case id::TopMargin: s.top = f64Of(d); break;
        case id::BottomMargin: s.bottom = f64Of(d); break;
        case id::Header: s.header = headerText(rec.joined()); break;
        case id::Footer: s.footer = headerText(rec.joined()); break;
        case id::HCenter: s.centreHorizontally = flagOf(d); break;
        case id::VCenter: s.centreVertically = flagOf(d); break;
        case id::PrintGridlines: s.printGridlines = flagOf(d); break;
        case id::PrintHeaders: s.printHeadings = flagOf(d); break;
        case id::WsBool: s.fitToPage = d.size() >= 2 && (uint8_t(d[1]) & 0x01); break;
        case id::Window2: readWindow(s, d); break;
        case id::Pane:
            if (d.size() >= 8) {
                s.paneColumns = u16At(d.constData());
                s.paneRows = u16At(d.constData() + 2);
                s.paneTopRow = u16At(d.constData() + 4);
                s.paneLeftColumn = u16At(d.constData() + 6);
            }
            break;
        case id::Scl:
            if (d.size() >= 4 && u16At(d.constData() + 2) != 0)
                s.zoom = u16At(d.constData()) * 100 / u16At(d.constData() + 2);
            break;
        case id::Protect: s.protectedSheet = flagOf(d); break;
        case id::Note: readNote(s, rec.joined(), i); break;
        default: break;
        }
    }
    return s;
}

} // namespace kasovka
