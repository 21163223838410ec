#pragma once
// The in-memory table every table of the program rests on: typed fields, a
// cursor over the visible records, locate, an "ID = n" filter, a master/detail
// link, sort and a complete copy. Nothing is written to disk.
//
// Visible records: all records in table order; with the filter on, only those
// whose ID equals the filter's number; with a master link, only those whose
// detail fields equal the master fields of the master's current record. Row
// numbers (recNo, valueAt, listener rows) count visible records from 0.
//
// Editing follows the usual data-set rules: append() or edit() put the table
// into Insert or Edit state, the set* functions write the edit buffer, post()
// stores it and cancel() drops it (a cancelled append removes the record).
// Moving the cursor while editing posts first. Writing outside those states
// throws.
//
// Hot paths use field positions: resolve names once with fieldIndex() and then
// call the index-based functions; the name overloads are for convenience.

#include "core/Currency.h"
#include "core/DateTime.h"
#include "core/Variant.h"

#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace kasovka {

class TMemTable;

enum class FieldType {
    AutoInc,  ///< 32-bit signed, assigned on append, unique and increasing
    Integer,  ///< 32-bit signed; empty reads as 0
    Text,     ///< text cut to the field's size on store (size 0: no limit)
    DateTime, ///< TDateTime; empty reads as 0
    Currency, ///< Currency; empty reads as 0
    Boolean,  ///< empty reads as false
    Memo,     ///< long text, never cut
};

struct TFieldDef {
    QString name;
    FieldType type = FieldType::Integer;
    int size = 0; ///< characters, for Text
    bool required = false;
    // Currency display (FormatCurrencyFields).
    QString displayFormat;     ///< empty: shortest exact form
    bool currencySymbol = true; ///< show the currency symbol
    QString defaultExpression; ///< "" or a number literal ("0")
};

struct TIndexDef {
    QString name;
    QStringList fields;
};

/// Observer of a table's data and cursor, for data-aware views. Rows are
/// visible-record numbers. "About to" calls come before the change, the
/// others after it. All functions have empty defaults.
class TMemTableListener {
public:
    virtual ~TMemTableListener() = default;
    /// The whole visible set or the structure is about to change / changed
    /// (open, close, sort, filter, a master move, copyFrom).
    virtual void tableAboutToReset(TMemTable &) {}
    virtual void tableReset(TMemTable &) {}
    /// `count` visible records are about to appear / appeared at `row`.
    virtual void recordsAboutToBeInserted(TMemTable &, int /*row*/, int /*count*/) {}
    virtual void recordsInserted(TMemTable &, int /*row*/, int /*count*/) {}
    virtual void recordsAboutToBeRemoved(TMemTable &, int /*row*/, int /*count*/) {}
    virtual void recordsRemoved(TMemTable &, int /*row*/, int /*count*/) {}
    /// Values of the visible record `row` changed (posted, or edited in the
    /// buffer: views show the edit buffer for the current record).
    virtual void recordChanged(TMemTable &, int /*row*/) {}
    /// The current record is now `row` (-1: none).
    virtual void cursorMoved(TMemTable &, int /*row*/) {}
    /// The table is being destroyed; drop every pointer to it.
    virtual void tableDestroyed(TMemTable &) {}
};

class TMemTable {
public:
    enum class State { Inactive, Browse, Edit, Insert };

    TMemTable();
    explicit TMemTable(const QString &tableName);
    ~TMemTable();
    TMemTable(const TMemTable &) = delete;
    TMemTable &operator=(const TMemTable &) = delete;

    /// The name used in error texts ("Denik: Field 'X' not found").
    void setTableName(const QString &name);
    const QString &tableName() const { return m_tableName; }

    // ---- structure (only while inactive; createTable opens it empty) ----
    /// Adds a field and returns its position. Throws for a duplicate name
    /// (letter case ignored) and on an active table.
    int addField(const QString &name, FieldType type, int size = 0, bool required = false);
    void addIndex(const QString &name, const QStringList &fields);
    /// Removes all field and index definitions (inactive table only) and
    /// ends a master link.
    void clearFields();
    void createTable();
    /// Discards the records; definitions, filter and link settings stay.
    void close();
    bool isActive() const { return m_state != State::Inactive; }
    State state() const { return m_state; }

