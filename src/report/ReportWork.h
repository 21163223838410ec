#pragma once
// Working state of TPenDenReport::Generate; private to the report library.

#include "filter/FilterListMatcher.h"
#include "report/TPenDenReport.h"

#include <QHash>

#include <memory>
#include <unordered_map>
#include <vector>

namespace kasovka {

// What a posting adds to: the columns of one record being accumulated. A
// column that never received an amount stays empty in a journal row.
struct TPenDenReport::AmountTarget {
    AmountColumns columns{};
    quint32 touched = 0;     // bit n: column 5 + n received an amount
    bool received = false;   // a posting went through, so Col11/Col12 are written
    bool journalRow = false; // a Denik row: postings from the journal describe it

    void add(int column, Currency amount)
    {
        const int slot = column - FirstAmountColumn;
        columns[slot] += amount;
        touched |= 1u << slot;
    }
};

// A Denik row whose amounts are still being collected.
struct TPenDenReport::RowWork : AmountTarget {
    RowWork() { journalRow = true; }
    int denikRow = -1; // position in Denik; -1: the group has no open row
    bool described = false;
    TDateTime datum = 0;
    QString dokladVs;
    QString popis;
    bool dirty = false;
};

struct TPenDenReport::GroupWork {
    QString key;
    int id = 0;
    int skupinyRow = 0;
    int prevedenoRow = 0;
    int carriedRow = 0;
    int idPrevedeno = 0;
    AmountTarget sums;    // the Skupiny record
    AmountTarget carried; // the Prevedeno record
    int lastPoradi = 0;
    bool hasLast = false; // a journal record has been posted to the group
    QString lastZdroj;
    int lastZRadek = 0;
    RowWork row; // the row the group's last journal record went to
};

struct TPenDenReport::Work {
    // Journal field positions.
    int del = -1, free = -1, stred = -1, cinnost = -1, zakazka = -1, mena = -1;
    int ico = -1, adCislo = -1, vyst = -1, datum = -1, cislo = -1, zdroj = -1;
    int zRadek = -1, doklad = -1, varSym = -1, popis = -1, pohyb = -1, castka = -1, typ = -1;
    // Other host tables.
    int movementSloupec = -1;
    int adjStred = -1, adjCinnost = -1, adjZakazka = -1, adjPohyb = -1, adjCastka = -1;
    int cashPopis = -1, bankPopis = -1;

    // The journal record being posted.
    struct Record {
        QString zdroj;
        int zRadek = 0;
        TDateTime datum = 0;
        QString pohyb;
        Currency castka;
        QString typ;
    } record;
    // The closing adjustment being posted.
    struct Adjustment {
        QString pohyb;
        Currency castka;
    } adjustment;

    struct Movement {
        bool found = false;
        int purposeColumn = NoColumn;
    };
    // Movement codes already sought in UCPOHYBY; the table is read inside
    // one read transaction, so an answer stays valid for the whole report.
    QHash<QString, Movement> movements;

    // Descriptions of the cash and bank documents by number, read once per
    // book when first needed: a seek per journal row costs far more than
    // one pass over a book. Only the first record of a number counts, as a
    // seek would find it.
    struct BookDescriptions {
        bool loaded = false;
        std::unordered_map<int, QString> byNumber;
    } cashDescriptions, bankDescriptions;

    std::vector<std::unique_ptr<GroupWork>> groups; // in creation order
    QHash<QString, GroupWork *> groupByKey;       // keys as read
    QHash<QString, GroupWork *> groupByFoldedKey; // keys case-folded
    GroupWork *group = nullptr;                    // the current group

    RowWork adjustmentsRow;
    // The row whose Denik record is still in insert state; flushRow
    // completes it before Denik is touched otherwise.
    RowWork *pendingRow = nullptr;

    FilterListMatcher centre, activity, contract, currency;
    THostReadSession session;
};

} // namespace kasovka
