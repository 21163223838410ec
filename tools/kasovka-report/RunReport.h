#pragma once
// The run of kasovka-report once its options are parsed.

#include "ReportTool.h"

#include <QPair>
#include <QString>
#include <QStringList>

namespace kasovka::tool {

struct RunSettings {
    QStringList launchArguments;
    QString filterIni;                        // empty: the settings file
    QList<QPair<QString, QString>> fieldSets; // --set KEY=VALUE, in order
    bool timings = false;
};

// Adds --filter-ini, --set and --timings.
void registerRunOptions(ToolRegistry &registry, RunSettings &settings);

// Loads the launch context, refuses a double-entry agenda and a user
// without the right, loads and checks the filter, generates the report and
// runs the outputs. Returns the exit code.
int runReport(const RunSettings &settings, const ToolRegistry &registry);

} // namespace kasovka::tool
