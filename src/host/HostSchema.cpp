#include "host/HostSchema.h"

#include "host/HostTableError.h"
#include "host/detail/Sqlite.h"

#include <QFile>
#include <QFileInfo>

namespace kasovka {

namespace {

using K = HostFieldKind;
using F = HostTableFolder;

HostTableDef table(const char *name, F folder, QList<HostFieldDef> fields,
                   QStringList indexes)
{
    HostTableDef def{QString::fromUtf8(name), folder, std::move(fields), {}};
    for (const QString &index : indexes)
        def.indexes.append(HostIndexDef{index});
    return def;
}

HostFieldDef f(const char *name, K kind) { return {QString::fromUtf8(name), kind}; }

// Code lists of the year: a short code and its name.
HostTableDef codeList(const char *name)
{
    return table(name, F::Year, {f("Zkrat", K::Text), f("Nazev", K::Text)}, {"Zkrat"});
}

QList<HostTableDef> buildTables()
{
    return {
        table("UCPENDEN", F::Year,
              {f("Cislo", K::Integer), f("Del", K::Boolean), f("Free", K::Boolean),
               f("Datum", K::Date), f("Zdroj", K::Text), f("ZRadek", K::Integer),
               f("Doklad", K::Text), f("VarSym", K::Text), f("Popis", K::Text),
               f("Pohyb", K::Text), f("Typ", K::Text), f("Castka", K::Currency),
               f("Mena", K::Text), f("CastkaMena", K::Currency), f("Stred", K::Text),
               f("Cinnost", K::Text), f("Zakazka", K::Text), f("ICO", K::Text),
               f("AdCislo", K::Integer), f("Vyst", K::Text)},
              {"Cislo", "Datum+Zdroj+ZRadek", "Doklad+Zdroj+ZRadek"}),
        table("UCPOHYBY", F::Year,
              {f("Zkrat", K::Text), f("Popis", K::Text), f("Typ", K::Text),
               f("Sloupec", K::Text)},
              {"Zkrat"}),
        // The host names the contract field of closing adjustments "Zakzka".
        table("UZZAVUP", F::Year,
              {f("Cislo", K::Integer), f("Datum", K::Date), f("Popis", K::Text),
               f("Pohyb", K::Text), f("Typ", K::Text), f("Castka", K::Currency),
               f("Stred", K::Text), f("Cinnost", K::Text), f("Zakzka", K::Text)},
              {"Cislo"}),
        table("POKLKNIH", F::Year,
              {f("Cislo", K::Integer), f("Datum", K::Date), f("Doklad", K::Text),
               f("Pokl", K::Text), f("Typ", K::Text), f("Popis", K::Text),
               f("Castka", K::Currency), f("ICO", K::Text)},
              {"Cislo", "Doklad"}),
        table("BANKKNIH", F::Year,
              {f("Cislo", K::Integer), f("Datum", K::Date), f("Doklad", K::Text),
               f("Ucet", K::Text), f("Typ", K::Text), f("Popis", K::Text),
               f("Castka", K::Currency), f("VarSym", K::Text)},
              {"Cislo", "Doklad"}),
        table("SZUCPOKL", F::Year,
              {f("Zkrat", K::Text), f("Nazev", K::Text), f("UcPokl", K::Text),
               f("Mena", K::Text), f("PocStav", K::Currency), f("PSMnozstvi", K::Integer),
               f("PSKurz", K::Float)},
              {"Zkrat"}),
        table("SETPVARS", F::Year,
              {f("SetupVarsU", K::Text), f("Sekce", K::Text), f("Prom", K::Text),
               f("Str", K::Text)},
              {"SetupVarsU+Sekce+Prom"}),
        codeList("SZSTRED"),
        codeList("ZAKAZKY"),
        codeList("SZCINN"),
        HostSchema::settingsTable(QStringLiteral("ROK")),
        table("ADRESARF", F::Agenda,
              {f("Cislo", K::Integer), f("ObchNazev", K::Text), f("ICO", K::Text),
               f("DIC", K::Text), f("Ulice", K::Text), f("Obec", K::Text),
               f("PSC", K::Text), f("Klic", K::Text)},
              {"Cislo", "ICO"}),
        table("MENY", F::Agenda,
              {f("Kod", K::Text), f("Zeme", K::Text), f("Mnozstvi", K::Integer),
               f("Kurz", K::Float)},
              {"Kod"}),
        table("ADKLICE", F::Agenda, {f("Klic", K::Text), f("Popis", K::Text)}, {"Klic"}),
        table("SKSEZSKP", F::Agenda,
              {f("Sklad", K::Integer), f("Číslo", K::Integer), f("Název", K::Text)},
              {"Sklad+Název", "Sklad+Číslo"}),
        table("SKSEZSKL", F::Agenda,
              {f("Číslo", K::Integer), f("Název", K::Text), f("TypSkladu", K::Integer)},
              {"Číslo"}),
        table("PRISTUP", F::DataRoot,
              {f("Jmeno", K::Text), f("Password", K::Text), f("JUPDTisk", K::Text)},
              {"Password"}),
        table("PRISTUP2", F::DataRoot, {f("Jmeno", K::Text), f("Password", K::Text)},
              {"Password"}),
    };
}

struct KindName {
    HostFieldKind kind;
    const char *name;
};

constexpr KindName kKindNames[] = {
    {K::Text, "TEXT"},         {K::Integer, "INTEGER"}, {K::Boolean, "BOOLEAN"},
    {K::Date, "DATE"},         {K::Currency, "CURRENCY"}, {K::Float, "FLOAT"},
    {K::Variant, "VARIANT"},
};

QString withDat(const QString &path)
{
    return path.endsWith(QLatin1String(".DAT"), Qt::CaseInsensitive)
        ? path : path + QLatin1String(".DAT");
}

QByteArray indexSql(const HostTableDef &def)
{
    QByteArray sql;
    for (const HostIndexDef &index : def.indexes) {
        sql += " CREATE INDEX IF NOT EXISTS " + detail::quoteIdentifier(index.name) + " ON data (";
        const QStringList columns = index.columns();
        for (qsizetype i = 0; i < columns.size(); ++i)
            sql += (i > 0 ? ", " : "") + detail::quoteIdentifier(columns[i]);
        sql += ");";
    }
    return sql;
}

// Write-ahead logging lets a report read one state of a table while the host
// commits to it, instead of blocking the host until the report is done.
QByteArray createSql(const HostTableDef &def, bool withIndexes)
{
    QByteArray sql = withIndexes ? "PRAGMA journal_mode = WAL; " : "";
    sql += "BEGIN; CREATE TABLE data (";
    for (qsizetype i = 0; i < def.fields.size(); ++i) {
        if (i > 0)
            sql += ", ";
        sql += detail::quoteIdentifier(def.fields[i].name) + ' '
            + HostSchema::declaredType(def.fields[i].kind).toLatin1();
    }
    sql += ");";
    if (withIndexes)
        sql += indexSql(def);
    return sql + " COMMIT;";
}

} // namespace

int HostTableDef::fieldIndex(const QString &field) const
{
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (fields[i].name == field)
            return int(i);
    }
    return -1;
}

