#!/usr/bin/env python3
"""Plays the built page in headless Chromium: the title screen, a new game, pages turned by
clicking the advance marker, one choice picked. Checks that the canvas shows the model the
engine reports, that the text is the demo's own, and that the console stays free of errors;
writes page_test.png (the canvas) and prints the load time, the page's size and idle CPU.

Usage: page_test.py WEB_DIR GAME_DIR OUT_DIR. Exits 77 (skipped) only when Chromium is not
installed.
"""
import base64
import contextlib
import functools
import gzip
import http.server
import io
import json
import pathlib
import shutil
import sys
import tempfile
import threading
import time

SKIPPED = 77
CHROMIUM = shutil.which("chromium") or shutil.which("chromium-browser")
DRIVER = shutil.which("chromedriver") or "/usr/bin/chromedriver"


def serve(folder):
    handler = functools.partial(QuietHandler, directory=str(folder))
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def start_browser(profile):
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service

    options = webdriver.ChromeOptions()
    options.binary_location = CHROMIUM
    for flag in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                 "--no-first-run", "--disable-background-networking",
                 "--disable-component-update", "--disable-sync", "--window-size=1500,1500",
                 f"--user-data-dir={profile}"):
        options.add_argument(flag)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    return webdriver.Chrome(service=Service(DRIVER), options=options)


@contextlib.contextmanager
def browser_session(web, name, before_load=None):
    """A server for the built page and a browser on it, the title screen shown: yields the
    Page. `before_load` is a script run in every document before the page's own. On a failure
    the page's console is printed; the browser, the server and its profile go in any case."""
    server = serve(web)
    profile = tempfile.mkdtemp(prefix=f"{name}-profile-")
    driver = start_browser(profile)
    page = Page(driver)
    try:
        if before_load:
            driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": before_load})
        driver.get(f"http://127.0.0.1:{server.server_address[1]}/index.html")
        page.wait("the title screen",
                  "return window.tsukikage && tsukikage.control('NewGameImage');", 60)
        page.settled()
        yield page
        errors = [e for e in driver.get_log("browser") if e["level"] == "SEVERE"]
        assert not errors, f"errors in the console: {errors}"
    except Exception:
        for entry in driver.get_log("browser"):
            print(f"{name}: console {entry['level']}: {entry['message']}")
        raise
    finally:
        driver.quit()
        server.shutdown()
        shutil.rmtree(profile, ignore_errors=True)


class Page:
    def __init__(self, driver):
        self.driver = driver

    def js(self, script, *args):
        return self.driver.execute_script(script, *args)

    def wait(self, what, condition, timeout=20, *args):
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            value = self.js(condition, *args)
            if value:
                return value
            time.sleep(0.05)
        raise AssertionError(f"timed out waiting for {what}")

    def next_page(self):
        """Clicks the advance marker until the next page or the choice is shown. A click while
        a page is still coming in is ignored, as on the desktop: it is made again."""
        self.click_until("imgAhead", "the next page", "return tsukikage.control('imgSel(0)') ||"
                         " (tsukikage.control('Label1') || {}).caption !== arguments[0];",
                         self.caption("Label1"))

    def control(self, name):
        return self.js("return window.tsukikage && tsukikage.control(arguments[0]);", name)

    def caption(self, name):
        control = self.control(name)
        return control["caption"] if control else ""

    def choosing(self):
        return bool(self.control("imgSel(0)") and self.control("lblSel(0)"))

    def click_until(self, name, what, condition, *args, tries=20):
        """Clicks a control until the condition holds, waiting a little after each click."""
        for _ in range(tries):
            self.settled()
            self.click(name)
            try:
                self.wait(what, condition, 1.0, *args)
                self.settled()
                return
            except AssertionError:
                pass
        raise AssertionError(f"timed out waiting for {what}")

    def settled(self):
        """Waits until no engine call runs and the latest model is painted."""
        self.wait("the page to settle",
                  "return window.tsukikage && tsukikage.frame && !tsukikage.busy &&"
                  " Module._tk_revision() === tsukikage.frame.revision;")

    def click(self, name):
        """Clicks the middle of a control with the real mouse, in the page's scale."""
        from selenium.webdriver.common.action_chains import ActionChains
        from selenium.webdriver.common.actions.action_builder import ActionBuilder

        control = self.control(name)
        assert control, f"{name} is not shown"
        left, top, width, height = control["clip"]
        box = self.js("const r = document.getElementById('screen').getBoundingClientRect();"
                      "return [r.left, r.top, tsukikage.scale];")
        x = box[0] + (left + width / 2) * box[2]
        y = box[1] + (top + height / 2) * box[2]
        actions = ActionChains(self.driver)
        builder = ActionBuilder(self.driver)
        builder.pointer_action.move_to_location(int(x), int(y))
        builder.pointer_action.click()
        actions.w3c_actions = builder
        actions.perform()

    def pixels(self, rect):
        """The canvas's RGBA bytes inside a client-area rectangle."""
        data = self.js("const c = document.getElementById('screen').getContext('2d');"
                       "return Array.from(c.getImageData(...arguments[0]).data);", rect)
        return [tuple(data[i:i + 4]) for i in range(0, len(data), 4)]


