#include "report/FirmIdentity.h"

#include "app/TBaseApplication.h"
#include "core/Error.h"
#include "host/TBFTable.h"
#include "host/THostIniFile.h"

#include <QStringList>

namespace kasovka {

namespace {

const QString FirmSection = QStringLiteral("Firma");

// A setup variable of the section "Firma"; empty when it is missing.
QString setupVariable(TBFTable &table, const QString &name)
{
    const QList<Variant> key{Variant(QStringLiteral("Default")), Variant(FirmSection), Variant(name)};
    if (table.SeekArray(key) != TBFTable::SeekFound)
        return QString();
    return table.TextValue(table.FieldIndex(QStringLiteral("Str"))).trimmed();
}

} // namespace

QString FirmIdentity::line() const
{
    QStringList parts;
    if (!name.isEmpty())
        parts << name;
    if (!ico.isEmpty())
        parts << QStringLiteral("IČO ") + ico;
    if (!dic.isEmpty())
        parts << QStringLiteral("DIČ ") + dic;
    return parts.join(QStringLiteral(", "));
}

FirmIdentity readFirmIdentity(const TBaseApplication &app)
{
    FirmIdentity firm;
    try {
        THostIniFile settings(app.YearSettingsFileName());
        firm.name = settings.ReadString(FirmSection, QStringLiteral("Název"), QString()).trimmed();
        firm.ico = settings.ReadString(FirmSection, QStringLiteral("IČO"), QString()).trimmed();
        firm.dic = settings.ReadString(FirmSection, QStringLiteral("DIČ"), QString()).trimmed();
    } catch (const Error &) {
        // Paper without the firm is still right; the start-up reports year
        // settings it cannot read.
    }
    if (!firm.ico.isEmpty() && !firm.dic.isEmpty())
        return firm;
    try {
        TBFTable table;
        if (table.Open(app.YearFolder() + QStringLiteral("SETPVARS")) != 0
            || table.SetIndex(QStringLiteral("SetupVarsU+Sekce+Prom")) != 0)
            return firm;
        if (firm.ico.isEmpty())
            firm.ico = setupVariable(table, QStringLiteral("ICO"));
        if (firm.dic.isEmpty())
            firm.dic = setupVariable(table, QStringLiteral("DIC"));
    } catch (const Error &) {
        // As above: the firm's numbers are left out.
    }
    return firm;
}

} // namespace kasovka
