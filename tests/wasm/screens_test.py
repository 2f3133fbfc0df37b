#!/usr/bin/env python3
"""Plays the built page in headless Chromium as a player would, beyond the first pages: the
demo from the title to its end by clicks and again by keys; the conveniences' menu and the
settings acting on the engine; the extras' screens and the about box; touch (a tap clicks, a
swipe down opens the history, a long press opens the menu); and every frame of the three transitions on the canvas against the
desktop's expected pictures in tests/golden/transitions. Writes a screenshot of each screen
it passes into OUT_DIR/screens.

Usage: screens_test.py WEB_DIR GOLDEN_DIR OUT_DIR. Exits 77 (skipped) only when Chromium is
not installed.
"""
import base64
import json
import pathlib
import re
import shutil
import struct
import sys
import tempfile
import time
import zlib

from page_test import CHROMIUM, SKIPPED, Page, serve, start_browser

MAX_STEPS = 120  # the demo has a few dozen pages and choices


def title_shown(page):
    return bool(page.control("NewGameImage"))


def keys(page, *names):
    from selenium.webdriver.common.action_chains import ActionChains
    ActionChains(page.driver).send_keys(*names).perform()


def play_to_end(page, by_keys, out=None):
    """From the title through the game to the title again; the number of steps taken. With
    `out`, a screenshot of the first page and of the first choice goes there."""
    from selenium.webdriver.common.keys import Keys

    page.settled()
    if by_keys:
        # The title's images go by the arrows; Return clicks the one pointed at, the first.
        keys(page, Keys.ARROW_DOWN)
        page.settled()
        keys(page, Keys.ENTER)
        # A new game chosen by a key asks first; Return answers yes.
        page.wait("the question", "return document.getElementById('box').open;")
        assert page.js("return document.querySelector('#box .box-text').textContent;") == "はじめから始めますか？"
        keys(page, Keys.ENTER)
    else:
        page.click("NewGameImage")
    page.wait("the first page", "return tsukikage.control('imgAhead') || tsukikage.control('imgSel(0)');")
    # The text is drawn in the design's face: the font's pieces for its characters came.
    page.settled()
    assert page.js("const l = tsukikage.control('Label1');"
                   "return document.fonts.check(`${l.font.px}px IPAPGothic`, l.caption) &&"
                   " [...document.fonts].some((f) => f.family === 'IPAPGothic' &&"
                   " f.status === 'loaded' && f.unicodeRange !== 'U+0-10FFFF');"), \
        "the page's text is not in the font's pieces"
    if out:
        shot(page, out, "page")
    for step in range(MAX_STEPS):
        page.settled()
        if title_shown(page) and not page.control("imgAhead"):
            return step
        if page.choosing() and out and not (out / "choice.png").exists():
            shot(page, out, "choice")
        if page.choosing():
            keys(page, "1") if by_keys else page.click("lblSel(0)")
        elif page.control("imgAhead"):
            keys(page, Keys.ENTER) if by_keys else page.click("imgAhead")
        time.sleep(0.05)
    raise AssertionError(f"the title did not come back after {MAX_STEPS} steps")


def shot(page, out, name):
    page.driver.save_screenshot(str(out / f"{name}.png"))


def extras(page, out):
    """The gallery, the scene list and the music room from the title and back, and the about
    box from the menu bar, each on a screenshot."""
    # The scene list and the music room open once every ending has been seen: a desktop
    # ending record saying so is imported, and the game starts again with it.
    page.driver.execute_async_script(
        "const done = arguments[arguments.length - 1];"
        "tsukikage.importRecords([new File(['3\\r\\n1\\r\\n1\\r\\n1\\r\\n'], 'ENDLIST.DAT')])"
        ".then(() => done(), (e) => done(String(e)));")
    page.wait("the title", "return tsukikage.control('NewGameImage');")
    for image, shown, name in (("CGImage", "CGGo", "gallery"),
                               ("SceneImage", "MusicPlay", "scene_list"),
                               ("MusicImage", "MusicPlay", "music_room")):
        page.settled()
        page.click(image)
        page.wait(f"the {name}", "return tsukikage.control(arguments[0]);", 10, shown)
        page.settled()
        shot(page, out, name)
        page.click("SystemBack")
        page.wait("the title", "return tsukikage.control('NewGameImage');")
    page.js("document.querySelector('#menubar [data-name=\"VerData\"]').click();")
    page.wait("the about box", "return document.getElementById('about').open;")
    page.settled()
    shot(page, out, "about")
    page.js("document.querySelector('#about .about-ok').click();")
    page.wait("the about box to close", "return !document.getElementById('about').open;")


