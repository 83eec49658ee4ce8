#!/usr/bin/python3
"""The tool's real window read and driven through AT-SPI, as a screen reader or a voice
control program does it.

Starts quorvel-sim and the tool (QUORVEL_COM1 at the simulator), then goes through the
operator's flows with accessible actions only: connect, every page through the navigation
bar's tabs, a write with its Write done band, a write refused before anything is sent and
one refused by the instrument, both with the message pane, the history, the Ports dialog, a
live run stopped and one whose line is lost, Return, and quit. Between steps it reads the
whole tree (role, name, description, state, actions, value, text, every child) and asks each
object for a child past its count, as a reader whose cache is a step behind does. It fails
when the program dies, the tree cannot be read, a control has no name, an object hands out
a child that is not there, or a flow does not end where it should.

usage: window_flows.py VASKINTERFACE QUORVEL_SIM   (in a D-Bus session with the
accessibility bus and a display; scripts/atspi-test.sh provides them)
"""
import os
import subprocess
import sys
import tempfile
import time

import pyatspi

TOOL, SIM = sys.argv[1], sys.argv[2]
work = tempfile.mkdtemp(prefix="quorvel-atspi-")
link = os.path.join(work, "com1")
failures = []
walks = {"count": 0, "objects": 0, "largest": 0}


def fail(text):
    failures.append(text)
    print("FAILED:", text, flush=True)


