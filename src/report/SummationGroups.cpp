// Summation groups: the key of a journal record, the host code lists that
// name the groups, and their final order.

#include "app/TBaseApplication.h"
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
    int field = -1;
    switch (m_filter->VertikalniDeleni) {
    case sgkCentre: field = w.stred; break;
    case sgkContract: field = w.zakazka; break;
    case sgkActivity: field = w.cinnost; break;
    case sgkFirmByIco: field = w.ico; break;
    case sgkFirmByAddress:
        return QString::number(m_journal.Value(w.adCislo).toInt());
    case sgkUser: field = w.vyst; break;
    case sgkMovement: return w.record.pohyb.left(GroupTextSize);
    default: return QString();
    }
    // Zkratka keeps 50 characters; keys are cut alike so that two records
    // whose codes agree in what is stored share one group.
    return m_journal.Value(field).toText().left(GroupTextSize);
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
        m_app.ShowMessageDialog(QStringLiteral("Nastala chyba při otevírání databáze ") + path
                                    + QStringLiteral(".DAT"),
                                MessageKind::Error);
        return false;
    }
    if (codeList.SetIndex(QString::fromLatin1(info.index)) != 0) {
        m_app.ShowMessageDialog(QStringLiteral("Nastala chyba při nastavení indexu databáze ")
                                    + path + QStringLiteral(".DAT"),
                                MessageKind::Error);
        return false;
    }
    m_work->session.add(codeList);
    // Resolved now, so a code list without its name field fails with a
    // message naming both.
    codeList.FieldIndex(QString::fromUtf8(info.nameField));
    return true;
}

void TPenDenReport::NameGroup(TBFTable &codeList, bool codeListOpen)
{
    const quint8 kind = m_filter->VertikalniDeleni;
    if (kind == sgkNone || kind > LastSummationGroupKind)
        return;
    const GroupKindInfo &info = kKinds[kind];
    const QString key = m_skupiny.asText(SkupinyField::Zkratka);
    QString name;
    if (kind == sgkUser) {
        name = key;
    } else if ((kind == sgkFirmByAddress && key == u"0")
               || (kind != sgkFirmByAddress && key.isEmpty())) {
        name = QString::fromUtf8(info.label);
    } else if (codeListOpen && codeList.IsOpen()) {
        const Variant seekKey = kind == sgkFirmByAddress ? Variant(key.toInt()) : Variant(key);
        if (codeList.Seek(seekKey) == TBFTable::SeekFound)
            name = codeList.Value(QString::fromUtf8(info.nameField)).toText();
    }
    m_skupiny.edit();
    m_skupiny.setText(SkupinyField::Nazev, name);
    m_skupiny.post();
}

void TPenDenReport::orderGroups()
{
    m_skupiny.sortBy({QStringLiteral("Nazev")});
}

} // namespace kasovka
