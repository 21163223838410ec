#include "filter/TReportFilter.h"

#include "app/TBaseApplication.h"
#include "core/DateConvention.h"
#include "core/IniFile.h"
#include "filter/IReportFilterEditor.h"

#include <QDate>
#include <QLocale>

namespace kasovka {

namespace {

const QString kSection = QStringLiteral("ReportFilter");

// Settings values are read by the program's own rules rather than the INI
// class's broader ones: a Boolean is an integer (anything else is false) and
// a kind or order is a decimal integer kept in 8 bits.
qint64 readInteger(TIniFile &ini, const QString &key)
{
    bool ok = false;
    const qint64 value = ini.ReadString(kSection, key, QString()).trimmed().toLongLong(&ok);
    return ok ? value : 0;
}

quint8 readByte(TIniFile &ini, const QString &key)
{
    return quint8(readInteger(ini, key) & 0xFF);
}

bool readBoolean(TIniFile &ini, const QString &key)
{
    return readInteger(ini, key) != 0;
}

TDateTime readDate(TIniFile &ini, const QString &key)
{
    const QString text = ini.ReadString(kSection, key, QString());
    std::optional<TDateTime> date = parseShortDate(text, programLocale());
    if (!date)
        date = parseIsoDate(text);
    return date ? datePart(*date) : 0;
}

// A zero date is stored as the text of day zero, so a blank date box reads
// back as "no date".
QString dateText(TDateTime serial)
{
    const QLocale locale = programLocale();
    const QDate day = isZeroDate(serial) ? QDate(1899, 12, 30) : toQDate(serial);
    return locale.toString(day, shortDateFormat(locale));
}

void writeBoolean(TIniFile &ini, const QString &key, bool value)
{
    ini.WriteString(kSection, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void writeInteger(TIniFile &ini, const QString &key, int value)
{
    ini.WriteString(kSection, key, QString::number(value));
}

} // namespace

TReportFilter::TReportFilter(TBaseApplication &app)
    : m_app(app)
{
}

bool TReportFilter::Execute(IReportFilterEditor &editor)
{
    LoadFromIni();
    if (!editor.edit(*this))
        return false;
    SaveToIni();
    return true;
}

bool TReportFilter::LoadFromIni()
{
    return LoadFromIni(m_app.SettingsFileName());
}

bool TReportFilter::LoadFromIni(const QString &fileName)
{
    TIniFile ini(fileName);
    ZpusobSumace = readByte(ini, QStringLiteral("ZpusobSumace"));
    ZaObdobi = readBoolean(ini, QStringLiteral("ZaObdobi"));
    ObdobiOD = readDate(ini, QStringLiteral("ObdobiOD"));
    ObdobiDO = readDate(ini, QStringLiteral("ObdobiDO"));
    ZapocitavatPredchObdobi = readBoolean(ini, QStringLiteral("ZapocitavatPredchObdobi"));
    VertikalniDeleni = readByte(ini, QStringLiteral("VertikalniDeleni"));
    PouzeZaverecnyPrehled = readBoolean(ini, QStringLiteral("PouzeZaverecnyPrehled"));
    TriditDle = readByte(ini, QStringLiteral("TriditDle"));
    NazevFiltru.clear(); // every new report starts without a short name
    ZaverkoveUpravy = readBoolean(ini, QStringLiteral("ZaverkoveUpravy"));
    FiltrStrediska = readBoolean(ini, QStringLiteral("FiltrStrediska"));
    FiltrStrediskaText = ini.ReadString(kSection, QStringLiteral("FiltrStrediskaText"), QString());
    FiltrStrediskaNegace = readBoolean(ini, QStringLiteral("FiltrStrediskaNegace"));
    FiltrCinnosti = readBoolean(ini, QStringLiteral("FiltrCinnosti"));
    FiltrCinnostiText = ini.ReadString(kSection, QStringLiteral("FiltrCinnostiText"), QString());
    FiltrCinnostiNegace = readBoolean(ini, QStringLiteral("FiltrCinnostiNegace"));
    FiltrZakazky = readBoolean(ini, QStringLiteral("FiltrZakazky"));
    FiltrZakazkyText = ini.ReadString(kSection, QStringLiteral("FiltrZakazkyText"), QString());
    FiltrZakazkyNegace = readBoolean(ini, QStringLiteral("FiltrZakazkyNegace"));
    FiltrMena = readBoolean(ini, QStringLiteral("FiltrMena"));
    FiltrMenaText = ini.ReadString(kSection, QStringLiteral("FiltrMenaText"), QString());
    FiltrMenaNegace = readBoolean(ini, QStringLiteral("FiltrMenaNegace"));
    return true;
}

bool TReportFilter::SaveToIni()
{
    return SaveToIni(m_app.SettingsFileName());
}

bool TReportFilter::SaveToIni(const QString &fileName) const
{
    TIniFile ini(fileName);
    writeInteger(ini, QStringLiteral("ZpusobSumace"), ZpusobSumace);
    writeBoolean(ini, QStringLiteral("ZaObdobi"), ZaObdobi);
    ini.WriteString(kSection, QStringLiteral("ObdobiOD"), dateText(ObdobiOD));
    ini.WriteString(kSection, QStringLiteral("ObdobiDO"), dateText(ObdobiDO));
    writeBoolean(ini, QStringLiteral("ZapocitavatPredchObdobi"), ZapocitavatPredchObdobi);
    writeBoolean(ini, QStringLiteral("ZaverkoveUpravy"), ZaverkoveUpravy);
    writeInteger(ini, QStringLiteral("VertikalniDeleni"), VertikalniDeleni);
    writeBoolean(ini, QStringLiteral("PouzeZaverecnyPrehled"), PouzeZaverecnyPrehled);
    writeInteger(ini, QStringLiteral("TriditDle"), TriditDle);
    ini.WriteString(kSection, QStringLiteral("NazevFiltru"), NazevFiltru);
    writeBoolean(ini, QStringLiteral("FiltrStrediska"), FiltrStrediska);
    ini.WriteString(kSection, QStringLiteral("FiltrStrediskaText"), FiltrStrediskaText);
    writeBoolean(ini, QStringLiteral("FiltrStrediskaNegace"), FiltrStrediskaNegace);
    writeBoolean(ini, QStringLiteral("FiltrCinnosti"), FiltrCinnosti);
    ini.WriteString(kSection, QStringLiteral("FiltrCinnostiText"), FiltrCinnostiText);
    writeBoolean(ini, QStringLiteral("FiltrCinnostiNegace"), FiltrCinnostiNegace);
    writeBoolean(ini, QStringLiteral("FiltrZakazky"), FiltrZakazky);
    ini.WriteString(kSection, QStringLiteral("FiltrZakazkyText"), FiltrZakazkyText);
    writeBoolean(ini, QStringLiteral("FiltrZakazkyNegace"), FiltrZakazkyNegace);
    writeBoolean(ini, QStringLiteral("FiltrMena"), FiltrMena);
    ini.WriteString(kSection, QStringLiteral("FiltrMenaText"), FiltrMenaText);
    writeBoolean(ini, QStringLiteral("FiltrMenaNegace"), FiltrMenaNegace);
    return true;
}

bool TReportFilter::ClosingAdjustmentsAllowed(bool noGroups, bool periodOn,
                                              TDateTime periodEnd) const
{
    if (!noGroups)
        return false;
    if (!periodOn)
        return true;
    return datePart(periodEnd) == datePart(m_app.FiscalYearTo());
}

bool TReportFilter::IncludesClosingAdjustments() const
{
    return ZaverkoveUpravy
        && ClosingAdjustmentsAllowed(VertikalniDeleni == sgkNone, ZaObdobi, ObdobiDO);
}

bool TReportFilter::IncludesOpeningBalances() const
{
    return VertikalniDeleni == sgkNone && (!ZaObdobi || ZapocitavatPredchObdobi);
}

QString TReportFilter::SummationGroupKindName(quint8 kind, int form)
{
    struct Names {
        const char *list;
        const char *caption;
    };
    static const Names names[] = {
        {"[nesumovat]", ""},
        {"středisek", "střediska"},
        {"zakázek", "zakázky"},
        {"činností", "činnosti"},
        {"firem dle IČO", "firmy dle IČO"},
        {"firem dle čísla adresy", "firmy dle čísla adresy"},
        {"uživatelů účetního systému", "uživatelé účetního systému"},
        {"účetních pohybů", "účetní pohyby"},
    };
    if (kind > LastSummationGroupKind)
        return QString();
    if (form == GroupKindListForm)
        return QString::fromUtf8(names[kind].list);
    if (form == GroupKindCaptionForm)
        return QString::fromUtf8(names[kind].caption);
    return QString();
}

bool TReportFilter::MatchesFilterList(const QString &value, const QString &list, bool negation)
{
    const QLatin1Char separator(';');
    QString codes = list;
    if (!codes.isEmpty() && !codes.endsWith(separator))
        codes += separator;
    bool listed = false;
    if (value.isEmpty() && codes.isEmpty())
        listed = true;
    else
        listed = (separator + codes).contains(separator + value + separator, Qt::CaseSensitive);
    return listed != negation;
}

} // namespace kasovka
