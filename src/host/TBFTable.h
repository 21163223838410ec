#pragma once
// One open table of the host's table store. Each host table is one SQLite
// file NAME.DAT holding the table `data`; its columns are the host's field
// names, their declared types (TEXT, INTEGER, BOOLEAN, DATE, CURRENCY, FLOAT,
// VARIANT) decide the kind of every value read. Table order is rowid order;
// an index orders by its columns ascending, texts byte for byte, then rowid.
//
// Result codes: Open and SetIndex return 0 on success and a non-zero code
// with LastFailure() set otherwise. Every other operation that meets a store
// failure (a damaged file, a field the table lacks, a value of an unexpected
// storage class, no current record) throws HostTableError, whose Czech text
// names the file and, where it applies, the field.
//
// Typical scan, positions resolved once:
//     TBFTable t;
//     if (t.Open(folder + "UCPENDEN") != 0 || t.SetIndex("Datum+Zdroj+ZRadek") != 0) ...
//     const int datum = t.FieldIndex("Datum");
//     t.SelectFields({datum});
//     if (t.RecordCount() > 0) {
//         t.First();
//         do { use(t.DateValue(datum)); } while (t.Next() != TBFTable::EndOfTable);
//     }

#include "core/Variant.h"
#include "host/HostSchema.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>

namespace kasovka {

class HostTableError;
class THostReadSession;

class TBFTable {
public:
    static constexpr int EndOfTable = 1;
    static constexpr int SeekFound = 7;
    static constexpr int SeekNotFound = 0;

    TBFTable();
    ~TBFTable();
    TBFTable(const TBFTable &) = delete;
    TBFTable &operator=(const TBFTable &) = delete;

    // Opens the table file; `path` with or without ".DAT". When no file of
    // exactly that name exists, one in the same folder whose name differs
    // only in letter case is taken. Checks that the file is a table of the
    // store (SQLite, with the table `data`) and that every field the host
    // schema defines has the schema's declared type. 0 = open.
    //
    // The file is opened for reading, so that a user who may only read the
    // host's data can run a report; the first Post or Delete reopens it for
    // writing. Where the folder cannot hold the write-ahead log's index (it
    // may not be written and the host does not have the table open), a
    // private copy of the table is read instead, taken while the file did
    // not change.
    int Open(const QString &path);
    // The existing table file Open would take for `path`, or empty.
    static QString ResolveTableFile(const QString &path);
    // The index of that exact name; an empty name returns to table order.
    // 0 = done; non-zero when the file has no such index. The current record
    // is lost.
    int SetIndex(const QString &indexName);
    void Close();

    bool IsOpen() const;
    // The file opened (with ".DAT"), empty when closed.
    QString FilePath() const;
    // The reason of the last failed Open or SetIndex, in Czech.
    QString LastError() const;
    // That failure whole; nullptr when neither has failed since the last
    // Open began.
    const HostTableError *LastFailure() const;
    // True when the last Open failed only because the host was writing the
    // table at that moment, so that trying again shortly may succeed.
    bool HostWasWriting() const;
    QString CurrentIndex() const;
    QStringList FieldNames() const;
    // The kind the file declares for the field; nullopt for a declared type
    // that is none of the seven (reading such a field throws).
    std::optional<HostFieldKind> FieldKind(int field) const;

    int RecordCount();

    // First record of the current order; EndOfTable when the table is empty.
    int First();
    // EndOfTable when there is no further record (also without a current one).
    int Next();
    // Current record: the first in index order whose leading index columns
    // equal the keys. SeekFound, or SeekNotFound (no current record then).
    // Needs an index; throws without one or with more keys than columns.
    int Seek(const Variant &key);
    int Seek2(const Variant &key1, const Variant &key2);
    int SeekArray(const QList<Variant> &keys);
    // True while a record is current.
    bool HasCurrent() const;

    // Position of a field for Value(int); throws when the table lacks it.
    int FieldIndex(const QString &field) const;
    // The field of the current record, of its declared kind; NULL reads as
    // the empty value of the kind (Text "", Integer 0, Boolean false, Date 0,
    // Currency 0, Float 0.0, Variant empty).
    Variant Value(int field) const;
    Variant Value(const QString &field) const;

    // The fields a reader takes from each record: from now on the table
    // fetches only those (and the current index's), and reading another
    // field throws. An empty list fetches every field again. The current
    // record is lost. Throws for a position that is no field.
    void SelectFields(const QList<int> &fields);

    // The field of the current record exactly as Value(field).toBool() (and
    // so on) gives it; a field of the asked kind is read straight from the
    // record, without a Variant.
    bool BoolValue(int field) const;
    qint64 IntegerValue(int field) const;
    Currency CurrencyValue(int field) const;
    TDateTime DateValue(int field) const;
    QString TextValue(int field) const;

    // Sets a field of the current or appended record; stored by Post.
    void SetValue(int field, const Variant &value);
    void SetValue(const QString &field, const Variant &value);
    // A new blank record becomes current; nothing is stored until Post.
    int Append();
    // Stores the current record's changes in one transaction, durably; the
    // stored record stays current. Throws when the value does not fit the
    // field's kind or the file cannot be written; nothing is stored then.
    int Post();
    // Removes the current record (durably); the next record in the current
    // order becomes current, if any.
    int Delete();

    // A read transaction: from the first read after it the table is seen in
    // one state, whatever other connections commit, until it ends. Writes
    // are refused while it lasts. Ended by Close as well.
    void BeginReadTransaction();
    void EndReadTransaction();
    bool InReadTransaction() const;

private:
    friend class THostReadSession;
    struct Impl;
    std::unique_ptr<Impl> d;
    THostReadSession *m_session = nullptr;
};

// Reads of one report under one read transaction per table: every table
// added sees one state for as long as the session lasts. Each table is its
// own SQLite file, so the snapshots are taken table by table, at the moment
// each is added; a writer that commits to two files between two add() calls
// can be seen in one and not in the other. A table closed or destroyed
// during the session leaves it on its own.
class THostReadSession {
public:
    THostReadSession() = default;
    ~THostReadSession();
    THostReadSession(const THostReadSession &) = delete;
    THostReadSession &operator=(const THostReadSession &) = delete;

    // Begins the table's read transaction now; the table must be open.
    void add(TBFTable &table);
    // Ends every read transaction of the session (also done on destruction).
    void end();

private:
    friend class TBFTable;
    void forget(TBFTable *table);
    QList<TBFTable *> m_tables;
};

} // namespace kasovka
