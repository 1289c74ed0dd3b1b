"""The checks of the Python test programs, printed as GoogleTest prints its cases, so that scripts/test counts them;
exits non-zero when one fails."""
import sys


def report(results):
    """results: (what was read, whether it holds) for each check."""
    for name, holds in results:
        print(("[       OK ] " if holds else "[  FAILED  ] ") + name)
    bad = sum(not holds for _, holds in results)
    print("[  PASSED  ] %d tests." % (len(results) - bad))
    if bad:
        print("[  FAILED  ] %d tests, listed above" % bad)
    sys.exit(1 if bad else 0)
