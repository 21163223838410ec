#include "core/Variant.h"

#include "core/Error.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace kasovka {

namespace {

[[noreturn]] void throwNoConversion(const Variant &value, Variant::Kind target)
{
    throw Error(QStringLiteral("Hodnotu \"%1\" (%2) nelze převést na %3.")
                    .arg(value.toText(), Variant::kindName(value.kind()),
                         Variant::kindName(target)));
}

qint64 roundToInt(double value, const Variant &source)
{
    const double rounded = std::round(value); // half away from zero
    if (!std::isfinite(rounded) || rounded >= 9223372036854775808.0
        || rounded < -9223372036854775808.0)
        throwNoConversion(source, Variant::Kind::Integer);
    return qint64(rounded);
}

} // namespace

Variant Variant::fromDate(TDateTime serial) noexcept
{
    Variant v;
    v.m_kind = Kind::Date;
    v.m_double = serial;
    return v;
}

QString Variant::kindName(Kind kind)
{
    switch (kind) {
    case Kind::Empty: return QStringLiteral("prázdná hodnota");
    case Kind::Integer: return QStringLiteral("celé číslo");
    case Kind::Float: return QStringLiteral("číslo");
    case Kind::Currency: return QStringLiteral("částka");
    case Kind::Text: return QStringLiteral("text");
    case Kind::Boolean: return QStringLiteral("logická hodnota");
    case Kind::Date: return QStringLiteral("datum");
    }
    return QString();
}

QString Variant::toText() const
{
    switch (m_kind) {
    case Kind::Empty: return QString();
    case Kind::Integer: return QString::number(m_int);
    case Kind::Float: return QLocale::c().toString(m_double, 'g', QLocale::FloatingPointShortest);
    case Kind::Currency: return Currency::fromRaw(m_int).toShortText();
    case Kind::Text: return m_text;
    case Kind::Boolean: return m_bool ? QStringLiteral("True") : QStringLiteral("False");
    case Kind::Date: return formatIsoDate(m_double);
    }
    return QString();
}

qint64 Variant::toInt() const
{
    switch (m_kind) {
    case Kind::Empty: return 0;
    case Kind::Integer: return m_int;
    case Kind::Float: return roundToInt(m_double, *this);
    case Kind::Currency: {
        const Currency whole = Currency::fromRaw(m_int).rounded(0);
        return whole.raw() / Currency::Scale;
    }
    case Kind::Text: {
        bool ok = false;
        const qint64 value = QStringView(m_text).trimmed().toLongLong(&ok, 10);
        if (!ok)
            throwNoConversion(*this, Kind::Integer);
        return value;
    }
    case Kind::Boolean: return m_bool ? 1 : 0;
    case Kind::Date:
        if (!std::isfinite(m_double))
            throwNoConversion(*this, Kind::Integer);
        return roundToInt(std::trunc(m_double), *this);
    }
    return 0;
}

Currency Variant::toCurrency() const
{
    switch (m_kind) {
    case Kind::Empty: return Currency();
    case Kind::Integer: return Currency::fromInt(m_int);
    case Kind::Float:
    case Kind::Date: return Currency::fromDouble(m_double);
    case Kind::Currency: return Currency::fromRaw(m_int);
    case Kind::Text: {
        // Only "." is a decimal mark here; locale forms are read elsewhere.
        const std::optional<Currency> value = Currency::parse(m_text, u'.');
        if (!value)
            throwNoConversion(*this, Kind::Currency);
        return *value;
    }
    case Kind::Boolean: return Currency::fromInt(m_bool ? 1 : 0);
    }
    return Currency();
}

double Variant::toDouble() const
{
    switch (m_kind) {
    case Kind::Empty: return 0.0;
    case Kind::Integer: return double(m_int);
    case Kind::Float:
    case Kind::Date: return m_double;
    case Kind::Currency: return Currency::fromRaw(m_int).toDouble();
    case Kind::Text: {
        bool ok = false;
        const double value = QLocale::c().toDouble(QStringView(m_text).trimmed(), &ok);
        if (!ok)
            throwNoConversion(*this, Kind::Float);
        return value;
    }
    case Kind::Boolean: return m_bool ? 1.0 : 0.0;
    }
    return 0.0;
}

bool Variant::toBool() const
{
    switch (m_kind) {
    case Kind::Empty: return false;
    case Kind::Integer:
    case Kind::Currency: return m_int != 0;
    case Kind::Float:
    case Kind::Date: return m_double != 0.0;
    case Kind::Boolean: return m_bool;
    case Kind::Text: {
        const QString t = m_text.trimmed().toLower();
        if (t == u"true" || t == u"1" || t == u"ano")
            return true;
        if (t == u"false" || t == u"0" || t == u"ne")
            return false;
        throwNoConversion(*this, Kind::Boolean);
    }
    }
    return false;
}

TDateTime Variant::toDate() const
{
    switch (m_kind) {
    case Kind::Empty: return 0.0;
    case Kind::Integer: return double(m_int);
    case Kind::Float:
    case Kind::Date: return m_double;
    case Kind::Currency: return Currency::fromRaw(m_int).toDouble();
    case Kind::Text: {
        const std::optional<TDateTime> value = parseIsoDate(m_text);
        if (!value)
            throwNoConversion(*this, Kind::Date);
        return *value;
    }
    case Kind::Boolean: throwNoConversion(*this, Kind::Date);
    }
    return 0.0;
}

bool Variant::operator==(const Variant &other) const
{
    if (m_kind != other.m_kind)
        return false;
    switch (m_kind) {
    case Kind::Empty: return true;
    case Kind::Integer:
    case Kind::Currency: return m_int == other.m_int;
    case Kind::Float:
    case Kind::Date: return m_double == other.m_double;
    case Kind::Text: return m_text == other.m_text;
    case Kind::Boolean: return m_bool == other.m_bool;
    }
    return false;
}

} // namespace kasovka
