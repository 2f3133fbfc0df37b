#!/usr/bin/env python3
"""Measures the browser player in headless Chromium with the demo game, as a player meets it:
the time from the page's load to the first paint of the game's window (the lettering),
where that time goes, the bytes a server sends (gzipped) for everything fetched through the
title and the first pages, a click on the advance marker to the next page painted (on the
first pages of several fresh loads), and the share of a core the tab takes while a page waits.

Usage: bench/web_page.py [WEB_DIR] [RUNS]   (default build-wasm/web, 5 runs). A benchmark:
it prints numbers and never fails on them.
"""
import gzip
import pathlib
import statistics
import sys
import tempfile
import shutil
import time
import urllib.parse

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent / "tests" / "wasm"))
import page_test  # noqa: E402  (the page's server, browser and helpers)
from screens_test import INSTALL_GAME  # noqa: E402

TURNS = 8
PLAYS = 3          # fresh loads played from the title, for the clicks' figures
TITLE_SECONDS = 5
FRAME_MS = 1000 / 60
QUIET_SECONDS = 2


class KeepAliveHandler(page_test.QuietHandler):
    """Serves on kept connections, as a real server does: the page's load then measures the
    page, not a connection and a thread made for every file."""
    protocol_version = "HTTP/1.1"


def serve(folder):
    import functools
    import http.server
    import threading

    class Server(http.server.ThreadingHTTPServer):
        def handle_error(self, request, client_address):
            # A load the next one cut short closes its kept connections: nothing went wrong.
            if not isinstance(sys.exc_info()[1], ConnectionError):
                super().handle_error(request, client_address)

    handler = functools.partial(KeepAliveHandler, directory=str(folder))
    server = Server(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def settle(driver):
    """Leaves the page loaded last and lets the browser finish what it still does for it (the
    title's music and the pictures it decodes ahead, the engine's optimizing compile), so each
    load starts in a quiet browser, as a player's first visit does."""
    driver.get("about:blank")
    time.sleep(QUIET_SECONDS)


def load(driver, page, url):
    driver.get(url)
    page.wait("the first paint", "return window.tsukikage && tsukikage.firstPaintSinceLoadMs;", 60)
    return page.js("""
        const at = (name) => (performance.getEntriesByType('resource').find(
            (e) => e.name.endsWith(name)) || {}).responseEnd || null;
        return { paint: tsukikage.firstPaintSinceLoadMs, data: at('.data') || at('.data.gz'),
                 wasm: at('.wasm'),
                 domContentLoaded: performance.timing.domContentLoadedEventEnd
                                   - performance.timing.navigationStart };""")


def fetched(page, web):
    """Each file the page fetched, with its bytes gzipped at level 9 as a server would send
    them (a file gzipped already as it is)."""
    names = page.js("return performance.getEntriesByType('resource').map((e) => e.name)"
                    ".concat([location.href]);")
    sizes = {}
    for url in names:
        path = urllib.parse.unquote(urllib.parse.urlparse(url).path).lstrip("/") or "index.html"
        file = web / path
        if file.is_file():
            # A file gzipped already goes as it is.
            data = file.read_bytes()
            sizes[path] = len(data if path.endswith(".gz") else gzip.compress(data, 9))
    return sizes


def turn_page(page):
    """Milliseconds from a click on the advance marker to the first paint after it, and to
    the paint of the next page's text (a transition may come between)."""
    page.settled()
    return page.driver.execute_async_script("""
        const done = arguments[arguments.length - 1];
        const before = tsukikage.control('Label1').caption;
        const [l, t, w, h] = tsukikage.control('imgAhead').clip;
        const canvas = document.getElementById('screen');
        const r = canvas.getBoundingClientRect();
        const at = { clientX: r.left + (l + w / 2) * tsukikage.scale,
                     clientY: r.top + (t + h / 2) * tsukikage.scale, button: 0, bubbles: true };
        const start = performance.now();
        let first = null;
        canvas.dispatchEvent(new MouseEvent('mousedown', at));
        document.dispatchEvent(new MouseEvent('mouseup', at));
        const look = () => {
          if (first === null && tsukikage.paintedAt > start) first = tsukikage.paintedAt - start;
          const label = tsukikage.control('Label1');
          if (label && label.caption !== before) done([first, tsukikage.paintedAt - start]);
          else if (performance.now() - start > 5000) done([first, null]);
          else requestAnimationFrame(look);
        };
        requestAnimationFrame(look);""")


def play_first_pages(driver, url):
    """A fresh load played from the title through its first pages (up to TURNS, to the first
    choice): each turn's figures from turn_page. The page is left on its last turn."""
    page = page_test.Page(driver)
    load(driver, page, url)
    page.wait("the title", "return tsukikage.control('NewGameImage');", 30)
    time.sleep(TITLE_SECONDS)  # a player reads the title; the page decodes pictures ahead
    page.click_until("NewGameImage", "the first page",
                     "const l = tsukikage.control('Label1'); return l && l.caption.trim() &&"
                     " tsukikage.control('imgAhead');")
    turns = []
    for _ in range(TURNS):
        if page.choosing() or not page.control("imgAhead"):
            break
        # A player clicks once a transition has given the marker back: a click during one is
        # not taken, and its first paint would be the transition's next frame.
        page.wait("the advance marker", "return tsukikage.control('imgAhead').enabled;", 10)
        turns.append(turn_page(page))
    return page, turns


def quiet_page_cpu(driver, url):
    """The idle share on a page of a game that plays no music: only the form's own timers."""
    import base64
    import json
    scenario = "静かな頁。\r\n.\r\n".encode("cp932")
    script = driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {
        "source": f"window.__game = {json.dumps({'datafile': base64.b64encode(scenario).decode()})};"
                  + INSTALL_GAME})
    page = page_test.Page(driver)
    driver.get(url)
    page.wait("the title", "return window.tsukikage && tsukikage.control('NewGameImage');", 60)
    time.sleep(TITLE_SECONDS)
    page.click_until("NewGameImage", "the page", "return tsukikage.control('imgAhead');")
    driver.execute_cdp_cmd("Page.removeScriptToEvaluateOnNewDocument", {"identifier": script["identifier"]})
    return page_test.idle_cpu(driver, 5.0)


