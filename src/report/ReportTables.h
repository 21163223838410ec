#pragma once
// The four tables of a report. One routine builds them all: ID, the
// layout's own fields, then Col5..Col35. The field positions below follow
// from that order and let the engine write records without name lookups.

#include "core/Currency.h"
#include "report/ReportColumns.h"

#include <QString>

#include <array>

namespace kasovka {

class TBaseApplication;
class TMemTable;

enum class ReportLayout {
    JournalRows, // Denik
    Groups,      // Skupiny
    AmountsOnly, // Prevedeno, PocatecniStav
};

namespace DenikField {
enum : int { ID, Parent_ID, Poradi, Datum, Doklad_VS, Popis, Col5 };
}
namespace SkupinyField {
enum : int {
    ID, Zkratka, Nazev, LastPoradi, IDPrevedeno, LastZdroj, LastZRadek,
    HotovostCeninyCelkem, BankUctyCelkem, PrubPolozkyCelkem, ZakladDane,
    PrijmyZahrDoZaklCelkem, VydajeNaZajPrijCelkem, PrijmyNeovlZaklDaneCelkem,
    VydajeNeovlZaklDaneCelkem, Col5
};
}
namespace AmountsField {
enum : int { ID, Parent_ID, Col5 };
}

inline constexpr int DenikDokladVsSize = 30;
inline constexpr int DenikPopisSize = 50;
inline constexpr int GroupTextSize = 50; // Zkratka and Nazev

// The field of a Denik or Prevedeno record that holds its group's Skupiny ID:
// "Parent_ID". Readers find a group's records through ReportResult; only a
// link by field names (the template engine's tables) needs the name.
QString groupLinkField();

// The texts of the special journal rows.
QString carriedRowText();    // "Převedeno:"
QString adjustmentsRowText(); // "Uzávěrkové úpravy:"

// Builds the table with the layout and opens it empty; the currency fields
// get the two-decimal format and the default expression ("" for Denik, "0"
// for the others).
void createReportTable(TMemTable &table, ReportLayout layout, const TBaseApplication &app);

// The eight totals of a group, from its 31 columns (Col11/Col12 derived).
struct GroupTotals {
    Currency HotovostCeninyCelkem;
    Currency BankUctyCelkem;
    Currency PrubPolozkyCelkem;
    Currency ZakladDane;
    Currency PrijmyZahrDoZaklCelkem;
    Currency VydajeNaZajPrijCelkem;
    Currency PrijmyNeovlZaklDaneCelkem;
    Currency VydajeNeovlZaklDaneCelkem;
};
using AmountColumns = std::array<Currency, AmountColumnCount>;
// Sets Col11 and Col12 of the current record (in edit state) by their
// definitions from `columns`, the record's 31 amounts (empty ones as 0).
void RecalcRowTotals(TMemTable &table, int col5Position, const AmountColumns &columns);
Currency columnValue(const AmountColumns &columns, int column);
Currency sumOfColumns(const AmountColumns &columns, int first, int last);
GroupTotals computeGroupTotals(const AmountColumns &columns);
// The names of the eight totals, in field order.
const std::array<const char *, 8> &groupTotalFieldNames();

} // namespace kasovka
