#pragma once
// The one definition of every host table the program reads or writes: the
// fields with their kinds and the indexes, as the host names them. The table
// store (TBFTable), the demo generator and kasovka-hostdata all build on it.

#include <QList>
#include <QString>
#include <QStringList>

namespace kasovka {

// The kind of a host field; each one is a declared column type of the table
// file (see declaredType).
enum class HostFieldKind {
    Text,     // TEXT
    Integer,  // INTEGER
    Boolean,  // BOOLEAN: 0 or 1
    Date,     // DATE: day serial as REAL, day 0 = 30 December 1899
    Currency, // CURRENCY: INTEGER count of ten-thousandths
    Float,    // FLOAT: REAL
    Variant,  // VARIANT: a settings value keeping its own kind
};

// The folder a host table lives in.
enum class HostTableFolder {
    DataRoot, // PRISTUP, PRISTUP2
    Agenda,   // ADRESARF, MENY, ADKLICE, SKSEZSKP, SKSEZSKL
    Year,     // UCPENDEN, ..., and the year settings ROK
};

struct HostFieldDef {
    QString name;
    HostFieldKind kind;
};

// An index is named by its columns joined with "+" ("Datum+Zdroj+ZRadek").
struct HostIndexDef {
    QString name;
    QStringList columns() const { return name.split(QLatin1Char('+')); }
};

struct HostTableDef {
    QString name; // the table's base name, upper case ("UCPENDEN")
    HostTableFolder folder;
    QList<HostFieldDef> fields;
    QList<HostIndexDef> indexes;

    // Position of the field in `fields`, or -1.
    int fieldIndex(const QString &field) const;
};

namespace HostSchema {

// The declared column type of a kind ("TEXT", "CURRENCY", ...).
QString declaredType(HostFieldKind kind);
// The kind of a declared column type, compared ignoring letter case; false
// for a type that is none of the seven.
bool kindFromDeclaredType(const QString &declared, HostFieldKind *kind);

// Every host table of the program, settings table ROK included.
const QList<HostTableDef> &tables();
// The table of that base name (letter case ignored, a ".DAT" suffix and a
// leading folder are allowed), or nullptr.
const HostTableDef *find(const QString &nameOrPath);
// The layout of a host settings table (ROK and the other settings tables):
// Section1, Variable, TypeVar, Value with the index "Section1+Variable".
HostTableDef settingsTable(const QString &name);

// Creates the table file `path` (".DAT" added when missing) with the table
// `data`, its columns and indexes, empty. An existing file is an error, as is
// a file that cannot be written; throws HostTableError.
// Tables are created with write-ahead logging, so that a report reading a
// table does not block the host writing to it. Without indexes the file
// stays in rollback mode for a bulk load (no log to copy back), and
// createIndexes then builds the indexes, much faster than inserting into
// them record by record, and switches to write-ahead logging.
void createTableFile(const QString &path, const HostTableDef &def, bool withIndexes = true);
// Creates the indexes of `def` that the table file lacks. Throws
// HostTableError.
void createIndexes(const QString &path, const HostTableDef &def);

} // namespace HostSchema

} // namespace kasovka
