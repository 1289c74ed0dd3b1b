#!/usr/bin/python3
"""Every path git tracks, as a Windows checkout must write it: no name ending in a point or a space, no reserved
device name (with or without an extension), none of <>:"|?*, a backslash or a control character, and no two paths
that differ only in case. Reads `git ls-files` of the checkout it sits in, and names each path refused."""
import os
import re
import subprocess

from check_report import report

RESERVED = re.compile(r"(CON|PRN|AUX|NUL|COM[1-9]|LPT[1-9])(\..*)?", re.I)
FORBIDDEN = re.compile(r'[<>:"|?*\\\x00-\x1f]')


def refusal(name):
    """Why Windows cannot write this one name, or None."""
    if name.endswith((".", " ")):
        return "ends in a point or a space"
    if RESERVED.fullmatch(name):
        return "is a reserved device name"
    if FORBIDDEN.search(name):
        return "holds one of <>:\"|?*, a backslash or a control character"
    return None


def problems(paths):
    found, seen = [], {}
    for path in paths:
        for name in path.split("/"):
            why = refusal(name)
            if why:
                found.append("%r: %r %s" % (path, name, why))
        # Folders as well as files: a/X and A/y clash in the folder's name.
        parts = path.split("/")
        for depth in range(1, len(parts) + 1):
            prefix = "/".join(parts[:depth])
            other = seen.setdefault(prefix.lower(), prefix)
            if other != prefix:
                found.append("%r and %r differ only in case" % (other, prefix))
    return sorted(set(found))


# The rules themselves, on names a checkout meets: each refused one for its own reason, and their near misses taken.
REFUSED = ["price.", "a ", "CON", "nul.txt", "Com1.log", "lpt9", "a<b", "a:b", 'a"b', "a|b", "a?b", "a*b", "a>b",
           "a\\b", "a\tb", "a\x1fb"]
ACCEPTED = ["price-010-trailing-point", ".gitignore", "CONSOLE", "com0", "COM10", "lpt", "auxiliary.txt", "a.b"]
CLASHES = (["docs/A.png", "docs/a.png"], ["Tests/x", "tests/y"])


def checks(listed):
    misjudged = [n for n in REFUSED if not refusal(n)] + [n for n in ACCEPTED if refusal(n)]
    unseen = [c for c in CLASHES if not problems(c)]
    return [("the rules misjudge no name: " + (repr(misjudged) if misjudged else "none"), not misjudged),
            ("paths differing only in case are found: " + (repr(unseen) if unseen else "all"), not unseen),
            ("%d tracked paths, refused by Windows: %s" % (len(listed), "; ".join(problems(listed)) or "none"),
             listed and not problems(listed))]


if __name__ == "__main__":
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    listed = [p for p in subprocess.check_output(["git", "ls-files", "-z"], cwd=root).decode(
        "utf-8", "surrogateescape").split("\0") if p]
    report(checks(listed))
