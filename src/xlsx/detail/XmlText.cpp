#include "xlsx/detail/XmlText.h"

#include <QString>

namespace kasovka::xlsx {

namespace {

bool holds(char16_t c, XmlPlace place)
{
    if (c == u'\t' || c == u'\n')
        return place != XmlPlace::Attribute;
    if (c == u'\r')
        return place == XmlPlace::Formula;
    // XML 1.0 Char, less the surrogates, which are paired by the caller.
    return c >= 0x20 && (c < 0xD800 || (c >= 0xE000 && c <= 0xFFFD));
}

bool isHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// Whether an escape "_xHHHH_" begins at `at`, which a reader would decode.
bool escapeAt(QStringView text, qsizetype at)
{
    if (at + 7 > text.size() || text[at] != u'_' || text[at + 1] != u'x' || text[at + 6] != u'_')
        return false;
    for (qsizetype i = at + 2; i < at + 6; ++i)
        if (!isHexDigit(text[i]))
            return false;
    return true;
}

QString escape(char16_t c)
{
    static const char digits[] = "0123456789ABCDEF";
    QString out = QStringLiteral("_x");
    for (int shift = 12; shift >= 0; shift -= 4)
        out += QLatin1Char(digits[(c >> shift) & 0xF]);
    return out + QLatin1Char('_');
}

} // namespace

QByteArray xmlText(QStringView text, XmlPlace place)
{
    QString out;
    qsizetype copied = 0; // text before this index is in `out`
    const auto replace = [&](qsizetype at, QStringView with) {
        out += text.mid(copied, at - copied);
        out += with;
        copied = at + 1;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode()))
            ++i;
        else if (!holds(c, place))
            replace(i, escape(c));
        else if (place != XmlPlace::Formula && escapeAt(text, i))
            replace(i, u"_x005F_"); // the underscore itself, escaped
    }
    if (copied == 0)
        return text.toUtf8();
    out += text.mid(copied);
    return out.toUtf8();
}

qsizetype utf8Length(const QByteArray &text)
{
    qsizetype length = 0;
    for (const char byte : text)
        length += (uchar(byte) & 0xC0) != 0x80;
    return length;
}

} // namespace kasovka::xlsx
