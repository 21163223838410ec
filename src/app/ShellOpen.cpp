#include "app/ShellOpen.h"

#include "app/UiServices.h"

#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QUrl>

namespace kasovka {

namespace {

// The desktop tools answer at once; a hanging one must not hang the program.
constexpr int ToolTimeoutMs = 10000;

} // namespace

bool IsAddress(const QString &path)
{
    if (QFileInfo::exists(path))
        return false;
    const QUrl url(path, QUrl::StrictMode);
    // A one-letter scheme is a drive letter ("C:/..."), not an address.
    return url.isValid() && url.scheme().size() > 1;
}

QString AssociationMimeType(const QString &path)
{
    if (IsAddress(path))
        return QStringLiteral("x-scheme-handler/") + QUrl(path).scheme().toLower();
    return QMimeDatabase().mimeTypeForFile(path).name();
}

bool HasAssociatedProgram(const QString &mimeType)
{
    QProcess query;
    query.start(QStringLiteral("xdg-mime"),
                {QStringLiteral("query"), QStringLiteral("default"), mimeType});
    if (!query.waitForFinished(ToolTimeoutMs)) {
        query.kill();
        query.waitForFinished();
        return false;
    }
    if (query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0)
        return false;
    return !query.readAllStandardOutput().trimmed().isEmpty();
}

int OpenWithShell(const QString &path)
{
    if (!IsAddress(path) && !QFileInfo::exists(path))
        return ShellFileNotFound;
    if (!HasAssociatedProgram(AssociationMimeType(path)))
        return ShellNoAssociation;
    if (!QProcess::startDetached(QStringLiteral("xdg-open"), {path}))
        return ShellNoAssociation;
    return ShellOpenSucceeded;
}

} // namespace kasovka
