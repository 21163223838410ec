#include "support/Unprivileged.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kasovka::test {

namespace {
constexpr uid_t NobodyId = 65534;
}

QString runUnprivileged(const std::function<QString()> &body)
{
    if (::geteuid() != 0)
        return body();
    int channel[2];
    if (::pipe(channel) != 0)
        return QStringLiteral("(child failed: no pipe)");
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        QByteArray result = "(child failed: cannot drop to nobody)";
        if (::setgroups(0, nullptr) == 0 && ::setgid(NobodyId) == 0 && ::setuid(NobodyId) == 0)
            result = body().toUtf8();
        for (qsizetype done = 0; done < result.size();) {
            const ssize_t n = ::write(channel[1], result.constData() + done, size_t(result.size() - done));
            if (n <= 0)
                break;
            done += n;
        }
        ::_exit(0);
    }
    ::close(channel[1]);
    QByteArray result;
    char buffer[4096];
    for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;)
        result.append(buffer, n);
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return QStringLiteral("(child failed: status %1)").arg(status);
    return QString::fromUtf8(result);
}

void openToOthers(const QString &folder)
{
    for (QString path = QDir::cleanPath(folder); !path.isEmpty() && path != QStringLiteral("/");
         path = QFileInfo(path).path()) {
        const QFileDevice::Permissions permissions = QFile::permissions(path);
        if (!permissions.testFlags(QFileDevice::ReadOther | QFileDevice::ExeOther))
            QFile::setPermissions(path, permissions | QFileDevice::ReadOther | QFileDevice::ExeOther);
    }
}

} // namespace kasovka::test