def conveniences(page, out):
    """The right button's menu reads the engine's state and its items act on the engine."""
    from selenium.webdriver.common.action_chains import ActionChains

    def open_menu():
        canvas = page.driver.find_element("id", "screen")
        ActionChains(page.driver).move_to_element_with_offset(canvas, -200, -200).context_click().perform()
        page.wait("the conveniences' menu", "return !document.getElementById('conveniences').hidden;")
        return page.js("return Array.from(document.querySelectorAll('#conveniences .menu-item'),"
                       " n => [n.dataset.name, !n.classList.contains('disabled'),"
                       " n.classList.contains('checked')]);")

    def choose(name):
        page.js("document.querySelector(`#conveniences [data-name='${arguments[0]}']`).click();", name)
        page.settled()

    items = open_menu()
    shot(page, out, "conveniences_menu")
    assert [i[0] for i in items] == ["history", "skip", "auto", "fullscreen", "save", "load", "title",
                                     "settings"], items
    assert [i[1] for i in items[4:7]] == [False, False, False], "the game's items on the title screen"
    assert items[2] == ["auto", True, False], items
    choose("auto")
    assert open_menu()[2] == ["auto", True, True], "auto mode is not ticked"
    choose("auto")
    assert open_menu()[2] == ["auto", True, False], "auto mode did not stop"
    keys(page, "\ue00c")  # Escape closes the menu without a choice

    # Full screen from the menu (a real click: the browser asks for one) and back by F11; the
    # client area takes the largest size that fits the screen.
    open_menu()
    page.driver.find_element("css selector", "#conveniences [data-name=fullscreen]").click()
    page.wait("full screen", "return document.fullscreenElement !== null;")
    fits = page.js("const s = tsukikage.scale, room = Math.min(innerWidth / 662, innerHeight / 601);"
                   "return [s * 662 <= innerWidth, s * 601 <= innerHeight,"
                   " s < 1 ? Math.abs(s - room) < 1e-9 : s + 1 > room];")
    assert fits == [True, True, True], f"full screen does not fit the picture to the screen: {fits}"
    assert open_menu()[3] == ["fullscreen", True, True], "full screen is not ticked"
    keys(page, "\ue00c")
    keys(page, "\ue03b")  # F11
    page.wait("the window again", "return document.fullscreenElement === null && tsukikage.scale === 2;")

    # The settings: a change applies at once, Cancel takes it back, OK keeps it.
    def settings_shown():
        open_menu()
        choose("settings")
        page.wait("the settings", "return document.getElementById('settings').open;")
        return page.js("const f = (n) => document.querySelector(`#settings [name=${n}]`);"
                       "return [Number(f('musicVolume').value), f('skipUnread').checked,"
                       " Number(f('autoSpeed').value)];")

    def set_field(name, value):
        page.js("const f = document.querySelector(`#settings [name=${arguments[0]}]`);"
                "if (f.type === 'checkbox') f.checked = arguments[1]; else f.value = arguments[1];"
                "f.dispatchEvent(new Event('input', { bubbles: true }));", name, value)
        page.settled()

    assert settings_shown() == [100, False, 150]
    shot(page, out, "settings")
    set_field("musicVolume", 40)
    set_field("skipUnread", True)
    page.js("document.querySelector('#settings button[value=cancel]').click();")
    page.settled()
    assert settings_shown() == [100, False, 150], "Cancel kept the changes"
    set_field("musicVolume", 0)
    set_field("autoSpeed", 200)
    page.js("document.querySelector('#settings button[value=ok]').click();")
    page.settled()
    assert settings_shown() == [0, False, 200], "OK lost the changes"
    page.js("document.querySelector('#settings button[value=cancel]').click();")
    keys(page, "\ue00c")  # Escape closes the menu without a choice
    page.settled()


