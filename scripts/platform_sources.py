#!/usr/bin/env python3
"""Checks that code only one family of systems builds stays in its *_posix / *_windows twins.

Fails when a C++ source or header outside the twins includes a POSIX or Windows system
header, uses a GCC-only attribute, picks code by a system macro (#ifdef _WIN32 and the
like), or calls the POSIX-only environment and time functions.
"""
import pathlib
import re
import subprocess
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
TWIN = re.compile(r"_(posix|windows)\.(cpp|h)$")
RULES = [
    (re.compile(r'^\s*#\s*include\s*<(unistd|poll|termios|fcntl|pty|spawn|dirent|pwd|signal|'
                r'util|windows|winbase|io)\.h>', re.M), "a system header"),
    (re.compile(r'^\s*#\s*include\s*<sys/', re.M), "a system header"),
    # Spelt in two pieces, so that a search of the tree for the attribute finds no line here.
    (re.compile(r"__" r"attribute__"), "a GCC-only attribute"),
    (re.compile(r"^\s*#\s*(if|ifdef|ifndef|elif)\b.*\b(_WIN32|_WIN64|__linux__|__unix__|"
                r"__APPLE__|_MSC_VER|__MINGW\w*)\b", re.M), "a choice by system macro"),
    (re.compile(r"\b(setenv|unsetenv|localtime_r|gmtime_r|localtime_s|gmtime_s)\s*\("),
     "a function only one family of systems has"),
]


def sources():
    """The tree's C++ files: git's list in a work tree, else every one outside build folders
    (a copy without git's history, as the package is built from, is checked all the same)."""
    top = subprocess.run(["git", "rev-parse", "--show-toplevel"], cwd=ROOT,
                         capture_output=True, text=True).stdout.strip()
    if top and pathlib.Path(top).resolve() == ROOT:
        return subprocess.run(["git", "ls-files", "*.cpp", "*.h"], cwd=ROOT, check=True,
                              capture_output=True, text=True).stdout.split()
    return sorted(str(p.relative_to(ROOT)) for p in ROOT.rglob("*")
                  if p.suffix in (".cpp", ".h") and p.is_file()
                  and not p.relative_to(ROOT).parts[0].startswith(("build", "obj-", "debian")))


def main():
    files = sources()
    problems = []
    for name in files:
        if TWIN.search(name):
            continue
        text = (ROOT / name).read_text(errors="replace")
        for rule, what in RULES:
            for match in rule.finditer(text):
                line = text.count("\n", 0, match.start()) + 1
                problems.append(f"{name}:{line}: {what} outside the twins: "
                                f"{match.group(0).strip()}")
    for p in problems:
        print(p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
