// Writes pictures of the filter dialog, both selection windows and the
// protocol in both styles to the folder given as the first argument, for
// looking them over. Not a test: run it by hand on the offscreen platform.

#include "filter/TReportFilter.h"
#include "filter/ui/HostTables.h"
#include "filter/ui/TFilterSelectHostObject.h"
#include "filter/ui/TfrmFilterSelectHostObject.h"
#include "filter/ui/TfrmFilterSelectHostObjectListForm.h"
#include "filter/ui/TfrmReportFilter.h"
#include "support/TestLaunchContext.h"
#include "workspace/protokol/TProtokol.h"
#include "workspace/protokol/TfrmProtokol.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QPixmap>
#include <QTest>

#include <cstdio>

using namespace kasovka;

namespace {

bool save(QWidget *window, const QString &folder, const QString &name)
{
    window->show();
    (void)QTest::qWaitForWindowExposed(window);
    QApplication::processEvents();
    const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".png");
    const bool ok = window->grab().save(path);
    std::fprintf(stderr, "%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
    window->hide();
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    QDir().mkpath(folder);
    test::TestLaunchContext ctx;
    test::writeCodeList(ctx.yearFolder(), QStringLiteral("SZSTRED"),
                        {{QStringLiteral("ADM"), QStringLiteral("Administrativa a vedení")},
                         {QStringLiteral("VYR"), QStringLiteral("Výroba – dílna Brno")},
                         {QStringLiteral("OBCH"), QStringLiteral("Obchod a prodejna Jihlava")},
                         {QStringLiteral("SERV"), QStringLiteral("Servis")}});

    bool ok = true;
    TReportFilter filter(ctx.app());
    filter.VertikalniDeleni = sgkCentre;
    filter.ZaObdobi = true;
    filter.ObdobiOD = encodeDate(2026, 1, 1);
    filter.ObdobiDO = encodeDate(2026, 6, 30);
    filter.FiltrStrediska = true;
    filter.FiltrStrediskaText = QStringLiteral("ADM;VYR;");
    filter.FiltrMena = true;
    filter.FiltrMenaText = QStringLiteral("EUR");
    TfrmReportFilter dialog(filter);
    ok &= save(&dialog, folder, QStringLiteral("filtr"));
    TReportFilter defaults(ctx.app());
    TfrmReportFilter firstUse(defaults);
    ok &= save(&firstUse, folder, QStringLiteral("filtr-vychozi"));

    TFilterSelectHostObject select(ctx.app(), mokCentre, ctx.yearFolder(), true,
                                   QStringLiteral("ADM;VYR;OBCH;"));
    TfrmFilterSelectHostObject editor(select);
    ok &= save(&editor, folder, QStringLiteral("editor-stredisek"));

    select.LoadHostList();
    select.HostList().setRecNo(1);
    TfrmFilterSelectHostObjectListForm list(select);
    ok &= save(&list, folder, QStringLiteral("seznam-stredisek"));

    const QString warnings = QStringLiteral(
        "\n• Doklad PD0012 (záznam 3) nemá vyplněné datum, do sestavy nebyl zahrnut.\n"
        "• Účetní pohyb \"X9\" dokladu BV0007 není v číselníku účetních pohybů.\n"
        "• Středisko \"OBCH2\" dokladu FV0103 není v číselníku středisek; skupina je "
        "pojmenována jeho zkratkou.");
    TProtokol warning(QStringLiteral("Věnujte prosím pozornost následujícím varovným zprávám"),
                      warnings, true);
    TfrmProtokol warningWindow(warning);
    ok &= save(&warningWindow, folder, QStringLiteral("protokol-varovani"));
    TProtokol plain(QStringLiteral("Přehled sestavy"), QStringLiteral("Sestava 1: 214 řádků."),
                    false);
    TfrmProtokol plainWindow(plain);
    ok &= save(&plainWindow, folder, QStringLiteral("protokol"));
    return ok ? 0 : 1;
}
