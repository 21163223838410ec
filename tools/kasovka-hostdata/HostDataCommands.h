#pragma once
// The commands of kasovka-hostdata, callable in-process (tests).

#include <QStringList>

#include <cstdio>

namespace kasovka {

// Runs one command line (without the program name). Writes results to `out`
// and messages to `err`. Exit codes: 0 done, 1 failed, 2 usage error.
int runHostData(const QStringList &arguments, std::FILE *out, std::FILE *err);

// Adds the user with that password to PRISTUP (with the right) and to
// PRISTUP2 in the data root, creating the tables when missing; a user with
// the same password is replaced. Without PRISTUP2 the user is removed from
// it instead. Throws Error.
void setHostUser(const QString &dataRoot, const QString &password, const QString &right,
                 bool withPristup2);

} // namespace kasovka