namespace HostSchema {

QString declaredType(HostFieldKind kind)
{
    for (const KindName &entry : kKindNames) {
        if (entry.kind == kind)
            return QString::fromLatin1(entry.name);
    }
    return QString();
}

bool kindFromDeclaredType(const QString &declared, HostFieldKind *kind)
{
    for (const KindName &entry : kKindNames) {
        if (declared.compare(QLatin1String(entry.name), Qt::CaseInsensitive) == 0) {
            *kind = entry.kind;
            return true;
        }
    }
    return false;
}

const QList<HostTableDef> &tables()
{
    static const QList<HostTableDef> all = buildTables();
    return all;
}

const HostTableDef *find(const QString &nameOrPath)
{
    QString name = QFileInfo(nameOrPath).fileName();
    if (name.endsWith(QLatin1String(".DAT"), Qt::CaseInsensitive))
        name.chop(4);
    for (const HostTableDef &def : tables()) {
        if (def.name.compare(name, Qt::CaseInsensitive) == 0)
            return &def;
    }
    return nullptr;
}

HostTableDef settingsTable(const QString &name)
{
    return HostTableDef{name.toUpper(), HostTableFolder::Year,
                        {{QStringLiteral("Section1"), K::Text},
                         {QStringLiteral("Variable"), K::Text},
                         {QStringLiteral("TypeVar"), K::Text},
                         {QStringLiteral("Value"), K::Variant}},
                        {HostIndexDef{QStringLiteral("Section1+Variable")}}};
}

void createTableFile(const QString &path, const HostTableDef &def, bool withIndexes)
{
    const QString file = withDat(path);
    if (QFileInfo::exists(file))
        throw HostTableError::alreadyExists(file);
    detail::SqliteDb db;
    int rc = db.open(QFileInfo(file).absoluteFilePath(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    if (rc == SQLITE_OK)
        rc = db.exec(createSql(def, withIndexes).constData());
    if (rc != SQLITE_OK) {
        const HostTableError error = HostTableError::cannotCreate(file, db.failure(rc));
        db.close();
        QFile::remove(file);
        throw error;
    }
}

void createIndexes(const QString &path, const HostTableDef &def)
{
    const QString file = withDat(path);
    detail::SqliteDb db;
    int rc = db.open(QFileInfo(file).absoluteFilePath(), SQLITE_OPEN_READWRITE);
    if (rc == SQLITE_OK)
        rc = db.exec("PRAGMA cache_size = -65536");
    if (rc == SQLITE_OK)
        rc = db.exec(("BEGIN; " + indexSql(def) + " COMMIT; PRAGMA journal_mode = WAL;").constData());
    if (rc != SQLITE_OK)
        throw HostTableError::cannotCreateIndexes(file, db.failure(rc));
}

} // namespace HostSchema

} // namespace kasovka
