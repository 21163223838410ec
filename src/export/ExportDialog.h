#pragma once
// The export scope question: the current summation group or all of them.

#include <QString>

namespace kasovka {

class IExportWindows;
class TBaseApplication;

class TExportDialog {
public:
    TExportDialog(TBaseApplication &app, bool exportAllGroups, const QString &currentGroupName)
        : m_app(app), m_exportAllGroups(exportAllGroups), m_currentGroupName(currentGroupName) {}

    bool ExportAllGroups() const { return m_exportAllGroups; }
    void SetExportAllGroups(bool value) { m_exportAllGroups = value; }
    const QString &CurrentGroupName() const { return m_currentGroupName; }
    TBaseApplication &Application() const { return m_app; }

    // Shows the scope window; true when it was closed with OK.
    bool Execute(IExportWindows &windows);

private:
    TBaseApplication &m_app;
    bool m_exportAllGroups;
    QString m_currentGroupName;
};

} // namespace kasovka