def slots_and_title(page, out):
    """A save from the menu tells its slot in the lists; the way back to the title asks first."""
    from selenium.webdriver.common.action_chains import ActionChains

    page.click("NewGameImage")
    page.wait("the first page", "return tsukikage.control('imgAhead');")
    page.settled()

    def open_menu():
        canvas = page.driver.find_element("id", "screen")
        ActionChains(page.driver).move_to_element_with_offset(canvas, -200, -200).context_click().perform()
        page.wait("the conveniences' menu", "return !document.getElementById('conveniences').hidden;")

    def click(name, settle=True):
        page.js("document.querySelector(`#conveniences [data-name='${arguments[0]}']`).click();", name)
        if settle:  # a question keeps the engine's call waiting
            page.settled()

    def listed():
        return page.js("return Array.from(document.querySelectorAll('#conveniences .menu-item,"
                       " #conveniences .menu-note'), n => [n.dataset.name || '', n.textContent,"
                       " !n.classList.contains('disabled')]);")

    open_menu()
    click("save")
    slots = listed()
    assert [s[0] for s in slots] == ["save1", "save2", "save3", "save4", "save5"], slots
    assert all(s[1].endswith("（空き）") and s[2] for s in slots), slots
    click("save1")
    open_menu()
    click("load")
    slots = listed()
    shot(page, out, "load_list")
    assert slots[0][2] and re.search(r"スロット1　\d{4}/\d\d/\d\d \d\d:\d\d", slots[0][1]), slots
    assert not any(s[2] for s in slots[1:5]), "an empty slot can be loaded"
    assert slots[-1][0] == "" and "最後の区切り" in slots[-1][1], slots
    keys(page, "\ue00c")
    page.settled()

    for answer, title in (("\ue00c", False), ("\ue007", True)):  # Escape: no; Return: yes
        open_menu()
        click("title", settle=False)
        page.wait("the question", "return document.getElementById('box').open;")
        if answer == "\ue007":
            shot(page, out, "back_to_title_question")
        keys(page, answer)
        page.settled()
        assert title_shown(page) == title and bool(page.control("imgAhead")) != title, answer


def touch(page, name, points, hold=0.0):
    """One finger down at the first point of a control, moved through the others, lifted."""
    left, top, width, height = page.control(name)["clip"]
    box = page.js("const r = document.getElementById('screen').getBoundingClientRect();"
                  "return [r.left, r.top, tsukikage.scale];")
    at = [(box[0] + (left + width * fx) * box[2], box[1] + (top + height * fy) * box[2])
          for fx, fy in points]

    def send(kind, point):
        page.driver.execute_cdp_cmd("Input.dispatchTouchEvent", {
            "type": kind, "touchPoints": [] if kind == "touchEnd" else
            [{"x": point[0], "y": point[1], "id": 1}]})

    send("touchStart", at[0])
    time.sleep(hold)
    for point in at[1:]:
        send("touchMove", point)
        time.sleep(0.02)
    send("touchEnd", at[-1])
    page.settled()


