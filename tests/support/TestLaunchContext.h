#pragma once
// A loaded launch context over a throw-away host data tree, for tests that
// need real folders: <root>/DATA/AGENDA.TST/ROK.2026/ with a ROK.INI, and
// <root>/program/ as the program folder. Everything is removed with the
// object.

#include "app/TBaseApplication.h"
#include "support/RecordingUiServices.h"

#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace kasovka::test {

// The host's command line for the given values, split at blanks as the
// platform would split it.
QStringList LaunchArguments(const QString &yearFolder, const QString &hostVersion = "11.060",
                            const QString &password = QString(),
                            const QString &configName = "Default");

class TestLaunchContext {
public:
    struct Options {
        bool doubleEntry = false;
        // ROK.INI "Hospodářský rok do"; FiscalYearTo is this + 1 (46387 = 31.12.2026)
        int fiscalYearTo = 46386;
        QString configName = "Default";
    };
    TestLaunchContext();
    explicit TestLaunchContext(const Options &options);
    ~TestLaunchContext();

    TBaseApplication &app() { return *m_app; }
    RecordingUiServices &ui() { return m_ui; }
    QString root() const;       // with a trailing "/"
    QString yearFolder() const; // <root>DATA/AGENDA.TST/ROK.2026/

private:
    QTemporaryDir m_dir;
    RecordingUiServices m_ui;
    std::unique_ptr<TBaseApplication> m_app;
};

} // namespace kasovka::test
