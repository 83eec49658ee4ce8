#!/usr/bin/env python3
"""Checks that the instrument core links no widgets.

Usage: core_links.py CLOSURE [PROGRAM]

CLOSURE lists, one a line, every library in the link interface of the core and the
settings history, all the way down (written by CMake when the build is configured). It
must hold the core itself and Qt Core, and nothing of Qt Widgets, Qt Gui or the window
(the toolkit's panels, the application library). PROGRAM, the command-line tool built on
them alone, must need no Qt Widgets or Qt Gui library at run time either (read with
objdump, which knows ELF and Windows programs alike; skipped where there is none).
"""
import pathlib
import re
import shutil
import subprocess
import sys

FORBIDDEN = re.compile(r"Qt6?::(Widgets|Gui|OpenGL)|^quorvel_toolkit$|^vask_app$|Qt6(Widgets|Gui)")
NEEDED = re.compile(r"^\s*(?:NEEDED|DLL Name:)\s+(\S+)", re.M)


def main():
    if len(sys.argv) < 2:
        print(__doc__)
        return 2
    closure = pathlib.Path(sys.argv[1]).read_text().split()
    problems = [f"the core links {lib}" for lib in closure if FORBIDDEN.search(lib)]
    for wanted in ("quorvel_core", "quorvel_serial", "quorvel_platform", "Qt6::Core"):
        if wanted not in closure:
            problems.append(f"{wanted} is missing from the core's link interface: "
                            "the list was not read right")
    objdump = shutil.which("objdump")
    if len(sys.argv) > 2 and objdump:
        dump = subprocess.run([objdump, "-p", sys.argv[2]], capture_output=True, text=True)
        needed = NEEDED.findall(dump.stdout)
        problems += [f"{sys.argv[2]} needs {lib}" for lib in needed if FORBIDDEN.search(lib)]
        print(f"{sys.argv[2]} needs: {', '.join(needed) or 'nothing objdump could read'}")
    for p in problems:
        print(p)
    print(f"core link interface: {', '.join(closure)}; {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
