#include "export/ExportTarget.h"

#include "core/Error.h"
#include "core/ReplacingFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace kasovka {

namespace {

// The path with its links resolved, also for a file that does not exist yet
// (then through its folder).
QString resolvedPath(const QString &path)
{
    const QFileInfo info(path);
    if (info.exists())
        return info.canonicalFilePath();
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? info.absoluteFilePath() : folder + u'/' + info.fileName();
}

bool sameFile(const QString &a, const QString &b)
{
    std::error_code code;
    return std::filesystem::equivalent(QFile::encodeName(a).toStdString(), QFile::encodeName(b).toStdString(),
                                       code)
        && !code;
}

} // namespace

bool IsTemplateFile(const QString &target, const QString &templateFolder)
{
    const QString resolved = resolvedPath(target);
    const QDir folder(templateFolder);
    const QFileInfoList templates =
        folder.entryInfoList({QStringLiteral("*.xl")}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo &file : templates) {
        // Letter case is ignored: on a file system that ignores it, the
        // names are one file.
        if (resolved.compare(resolvedPath(file.filePath()), Qt::CaseInsensitive) == 0
            || sameFile(target, file.filePath()))
            return true;
    }
    return false;
}

TExportTarget::TExportTarget(const QString &target)
    : m_target(target), m_temporary(siblingTemporaryPath(target))
{
}

TExportTarget::~TExportTarget()
{
    if (!m_committed)
        QFile::remove(m_temporary);
}

void TExportTarget::commit()
{
    if (!renameOver(m_temporary, m_target, nullptr))
        throw Error(QStringLiteral("Nelze přepsat soubor ") + m_target);
    m_committed = true;
}

} // namespace kasovka
