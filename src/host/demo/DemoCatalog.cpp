#include "host/demo/DemoCatalog.h"

namespace kasovka::demo {

const QList<Movement> &movements()
{
    // Every journal column code appears at least once; two movements have
    // no column (they post only to the money columns).
    static const QList<Movement> list = {
        {"PZB", "Tržba za prodané zboží", "P", "PZbo"},
        {"PZBF", "Úhrada faktury za zboží", "P", "PZbo"},
        {"PSL", "Příjem za služby", "P", "PSlu"},
        {"POS", "Ostatní příjmy", "P", "POst"},
        {"PSR", "Přijatá záloha srážkou", "P", "PSra"},
        {"PDPH", "Přijatá DPH", "P", "PDPH"},
        {"PDOT", "Přijatá dotace", "P", "PDot"},
        {"PVKL", "Vklad podnikatele", "P", "PVkl"},
        {"PON", "Příjmy neovlivňující základ daně", "P", "POsN"},
        {"PPRP", "Převod z pokladny na účet", "P", "PPrP"},
        {"PVRA", "Vrácený přeplatek", "P", ""},
        {"VMA", "Nákup materiálu", "V", "VMat"},
        {"VZB", "Nákup zboží", "V", "VZbo"},
        {"VDM", "Drobný hmotný majetek", "V", "VDrM"},
        {"VMZ", "Výplata mezd", "V", "VMzd"},
        {"VDMZ", "Odvody z mezd", "V", "VDMz"},
        {"VSP", "Sociální pojištění podnikatele", "V", "VSoP"},
        {"VZP", "Zdravotní pojištění podnikatele", "V", "VZdP"},
        {"VRE", "Provozní režie", "V", "VRez"},
        {"VHIM", "Nákup hmotného investičního majetku", "V", "VHIM"},
        {"VDPH", "Zaplacená DPH", "V", "VDPH"},
        {"VOZC", "Odvod zálohy na daň z příjmů", "V", "VOzc"},
        {"VDZP", "Daň z příjmů", "V", "VDzP"},
        {"VOSO", "Osobní spotřeba podnikatele", "V", "VOso"},
        {"VDAR", "Poskytnutý dar", "V", "VDar"},
        {"VRZR", "Tvorba rezervy", "V", "VRzr"},
        {"VON", "Výdaje neovlivňující základ daně", "V", "VOsN"},
        {"VPRP", "Převod z účtu do pokladny", "V", "VPrP"},
        {"VPOK", "Pokuta a penále", "V", ""},
    };
    return list;
}

const QList<CodeName> &centres()
{
    static const QList<CodeName> list = {
        {"PRAHA", "Provozovna Praha"},
        {"BRNO", "Provozovna Brno"},
        {"SPRAVA", "Správa a vedení firmy"},
        {"DILNA", "Dílna Kolín"},
    };
    return list;
}

const QList<CodeName> &contracts()
{
    static const QList<CodeName> list = {
        {"Z01", "Rekonstrukce kanceláří Novotný"},
        {"Z02", "Zateplení bytového domu Říčany"},
        {"Z03", "Oprava střechy ZŠ Kolín"},
        {"Z04", "Údržba zeleně Městský úřad"},
        {"Z05", "Dodávka oken Hruška"},
    };
    return list;
}

const QList<CodeName> &activities()
{
    static const QList<CodeName> list = {
        {"OBCHOD", "Obchodní činnost"},
        {"SLUZBY", "Servisní a montážní služby"},
        {"VYROBA", "Drobná výroba"},
    };
    return list;
}

const QList<Firm> &firms()
{
    // Two addresses share one IČO (a firm's head office and its branch); the
    // last one is a private person without IČO.
    static const QList<Firm> list = {
        {1, "Stavebniny Horák s.r.o.", "25614789", "Průmyslová 12", "Kolín", "28002", "DOD"},
        {2, "Okna Hruška a syn", "61234567", "Na Výsluní 4", "Říčany", "25101", "DOD"},
        {3, "Město Kolín", "00235440", "Karlovo náměstí 78", "Kolín", "28012", "ODB"},
        {4, "Bytové družstvo Říčany", "47115467", "Masarykovo nám. 53", "Říčany", "25101", "ODB"},
        {5, "Železářství Dvořáček", "12547896", "Husova 210", "Brno", "60200", "DOD"},
        {6, "Novotný Consulting s.r.o.", "27451236", "Vinohradská 1233", "Praha 3", "13000", "VIP"},
        {7, "Novotný Consulting s.r.o., pobočka Brno", "27451236", "Lidická 8", "Brno", "60200", "VIP"},
        {8, "Základní škola Kolín", "70836345", "Ovčárecká 374", "Kolín", "28002", "ODB"},
        {9, "Energie Čechy a.s.", "45789123", "Václavské nám. 1", "Praha 1", "11000", "DOD"},
        {10, "Autoservis Šimek", "73215486", "Polní 77", "Kutná Hora", "28401", "DOD"},
        {11, "Kancelářské potřeby Čermák", "63987412", "Pražská 15", "Kolín", "28002", "DOD"},
        {12, "Jan Kučera", "", "Zahradní 9", "Pečky", "28911", "ODB"},
    };
    return list;
}

const QList<const char *> &incomeDocuments()
{
    static const QList<const char *> list = {
        "Tržba za prodej materiálu", "Úhrada faktury od odběratele", "Platba za montáž oken",
        "Tržba z provozovny", "Záloha na zakázku", "Vklad do pokladny",
        "Úhrada za servisní práce", "Přijatá platba kartou",
    };
    return list;
}

const QList<const char *> &expenseDocuments()
{
    static const QList<const char *> list = {
        "Nákup materiálu na stavbu", "Úhrada faktury dodavateli", "Výplata mezd za měsíc",
        "Platba zdravotního pojištění", "Nákup pohonných hmot", "Nájemné provozovny",
        "Nákup kancelářských potřeb", "Platba za elektřinu", "Oprava služebního vozu",
        "Odvod daní a pojistného",
    };
    return list;
}

} // namespace kasovka::demo
