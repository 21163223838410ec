// Summation groups: the key of a journal record, the host code lists that
// name the groups, and their final order.

#include "app/TBaseApplication.h"
#include "host/HostTableError.h"
#include "report/ReportWork.h"

namespace kasovka {

namespace {

struct GroupKindInfo {
    const char *codeList; // nullptr: no code list
    bool agendaFolder;
    const char *index;
    const char *nameField;
    const char *label; // nullptr: no label
};

const GroupKindInfo kKinds[] = {
    {nullptr, false, nullptr, nullptr, nullptr},
    {"SZSTRED", false, "Zkrat", "Nazev", "[doklady bez střediska]"},
    {"ZAKAZKY", false, "Zkrat", "Nazev", "[doklady bez zakázky]"},
    {"SZCINN", false, "Zkrat", "Nazev", "[doklady bez činnosti]"},
    {"ADRESARF", true, "ICO", "ObchNazev", "[doklady bez IČO]"},
    {"ADRESARF", true, "Cislo", "ObchNazev", "[doklady bez vazby na adresář]"},
    {nullptr, false, nullptr, nullptr, nullptr},
    {"UCPOHYBY", false, "Zkrat", "Popis", "[doklady bez účetního pohybu]"},
};

} // namespace

QString TPenDenReport::GroupKey()
{
    const Work &w = *m_work;
    const quint8 kind = m_filter->VertikalniDeleni;
    if (kind == sgkMovement)
        return w.record.pohyb.left(GroupTextSize);
    const int field = w.journal->groupKeyField(kind);
    if (field < 0)
        return QString();
    if (kind == sgkFirmByAddress)
        return QString::number(m_journal.IntegerValue(field));
    // Zkratka keeps 50 characters; keys are cut alike so that two records
    // whose codes agree in what is stored share one group.
    return m_journal.TextValue(field).left(GroupTextSize);
}

int JournalFields::groupKeyField(quint8 kind) const
{
    switch (kind) {
    case sgkCentre: return stred;
    case sgkContract: return zakazka;
    case sgkActivity: return cinnost;
    case sgkFirmByIco: return ico;
    case sgkFirmByAddress: return adCislo;
    case sgkUser: return vyst;
    default: return -1;
    }
}

bool TPenDenReport::OpenGroupCodeList(TBFTable &codeList)
{
    const quint8 kind = m_filter->VertikalniDeleni;
    if (kind > LastSummationGroupKind || !kKinds[kind].codeList)
        return true;
    const GroupKindInfo &info = kKinds[kind];
    const QString path = (info.agendaFolder ? m_app.AgendaFolder() : m_app.YearFolder())
        + QString::fromLatin1(info.codeList);
    if (codeList.Open(path) != 0) {
        leaveOut(HostTableError::openFailed(path, codeList));
        return false;
    }
    if (codeList.SetIndex(QString::fromLatin1(info.index)) != 0) {
        leaveOut(HostTableError::indexFailed(path, codeList));
        return false;
    }
    m_work->session.add(codeList);
    // Resolved now, so a code list without its name field fails with a
    // message naming both.
    codeList.FieldIndex(QString::fromUtf8(info.nameField));
    return true;
}

QString TPenDenReport::NameGroup(TBFTable &codeList, bool codeListOpen, const QString &key)
{
    const quint8 kind = m_filter->VertikalniDeleni;
    const GroupKindInfo &info = kKinds[kind];
    if (kind == sgkUser)
        return key;
    if ((kind == sgkFirmByAddress && key == u"0") || (kind != sgkFirmByAddress && key.isEmpty()))
        return QString::fromUtf8(info.label);
    if (codeListOpen && codeList.IsOpen()) {
        const Variant seekKey = kind == sgkFirmByAddress ? Variant(key.toInt()) : Variant(key);
        if (codeList.Seek(seekKey) == TBFTable::SeekFound)
            return codeList.Value(QString::fromUtf8(info.nameField)).toText();
    }
    return QString();
}

void TPenDenReport::orderGroups()
{
    m_skupiny.sortBy({QStringLiteral("Nazev")});
}

} // namespace kasovka
