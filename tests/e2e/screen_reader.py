#!/usr/bin/python3
"""The player as a screen reader meets it: on an Xvfb and a private AT-SPI bus of its own, the
real program plays the demo game while this script reads its accessibility tree, as Orca does.
It finds the title screen's buttons, the page text, the next page after a click and the two
choices at the first choice, and checks that each change was announced by an event.

Usage: screen_reader.py BUILD_DIR. Exits 77 when a tool is missing."""

import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

NAME = "e2e_screen_reader"
STEP_TIMEOUT = 20  # seconds for any one reaction of the player
MAX_PAGES = 12  # the demo's first choice comes after six pages


def say(text):
    print(f"{NAME}: {text}", flush=True)


def skip(reason):
    say(f"SKIPPED: {reason} (scripts/install-deps installs it)")
    sys.exit(77)


class Failure(Exception):
    pass


# The session bus and everything on it die with this process: re-run under a bus of our own.
if os.environ.get("TSUKIKAGE_PRIVATE_BUS") != "1":
    if not shutil.which("dbus-run-session"):
        skip("dbus-run-session is not installed")
    os.environ["TSUKIKAGE_PRIVATE_BUS"] = "1"
    os.execvp("dbus-run-session", ["dbus-run-session", "--", sys.executable] + sys.argv)

try:
    import gi

    gi.require_version("Atspi", "2.0")
    from gi.repository import GLib
    import pyatspi
except (ImportError, ValueError):
    skip("python3-pyatspi is not installed")

BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
for tool in ("Xvfb", "xdotool"):
    if not shutil.which(tool):
        skip(f"{tool} is not installed")
if not os.access(BUS_LAUNCHER, os.X_OK):
    skip("at-spi2-core is not installed")

build = os.path.abspath(sys.argv[1])
player = os.path.join(build, "demo", "tsukikage")
if not os.access(player, os.X_OK):
    say(f"FAIL: {player} is missing: build first")
    sys.exit(1)

work = tempfile.mkdtemp(prefix=NAME + ".")
children = []


def start(args, **kwargs):
    process = subprocess.Popen(args, start_new_session=True, **kwargs)
    children.append(process)
    return process


def stop_all():
    for process in reversed(children):
        if process.poll() is None:
            os.killpg(process.pid, signal.SIGTERM)
            try:
                process.wait(5)
            except subprocess.TimeoutExpired:
                os.killpg(process.pid, signal.SIGKILL)
                process.wait()


def start_xvfb():
    read_end, write_end = os.pipe()
    start(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24", "-nolisten",
           "tcp", "-noreset"], pass_fds=(write_end,), stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as displayfd:
        number = displayfd.readline().strip()
    if not number:
        raise Failure("Xvfb did not start")
    os.environ["DISPLAY"] = ":" + number


events = []  # (type, role, name) of every event heard, in order


def heard(event):
    try:
        role = event.source.getRoleName()
        name = event.source.name or ""
    except Exception:  # the source may be gone by now
        role, name = "?", ""
    events.append((event.type, role, name))


def pump(seconds):
    """Lets the events in for a while."""
    context = GLib.MainContext.default()
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        while context.pending():
            context.iteration(False)
        time.sleep(0.02)


def wait_for(what, find, timeout=STEP_TIMEOUT):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        pump(0.1)
        found = find()
        if found:
            return found
        if player_process.poll() is not None:
            raise Failure(f"the player ended (status {player_process.returncode}) "
                          f"while waiting for {what}")
    raise Failure(f"no {what} within {timeout} s")


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.get_process_id() == player_process.pid:
            return app
    return None


def find_canvas():
    app = application()
    if app is None:
        return None
    found = pyatspi.findDescendant(app, lambda node: node is not None and
                                   node.getRoleName() == "canvas")
    return found


def items():
    """The canvas's children as (role, name, states, node)."""
    canvas = find_canvas()
    if canvas is None:
        return []
    listed = []
    for node in canvas:
        if node is None:
            continue
        states = node.getState()
        listed.append((node.getRoleName(), node.name or "", states, node))
    return listed


def describe(listed):
    return "; ".join(f"{role} '{name}'" + (" [focused]" if states.contains(pyatspi.STATE_FOCUSED)
                                           else "") for role, name, states, _ in listed)


