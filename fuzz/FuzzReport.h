#pragma once
// What the template harnesses share: arbitrary bytes, taken as a template,
// filled with a small report (two groups, the first with three journal rows,
// the second with one) through the export's own steps, the user interface
// answering every question with "Ano".

#include "app/TBaseApplication.h"
#include "app/UiServices.h"
#include "core/MemTable.h"
#include "export/ExcelExporter.h"
#include "export/ExcelExporterForm.h"
#include "report/ReportTables.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdint>

namespace kasovka::fuzz {

class SilentUi : public IUiServices {
public:
    MessageResult showMessage(const QString &, MessageKind kind) override
    {
        return kind == MessageKind::Question ? MessageResult::Yes : MessageResult::Ok;
    }
    void showProgress(const QString &, bool, bool) override {}
    void refreshProgress() override {}
    void hideProgress() override {}
    int openWithAssociatedProgram(const QString &) override { return ShellOpenSucceeded; }
    void showHelpTopic(const QString &, const QString &) override {}
};

struct Report {
    SilentUi ui;
    TBaseApplication app{ui, {}};
    TMemTable skupiny{QStringLiteral("Skupiny")};
    TMemTable denik{QStringLiteral("Denik")};
    QString folder = QDir::tempPath() + QStringLiteral("/kasovka-fuzz-%1/").arg(QCoreApplication::applicationPid());

    Report()
    {
        QDir().mkpath(folder + QStringLiteral("PrintFrm"));
        createReportTable(skupiny, ReportLayout::Groups, app);
        createReportTable(denik, ReportLayout::JournalRows, app);
        addGroup(QStringLiteral("A"), 3);
        addGroup(QStringLiteral("B"), 1);
    }
    void addGroup(const QString &key, int rows)
    {
        skupiny.append();
        skupiny.setText(SkupinyField::Zkratka, key);
        skupiny.setText(SkupinyField::Nazev, QStringLiteral("Skupina ") + key);
        skupiny.setCurrency(SkupinyField::Col5, Currency::fromRaw(12345678));
        skupiny.post();
        const qint64 id = skupiny.asInteger(SkupinyField::ID);
        for (int row = 1; row <= rows; ++row) {
            denik.append();
            denik.setInteger(DenikField::Parent_ID, id);
            denik.setInteger(DenikField::Poradi, row);
            denik.setDate(DenikField::Datum, 45300 + row);
            denik.setText(DenikField::Popis, QStringLiteral("řádek %1").arg(row));
            denik.setCurrency(DenikField::Col5, Currency::fromRaw(row * 10000));
            denik.post();
        }
    }
};

// Exports the bytes as the template "sablona.xl" to `targetName` (its
// extension chooses the format) and removes what was written.
inline void exportTemplate(const uint8_t *data, size_t size, const QString &targetName)
{
    static Report report;
    const QString templates = report.folder + QStringLiteral("PrintFrm/");
    const QString target = report.folder + targetName;
    {
        QFile file(templates + QStringLiteral("sablona.xl"));
        if (!file.open(QIODevice::WriteOnly))
            return;
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    TExcelExporter exporter(report.app, &report.skupiny, &report.denik, nullptr);
    exporter.SetTemplateFolder(templates);
    exporter.SetTemplateName(QStringLiteral("sablona.xl"));
    {
        TExcelExporterForm form(exporter);
        form.OnOk(target, false);
    }
    QFile::remove(target);
}

} // namespace kasovka::fuzz