def gestures(page, out):
    page.driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": True, "maxTouchPoints": 1})
    touch(page, "NewGameImage", [(0.5, 0.5)])
    page.wait("a tap to start the game", "return tsukikage.control('imgAhead');")
    before = page.caption("Label1")
    touch(page, "imgAhead", [(0.5, 0.5)])
    page.wait("a tap to turn the page", "return !tsukikage.control('imgAhead') ||"
              " tsukikage.control('Label1').caption !== arguments[0];", 20, before)
    page.settled()
    page.wait("the page", "return tsukikage.control('imgAhead');")
    # A slow finger that comes back where it started is no tap.
    before = page.caption("Label1")
    touch(page, "Picture1", [(0.5, 0.3), (0.5, 0.35), (0.5, 0.3)])
    assert page.caption("Label1") == before

    touch(page, "Picture1", [(0.5, 0.2), (0.5, 0.4), (0.5, 0.7)])
    page.wait("the history after a swipe down",
              "return tsukikage.frame.overlay.history !== null;")
    shot(page, out, "history")
    # The right button closes the history; the long press stands for it.
    touch(page, "Picture1", [(0.5, 0.5)], hold=0.8)
    page.wait("the history closed", "return tsukikage.frame.overlay.history === null;")
    touch(page, "Picture1", [(0.5, 0.5)], hold=0.8)
    page.wait("the menu after a long press",
              "return !document.getElementById('conveniences').hidden;")
    shot(page, out, "long_press_menu")
    keys(page, "\ue00c")
    page.driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": False})


# --- Transitions against the desktop's pictures ------------------------------------------------
def png(width, height, pixel):
    """An RGB PNG of pixel(x, y) -> (r, g, b)."""
    rows = b"".join(b"\0" + bytes(c for x in range(width) for c in pixel(x, y))
                    for y in range(height))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


def gradient(incoming):
    """The expected pictures' two sources (tests/view/transition_golden_tests.cpp)."""
    def pixel(x, y):
        coarse = 0x20 + 0x30 * (x >> 8) + 0x18 * (y >> 8)
        return (coarse, y & 0xFF, x & 0xFF) if incoming else (x & 0xFF, y & 0xFF, coarse)
    return png(640, 480, pixel)


# Put before the page's own scripts: once the runtime is up and before the game starts, the
# files in window.__game replace the packed demo's.
INSTALL_GAME = """
Object.defineProperty(window, 'Module', { configurable: true, set(module) {
  const start = module.onRuntimeInitialized;
  module.onRuntimeInitialized = () => {
    for (const [name, text] of Object.entries(window.__game)) {
      FS.writeFile('/game/' + name, Uint8Array.from(atob(text), (c) => c.charCodeAt(0)));
    }
    start();
  };
  Object.defineProperty(window, 'Module', { value: module, writable: true, configurable: true });
}});
"""


