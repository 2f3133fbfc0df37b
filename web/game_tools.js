// The page's own tools beside the game: play a folder of the player's own (the picker, or a
// folder dropped on the page), and export and import the game's records (an exported file
// or record files dropped or picked from a desktop game folder).
'use strict';

(() => {
  const notice = document.getElementById('notice');
  const folderInput = document.getElementById('folder-input');
  const recordsInput = document.getElementById('records-input');

  function tell(text, problem = false) {
    notice.textContent = text;
    notice.classList.toggle('problem', problem);
  }

  // Once the game has ended the engine takes no more calls: the page starts again first.
  function ended() {
    if (!window.tsukikage.ended) return false;
    tell('ゲームは終了しています。「もう一度始める」を押してから選んでください。', true);
    return true;
  }

  async function playFiles(files) {
    if (files.length === 0 || ended()) return;
    const started = performance.now();
    tell('ゲームのフォルダを読み込んでいます…');
    try {
      const game = await TsukikageFolder.copy(files, (done, total) => {
        if (done % 25 === 0 || done === total) {
          tell(`ゲームのフォルダを読み込んでいます… ${done} / ${total}`);
        }
      });
      if (!game) {
        tell('選んだフォルダにはシナリオ（datafile）がありません。' +
             'ゲームのフォルダを選んでください。', true);
        return;
      }
      window.tsukikage.folderCopyMs = performance.now() - started;
      if (!await window.tsukikage.playFolder(game.folder, game.name)) {
        tell('このフォルダのゲームを始められませんでした。', true);
        return;
      }
      TsukikageFolder.dropOthers(game.folder);
      tell(`「${game.name}」を遊んでいます。`);
    } catch (error) {
      console.warn('folder', error);
      tell(`ゲームのフォルダを読み込めませんでした（${error.message || error}）。`, true);
    }
  }

  async function importRecords(files) {
    if (files.length === 0 || ended()) return;
    try {
      const message = await window.tsukikage.importRecords(files);
      tell(`${message}ゲームは最初の画面から始まります。`);
    } catch (error) {
      if (!(error instanceof TsukikageRecords.ImportError)) console.warn('import', error);
      tell(error instanceof TsukikageRecords.ImportError
        ? `記録を読み込めませんでした。${error.message}今までの記録はそのまま残っています。`
        : `記録を読み込めませんでした（${error.message || error}）。`, true);
    }
  }

  document.getElementById('choose-folder').addEventListener('click', () => folderInput.click());
  folderInput.addEventListener('change', () => {
    const files = TsukikageFolder.fromPicker(folderInput.files);
    folderInput.value = '';
    playFiles(files);
  });

  document.getElementById('import-records').addEventListener('click', () => recordsInput.click());
  recordsInput.addEventListener('change', () => {
    const files = Array.from(recordsInput.files);
    recordsInput.value = '';
    importRecords(files);
  });

  document.getElementById('export-records').addEventListener('click', async () => {
    try {
      await TsukikageRecords.download();
      tell('記録を書き出しました。');
    } catch (error) {
      tell(`記録を書き出せませんでした（${error.message || error}）。`, true);
    }
  });

  // A folder dropped on the page plays; files dropped are records to import.
  document.addEventListener('dragover', (event) => {
    event.preventDefault();
    event.dataTransfer.dropEffect = 'copy';
  });
  document.addEventListener('drop', async (event) => {
    event.preventDefault();
    const entries = Array.from(event.dataTransfer.items || [])
      .map((item) => item.webkitGetAsEntry && item.webkitGetAsEntry()).filter(Boolean);
    const folder = entries.find((entry) => entry.isDirectory);
    if (folder) {
      tell('ゲームのフォルダを読み込んでいます…');
      try {
        playFiles(await TsukikageFolder.fromEntry(folder));
      } catch (error) {
        tell(`ゲームのフォルダを読み込めませんでした（${error.message || error}）。`, true);
      }
      return;
    }
    importRecords(Array.from(event.dataTransfer.files));
  });
})();
