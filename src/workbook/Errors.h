#pragma once
// The user-facing texts of the workbook file layer.

#include <QString>

namespace kasovka::xlstext {

inline QString cantFindFile(const QString &path)
{
    return QStringLiteral("Can't find the file \"%1\"").arg(path);
}
inline QString fileInvalid(const QString &path)
{
    return QStringLiteral("The file \"%1\" is invalid").arg(path);
}
inline QString cantReadFile(const QString &path)
{
    return QStringLiteral("Can't read file \"%1\"").arg(path);
}
inline QString cantOpenStream(const QString &name)
{
    return QStringLiteral("Can't open Stream \"%1\"").arg(name);
}
inline QString invalidVersion()
{
    return QStringLiteral("Template file is saved with an invalid Excel version");
}
inline QString recordsInvalid()
{
    return QStringLiteral("Error reading Excel records. File invalid");
}
// The same text, followed by where the damage is and what it is, so that
// a damaged template can be looked into.
inline QString damagedRecord(const QString &record, qsizetype offset, const QString &what)
{
    const QString where = offset < 0 ? QString()
                                     : QStringLiteral(" at offset 0x%1").arg(offset, 0, 16);
    return recordsInvalid() + QStringLiteral(": ") + record + where + QStringLiteral(", ") + what;
}
inline QString passwordProtected()
{
    return QStringLiteral("File is password protected");
}
inline QString missingSharedFormula()
{
    return QStringLiteral("Can't find Shared Formula");
}
inline QString unsupportedToken(int row, int col, int token)
{
    return QStringLiteral("Formula at Row %1, column %2 is not supported. Token Id: 0x%3")
        .arg(row)
        .arg(col)
        .arg(token, 2, 16, QLatin1Char(' ')); // printf's %2x
}
inline QString invalidRow(int row)
{
    return QStringLiteral("Invalid Row (%1)").arg(row);
}
inline QString invalidColumn(int col)
{
    return QStringLiteral("Invalid Column (%1)").arg(col);
}
inline QString invalidInsertArguments()
{
    return QStringLiteral("Ivalid arguments to call InsertAndCopyRows");
}
inline QString invalidSheet(int sheet, int first, int last)
{
    return QStringLiteral("Sheet number \"%1\" invalid. Must be between %2 and %3")
        .arg(sheet)
        .arg(first)
        .arg(last);
}
inline QString tooManyEntries(int count, int maximum)
{
    return QStringLiteral("Too many entries for this kind of record (%1 out of a maximum of %2)")
        .arg(count)
        .arg(maximum);
}
inline QString stringTooLarge()
{
    return QStringLiteral("String too large");
}
inline QString tooManyPageBreaks()
{
    return QStringLiteral("Too many manual Page breaks for this sheet");
}
inline QString cantCopyOle()
{
    return QStringLiteral("Can't copy OLE objects embedded on a sheet");
}

// A part the layer keeps as read and decodes only for writers of other
// formats (print setup, styles, add-in names), damaged; in Czech, as those
// writers report everything else.
inline QString unreadablePart(const QString &what)
{
    return QStringLiteral("Šablona je poškozená: %1 nelze přečíst.").arg(what);
}

} // namespace kasovka::xlstext