def dump_tree(path):
    lines = []

    def walk(node, depth):
        if node is None or depth > 12:
            return
        lines.append("  " * depth + f"{node.getRoleName()} '{node.name or ''}'")
        for child in node:
            walk(child, depth + 1)

    walk(application(), 0)
    with open(path, "w", encoding="utf-8") as out:
        out.write("\n".join(lines) + "\n")


def click(node):
    extents = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    x = extents.x + extents.width // 2
    y = extents.y + extents.height // 2
    subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", "1"], check=True,
                   timeout=STEP_TIMEOUT)


def key(name, window_title="月影回廊物語"):
    """A key pressed in the player's window of that title."""
    focus_window(window_title)
    subprocess.run(["xdotool", "key", name], check=True, timeout=STEP_TIMEOUT)


def focus_window(window_title="月影回廊物語"):
    """Gives the player's window of that title the keyboard, as a window manager would: with
    none, nothing else does."""
    listed = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid",
                             str(player_process.pid)], capture_output=True, text=True,
                            timeout=STEP_TIMEOUT).stdout.split()
    for window in listed:
        title = subprocess.run(["xdotool", "getwindowname", window], capture_output=True,
                               text=True, timeout=STEP_TIMEOUT).stdout.strip()
        if title == window_title:
            subprocess.run(["xdotool", "windowfocus", "--sync", window], check=True,
                           timeout=STEP_TIMEOUT)
            break
    else:
        raise Failure(f"no window '{window_title}' to focus")


def find_in_app(predicate):
    app = application()
    if app is None:
        return None
    return pyatspi.findDescendant(app, lambda node: node is not None and predicate(node))


def find_text(node, text):
    """A label under `node` that holds `text`."""
    return pyatspi.findDescendant(node, lambda child: child is not None and
                                  child.getRoleName() == "label" and text in (child.name or ""))


def page_text():
    # A paragraph: Orca ignores the name changes of labels.
    for role, name, _, _ in items():
        if role == "paragraph" and name:
            return name
    return None


def announced(since, name):
    """A focus event after `since` on an item named `name`: what Orca reads out. (A new name
    of what has the focus is not enough: Orca ignores those of text, and Qt 6.4 sends them
    without the name.)"""
    return any(kind == "focus:" and source == name for kind, _, source in events[since:])


