#pragma once
// Bulk appending to one host table file in a single transaction: the demo
// generator and the import of kasovka-hostdata write thousands of records,
// where TBFTable's durable Post per record would be far too slow. Nothing is
// visible to readers until Commit; destroying the writer without Commit
// rolls every appended record back (all or nothing).

#include "core/Variant.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace kasovka {

class THostTableWriter {
public:
    // Opens an existing table file (".DAT" added when missing, letter case of
    // the file name ignored) and begins the transaction. Throws HostTableError.
    explicit THostTableWriter(const QString &path);
    ~THostTableWriter();
    THostTableWriter(const THostTableWriter &) = delete;
    THostTableWriter &operator=(const THostTableWriter &) = delete;

    QString FilePath() const;
    QStringList FieldNames() const;
    // Throws HostTableError when the table lacks the field.
    int FieldIndex(const QString &field) const;

    // Sets a field of the record being built; unset fields are stored NULL.
    void SetValue(int field, const Variant &value);
    void SetValue(const QString &field, const Variant &value) { SetValue(FieldIndex(field), value); }
    // Stores the record being built and starts a blank one. Throws
    // HostTableError naming the field when a value does not fit its kind;
    // the record is then dropped and the transaction goes on.
    void Append();
    // Makes every appended record durable at once. Throws HostTableError.
    void Commit();
    int AppendedCount() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace kasovka