def start_sim(*options):
    sim = subprocess.Popen([SIM, "--link", link, "--no-drift", *options], stdin=subprocess.PIPE,
                           stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    for _ in range(100):
        if os.path.exists(link):
            return sim
        time.sleep(0.05)
    sys.exit("quorvel-sim did not start")


sim = start_sim()
# The platform the window needs, whatever the caller's environment says.
env = dict(os.environ, QUORVEL_COM1=link, QT_QPA_PLATFORM="xcb",
           QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1",
           XDG_CONFIG_HOME=os.path.join(work, "config"), XDG_DATA_HOME=os.path.join(work, "data"),
           QUORVEL_HISTORY_DIR=os.path.join(work, "h"))
tool = subprocess.Popen([TOOL], env=env)


def alive():
    return tool.poll() is None


def check_alive(where):
    if not alive():
        fail(f"the program died ({where}), exit status {tool.returncode}")
        finish()


def app():
    for _ in range(200):
        check_alive("looking for its window")
        for a in pyatspi.Registry.getDesktop(0):
            if a is not None and a.name == "Quorvel":
                return a
        time.sleep(0.05)
    fail("no application named Quorvel on the accessibility bus")
    finish()


NAMED = {pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_SPIN_BUTTON,
         pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_PAGE_TAB, pyatspi.ROLE_PAGE_TAB_LIST,
         pyatspi.ROLE_TEXT, pyatspi.ROLE_TOOL_BAR, pyatspi.ROLE_STATUS_BAR, pyatspi.ROLE_CHART,
         pyatspi.ROLE_TABLE, pyatspi.ROLE_LIST}


def read_one(acc):
    role = acc.getRole()
    name = acc.name
    acc.description
    acc.getState().getStates()
    try:
        actions = acc.queryAction()
        for i in range(actions.nActions):
            actions.getName(i)
    except NotImplementedError:
        pass
    try:
        value = acc.queryValue()
        value.currentValue, value.minimumValue, value.maximumValue
    except NotImplementedError:
        pass
    try:
        text = acc.queryText()
        count = text.characterCount
        text.getText(0, -1)
        text.caretOffset
        text.getTextAtOffset(count + 2, pyatspi.TEXT_BOUNDARY_CHAR)  # a stale length
    except NotImplementedError:
        pass
    showing = acc.getState().contains(pyatspi.STATE_SHOWING)
    parent = acc.parent
    inside_item = parent is not None and parent.getRole() in (
        pyatspi.ROLE_LIST, pyatspi.ROLE_TABLE, pyatspi.ROLE_SCROLL_BAR, pyatspi.ROLE_COMBO_BOX,
        pyatspi.ROLE_TREE_TABLE, pyatspi.ROLE_TREE)
    if showing and role in NAMED and not name and not inside_item:
        fail(f"a {acc.getRoleName()} without a name, under '{parent.name if parent else ''}'")


def walk(where):
    began = time.time()
    check_alive(where)
    root = app()
    root.setCacheMask(pyatspi.cache.NONE)
    root.clearCache()
    seen = 0

    def visit(acc, depth):
        nonlocal seen
        if acc is None or depth > 60:
            return
        seen += 1
        read_one(acc)
        count = acc.childCount
        for i in range(count + 1):
            child = acc.getChildAtIndex(i)
            if i >= count:
                if child is not None:
                    fail(f"{acc.getRoleName()} '{acc.name}' hands out a child at {i} of {count}")
                continue
            visit(child, depth + 1)

    try:
        visit(root, 0)
    except Exception as e:  # a dead or stuck program: the call fails or times out
        check_alive(where)
        fail(f"the tree could not be read ({where}): {e}")
        finish()
    check_alive(where)
    walks["count"] += 1
    walks["objects"] = seen
    walks["largest"] = max(walks["largest"], seen)
    print(f"  read {seen} objects in {time.time() - began:.1f} s after: {where}", flush=True)


def find(acc, name, roles, showing=True):
    hits = []

    def visit(a):
        if a is None:
            return
        state = a.getState()
        if showing and not state.contains(pyatspi.STATE_SHOWING) and \
                a.getRole() not in (pyatspi.ROLE_APPLICATION, pyatspi.ROLE_FRAME):
            return
        if a.name == name and a.getRole() in roles:
            hits.append(a)
        for i in range(a.childCount):
            visit(a.getChildAtIndex(i))

    visit(acc)
    return hits


def dialogs():
    return [c for c in app() if c is not None and c.getRole() in (pyatspi.ROLE_DIALOG,
                                                                   pyatspi.ROLE_ALERT)]


busy_label = []


def busy():
    # The status bar's field is always there; shown while an action runs.
    if not busy_label:
        bars = find(app(), "Status", (pyatspi.ROLE_STATUS_BAR,))
        busy_label.extend(find(bars[0], "Busy", (pyatspi.ROLE_LABEL,), showing=False))
    return busy_label[0].getState().contains(pyatspi.STATE_SHOWING)


def wait_idle(answer="Yes", limit=30):
    end = time.time() + limit
    while time.time() < end:
        check_alive("waiting for an action to end")
        open_dialogs = dialogs()
        if open_dialogs:
            walk(f"the question '{open_dialogs[0].name}'")
            buttons = find(open_dialogs[0], answer, (pyatspi.ROLE_PUSH_BUTTON,))
            if not buttons:
                fail(f"no '{answer}' in the question '{open_dialogs[0].name}'")
                finish()
            act(buttons[0])
            time.sleep(0.3)
            continue
        if not busy():
            return
        time.sleep(0.2)
    fail("an action did not end within its time")
    finish()


def act(acc):
    acc.queryAction().doAction(0)


def press(label, role=pyatspi.ROLE_PUSH_BUTTON, idle=True):
    hits = find(app(), label, (role,))
    if not hits:
        fail(f"nothing to press named '{label}'")
        finish()
    act(hits[0])
    time.sleep(0.15)
    if idle:
        wait_idle()
    walk(f"{label}")


def go(place):
    press(place, pyatspi.ROLE_PAGE_TAB)
    tabs = find(app(), place, (pyatspi.ROLE_PAGE_TAB,))
    if place != "Ports…" and not (tabs and tabs[0].getState().contains(pyatspi.STATE_SELECTED)):
        fail(f"the tab '{place}' is not the selected one once its page is in front")


def text_of(name, role=pyatspi.ROLE_TEXT):
    hits = find(app(), name, (role,))
    return hits[0].queryText().getText(0, -1) if hits else ""


def set_value(label, value):
    hits = find(app(), label, (pyatspi.ROLE_SPIN_BUTTON,))
    if not hits:
        fail(f"no spin box '{label}'")
        finish()
    hits[0].queryValue().currentValue = value
    time.sleep(0.1)


def expect(condition, text):
    if not condition:
        fail(text)


def finish():
    if alive():
        tool.kill()
    if sim.poll() is None:
        sim.kill()
    print(f"{walks['count']} reads of the whole window, up to {walks['largest']} objects each",
          flush=True)
    if failures:
        print(f"{len(failures)} failed", flush=True)
        sys.exit(1)
    print("the window was read and used throughout", flush=True)
    sys.exit(0)


walk("start")
press("Connect")
expect("QV-0000012345" in text_of("Connection"), "the connection band shows no serial number")

for place in ("kx settings", "qv settings", "Real-time clock", "Scheduled start", "Live data",
              "Calibration", "History", "Recordings", "Main panel"):
    go(place)

# The Recordings page before anything is open: its chart says so to a reader.
go("Recordings")
charts = find(app(), "Level", (pyatspi.ROLE_CHART,))
expect(charts and charts[0].description == "No recording open",
       "the Recordings page has no chart that says no recording is open")
expect(find(app(), "Open recording…", (pyatspi.ROLE_PUSH_BUTTON,)), "no Open recording… button")
go("Main panel")

# A write with its Write done band.
go("kx settings")
press("Read from instrument")
press("Write to instrument")
expect(find(app(), "Write done", (pyatspi.ROLE_PANEL,)), "no Write done band after a write")

# A write refused before anything is sent: a day February does not have.
go("Real-time clock")
set_value("Month", 2)
set_value("Day of month", 31)
press("Set clock")
expect(text_of("Messages").strip(), "no message after a refused clock")

# qv read and write, clock written and read, main, scheduled start.
go("qv settings")
press("Read from instrument")
press("Write to instrument")
go("Real-time clock")
press("Use computer time")
press("Set clock")
press("Read clock")
go("Main panel")
go("Scheduled start")
go("History")

# The Ports dialog, read while it is up, then cancelled.
hits = find(app(), "Ports…", (pyatspi.ROLE_PAGE_TAB,))
act(hits[0])
for _ in range(50):
    if dialogs():
        break
    time.sleep(0.1)
expect(dialogs(), "the Ports dialog did not open")
if dialogs():
    walk("the Ports dialog")
    act(find(dialogs()[0], "Cancel", (pyatspi.ROLE_PUSH_BUTTON,))[0])
    time.sleep(0.5)
walk("the Ports dialog closed")

# A live run stopped, then one whose line goes away, then the main panel.
go("Live data")
press("Start", idle=False)
time.sleep(2)
walk("a live run")
press("Stop", idle=False)
time.sleep(1)
walk("after Stop")
press("Start", idle=False)
time.sleep(1.5)
sim.stdin.write(b"h\n")
sim.stdin.flush()
time.sleep(1.5)
walk("the line lost")
# Reconnecting by itself (the default), the run waits for the line and says so.
expect("waiting for COM1" in text_of("Messages"), "no line lost line when the line went away")
expect(find(app(), "Reconnect by itself", (pyatspi.ROLE_CHECK_BOX,)),
       "no Reconnect by itself check box")
go("Main panel")
go("Scheduled start")

# An instrument that refuses writes: the message pane shows its answer.
sim.wait(5)
sim = start_sim("--wrong-letter", "w:X")
go("Main panel")
press("Connect")
go("kx settings")
press("Read from instrument")
press("Write to instrument")
expect("X" in text_of("Messages"), "no refusal shown in the messages")
go("Live data")
press("Return")
go("Main panel")

hits = find(app(), "Quit", (pyatspi.ROLE_PUSH_BUTTON,))
act(hits[-1])
try:
    status = tool.wait(10)
    expect(status == 0, f"Quit ended the program with status {status}")
except subprocess.TimeoutExpired:
    fail("Quit did not end the program")
finish()
