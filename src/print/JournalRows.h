#pragma once
// The rows of a group's printed journal: its journal rows in table order,
// then its sums row; and the rows a page carries from the previous page and
// to the next one, which hold the running sums of the rows above them, so
// that an auditor can add up a journal page by page.

#include "core/DateConvention.h"
#include "print/PrintTable.h"

#include <QLocale>

namespace kasovka {
class ReportResult;
class TMemTable;
}

namespace kasovka::print {

inline constexpr int JournalKeyColumns = 4; // Poradi, Datum, Doklad_VS, Popis

// Field positions of the journal's printed columns in Denik and of the
// amounts in Skupiny.
struct JournalFields {
    JournalFields(const TMemTable &denik, const TMemTable &skupiny);
    QList<int> denikColumns;   // per printed column
    QList<int> skupinyAmounts; // per amount column
    int poradi;
};

// Sums per amount column; none where no row had an amount, as the sums row
// leaves such a column blank.
using RunningSums = QList<std::optional<Currency>>;

class GroupRows : public TableSource {
public:
    GroupRows(const ReportResult &result, const JournalFields &fields, int group);

    int rowCount() const override { return int(m_records.size()) + 1; }
    QString text(int row, int column) const override;
    std::optional<Currency> amount(int row, int column) const override;
    // The carried row and the sums.
    bool bold(int row) const override;

    // Adds the amounts of the journal rows in `first`..`end - 1` to `sums`.
    void addRows(int first, int end, RunningSums &sums) const;
    // The smallest and the largest running sum of every amount column, for
    // sizing the columns.
    std::pair<RunningSums, RunningSums> runningExtremes() const;
    // An amount column's sum as the sums row shows it.
    QString sumText(int column, Currency sum) const;

private:
    const TMemTable &m_denik;
    const TMemTable &m_skupiny;
    const JournalFields m_fields; // shared lists, cheap to copy
    int m_group;
    const std::vector<int> &m_records;
    QLocale m_locale = programLocale();
};

// Rows of running sums under a caption in the description column: the one
// a page carries in or out, or the extremes a layout is measured with.
class CarriedRows : public TableSource {
public:
    CarriedRows(const GroupRows &group, QString caption, QList<RunningSums> sums)
        : m_group(group), m_caption(std::move(caption)), m_sums(std::move(sums))
    {
    }
    int rowCount() const override { return int(m_sums.size()); }
    QString text(int row, int column) const override;
    std::optional<Currency> amount(int row, int column) const override;
    bool bold(int) const override { return true; }

private:
    const GroupRows &m_group;
    QString m_caption;
    QList<RunningSums> m_sums;
};

} // namespace kasovka::print
