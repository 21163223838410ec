#include "core/OutputFile.h"

#include "core/Error.h"
#include "core/PrivateFolder.h"
#include "core/SystemError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kasovka {

namespace {

// The private folder beside the target: short, so that every name the
// target may have still fits beside it.
const QString kFolderPrefix = QStringLiteral(".kasovka-");
const char *const kFileName = "f";

// Left by the writer of earlier versions when killed: a workbook beside its
// target. One this old belongs to no export still running.
constexpr qint64 kLegacyLeftoverSeconds = 3600;

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

// What the umask leaves of rw-rw-rw- for a new file; read without changing
// the process's umask where the system tells it.
int newFileMode()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith("Umask:")) {
                bool ok = false;
                const int mask = line.mid(6).trimmed().toInt(&ok, 8);
                if (ok)
                    return 0666 & ~mask;
            }
        }
    }
    static std::mutex mutex;
    const std::lock_guard<std::mutex> lock(mutex);
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return 0666 & ~int(mask);
}

int modeOf(QFileDevice::Permissions permissions)
{
    int mode = 0;
    const std::pair<QFileDevice::Permission, int> bits[] = {
        {QFileDevice::ReadOwner, S_IRUSR}, {QFileDevice::WriteOwner, S_IWUSR}, {QFileDevice::ExeOwner, S_IXUSR},
        {QFileDevice::ReadGroup, S_IRGRP}, {QFileDevice::WriteGroup, S_IWGRP}, {QFileDevice::ExeGroup, S_IXGRP},
        {QFileDevice::ReadOther, S_IROTH}, {QFileDevice::WriteOther, S_IWOTH}, {QFileDevice::ExeOther, S_IXOTH}};
    for (const auto &[permission, bit] : bits)
        if (permissions.testFlag(permission))
            mode |= bit;
    return mode;
}

void removeLegacyLeftovers(const QString &folder)
{
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-kLegacyLeftoverSeconds);
    const QFileInfoList files = QDir(folder).entryInfoList({QStringLiteral(".kasovka-??????.xlsx")},
                                                           QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo &file : files) {
        if (!file.isSymLink() && file.ownerId() == ::geteuid() && file.lastModified() < before)
            QFile::remove(file.filePath());
    }
}

} // namespace

QString templateRefusal(const QString &target)
{
    return QStringLiteral("Soubor \"%1\" je šablona exportu a nelze jej přepsat. Zadejte jiné jméno souboru.")
        .arg(QDir::toNativeSeparators(target));
}

bool isTemplateFile(const QString &target, const QString &templateFolder)
{
    if (templateFolder.isEmpty())
        return false;
    const QString resolved = resolvedPath(target);
    const QFileInfoList templates =
        QDir(templateFolder).entryInfoList({QStringLiteral("*.xl")}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo &file : templates) {
        // Letter case is ignored: on a file system that ignores it, the
        // names are one file.
        if (resolved.compare(resolvedPath(file.filePath()), Qt::CaseInsensitive) == 0
            || sameFile(target, file.filePath()))
            return true;
    }
    return false;
}

TOutputFile::TOutputFile(const QString &target, OutputPolicy policy)
    : m_target(target), m_policy(std::move(policy))
{
}

TOutputFile::~TOutputFile() = default;

QString TOutputFile::displayPath() const
{
    return QDir::toNativeSeparators(m_target);
}

void TOutputFile::fail(const QString &what, int error) const
{
    throw OutputError(QStringLiteral("%1 %2 nelze %3: %4.").arg(m_policy.noun, displayPath(), what, systemErrorText(error)));
}

void TOutputFile::check()
{
    for (const QString &folder : std::as_const(m_policy.templateFolders)) {
        if (isTemplateFile(m_target, folder))
            throw OutputError(templateRefusal(m_target));
    }
    struct stat info {};
    if (::lstat(QFile::encodeName(m_target).constData(), &info) != 0) {
        if (errno != ENOENT)
            fail(QStringLiteral("vytvořit"), errno);
        m_mode = newFileMode();
        return;
    }
    if (S_ISDIR(info.st_mode))
        throw OutputError(QStringLiteral("%1 %2 je složka, ne soubor; nelze jej zapsat.").arg(m_policy.noun, displayPath()));
    const bool stream = S_ISFIFO(info.st_mode) || S_ISCHR(info.st_mode);
    if (stream && m_policy.streamInPlace) {
        m_inPlace = true;
        return;
    }
    if (!S_ISREG(info.st_mode) && !S_ISLNK(info.st_mode))
        throw OutputError(QStringLiteral("%1 %2 je zařízení, roura nebo soket, ne obyčejný soubor; nelze jej zapsat.")
                              .arg(m_policy.noun, displayPath()));
    if (!m_policy.replace)
        throw OutputError(QStringLiteral("%1 %2 již existuje.").arg(m_policy.noun, displayPath()));
    if (S_ISREG(info.st_mode)) {
        if (!m_policy.replaceReadOnly && ::access(QFile::encodeName(m_target).constData(), W_OK) != 0)
            throw OutputError(QStringLiteral("%1 %2 je jen pro čtení; nelze jej přepsat.").arg(m_policy.noun, displayPath()));
        m_mode = int(info.st_mode & 0777);
    } else {
        m_mode = newFileMode();
    }
}