def colour(text):
    return tuple(int(text[i:i + 2], 16) for i in (1, 3, 5))


def check_caption_painted(page, name):
    """The label shows its caption: pixels of the text colour on its back colour."""
    control = page.control(name)
    fore, back = colour(control["fore"]), colour(control["back"])
    pixels = page.pixels(control["clip"])
    inked = sum(1 for p in pixels if sum(abs(a - b) for a, b in zip(p, fore)) < 60)
    plain = sum(1 for p in pixels if p[:3] == back)
    assert inked >= 30, f"{name}: caption not painted ({inked} pixels of its colour)"
    assert plain > len(pixels) // 4, f"{name}: back colour missing"


def check_picture_painted(page, name):
    pixels = page.pixels(page.control(name)["clip"])
    assert len(set(pixels)) > 16, f"{name}: the picture is blank"


def check_turn_painted_before_next_frame(page):
    """A click's page is on the canvas before the browser's next frame begins: the page
    paints once the engine has turned it, not at the next animation frame."""
    page.settled()
    page.wait("the advance marker", "return tsukikage.control('imgAhead').enabled;")
    before, model, painted = page.driver.execute_async_script("""
        const done = arguments[arguments.length - 1];
        const before = Module._tk_revision();
        // Asked for before the click: it runs ahead of anything the click asks of the frame.
        requestAnimationFrame(() => done([before, Module._tk_revision(), tsukikage.frame.revision]));
        const [l, t, w, h] = tsukikage.control('imgAhead').clip;
        const r = document.getElementById('screen').getBoundingClientRect();
        const at = { clientX: r.left + (l + w / 2) * tsukikage.scale,
                     clientY: r.top + (t + h / 2) * tsukikage.scale, button: 0, bubbles: true };
        document.getElementById('screen').dispatchEvent(new MouseEvent('mousedown', at));
        document.dispatchEvent(new MouseEvent('mouseup', at));""")
    assert model != before, "the click turned no page"
    assert painted == model, f"the turned page waited for a frame: model {model}, painted {painted}"


def first_line(text):
    return text.replace("\r\n", "\n").replace("\r", "\n").split("\n")[0].strip("\u3000 ")


def readable(text):
    """A caption as a screen reader gets it: one kind of line break, no blanks at the ends."""
    return text.replace("\r\n", "\n").replace("\r", "\n").strip(" \t\n\u3000")


def check_live_region(page, expected):
    """The hidden live region reads what the screen shows, and the canvas has a name."""
    text, live, width, name = page.js(
        "const r = document.getElementById('live-text');"
        "return [r.textContent, r.getAttribute('aria-live'), r.getBoundingClientRect().width,"
        " document.getElementById('screen').getAttribute('aria-label')];")
    assert live == "polite" and name, f"no live region or no name for the canvas ({live}, {name})"
    assert width <= 1, "the live region can be seen"
    assert text == expected, f"the live region reads {text!r}, not {expected!r}"


def page_size(folder):
    """The bytes a browser fetches, gzipped as a server would send them, fonts apart."""
    sizes = {}
    for name in ("tsukikage_web.wasm", "tsukikage_web.js", "tsukikage_web.data.gz",
                 "tsukikage_web.waves.gz", "index.html", "page.js", "player.css"):
        bytes_ = (folder / name).read_bytes()
        sizes[name] = len(bytes_ if name.endswith(".gz") else gzip.compress(bytes_, 9))
    return sizes


