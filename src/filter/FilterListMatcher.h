#pragma once
// An object filter prepared once for a report's reading loop: the same
// outcome as TReportFilter::MatchesFilterList, without building texts per
// record.

#include <QSet>
#include <QString>

namespace kasovka {

class FilterListMatcher {
public:
    // A matcher that lets every value through (the filter's switch is off).
    FilterListMatcher() = default;
    FilterListMatcher(bool on, const QString &list, bool negation);

    bool passes(const QString &value) const;
    bool isOn() const { return m_on; }

private:
    bool m_on = false;
    bool m_negation = false;
    QString m_list;
    QSet<QString> m_codes;
};

} // namespace kasovka
