#include "ExportFixture.h"

#include "report/ReportTables.h"

#include <QDir>
#include <QFile>

namespace kasovka::test {

bool ScriptedExportWindows::showExportDialog(TExportDialog &dialog)
{
    ++scopeQuestions;
    shownGroupName = dialog.CurrentGroupName();
    if (!scopeAnswer)
        return false;
    dialog.SetExportAllGroups(*scopeAnswer);
    return true;
}

void ScriptedExportWindows::showExcelExporter(TExcelExporter &exporter)
{
    ++exporterWindows;
    if (maxRows)
        exporter.SetMaxRows(*maxRows);
    TExcelExporterForm form(exporter);
    shownFileName = form.initialFileName();
    shownRunAssociated = form.initialRunAssociatedProgram();
    shownFileFormat = exporter.FileFormat();
    for (const QString &text : okTexts) {
        const bool closed = form.OnOk(text, checkBox.value_or(shownRunAssociated));
        if (afterOk)
            afterOk(form, closed);
        if (closed)
            return;
    }
}

ReportTablesFixture::ReportTablesFixture()
{
    createReportTable(skupiny, ReportLayout::Groups, context.app());
    createReportTable(denik, ReportLayout::JournalRows, context.app());
    context.app().EnsureFolder(context.app().SettingsFolder());
}

ReportTablesFixture::~ReportTablesFixture()
{
    denik.clearMasterSource();
}

int ReportTablesFixture::addGroup(const QString &key, const QString &name, const QList<double> &rowAmounts)
{
    Currency sum;
    for (double amount : rowAmounts)
        sum += Currency::fromDouble(amount);
    skupiny.append();
    skupiny.setText(SkupinyField::Zkratka, key);
    skupiny.setText(SkupinyField::Nazev, name);
    skupiny.setCurrency(SkupinyField::Col5, sum);
    skupiny.setCurrency(SkupinyField::HotovostCeninyCelkem, sum);
    skupiny.post();
    const int id = static_cast<int>(skupiny.asInteger(SkupinyField::ID));
    int poradi = 0;
    for (double amount : rowAmounts) {
        denik.append();
        denik.setInteger(DenikField::Parent_ID, id);
        denik.setInteger(DenikField::Poradi, poradi++);
        denik.setDate(DenikField::Datum, encodeDate(2026, 1, 1) + poradi);
        denik.setText(DenikField::Popis, QStringLiteral("%1 řádek %2").arg(key).arg(poradi));
        denik.setCurrency(DenikField::Col5, Currency::fromDouble(amount));
        denik.post();
        ++rowCount;
    }
    return id;
}

void ReportTablesFixture::link()
{
    denik.setMasterSource(&skupiny, {QStringLiteral("ID")}, {QStringLiteral("Parent_ID")});
    skupiny.first();
}

void ReportTablesFixture::installTemplates()
{
    const QString target = context.app().PrintFormsFolder();
    QDir().mkpath(target);
    const QDir source(QStringLiteral(KASOVKA_SOURCE_DIR "/resources/SetupDat/PrintFrm"));
    for (const QString &name : source.entryList({QStringLiteral("*.xl")}, QDir::Files))
        QFile::copy(source.filePath(name), target + name);
}

} // namespace kasovka::test
