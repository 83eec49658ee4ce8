#!/usr/bin/env python3
"""Checks the include graph of toolkit/, and what the rooms above it may include.

Fails when toolkit/ includes anything above it (app/, cli/, settings/, live/,
recordings/, calibration/, feedback/, history/, recording/, link/), when a room above the
toolkit includes one it must not (the instrument core link/ stands on the toolkit's platform
and serial rooms alone, never on panels, widgets or ui/; history/ and recording/ on the
core; the command line cli/ on those, never on the window's rooms; nothing includes app/), when a toolkit room includes
one it must not (platform is the bottom; panels and
serial do not include each other; the ports dialog stands on serial alone; widgets, small Qt widgets
the others share, stand on nothing), when
production code includes the test hooks, when a panels internal includes the public
userint.h, or when modules (a header with the sources of the same stem, *_posix/*_windows
twins included) include each other in a circle.
"""
import pathlib
import re
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
TOOLKIT = ROOT / "toolkit"
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
ABOVE = ("app/", "cli/", "link/", "settings/", "live/", "recordings/", "calibration/", "feedback/",
         "history/", "recording/")
CORE = ("link/", "toolkit/platform/", "toolkit/serial/")
WINDOW = ("feedback/", "history/", "link/", "toolkit/", "ui/")
# What the files of each room above the toolkit may include (their own room always).
UPPER_ROOMS = {
    "link": CORE,
    "history": ("history/",) + CORE,
    "recording": ("recording/",) + CORE,
    "cli": ("cli/", "history/", "recording/") + CORE,
    "feedback": WINDOW,
    "settings": ("settings/",) + WINDOW,
    "live": ("live/",) + WINDOW,
    "recordings": ("recordings/", "recording/") + WINDOW,
    "calibration": ("calibration/",) + WINDOW,
    "app": ("app/", "settings/", "live/", "recordings/", "recording/", "calibration/") + WINDOW,
}
ALLOWED_ROOMS = {"platform": {"platform"}, "widgets": {"widgets"},
                 "serial": {"serial", "platform"},
                 "panels": {"panels", "platform", "widgets"},
                 "ports": {"ports", "serial", "platform", "widgets"}}
TEST_ONLY = {"toolkit/panels/testing"}
PUBLIC_FACADES = {"toolkit/panels/userint"}


def module(path):
    """toolkit/serial/device_checks_posix.cpp -> toolkit/serial/device_checks"""
    stem = re.sub(r"_(posix|windows)$", "", path.with_suffix("").name)
    return str(path.relative_to(ROOT).with_name(stem))


def main():
    problems = []
    graph = {}
    for f in sorted(TOOLKIT.rglob("*")):
        if f.suffix not in (".h", ".cpp"):
            continue
        rel = str(f.relative_to(ROOT))
        room = f.relative_to(TOOLKIT).parts[0]
        me = module(f)
        for inc in INCLUDE.findall(f.read_text()):
            if inc.startswith(ABOVE):
                problems.append(f"{rel} includes {inc} from above the toolkit")
            if not inc.startswith("toolkit/"):
                continue
            target = module(ROOT / inc)
            other_room = inc.split("/")[1]
            if other_room not in ALLOWED_ROOMS.get(room, set()):
                problems.append(f"{rel} includes {inc} across rooms")
            if target in TEST_ONLY and me not in TEST_ONLY:
                problems.append(f"{rel} includes the test hooks {inc}")
            if target in PUBLIC_FACADES and me != target:
                problems.append(f"{rel} includes the public header {inc}")
            if target != me:
                graph.setdefault(me, set()).add(target)

    for room, allowed in UPPER_ROOMS.items():
        for f in sorted((ROOT / room).rglob("*")):
            if f.suffix not in (".h", ".cpp"):
                continue
            for inc in INCLUDE.findall(f.read_text()):
                if not inc.startswith((room + "/",) + allowed):
                    problems.append(f"{f.relative_to(ROOT)} includes {inc}, which {room}/ "
                                    "must not")

    state = {}
    stack = []

    def visit(node):
        state[node] = "open"
        stack.append(node)
        for nxt in sorted(graph.get(node, ())):
            if state.get(nxt) == "open":
                cycle = stack[stack.index(nxt):] + [nxt]
                problems.append("circle: " + " -> ".join(cycle))
            elif nxt not in state:
                visit(nxt)
        stack.pop()
        state[node] = "done"

    for node in sorted(graph):
        if node not in state:
            visit(node)

    for p in problems:
        print(p)
    print(f"{len(graph)} modules, {sum(len(v) for v in graph.values())} edges, "
          f"{len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
