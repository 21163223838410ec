#include "core/PrivateFolder.h"

#include "core/Error.h"
#include "core/SystemError.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <filesystem>
#include <memory>
#include <mutex>
#include <system_error>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kasovka {

namespace {

constexpr int kRandomChars = 6;
// A folder is created before its lock is taken; one this young may be in
// that moment and is not taken for a leftover.
constexpr time_t kYoungSeconds = 60;

std::filesystem::path nativePath(const QString &path)
{
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

bool isLeftoverName(const QString &name, const QString &prefix)
{
    return name.size() == prefix.size() + kRandomChars && name.startsWith(prefix);
}

} // namespace

std::unique_ptr<TPrivateFolder> TPrivateFolder::create(const QString &parent, const QString &prefix, int &error)
{
    sweepStaleFolders(parent, prefix);
    QByteArray pattern = QFile::encodeName(QDir(parent).absolutePath() + u'/' + prefix) + "XXXXXX";
    if (!::mkdtemp(pattern.data())) {
        error = errno;
        return nullptr;
    }
    const int fd = ::open(pattern.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        error = errno;
        if (fd >= 0)
            ::close(fd);
        ::rmdir(pattern.constData());
        return nullptr;
    }
    return std::unique_ptr<TPrivateFolder>(new TPrivateFolder(QFile::decodeName(pattern), fd));
}

TPrivateFolder::~TPrivateFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(nativePath(m_path), ignored);
    ::close(m_fd);
}

void sweepStaleFolders(const QString &parent, const QString &prefix)
{
    const QByteArray parentName = QFile::encodeName(parent);
    DIR *dir = ::opendir(parentName.constData());
    if (!dir)
        return;
    const int parentFd = ::dirfd(dir);
    const time_t now = ::time(nullptr);
    while (const dirent *entry = ::readdir(dir)) {
        const QString name = QFile::decodeName(entry->d_name);
        if (!isLeftoverName(name, prefix))
            continue;
        struct stat info {};
        if (::fstatat(parentFd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISDIR(info.st_mode)
            || info.st_uid != ::geteuid() || now - info.st_mtime < kYoungSeconds)
            continue;
        const int fd = ::openat(parentFd, entry->d_name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            continue;
        // The lock is free only when the run that made the folder has ended.
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            std::error_code ignored;
            std::filesystem::remove_all(nativePath(parent) / entry->d_name, ignored);
        }
        ::close(fd);
    }
    ::closedir(dir);
}

QString runTemporaryFolder()
{
    static std::mutex mutex;
    static std::unique_ptr<TPrivateFolder> folder;
    const std::lock_guard<std::mutex> lock(mutex);
    if (!folder) {
        int error = 0;
        folder = TPrivateFolder::create(QDir::tempPath(), QStringLiteral("kasovka-"), error);
        if (!folder)
            throw Error(QStringLiteral("Ve složce pro dočasné soubory %1 nelze vytvořit složku programu: %2.")
                            .arg(QDir::toNativeSeparators(QDir::tempPath()), systemErrorText(error)));
    }
    return folder->path();
}

} // namespace kasovka
