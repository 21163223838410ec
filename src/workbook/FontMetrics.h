#pragma once
// Widths of text in a cell's font, for laying out what a reader will show
// without a font at hand: column units and wrapped lines. Fonts are known by
// the advances of their metric families; others are measured as Arial.

#include "workbook/BiffStyles.h"

#include <QStringView>

namespace kasovka {

// Advance of the digit "0" per em, as spreadsheet readers measure it when
// they lay out columns (a few tenths of a percent below the design value).
double digitAdvance(const QString &family);

// Width of the digit in points.
double digitPoints(const BiffFont &font);

// Width of the text in points, a little generous so that a line estimated
// to fit does fit in every reader. Letters with diacritics take their base
// letter's width.
double textPoints(QStringView text, const BiffFont &font);

} // namespace kasovka
