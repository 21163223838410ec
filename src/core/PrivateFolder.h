#pragma once
// Folders only one run of the program uses, for files nobody else may see,
// swap or pre-create while they are being written (a workbook before it is
// renamed into place, the copies of the host's tables a read-only user
// reads).
//
// A private folder is created with a fresh name and mode 0700 and holds a
// lock for as long as its run uses it. A run that is killed leaves its
// folder unlocked; the next run that makes a folder of the same kind in the
// same place removes it (sweepStaleFolders).

#include <QString>

#include <memory>

namespace kasovka {

class TPrivateFolder {
public:
    // A new folder `parent`/`prefix` + six random characters, after the
    // leftovers of that kind are swept; null with errno in `error` when it
    // cannot be created.
    static std::unique_ptr<TPrivateFolder> create(const QString &parent, const QString &prefix, int &error);
    ~TPrivateFolder(); // removes the folder and everything in it
    TPrivateFolder(const TPrivateFolder &) = delete;
    TPrivateFolder &operator=(const TPrivateFolder &) = delete;

    const QString &path() const { return m_path; }
    // The open folder, for creating entries in it without following a path.
    int descriptor() const { return m_fd; }

private:
    TPrivateFolder(QString path, int fd) : m_path(std::move(path)), m_fd(fd) {}

    QString m_path;
    int m_fd = -1;
};

// Removes from `parent` the folders named `prefix` + six characters that
// belong to this user and that no running program holds. Entries of other
// users, links and anything not made by TPrivateFolder are left alone.
void sweepStaleFolders(const QString &parent, const QString &prefix);

// This run's folder for temporary data, under the system's temporary folder:
// created (and leftovers of killed runs swept) at the first call, removed
// when the program ends. Throws Error when it cannot be created.
QString runTemporaryFolder();

} // namespace kasovka
