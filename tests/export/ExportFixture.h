#pragma once
// A report's tables without a report run, an installed template folder and
// a scripted pair of export windows, for the export flow's tests.

#include "support/TestLaunchContext.h"

#include "core/MemTable.h"
#include "export/ExcelExporter.h"
#include "export/ExcelExporterForm.h"
#include "export/ExportDialog.h"
#include "export/ExportWindows.h"

#include <QStringList>
#include <functional>
#include <optional>

namespace kasovka::test {

// Answers the scope question and drives the exporter window the way a user
// would: OnOk with the given texts, one after the other, until one succeeds.
class ScriptedExportWindows : public IExportWindows {
public:
    std::optional<bool> scopeAnswer;  // nullopt: "Zpět"; else ExportAllGroups
    QStringList okTexts;              // edit box texts typed before each OK
    std::optional<bool> checkBox;     // nullopt: leave as shown
    std::optional<int> maxRows;       // the file format's row limit; nullopt: as set
    // Called after each OK with the window's form and OnOk's result.
    std::function<void(TExcelExporterForm &, bool)> afterOk;

    int scopeQuestions = 0;
    int exporterWindows = 0;
    QString shownFileName;
    bool shownRunAssociated = false;
    TExportFormat shownFileFormat = TExportFormat::Xls;
    QString shownGroupName;

    bool showExportDialog(TExportDialog &dialog) override;
    void showExcelExporter(TExcelExporter &exporter) override;
};

// Skupiny and Denik as a report leaves them; link() makes Denik a detail of
// Skupiny, a state of the caller's that an export must leave alone.
class ReportTablesFixture {
public:
    ReportTablesFixture();
    ~ReportTablesFixture();

    // A group with the amount in Col5 (and its totals), and its journal rows,
    // each with the given Col5 amounts.
    int addGroup(const QString &key, const QString &name, const QList<double> &rowAmounts);
    void link();
    // Copies the program's templates into the launch context's print forms folder.
    void installTemplates();

    TestLaunchContext context;
    TMemTable skupiny{QStringLiteral("Skupiny")};
    TMemTable denik{QStringLiteral("Denik")};
    int rowCount = 0;
};

} // namespace kasovka::test
