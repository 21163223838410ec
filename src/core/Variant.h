#pragma once
// A value of one of the kinds that tables and settings hold. Conversions
// between kinds follow fixed, locale-free rules (listed below); one that makes
// no sense throws kasovka::Error with a Czech text naming the value.

#include "core/Currency.h"
#include "core/DateTime.h"

#include <QString>

namespace kasovka {

class Variant {
public:
    enum class Kind { Empty, Integer, Float, Currency, Text, Boolean, Date };

    Variant() noexcept = default;
    Variant(int value) noexcept : m_kind(Kind::Integer) { m_int = value; }
    Variant(long value) noexcept : m_kind(Kind::Integer) { m_int = value; }
    Variant(long long value) noexcept : m_kind(Kind::Integer) { m_int = value; }
    Variant(double value) noexcept : m_kind(Kind::Float) { m_double = value; }
    Variant(kasovka::Currency value) noexcept : m_kind(Kind::Currency) { m_int = value.raw(); }
    Variant(const QString &value) : m_kind(Kind::Text), m_text(value) {}
    Variant(const char16_t *value) : m_kind(Kind::Text), m_text(QString::fromUtf16(value)) {}
    /// UTF-8 text; without it a string literal would silently become a Boolean.
    Variant(const char *utf8) : m_kind(Kind::Text), m_text(QString::fromUtf8(utf8)) {}
    Variant(bool value) noexcept : m_kind(Kind::Boolean) { m_bool = value; }
    /// A TDateTime is a double, so dates are made explicitly.
    static Variant fromDate(TDateTime serial) noexcept;

    Kind kind() const noexcept { return m_kind; }
    bool isEmpty() const noexcept { return m_kind == Kind::Empty; }

    /// Empty: "". Integer: decimal digits. Float: shortest round-trip form
    /// with ".". Currency: Currency::toShortText. Text: itself. Boolean:
    /// "True" / "False". Date: formatIsoDate.
    QString toText() const;
    /// Empty: 0. Float and Currency: rounded half away from zero (range
    /// checked). Text: optional sign and decimal digits, surrounding blanks
    /// ignored. Boolean: 1 / 0. Date: the day part.
    qint64 toInt() const;
    /// Empty: 0. Integer, Float, Date: the amount (range checked). Text:
    /// Currency::parse with "." as decimal mark. Boolean: 1 / 0.
    kasovka::Currency toCurrency() const;
    /// Empty: 0. Text: a number with "." as decimal mark. Date: the serial.
    double toDouble() const;
    /// Empty: false. Numbers: non-zero. Text: "true"/"false", "1"/"0",
    /// "ano"/"ne", letter case ignored.
    bool toBool() const;
    /// Empty: 0. Integer, Float: the serial. Text: parseIsoDate.
    TDateTime toDate() const;

    /// Same kind and same value (Float compares by value; two Empty are
    /// equal). No cross-kind equality: Variant(1) != Variant(1.0).
    bool operator==(const Variant &other) const;
    bool operator!=(const Variant &other) const { return !(*this == other); }

    /// A Czech name of a kind, for error texts ("celé číslo", "text", ...).
    static QString kindName(Kind kind);

private:
    Kind m_kind = Kind::Empty;
    union {
        qint64 m_int = 0; // Integer, Currency (raw)
        double m_double;  // Float, Date
        bool m_bool;
    };
    QString m_text;
};

} // namespace kasovka
