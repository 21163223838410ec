#pragma once
// The results of a sheet's formulas, worked out so that readers which do not
// recalculate (previews, libraries reading the stored values) show them.
// Only what reports use is understood: numbers, references and areas of the
// same sheet, + - * / and unary minus, percent, and SUM. Blank cells count
// as 0; a SUM skips the texts and logical values of its areas, as
// spreadsheet programs do. Anything else leaves a formula without a result.

#include <optional>
#include <vector>

namespace kasovka {

class TWorkSheet;

struct FormulaResult {
    int row = 0, column = 0;     // from 0
    std::optional<double> value; // none when the formula was not understood
};

// Every formula cell of the sheet, in row then column order. A result made
// only of numbers with at most two decimals (amounts in haléře) is rounded
// to the decimals its inputs can give, so that sums of binary fractions
// store the exact amount.
std::vector<FormulaResult> formulaResults(const TWorkSheet &sheet);

} // namespace kasovka
