#!/usr/bin/env python3
"""Listens to the built page in headless Chromium: the demo's looping MIDI theme, asked for
before any gesture, sounds once a key is pressed, and keeps sounding past its end; the chime
wave of the next page sounds on the voice. Samples the page's audio graph (its analysers),
not the speakers.

Usage: sound_test.py WEB_DIR. Exits 77 (skipped) only when Chromium is not installed.
"""
import pathlib
import sys
import tempfile
import time

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
import page_test  # noqa: E402  (the browser, the server and the page's helpers)

# Plausible levels of the analysers' peaks: far above silence, at most full scale.
HEARD = 0.02


def loudest(page, which, seconds):
    """The loudest peak of one output sampled over some seconds."""
    peak = 0.0
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        peak = max(peak, page.js("return TsukikageSound.peak(arguments[0]);", which))
        time.sleep(0.05)
    return peak


def untrusted_click(page, name):
    """A click the page gets from script, which a browser takes for no gesture."""
    page.js("const c = tsukikage.control(arguments[0]);"
            "const r = document.getElementById('screen').getBoundingClientRect();"
            "const s = tsukikage.scale;"
            "const x = r.left + (c.clip[0] + c.clip[2] / 2) * s;"
            "const y = r.top + (c.clip[1] + c.clip[3] / 2) * s;"
            "const o = {clientX: x, clientY: y, button: 0, bubbles: true};"
            "const canvas = document.getElementById('screen');"
            "canvas.dispatchEvent(new MouseEvent('mousedown', o));"
            "document.dispatchEvent(new MouseEvent('mouseup', o));", name)


# A 100 Hz square of arguments[0] seconds at 8 kHz, in `wave`.
SQUARE = ("const wave = new Float32Array(Math.round(arguments[0] * 8000));"
          "for (let i = 0; i < wave.length; ++i) wave[i] = Math.floor(i / 40) % 2 ? 0.5 : -0.5;")


def main():
    web = pathlib.Path(sys.argv[1])
    if not page_test.CHROMIUM:
        print("sound_test: Chromium is not installed (scripts/install-deps); skipped")
        return page_test.SKIPPED
    for needed in ("soundfont.sf2", "libfluidsynth.js", "js-synthesizer.min.js"):
        assert (web / needed).exists(), f"{needed} is not in the page (scripts/install-deps)"
    server = page_test.serve(web)
    driver = page_test.start_browser(tempfile.mkdtemp(prefix="sound-test-profile-"))
    page = page_test.Page(driver)
    try:
        driver.get(f"http://127.0.0.1:{server.server_address[1]}/index.html")
        page.wait("the title screen",
                  "return window.tsukikage && tsukikage.control('NewGameImage');", 60)
        page.settled()
        assert page.js("return TsukikageSound.context.state;") == "suspended", \
            "audio runs before any gesture"
        # The first page asks for the looping theme while nobody has touched the page.
        untrusted_click(page, "NewGameImage")
        page.wait("the first page", "const l = tsukikage.control('Label1');"
                  " return l && l.caption.trim() !== '';")
        page.settled()
        assert page.js("return TsukikageSound.context.state;") == "suspended"
        page.wait("the soundfont", "TsukikageSound.loadSynth().then(r => window.synthLoaded = r);"
                  " return window.synthLoaded;", 60)
        silent = loudest(page, "music", 0.5)
        assert silent == 0, f"heard {silent} before the gesture"

        # An effect asked for before the gesture belongs to its moment: one that would have
        # ended by then stays silent rather than sounding late.
        page.js(SQUARE + "TsukikageSound.playVoice(wave, 1, 8000, false);", 0.2)
        time.sleep(0.5)

        # A click beside the game's window is the gesture: the theme asked for before sounds now.
        from selenium.webdriver.common.action_chains import ActionChains
        from selenium.webdriver.common.by import By
        ActionChains(driver).click(driver.find_element(By.ID, "status")).perform()
        page.wait("the audio to start", "return TsukikageSound.context.state === 'running';")
        effect = loudest(page, "voice", 0.3)
        assert effect == 0 and not page.js("return TsukikageSound.voicePlaying;"), \
            f"an effect whose moment had passed sounds late: peak {effect}"
        music = loudest(page, "music", 3.0)
        assert HEARD < music <= 1.0, f"the theme is not heard: peak {music}"

        # The engine's watch starts the theme again when it has ended.
        page.wait("the theme to start again", "return TsukikageSound.musicStarts >= 2;", 60)
        again = loudest(page, "music", 2.0)
        assert again > HEARD, f"the theme did not loop: peak {again}"

        # The next page plays the chime on the voice.
        page.click_until("imgAhead", "the chime", "return TsukikageSound.voicePlaying;")
        chime = loudest(page, "voice", 0.4)
        assert HEARD < chime <= 1.0, f"the chime is not heard: peak {chime}"

        # A 100 Hz square at rates an AudioBuffer does not take is resampled into its range, and
        # heard; a wave with no whole frame is refused.
        for rate in (1000, 2999, 3000, 768000, 1000000):
            played = page.js("const wave = new Float32Array(arguments[0] / 2);"
                             "for (let i = 0; i < wave.length; ++i)"
                             "  wave[i] = Math.floor(i * 200 / arguments[0]) % 2 ? 0.5 : -0.5;"
                             "return TsukikageSound.playVoice(wave, 1, arguments[0], true);", rate)
            assert played, f"a wave at {rate} Hz is not played"
            level = loudest(page, "voice", 0.3)
            assert level > HEARD, f"a wave at {rate} Hz is not heard: peak {level}"
        assert not page.js("return TsukikageSound.playVoice(new Float32Array(1), 2, 8000, false);")
        page.js("TsukikageSound.stopVoice();")

        # A wave opened by the music device plays from a point on the music output, and a stop
        # silences it (all but the synthesizer's fading reverb).
        page.js("TsukikageSound.stopMusic();"
                "const wave = new Float32Array(16000);"
                "for (let i = 0; i < wave.length; ++i) wave[i] = Math.floor(i / 40) % 2 ? 0.5 : -0.5;"
                "TsukikageSound.loadMusicWave(wave, 1, 8000);"
                "TsukikageSound.playMusic(500, 0);")
        wave_music = loudest(page, "music", 0.5)
        assert HEARD < wave_music <= 1.0, f"the music wave is not heard: peak {wave_music}"
        page.js("TsukikageSound.stopMusic();")
        time.sleep(0.3)
        stopped = loudest(page, "music", 0.3)
        assert stopped < 0.01, f"the stopped music is still heard: peak {stopped}"

        errors = [e for e in driver.get_log("browser") if e["level"] == "SEVERE"]
        assert not errors, f"errors in the console: {errors}"
        print(f"sound_test: theme peak {music:.3f}, started again {again:.3f};"
              f" chime peak {chime:.3f}")
        return 0
    except Exception:
        for entry in driver.get_log("browser"):
            print(f"sound_test: console {entry['level']}: {entry['message']}")
        raise
    finally:
        driver.quit()
        server.shutdown()


if __name__ == "__main__":
    sys.exit(main())
