#pragma once
// The parameter record of one cash-journal report: row generation, period,
// summation groups, closing adjustments, row order and the four object
// filters. Its field names are also its keys in the settings section
// "ReportFilter". A report only reads it.

#include "core/DateTime.h"

#include <QString>
#include <QtGlobal>

namespace kasovka {

class TBaseApplication;
class IReportFilterEditor;

// ZpusobSumace
enum TRowGeneration : quint8 {
    rgByDocument = 0, // a whole document on one journal row
    rgDetailed = 1,   // every journal record on its own row
};

// VertikalniDeleni
enum TSummationGroupKind : quint8 {
    sgkNone = 0,
    sgkCentre = 1,
    sgkContract = 2,
    sgkActivity = 3,
    sgkFirmByIco = 4,
    sgkFirmByAddress = 5,
    sgkUser = 6,
    sgkMovement = 7,
};
inline constexpr quint8 LastSummationGroupKind = sgkMovement;

// TriditDle
enum TRowOrder : quint8 {
    roDocumentDate = 0,   // index "Datum+Zdroj+ZRadek"
    roDocumentNumber = 1, // index "Doklad+Zdroj+ZRadek"
};

// The forms of SummationGroupKindName.
inline constexpr int GroupKindListForm = 1;    // "středisek", for the drop-down
inline constexpr int GroupKindCaptionForm = 2; // "střediska", for captions

class TReportFilter {
public:
    // Every field takes its default. The launch context is not owned.
    explicit TReportFilter(TBaseApplication &app);

    // Loads the stored values, lets the editor change them and saves them
    // when it confirms. False when the editor was left without confirming;
    // the object then holds the values loaded from the file. Throws Error
    // when the settings file cannot be written.
    bool Execute(IReportFilterEditor &editor);

    // Reads every field but NazevFiltru from section "ReportFilter" of the
    // settings file and empties NazevFiltru. Missing or unreadable values
    // give the defaults. Always true.
    bool LoadFromIni();
    bool LoadFromIni(const QString &fileName);
    // Writes every field, NazevFiltru included. Throws Error naming the file
    // when it cannot be written; true otherwise.
    bool SaveToIni();
    bool SaveToIni(const QString &fileName) const;

    // Closing adjustments can be printed only without summation groups and
    // without a date limit; a period ending on the year's last day counts as
    // no limit.
    bool ClosingAdjustmentsAllowed(bool noGroups, bool periodOn, TDateTime periodEnd) const;
    // True when this filter's report includes the closing adjustments.
    bool IncludesClosingAdjustments() const;
    // True when the opening balances belong to the report: no groups, and
    // either no period or the earlier movements counted.
    bool IncludesOpeningBalances() const;

    // The list form (1) or caption form (2) of a kind; empty for any other
    // form or a kind above 7.
    static QString SummationGroupKindName(quint8 kind, int form);

    // Whether a record with `value` passes an object filter that is on.
    // `list` is the codes each followed by ";" (a missing final ";" is
    // supplied); the match is case-sensitive and of whole codes.
    static bool MatchesFilterList(const QString &value, const QString &list, bool negation);

    TBaseApplication &Application() const { return m_app; }

    quint8 ZpusobSumace = rgByDocument;
    bool ZaObdobi = false;
    TDateTime ObdobiOD = 0;
    TDateTime ObdobiDO = 0;
    bool ZapocitavatPredchObdobi = false;
    quint8 VertikalniDeleni = sgkNone;
    bool PouzeZaverecnyPrehled = false;
    quint8 TriditDle = roDocumentDate;
    QString NazevFiltru;
    bool ZaverkoveUpravy = false;
    bool FiltrStrediska = false;
    QString FiltrStrediskaText;
    bool FiltrStrediskaNegace = false;
    bool FiltrCinnosti = false;
    QString FiltrCinnostiText;
    bool FiltrCinnostiNegace = false;
    bool FiltrZakazky = false;
    QString FiltrZakazkyText;
    bool FiltrZakazkyNegace = false;
    bool FiltrMena = false;
    QString FiltrMenaText;
    bool FiltrMenaNegace = false;

private:
    TBaseApplication &m_app;
};

} // namespace kasovka