    int fieldCount() const;
    const TFieldDef &fieldDef(int field) const;
    const QList<TIndexDef> &indexDefs() const { return m_indexDefs; }
    QString fieldName(int field) const;
    FieldType fieldType(int field) const;
    int fieldSize(int field) const;
    /// Position of a field, letter case ignored; throws
    /// "<table>: Field '<name>' not found".
    int fieldIndex(const QString &name) const;
    /// Position or -1.
    int findField(const QString &name) const;

    // Currency field display; allowed on an open table.
    void setDisplayFormat(int field, const QString &format);
    void setCurrencySymbol(int field, bool shown);
    /// "" (new records empty) or a number literal such as "0"; anything else
    /// throws. Applies to records appended afterwards.
    void setDefaultExpression(int field, const QString &expression);

    // ---- cursor over the visible records ----
    void first();
    void next();
    void prior();
    void last();
    /// True after next() passed the last visible record, or when none is
    /// visible. last() leaves eof() false when a record exists.
    bool eof() const { return m_eof; }
    /// True after prior() passed the first record, after first(), or when
    /// none is visible.
    bool bof() const { return m_bof; }
    /// Current visible row, -1 when none is visible.
    int recNo() const;
    /// Moves to a visible row (clamped into range).
    void setRecNo(int row);
    /// Number of visible records.
    int recordCount() const;
    /// Number of records regardless of filter and link.
    int totalRecordCount() const;
    bool hasCurrent() const { return recNo() >= 0; }

    // ---- editing ----
    /// Adds a record at the end (posting a pending edit first), fills the
    /// auto-increment field and the defaults, and makes it current in Insert
    /// state. Throws on a closed table.
    void append();
    /// Current record into Edit state; throws without a current record.
    void edit();
    /// Stores the edit buffer. Throws when a required field is empty.
    void post();
    /// Drops the edit buffer; a cancelled append removes its record.
    void cancel();
    /// Removes the current record; the next one becomes current.
    void deleteRecord();
    /// Removes all records (open table stays open).
    void emptyTable();

    // ---- current record (reads see the edit buffer while editing) ----
    // Without a current record every read gives the empty value. Reads of
    // another type convert by the Variant rules (asText of an amount gives
    // "1500.5", of a date the ISO form) and throw when that fails.
    bool isNull(int field) const;
    QString asText(int field) const;
    qint64 asInteger(int field) const;
    Currency asCurrency(int field) const;
    TDateTime asDate(int field) const;
    bool asBool(int field) const;
    double asFloat(int field) const;
    Variant asVariant(int field) const;

    /// Converts to the field's type; an Empty variant empties the field.
    /// Throws outside Edit/Insert, for a value that does not convert, and for
    /// an integer out of the 32-bit range. Text is cut to the field's size.
    void setValue(int field, const Variant &value);
    void setInteger(int field, qint64 value);
    void setCurrency(int field, Currency value);
    void setText(int field, const QString &value);
    void setDate(int field, TDateTime value);
    void setBool(int field, bool value);
    void setNull(int field);

    // Name overloads (one lookup per call).
    bool isNull(const QString &field) const { return isNull(fieldIndex(field)); }
    QString asText(const QString &field) const { return asText(fieldIndex(field)); }
    qint64 asInteger(const QString &field) const { return asInteger(fieldIndex(field)); }
    Currency asCurrency(const QString &field) const { return asCurrency(fieldIndex(field)); }
    TDateTime asDate(const QString &field) const { return asDate(fieldIndex(field)); }
    bool asBool(const QString &field) const { return asBool(fieldIndex(field)); }
    Variant asVariant(const QString &field) const { return asVariant(fieldIndex(field)); }
    void setValue(const QString &field, const Variant &value) { setValue(fieldIndex(field), value); }

    // ---- reading any visible row without moving the cursor ----
    /// The value of `field` in visible row `row` (the edit buffer for the
    /// current row while editing); Empty when the field is empty. Throws for
    /// a row or field out of range.
    Variant valueAt(int row, int field) const;
    bool isNullAt(int row, int field) const;
    /// Every field of visible row `row` as stored, without conversion, for
    /// writers that walk many rows: `slot` holds an integer, a currency's
    /// raw count, a date's bits or 0/1; `text` views the table's own text and
    /// stays valid until the table changes. `values` has fieldCount() places;
    /// an empty field gets `null` set and its other members left as they were.
    struct RawValue {
        bool null = true;
        quint64 slot = 0;
        QStringView text;
    };
    void rawValuesAt(int row, RawValue *values) const;
    /// Text for display: currency in the field's display format, dates in the
    /// locale's short format (zero date empty), Booleans "Ano"/"Ne", empty
    /// fields as "".
    QString displayTextAt(int row, int field, const QLocale &locale) const;
    /// The same text for a value that the field would hold (a sum of it).
    QString displayText(int field, const Variant &value, const QLocale &locale) const;

