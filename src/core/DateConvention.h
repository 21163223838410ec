#pragma once
// The program's conventions: Czech whatever the system's locale, since every
// text of the program is Czech. The date separator and short date format
// derive from it; shortDateFormat() applies them. A separator of more than one
// character (Slovak "d. M. yyyy" has ". ") is cut to its first non-blank
// character in both the separator and the format, so that dates are typed and
// shown compactly.

#include <QLocale>
#include <QString>

namespace kasovka {

// Czech (d.M.yyyy, decimal comma, space between thousands): what windows,
// printed pages, workbooks and messages use. Machine formats (JSON) do not.
QLocale programLocale();

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
