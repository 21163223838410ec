#pragma once
// Every file the program and its tools write goes through here: workbooks,
// PDF, JSON, settings and support files. The new content is written into a
// private folder beside the target (nobody else can swap or pre-create the
// file there) and renamed over the target only once complete, so a failure,
// a cancel or a kill leaves the target as it was.
//
// The target must be a regular file, a link or absent: a folder, a device, a
// pipe or a socket is refused (a stream written in place is the one
// exception), a link is replaced and never written through, and a template
// of the export is never replaced. Every failure throws Error with one Czech
// sentence naming the path and the reason.
//
//     TOutputFile out(path, {.replace = userSaidYes});
//     out.open();
//     writer.write(out.device());      // or a library writes out.privatePath()
//     out.commit();

#include "core/Error.h"

#include <QDateTime>
#include <QFileDevice>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace kasovka {

class TPrivateFolder;

// What TOutputFile throws: the file could not be written (as against the
// content that could not be made).
class OutputError : public Error {
public:
    using Error::Error;
};

struct OutputPolicy {
    // How messages name the target ("Soubor nastavení …").
    QString noun = QStringLiteral("Soubor");
    // An existing target may be replaced (the user answered "Ano", or the
    // file is the program's own). Without it the target must not exist, not
    // even when the new file is renamed into place.
    bool replace = false;
    // A pipe or a character device at the target is written in place: the
    // target is a stream, not a file to replace.
    bool streamInPlace = false;
    // A regular file without write permission may be replaced as well.
    bool replaceReadOnly = false;
    // The export templates of these folders may never be replaced.
    QStringList templateFolders;
    // The new file's permissions; by default those of the regular file it
    // replaces, else what the umask gives a new file.
    std::optional<QFileDevice::Permissions> permissions;
    QDateTime modified;
};

class TOutputFile {
public:
    explicit TOutputFile(const QString &target, OutputPolicy policy = {});
    ~TOutputFile(); // discards the new content unless committed
    TOutputFile(const TOutputFile &) = delete;
    TOutputFile &operator=(const TOutputFile &) = delete;

    // Throws Error when the target may not be written (creates nothing).
    void check();
    // Checks the target and creates the new file. Throws Error.
    void open();
    // The new file (or the stream), open for writing.
    QIODevice &device();
    // Writes all of `bytes` or throws Error.
    void write(const QByteArray &bytes);
    // For a library that opens a file by name: the new file's path inside
    // the private folder. Empty for a stream written in place.
    QString privatePath() const;
    // Throws the Error of a write that failed just now (errno tells why).
    [[noreturn]] void writeFailed() const;
    // Flushes the new file to the disk and renames it over the target.
    // Throws Error; the target is then unchanged.
    void commit();

    const QString &target() const { return m_target; }
    QString displayPath() const;

private:
    [[noreturn]] void fail(const QString &what, int error) const;
    void rename();

    QString m_target;
    OutputPolicy m_policy;
    std::unique_ptr<TPrivateFolder> m_folder;
    std::unique_ptr<QFileDevice> m_file;
    int m_mode = -1;
    bool m_inPlace = false;
    bool m_committed = false;
};

// True when `target` names a template ("*.xl") of `templateFolder`: through
// a link, another letter case or a second name of the same file.
bool isTemplateFile(const QString &target, const QString &templateFolder);
// Why such a target is refused.
QString templateRefusal(const QString &target);

} // namespace kasovka
