#include "print/SyntheticReport.h"

#include "core/DateTime.h"
#include "report/ReportColumns.h"

#include <QGuiApplication>

namespace kasovka::test {

namespace {
const char *const Descriptions[] = {
    "Tržba za zboží", "Nákup materiálu na zakázku 17/2026", "Služby", "Úhrada faktury dodavatele Kovo s.r.o.",
    "Drobný nákup", "Záloha na nájemné za kancelář v Brně a sklad v Olomouci"};
} // namespace

void ensureGuiApplication()
{
    static int argc = 1;
    static char name[] = "kasovka-print-test";
    static char *argv[] = {name, nullptr};
    if (!qApp)
        new QGuiApplication(argc, argv);
}

SyntheticReport::SyntheticReport(quint8 kind, const QString &name)
{
    ensureGuiApplication();
    auto filter = std::make_unique<TReportFilter>(m_context.app());
    filter->VertikalniDeleni = kind;
    filter->NazevFiltru = name;
    m_report = std::make_unique<TPenDenReport>(m_context.app(), std::move(filter));
    m_report->CreateReportTables();
}

int SyntheticReport::addGroup(const QString &code, const QString &name, int rows)
{
    TMemTable &skupiny = m_report->Skupiny();
    TMemTable &denik = m_report->Denik();
    skupiny.append();
    skupiny.setValue(QStringLiteral("Zkratka"), Variant(code));
    skupiny.setValue(QStringLiteral("Nazev"), Variant(name));
    skupiny.post();
    const int id = int(skupiny.asInteger(QStringLiteral("ID")));
    ReportResult::Group &group = m_groups.emplace_back();
    group.id = id;

    group.rows.push_back(denik.totalRecordCount());
    denik.append();
    denik.setValue(QStringLiteral("Parent_ID"), Variant(qint64(id)));
    denik.setValue(QStringLiteral("Poradi"), Variant(qint64(0)));
    denik.setValue(QStringLiteral("Popis"), Variant(carriedRowText()));
    for (int column = FirstAmountColumn; column <= LastAmountColumn; ++column)
        denik.setCurrency(denik.fieldIndex(amountFieldName(column)), Currency());
    denik.post();

    qint64 total = 0;
    for (int row = 1; row <= rows; ++row) {
        ++m_serial;
        const Currency amount = Currency::fromRaw(qint64(m_serial % 9973 + 1) * 1234500);
        total += amount.raw();
        group.rows.push_back(denik.totalRecordCount());
        denik.append();
        denik.setValue(QStringLiteral("Parent_ID"), Variant(qint64(id)));
        denik.setValue(QStringLiteral("Poradi"), Variant(qint64(row)));
        denik.setDate(denik.fieldIndex(QStringLiteral("Datum")), encodeDate(2026, 1 + m_serial % 12, 1 + m_serial % 28));
        denik.setValue(QStringLiteral("Doklad_VS"), Variant(QStringLiteral("PD%1/%2").arg(m_serial, 6, 10, QLatin1Char('0')).arg(m_serial * 7)));
        denik.setValue(QStringLiteral("Popis"), Variant(QString::fromUtf8(Descriptions[m_serial % 6])));
        for (int column : {5, 11, 13})
            denik.setCurrency(denik.fieldIndex(amountFieldName(column)), amount);
        denik.post();
    }
    skupiny.edit();
    for (int column : {5, 11, 13})
        skupiny.setCurrency(skupiny.fieldIndex(amountFieldName(column)), Currency::fromRaw(total));
    skupiny.setCurrency(skupiny.fieldIndex(QStringLiteral("HotovostCeninyCelkem")), Currency::fromRaw(total));
    skupiny.setCurrency(skupiny.fieldIndex(QStringLiteral("ZakladDane")), Currency::fromRaw(total));
    skupiny.setCurrency(skupiny.fieldIndex(QStringLiteral("PrijmyZahrDoZaklCelkem")), Currency::fromRaw(total));
    skupiny.post();
    m_report->SetResult(m_groups, -1);
    return id;
}

} // namespace kasovka::test