def transitions(driver, url, golden):
    sources = {"Data/001.jpg": gradient(False), "Data/002.jpg": gradient(True)}
    for name, frames, command in (("squeeze", 21, ".a 1"), ("shrink", 34, ".b 1"), ("turn", 48, ".d 1")):
        game = {k: base64.b64encode(v).decode() for k, v in sources.items()}
        game["datafile"] = base64.b64encode(f"{command}\r\n.\r\n".encode()).decode()
        script = driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {
            "source": f"window.__game = {json.dumps(game)};" + INSTALL_GAME})
        page = Page(driver)
        driver.get(url)
        page.wait("the title", "return window.tsukikage && tsukikage.control('NewGameImage');", 60)
        page.settled()
        # Every frame painted while the transition runs, as a digest of Picture1's inside.
        page.js("""
            // A picture's size and a digest of its colours, alpha apart.
            window.__digest = (image) => {
              let hash = 0x811c9dc5;
              const data = image.data;
              for (let i = 0; i < data.length; i += 4) {
                hash = Math.imul(hash ^ data[i], 0x01000193);
                hash = Math.imul(hash ^ data[i + 1], 0x01000193);
                hash = Math.imul(hash ^ data[i + 2], 0x01000193);
              }
              return [image.width, image.height, hash >>> 0];
            };
            window.__frames = [];
            tsukikage.afterPaint = (frame) => {
              const box = frame.controls.find((c) => c.name === 'Picture1');
              const [l, t, w, h] = box.rect;
              __frames.push(__digest(document.getElementById('screen').getContext('2d')
                  .getImageData(l + 2, t + 2, w - 4, h - 4)));
            };""")
        # The desktop's pictures, read by the browser and digested as the frames are.
        pictures = [base64.b64encode((golden / "transitions" / f"{name}_{frame:02}.png")
                                     .read_bytes()).decode() for frame in range(1, frames + 1)]
        expected = [tuple(e) for e in driver.execute_async_script("""
            const done = arguments[arguments.length - 1];
            Promise.all(arguments[0].map(async (text) => {
              const bytes = Uint8Array.from(atob(text), (c) => c.charCodeAt(0));
              const bitmap = await createImageBitmap(new Blob([bytes]),
                  { premultiplyAlpha: 'none', colorSpaceConversion: 'none' });
              const c = new OffscreenCanvas(bitmap.width, bitmap.height).getContext('2d');
              c.drawImage(bitmap, 0, 0);
              return __digest(c.getImageData(0, 0, bitmap.width, bitmap.height));
            })).then(done, (e) => done(String(e)));""", pictures)]
        page.click("NewGameImage")
        # The advance marker is shown from the start, disabled: the end is the last picture.
        try:
            page.wait("the transition's last frame", "return __frames.length > 0 &&"
                      " __frames[__frames.length - 1][2] === arguments[0];", 30, expected[-1][2])
        except AssertionError:
            pass  # told below, with the frames that did come
        painted = page.js("tsukikage.afterPaint = null; return __frames;")
        driver.execute_cdp_cmd("Page.removeScriptToEvaluateOnNewDocument", {"identifier": script["identifier"]})

        # Frames come at the timer's pace and the page paints at the screen's: a frame may be
        # passed over when two ticks come between paints, but none may differ or come early.
        at, matched = 0, 0
        for frame in painted:
            found = next((i for i in range(at, frames) if tuple(frame) == expected[i]), None)
            if found is not None:
                at, matched = found + 1, matched + 1
        assert at == frames, f"{name}: the last frame painted is not the desktop's last ({at}/{frames})"
        assert matched >= frames * 3 // 4, f"{name}: only {matched} of {frames} frames are the desktop's"
        print(f"screens_test: {name}: {matched} of {frames} frames painted, each the desktop's")


def main():
    web, golden, out = (pathlib.Path(a) for a in sys.argv[1:4])
    if not CHROMIUM:
        print("screens_test: Chromium is not installed (scripts/install-deps); skipped")
        return SKIPPED
    out = out / "screens"
    out.mkdir(parents=True, exist_ok=True)
    server = serve(web)
    url = f"http://127.0.0.1:{server.server_address[1]}/index.html"
    profile = tempfile.mkdtemp(prefix="screens-test-profile-")
    driver = start_browser(profile)
    page = Page(driver)
    try:
        driver.get(url)
        page.wait("the title", "return window.tsukikage && tsukikage.control('NewGameImage');", 60)
        shot(page, out, "title")
        conveniences(page, out)
        (out / "choice.png").unlink(missing_ok=True)
        steps = play_to_end(page, by_keys=False, out=out)
        print(f"screens_test: the demo played to its end by clicks in {steps} steps")
        steps = play_to_end(page, by_keys=True)
        print(f"screens_test: the demo played to its end by keys in {steps} steps")
        slots_and_title(page, out)
        extras(page, out)
        gestures(page, out)
        transitions(driver, url, golden)
        errors = [e for e in driver.get_log("browser") if e["level"] == "SEVERE"]
        assert not errors, f"errors in the console: {errors}"
        return 0
    except Exception:
        shot(page, out, "failed")
        print("\n".join(f"screens_test: console {e['level']}: {e['message']}"
                        for e in driver.get_log("browser")))
        raise
    finally:
        for done in (driver.quit, server.shutdown, lambda: shutil.rmtree(profile, True)):
            done()


if __name__ == "__main__":
    sys.exit(main())
