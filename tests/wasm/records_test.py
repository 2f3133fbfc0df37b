#!/usr/bin/env python3
"""The records that outlast the page, in headless Chromium: a save, a reload and a load bring
back the same choice; the seen pictures and the endings survive a reload; the player's own
folder (Japanese names in mixed case) plays through the folder picker, and again after おわり
and a new start, while a folder without a scenario is refused on the page; the exported
archive holds the records as the desktop keeps them and imported again restores them;
desktop record files import loose or zipped; damaged or foreign imports are refused with the
records left as they were. Writes records_*.png.

Usage: records_test.py WEB_DIR GAME_DIR OUT_DIR. Exits 77 (skipped) only without Chromium.
"""
import base64
import json
import pathlib
import shutil
import sys
import tempfile
import time
import zipfile

sys.path.insert(0, str(pathlib.Path(__file__).parent))
from page_test import CHROMIUM, SKIPPED, Page, first_line, serve, start_browser  # noqa: E402

STORED = """
const done = arguments[arguments.length - 1];
const key = TsukikageRecords.key;
const open = indexedDB.open('tsukikage', 1);
open.onsuccess = () => {
  const out = {};
  const tx = open.result.transaction('records', 'readonly');
  const req = tx.objectStore('records').openCursor(
      IDBKeyRange.bound([key, ''], [key, '\\uffff']));
  req.onsuccess = () => {
    const c = req.result;
    if (!c) { open.result.close(); done(out); return; }
    out[c.key[1]] = new TextDecoder('latin1').decode(new Uint8Array(c.value));
    c.continue();
  };
};
"""


class RecordsPage(Page):
    def stored(self):
        """The game's records as the browser keeps them: name -> text."""
        self.js_async("TsukikageRecords.saved.then(() => arguments[0]());")
        return self.driver.execute_async_script(STORED)

    def js_async(self, script, *args):
        return self.driver.execute_async_script(script, *args)

    def notice(self):
        return self.js("return document.getElementById('notice').textContent;")

    def wait_title(self):
        self.wait("the title screen",
                  "return window.tsukikage && tsukikage.control('NewGameImage') &&"
                  " TsukikageRecords.key;", 60)
        self.settled()

    def to_choice(self):
        """A new game played by clicks up to its first choice."""
        self.click("NewGameImage")
        self.wait("the first page", "return tsukikage.control('imgAhead');")
        for _ in range(40):
            if self.choosing():
                return
            self.next_page()
        raise AssertionError("no choice came")

    def menu(self, *names):
        """Opens the menus and picks the last item, as the mouse does."""
        for name in names:
            self.settled()
            self.js("document.querySelector(`#menubar [data-name=\"${arguments[0]}\"]`).click();",
                    name)
        self.settled()

    def choices(self):
        return [self.caption("lblSel(0)"), self.caption("lblSel(1)")]

    def screenshot(self, out, name):
        png = self.js("return document.getElementById('screen').toDataURL('image/png');")
        (out / f"records_{name}.png").write_bytes(base64.b64decode(png.split(",", 1)[1]))

    def pick_files(self, input_id, path):
        self.driver.find_element("id", input_id).send_keys(str(path))


def menu_names(page):
    return page.js("return tsukikage.frame.menus.map(m => m.name);")


# A digest of the game screen's pixels as painted: the scene behind a choice.
SCREEN_DIGEST = ("const [l, t, w, h] = tsukikage.control('Picture1').clip;"
                 "const d = document.getElementById('screen').getContext('2d')"
                 "    .getImageData(l, t, w, h).data;"
                 "let hash = 0x811c9dc5;"
                 "for (let i = 0; i < d.length; ++i) hash = Math.imul(hash ^ d[i], 0x01000193);"
                 "return hash >>> 0;")


