"""The real files of other programs kept beside the repository
(../shared/testdata). A check that needs them is skipped when they are absent
(exit 77, CTest's skip) with the missing path named; a run that demands them
(KASOVKA_REQUIRE_SHARED_TESTDATA=1, set by .ci/run) fails instead."""

import os

SKIPPED = 77


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
