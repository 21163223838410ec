#pragma once
// BIFF8 formula tokens ([MS-XLS] 2.5.198 Ptg, in reverse Polish order) as
// the A1-style formula text of an Office Open XML cell.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace kasovka::xlsx {

struct FormulaContext {
    // The "Sheet!" (or "First:Last!") prefix of an EXTERNSHEET index;
    // nullopt for a reference to another workbook.
    std::function<std::optional<QString>(int ixti)> sheetPrefix;
    // Defined names by their 1-based index.
    std::function<QString(int index)> name;
    // An add-in function's name by EXTERNSHEET index and 1-based name index.
    std::function<std::optional<QString>(int ixti, int index)> addInName;
    int row = 0, column = 0; // the cell, for relative (PtgRefN) tokens
};

// Thrown for a token with no text form here; carries its id.
struct UnconvertibleToken {
    int id;
};

// The formula without its "="; rgcb holds array constants and the like.
// Throws UnconvertibleToken.
QString formulaText(const QByteArray &rgce, const QByteArray &rgcb, const FormulaContext &context);

// The text of a BIFF8 error code ("#DIV/0!"); "#N/A" for an unknown one.
QString errorText(int code);

// A sheet name as formulas quote it.
QString quotedSheetName(const QString &name);

} // namespace kasovka::xlsx
