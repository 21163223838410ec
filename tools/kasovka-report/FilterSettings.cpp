#include "FilterSettings.h"

#include "core/DateConvention.h"
#include "core/DateTime.h"
#include "filter/TReportFilter.h"

#include <QLocale>

#include <functional>
#include <map>

namespace kasovka {

namespace {

using Setter = std::function<QString(TReportFilter &, const QString &)>;

Setter boolean(bool TReportFilter::*field)
{
    return [field](TReportFilter &filter, const QString &value) -> QString {
        if (value != u"0" && value != u"1")
            return QStringLiteral("očekávána hodnota 0 nebo 1");
        filter.*field = value == u"1";
        return QString();
    };
}

Setter number(quint8 TReportFilter::*field, int highest)
{
    return [field, highest](TReportFilter &filter, const QString &value) -> QString {
        bool ok = false;
        const int number = value.toInt(&ok);
        if (!ok || number < 0 || number > highest)
            return QStringLiteral("očekáváno celé číslo od 0 do %1").arg(highest);
        filter.*field = quint8(number);
        return QString();
    };
}

Setter date(TDateTime TReportFilter::*field)
{
    return [field](TReportFilter &filter, const QString &value) -> QString {
        if (value.isEmpty()) {
            filter.*field = 0;
            return QString();
        }
        std::optional<TDateTime> serial = parseIsoDate(value);
        if (!serial)
            serial = parseShortDate(value, programLocale());
        if (!serial || timePart(*serial) != 0)
            return QStringLiteral("očekáváno datum RRRR-MM-DD nebo %1")
                .arg(shortDateFormat(programLocale()));
        filter.*field = *serial;
        return QString();
    };
}

Setter text(QString TReportFilter::*field)
{
    return [field](TReportFilter &filter, const QString &value) -> QString {
        filter.*field = value;
        return QString();
    };
}

const std::map<QString, Setter> &setters()
{
    using F = TReportFilter;
    static const std::map<QString, Setter> map = {
        {QStringLiteral("zpusobsumace"), number(&F::ZpusobSumace, rgDetailed)},
        {QStringLiteral("zaobdobi"), boolean(&F::ZaObdobi)},
        {QStringLiteral("obdobiod"), date(&F::ObdobiOD)},
        {QStringLiteral("obdobido"), date(&F::ObdobiDO)},
        {QStringLiteral("zapocitavatpredchobdobi"), boolean(&F::ZapocitavatPredchObdobi)},
        {QStringLiteral("vertikalnideleni"), number(&F::VertikalniDeleni, LastSummationGroupKind)},
        {QStringLiteral("pouzezaverecnyprehled"), boolean(&F::PouzeZaverecnyPrehled)},
        {QStringLiteral("triditdle"), number(&F::TriditDle, roDocumentNumber)},
        {QStringLiteral("nazevfiltru"), text(&F::NazevFiltru)},
        {QStringLiteral("zaverkoveupravy"), boolean(&F::ZaverkoveUpravy)},
        {QStringLiteral("filtrstrediska"), boolean(&F::FiltrStrediska)},
        {QStringLiteral("filtrstrediskatext"), text(&F::FiltrStrediskaText)},
        {QStringLiteral("filtrstrediskanegace"), boolean(&F::FiltrStrediskaNegace)},
        {QStringLiteral("filtrcinnosti"), boolean(&F::FiltrCinnosti)},
        {QStringLiteral("filtrcinnostitext"), text(&F::FiltrCinnostiText)},
        {QStringLiteral("filtrcinnostinegace"), boolean(&F::FiltrCinnostiNegace)},
        {QStringLiteral("filtrzakazky"), boolean(&F::FiltrZakazky)},
        {QStringLiteral("filtrzakazkytext"), text(&F::FiltrZakazkyText)},
        {QStringLiteral("filtrzakazkynegace"), boolean(&F::FiltrZakazkyNegace)},
        {QStringLiteral("filtrmena"), boolean(&F::FiltrMena)},
        {QStringLiteral("filtrmenatext"), text(&F::FiltrMenaText)},
        {QStringLiteral("filtrmenanegace"), boolean(&F::FiltrMenaNegace)},
    };
    return map;
}

} // namespace

QString setFilterField(TReportFilter &filter, const QString &key, const QString &value)
{
    const auto setter = setters().find(key.toLower());
    if (setter == setters().end())
        return QStringLiteral("neznámé pole filtru \"%1\"").arg(key);
    const QString error = setter->second(filter, value);
    return error.isEmpty() ? QString() : key + QStringLiteral(": ") + error;
}

} // namespace kasovka
