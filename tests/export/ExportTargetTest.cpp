// Where the export writes: never onto a template, and an old workbook is
// replaced only by a complete new one.

#include "ExportFixture.h"

#include "export/ReportExport.h"
#include "workbook/Workbook.h"
#include "xlsx/XlsxWriter.h"
#include "support/FileBytes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <unistd.h>

using namespace kasovka;
using namespace kasovka::test;

namespace {

class ExportTargetTest : public ::testing::Test, protected ReportTablesFixture {
protected:
    void SetUp() override
    {
        addGroup("A", "Alfa", {1.0, 2.0});
        link();
        installTemplates();
    }
    QString target(const QString &name) const { return context.root() + name; }
    QString templatePath() { return context.app().PrintFormsFolder() + reportTemplateName(false); }
    bool exportTo(const QString &path)
    {
        TExcelExporter exporter(context.app(), &skupiny, &denik, nullptr);
        exporter.SetTemplateFolder(context.app().PrintFormsFolder());
        exporter.SetTemplateName(reportTemplateName(false));
        TExcelExporterForm form(exporter);
        return form.OnOk(path, false);
    }
};

TEST_F(ExportTargetTest, TemplateIsRefusedAsTheOutputUnderAnyName)
{
    const QString templ = templatePath();
    const QByteArray original = readAll(templ);
    QFile::link(templ, target("odkaz.xls"));
    ASSERT_EQ(::link(QFile::encodeName(templ).constData(), QFile::encodeName(target("hardlink.xls")).constData()), 0);
    const QString otherCase = context.app().PrintFormsFolder() + reportTemplateName(false).toUpper();
    for (const QString &path : {templ, target("odkaz.xls"), target("hardlink.xls"), otherCase,
                                context.app().PrintFormsFolder() + groupTablesTemplateName()}) {
        SCOPED_TRACE(path.toStdString());
        context.ui().messages.clear();
        context.ui().questionAnswers = {MessageResult::Yes};
        EXPECT_FALSE(exportTo(path));
        EXPECT_EQ(context.ui().messages,
                  (QList<RecordedMessage>{{MessageKind::Warning,
                                           QString("Soubor \"%1\" je šablona exportu a nelze jej přepsat. Zadejte "
                                                   "jiné jméno souboru.").arg(path)}}));
    }
    EXPECT_EQ(readAll(templ), original);
}

// The reported damage: two bytes of the NAME record of __Table2__ move its
// first row two rows below its last. The run fails at once, and the old
// workbook it was to replace is kept, with no temporary file left beside it.
TEST_F(ExportTargetTest, DamagedTemplateFailsAndKeepsTheOldWorkbook)
{
    QByteArray bytes = readAll(templatePath());
    const QByteArray name("__Table2__\x3B", 11);
    const qsizetype at = bytes.indexOf(name);
    ASSERT_GT(at, 0);
    // The area reference: sheet index, first row, last row (counted from 0).
    const qsizetype firstRow = at + name.size() + 2;
    const int lastRow = quint8(bytes[firstRow + 2]) | quint8(bytes[firstRow + 3]) << 8;
    bytes[firstRow] = char(lastRow + 2);
    bytes[firstRow + 1] = 0;
    writeAll(templatePath(), bytes);
    writeAll(target("deník.xls"), "old");
    context.ui().questionAnswers = {MessageResult::Yes};

    EXPECT_FALSE(exportTo(target("deník.xls")));
    EXPECT_EQ(context.ui().texts(MessageKind::Error),
              QStringList{exportErrorText(QString("Šablona je poškozená: oblast __Table2__ na listu 1 má první "
                                                  "řádek (%1) za posledním (%2).")
                                              .arg(lastRow + 3)
                                              .arg(lastRow + 1))});
    EXPECT_EQ(readAll(target("deník.xls")), "old");
    EXPECT_EQ(QDir(context.root()).entryList(QDir::Files | QDir::Hidden), QStringList{"deník.xls"});
}

TEST_F(ExportTargetTest, OverwriteReplacesALinkNotTheFileItPointsTo)
{
    writeAll(target("cizi.xls"), "someone else's");
    QFile::link(target("cizi.xls"), target("vystup.xls"));
    context.ui().questionAnswers = {MessageResult::Yes};
    EXPECT_TRUE(exportTo(target("vystup.xls")));
    EXPECT_EQ(readAll(target("cizi.xls")), "someone else's");
    EXPECT_FALSE(QFileInfo(target("vystup.xls")).isSymLink());
    EXPECT_GT(QFileInfo(target("vystup.xls")).size(), 1000);
}

// While the .xlsx is assembled, the only thing beside the target is the
// writer's private folder, which nobody else may enter: no file there could
// be swapped for a link between its creation and its writing.
TEST_F(ExportTargetTest, WorkbookIsAssembledWhereNobodyElseCanReachIt)
{
    TXLSFile book;
    book.open(templatePath());
    const auto entries = [this] {
        return QDir(context.root()).entryInfoList(QDir::Hidden | QDir::AllEntries | QDir::NoDotAndDotDot);
    };
    const QFileInfoList before = entries();
    QStringList seen;
    TXlsxWriter::save(*book.workbook(), target("deník.xlsx"), [&](qint64, qint64) {
        for (const QFileInfo &entry : entries()) {
            if (!before.contains(entry))
                seen << QString("%1 %2").arg(entry.isDir() && !entry.isSymLink() ? "dir" : "file")
                            .arg(int(entry.permissions() & 0x7077), 0, 16);
        }
    });
    ASSERT_FALSE(seen.isEmpty());
    seen.removeDuplicates();
    EXPECT_EQ(seen, QStringList{"dir 7000"}) << "only the owner may enter it";
    EXPECT_TRUE(QFileInfo(target("deník.xlsx")).isFile());
}

} // namespace

TEST(ExportTargetName, ABareNameLandsInTheLastFolderWithTheShownTypesExtension)
{
    QTemporaryDir last;
    const QString folder = last.path() + QLatin1Char('/');
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + QLatin1Char('/');
    const struct {
        const char *typed, *lastFile;
        QString expected;
    } cases[] = {
        {"export1", "@old.xls", folder + "export1.xls"},
        {" export1.xlsx ", "@old.xls", folder + "export1.xlsx"},
        {"/a/b.c/export1", "@old.xls", "/a/b.c/export1.xls"},
        {"/a/b/export1.XLSX", "", "/a/b/export1.XLSX"},
        {"/a/b/export1.2024", "", "/a/b/export1.2024"}, // an extension of its own stays
        {"export1", "", documents + "export1.xls"},
        {"export1", "/neni/takova/slozka/old.xls", documents + "export1.xls"},
        {"   ", "@old.xls", QString()},
    };
    for (const auto &c : cases) {
        const QString lastFile = QString::fromUtf8(c.lastFile).replace(QLatin1Char('@'), folder);
        EXPECT_EQ(TExcelExporterForm::targetPath(QString::fromUtf8(c.typed), lastFile), c.expected) << c.typed;
    }
}
