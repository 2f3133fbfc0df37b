// The player's own game folder: its files, chosen with the folder picker or dropped on the
// page, are copied into the in-memory file system under /games, where the engine looks names
// up as it does on the desktop (the browser gives the names in Unicode; the engine's lookup
// ignores letter case and the kana's normalisation form). Nothing leaves the device.
'use strict';

const TsukikageFolder = (() => {
  const ROOT = '/games';
  // Files read at once: enough to keep the disk busy, few enough to keep memory low.
  const READING_AT_ONCE = 8;
  let copies = 0;

  // The files of an <input webkitdirectory>: each with its path under the chosen folder.
  function fromPicker(fileList) {
    return Array.from(fileList, (file) => ({ path: file.webkitRelativePath || file.name, file }));
  }

  // A dropped folder's files, read through its entries.
  async function fromEntry(entry, under = '') {
    const path = under ? `${under}/${entry.name}` : entry.name;
    if (entry.isFile) {
      const file = await new Promise((resolve, reject) => entry.file(resolve, reject));
      return [{ path, file }];
    }
    const reader = entry.createReader();
    const children = [];
    // A reader gives the entries in batches until one comes back empty.
    for (;;) {
      const batch = await new Promise((resolve, reject) => reader.readEntries(resolve, reject));
      if (batch.length === 0) break;
      children.push(...batch);
    }
    const files = [];
    for (const child of children) files.push(...await fromEntry(child, path));
    return files;
  }

  // A path's components, none of them able to leave the folder it is copied into.
  function safeComponents(path) {
    const parts = path.split('/').filter((p) => p !== '' && p !== '.');
    return parts.includes('..') ? null : parts;
  }

  // Copies the files into a new folder; resolves to the game's folder and its name, or null
  // when no folder among them holds a scenario (the copy is then dropped).
  async function copy(files, progress = () => {}) {
    const fs = Module.FS;
    const base = `${ROOT}/${++copies}`;
    fs.mkdirTree(base);
    const folders = new Set();
    let done = 0;
    const queue = files.slice();
    async function worker() {
      for (let item = queue.shift(); item; item = queue.shift()) {
        const parts = safeComponents(item.path);
        if (parts && parts.length > 0) {
          const folder = [base, ...parts.slice(0, -1)].join('/');
          if (!folders.has(folder)) {
            fs.mkdirTree(folder);
            folders.add(folder);
          }
          const bytes = new Uint8Array(await item.file.arrayBuffer());
          // The file system takes the bytes as they are, without a copy.
          fs.writeFile(`${folder}/${parts[parts.length - 1]}`, bytes, { canOwn: true });
        }
        progress(++done, files.length);
      }
    }
    await Promise.all(Array.from({ length: READING_AT_ONCE }, worker));
    const found = findGame(base);
    if (!found) {
      TsukikageRecords.removeTree(base);
      return null;
    }
    return found;
  }

  // The chosen folder, or the one folder inside it that holds a scenario (a folder picked one
  // level too high).
  function findGame(base) {
    const fs = Module.FS;
    const tops = fs.readdir(base).filter((n) => n !== '.' && n !== '..');
    for (const top of tops) {
      const folder = `${base}/${top}`;
      if (!fs.isDir(fs.stat(folder).mode)) continue;
      if (TsukikageRecords.scenarioOf(folder)) return { folder, name: top };
      const inner = fs.readdir(folder).filter((n) => n !== '.' && n !== '..')
        .map((n) => `${folder}/${n}`)
        .filter((p) => fs.isDir(fs.stat(p).mode) && TsukikageRecords.scenarioOf(p));
      if (inner.length === 1) return { folder: inner[0], name: inner[0].split('/').pop() };
    }
    return null;
  }

  // Drops the copies of other games, once the game in `keep` runs.
  function dropOthers(keep) {
    const fs = Module.FS;
    if (!fs.analyzePath(ROOT).exists) return;
    for (const name of fs.readdir(ROOT)) {
      const path = `${ROOT}/${name}`;
      if (name !== '.' && name !== '..' && !keep.startsWith(`${path}/`)) {
        TsukikageRecords.removeTree(path);
      }
    }
  }

  return { fromPicker, fromEntry, copy, dropOthers };
})();
