#pragma once
// Working state of TPenDenReport::Generate; private to the report library.
//
// Generate runs in three passes over plain structures (see LoadJournal):
// reading the journal accumulates groups and rows here, finishing completes
// them here, and only the write pass touches the report tables.

#include "filter/FilterListMatcher.h"
#include "report/TPenDenReport.h"

#include <QHash>
#include <QSet>

#include <deque>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

namespace kasovka {

// Field positions of the host tables the report reads, resolved once when
// the tables are open: a table that lacks a field fails there, with a
// message naming the file and the field.
struct JournalFields {
    int del, free, stred, cinnost, zakazka, mena, ico, adCislo, vyst;
    int datum, cislo, zdroj, zRadek, doklad, varSym, popis, pohyb, castka, typ;
    explicit JournalFields(const TBFTable &journal);
    // The field a summation group kind takes its key from; -1 for the kinds
    // without one or keyed by the movement code.
    int groupKeyField(quint8 kind) const;
};

struct AdjustmentFields {
    int stred, cinnost, zakazka, pohyb, castka;
    explicit AdjustmentFields(const TBFTable &adjustments);
};

// What a posting adds to: the columns of one record being accumulated.
// Col11 and Col12 stay 0 here; the write pass derives them.
struct TPenDenReport::AmountSums {
    AmountColumns columns{};
    quint32 touched = 0;   // bit n: column 5 + n received an amount
    bool received = false; // a posting went through, so Col11/Col12 are written

    void add(int column, Currency amount)
    {
        const int slot = column - FirstAmountColumn;
        columns[slot] += amount;
        touched |= 1u << slot;
    }
};

// One Denik record, kept in the order the records are created (which gives
// their IDs). A journal row's amounts are held in its group while it is the
// group's open row and moved here, compactly, once it is closed.
struct TPenDenReport::DenikEntry {
    enum class Kind : quint8 { Carried, Journal, Adjustments };
    Kind kind = Kind::Journal;
    bool received = false;  // Col11/Col12 are written
    bool described = false; // Datum, Doklad_VS and Popis are written
    int group = 0;          // index into Work::groups
    int poradi = 0;
    quint32 touched = 0;
    TDateTime datum = 0;
    QString doklad, varSym, popis;
    // The touched columns' amounts in column order: up to two (a journal
    // record's money and purpose column) in place, more in an array of
    // their own. A detailed report holds a million of these at once.
    Currency amounts[2];
    std::unique_ptr<Currency[]> moreAmounts;

    Currency amount(int i) const { return moreAmounts ? moreAmounts[i] : amounts[i]; }
};

struct TPenDenReport::GroupWork {
    QString key;
    int index = 0;         // creation order, from 0; the Skupiny ID is index + 1
    int carriedRowId = 0;  // Denik ID of the group's carried row
    AmountSums sums;       // the Skupiny record
    AmountSums carried;    // the Prevedeno record and the carried row
    int lastPoradi = 0;
    bool hasLast = false;  // a journal record has been posted to the group
    QString lastZdroj;
    int lastZRadek = 0;
    DenikEntry *openRow = nullptr; // the row the group's last journal record went to
    AmountSums openRowSums;
    // Set when finishing.
    bool named = false; // kind 0 leaves Nazev untouched
    QString name;
};

struct TPenDenReport::Work {
    std::optional<JournalFields> journal;
    std::optional<AdjustmentFields> adjustmentFields;
    int movementSloupec = -1;

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

    // Record descriptions repeat through a year; a detailed report keeps one
    // copy of each for its rows instead of one per row. Bounded, so that a
    // journal of unique descriptions does not pay for the pool.
    QSet<QString> descriptionPool;
    QString sharedDescription(const QString &text)
    {
        constexpr qsizetype MaxPooled = 65536;
        if (const auto found = descriptionPool.constFind(text); found != descriptionPool.constEnd())
            return *found;
        if (descriptionPool.size() < MaxPooled)
            descriptionPool.insert(text);
        return text;
    }

    std::vector<std::unique_ptr<GroupWork>> groups; // in creation order
    QHash<QString, GroupWork *> groupByKey;       // keys as read
    QHash<QString, GroupWork *> groupByFoldedKey; // keys case-folded
    GroupWork *group = nullptr;                    // the group of the record being posted

    // Denik in creation order; a deque keeps the open rows in place while
    // others are added, and lets the write pass release what it has written.
    std::deque<DenikEntry> denik;
    int denikCreated = 0; // also the ID of the newest entry
    std::vector<int> denikRowsOfGroup; // entries created per group, by group index
    DenikEntry &addDenikEntry(DenikEntry::Kind kind, int groupIndex)
    {
        DenikEntry &entry = denik.emplace_back();
        entry.kind = kind;
        entry.group = groupIndex;
        // The carried row comes before its group is listed.
        if (size_t(groupIndex) >= denikRowsOfGroup.size())
            denikRowsOfGroup.resize(size_t(groupIndex) + 1);
        ++denikRowsOfGroup[size_t(groupIndex)];
        ++denikCreated;
        return entry;
    }
    DenikEntry *adjustmentsRow = nullptr;
    AmountSums adjustmentsRowSums;

    // The opening balances, once built (at most once per report).
    std::optional<AmountColumns> opening;

    FilterListMatcher centre, activity, contract, currency;
    THostReadSession session;
};

} // namespace kasovka
