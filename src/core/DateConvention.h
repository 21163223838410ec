#pragma once
// The program's date separator and short date format, derived from the
// system locale; shortDateFormat() applies it. A separator of more than one
// character (Slovak "d. M. yyyy" has ". ") is cut to its first non-blank
// character in both the separator and the format, so that dates are typed and
// shown compactly.

#include <QLocale>
#include <QString>

namespace kasovka {

struct DateConvention {
    QString separator;
    QString shortDateFormat;
    bool operator==(const DateConvention &) const = default;
};

// The separator of a Qt date format: the characters between its first and
// its second field ("d. M. yyyy" gives ". "); empty without a second field.
QString DateSeparatorOf(const QString &format);

// Applies the one-character rule. A separator of exactly one character, an
// empty one and one made only of blanks leave both texts as they are.
DateConvention NormalizeDateConvention(const QString &separator, const QString &shortDateFormat);

// The locale's convention after the rule; the year always has four digits.
DateConvention ProgramDateConvention(const QLocale &locale);

} // namespace kasovka
