#include "filter/FilterListMatcher.h"

#include "filter/TReportFilter.h"

namespace kasovka {

FilterListMatcher::FilterListMatcher(bool on, const QString &list, bool negation)
    : m_on(on), m_negation(negation), m_list(list)
{
    if (!m_on)
        return;
    // The list with its final ";" supplied is a sequence of codes each ended
    // by ";", so a value without ";" is listed exactly when it is one of them.
    QString codes = list;
    if (!codes.isEmpty() && !codes.endsWith(QLatin1Char(';')))
        codes += QLatin1Char(';');
    qsizetype start = 0;
    while (start < codes.size()) {
        const qsizetype end = codes.indexOf(QLatin1Char(';'), start);
        m_codes.insert(codes.mid(start, end - start));
        start = end + 1;
    }
}

bool FilterListMatcher::passes(const QString &value) const
{
    if (!m_on)
        return true;
    // A value that itself holds ";" can match across codes; the text rule
    // decides it.
    if (value.contains(QLatin1Char(';')))
        return TReportFilter::MatchesFilterList(value, m_list, m_negation);
    const bool listed = value.isEmpty() && m_list.isEmpty() ? true : m_codes.contains(value);
    return listed != m_negation;
}

} // namespace kasovka
