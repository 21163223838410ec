#include "report/ReportColumns.h"

#include <QHash>

namespace kasovka {

namespace {

const AmountColumnInfo kColumns[AmountColumnCount] = {
    {"Hotovost a ceniny", "příjem", "05 příjem"},
    {"Hotovost a ceniny", "výdej", "06 výdej"},
    {"Bankovní účty", "příjem", "07 příjem"},
    {"Bankovní účty", "výdej", "08 výdej"},
    {"Průběžné položky", "příjem", "09 příjem"},
    {"Průběžné položky", "výdej", "10 výdej"},
    {"CELKEM", "příjem", "11 příjem"},
    {"CELKEM", "výdej", "12 výdej"},
    {"PZZ", "zboží", "13 zboží"},
    {"PZZ", "služby", "14 služby"},
    {"PZZ", "ostatní", "15 ostatní"},
    {"VDZUP", "materiál", "16 materiál"},
    {"VDZUP", "zboží", "17 zboží"},
    {"VDZUP", "drobný maj.", "18 drobný majetek"},
    {"VDZUP", "mzdy", "19 mzdy"},
    {"VDZUP", "daň ze mzdy", "20 daň ze mzdy"},
    {"VDZUP", "soc. poj.", "21 sociální pojištění"},
    {"VDZUP", "zdr. poj.", "22 zdravotní pojištění"},
    {"VDZUP", "režie", "23 režie"},
    {"PNZD", "srážky", "24 srážky"},
    {"PNZD", "DPH", "25 DPH"},
    {"PNZD", "dotace", "26 dotace"},
    {"PNZD", "vklad", "27 vklad"},
    {"PNZD", "ostatní", "28 ostatní"},
    {"VNZD", "dlouhodobý maj.", "29 HIM"},
    {"VNZD", "DPH", "30 DPH"},
    {"VNZD", "soc. a zdr. poj.", "31 soc. a zdrav. pojištění"},
    {"VNZD", "daň z příjmu", "32 daň z příjmů"},
    {"VNZD", "osobní", "33 osobní spotřeba"},
    {"VNZD", "dary", "34 dary"},
    {"VNZD", "ostatní (vč. rezerv)", "35 ostatní (včetně rezerv)"},
};

struct CodeColumn {
    const char *code;
    int column;
};

const CodeColumn kPurposeCodes[] = {
    {"VPrP", 9},  {"PPrP", 10}, {"PZbo", 13}, {"PSlu", 14}, {"POst", 15},
    {"VMat", 16}, {"VZbo", 17}, {"VDrM", 18}, {"VMzd", 19}, {"VDMz", 20},
    {"VSoP", 21}, {"VZdP", 22}, {"VRez", 23}, {"PSra", 24}, {"PDPH", 25},
    {"PDot", 26}, {"PVkl", 27}, {"POsN", 28}, {"VHIM", 29}, {"VDPH", 30},
    {"VOzc", 31}, {"VDzP", 32}, {"VOso", 33}, {"VDar", 34}, {"VRzr", 35},
    {"VOsN", 35},
};

// Setting name, ";", target field. The transit-item codes map crosswise
// compared with the movement codes above.
const char *const kOpeningSettingTexts[26] = {
    "PPrP;Col9",  "VPrP;Col10", "PZbo;Col13", "PSlu;Col14", "POst;Col15",
    "VMat;Col16", "VZbo;Col17", "VDrM;Col18", "VMzd;Col19", "VDMz;Col20",
    "VSoP;Col21", "VZdP;Col22", "VRez;Col23", "PSra;Col24", "PDPH;Col25",
    "PDot;Col26", "PVkl;Col27", "POsN;Col28", "VHIM;Col29", "VDPH;Col30",
    "VRzr;Col35", "VDzP;Col32", "VOso;Col33", "VDar;Col34", "VOsN;Col35",
    "VOzc;Col31",
};

} // namespace

QString amountFieldName(int column)
{
    return QStringLiteral("Col") + QString::number(column);
}

int amountColumnOfField(QStringView fieldName)
{
    for (int column = FirstAmountColumn; column <= LastAmountColumn; ++column) {
        if (fieldName.compare(amountFieldName(column), Qt::CaseInsensitive) == 0)
            return column;
    }
    return NoColumn;
}

const AmountColumnInfo &amountColumnInfo(int column)
{
    Q_ASSERT(column >= FirstAmountColumn && column <= LastAmountColumn);
    return kColumns[column - FirstAmountColumn];
}

int moneyColumn(QStringView typ, QStringView zdroj)
{
    const bool in = typ == u"P";
    const bool out = typ == u"V";
    if (!in && !out)
        return NoColumn;
    if (zdroj == u"PK")
        return in ? 5 : 6;
    if (zdroj == u"BK")
        return in ? 7 : 8;
    return NoColumn;
}

int purposeColumn(QStringView sloupec)
{
    // A movement code lookup happens per posting; the codes are four
    // characters, so a linear scan of 26 short entries stays cheap, but a
    // hash keeps it flat whatever the code.
    static const QHash<QString, int> byCode = [] {
        QHash<QString, int> map;
        for (const CodeColumn &entry : kPurposeCodes)
            map.insert(QString::fromLatin1(entry.code), entry.column);
        return map;
    }();
    return byCode.value(sloupec.toString(), NoColumn);
}

OpeningBalanceTarget registerOpeningColumn(QStringView ucPokl, bool amountPositive)
{
    OpeningBalanceTarget target;
    if (ucPokl == u"P")
        target.column = amountPositive ? 5 : 6;
    else if (ucPokl == u"U")
        target.column = amountPositive ? 7 : 8;
    else
        return target;
    target.sign = amountPositive ? 1 : -1;
    return target;
}

const std::array<ColumnOpeningSetting, 26> &columnOpeningSettings()
{
    static const std::array<ColumnOpeningSetting, 26> settings = [] {
        std::array<ColumnOpeningSetting, 26> list;
        for (int i = 0; i < 26; ++i) {
            const QString text = QString::fromLatin1(kOpeningSettingTexts[i]);
            const qsizetype split = text.indexOf(QLatin1Char(';'));
            list[i].settingName = text.left(split);
            list[i].fieldName = text.mid(split + 1).left(255);
        }
        return list;
    }();
    return settings;
}

} // namespace kasovka
