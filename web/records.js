// The records of the game played, kept in the browser's IndexedDB so they outlast the page:
// the game's own record files (the seen pictures, the endings, the five save slots), the
// player's read pages of its scenario and the player's settings. Each game has its own set,
// known by its folder's name and its scenario (two copies of one game share their records).
//
// Before a game starts its records are put back into the in-memory file system where the
// engine reads them; after each engine call the records it changed are stored in one
// transaction, so a closed tab or a crash leaves the old set or the new one, never a mix.
'use strict';

const TsukikageRecords = (() => {
  const { STORE } = TsukikageRecordsDatabase;
  const PLAYER = '/player';  // the engine's folder for the player's own records (web_main.cpp)
  const SCRATCH = '/tmp/record-check';
  const EXPORT_FORMAT = 'tsukikage records';
  // A record is at most 1 MiB (saves/record_check.cpp); an archive holds nine.
  const MAX_RECORD_BYTES = 1 << 20;
  const MAX_ARCHIVE_BYTES = 16 << 20;
  const NOTE = 'tsukikage-records.json';  // names the game in an exported archive
  const KEPT = ['cgmode.dat', 'endlist.dat', 'save1.dat', 'save2.dat', 'save3.dat',
                'save4.dat', 'save5.dat', 'read-pages.txt', 'settings.ini', 'slots.txt'];
  // Kept in the browser only: the notes name the desktop's folders by their paths.
  const NOT_EXPORTED = new Set(['slots.txt']);

  let openMs = null;  // how long the last game's records took to be put back
  // Told once when the browser keeps nothing (storage turned off, a private window).
  let unavailableTold = false;
  let game = null;  // { folder, name, scenario, key, stamps, stored }
  let saving = Promise.resolve();
  let readAhead = null;  // { name, sets }: a game's records read before it starts, until taken

  const openDatabase = () => TsukikageRecordsDatabase.open();

  // Runs `work` on one transaction; resolves once everything it did is committed.
  async function transaction(mode, work) {
    // What was read ahead is no longer what is stored once anything is written.
    if (mode === 'readwrite') readAhead = null;
    const db = await openDatabase();
    return new Promise((resolve, reject) => {
      const tx = db.transaction(STORE, mode);
      const result = work(tx.objectStore(STORE));
      tx.oncomplete = () => resolve(result);
      tx.onerror = () => reject(tx.error);
      tx.onabort = () => reject(tx.error || new Error('transaction aborted'));
    });
  }

  const range = (key) => IDBKeyRange.bound([key, ''], [key, '\uffff']);

  // The game's stored records: record name -> bytes.
  async function load(key) {
    const stored = new Map();
    await transaction('readonly', (store) => {
      const request = store.openCursor(range(key));
      request.onsuccess = () => {
        const cursor = request.result;
        if (!cursor) return;
        stored.set(cursor.key[1], new Uint8Array(cursor.value));
        cursor.continue();
      };
    });
    return stored;
  }

  // Every stored set of the games kept under a name: set key -> (record name -> bytes).
  async function loadAll(name) {
    const sets = new Map();
    await transaction('readonly', (store) => {
      const request = store.openCursor(IDBKeyRange.bound([`${name}/`], [`${name}/\uffff`]));
      request.onsuccess = () => {
        const cursor = request.result;
        if (!cursor) return;
        const [key, record] = cursor.key;
        if (!sets.has(key)) sets.set(key, new Map());
        sets.get(key).set(record, new Uint8Array(cursor.value));
        cursor.continue();
      };
    });
    return sets;
  }

  // The records of the game the page starts with are read while the engine loads, before its
  // scenario (which picks the set) is known; the first open of a game of that name takes them.
  function readAheadFor(name) {
    readAhead = { name, sets: loadAll(name).catch(() => null) };
  }

  async function takeReadAhead(name, key) {
    if (!readAhead || readAhead.name !== name) return null;
    const { sets } = readAhead;
    readAhead = null;
    const found = await sets;
    return found && (found.get(key) || new Map());
  }

  // --- Where the engine keeps each record -------------------------------------------------
  function exists(path) {
    return FS().analyzePath(path).exists;
  }

  const FS = () => Module.FS;

  // A game record is found as the engine finds it: the exact name first, then any letter case.
  function pathOf(record) {
    if (record === 'read-pages.txt') return `${PLAYER}/read-pages/${game.scenario}`;
    if (record === 'settings.ini') return `${PLAYER}/settings.ini`;
    if (record === 'slots.txt') return `${PLAYER}/read-pages/${game.slots}`;
    const names = FS().readdir(game.folder).sort();
    const found = names.includes(record) ? record
                                         : names.find((n) => n.toLowerCase() === record);
    return `${game.folder}/${found || record}`;
  }

  function removeTree(path) {
    if (!exists(path)) return;
    const fs = FS();
    if (fs.isDir(fs.stat(path).mode)) {
      for (const name of fs.readdir(path)) {
        if (name !== '.' && name !== '..') removeTree(`${path}/${name}`);
      }
      fs.rmdir(path);
    } else {
      fs.unlink(path);
    }
  }

  function sameBytes(a, b) {
    if (!a || !b || a.length !== b.length) return false;
    for (let i = 0; i < a.length; ++i) if (a[i] !== b[i]) return false;
    return true;
  }

  // The name of the read pages' record of the folder's scenario, or '' with no scenario.
  function scenarioOf(folder) {
    return Module.ccall('tk_scenario_record', 'string', ['string'], [folder]);
  }

  // --- The game's records in and out -------------------------------------------------------

  // Makes a game's records ready for the engine; false when the folder holds no scenario.
  async function open(folder, name) {
    const started = performance.now();
    await saving.catch(() => {});
    const scenario = scenarioOf(folder);
    if (!scenario) return false;
    const key = `${name}/${scenario.replace(/\.txt$/, '')}`;
    let stored = await takeReadAhead(name, key);
    try {
      if (!stored) stored = await load(key);
    } catch (error) {
      stored = new Map();
      console.warn('records could not be read', error);
    }
    const slots = Module.ccall('tk_slot_notes_record', 'string', ['string'], [folder]);
    game = { folder, name, scenario, slots, key, stamps: new Map(), stored };
    removeTree(PLAYER);
    FS().mkdirTree(`${PLAYER}/read-pages`);
    for (const [record, bytes] of stored) FS().writeFile(pathOf(record), bytes);
    openMs = performance.now() - started;
    return true;
  }

  // What tells a rewritten file (a new one is renamed over the old) from the one seen before;
  // null for no file.
  function stampOf(path) {
    try {
      const s = FS().stat(path);
      if (!FS().isFile(s.mode)) return null;
      return `${s.ino}:${s.mtime.getTime()}:${s.size}`;
    } catch (error) {
      return null;
    }
  }

  // Stores the records the engine wrote since the last call, all in one transaction.
  function keep() {
    if (!game) return saving;
    const changed = [];
    try {
      for (const record of KEPT) {
        const path = pathOf(record);
        const stamp = stampOf(path);
        if (stamp === null || stamp === game.stamps.get(record)) continue;
        const bytes = FS().readFile(path);
        game.stamps.set(record, stamp);
        if (!sameBytes(bytes, game.stored.get(record))) changed.push([record, bytes]);
      }
    } catch (error) {
      // The game folder gone (another game started); what was found so far is kept.
      console.warn('records could not be read', error);
    }
    if (changed.length === 0) return saving;
    const current = game;
    saving = saving.catch(() => {}).then(() => transaction('readwrite', (store) => {
      for (const [record, bytes] of changed) store.put(bytes, [current.key, record]);
    })).then(() => {
      for (const [record, bytes] of changed) current.stored.set(record, bytes);
    }, (error) => {
      // Looked at again after the next call.
      for (const [record] of changed) current.stamps.delete(record);
      console.warn('records could not be stored', error);
      if (!unavailableTold) {
        unavailableTold = true;
        const notice = document.getElementById('notice');
        if (notice) {
          notice.textContent = 'このブラウザには記録を保存できません。' +
                               'ページを閉じると記録は失われます（「記録を書き出す」で残せます）。';
          notice.classList.add('problem');
        }
      }
      throw error;
    });
    return saving;
  }

  // Where the desktop keeps each record, as the archive lays them out: the game's files for
  // its game folder, the read pages for its data folder, the settings for its config folder.
  function archiveName(record) {
    if (record === 'read-pages.txt') return `read-pages/${game.scenario}`;
    if (record === 'settings.ini') return 'tsukikage.ini';
    return record;
  }

  // All the game's records as one zip archive, as the engine holds them now (also where the
  // browser could not store them), with a note that names the game.
  function exportArchive() {
    if (!game) throw new Error('no game');
    keep().catch(() => {});
    const note = { format: EXPORT_FORMAT, version: 1, game: game.name, scenario: game.scenario };
    const files = [[NOTE, new TextEncoder().encode(JSON.stringify(note, null, 1) + '\n')]];
    for (const record of KEPT) {
      const path = pathOf(record);
      if (exists(path) && !NOT_EXPORTED.has(record)) {
        files.push([archiveName(record), FS().readFile(path)]);
      }
    }
    return TsukikageArchive.write(files);
  }

  function download() {
    const link = document.createElement('a');
    link.href = URL.createObjectURL(exportArchive());
    link.download = `${game.name}-records.zip`;
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 10000);
  }

  class ImportError extends Error {}

  // The record a file stands for by its name, wherever it lay.
  function recordNamed(path) {
    const name = path.split('/').pop();
    return Module.ccall('tk_kept_record_name', 'string', ['string', 'string'],
                        [name, game.scenario]);
  }

  // The records of an archive: record name -> bytes, and whether it is an export of this
  // game (its note), which replaces the whole set.
  async function readArchive(file) {
    if (file.size > MAX_ARCHIVE_BYTES) {
      throw new ImportError('記録のファイルにしては大きすぎます。');
    }
    let files;
    try {
      files = await TsukikageArchive.read(await file.arrayBuffer(), MAX_RECORD_BYTES);
    } catch (error) {
      throw new ImportError(`記録のファイルを読めません（${error.message}）。`);
    }
    const records = new Map();
    let whole = false;
    for (const [path, bytes] of files) {
      if (path === NOTE) {
        let note = null;
        try {
          note = JSON.parse(new TextDecoder().decode(bytes));
        } catch (error) {
          // told below
        }
        if (!note || note.format !== EXPORT_FORMAT) {
          throw new ImportError('記録のファイルが壊れています。');
        }
        if (note.scenario !== game.scenario) {
          throw new ImportError('このゲームの記録ではありません（シナリオが違います）。');
        }
        whole = true;
        continue;
      }
      const record = recordNamed(path);
      if (record) records.set(record, bytes);
    }
    return { records, whole };
  }

  // Every record is checked as the engine reads it before any is taken.
  function check(records) {
    if (records.size === 0) {
      throw new ImportError('読み込める記録がありません（cgmode.dat、endlist.dat、' +
                            'save1.dat～save5.dat など）。');
    }
    removeTree(SCRATCH);
    FS().mkdirTree(SCRATCH);
    try {
      for (const [record, bytes] of records) {
        FS().writeFile(`${SCRATCH}/${record}`, bytes);
        const problem = Module.ccall('tk_record_problem', 'string', ['string', 'string'],
                                     [record, `${SCRATCH}/${record}`]);
        if (problem) throw new ImportError(problem);
      }
    } finally {
      removeTree(SCRATCH);
    }
  }

  // Takes the checked records in one transaction; `whole` replaces the game's set.
  async function take(records, whole) {
    check(records);
    await saving.catch(() => {});
    const key = game.key;
    // The browser's own records stay through a whole set taken: the slots' notes tell a slot
    // only while its save is the one they were made for.
    const own = whole ? [...NOT_EXPORTED].filter((r) => game.stored.has(r))
                          .map((r) => [r, game.stored.get(r)]) : [];
    await transaction('readwrite', (store) => {
      if (whole) store.delete(range(key));
      for (const [record, bytes] of [...own, ...records]) store.put(bytes, [key, record]);
    });
    // The engine's copies go too, so the game starts again from the stored set; until it
    // does, nothing the engine still holds is stored over them.
    if (whole) {
      for (const record of KEPT) {
        const path = pathOf(record);
        if (exists(path) && !NOT_EXPORTED.has(record)) FS().unlink(path);
      }
    }
    game = null;
  }

  // Imports an exported archive (or any zip of record files), or record files picked from a
  // desktop game folder and the desktop's data folders. Resolves to the message for the
  // player; the game's records are then to be opened again, with the game started anew.
  async function importFiles(files) {
    if (!game) throw new ImportError('ゲームが始まっていません。');
    const list = Array.from(files);
    const archives = list.filter((file) => /\.zip$/i.test(file.name));
    if (archives.length > 1) throw new ImportError('記録のファイルは一つずつ読み込んでください。');
    if (archives.length === 1) {
      const { records, whole } = await readArchive(archives[0]);
      await take(records, whole);
      return `記録を読み込みました（${[...records.keys()].join('、')}）。`;
    }
    const records = new Map();
    for (const file of list) {
      const record = recordNamed(file.name);
      if (!record) continue;
      if (file.size > MAX_RECORD_BYTES) {
        throw new ImportError(`${record} は記録にしては大きすぎます。`);
      }
      records.set(record, new Uint8Array(await file.arrayBuffer()));
    }
    await take(records, false);
    return `記録を読み込みました（${[...records.keys()].join('、')}）。`;
  }

  return {
    readAheadFor,
    open,
    keep,
    download,
    exportArchive,
    importFiles,
    scenarioOf,
    removeTree,
    ImportError,
    get saved() { return saving; },
    get key() { return game && game.key; },
    get openMs() { return openMs; },
    get scenario() { return game && game.scenario; },
  };
})();