def main():
    web = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "build-wasm/web").resolve()
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    server = serve(web)
    url = f"http://127.0.0.1:{server.server_address[1]}/index.html"
    loads = []
    profile = tempfile.mkdtemp(prefix="web-bench-")
    driver = page_test.start_browser(profile)
    try:
        # A browser that has started already, fetching every file anew each time, as a
        # player's first visit finds it.
        driver.execute_cdp_cmd("Network.enable", {})
        driver.execute_cdp_cmd("Network.setCacheDisabled", {"cacheDisabled": True})
        load(driver, page_test.Page(driver), url)
        for _ in range(runs):
            settle(driver)
            loads.append(load(driver, page_test.Page(driver), url))
    finally:
        driver.quit()
        shutil.rmtree(profile, ignore_errors=True)
    for key in ("paint", "data", "wasm", "domContentLoaded"):
        values = [entry[key] for entry in loads if entry[key] is not None]
        if values:
            print(f"load: {key:17} median {statistics.median(values):7.0f} ms"
                  f" (min {min(values):.0f}, max {max(values):.0f}, {len(values)} runs)")

    profile = tempfile.mkdtemp(prefix="web-bench-")
    driver = page_test.start_browser(profile)
    try:
        driver.set_script_timeout(10)
        # Several plays: the first pages after a load meet pictures, sounds and characters for
        # the first time, and one play is too few turns for a steady median.
        turns = []
        for play in range(PLAYS):
            if play > 0:
                settle(driver)
            page, played = play_first_pages(driver, url)
            print("turns of play %d: %s ms" % (play + 1, ", ".join(
                "-" if first is None else f"{first:.1f}" for first, _ in played)))
            turns += played
        for index, what in ((0, "the first paint"), (1, "the next page's text painted")):
            done = [turn[index] for turn in turns if turn[index] is not None]
            if done:
                within = sum(1 for value in done if value <= FRAME_MS)
                print(f"click to {what}: median {statistics.median(done):.1f} ms,"
                      f" max {max(done):.1f} ms over {len(done)} pages of {PLAYS} plays;"
                      f" {within} within {FRAME_MS:.1f} ms")
        page.settled()
        cpu = page_test.idle_cpu(driver, 5.0)
        print(f"idle CPU while a page waits with its looping music: {cpu:.2%} of a core")
        sizes = fetched(page, web)
        for name, size in sorted(sizes.items(), key=lambda item: -item[1]):
            print(f"  {size / 1024:8.1f} KiB  {name}")
        without = sum(size for name, size in sizes.items() if not name.endswith(".sf2"))
        print(f"fetched, gzipped: {sum(sizes.values()) / 1024:.0f} KiB in {len(sizes)} files;"
              f" without the soundfont {without / 1024:.0f} KiB ({without} bytes)")
        print(f"idle CPU while a page of a game without music waits:"
              f" {quiet_page_cpu(driver, url):.2%} of a core")
    finally:
        driver.quit()
        server.shutdown()
        shutil.rmtree(profile, ignore_errors=True)


if __name__ == "__main__":
    main()
