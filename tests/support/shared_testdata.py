"""The real files of other programs kept beside the repository
(../shared/testdata). A check that needs them is skipped when they are absent
(exit 77, CTest's skip) with the missing path named; a run that demands them
(KASOVKA_REQUIRE_SHARED_TESTDATA=1, set by .ci/run) fails instead.

KASOVKA_SHARED_TESTDATA in the environment names another folder for them, so
that a run can check how the checks behave where the folder is missing."""

import os

SKIPPED = 77


def folder(configured, *parts):
    """The path `parts` below the shared folder: the environment's choice,
    else `configured` (the one the build was configured with)."""
    return os.path.join(os.environ.get("KASOVKA_SHARED_TESTDATA") or configured, *parts)


def absent(path):
    """None when `path` exists; otherwise reports it and returns the exit
    code the check ends with."""
    if os.path.exists(path):
        return None
    if os.environ.get("KASOVKA_REQUIRE_SHARED_TESTDATA") == "1":
        print("FAILED: the shared test files are required but missing: %s" % path)
        return 1
    print("SKIPPED: the shared test files are missing: %s" % path)
    return SKIPPED
