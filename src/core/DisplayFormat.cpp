#include "core/DisplayFormat.h"

#include "core/MemTable.h"

namespace kasovka {

namespace {

struct AmountPattern {
    int minIntegerDigits = 1;
    int requiredDecimals = 0;
    int maxDecimals = 0;
    bool grouped = false;
};

// Reads the first section of a format; characters other than placeholders,
// the mark and group blanks are not rendered.
AmountPattern readPattern(const QString &format)
{
    AmountPattern pattern;
    int integerZeros = 0;
    bool afterMark = false;
    bool seenPlaceholder = false;
    for (QChar c : format) {
        if (c == u';')
            break;
        if (c == u'.') {
            afterMark = true;
        } else if (c == u'0' || c == u'#') {
            if (afterMark) {
                ++pattern.maxDecimals;
                if (c == u'0')
                    pattern.requiredDecimals = pattern.maxDecimals;
            } else {
                seenPlaceholder = true;
                if (c == u'0')
                    ++integerZeros;
            }
        } else if ((c == u' ' || c == u',' || c == QChar(0x00A0)) && !afterMark && seenPlaceholder) {
            pattern.grouped = true;
        }
    }
    pattern.minIntegerDigits = qMax(1, integerZeros);
    pattern.maxDecimals = qMin(pattern.maxDecimals, 4);
    pattern.requiredDecimals = qMin(pattern.requiredDecimals, pattern.maxDecimals);
    return pattern;
}

QString groupDigits(const QString &digits)
{
    QString out;
    out.reserve(digits.size() + digits.size() / 3);
    const qsizetype lead = digits.size() % 3;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (i - lead) % 3 == 0)
            out += u' ';
        out += digits[i];
    }
    return out;
}

} // namespace

QString DisplayFormatForDecimals(int decimals)
{
    static const QString base = QStringLiteral("# ### ### ##0");
    if (decimals == 0)
        return base;
    if (decimals < 1 || decimals > 4)
        decimals = 2;
    return base + u'.' + QString(decimals, u'0');
}

void FormatCurrencyFields(TMemTable &table, int decimals, const QString &defaultExpression)
{
    const QString format = DisplayFormatForDecimals(decimals);
    for (int i = 0; i < table.fieldCount(); ++i) {
        if (table.fieldType(i) != FieldType::Currency)
            continue;
        table.setCurrencySymbol(i, false);
        table.setDisplayFormat(i, format);
        table.setDefaultExpression(i, defaultExpression);
    }
}

int decimalsOfFormat(const QString &format)
{
    return readPattern(format).maxDecimals;
}

QString formatAmount(Currency amount, const QString &format, const QLocale &locale)
{
    const QString mark = locale.decimalPoint();
    if (format.isEmpty()) {
        QString text = amount.toShortText();
        text.replace(u'.', mark);
        return text;
    }
    const AmountPattern pattern = readPattern(format);
    // toPlainText always has exactly four decimals after ".".
    const QString plain = amount.rounded(pattern.maxDecimals).toPlainText();
    const bool negative = plain.startsWith(u'-');
    const qsizetype markPos = plain.indexOf(u'.');
    QString integer = plain.mid(negative ? 1 : 0, markPos - (negative ? 1 : 0));
    QString fraction = plain.mid(markPos + 1, pattern.maxDecimals);
    while (fraction.size() > pattern.requiredDecimals && fraction.endsWith(u'0'))
        fraction.chop(1);
    // Leading zeros beyond the required digits go ("0" comes from zero).
    while (integer.size() > pattern.minIntegerDigits && integer.startsWith(u'0'))
        integer.remove(0, 1);
    if (integer.size() < pattern.minIntegerDigits)
        integer = integer.rightJustified(pattern.minIntegerDigits, u'0');

    QString text;
    if (negative)
        text += u'-';
    text += pattern.grouped ? groupDigits(integer) : integer;
    if (!fraction.isEmpty())
        text += mark + fraction;
    return text;
}

} // namespace kasovka
