#!/usr/bin/env python3
"""Self-voicing in headless Chromium, which has no voices: the page's speechSynthesis is
replaced by a recorder before the page's scripts run. V on the title says so; a new game and
each click after it cancel what is being said and speak the new page, in order, in Japanese;
the choice is spoken with its numbers; V again cancels and says so, and the next page is not
spoken; the setting stands in the engine's settings the dialog shows.

Usage: voicing_test.py WEB_DIR OUT_DIR. Exits 77 (skipped) only when Chromium is not installed.
"""
import pathlib
import sys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
import page_test  # noqa: E402  (the browser, the server and the page's helpers)

# A speechSynthesis that keeps every call in window.spoken: ["speak", text, lang, voice] or
# ["cancel"]. Its one voice is Japanese, so the page must pick it.
RECORDER = """
window.spoken = [];
class RecordedUtterance { constructor(text) { this.text = text; this.lang = ''; this.voice = null; } }
const voices = [{ name: 'English', lang: 'en-US', localService: true },
                { name: 'Japanese', lang: 'ja-JP', localService: true }];
const recorder = {
  speak: (u) => window.spoken.push(['speak', u.text, u.lang, u.voice && u.voice.name]),
  cancel: () => window.spoken.push(['cancel']),
  getVoices: () => voices,
  addEventListener: () => {},
};
Object.defineProperty(window, 'speechSynthesis', { value: recorder, configurable: true });
Object.defineProperty(window, 'SpeechSynthesisUtterance',
                      { value: RecordedUtterance, configurable: true, writable: true });
"""


def spoken_page(caption):
    """A page as the engine has it spoken: its lines joined by a blank."""
    lines = caption.replace("\r\n", "\n").split("\n")
    return " ".join(line for line in lines if line)


def press(page, key):
    from selenium.webdriver.common.action_chains import ActionChains
    page.settled()
    ActionChains(page.driver).send_keys(key).perform()
    page.settled()


def spoken(page):
    return page.js("return window.spoken.slice();")


def main():
    web, out = (pathlib.Path(a) for a in sys.argv[1:3])
    if not page_test.CHROMIUM:
        print("voicing_test: Chromium is not installed (scripts/install-deps); skipped")
        return page_test.SKIPPED
    with page_test.browser_session(web, "voicing_test", RECORDER) as page:
        assert spoken(page) == [], f"spoken before it was turned on: {spoken(page)}"

        press(page, "v")
        assert spoken(page) == [["speak", "読み上げ オン", "ja-JP", "Japanese"]], spoken(page)

        page.click("NewGameImage")
        page.wait("the first page", "const l = tsukikage.control('Label1');"
                  " return l && l.caption.trim() !== '' && window.spoken.length >= 3;")
        page.settled()
        expected = [["speak", "読み上げ オン", "ja-JP", "Japanese"], ["cancel"],
                    ["speak", spoken_page(page.caption("Label1")), "ja-JP", "Japanese"]]
        for _ in range(40):
            if page.choosing():
                break
            page.next_page()
            expected.append(["cancel"])
            if not page.choosing():
                expected.append(["speak", spoken_page(page.caption("Label1")), "ja-JP", "Japanese"])
        assert page.choosing(), "no choice came"
        first, second = page.caption("lblSel(0)"), page.caption("lblSel(1)")
        expected.append(["speak", f"1、{first}。2、{second}。", "ja-JP", "Japanese"])
        got = spoken(page)
        assert got == expected, "spoken:\n" + "\n".join(map(str, got)) + \
            "\nexpected:\n" + "\n".join(map(str, expected))

        press(page, "V")
        page.click_until("lblSel(0)", "the page after the choice",
                         "return !tsukikage.control('imgSel(0)');")
        tail = spoken(page)[len(expected):]
        assert tail == [["cancel"], ["speak", "読み上げ オフ", "ja-JP", "Japanese"], ["cancel"]], \
            f"after V again: {tail}"
        kept = page.js("return JSON.parse(Module.ccall('tk_conveniences', 'string', ['number'],"
                       " [0])).settings.selfVoicing;")
        assert kept is False, f"the settings show self-voicing as {kept!r} after V turned it off"

        print(f"voicing_test: {len(expected)} calls in order, "
              f"{sum(1 for c in expected if c[0] == 'speak')} texts spoken")
        return 0


if __name__ == "__main__":
    sys.exit(main())
