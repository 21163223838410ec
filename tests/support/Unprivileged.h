#pragma once
// Permissions do not bind root, and the tests may run as root: what a user
// without a right sees is then tried in a child process that has dropped to
// the unprivileged user "nobody". Files the child must reach need the
// permissions for others (a QTemporaryDir is private to its owner).

#include <QString>

#include <functional>

namespace kasovka::test {

// Runs `body` as an unprivileged user (in this process when it is one
// already) and returns what it returned; a child that failed to run gives
// "(child failed: …)".
QString runUnprivileged(const std::function<QString()> &body);

// Gives others the right to enter and read the folder and each of its
// parents that does not allow it yet.
void openToOthers(const QString &folder);

} // namespace kasovka::test
