#include "core/Currency.h"

#include "core/Error.h"

#include <cmath>
#include <limits>

namespace kasovka {

namespace {

__extension__ typedef __int128 Int128;

constexpr qint64 MaxRaw = std::numeric_limits<qint64>::max();
constexpr qint64 MinRaw = std::numeric_limits<qint64>::min();

[[noreturn]] void throwOverflow()
{
    throw Error(QStringLiteral("Přetečení peněžní částky: výsledek je mimo povolený rozsah."));
}

qint64 checkedRaw(Int128 value)
{
    if (value > Int128(MaxRaw) || value < Int128(MinRaw))
        throwOverflow();
    return qint64(value);
}

// Quotient rounded half away from zero: the remainder decides whether the
// magnitude of the truncated quotient grows by one.
Int128 divideRounded(Int128 numerator, Int128 denominator)
{
    Int128 quotient = numerator / denominator;
    Int128 remainder = numerator % denominator;
    if (remainder < 0)
        remainder = -remainder;
    Int128 absDenominator = denominator < 0 ? -denominator : denominator;
    if (remainder * 2 >= absDenominator)
        quotient += ((numerator < 0) != (denominator < 0)) ? -1 : 1;
    return quotient;
}

bool isGroupBlank(QChar c)
{
    return c == u' ' || c == QChar(0x00A0) || c == QChar(0x202F);
}

} // namespace

Currency Currency::fromInt(qint64 units)
{
    return Currency(checkedRaw(Int128(units) * Scale));
}

Currency Currency::fromDouble(double value)
{
    if (!std::isfinite(value))
        throw Error(QStringLiteral("Neplatné číslo nelze převést na peněžní částku."));
    // std::round rounds half away from zero.
    const double scaled = std::round(value * double(Scale));
    // 2^63 is exactly representable; anything at or above it does not fit.
    if (scaled >= 9223372036854775808.0 || scaled < -9223372036854775808.0)
        throwOverflow();
    return Currency(qint64(scaled));
}

std::optional<Currency> Currency::parse(QStringView text, QChar decimalSeparator)
{
    text = text.trimmed();
    qsizetype pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == u'-' || text[pos] == u'+')) {
        negative = text[pos] == u'-';
        ++pos;
    }
    Int128 integral = 0;
    Int128 fraction = 0; // first four decimals
    int fractionDigits = 0;
    bool roundUp = false;
    bool seenMark = false;
    bool seenDigit = false;
    bool lastWasDigit = false;
    for (; pos < text.size(); ++pos) {
        const QChar c = text[pos];
        if (c >= u'0' && c <= u'9') {
            const int digit = c.unicode() - u'0';
            seenDigit = true;
            lastWasDigit = true;
            if (!seenMark) {
                integral = integral * 10 + digit;
                if (integral > Int128(MaxRaw))
                    return std::nullopt;
            } else if (fractionDigits < 4) {
                fraction = fraction * 10 + digit;
                ++fractionDigits;
            } else if (fractionDigits == 4) {
                roundUp = digit >= 5;
                ++fractionDigits;
            }
        } else if (c == decimalSeparator || c == u'.') {
            if (seenMark)
                return std::nullopt;
            seenMark = true;
            lastWasDigit = false;
        } else if (isGroupBlank(c) && !seenMark && lastWasDigit) {
            // A group blank must sit between digits.
            if (pos + 1 >= text.size() || !text[pos + 1].isDigit())
                return std::nullopt;
        } else {
            return std::nullopt;
        }
    }
    if (!seenDigit)
        return std::nullopt;
    for (int i = fractionDigits; i < 4; ++i)
        fraction *= 10;
    Int128 raw = integral * Scale + fraction + (roundUp ? 1 : 0);
    if (negative)
        raw = -raw;
    if (raw > Int128(MaxRaw) || raw < Int128(MinRaw))
        return std::nullopt;
    return Currency(qint64(raw));
}

QString Currency::toPlainText() const
{
    // Unsigned magnitude so that the most negative value prints correctly.
    const quint64 magnitude = m_raw < 0 ? quint64(0) - quint64(m_raw) : quint64(m_raw);
    QString text = QString::number(magnitude / quint64(Scale));
    text += u'.';
    text += QString::number(magnitude % quint64(Scale)).rightJustified(4, u'0');
    if (m_raw < 0)
        text.prepend(u'-');
    return text;
}

QString Currency::toShortText() const
{
    QString text = toPlainText();
    while (text.endsWith(u'0'))
        text.chop(1);
    if (text.endsWith(u'.'))
        text.chop(1);
    return text;
}

Currency Currency::operator+(Currency other) const
{
    qint64 result;
    if (__builtin_add_overflow(m_raw, other.m_raw, &result))
        throwOverflow();
    return Currency(result);
}

Currency Currency::operator-(Currency other) const
{
    qint64 result;
    if (__builtin_sub_overflow(m_raw, other.m_raw, &result))
        throwOverflow();
    return Currency(result);
}

Currency Currency::operator-() const
{
    if (m_raw == MinRaw)
        throwOverflow();
    return Currency(-m_raw);
}

Currency &Currency::operator+=(Currency other)
{
    *this = *this + other;
    return *this;
}

Currency &Currency::operator-=(Currency other)
{
    *this = *this - other;
    return *this;
}

Currency Currency::operator*(Currency other) const
{
    // Both operands carry the scale; one scale is divided out with rounding.
    return Currency(checkedRaw(divideRounded(Int128(m_raw) * other.m_raw, Scale)));
}

Currency Currency::operator/(Currency other) const
{
    if (other.m_raw == 0)
        throw Error(QStringLiteral("Dělení nulou při výpočtu peněžní částky."));
    return Currency(checkedRaw(divideRounded(Int128(m_raw) * Scale, other.m_raw)));
}

Currency Currency::operator*(qint64 factor) const
{
    return Currency(checkedRaw(Int128(m_raw) * factor));
}

Currency Currency::operator/(qint64 divisor) const
{
    if (divisor == 0)
        throw Error(QStringLiteral("Dělení nulou při výpočtu peněžní částky."));
    return Currency(checkedRaw(divideRounded(Int128(m_raw), divisor)));
}

Currency Currency::rounded(int decimals) const
{
    if (decimals >= 4)
        return *this;
    if (decimals < 0)
        decimals = 0;
    qint64 unit = 1;
    for (int i = decimals; i < 4; ++i)
        unit *= 10;
    return Currency(checkedRaw(divideRounded(Int128(m_raw), unit) * unit));
}

} // namespace kasovka
