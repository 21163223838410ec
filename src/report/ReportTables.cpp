#include "report/ReportTables.h"

#include "app/TBaseApplication.h"
#include "core/MemTable.h"

namespace kasovka {

namespace {

int col5Position(ReportLayout layout)
{
    switch (layout) {
    case ReportLayout::JournalRows:
        return DenikField::Col5;
    case ReportLayout::Groups:
        return SkupinyField::Col5;
    case ReportLayout::AmountsOnly:
        break;
    }
    return AmountsField::Col5;
}

void addOwnFields(TMemTable &table, ReportLayout layout)
{
    switch (layout) {
    case ReportLayout::JournalRows:
        table.addField(groupLinkField(), FieldType::Integer);
        table.addField(QStringLiteral("Poradi"), FieldType::Integer);
        table.addField(QStringLiteral("Datum"), FieldType::DateTime);
        table.addField(QStringLiteral("Doklad_VS"), FieldType::Text, DenikDokladVsSize);
        table.addField(QStringLiteral("Popis"), FieldType::Text, DenikPopisSize);
        return;
    case ReportLayout::Groups:
        table.addField(QStringLiteral("Zkratka"), FieldType::Text, GroupTextSize);
        table.addField(QStringLiteral("Nazev"), FieldType::Text, GroupTextSize);
        table.addField(QStringLiteral("LastPoradi"), FieldType::Integer);
        table.addField(QStringLiteral("IDPrevedeno"), FieldType::Integer);
        table.addField(QStringLiteral("LastZdroj"), FieldType::Text, 2);
        table.addField(QStringLiteral("LastZRadek"), FieldType::Integer);
        for (const char *name : groupTotalFieldNames())
            table.addField(QString::fromLatin1(name), FieldType::Currency);
        return;
    case ReportLayout::AmountsOnly:
        table.addField(groupLinkField(), FieldType::Integer);
        return;
    }
}

} // namespace

QString groupLinkField()
{
    return QStringLiteral("Parent_ID");
}

QString carriedRowText()
{
    return QStringLiteral("Převedeno:");
}

QString adjustmentsRowText()
{
    return QStringLiteral("Uzávěrkové úpravy:");
}

const std::array<const char *, 8> &groupTotalFieldNames()
{
    static const std::array<const char *, 8> names = {
        "HotovostCeninyCelkem",   "BankUctyCelkem",        "PrubPolozkyCelkem",
        "ZakladDane",             "PrijmyZahrDoZaklCelkem", "VydajeNaZajPrijCelkem",
        "PrijmyNeovlZaklDaneCelkem", "VydajeNeovlZaklDaneCelkem",
    };
    return names;
}

void createReportTable(TMemTable &table, ReportLayout layout, const TBaseApplication &app)
{
    table.close();
    table.clearFields();
    table.addField(QStringLiteral("ID"), FieldType::AutoInc, 0, true);
    addOwnFields(table, layout);
    for (int column = FirstAmountColumn; column <= LastAmountColumn; ++column)
        table.addField(amountFieldName(column), FieldType::Currency);
    table.addIndex(QStringLiteral("ID"), {QStringLiteral("ID")});
    table.createTable();
    Q_ASSERT(table.fieldIndex(QStringLiteral("Col5")) == col5Position(layout));
    const QString defaultExpression =
        layout == ReportLayout::JournalRows ? QString() : QStringLiteral("0");
    app.FormatCurrencyFields(table, 2, defaultExpression);
}

void RecalcRowTotals(TMemTable &table, int col5Position, const AmountColumns &columns)
{
    table.setCurrency(col5Position + IncomeTotalColumn - FirstAmountColumn,
                      sumOfColumns(columns, IncomeColumnsFirst, IncomeColumnsLast));
    table.setCurrency(col5Position + ExpenseTotalColumn - FirstAmountColumn,
                      sumOfColumns(columns, ExpenseColumnsFirst, ExpenseColumnsLast));
}

Currency columnValue(const AmountColumns &columns, int column)
{
    return columns[column - FirstAmountColumn];
}

Currency sumOfColumns(const AmountColumns &columns, int first, int last)
{
    Currency total;
    for (int column = first; column <= last; ++column)
        total += columnValue(columns, column);
    return total;
}

GroupTotals computeGroupTotals(const AmountColumns &columns)
{
    GroupTotals totals;
    totals.HotovostCeninyCelkem = columnValue(columns, 5) - columnValue(columns, 6);
    totals.BankUctyCelkem = columnValue(columns, 7) - columnValue(columns, 8);
    totals.PrubPolozkyCelkem = columnValue(columns, 9) - columnValue(columns, 10);
    totals.PrijmyZahrDoZaklCelkem = sumOfColumns(columns, IncomeColumnsFirst, IncomeColumnsLast);
    totals.VydajeNaZajPrijCelkem = sumOfColumns(columns, ExpenseColumnsFirst, ExpenseColumnsLast);
    totals.ZakladDane = totals.PrijmyZahrDoZaklCelkem - totals.VydajeNaZajPrijCelkem;
    totals.PrijmyNeovlZaklDaneCelkem = sumOfColumns(columns, 24, 28);
    totals.VydajeNeovlZaklDaneCelkem = sumOfColumns(columns, 29, 35);
    return totals;
}

} // namespace kasovka
