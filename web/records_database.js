// The database the records are kept in (web/records.js), opened as the page begins to load:
// the browser takes a tenth of a second and more to open it, and a game cannot start before
// its records are back.
'use strict';

const TsukikageRecordsDatabase = (() => {
  const DB_NAME = 'tsukikage';
  const STORE = 'records';
  let database = null;

  // The open database; a failure stays, and every later call gets it again.
  function open() {
    if (!database) {
      // Saves must not go when the browser runs short of room: asked once, granted or not.
      if (navigator.storage && navigator.storage.persist) {
        navigator.storage.persist().catch(() => {});
      }
      database = new Promise((resolve, reject) => {
        const request = indexedDB.open(DB_NAME, 1);
        request.onupgradeneeded = () => request.result.createObjectStore(STORE);
        request.onsuccess = () => resolve(request.result);
        request.onerror = () => reject(request.error);
      });
    }
    return database;
  }

  // Storage turned off (a private window) is found out when a record is read or written.
  open().catch(() => {});

  return { open, STORE };
})();
