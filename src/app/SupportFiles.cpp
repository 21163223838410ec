#include "app/SupportFiles.h"

#include "core/Error.h"
#include "core/IniFile.h"
#include "core/OutputFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kasovka {

namespace {

const QString InstallSection = QStringLiteral("INSTALL");
const QString SignKey = QStringLiteral("SIGN");
const QString CopySection = QStringLiteral("COPY");
constexpr int LastCopyPair = 999;
constexpr qint64 CopyChunk = 1 << 16;

QString withTrailingDelimiter(const QString &path)
{
    return path.endsWith(u'/') ? path : path + u'/';
}

// Folder texts of the copy list may come with Windows delimiters.
QString withPlatformDelimiters(QString path)
{
    return path.replace(u'\\', u'/');
}

QString readSign(const QString &fileName)
{
    return TIniFile(fileName).ReadString(InstallSection, SignKey, QString());
}

// The copy is a new file renamed over the target: a failed copy never leaves
// a truncated file, and a link someone put at the target's name is replaced
// instead of overwriting the file it points to. A read-only target is
// replaced as well; the copy takes the source's permissions and time.
bool copyFile(const QString &source, const QString &target)
{
    const QFileInfo sourceInfo(source);
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    TOutputFile out(target, {.replace = true,
                             .replaceReadOnly = true,
                             .permissions = sourceInfo.permissions(),
                             .modified = sourceInfo.lastModified()});
    try {
        out.open();
        while (!in.atEnd()) {
            const QByteArray chunk = in.read(CopyChunk);
            if (in.error() != QFileDevice::NoError)
                return false;
            out.write(chunk);
        }
        out.commit();
    } catch (const Error &) {
        return false;
    }
    return true;
}

} // namespace

bool CopyFolderFiles(const QString &sourceFolder, const QString &destinationFolder,
                     QString &errorText)
{
    const QDir source(sourceFolder);
    if (!source.exists())
        return true;
    const QFileInfoList entries =
        source.entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    if (entries.isEmpty())
        return true;

    const QString destination = withTrailingDelimiter(destinationFolder);
    QDir().mkpath(destination);
    for (const QFileInfo &entry : entries) {
        if (!entry.isFile())
            continue; // a dangling link, a pipe, a socket
        const QString target = destination + entry.fileName();
        if (!copyFile(entry.filePath(), target)) {
            errorText = QStringLiteral("Při kopírování souboru %1 do %2 došlo k chybě.")
                            .arg(entry.filePath(), target);
            return false;
        }
    }
    return true;
}

bool InstallSupportFiles(const QString &programFolder, const QString &programDataFolder,
                         const QString &dataFolder, QString &errorText)
{
    errorText.clear();
    const QString setupFolder = programFolder + QStringLiteral("SetupDat/");
    const QString dataSetup = programDataFolder + QStringLiteral("setup.ini");
    const QString installedSign = readSign(setupFolder + QStringLiteral("setup.ini"));
    if (installedSign == readSign(dataSetup))
        return true;

    TIniFile copyList(programFolder + QStringLiteral("Install.ini"));
    for (int n = 1; n <= LastCopyPair; ++n) {
        const QString number = QString::number(n);
        const QString sourceName =
            copyList.ReadString(CopySection, QStringLiteral("Source") + number, QString());
        if (sourceName.isEmpty())
            break;
        const QString source = withTrailingDelimiter(setupFolder + withPlatformDelimiters(sourceName));
        QString destination = withPlatformDelimiters(
            copyList.ReadString(CopySection, QStringLiteral("Dest") + number, QString()));
        if (destination.isEmpty())
            break;
        destination.replace(QStringLiteral("%HOSTDATA%"), dataFolder, Qt::CaseInsensitive);
        destination = withTrailingDelimiter(destination);

        if (!QFileInfo(destination).isDir())
            QDir().mkpath(destination);
        if (!QFileInfo(destination).isDir()) {
            errorText = QStringLiteral("Nelze vytvořit adresář ") + destination;
            return false;
        }
        if (!CopyFolderFiles(source, destination, errorText))
            return false;
    }

    try {
        QDir().mkpath(programDataFolder);
        TIniFile(dataSetup).WriteString(InstallSection, SignKey, installedSign);
    } catch (const Error &) {
        // The files are in place; without the sign the next start only
        // copies them again.
    }
    return true;
}

} // namespace kasovka
