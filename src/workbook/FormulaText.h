#pragma once
// BIFF8 formula tokens ([MS-XLS] 2.5.198 Ptg, in reverse Polish order) as
// text, in one of two forms:
// - Cell: the A1 text a spreadsheet program reads back ("SUM(B3:B5)",
//   "'Druhý list'!B2"), as an Office Open XML cell stores it. A token that
//   has no such text throws UnconvertibleToken.
// - Listing: a readable text for listings and diagnostics. It names only
//   the common functions (the others as "FUNC<index>", with their stored
//   argument count), defined names by their index ("NAME2"), and shows a
//   token without a text form as "?xx" with its id; it never throws.

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

namespace kasovka {

struct FormulaContext {
    // The "Sheet!" (or "First:Last!") prefix of an EXTERNSHEET index;
    // nullopt for a reference to another workbook.
    std::function<std::optional<QString>(int ixti)> sheetPrefix;
    // Defined names by their 1-based index (the cell form only).
    std::function<QString(int index)> name;
    // An add-in function's name by EXTERNSHEET index and 1-based name index
    // (the cell form only).
    std::function<std::optional<QString>(int ixti, int index)> addInName;
    int row = 0, column = 0; // the cell, for relative (PtgRefN) tokens
};

enum class FormulaTextForm { Cell, Listing };

// Thrown for a token with no text form in the cell form; carries its id (0
// for a formula cut short or one that does not make one expression).
struct UnconvertibleToken {
    int id;
};

// The formula without its "="; rgcb holds array constants and the like.
QString formulaText(const QByteArray &rgce, const QByteArray &rgcb, const FormulaContext &context,
                    FormulaTextForm form);

// The letters of a column counted from 0 ("A", ..., "Z", "AA").
QString columnName(int column);

// The text of a BIFF8 error code ("#DIV/0!"); "#N/A" for an unknown one.
QString errorText(int code);

// A sheet name as formulas quote it.
QString quotedSheetName(const QString &name);

} // namespace kasovka
