#include "core/ReplacingFile.h"

#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <filesystem>
#include <system_error>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace kasovka {

namespace {

std::filesystem::path nativePath(const QString &path)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

// An entry of any kind, a dangling link included.
bool entryExists(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

} // namespace

QString replaceRefusal(const QString &target)
{
    const QFileInfo info(target);
    if (info.isSymLink() || !info.exists() || info.isFile())
        return QString();
    if (info.isDir())
        return QStringLiteral("%1 je složka, ne soubor").arg(target);
    return QStringLiteral("%1 není obyčejný soubor").arg(target);
}

QString siblingTemporaryPath(const QString &target)
{
    const QFileInfo info(target);
    const QString stem = info.absolutePath() + QLatin1String("/.") + info.fileName() + QLatin1Char('.');
    for (;;) {
        const QString candidate = stem
            + QString::number(QRandomGenerator::global()->generate64(), 36) + QLatin1String(".tmp");
        if (!entryExists(candidate))
            return candidate;
    }
}

bool renameOver(const QString &from, const QString &to, QString *error)
{
    std::error_code code;
    // rename(2) on POSIX and MoveFileEx with replacing on Windows: one step,
    // and a link at `to` is itself replaced.
    std::filesystem::rename(nativePath(from), nativePath(to), code);
    if (!code)
        return true;
    if (error)
        *error = QStringLiteral("%1 nelze nahradit (%2)").arg(to, QString::fromLocal8Bit(code.message()));
    return false;
}

TReplacingFile::TReplacingFile(const QString &target) : m_target(target) {}

TReplacingFile::~TReplacingFile()
{
    if (m_committed || m_file.fileName().isEmpty())
        return;
    m_file.close();
    QFile::remove(m_file.fileName());
}

bool TReplacingFile::fail(const QString &error)
{
    m_error = error;
    return false;
}

bool TReplacingFile::open()
{
    const QString refusal = replaceRefusal(m_target);
    if (!refusal.isEmpty())
        return fail(refusal);
    const QFileInfo info(m_target);
    const bool regular = info.isFile() && !info.isSymLink();
    if (regular && !info.isWritable() && !m_replaceReadOnly)
        return fail(QStringLiteral("%1 je jen pro čtení").arg(m_target));
    if (regular && !m_permissions)
        m_permissions = info.permissions();
    m_file.setFileName(siblingTemporaryPath(m_target));
    // NewOnly: never an entry someone else has put at that name meanwhile.
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        const QString reason = m_file.errorString();
        m_file.setFileName(QString());
        return fail(QStringLiteral("%1 nelze vytvořit (%2)").arg(m_target, reason));
    }
    if (m_permissions)
        m_file.setPermissions(*m_permissions);
    return true;
}

qint64 TReplacingFile::write(const QByteArray &bytes)
{
    return m_file.write(bytes);
}

bool TReplacingFile::commit()
{
    if (!m_file.isOpen())
        return fail(m_error.isEmpty() ? QStringLiteral("%1 nebyl otevřen").arg(m_target) : m_error);
    const auto failed = [this] {
        return fail(QStringLiteral("%1 nelze zapsat (%2)").arg(m_target, m_file.errorString()));
    };
    if (!m_file.flush() || m_file.error() != QFileDevice::NoError)
        return failed();
#ifdef Q_OS_UNIX
    // The rename must not reach the disk before the content does.
    if (::fsync(m_file.handle()) != 0)
        return fail(QStringLiteral("%1 nelze zapsat (%2)").arg(m_target, qt_error_string(errno)));
#endif
    if (m_modified.isValid())
        m_file.setFileTime(m_modified, QFileDevice::FileModificationTime);
    m_file.close();
    if (m_file.error() != QFileDevice::NoError)
        return failed();
    QString error;
    if (!renameOver(m_file.fileName(), m_target, &error))
        return fail(error);
    m_committed = true;
    return true;
}

} // namespace kasovka
