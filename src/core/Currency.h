#pragma once
// Money amounts: a signed 64-bit count of ten-thousandths. Sums and
// differences are exact; products and quotients round to four decimals half
// away from zero. Every overflow throws kasovka::Error, so an amount is never
// silently wrapped.

#include <QString>
#include <QStringView>

#include <compare>
#include <cstdint>
#include <optional>

namespace kasovka {

class Currency {
public:
    /// Raw units per whole currency unit.
    static constexpr qint64 Scale = 10000;

    constexpr Currency() noexcept = default;

    /// The amount holding exactly `raw` ten-thousandths.
    static constexpr Currency fromRaw(qint64 raw) noexcept { return Currency(raw); }
    constexpr qint64 raw() const noexcept { return m_raw; }

    /// Whole units; throws Error when `units` * 10000 does not fit.
    static Currency fromInt(qint64 units);

    /// Rounded to four decimals half away from zero; throws Error for NaN,
    /// infinities and values outside the representable range.
    static Currency fromDouble(double value);
    double toDouble() const noexcept { return double(m_raw) / double(Scale); }

    /// Reads an optional sign ("+" or "-"), digits and at most one decimal
    /// mark `decimalSeparator` (a "." is accepted as well when the separator
    /// is another character). Blanks and no-break spaces between digits are
    /// taken as group separators and skipped; surrounding blanks are ignored.
    /// More than four decimals are rounded half away from zero. Empty text,
    /// garbage, a lone sign or mark, and values out of range give nullopt.
    static std::optional<Currency> parse(QStringView text, QChar decimalSeparator = u'.');

    /// "-1500.5000": optional minus, integer digits, "." and exactly four
    /// decimals. Used by machine-readable outputs.
    QString toPlainText() const;
    /// The shortest exact form: "-1500.5", "12", "0.0001".
    QString toShortText() const;

    constexpr bool isZero() const noexcept { return m_raw == 0; }
    constexpr bool isNegative() const noexcept { return m_raw < 0; }

    // Exact; throw Error on overflow.
    Currency operator+(Currency other) const;
    Currency operator-(Currency other) const;
    Currency operator-() const;
    Currency &operator+=(Currency other);
    Currency &operator-=(Currency other);

    // Through a 128-bit intermediate, rounded half away from zero to four
    // decimals; throw Error on overflow and on division by zero.
    Currency operator*(Currency other) const;
    Currency operator/(Currency other) const;
    Currency operator*(qint64 factor) const;
    Currency operator/(qint64 divisor) const;

    /// Rounds to `decimals` (0..4) decimals, half away from zero.
    Currency rounded(int decimals) const;

    constexpr auto operator<=>(const Currency &) const noexcept = default;
    constexpr bool operator==(const Currency &) const noexcept = default;

private:
    constexpr explicit Currency(qint64 raw) noexcept : m_raw(raw) {}
    qint64 m_raw = 0;
};

} // namespace kasovka
