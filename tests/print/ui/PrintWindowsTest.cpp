// The print windows over a report: the preview pages and turns the paper,
// the PDF file is written only when complete and asked for before an
// existing file is replaced, the scope choice is remembered, and the group
// table prints from its columns.

#include "app/TBaseApplication.h"
#include "core/model/MemTableModel.h"
#include "core/IniFile.h"
#include "filter/ui/WidgetTestApp.h"
#include "print/PrintJob.h"
#include "print/SyntheticReport.h"
#include "print/ui/PrintFlow.h"
#include "print/ui/PrintPageView.h"
#include "print/ui/TfrmPrintPreview.h"
#include "ui/SaveFileDialog.h"
#include "workspace/TGroupTables.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QToolButton>

#include <gtest/gtest.h>

namespace kasovka::test {
namespace {

class ScriptedPrintWindows : public IPrintWindows {
public:
    QList<bool> scopeOffers; // the remembered choice each question started from
    bool scopeAnswer = true;
    QString pdfPath;
    std::function<void(TfrmPrintPreview &)> inPreview;

    bool askScope(bool &allGroups, const QString &) override
    {
        scopeOffers.append(allGroups);
        allGroups = scopeAnswer;
        return true;
    }
    QString choosePdfFile(const TSaveFileRequest &) override { return pdfPath; }
    void showPreview(PrintSession &session) override
    {
        TfrmPrintPreview window(session);
        window.show();
        if (inPreview)
            inPreview(window);
    }
};

class PrintWindowsTest : public testing::Test {
protected:
    PrintWindowsTest()
    {
        synthetic.app().EnsureFolder(synthetic.app().SettingsFolder());
        synthetic.addGroup(QStringLiteral("S1"), QStringLiteral("Výroba"), 30);
        synthetic.addGroup(QStringLiteral("S2"), QStringLiteral("Obchod"), 70);
        synthetic.report().Skupiny().first();
    }
    QString settingsValue(const QString &key)
    {
        TIniFile ini(synthetic.app().SettingsFileName());
        return ini.ReadString(QStringLiteral("Print"), key, QString());
    }
    static QString pdfText(const QString &path)
    {
        QProcess process;
        process.start(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
        process.waitForFinished(60000);
        return QString::fromUtf8(process.readAllStandardOutput());
    }

    // The widget application before the report, which would make a plain one.
    struct WidgetsFirst {
        WidgetsFirst() { widgetApp(); }
    } widgetsFirst;
    SyntheticReport synthetic;
    ScriptedPrintWindows windows;
    QTemporaryDir dir;
};

TEST_F(PrintWindowsTest, PreviewTurnsPagesAndThePaperAndRemembersIt)
{
    int landscapePages = 0, portraitPages = 0;
    windows.inPreview = [&](TfrmPrintPreview &preview) {
        landscapePages = preview.edtPage->maximum();
        EXPECT_EQ(preview.lblPageCount->text().trimmed(), QStringLiteral("z %1").arg(landscapePages));
        EXPECT_FALSE(preview.btnPrevious->isEnabled());
        preview.btnNext->click();
        EXPECT_EQ(preview.edtPage->value(), 2);
        EXPECT_EQ(preview.pageView->page(), 1);
        preview.btnPortrait->click();
        portraitPages = preview.edtPage->maximum();
        EXPECT_TRUE(preview.btnPortrait->isChecked());
        EXPECT_FALSE(preview.btnLandscape->isChecked());
        preview.btnLast->click();
        EXPECT_EQ(preview.pageView->page(), portraitPages - 1);
        EXPECT_FALSE(preview.btnNext->isEnabled());
    };
    PrintReport(synthetic.app(), synthetic.report(), true, false, PrintOutput::Preview, windows);
    EXPECT_GT(portraitPages, landscapePages) << "narrower paper, more column slices";
    EXPECT_EQ(settingsValue(QStringLiteral("Landscape")), QStringLiteral("0"));
    EXPECT_EQ(windows.scopeOffers, QList<bool>{false});
    PrintReport(synthetic.app(), synthetic.report(), true, false, PrintOutput::Preview, windows);
    EXPECT_EQ(windows.scopeOffers, (QList<bool>{false, true})) << "the scope choice is remembered";
}

TEST_F(PrintWindowsTest, PdfIsWrittenWholeOrNotAtAll)
{
    windows.pdfPath = dir.path() + QStringLiteral("/denik");
    const QString written = windows.pdfPath + QStringLiteral(".pdf");
    QFile old(written);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("starý soubor");
    old.close();

    synthetic.ui().questionAnswers = {MessageResult::No};
    PrintReport(synthetic.app(), synthetic.report(), true, false, PrintOutput::PdfFile, windows);
    EXPECT_EQ(synthetic.ui().texts(MessageKind::Question),
              QStringList{QStringLiteral("Soubor \"%1\" již existuje. Chcete jej přepsat?").arg(written)});

    synthetic.ui().questionAnswers = {MessageResult::Yes};
    synthetic.ui().cancelAfterRefreshes(1);
    PrintReport(synthetic.app(), synthetic.report(), true, false, PrintOutput::PdfFile, windows);
    EXPECT_EQ(synthetic.ui().texts(MessageKind::Information),
              QStringList{QStringLiteral("Ukládání do PDF bylo přerušeno, soubor %1 nebyl vytvořen.").arg(written)});
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("starý soubor"));
    old.close();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("denik.pdf")}) << "no temporary left";

    synthetic.ui().questionAnswers = {MessageResult::Yes};
    synthetic.ui().cancelAfterRefreshes(0);
    PrintReport(synthetic.app(), synthetic.report(), true, false, PrintOutput::PdfFile, windows);
    const QString text = pdfText(written);
    EXPECT_TRUE(text.contains(QStringLiteral("Sumační skupina (střediska): S2 – Obchod"))) << "all groups chosen";
    EXPECT_EQ(settingsValue(QStringLiteral("ReportPdf")), written);
}

TEST_F(PrintWindowsTest, GroupTablePrintsEveryGroupFromTheGridColumns)
{
    windows.pdfPath = dir.path() + QStringLiteral("/skupiny.pdf");
    PrintGroupTable(synthetic.app(), synthetic.report(), TfrmGroupTables::groupColumns(), PrintOutput::PdfFile,
                    windows);
    const QString text = pdfText(windows.pdfPath);
    for (const char *expected : {"Seznam sumačních skupin – Sestava 1", "Sumační skupiny (střediska)", "Výroba",
                                 "Obchod", "Hotovost celkem", "Strana 1 z "})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected;
    // The "Celkem" line under the groups, with its sums.
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("(^|\\n)\\s*Celkem\\s+-?\\d"))));
    EXPECT_TRUE(windows.scopeOffers.isEmpty()) << "the group table has no scope question";
    EXPECT_EQ(synthetic.ui().savedNotices, QStringList{windows.pdfPath});
}

} // namespace
} // namespace kasovka::test
