#include "core/DateConvention.h"

#include "core/DateTime.h"

namespace kasovka {

QLocale programLocale()
{
    return QLocale(QLocale::Czech, QLocale::Czechia);
}

namespace {

bool isFieldLetter(QChar c)
{
    return c == u'd' || c == u'M' || c == u'y';
}

} // namespace

QString DateSeparatorOf(const QString &format)
{
    qsizetype i = 0;
    while (i < format.size() && !isFieldLetter(format[i]))
        ++i;
    while (i < format.size() && isFieldLetter(format[i]))
        ++i;
    const qsizetype start = i;
    while (i < format.size() && !isFieldLetter(format[i]))
        ++i;
    if (i == format.size())
        return {};
    return format.mid(start, i - start);
}

DateConvention NormalizeDateConvention(const QString &separator, const QString &shortDateFormat)
{
    const QString trimmed = separator.trimmed();
    if (separator.size() <= 1 || trimmed.isEmpty())
        return {separator, shortDateFormat};
    const QString single = trimmed.left(1);
    QString format = shortDateFormat;
    format.replace(separator, single);
    return {single, format};
}

DateConvention ProgramDateConvention(const QLocale &locale)
{
    const QString format = shortDateFormat(locale);
    return NormalizeDateConvention(DateSeparatorOf(format), format);
}

} // namespace kasovka
