#include "app/HostFolderCheck.h"

#include "app/TBaseApplication.h"

#include <QDir>
#include <QFileInfo>

namespace kasovka {

namespace {

QString notInDataTreeText(const QString &yearFolder)
{
    return QStringLiteral("Doplněk nelze spustit: adresář účetního roku ") + yearFolder
        + QStringLiteral(" neleží v datové struktuře účetního systému (…/AGENDA…/ROK…/).");
}

QString unreadableText(const QString &folder)
{
    return QStringLiteral("Doplněk nelze spustit: data účetního systému v adresáři %1 nelze číst "
                          "(chybí oprávnění ke čtení).")
        .arg(folder);
}

// Listing a folder and opening its files needs both permissions.
bool canRead(const QFileInfo &folder)
{
    if (!folder.isReadable())
        return false;
#ifdef Q_OS_UNIX
    return folder.isExecutable();
#else
    return true;
#endif
}

QString withTrailingDelimiter(const QString &path)
{
    return path.endsWith(u'/') ? path : path + u'/';
}

// A folder that does not show may be missing or hidden behind a folder we
// may not read; the nearest folder that shows tells which. Empty when the
// folder exists, else the message.
QString missingFolderText(const QString &yearFolder)
{
    if (QFileInfo(yearFolder).isDir())
        return QString();
    QString ancestor = QDir::cleanPath(yearFolder);
    while (!QFileInfo::exists(ancestor) && !QDir(ancestor).isRoot() && ancestor.contains(u'/'))
        ancestor = QFileInfo(ancestor).path();
    const QFileInfo shown(ancestor);
    if (shown.isDir() && !canRead(shown))
        return unreadableText(withTrailingDelimiter(ancestor));
    return QStringLiteral("Doplněk nelze spustit: adresář účetního roku %1 neexistuje.").arg(yearFolder);
}

} // namespace

bool CheckHostFolders(TBaseApplication &app)
{
    const auto refuse = [&app](const QString &text) {
        app.ShowMessageDialog(text, MessageKind::Error);
        return false;
    };
    const QString year = app.YearFolder();
    if (!app.HasHostFolderShape())
        return refuse(notInDataTreeText(year));
    if (const QString missing = missingFolderText(year); !missing.isEmpty())
        return refuse(missing);
    // The plug-in's own folders go below the data root; never at the top of
    // the file system (a year folder /AGENDA.X/ROK.1/, or one reached by
    // ".." or a link).
    const QString dataRoot = QFileInfo(app.DataFolder()).canonicalFilePath();
    if (dataRoot.isEmpty() || QDir(dataRoot).isRoot())
        return refuse(notInDataTreeText(year));
    for (const QString &folder : {app.DataFolder(), app.AgendaFolder(), year}) {
        if (!canRead(QFileInfo(folder)))
            return refuse(unreadableText(folder));
    }
    if (!app.YearSettingsError().isEmpty())
        return refuse(QStringLiteral("Doplněk nelze spustit: nastavení účetního roku nelze přečíst. ")
                      + app.YearSettingsError());
    return true;
}

} // namespace kasovka
