#pragma once
// Small host data trees built by hand for the engine's tests: every table
// the report reads, created empty in a throw-away year and agenda folder,
// filled record by record, and helpers that read a generated report back.

#include "core/Currency.h"
#include "core/DateTime.h"
#include "filter/TReportFilter.h"
#include "host/HostSchema.h"
#include "report/TPenDenReport.h"
#include "support/TestLaunchContext.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include <ostream>

// Readable texts in failure messages.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace kasovka {
class THostTableWriter;
}

namespace kasovka::test {

// One journal record of UCPENDEN; unset texts are empty.
struct JournalEntry {
    TDateTime datum = 0;
    QString zdroj = QStringLiteral("PK");
    int zRadek = 1;
    QString typ = QStringLiteral("P");
    QString pohyb = QStringLiteral("PZbo");
    QString castka = QStringLiteral("0");
    QString doklad;
    QString varSym;
    QString popis;
    QString stred;
    QString cinnost;
    QString zakazka;
    QString mena;
    QString ico;
    int adCislo = 0;
    QString vyst;
    bool del = false;
    bool free = false;
    int cislo = 0; // 0: numbered in order of appending
};

struct AdjustmentEntry {
    QString pohyb;
    QString castka;
    QString typ = QStringLiteral("P");
    QString stred;
    QString cinnost;
    QString zakazka;
};

struct RegisterEntry {
    QString zkrat;
    QString ucPokl; // "P" cash register, "U" bank account
    QString pocStav;
    QString mena;
    int psMnozstvi = 1;
    double psKurz = 1;
};

Currency money(const char *text);
TDateTime day(int year, int month, int dayOfMonth);

class ReportTest : public ::testing::Test {
protected:
    // Every purpose code exists as a movement of the same name, plus "BEZ"
    // without a journal column.
    ReportTest();

    TBaseApplication &app() { return m_context.app(); }
    RecordingUiServices &ui() { return m_context.ui(); }
    QString yearFolder() const { return m_context.yearFolder(); }
    QString agendaFolder() const;

    void addJournal(const std::vector<JournalEntry> &entries);
    void addAdjustments(const std::vector<AdjustmentEntry> &entries);
    void addRegisters(const std::vector<RegisterEntry> &entries);
    void addColumnSetting(const QString &name, const QString &str,
                          const QString &group = QStringLiteral("Default"));
    void addBookRecord(bool bank, int cislo, const QString &popis);
    void addCodeListEntry(const QString &table, const QString &zkrat, const QString &nazev);
    void addAddress(int cislo, const QString &ico, const QString &name);
    // Replaces a table file by one built from `def` (a damaged layout).
    void replaceTable(const QString &folder, const HostTableDef &def);
    void removeTable(const QString &folder, const QString &name);

    // Generates a report for the default filter changed by `setup`.
    std::unique_ptr<TPenDenReport> generate(const std::function<void(TReportFilter &)> &setup = {});
    // Generates as the program does: the outcome's messages reach ui().
    ReportOutcome run(TPenDenReport &report);

    int nextCislo = 1;

private:
    void append(const QString &path, const std::function<void(THostTableWriter &)> &fill);
    TestLaunchContext m_context;
};

// Reading a generated report back.
int groupRow(const TPenDenReport &report, const QString &zkratka); // -1: none
qint64 groupId(const TPenDenReport &report, int skupinyRow);
// Denik rows of the group, in Denik order.
std::vector<int> rowsOfGroup(const TPenDenReport &report, qint64 groupId);
Currency amount(const TMemTable &table, int row, int column);
bool isBlank(const TMemTable &table, int row, int column);
Currency totalField(const TPenDenReport &report, int skupinyRow, const char *name);
QString textAt(const TMemTable &table, int row, const char *field);
qint64 integerAt(const TMemTable &table, int row, const char *field);
int prevedenoRowOf(const TPenDenReport &report, qint64 groupId);

} // namespace kasovka::test
