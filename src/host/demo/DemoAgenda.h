#pragma once
// A complete, realistic host data root for demonstrations and tests: the
// accounting year of a small Czech firm kept in single-entry books, with
// every host table the program reads, the year settings, data.ini and the
// rights tables with demo users. The journal is deterministic for a seed.
//
// It also carries a few real-life data problems on purpose: a journal
// record without a date, one whose movement code is not in UCPOHYBY, a
// deleted and a free record slot.

#include <QString>
#include <QStringList>

namespace kasovka {

struct DemoAgendaOptions {
    int journalRecords = 2000; // records of UCPENDEN, at least 20
    int year = 2024;           // the accounting year (1901..9998)
    quint64 seed = 1;
};

struct DemoUser {
    QString name;
    QString password; // as typed by the user, not scrambled
    QString right;    // JUPDTisk: "A", "R" or another text
};

struct DemoAgenda {
    QString dataRoot;     // with a trailing "/"
    QString agendaFolder; // dataRoot + "AGENDA.DEMO/"
    QString yearFolder;   // agendaFolder + "ROK.<year>/"
    QString hostVersion;  // MVERZE
    QString configName;   // AKTCFGNAME
    DemoUser user;        // the user the launch parameters start with
    QList<DemoUser> users;
    int journalRecords = 0;

    // The launch parameter groups, one argument each:
    // ?MAIN=...?MAIN ?AKTROK=<year folder>?AKTROK ?MVERZE=...?MVERZE
    // ?AKTHESLO=...?AKTHESLO ?AKTCFGNAME=...?AKTCFGNAME
    QStringList launchArguments() const;
};

// The agenda's folder and year folder names.
QString demoAgendaFolderName();
QString demoYearFolderName(int year);

// Creates the demo data in `dataRoot` (created when missing). No host table
// of the demo may exist yet: existing tables are never replaced. Throws Error with a Czech text
// on bad options or when a file cannot be written.
DemoAgenda createDemoAgenda(const QString &dataRoot, const DemoAgendaOptions &options = {});

} // namespace kasovka
