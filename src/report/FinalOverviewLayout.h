#pragma once
// The layout of a group's final overview ("Závěrečný přehled peněžního
// deníku"): three columns of framed sections, each item a caption and a
// field of Skupiny. The panel on screen and the printed overview both draw
// from this one description; neither computes a figure itself, each shows
// the field through its display format.

#include <QStringView>

#include <array>
#include <vector>

namespace kasovka {

struct OverviewItem {
    const char *label; // UTF-8
    const char *field; // Skupiny field
};

struct OverviewSection {
    const char *caption; // UTF-8, on the frame's top edge
    int firstRow;        // the caption's row within the column
    int rowSpan;         // caption row and item rows
    std::vector<OverviewItem> items;
};

// Rows of one overview column; every section begins with its caption row.
inline constexpr int OverviewRows = 16;

// Left, middle and right column, each with its sections top to bottom.
const std::array<std::vector<OverviewSection>, 3> &finalOverviewColumns();

// True for the totals of a section (the derived fields and Col11/Col12),
// which the overview shows in bold.
bool isOverviewTotal(QStringView field);

} // namespace kasovka
