#include "report/FinalOverviewLayout.h"

namespace kasovka {

const std::array<std::vector<OverviewSection>, 3> &finalOverviewColumns()
{
    static const std::array<std::vector<OverviewSection>, 3> columns{{
        {
            {"Hotovost a ceniny", 0, 4,
             {{"05 příjem", "Col5"}, {"06 výdej", "Col6"}, {"Hotovost celkem", "HotovostCeninyCelkem"}}},
            {"Bankovní účty", 4, 4,
             {{"07 příjem", "Col7"}, {"08 výdej", "Col8"}, {"Na účtech celkem", "BankUctyCelkem"}}},
            {"Průběžné položky", 8, 4,
             {{"09 příjem", "Col9"}, {"10 výdej", "Col10"}, {"Rozdíl", "PrubPolozkyCelkem"}}},
            {"Celkem", 12, 4, {{"11 příjem", "Col11"}, {"12 výdej", "Col12"}, {"Základ daně", "ZakladDane"}}},
        },
        {
            {"Příjmy zahrnované do základu", 0, 5,
             {{"13 zboží", "Col13"}, {"14 služby", "Col14"}, {"15 ostatní", "Col15"},
              {"Celkem", "PrijmyZahrDoZaklCelkem"}}},
            {"Výdaje na zajištění příjmů", 6, 10,
             {{"16 materiál", "Col16"}, {"17 zboží", "Col17"}, {"18 drobný majetek", "Col18"},
              {"19 mzdy", "Col19"}, {"20 daň ze mzdy", "Col20"}, {"21 sociální pojištění", "Col21"},
              {"22 zdravotní pojištění", "Col22"}, {"23 režie", "Col23"}, {"Celkem", "VydajeNaZajPrijCelkem"}}},
        },
        {
            {"Příjmy neovlivňující základ daně", 0, 7,
             {{"24 srážky", "Col24"}, {"25 DPH", "Col25"}, {"26 dotace", "Col26"}, {"27 vklad", "Col27"},
              {"28 ostatní", "Col28"}, {"Celkem", "PrijmyNeovlZaklDaneCelkem"}}},
            {"Výdaje neovlivňující základ daně", 7, 9,
             {{"29 HIM", "Col29"}, {"30 DPH", "Col30"}, {"31 soc. a zdrav. pojištění", "Col31"},
              {"32 daň z příjmů", "Col32"}, {"33 osobní spotřeba", "Col33"}, {"34 dary", "Col34"},
              {"35 ostatní (včetně rezerv)", "Col35"}, {"Celkem", "VydajeNeovlZaklDaneCelkem"}}},
        },
    }};
    return columns;
}

bool isOverviewTotal(QStringView field)
{
    return !field.startsWith(u"Col") || field == u"Col11" || field == u"Col12";
}

} // namespace kasovka
