// Writes pictures of the workspace with the monthly overview shown, for a
// whole year and for a three-month period, to the folder given as the first
// argument. Not a test: run it by hand, under Xvfb at the screen size wanted.

#include "report/view/DemoReport.h"
#include "report/view/TfrmMonthlyOverview.h"
#include "report/view/TfrmPenDenReport.h"
#include "workspace/TReportContainer.h"
#include "workspace/TfrmReportContainer.h"

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QTest>

#include <cstdio>

using namespace kasovka;

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    QDir().mkpath(folder);
    const QSize screen = QGuiApplication::primaryScreen()->size();
    test::DemoContext demo(3000);

    struct Shot {
        const char *name;
        std::function<void(TReportFilter &)> setup;
    };
    const Shot shots[] = {
        {"rok", [](TReportFilter &f) { f.ZaverkoveUpravy = true; }},
        {"ctvrtleti", [](TReportFilter &f) {
             f.VertikalniDeleni = sgkCentre;
             f.ZaObdobi = true;
             f.ObdobiOD = encodeDate(2024, 3, 1);
             f.ObdobiDO = encodeDate(2024, 5, 31);
             f.ZapocitavatPredchObdobi = true;
         }},
    };
    int next = 0;
    TReportContainer container(demo.app());
    container.SetFilterEditorFactory([&](QWidget *) {
        return std::make_unique<test::ScriptedFilterEditor>([&](TReportFilter &filter) {
            if (next >= int(std::size(shots)))
                return false;
            filter.NazevFiltru = QString::fromLatin1(shots[next].name);
            shots[next++].setup(filter);
            return true;
        });
    });
    container.SetWarningPresenter([](const QString &, const QString &, QWidget *) {});
    TfrmReportContainer *window = container.OpenWindow();
    window->setGeometry(QRect(QPoint(0, 0), screen));
    QApplication::processEvents();
    container.NewReport();

    bool ok = true;
    for (int index = 0; index < container.ReportCount(); ++index) {
        container.SelectReport(index);
        TfrmPenDenReport *view = container.View(index);
        view->ShowMonthlyOverview(true);
        container.Report(index).Skupiny().setRecNo(index); // another group than the first, where there are
        (void)QTest::qWaitForWindowExposed(window);
        // As first opened, and with the final overview hidden to give it room.
        for (const bool summary : {true, false}) {
            view->ShowFinalSummary(summary);
            QTest::qWait(200);
            const QString path = QStringLiteral("%1/mesicni-prehled-%2%3-%4x%5.png")
                                     .arg(folder, QString::fromLatin1(shots[index].name),
                                          summary ? QString() : QStringLiteral("-bez-zaverecneho"))
                                     .arg(screen.width())
                                     .arg(screen.height());
            const bool saved = window->grab().save(path);
            std::fprintf(stderr, "%s %s\n", saved ? "wrote" : "FAILED", qPrintable(path));
            ok &= saved;
        }
    }
    return ok && container.ReportCount() == int(std::size(shots)) ? 0 : 1;
}