def idle_cpu(driver, seconds=5.0):
    """The share of one core the tab's main thread was busy while nobody played."""
    driver.execute_cdp_cmd("Performance.enable", {})

    def task_seconds():
        metrics = driver.execute_cdp_cmd("Performance.getMetrics", {})["metrics"]
        return {m["name"]: m["value"] for m in metrics}["TaskDuration"]

    before, start = task_seconds(), time.monotonic()
    time.sleep(seconds)
    return (task_seconds() - before) / (time.monotonic() - start)


def check_waves_restored(page, game):
    """The waves packed for the page, apart from its data, are the game's own bytes once the
    game runs: fetched, written back over their empty files and restored."""
    import hashlib
    digests = page.driver.execute_async_script("""
        const done = arguments[arguments.length - 1];
        const names = new TextDecoder().decode(FS.readFile('/packed-waves.txt'))
          .split('\\n').filter((name) => name);
        Promise.all(names.map(async (name) => {
          const digest = await crypto.subtle.digest('SHA-256', FS.readFile('/game/' + name));
          return [name, Array.from(new Uint8Array(digest), (b) => b.toString(16)
                                     .padStart(2, '0')).join('')];
        })).then(done);""")
    assert digests, "no wave was packed into the page"
    for name, digest in digests:
        assert digest == hashlib.sha256((game / name).read_bytes()).hexdigest(), \
            f"{name} is not the game's own once restored"


class GameDataHandler(QuietHandler):
    """Serves the gzipped game data as a server may: `marked` says it is gzip-encoded (the
    browser then expands it on the way), `missing` has none (only the plain file). For `no
    decompressor` no gzipped file is there: the page must not ask for one."""
    way = "marked"

    def send_head(self):
        if self.way == "no decompressor" and self.path.split("?")[0].endswith(".gz"):
            self.send_error(404)
            return None
        if self.path.split("?")[0].endswith(".data.gz"):
            if self.way == "missing":
                self.send_error(404)
                return None
            body = gzip.decompress(pathlib.Path(self.translate_path(self.path)).read_bytes())
            packed = gzip.compress(body, 1)
            self.send_response(200)
            self.send_header("Content-Type", "application/octet-stream")
            self.send_header("Content-Encoding", "gzip")
            self.send_header("Content-Length", str(len(packed)))
            self.end_headers()
            return io.BytesIO(packed)
        return super().send_head()


def check_game_data_served_other_ways(driver, web, game):
    """The game's data reaches the engine whole however the server hands the gzipped file,
    and a browser that cannot expand gzip gets the plain data and waves."""
    for way in ("marked", "missing", "no decompressor"):
        handler = functools.partial(type("Way", (GameDataHandler,), {"way": way}),
                                    directory=str(web))
        server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        threading.Thread(target=server.serve_forever, daemon=True).start()
        script = None
        if way == "no decompressor":
            script = driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument",
                                            {"source": "delete globalThis.DecompressionStream;"})
        try:
            driver.get(f"http://127.0.0.1:{server.server_address[1]}/index.html")
            page = Page(driver)
            page.wait(f"the title screen, the data served {way}",
                      "return window.tsukikage && tsukikage.control('NewGameImage');", 60)
            page.driver.execute_async_script(
                "const done = arguments[arguments.length - 1]; tsukikage.idle().then(done, done);")
            check_waves_restored(page, game)
        finally:
            if script:
                driver.execute_cdp_cmd("Page.removeScriptToEvaluateOnNewDocument",
                                       {"identifier": script["identifier"]})
            server.shutdown()


