#pragma once
// The real files of other programs kept beside the repository
// (../shared/testdata). A test that needs them is skipped when they are
// absent, naming the missing path; a run that demands them
// (KASOVKA_REQUIRE_SHARED_TESTDATA=1, set by .ci/run) fails instead.
//
// KASOVKA_SHARED_TESTDATA in the environment names another folder for them,
// so that a run can check how the tests behave where the folder is missing
// (as in a clone without ../shared) without moving the folder.

#include <QFileInfo>
#include <QString>
#include <QtGlobal>

#include <gtest/gtest.h>

namespace kasovka::test {

inline bool sharedTestDataRequired()
{
    return qEnvironmentVariable("KASOVKA_REQUIRE_SHARED_TESTDATA") == QLatin1String("1");
}

// The folder of the shared files: the environment's choice, else the one
// the build was configured with.
inline QString sharedTestDataFolder()
{
    const QString chosen = qEnvironmentVariable("KASOVKA_SHARED_TESTDATA");
    return chosen.isEmpty() ? QStringLiteral(KASOVKA_SHARED_TESTDATA) : chosen;
}

} // namespace kasovka::test

// Skips (or, where demanded, fails) the calling test when `path` is absent.
#define KASOVKA_NEEDS_SHARED_FILE(path)                                                                  \
    do {                                                                                                 \
        const QString sharedPath_ = (path);                                                              \
        if (!QFileInfo::exists(sharedPath_)) {                                                           \
            if (::kasovka::test::sharedTestDataRequired())                                               \
                FAIL() << "the shared test files are required but missing: " << qPrintable(sharedPath_); \
            GTEST_SKIP() << "the shared test files are missing: " << qPrintable(sharedPath_);           \
        }                                                                                                \
    } while (false)