def check_save_reload_load(page):
    page.to_choice()
    choices = page.choices()
    assert all(choices), choices
    page.settled()
    scene = page.js(SCREEN_DIGEST)
    names = menu_names(page)
    system, save_menu = names[0], names[2]
    page.menu(system, save_menu, "save1")
    stored = page.stored()
    # The save's notes for the slot lists are kept too.
    assert {"save1.dat", "cgmode.dat", "read-pages.txt", "slots.txt"} <= stored.keys(), sorted(stored)
    page.driver.refresh()
    page.wait_title()
    restored = page.stored()
    assert restored == stored, "the records changed across the reload"
    read = page.js("const d = '/player/read-pages';"
                   "const n = Module.FS.readdir(d).filter((f) => !f.startsWith('slots-')).pop();"
                   "return new TextDecoder('latin1').decode(Module.FS.readFile(d + '/' + n));")
    assert read == stored["read-pages.txt"], "the engine does not read the kept read pages"
    page.click("LoadGameImage")
    page.wait("the load screen", "return tsukikage.control('NewGameImage');")
    page.click_until("NewGameImage", "the loaded choice",
                     "return tsukikage.control('imgSel(0)') && tsukikage.control('lblSel(0)');")
    assert page.choices() == choices, f"{page.choices()} after the load, {choices} saved"
    # The part marker sets the scene's picture again: the loading picture does not stay.
    page.wait("the saved choice's scene behind the loaded choice",
              SCREEN_DIGEST.replace("return hash >>> 0;", "return (hash >>> 0) === arguments[0];"),
              20, scene)
    return choices


def check_ending_survives(page):
    """Plays on, first choices first, until an ending is recorded, then reloads."""
    before = page.stored().get("endlist.dat")
    for _ in range(80):
        page.settled()
        if page.js("return tsukikage.ended || !tsukikage.control('Picture1');"):
            break
        if page.choosing():
            page.click_until("lblSel(0)", "the page after the choice",
                             "return !tsukikage.control('imgSel(0)');")
        elif page.control("imgAhead"):
            page.click("imgAhead")
            time.sleep(0.15)
        else:
            time.sleep(0.1)
        if page.stored().get("endlist.dat") != before:
            break
    after = page.stored().get("endlist.dat")
    assert after and after != before, f"no ending recorded: {after!r}"
    page.driver.refresh()
    page.wait_title()
    assert page.stored()["endlist.dat"] == after
    shown = page.js("return new TextDecoder('latin1')"
                    ".decode(Module.FS.readFile('/game/endlist.dat'));")
    assert shown == after, "the engine does not read the kept ending record"
    return after


def own_folder(game, root):
    """The demo game with Japanese names in mixed case, in a folder named in Japanese."""
    folder = root / "月影の回廊"
    shutil.copytree(game, folder)
    for name in ("cgmode.dat", "endlist.dat", "tsukikage"):
        (folder / name).unlink(missing_ok=True)
    (folder / "datafile").rename(folder / "DataFile")
    (folder / "Data").rename(folder / "DATA")
    for path in list(folder.rglob("*")):
        if path.is_file() and path.suffix.lower() in (".jpg", ".bmp") and path.stem.isascii():
            path.rename(path.with_name(path.stem.upper() + path.suffix.lower()))
    return folder


DROPPED = """
const done = arguments[arguments.length - 1];
const file = (name) => ({ name, isFile: true, isDirectory: false,
                          file: (ok) => ok(new File([name], name)) });
// A folder's reader gives its entries in two batches, then an empty one.
const folder = (name, children) => ({ name, isFile: false, isDirectory: true, createReader() {
  const batches = [children.slice(0, 1), children.slice(1), []];
  return { readEntries: (ok) => ok(batches.shift() || []) };
}});
const dropped = folder('月影', [file('DataFile'), folder('Data', [file('題名.JPG'),
                                                          folder('空', [])]), file('SE')]);
TsukikageFolder.fromEntry(dropped).then((files) => done(files.map((f) => f.path)));
"""


