#!/usr/bin/env python3
"""Plays the built page with a game controller in headless Chromium, which has none: the
Gamepad API is stood in for by a pad whose buttons the test presses. Down and A on the title
answer the new game's question with A, A turns a page, B opens and closes the history, X
turns auto mode on and off, Start opens the conveniences' menu which B closes, and the
page looks at the pad only while one is connected. Writes gamepad_test.png (the canvas).

Usage: gamepad_test.py WEB_DIR OUT_DIR. Exits 77 (skipped) only when Chromium is not
installed.
"""
import base64
import pathlib
import sys
import time

from page_test import CHROMIUM, SKIPPED, browser_session

# A standard pad that is not there until the test plugs it in.
PAD_STUB = """
window.testPad = { connected: false, index: 0, mapping: 'standard', id: 'test pad',
                   axes: [0, 0, 0, 0],
                   buttons: Array.from({ length: 17 }, () => ({ pressed: false, value: 0 })) };
navigator.getGamepads = () => [window.testPad.connected ? window.testPad : null];
"""
BUTTON = {"A": 0, "B": 1, "X": 2, "Y": 3, "Back": 8, "Start": 9, "Up": 12, "Down": 13}


def plug(page, connected):
    page.js("testPad.connected = arguments[0];"
            "window.dispatchEvent(new Event(arguments[0] ? 'gamepadconnected'"
            " : 'gamepaddisconnected'));", connected)


def press(page, name, settle=True):
    """Holds a button for a few frames and lets it go, then waits for the engine (which a
    box keeps waiting)."""
    for pressed in (True, False):
        page.js("testPad.buttons[arguments[0]].pressed = arguments[1];", BUTTON[name], pressed)
        time.sleep(0.1)
    if settle:
        page.settled()


def main():
    web, out = (pathlib.Path(a) for a in sys.argv[1:3])
    if not CHROMIUM:
        print("gamepad_test: Chromium is not installed (scripts/install-deps); skipped")
        return SKIPPED
    with browser_session(web, "gamepad_test", PAD_STUB) as page:
        assert not page.js("return TsukikageGamepad.looking;"), "looking with no pad connected"
        plug(page, True)
        assert page.js("return TsukikageGamepad.looking;"), "not looking at the pad plugged in"

        press(page, "Down")
        assert page.control("NewGameImage")["focus"], "Down did not point at the new game"
        press(page, "A", settle=False)
        page.wait("the new game's question", "return document.querySelector('#box[open]');")
        press(page, "A")  # yes
        page.wait("the first page", "const l = tsukikage.control('Label1');"
                  " return l && l.caption.trim() !== '' && tsukikage.control('imgAhead');")
        page.settled()
        first = page.caption("Label1")
        for _ in range(20):
            press(page, "A")
            if page.caption("Label1") != first:
                break
        assert page.caption("Label1") != first, "A did not turn the page"

        press(page, "B")
        assert page.js("return Boolean(tsukikage.frame.overlay.history);"), "B: no history"
        press(page, "B")
        assert not page.js("return Boolean(tsukikage.frame.overlay.history);"), "B: still open"

        press(page, "X")
        assert page.js("return tsukikage.frame.overlay.sign !== '';"), "X: auto mode is not on"
        press(page, "X")
        page.wait("auto mode off", "return tsukikage.frame.overlay.sign === '';", 5)

        press(page, "Start")
        page.wait("the conveniences' menu",
                  "const m = document.getElementById('conveniences'); return m && !m.hidden;", 5)
        press(page, "B")
        assert page.js("return document.getElementById('conveniences').hidden;"), "B: menu open"

        plug(page, False)
        time.sleep(0.1)
        assert not page.js("return TsukikageGamepad.looking;"), "still looking after unplugging"
        png = page.js("return document.getElementById('screen').toDataURL('image/png');")
        (out / "gamepad_test.png").write_bytes(base64.b64decode(png.split(",", 1)[1]))
        print("gamepad_test: the title, a page, the history, auto mode and the menu by the pad")
        return 0


if __name__ == "__main__":
    sys.exit(main())
