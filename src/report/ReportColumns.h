#pragma once
// The 31 amount columns Col5..Col35 of the report tables and the rules that
// send an amount into them: the money column from Typ and Zdroj, the
// purpose column from the movement's journal column code, and the opening
// balances of journal columns from the host settings.

#include <QString>
#include <QStringView>

#include <array>

namespace kasovka {

// Column numbers as printed in the journal titles ([5]..[35]).
inline constexpr int FirstAmountColumn = 5;
inline constexpr int LastAmountColumn = 35;
inline constexpr int AmountColumnCount = LastAmountColumn - FirstAmountColumn + 1;
// No column chosen.
inline constexpr int NoColumn = -1;

// "Col5".."Col35" for 5..35.
QString amountFieldName(int column);
// 5..35 for the field names "Col5".."Col35" (letter case ignored, as field
// names are), otherwise NoColumn.
int amountColumnOfField(QStringView fieldName);

// Titles and caption of one amount column: the two journal title lines and
// the final-overview label.
struct AmountColumnInfo {
    const char *title1;
    const char *title2;
    const char *label;
};
// The titles of column 5..35.
const AmountColumnInfo &amountColumnInfo(int column);

// The money column (5..8) of a journal record, or NoColumn. Exact and
// case-sensitive: "P"/"V" with "PK"/"BK".
int moneyColumn(QStringView typ, QStringView zdroj);

// The purpose column (9, 10, 13..35) of a movement's journal column code, or
// NoColumn for an unknown or empty code.
int purposeColumn(QStringView sloupec);

// The money column of a cash register ("P") or bank account ("U") opening
// balance, and the factor (1 or -1) the balance is posted with; NoColumn for
// any other register kind.
struct OpeningBalanceTarget {
    int column = NoColumn;
    int sign = 1;
};
OpeningBalanceTarget registerOpeningColumn(QStringView ucPokl, bool amountPositive);

// One opening balance of a journal column: the host setting's name and the
// report field it adds to, in the order the settings are read. Built from
// the texts "setting;field" split at their first ";".
struct ColumnOpeningSetting {
    QString settingName;
    QString fieldName;
};
const std::array<ColumnOpeningSetting, 26> &columnOpeningSettings();

// Columns summed into the derived Col11 (income in the tax base) and Col12
// (expense to earn income).
inline constexpr int IncomeColumnsFirst = 13, IncomeColumnsLast = 15;
inline constexpr int ExpenseColumnsFirst = 16, ExpenseColumnsLast = 23;
inline constexpr int IncomeTotalColumn = 11, ExpenseTotalColumn = 12;

} // namespace kasovka