    // ---- reading any record, whatever the filter and link ----
    /// As valueAt, isNullAt and displayTextAt, but `record` counts every
    /// record in table order (0..totalRecordCount()-1). A reader that needs
    /// all records (printing every group) uses these while a view keeps the
    /// table linked to its master. Throws for a record or field out of range.
    Variant recordValue(int record, int field) const;
    bool recordIsNull(int record, int field) const;
    /// As rawValuesAt, for a record in table order.
    void recordRawValues(int record, RawValue *values) const;
    /// A few fields of many records in table order, raw as recordRawValues
    /// gives them: prepared once (the fields are checked then), each read
    /// walks the stored fields only up to the last one asked for, so a pass
    /// that needs a handful of a row's forty fields skips the others.
    class FieldReader {
    public:
        /// Throws for a field out of range.
        FieldReader(const TMemTable &table, std::vector<int> fields);
        /// values[i] for fields[i]; throws for a record out of range.
        void read(int record, RawValue *values) const;

    private:
        const TMemTable &m_table;
        std::vector<int> m_fields;
        std::vector<int> m_place; // by field: its place in m_fields, or -1
        int m_last = -1;          // the highest field asked for
        bool m_texts = false;     // whether a text field is asked for
    };
    QString recordDisplayText(int record, int field, const QLocale &locale) const;

    // ---- search, filter, link, sort, copy ----
    /// Makes the first visible record whose fields equal the values current
    /// and returns true; otherwise the cursor stays and false is returned.
    /// Values are converted to the fields' types (one that does not convert
    /// matches nothing); an Empty value matches an empty field. With
    /// `ignoreCase` texts compare ignoring letter case. Each field set keeps
    /// a hash index, so repeated locates cost O(1).
    bool locate(const QStringList &fields, const QList<Variant> &values, bool ignoreCase = false);
    bool locate(const QString &field, const Variant &value, bool ignoreCase = false);
    /// The same by field positions.
    bool locate(const QList<int> &fields, const QList<Variant> &values, bool ignoreCase = false);

    /// "ID = 5" (blanks optional), or "" for no filter; any other text throws.
    void setFilterText(const QString &text);
    const QString &filterText() const { return m_filterText; }
    void setFiltered(bool on);
    bool isFiltered() const { return m_filtered; }

    /// Links this table as a detail of `master`: only records whose
    /// `detailFields` equal the `masterFields` of the master's current record
    /// are visible, and when that record changes this table shows the new set
    /// and stands on its first record. Each master move costs time
    /// proportional to the matching detail records only. The master must
    /// outlive the link (its destruction ends it).
    void setMasterSource(TMemTable *master, const QStringList &masterFields,
                         const QStringList &detailFields);
    void clearMasterSource();
    TMemTable *masterSource() const { return m_master; }

    /// Reorders all records once, ascending by the fields (stable; empty
    /// first; texts ignoring letter case, then by case). The cursor goes to
    /// the first record. Later appends go to the end.
    void sortBy(const QStringList &fields);

    /// Replaces definitions and records with those of `source`: every field,
    /// and every record that passes the source's filter, whether or not the
    /// source's master link shows it. Values (auto-increment ones too) are
    /// the source's; this table is independent afterwards, with no filter or
    /// link, open and on its first record.
    void copyFrom(const TMemTable &source);

    void addListener(TMemTableListener *listener);
    void removeListener(TMemTableListener *listener);

private:
    struct Impl;
    friend struct Impl;
    void checkField(int field) const;
    void checkRecord(int record) const;

    QString m_tableName;
    QList<TIndexDef> m_indexDefs;
    QString m_filterText;
    bool m_filtered = false;
    bool m_eof = true;
    bool m_bof = true;
    State m_state = State::Inactive;
    TMemTable *m_master = nullptr;
    std::unique_ptr<Impl> d;
};

} // namespace kasovka