def main():
    global player_process
    start_xvfb()
    start([BUS_LAUNCHER, "--launch-immediately"], stdout=subprocess.DEVNULL,
          stderr=subprocess.DEVNULL)
    for kind in ("object:property-change:accessible-name", "object:state-changed:focused",
                 "focus:", "object:children-changed"):
        pyatspi.Registry.registerEventListener(heard, kind)

    game = os.path.join(work, "game")
    shutil.copytree(os.path.dirname(player), game,
                    ignore=shutil.ignore_patterns("tsukikage"))
    runtime = os.path.join(work, "runtime")
    os.makedirs(runtime, mode=0o700)
    env = dict(os.environ, QT_QPA_PLATFORM="xcb", WAYLAND_DISPLAY="", QT_ACCESSIBILITY="1",
               QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", SDL_AUDIODRIVER="dummy",
               XDG_RUNTIME_DIR=runtime, XDG_DATA_HOME=os.path.join(work, "data"),
               XDG_CONFIG_HOME=os.path.join(work, "config"))
    log = open(os.path.join(work, "player.log"), "w")
    player_process = start([player, game], env=env, stdout=log, stderr=subprocess.STDOUT)

    # The title screen, after the start-up's pictures.
    def title_buttons():
        listed = items()
        names = [name for role, name, _, _ in listed if role in ("push button", "button")]
        return listed if "はじめから" in names and "おわり" in names else None

    listed = wait_for("title screen's buttons", title_buttons, 40)
    dump_tree(os.path.join(work, "title-tree.txt"))
    say(f"title screen: {describe(listed)}")
    # No ending is reached yet: the three extras are locked and read as they look.
    buttons = [name for role, name, _, _ in listed if role == "push button"]
    if buttons != ["はじめから", "つづきから", "？？？", "？？？", "？？？", "おわり"]:
        raise Failure(f"the title screen's buttons read {buttons}")

    # The keyboard goes through the title images and the focus follows; a new game asks
    # first, in a box that reads as one.
    since = len(events)
    key("Down")
    wait_for("focus on はじめから", lambda: announced(since, "はじめから"))
    since = len(events)
    key("Return")
    box = wait_for("box asking for a new game", lambda: find_in_app(
        lambda node: node.getRoleName() in ("dialog", "alert") and
        find_text(node, "はじめから始めますか？")))
    say(f"box: {box.getRoleName()} '{box.name}'")
    since = len(events)
    key("Return", box.name)
    focus_window()
    first = wait_for("first page's text", page_text)
    say(f"first page: {first!r}")
    if "月の明るい夜だった。" not in first:
        raise Failure(f"the first page reads {first!r}")
    wait_for("announcement of the first page", lambda: announced(since, first), 5)

    # Page after page up to the first choice: each new text is announced.
    pages = 1
    shown = first
    while True:
        listed = items()
        choices = [name for role, name, _, _ in listed
                   if role in ("push button", "button") and name[:3] in ("1. ", "2. ")]
        if len(choices) == 2:
            break
        if pages > MAX_PAGES:
            raise Failure(f"no choice after {MAX_PAGES} pages: {describe(listed)}")
        since = len(events)

        def changed():
            listed = items()
            text = page_text()
            if text and text != shown:
                return text
            if any(name.startswith("1. ") for _, name, _, _ in listed):
                return "choices"
            return None

        # The marker takes no click while a transition runs: click again until the page turns.
        def turned():
            marker = next((node for role, name, states, node in items()
                           if name == "次のページ" and states.contains(pyatspi.STATE_ENABLED)),
                          None)
            if marker is not None:
                click(marker)
            try:
                return wait_for(f"page {pages + 1}", changed, 3)
            except Failure:
                return None

        now = wait_for(f"page {pages + 1}", turned)
        if now != "choices":
            wait_for(f"announcement of page {pages + 1}", lambda: announced(since, now), 5)
            shown = now
            pages += 1
            say(f"page {pages}: {now!r}")

    dump_tree(os.path.join(work, "choice-tree.txt"))
    say(f"choice: {choices}")
    if choices != ["1. 「月が明るすぎて」と答える", "2. 黙って首を横に振る"]:
        raise Failure(f"the choices read {choices}")
    focused = [name for _, name, states, _ in items() if states.contains(pyatspi.STATE_FOCUSED)]
    if focused != [choices[0]]:
        raise Failure(f"at the choice the focus is on {focused}")
    wait_for("announcement of the choice", lambda: announced(since, choices[0]), 5)

    # The keyboard moves the focus, and the screen reader hears it.
    since = len(events)
    key("Down")
    wait_for("focus on the second choice", lambda: announced(since, choices[1]))

    # The about box is a window of labels and a button.
    about = wait_for("menu item バージョン情報", lambda: find_in_app(
        lambda node: node.getRoleName() == "menu item" and node.name == "バージョン情報"))
    about.queryAction().doAction(0)
    box = wait_for("about box", lambda: find_in_app(
        lambda node: node.getRoleName() in ("dialog", "frame") and "ﾊﾞｰｼﾞｮﾝ情報" in (node.name or "")))
    labels = [child.name for child in box if child is not None and child.getRoleName() == "label"
              and child.name]
    say(f"about box: '{box.name}': {labels}")
    if not any("月影回廊物語" in label for label in labels):
        raise Failure(f"the about box reads {labels}")
    say(f"PASS: {pages} pages and the choice read, {len(events)} events heard")


player_process = None
status = 0
try:
    main()
except Failure as failure:
    say(f"FAIL: {failure}")
    status = 1
finally:
    stop_all()
    kept = os.environ.get("TSUKIKAGE_KEEP_WORK") == "1" or status != 0
    with open(os.path.join(work, "events.txt"), "w", encoding="utf-8") as out:
        out.writelines(f"{kind}\t{role}\t{name!r}\n" for kind, role, name in events)
    if kept:
        say(f"left for inspection: {work}")
    else:
        shutil.rmtree(work, ignore_errors=True)
sys.exit(status)
