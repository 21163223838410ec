#pragma once
// The pieces of kasovka-report that option modules share: the option table
// that main parses against, and the outputs that run once a report has been
// generated. Each module (JSON output, workbook export) has a register
// function that main calls in the order its options are listed.

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QCoreApplication;

namespace kasovka {

class TBaseApplication;
class TPenDenReport;

namespace tool {

// A command-line option "--name" or "--name VALUE".
struct ToolOption {
    QString name;      // without the leading "--"
    QString valueName; // empty: the option takes no value
    QString help;
    // Receives the value (empty for an option without one). Returns an
    // error text for a usage error, or an empty text.
    std::function<QString(const QString &value)> apply;
};

// Writes one product of a generated report. Returns false when it failed;
// the reason has been shown through the launch context.
struct ToolOutput {
    QString phaseName; // the name under which --timings reports it
    std::function<bool(TBaseApplication &app, TPenDenReport &report)> write;
};

class ToolRegistry {
public:
    void addOption(ToolOption option) { m_options.append(std::move(option)); }
    // Outputs run in the order they were added; an option's apply adds its
    // output when the option is given.
    void addOutput(ToolOutput output) { m_outputs.append(std::move(output)); }

    const QList<ToolOption> &options() const { return m_options; }
    const QList<ToolOutput> &outputs() const { return m_outputs; }
    const ToolOption *find(const QString &name) const;

private:
    QList<ToolOption> m_options;
    QList<ToolOutput> m_outputs;
};

// The modules' options, added by main in this order.
void registerJsonOptions(ToolRegistry &registry);   // JsonOutput.cpp
void registerExportOptions(ToolRegistry &registry); // ExportOptions.cpp
void registerPdfOptions(ToolRegistry &registry);    // PdfOptions.cpp
void registerXlsxOptions(ToolRegistry &registry);   // XlsxOptions.cpp

// The report export to target with the export options given (ExportOptions.cpp).
bool exportReportWorkbook(TBaseApplication &app, TPenDenReport &report, const QString &target);

// What --group, --without-final-summary and --overwrite say, for every
// output that honours them (ExportOptions.cpp). A null group: all groups.
struct ReportOutputOptions {
    QString group;
    bool finalSummary = true;
    bool overwrite = false;
    QString templates; // --templates DIR, absolute; empty without it
};
ReportOutputOptions outputOptions();

// The application object: a GUI one (on the offscreen platform unless
// another is set) when an output needs fonts, otherwise a core one
// (PdfOptions.cpp).
std::unique_ptr<QCoreApplication> makeApplication(int &argc, char **argv);

// Exit codes.
inline constexpr int ExitWritten = 0;
inline constexpr int ExitNoReport = 1;
inline constexpr int ExitUsage = 2;

} // namespace tool
} // namespace kasovka