def check_own_folder(page, game, root, out):
    dropped = page.js_async(DROPPED)
    assert dropped == ["月影/DataFile", "月影/Data/題名.JPG", "月影/SE"], dropped

    no_game = root / "ゲームではない"
    (no_game / "sub").mkdir(parents=True)
    (no_game / "sub" / "readme.txt").write_text("nothing here")
    key = page.js("return TsukikageRecords.key;")
    page.pick_files("folder-input", no_game)
    page.wait("the refusal", "return document.getElementById('notice').classList"
              ".contains('problem');")
    assert "datafile" in page.notice(), page.notice()
    assert page.js("return TsukikageRecords.key;") == key, "the game played changed"

    folder = own_folder(game, root)
    page.pick_files("folder-input", folder)
    page.wait("the own game's title", "return TsukikageRecords.key &&"
              " TsukikageRecords.key.startsWith('月影の回廊/') &&"
              " tsukikage.control('NewGameImage');", 30)
    copy_ms = page.js("return tsukikage.folderCopyMs;")
    page.settled()
    page.click("NewGameImage")
    page.wait("the own game's first page",
              "const l = tsukikage.control('Label1'); return l && l.caption.trim() !== '';")
    page.settled()
    scenario = (game / "datafile").read_bytes().decode("cp932")
    shown = first_line(page.caption("Label1"))
    assert shown and shown in scenario, shown
    pixels = page.pixels(page.control("Picture1")["clip"])
    assert len(set(pixels)) > 16, "the own game's picture is blank (its mixed-case name)"
    assert not page.js("return document.getElementById('box').open;"), "an error box is shown"
    page.screenshot(out, "own_folder")
    return copy_ms


def check_restart_keeps_folder(page):
    """The title's おわり ends the game, not the page: starting again plays the own folder."""
    key = page.js("window.pageMark = 'kept'; return TsukikageRecords.key;")
    page.settled()
    page.click("EndImage")
    page.wait("the end", "return tsukikage.ended &&"
              " !document.getElementById('ended').hidden;")
    assert "終了しました" in page.js(
        "return document.querySelector('#ended .ended-text').textContent;")
    page.js("document.getElementById('restart').click();")
    page.wait("the own game's title again", "return !tsukikage.ended &&"
              " tsukikage.control('NewGameImage') && TsukikageRecords.key;", 30)
    assert page.js("return window.pageMark;") == "kept", "the page was loaded again"
    assert page.js("return TsukikageRecords.key;") == key, "another game started"
    assert page.js("return document.getElementById('ended').hidden;")


EXPORTED = """
const done = arguments[arguments.length - 1];
TsukikageRecords.exportArchive().arrayBuffer().then((buffer) => {
  let text = '';
  for (const byte of new Uint8Array(buffer)) text += String.fromCharCode(byte);
  done(btoa(text));
});
"""


def import_refused(page, path, word):
    page.js("document.getElementById('notice').textContent = '';")
    page.pick_files("records-input", path)
    page.wait(f"the refusal of {path.name}", "return document.getElementById('notice')"
              ".classList.contains('problem') && document.getElementById('notice').textContent;")
    assert word in page.notice(), page.notice()


def imported(page, paths, word):
    page.js("document.getElementById('notice').textContent = '';")
    page.driver.find_element("id", "records-input").send_keys("\n".join(str(p) for p in paths))
    page.wait("the import", "return document.getElementById('notice').textContent"
              ".startsWith('記録を読み込みました') && TsukikageRecords.key;")
    assert word in page.notice(), page.notice()


