#pragma once
// File names of the host, which compares them ignoring letter case; on a
// case-sensitive file system a file may carry its name in any case.

#include <QString>

namespace kasovka {

// `path` when it names a file; otherwise the first file (by name) in the same
// folder whose name differs from it only in letter case; otherwise `path`
// unchanged, so that the caller's "missing file" handling applies.
QString fileIgnoringCase(const QString &path);

// Everything of `path` up to and including its last folder delimiter; "" for
// a bare name.
QString folderPart(const QString &path);

} // namespace kasovka
