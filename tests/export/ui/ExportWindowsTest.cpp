#include "export/ExcelExporter.h"
#include "export/ExcelExporterForm.h"
#include "export/ExportDialog.h"
#include "export/ui/QtExportWindows.h"
#include "export/ui/TfrmExcelExporter.h"
#include "export/ui/TfrmExportDialog.h"
#include "filter/ui/WidgetTestApp.h"
#include "support/QtPrinters.h"
#include "support/TestLaunchContext.h"
#include "ui/SaveFileDialog.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <tuple>

#include <gtest/gtest.h>

namespace kasovka {
namespace {

class ExportWindowsTest : public ::testing::Test {
protected:
    void SetUp() override { test::widgetApp(); }
    test::TestLaunchContext m_context;
};

TEST_F(ExportWindowsTest, ScopeWindowStartsOnTheGivenChoiceAndOkStoresTheOther)
{
    for (bool initial : {false, true}) {
        TExportDialog dialog(m_context.app(), initial, QStringLiteral("Středisko Brno"));
        TfrmExportDialog window(dialog);
        window.show();
        EXPECT_EQ(window.rbExportOneGroup->isChecked(), !initial);
        EXPECT_EQ(window.rbExportAllGroups->isChecked(), initial);
        EXPECT_EQ(window.lblActualGroupName->text(), QStringLiteral("Středisko Brno"));
        (initial ? window.rbExportOneGroup : window.rbExportAllGroups)->setChecked(true);
        window.btnOk->click();
        EXPECT_EQ(window.result(), int(QDialog::Accepted));
        EXPECT_EQ(dialog.ExportAllGroups(), !initial);
    }
}

TEST_F(ExportWindowsTest, ScopeWindowKeysConfirmAndGoBack)
{
    const struct {
        Qt::Key key;
        bool accepted;
        bool exportAll; // the stored choice after the window closed
    } cases[] = {{Qt::Key_Return, true, true}, {Qt::Key_Escape, false, false}};
    for (const auto &c : cases) {
        TExportDialog dialog(m_context.app(), false, QString());
        test::whenModalShown([&](QWidget *modal) {
            static_cast<TfrmExportDialog *>(modal)->rbExportAllGroups->setChecked(true);
            QTest::keyClick(modal, c.key);
        });
        QtExportWindows windows;
        EXPECT_EQ(dialog.Execute(windows), c.accepted);
        EXPECT_EQ(dialog.ExportAllGroups(), c.exportAll);
    }
}

class ExporterWindowTest : public ExportWindowsTest {
protected:
    void SetUp() override
    {
        ExportWindowsTest::SetUp();
        m_exporter.SetFileName(m_dir.path() + QStringLiteral("/vystup.xls"));
        m_exporter.SetRunAssociatedProgram(false);
    }
    QTemporaryDir m_dir;
    TExcelExporter m_exporter{m_context.app(), nullptr, nullptr, nullptr};
};

TEST_F(ExporterWindowTest, OpensWithTheRememberedTargetAndCheckBox)
{
    TfrmExcelExporter window(m_exporter);
    window.show();
    EXPECT_EQ(window.edtExportFileName->text(), m_exporter.FileName());
    EXPECT_FALSE(window.chckRunAssociatedProgram->isChecked());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Export"));
    EXPECT_TRUE(window.lblHint->text().endsWith(QStringLiteral("aktivujte přepínač \"po dokončení zobrazit.\"")));
    EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
}

TEST_F(ExporterWindowTest, RefusedTargetsKeepTheWindowOpenWithTheirMessage)
{
    const struct {
        QString text;
        MessageKind kind;
        QString message;
    } cases[] = {
        {QStringLiteral("   "), MessageKind::Information, QStringLiteral("Zadejte jméno souboru.")},
        {QStringLiteral("/nonexistent-folder/vystup.xls"), MessageKind::Warning,
         QStringLiteral("Zadaná cesta k souboru není platná.")},
    };
    for (const auto &c : cases) {
        m_context.ui().messages.clear();
        TfrmExcelExporter window(m_exporter);
        window.show();
        window.edtExportFileName->setText(c.text);
        window.btnOk->click();
        EXPECT_TRUE(window.isVisible()) << c.text.toStdString();
        EXPECT_EQ(m_context.ui().messages, (QList<test::RecordedMessage>{{c.kind, c.message}}))
            << c.text.toStdString();
    }
}

TEST_F(ExporterWindowTest, DeclinedOverwriteLeavesTheFileAndTheWindow)
{
    QFile existing(m_exporter.FileName());
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("keep");
    existing.close();
    m_context.ui().questionAnswers = {MessageResult::No};
    TfrmExcelExporter window(m_exporter);
    window.show();
    window.btnOk->click();
    EXPECT_TRUE(window.isVisible());
    ASSERT_EQ(m_context.ui().messages.size(), 1);
    EXPECT_EQ(m_context.ui().messages[0].kind, MessageKind::Question);
    ASSERT_TRUE(existing.open(QIODevice::ReadOnly));
    EXPECT_EQ(existing.readAll(), QByteArray("keep"));
}

TEST_F(ExporterWindowTest, BrowseReplacesTheTextOnlyWhenConfirmed)
{
    TfrmExcelExporter window(m_exporter);
    window.show();
    EXPECT_EQ(window.lblFileType->text(), QStringLiteral("Typ souboru: Excel 97-2003 (.xls)")); // before any name
    window.edtExportFileName->setText(QStringLiteral("/data/exporty/denik.xls"));
    TSaveFileRequest asked;
    QString answer = QStringLiteral("/data/jinam/rok2024");
    window.setSaveFileChooser([&](const TSaveFileRequest &request, QWidget *) {
        asked = request;
        return answer;
    });
    window.btnProchazet->click();
    EXPECT_EQ(asked.initialFolder, QStringLiteral("/data/exporty/"));
    EXPECT_EQ(asked.fileName, QStringLiteral("denik.xls"));
    EXPECT_EQ(window.edtExportFileName->text(), QStringLiteral("/data/jinam/rok2024.XLS"));
    EXPECT_EQ(window.lblFileType->text(), QStringLiteral("Typ souboru: Excel 97-2003 (.xls)"));
    answer = QStringLiteral("/data/jinam/rok2024.xlsx");
    window.btnProchazet->click();
    EXPECT_EQ(window.lblFileType->text(), QStringLiteral("Typ souboru: Office Open XML (.xlsx)"));
    answer.clear();
    window.btnProchazet->click();
    EXPECT_EQ(window.edtExportFileName->text(), QStringLiteral("/data/jinam/rok2024.xlsx"));
}

TEST_F(ExporterWindowTest, SaveDialogIsSetUpWithoutOverwritePrompt)
{
    QFileDialog dialog;
    const TSaveFileRequest request = TfrmExcelExporter::browseRequest(m_dir.path() + QStringLiteral("/denik.xls"));
    configureSaveDialog(dialog, request);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Exportovat do souboru"));
    EXPECT_EQ(dialog.nameFilters(),
              (QStringList{QStringLiteral("Sešit MS Excel (*.xls)"), QStringLiteral("Sešit Office Open XML (*.xlsx)")}));
    EXPECT_EQ(dialog.selectedNameFilter(), QStringLiteral("Sešit MS Excel (*.xls)"));
    EXPECT_EQ(dialog.defaultSuffix(), QStringLiteral("XLS"));
    // Switching the filter changes the extension a bare name gets.
    dialog.selectNameFilter(QStringLiteral("Sešit Office Open XML (*.xlsx)"));
    Q_EMIT dialog.filterSelected(QStringLiteral("Sešit Office Open XML (*.xlsx)"));
    EXPECT_EQ(dialog.defaultSuffix(), QStringLiteral("XLSX"));
    EXPECT_TRUE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(QDir(dialog.directory()).canonicalPath(), QDir(m_dir.path()).canonicalPath());
    EXPECT_EQ(saveDialogNameFilters(QStringLiteral("Sešity|*.xls;*.xlt")),
              QStringList{QStringLiteral("Sešity (*.xls *.xlt)")});
}

TEST(ExporterBrowse, RequestAndResultOfTheSaveDialog)
{
    const TSaveFileRequest request = TfrmExcelExporter::browseRequest("/data/vystupy/deník.xls", TExportFormat::Xlsx);
    EXPECT_EQ(request.title, "Exportovat do souboru");
    EXPECT_EQ(request.filter, "Sešit MS Excel (*.xls)|*.xls|Sešit Office Open XML (*.xlsx)|*.xlsx");
    EXPECT_EQ(request.filterIndex, int(TExportFormat::Xls));
    EXPECT_EQ(request.suffixes, (QStringList{"XLS", "XLSX"}));
    EXPECT_EQ(request.initialFolder, "/data/vystupy/");
    EXPECT_EQ(request.fileName, "deník.xls");
    // The name's extension wins; without one the remembered type is offered.
    for (auto [text, remembered, offered] :
         {std::tuple{"/d/a.XLSX", TExportFormat::Xls, TExportFormat::Xlsx},
          std::tuple{"/d/a", TExportFormat::Xlsx, TExportFormat::Xlsx},
          std::tuple{"/d/a.txt", TExportFormat::Xls, TExportFormat::Xls}}) {
        const TSaveFileRequest asked = TfrmExcelExporter::browseRequest(text, remembered);
        EXPECT_EQ(asked.filterIndex, int(offered)) << text;
    }
    EXPECT_EQ(TExcelExporterForm::browseResult("/tmp/vystup"), "/tmp/vystup.XLS");
    EXPECT_EQ(TExcelExporterForm::browseResult("/tmp/vystup.xls"), "/tmp/vystup.xls");
    EXPECT_EQ(TExcelExporterForm::browseResult("/tmp/a.b/vystup"), "/tmp/a.b/vystup.XLS");
}

TEST_F(ExporterWindowTest, EscClosesWithoutExportAndEnterActsAsOk)
{
    m_exporter.SetFileName(QStringLiteral("  "));
    test::whenModalShown([&](QWidget *modal) {
        QTest::keyClick(modal, Qt::Key_Return);
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    QtExportWindows windows;
    m_exporter.Execute(windows);
    EXPECT_EQ(m_context.ui().texts(MessageKind::Information), QStringList{QStringLiteral("Zadejte jméno souboru.")});
}

} // namespace
} // namespace kasovka
