#pragma once
// A worksheet's layout and print setup read from its records: columns
// ([MS-XLS] 2.4.53 ColInfo, 2.4.89 DefColWidth, 2.4.324 StandardWidth),
// default row height (2.4.87), page setup (2.4.257 Setup, margins 2.4.25,
// 2.4.328, 2.4.151, 2.4.250), header and footer (2.4.136, 2.4.124),
// centring, gridlines, headings, fit to page (2.4.351 WsBool), the window
// (2.4.346 Window2, 2.4.189 Pane, 2.4.247 Scl), protection (2.4.207) and
// notes (2.4.179). The layer keeps these records as read; they are decoded
// here for writers of other formats.

#include <QString>
#include <optional>
#include <vector>

namespace kasovka {

class TWorkSheet;

struct BiffColumn {
    int first = 0, last = 0;
    int width = 0; // 1/256 of the digit width, padding included
    int xf = 15;
    bool hidden = false, collapsed = false;
    int level = 0;
};

struct BiffNote {
    int record = -1; // index in the sheet's records
    QString author;
    bool shown = false;
};

struct BiffSheetSetup {
    std::vector<BiffColumn> columns;
    std::optional<int> defaultColumnChars;  // DEFCOLWIDTH, digits without padding
    std::optional<int> standardColumnWidth; // STANDARDWIDTH, like BiffColumn::width
    std::optional<int> defaultRowTwips;
    bool unusedRowsHidden = false;

    bool hasSetup = false, paperValid = false, orientationValid = false;
    int paper = 0, scale = 100, firstPage = 1, fitWidth = 1, fitHeight = 1;
    bool portrait = true, overThenDown = false, usePageStart = false;
    double headerMargin = 0.5, footerMargin = 0.5;
    double left = 0.75, right = 0.75, top = 1.0, bottom = 1.0;
    QString header, footer;
    bool centreHorizontally = false, centreVertically = false;
    bool printGridlines = false, printHeadings = false, fitToPage = false;

    bool showGridlines = true, showZeros = true, rightToLeft = false, selected = false;
    bool frozen = false;
    int paneColumns = 0, paneRows = 0, paneTopRow = 0, paneLeftColumn = 0;
    int zoom = 100;
    bool protectedSheet = false;

    std::vector<BiffNote> notes;

    // Throws kasovka::Error for a damaged record.
    static BiffSheetSetup read(const TWorkSheet &sheet);
};

} // namespace kasovka
