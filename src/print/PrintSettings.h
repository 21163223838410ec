#pragma once
// What printing remembers in the settings file, section "Print": the paper,
// orientation and margins, the scope choice, and the last PDF files.

#include <QPageLayout>
#include <QString>

namespace kasovka {
class TIniFile;
}

namespace kasovka::print {

struct PrintSettings {
    PrintSettings();

    QPageLayout pageLayout; // A4 landscape, 10 mm margins until changed
    bool allGroups = false; // the scope question's last answer
    QString reportPdf;      // last PDF of a report
    QString groupTablePdf;  // last PDF of a group table

    // Missing or unreadable values give the defaults.
    static PrintSettings read(TIniFile &ini);
    // Throws Error when the file cannot be written.
    void write(TIniFile &ini) const;
};

} // namespace kasovka::print
