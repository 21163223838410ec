#include "core/FileNames.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace kasovka {

QString fileIgnoringCase(const QString &path)
{
    const QFileInfo info(path);
    if (info.isFile())
        return path;
    const QDir folder = info.dir();
    const QStringList names = folder.entryList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString &name : names) {
        if (name.compare(info.fileName(), Qt::CaseInsensitive) == 0)
            return folder.filePath(name);
    }
    return path;
}

QString folderPart(const QString &path)
{
    qsizetype at = path.lastIndexOf(QLatin1Char('/'));
    if (QDir::separator() != QLatin1Char('/'))
        at = std::max({at, path.lastIndexOf(QDir::separator()), path.lastIndexOf(QLatin1Char(':'))});
    return path.left(at + 1);
}

} // namespace kasovka