def check_export_import(page, root):
    page.menu(menu_names(page)[0], menu_names(page)[2], "save2")
    kept = page.stored()
    exported = root / "records.zip"
    exported.write_bytes(base64.b64decode(page.js_async(EXPORTED)))
    # The archive lays the files out as the desktop keeps them, each as the browser holds it.
    with zipfile.ZipFile(exported) as archive:
        assert archive.testzip() is None
        files = {info.filename: archive.read(info).decode("latin1") for info in archive.infolist()}
    note = json.loads(files.pop("tsukikage-records.json"))
    scenario = note["scenario"]
    desktop_names = {"read-pages.txt": f"read-pages/{scenario}", "settings.ini": "tsukikage.ini"}
    # The slots' notes stay in the browser: they name the folders they were made in.
    assert files == {desktop_names.get(k, k): v for k, v in kept.items() if k != "slots.txt"}, \
        sorted(files)

    # Damaged, foreign and unreadable archives are refused, and nothing kept changes.
    data = exported.read_bytes()
    at = data.index(b"save2.dat") + len(b"save2.dat")  # the local entry's name, then its bytes
    (root / "flipped.zip").write_bytes(data[:at] + bytes([data[at] ^ 1]) + data[at + 1:])
    with zipfile.ZipFile(root / "bad-record.zip", "w") as archive:
        archive.writestr("tsukikage-records.json", json.dumps(note))
        archive.writestr("cgmode.dat", b"300\r\n")
    with zipfile.ZipFile(root / "foreign.zip", "w") as archive:
        archive.writestr("tsukikage-records.json", json.dumps(dict(note, scenario="0-1.txt")))
        archive.writestr("save1.dat", b" 1 \r\n")
    (root / "junk.zip").write_bytes(b"PK not really")
    with zipfile.ZipFile(root / "huge.zip", "w", zipfile.ZIP_DEFLATED) as archive:
        archive.writestr("save1.dat", b" 1 \r\n" + b" " * (1 << 20))
    for name, word in (("flipped.zip", "save2.dat が壊れています"),
                       ("bad-record.zip", "cgmode.dat"), ("foreign.zip", "シナリオ"),
                       ("junk.zip", "zip ではありません"), ("huge.zip", "大きすぎ")):
        import_refused(page, root / name, word)
        assert page.stored() == kept, f"{name} changed the records"

    # Record files of a desktop game folder, loose or in a zip made with any tool.
    desktop = root / "desktop"
    desktop.mkdir()
    (desktop / "SAVE3.DAT").write_bytes(kept["save2.dat"].encode("latin1"))
    (desktop / "notes.txt").write_text("not a record")
    imported(page, sorted(desktop.iterdir()), "save3.dat")
    with zipfile.ZipFile(root / "desktop.zip", "w", zipfile.ZIP_DEFLATED) as archive:
        archive.writestr("月影/Save4.dat", kept["save2.dat"].encode("latin1"))
        archive.writestr("月影/datafile", b"not a record")
    imported(page, [root / "desktop.zip"], "save4.dat")
    stored = page.stored()
    assert stored["save3.dat"] == stored["save4.dat"] == kept["save2.dat"]

    # The export taken back: the set as it was, the desktop's saves gone again.
    imported(page, [exported], "save2.dat")
    page.wait_title()
    assert page.stored() == kept, "the import did not restore the exported records"


def main():
    web, game, out = (pathlib.Path(a) for a in sys.argv[1:4])
    if not CHROMIUM:
        print("records_test: Chromium is not installed (scripts/install-deps); skipped")
        return SKIPPED
    server = serve(web)
    profile = tempfile.mkdtemp(prefix="records-test-profile-")
    root = pathlib.Path(tempfile.mkdtemp(prefix="records-test-"))
    driver = start_browser(profile)
    driver.set_script_timeout(30)
    page = RecordsPage(driver)
    try:
        driver.get(f"http://127.0.0.1:{server.server_address[1]}/index.html")
        page.wait_title()
        choices = check_save_reload_load(page)
        print(f"records_test: the choice {choices} came back after a save, reload and load")
        ending = check_ending_survives(page)
        print(f"records_test: the ending record {ending!r} survived a reload")
        copy_ms = check_own_folder(page, game, root, out)
        print(f"records_test: own folder copied and started in {copy_ms:.0f} ms")
        check_export_import(page, root)
        print("records_test: export and import restored the records; bad imports refused")
        check_restart_keeps_folder(page)
        print("records_test: the own folder played again after おわり and a new start")
        errors = [e for e in driver.get_log("browser") if e["level"] == "SEVERE"]
        assert not errors, f"errors in the console: {errors}"
        return 0
    except Exception:
        try:
            page.screenshot(out, "failed")
            print("records_test: notice: " + page.notice())
            for entry in driver.get_log("browser"):
                print(f"records_test: console {entry['level']}: {entry['message']}")
        except Exception as error:
            print(f"records_test: nothing more to show ({error})")
        raise
    finally:
        driver.quit()
        server.shutdown()
        shutil.rmtree(profile, ignore_errors=True)
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