def main():
    web, game, out = (pathlib.Path(a) for a in sys.argv[1:4])
    if not CHROMIUM:
        print("page_test: Chromium is not installed (scripts/install-deps); skipped")
        return SKIPPED
    scenario = (game / "datafile").read_bytes().decode("cp932")
    server = serve(web)
    profile = tempfile.mkdtemp(prefix="page-test-profile-")
    driver = start_browser(profile)
    page = Page(driver)
    try:
        driver.get(f"http://127.0.0.1:{server.server_address[1]}/index.html")
        page.wait("the title screen",
                  "return window.tsukikage && tsukikage.control('NewGameImage');", 60)
        page.settled()
        load_ms = page.js("return [tsukikage.loadToFirstPaintMs, tsukikage.loadToTitleMs];")
        assert page.js("return tsukikage.scale;") == 2, "the page is not shown at twice the size"
        check_picture_painted(page, "NewGameImage")
        menus = page.js("return Array.from(document.querySelectorAll('#menubar > .menu-title'),"
                        " m => m.firstChild.textContent);")
        assert menus == ["システム", "バージョン情報"], menus
        # A page that never rests (a loop of ticks or paints) takes a whole core; how little an
        # idle page takes is the benchmark's to measure (bench/web_page.py), as a busy machine
        # makes any figure here vary by tens of per cent.
        cpu = idle_cpu(driver)
        assert cpu < 0.5, f"the idle tab never rests: {cpu:.1%} of a core"
        check_waves_restored(page, game)

        page.click("NewGameImage")
        page.wait("the first page", "const l = tsukikage.control('Label1'); const a ="
                  " tsukikage.control('imgAhead'); return l && a && l.caption.trim() !== '';")
        page.settled()
        first = first_line(page.control("Label1")["caption"])
        assert first and first in scenario, f"the first line is not the demo's: {first!r}"
        check_caption_painted(page, "Label1")
        check_picture_painted(page, "Picture1")
        check_live_region(page, readable(page.caption("Label1")))
        texts = [first]

        # Through the pages up to the first choice, then pick its first caption.
        for _ in range(40):
            if page.choosing():
                break
            # A page of text alone: its turn needs nothing the browser must wait for.
            if texts[-1] == "風が渡るたび、軒の風鈴が小さく鳴る。":
                check_turn_painted_before_next_frame(page)
            else:
                page.next_page()
            texts.append(first_line(page.caption("Label1")))
            page.settled()
            if not page.choosing():
                check_live_region(page, readable(page.caption("Label1")))
        assert page.choosing(), "no choice came"
        check_live_region(page, "1. 「月が明るすぎて」と答える 2. 黙って首を横に振る")
        check_caption_painted(page, "lblSel(0)")
        choice = page.control("lblSel(0)")["caption"]
        page.click_until("lblSel(0)", "the page after the choice",
                         "return !tsukikage.control('imgSel(0)');")
        after = first_line(page.control("Label1")["caption"])
        assert after in scenario, f"the page after the choice is not the demo's: {after!r}"
        page.settled()
        check_live_region(page, readable(page.caption("Label1")))
        check_caption_painted(page, "Label1")

        png = page.js("return document.getElementById('screen').toDataURL('image/png');")
        (out / "page_test.png").write_bytes(base64.b64decode(png.split(",", 1)[1]))
        errors = [e for e in driver.get_log("browser") if e["level"] == "SEVERE"]
        assert not errors, f"errors in the console: {errors}"
        check_game_data_served_other_ways(driver, web, game)
        sizes = page_size(web)
        print(f"page_test: {len(texts)} pages and the choice {choice!r} played")
        print(f"page_test: load to first paint {load_ms[0]:.0f} ms, to the title"
              f" {load_ms[1]:.0f} ms; idle CPU {cpu:.1%} of a core")
        print("page_test: gzipped " + ", ".join(f"{k} {v / 1024:.0f} KiB" for k, v in sizes.items())
              + f"; total {sum(sizes.values()) / 1024:.0f} KiB (fonts apart)")
        print(f"page_test: canvas written to {out / 'page_test.png'}")
        return 0
    except Exception:
        # What the page showed when it failed, for the one reading the log.
        try:
            png = page.js("return document.getElementById('screen').toDataURL('image/png');")
            (out / "page_test.png").write_bytes(base64.b64decode(png.split(",", 1)[1]))
            frame = page.js("return tsukikage.frame;") or {}
            print("page_test: shown: " + ", ".join(
                f"{c['name']} {c['caption'][:20]!r}" for c in frame.get("controls", [])))
            for entry in driver.get_log("browser"):
                print(f"page_test: console {entry['level']}: {entry['message']}")
        except Exception as error:
            print(f"page_test: nothing more to show ({error})")
        raise
    finally:
        driver.quit()
        server.shutdown()
        shutil.rmtree(profile, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