void TOutputFile::open()
{
    check();
    if (m_policy.permissions)
        m_mode = modeOf(*m_policy.permissions);
    if (m_inPlace) {
        // A pipe or a device: opened as it is, never created or followed.
        const int fd = ::open(QFile::encodeName(m_target).constData(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            fail(QStringLiteral("otevřít pro zápis"), errno);
        auto file = std::make_unique<QFile>();
        file->open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle);
        m_file = std::move(file);
        return;
    }
    const QString folder = QFileInfo(m_target).absolutePath();
    removeLegacyLeftovers(folder);
    int error = 0;
    m_folder = TPrivateFolder::create(folder, kFolderPrefix, error);
    if (!m_folder)
        fail(QStringLiteral("vytvořit"), error);
    const int fd = ::openat(m_folder->descriptor(), kFileName, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                            0600);
    if (fd < 0)
        fail(QStringLiteral("vytvořit"), errno);
    auto file = std::make_unique<QFile>();
    file->open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle);
    m_file = std::move(file);
}

QIODevice &TOutputFile::device()
{
    if (!m_file)
        throw OutputError(QStringLiteral("%1 %2 nebyl otevřen pro zápis.").arg(m_policy.noun, displayPath()));
    return *m_file;
}

void TOutputFile::write(const QByteArray &bytes)
{
    errno = 0;
    if (device().write(bytes) != bytes.size())
        writeFailed();
}

void TOutputFile::writeFailed() const
{
    fail(QStringLiteral("zapsat"), errno ? errno : EIO);
}

QString TOutputFile::privatePath() const
{
    return m_folder ? m_folder->path() + u'/' + QLatin1String(kFileName) : QString();
}

void TOutputFile::commit()
{
    if (!m_file)
        throw OutputError(QStringLiteral("%1 %2 nebyl otevřen pro zápis.").arg(m_policy.noun, displayPath()));
    errno = 0;
    if (!m_file->flush() || m_file->error() != QFileDevice::NoError)
        fail(QStringLiteral("zapsat"), errno ? errno : EIO);
    if (m_inPlace) {
        m_file->close();
        m_committed = true;
        return;
    }
    m_file->close();
    // The file as a library may have rewritten it by name, inside the folder
    // nobody else can enter.
    const int fd = ::openat(m_folder->descriptor(), kFileName, O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        fail(QStringLiteral("zapsat"), errno);
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    if (::fchmod(fd, mode_t(m_mode)) != 0)
        fail(QStringLiteral("zapsat"), errno);
    if (m_policy.modified.isValid()) {
        const qint64 ms = m_policy.modified.toMSecsSinceEpoch();
        const timespec times[2] = {{0, UTIME_OMIT}, {time_t(ms / 1000), long(ms % 1000) * 1000000}};
        ::futimens(fd, times);
    }
    // The rename must not reach the disk before the content does.
    if (::fsync(fd) != 0)
        fail(QStringLiteral("zapsat"), errno);
    rename();
    m_committed = true;
}

void TOutputFile::rename()
{
    const QByteArray target = QFile::encodeName(m_target);
    const int folder = m_folder->descriptor();
    if (m_policy.replace) {
        // A link at the target is itself replaced.
        if (::renameat(folder, kFileName, AT_FDCWD, target.constData()) != 0)
            fail(QStringLiteral("nahradit"), errno);
        return;
    }
    // Another program may have created the target since it was checked: it
    // is kept, and this run says so.
    int rc = ::renameat2(folder, kFileName, AT_FDCWD, target.constData(), RENAME_NOREPLACE);
    if (rc != 0 && (errno == EINVAL || errno == ENOSYS)) {
        // A file system without a no-replace rename: a new hard link fails
        // the same way when the name is taken.
        rc = ::linkat(folder, kFileName, AT_FDCWD, target.constData(), 0);
        if (rc == 0)
            ::unlinkat(folder, kFileName, 0);
    }
    if (rc == 0)
        return;
    if (errno == EEXIST)
        throw OutputError(QStringLiteral("%1 %2 mezitím vytvořil jiný program; zůstal beze změny "
                                         "a nový soubor nebyl uložen.")
                              .arg(m_policy.noun, displayPath()));
    fail(QStringLiteral("vytvořit"), errno);
}

} // namespace kasovka
