#pragma once
// Writing a file in a folder that others can write to as well (the host's
// shared data root): the new content goes to a fresh file beside the target,
// which then replaces the target's directory entry in one rename. A symbolic
// link at the target is replaced, never written through, so no other file is
// touched; an entry that is neither a regular file nor a link (a folder, a
// device, a pipe) is refused. Until the rename the target is unchanged.
//
//     TReplacingFile file(path);
//     if (!file.open() || file.write(bytes) != bytes.size() || !file.commit())
//         throw Error(... + file.errorString());

#include <QDateTime>
#include <QFile>
#include <QString>

#include <optional>

namespace kasovka {

class TReplacingFile {
public:
    explicit TReplacingFile(const QString &target);
    ~TReplacingFile(); // discards the new file unless committed
    TReplacingFile(const TReplacingFile &) = delete;
    TReplacingFile &operator=(const TReplacingFile &) = delete;

    // An existing regular file without write permission is refused unless
    // allowed here (the support-file copy replaces such files).
    void setReplaceReadOnly(bool allow) { m_replaceReadOnly = allow; }
    // The new file's permissions; by default those of the regular file it
    // replaces, else the system's default for new files.
    void setPermissions(QFileDevice::Permissions permissions) { m_permissions = permissions; }
    void setModificationTime(const QDateTime &time) { m_modified = time; }

    // False with errorString() when the target cannot be replaced or the
    // new file cannot be created.
    bool open();
    qint64 write(const QByteArray &bytes);
    // Flushes the new file to the disk and renames it over the target.
    bool commit();
    // Czech, for the end of a message ("… nelze zapsat: " + errorString()).
    QString errorString() const { return m_error; }

private:
    bool fail(const QString &error);

    QString m_target;
    QFile m_file;
    QString m_error;
    bool m_replaceReadOnly = false;
    bool m_committed = false;
    std::optional<QFileDevice::Permissions> m_permissions;
    QDateTime m_modified;
};

// Why `target` cannot be replaced by a new file (it is a folder, a device,
// a pipe, ...), in Czech; empty when it is a regular file, a link or absent.
QString replaceRefusal(const QString &target);
// A name beside `target` that no entry has now, for a file that is to
// replace it ("<folder>/.<name>.<random>.tmp").
QString siblingTemporaryPath(const QString &target);
// Renames `from` over `to` in one step; a link at `to` is replaced itself.
// False with a Czech reason in `error`.
bool renameOver(const QString &from, const QString &to, QString *error);

} // namespace kasovka
