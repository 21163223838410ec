// The pure helpers of the launch context: the host's parameter protocol and
// the texts derived from its values.

#include "app/TBaseApplication.h"

#include "core/DisplayFormat.h"

namespace kasovka {

namespace {

constexpr int MaxParameterLength = 255;
const QChar Delimiter = u'/';

QString withoutTrailingDelimiter(const QString &path)
{
    return path.endsWith(Delimiter) ? path.chopped(1) : path;
}

QString withTrailingDelimiter(const QString &path)
{
    return path.endsWith(Delimiter) ? path : path + Delimiter;
}

QString lastComponent(const QString &path)
{
    return path.mid(path.lastIndexOf(Delimiter) + 1);
}

// The path without its last component; the delimiter before it stays.
QString withoutLastComponent(const QString &path)
{
    return path.left(path.lastIndexOf(Delimiter) + 1);
}

// The agenda folder or data root above a year folder, or an empty text when
// the path does not end in .../AGENDA*/ROK*. The name tests ignore letter
// case; the result keeps the given case, since on a case-sensitive file
// system an upper-cased path names a folder that does not exist.
QString deriveHostFolderRaw(const QString &yearFolder, HostFolderLevel level)
{
    const QString year = withoutTrailingDelimiter(yearFolder.trimmed());
    if (!lastComponent(year).startsWith(QLatin1String("ROK"), Qt::CaseInsensitive))
        return QString();
    const QString agenda = withoutTrailingDelimiter(withoutLastComponent(year));
    if (!lastComponent(agenda).startsWith(QLatin1String("AGENDA"), Qt::CaseInsensitive))
        return QString();
    return level == HostFolderLevel::Agenda ? agenda : withoutLastComponent(agenda);
}

} // namespace

QList<TLaunchParameter> TBaseApplication::ParseLaunchParameters(const QStringList &arguments)
{
    QString rest;
    for (const QString &argument : arguments)
        rest += argument + u' ';

    QList<TLaunchParameter> parameters;
    while (!rest.isEmpty()) {
        const qsizetype question = rest.indexOf(u'?');
        if (question < 0)
            break;
        const qsizetype equals = rest.indexOf(u'=');
        if (equals < question)
            break; // also when there is no "="
        const QString marker = rest.mid(question, equals - question);
        rest = rest.mid(equals + 1);
        // Case-insensitive search keeps the indexes of the original text,
        // which upper-casing both sides would not (ß becomes SS).
        const qsizetype closing = rest.indexOf(marker, 0, Qt::CaseInsensitive);
        if (closing < 0)
            break;
        parameters.append({marker.mid(1).toUpper().left(MaxParameterLength),
                           rest.left(closing).left(MaxParameterLength)});
        rest = rest.mid(closing + marker.size());
    }
    return parameters;
}

QString TBaseApplication::DeriveHostFolder(const QString &yearFolder, HostFolderLevel level)
{
    return withTrailingDelimiter(deriveHostFolderRaw(yearFolder, level));
}

bool TBaseApplication::HasHostFolderShape() const
{
    return !deriveHostFolderRaw(YearFolder(), HostFolderLevel::DataRoot).isEmpty();
}

QString TBaseApplication::ExtractVersionNumber(const QString &value)
{
    QString number;
    for (const QChar ch : value) {
        if (ch.isSpace())
            break;
        if ((ch >= u'0' && ch <= u'9') || ch == u'.' || ch == u',')
            number += ch;
    }
    return number;
}

QString TBaseApplication::SanitizeFileName(const QString &name)
{
    static const QString forbidden = QStringLiteral("\"*/:<>?\\|");
    QString result = name;
    for (QChar &ch : result) {
        // Control characters cannot stand in a file name either.
        if (forbidden.contains(ch) || ch.unicode() < 0x20)
            ch = u'_';
    }
    return result;
}

QString TBaseApplication::DisplayFormatForDecimals(int decimals)
{
    return kasovka::DisplayFormatForDecimals(decimals);
}

} // namespace kasovka
