#pragma once
// The real files of other programs kept beside the repository
// (../shared/testdata). A test that needs them is skipped when they are
// absent, naming the missing path; a run that demands them
// (KASOVKA_REQUIRE_SHARED_TESTDATA=1, set by .ci/run) fails instead.

#include <QFileInfo>
#include <QString>
#include <QtGlobal>

#include <gtest/gtest.h>

namespace kasovka::test {

inline bool sharedTestDataRequired()
{
    return qEnvironmentVariable("KASOVKA_REQUIRE_SHARED_TESTDATA") == QLatin1String("1");
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
