// The browser player: starts the engine (tsukikage_web.js) on the game packed at /game,
// passes the mouse, keys, menus and timer ticks to it one call at a time, and paints its
// window whenever the model changed. The engine's calls into the page come to `page`.
'use strict';

(() => {
  const { WIDTH, HEIGHT, paintFrame, textsOf, cssFont } = TsukikagePaint;
  const GAME_FOLDER = '/game';
  const WARM_HEAP_BYTES = 16 << 20;  // a few screens of pictures, touched ahead of play
  const idle = window.requestIdleCallback ||
               ((run) => setTimeout(() => run({ timeRemaining: () => 10 }), 50));
  const GAME_NAME = 'game';  // the bundled game's name among the kept records
  const ICONS = ['', 'critical', 'question', 'exclamation', 'information'];
  const ICON_SIGNS = ['', '×', '?', '!', 'i'];

  const canvas = document.getElementById('screen');
  const ctx = canvas.getContext('2d', { alpha: false });
  const menubar = document.getElementById('menubar');
  const status = document.getElementById('status');
  const boxDialog = document.getElementById('box');
  TsukikageRecords.readAheadFor(GAME_NAME);

  const state = {
    started: false,
    ended: false,
    aborted: false,       // the runtime broke down: only a new page starts again
    busy: false,          // an engine call runs or waits (a box, a picture being decoded)
    chain: Promise.resolve(),
    paintedRevision: -1,
    paintRequested: false,
    callsWaiting: 0,      // engine calls queued or running
    frame: null,
    scale: 1,
    pressing: false,
    mouse: null,          // the last client point under the mouse
    moveQueued: false,
    tickQueued: false,
    timer: null,
    boxes: new Map(),     // box number -> closed
    nextBox: 1,
    busyPointer: false,
    fontsLoading: false,
    fontsTried: null,     // the texts whose font was fetched last
    cursorAsked: '',      // what the pointer was last worked out for
    cursor: '',
    startedAt: performance.now(),
    firstPaintAt: null,
    titleShownAt: null,
  };
  const cursors = new Map();   // picture number and scale -> CSS cursor

  // --- The engine's calls into the page -------------------------------------------------
  const page = {
    decoded: null,
    boxAnswer: false,  // the last box's: Yes chosen
    openBox(text, icon, title, question = false) {
      // The engine waits on the box: what it wrote before is kept even if the tab closes now.
      TsukikageRecords.keep().catch(() => {});
      const number = state.nextBox++;
      state.boxes.set(number, false);
      boxDialog.querySelector('.box-title').textContent = title;
      boxDialog.querySelector('.box-text').textContent = text;
      const sign = boxDialog.querySelector('.box-icon');
      sign.className = 'box-icon ' + (ICONS[icon] || '');
      sign.textContent = ICON_SIGNS[icon] || '';
      // A question answers with Yes (Return) or No; Escape closes it as No.
      const buttons = question ? [['yes', 'はい'], ['no', 'いいえ']] : [['ok', 'OK']];
      boxDialog.querySelector('.box-buttons').replaceChildren(...buttons.map(([value, caption]) => {
        const button = document.createElement('button');
        button.value = value;
        button.textContent = caption;
        return button;
      }));
      boxDialog.returnValue = '';
      boxDialog.onclose = () => {
        page.boxAnswer = boxDialog.returnValue === 'yes';
        state.boxes.set(number, true);
      };
      boxDialog.showModal();
      boxDialog.querySelector('.box-buttons button').focus();
      return number;
    },
    boxClosed(number) {
      if (!state.boxes.get(number)) {
        requestPaint();  // the timers tick under the box: a transition goes on
        return false;
      }
      state.boxes.delete(number);
      return true;
    },
    setBusy(busy) {
      state.busyPointer = busy;
      showCursor();
    },
    ended(code) {
      showEnded(code === 0 ? 'ゲームを終了しました。'
                           : `ゲームはエラーで終了しました（状態 ${code}）。`,
                `終了しました（状態 ${code}）`);
    },
    // Decodes a picture file's bytes; the pixels wait in `decoded` for the engine.
    async decodePicture(bytes) {
      // What the engine showed before this picture is painted while it decodes (the first
      // screen while the title's pictures come).
      requestPaint();
      page.decoded = await TsukikagePictures.decode(bytes);
      return page.decoded ? 1 : 0;
    },
    paintNow() {
      paint();
    },
  };

  // The game has ended: nothing more reaches the engine, and the page offers to start again.
  function showEnded(text, statusText) {
    state.ended = true;
    if (typeof TsukikageSound !== 'undefined') TsukikageSound.stopAll();
    clearTimeout(state.timer);
    const ended = document.getElementById('ended');
    ended.querySelector('.ended-text').textContent = text;
    ended.hidden = false;
    status.textContent = statusText;
  }

  // Starts the game again on the folder it was played from, the player's own as well: the
  // engine ended its game, not the page. A runtime that broke down starts only with the page.
  function restart() {
    if (state.aborted) {
      location.reload();
      return;
    }
    document.getElementById('ended').hidden = true;
    status.textContent = '';
    state.ended = false;
    playFolder(state.gameFolder, state.gameName);
  }

  // --- Calls into the engine, one at a time -----------------------------------------------
  function call(name, argTypes = [], args = [], returnType = null) {
    const run = () => {
      if (state.ended) return null;
      // Arguments made when the call's turn comes; none: the call is dropped.
      const values = typeof args === 'function' ? args() : args;
      if (values === null) return null;
      state.busy = true;
      return Promise.resolve()
        .then(() => Module.ccall(name, returnType, argTypes, values, { async: true }))
        .then((result) => {
          state.busy = false;
          afterCall();
          return result;
        }, (error) => {
          state.busy = false;
          // The runtime broke down: the page shows it already (Module.onAbort); what the
          // game wrote before is kept.
          if (state.aborted) {
            TsukikageRecords.keep().catch(() => {});
            return null;
          }
          throw error;
        });
    };
    ++state.callsWaiting;
    state.chain = state.chain.then(run).finally(() => { --state.callsWaiting; });
    return state.chain;
  }

  function afterCall() {
    TsukikageRecords.keep().catch(() => {});
    if (state.ended) return;
    scheduleTick();
    // The last of a run of calls (a tap's move, press and release) paints at once: a click's
    // page is on the canvas as soon as it is made, not a frame later.
    if (state.callsWaiting <= 1) paintChanged();
    else requestPaint();
    showCursor();
  }

  // The timers tick when the engine's schedule says, and only while one runs.
  function scheduleTick() {
    clearTimeout(state.timer);
    state.timer = null;
    const due = Module._tk_next_due();
    if (due < 0) return;
    state.timer = setTimeout(() => {
      state.timer = null;
      if (state.tickQueued) return;
      state.tickQueued = true;
      call('tk_tick_due').finally(() => { state.tickQueued = false; });
    }, due);
  }

  // --- Painting ---------------------------------------------------------------------------
  function requestPaint() {
    if (state.paintRequested || !state.started) return;
    if (Module._tk_revision() === state.paintedRevision) return;
    state.paintRequested = true;
    requestAnimationFrame(() => {
      state.paintRequested = false;
      paintChanged();
    });
  }

  function paintChanged() {
    if (state.started && Module._tk_revision() !== state.paintedRevision) paint();
  }

  // A picture's pixels in the engine's memory as R, G, B, A bytes, read in place: the image
  // takes its copy before the engine runs again.
  function pictureRgba(picture) {
    const pointer = Module._tk_picture_rgba(picture.id);
    if (!pointer) return null;
    return new Uint8ClampedArray(Module.HEAPU8.buffer, pointer, picture.width * picture.height * 4);
  }

  function paint() {
    if (!state.started || state.ended) return;
    const frame = JSON.parse(Module.UTF8ToString(Module._tk_frame()));
    const texts = textsOf(frame);
    if (!fontsReady(texts)) return;
    const used = new Set();
    paintFrame(ctx, frame, (picture) => {
      used.add(picture.id);
      return TsukikagePictureImages.imageOf(picture, pictureRgba);
    });
    TsukikagePictureImages.keepOnly(used);
    state.frame = frame;
    state.paintedRevision = frame.revision;
    document.title = frame.caption;
    TsukikageMenubar.sync(frame.menus);
    TsukikageAbout.sync(frame.about);
    TsukikageLiveRegion.follow(frame);
    state.paintedAt = performance.now();
    // The overlay is drawn in the page text's font, which is among the form's.
    TsukikageFontsAhead.follow(new Set([
      ...texts.keys(), ...frame.textFonts.map((font) => cssFont(font.face, font.px))]));
    if (window.tsukikage.afterPaint) window.tsukikage.afterPaint(frame);
    if (state.firstPaintAt === null) {
      state.firstPaintAt = state.paintedAt;
      // The browser's audio opens in the first quiet moment after the game is on the canvas.
      if (typeof TsukikageSound !== 'undefined') idle(() => TsukikageSound.prepare(), { timeout: 1000 });
    }
    if (state.titleShownAt === null && frame.controls.some((c) => c.name === 'NewGameImage')) {
      state.titleShownAt = performance.now();
      readyAheadOfPlay(frame);
    }
  }

  // While the title waits, the page readies what the first pages of play need, so that their
  // clicks pay for none of it: the game's pictures decoded, canvases of their sizes and of the
  // picture boxes' drawn images made, and the engine's heap brought into memory.
  function readyAheadOfPlay(frame) {
    TsukikagePictures.warm(filesIn(GAME_FOLDER), TsukikagePictureImages.prepare);
    idle(() => frame.imageSizes.forEach(([w, h]) => TsukikagePictureImages.prepare(w, h)),
         { timeout: 2000 });
    const warmHeap = (deadline) => {
      while (deadline.timeRemaining() > 8) {
        if (state.ended || !Module._tk_warm_heap(WARM_HEAP_BYTES)) return;
      }
      idle(warmHeap, { timeout: 2000 });
    };
    idle(warmHeap, { timeout: 2000 });
  }

  // Whether the pieces of the font the frame's texts (textsOf) need are there; if not, they
  // are fetched and the frame is painted once they came. Pieces that failed leave the text to
  // another face.
  function fontsReady(texts) {
    const missing = [...texts].filter(([font, text]) => !TsukikageFontsAhead.there(font, text));
    if (missing.length === 0) return true;
    const key = JSON.stringify(missing);
    if (state.fontsTried === key) return true;
    if (state.fontsLoading) return false;
    state.fontsLoading = true;
    Promise.allSettled(missing.map(([font, text]) => document.fonts.load(font, text))).then(() => {
      state.fontsLoading = false;
      state.fontsTried = key;
      paint();
    });
    return false;
  }

  // Readers of every file under a folder of the engine's file system, small ones first: the
  // pictures a game shows most (backgrounds, the window's picture) are not the largest.
  function filesIn(folder) {
    const found = [];
    const walk = (path) => {
      for (const name of FS.readdir(path)) {
        if (name === '.' || name === '..') continue;
        const child = `${path}/${name}`;
        const stat = FS.stat(child);
        if (FS.isDir(stat.mode)) walk(child);
        else found.push({ child, size: stat.size });
      }
    };
    try {
      walk(folder);
    } catch (error) {
      console.warn('pictures ahead', error);
    }
    found.sort((a, b) => a.size - b.size);
    return found.map(({ child }) => () => {
      try {
        return FS.readFile(child);
      } catch (error) {
        return null;
      }
    });
  }

  // --- Scale and the mouse ----------------------------------------------------------------
  // The largest whole factor of device pixels that fits the browser's window beside the menu
  // bar and the page's tools (in full screen, the whole screen: the menu bar floats over its
  // top); a window too small for the client area shrinks it to fit.
  function fitScale() {
    const full = fullscreen();
    const ratio = window.devicePixelRatio || 1;
    const tools = document.getElementById('tools');
    const below = full ? 0 : menubar.offsetHeight + 32 + (tools ? tools.offsetHeight : 0);
    const room = Math.min(window.innerWidth / WIDTH, (window.innerHeight - below) / HEIGHT) * ratio;
    state.scale = (room >= 1 ? Math.floor(room) : Math.max(room, 0.1)) / ratio;
    canvas.style.width = `${WIDTH * state.scale}px`;
    canvas.style.height = `${HEIGHT * state.scale}px`;
    cursors.clear();
    state.cursor = '';
    showCursor();
  }

  function clientPoint(event) {
    const r = canvas.getBoundingClientRect();
    return [Math.floor((event.clientX - r.left) / state.scale),
            Math.floor((event.clientY - r.top) / state.scale)];
  }

  const inside = ([x, y]) => x >= 0 && y >= 0 && x < WIDTH && y < HEIGHT;

  function queueMove() {
    if (state.moveQueued) return;
    state.moveQueued = true;
    call('tk_mouse_move', ['number', 'number'], () => {
      state.moveQueued = false;
      return state.mouse || [-1, -1];
    });
  }

  canvas.addEventListener('mousedown', (event) => {
    if (event.button !== 0 || !state.started) return;
    const at = clientPoint(event);
    if (!inside(at)) return;
    event.preventDefault();
    TsukikageMenubar.close();
    state.pressing = true;
    // While the button is held the pressed control keeps the mouse, wherever it goes.
    const move = (e) => {
      state.mouse = clientPoint(e);
      queueMove();
    };
    const up = (e) => {
      if (e.button !== 0) return;
      document.removeEventListener('mousemove', move);
      document.removeEventListener('mouseup', up);
      state.pressing = false;
      call('tk_mouse_up', ['number', 'number'], clientPoint(e));
    };
    document.addEventListener('mousemove', move);
    document.addEventListener('mouseup', up);
    call('tk_mouse_down', ['number', 'number', 'number'], [...at, event.detail === 2 ? 1 : 0]);
  });

  canvas.addEventListener('mousemove', (event) => {
    if (state.pressing || !state.started) return;
    const at = clientPoint(event);
    state.mouse = inside(at) ? at : null;
    if (state.mouse) queueMove();
    showCursor();
  });
  canvas.addEventListener('mouseleave', () => {
    if (!state.pressing) state.mouse = null;
  });

  canvas.addEventListener('contextmenu', (event) => {
    event.preventDefault();
    rightButton(event.clientX, event.clientY);
  });

  // The right button closes the history; anywhere else it opens the conveniences' menu.
  function rightButton(pageX, pageY) {
    if (!state.started) return;
    TsukikageMenubar.close();
    call('tk_right_click', [], [], 'number').then((closed) => {
      if (closed === 0) TsukikageConveniences.open(pageX, pageY);
    });
  }

  // A tap: the pointer comes to the point, then presses and lets go there.
  function tap(pageX, pageY) {
    const at = clientPoint({ clientX: pageX, clientY: pageY });
    if (!state.started || !inside(at)) return;
    TsukikageMenubar.close();
    TsukikageConveniences.close();
    state.mouse = at;
    call('tk_mouse_move', ['number', 'number'], at);
    call('tk_mouse_down', ['number', 'number', 'number'], [...at, 0]);
    call('tk_mouse_up', ['number', 'number'], at);
  }

  let wheelTurned = 0;
  canvas.addEventListener('wheel', (event) => {
    event.preventDefault();
    if (!state.started) return;
    const NOTCH = 100;  // a browser's notch, in pixels of deltaY
    const turned = event.deltaMode === 0 ? event.deltaY : event.deltaY * NOTCH;
    if ((turned > 0) !== (wheelTurned > 0)) wheelTurned = 0;
    wheelTurned += turned;
    for (; wheelTurned >= NOTCH; wheelTurned -= NOTCH) call('tk_key', ['string'], ['WheelDown']);
    for (; wheelTurned <= -NOTCH; wheelTurned += NOTCH) call('tk_key', ['string'], ['WheelUp']);
  }, { passive: false });

  // The pointer the model asks for where the mouse is: a control's own image, or the arrow.
  function showCursor() {
    // The pointer changes only with the model, the mouse, the scale or the busy state: an
    // idle timer tick asks nothing of the engine.
    const asked = state.started && !state.ended
      ? `${Module._tk_revision()} ${state.mouse} ${state.scale} ${state.busyPointer} ${state.pressing}`
      : '';
    if (asked && asked === state.cursorAsked) return;
    state.cursorAsked = asked;
    let cursor = '';
    if (state.busyPointer) {
      cursor = 'wait';
    } else if (state.started && !state.ended && state.mouse && !state.pressing) {
      const pointer = JSON.parse(Module.UTF8ToString(Module._tk_pointer(...state.mouse)));
      if (pointer && pointer.picture) cursor = cursorFor(pointer);
    }
    if (state.pressing) return;  // the pointer keeps its look while the button is held
    if (cursor !== state.cursor) {
      state.cursor = cursor;
      canvas.style.cursor = cursor;
    }
  }

  function cursorFor(pointer) {
    const key = `${pointer.picture.id}@${state.scale}`;
    let cursor = cursors.get(key);
    if (!cursor) {
      const image = TsukikagePictureImages.imageOf(pointer.picture, pictureRgba);
      if (!image) return '';
      const scaled = document.createElement('canvas');
      scaled.width = image.width * state.scale;
      scaled.height = image.height * state.scale;
      const c = scaled.getContext('2d');
      c.imageSmoothingEnabled = false;
      c.drawImage(image, 0, 0, scaled.width, scaled.height);
      const [x, y] = pointer.hot;
      cursor = `url(${scaled.toDataURL()}) ${x * state.scale} ${y * state.scale}, auto`;
      cursors.set(key, cursor);
    }
    return cursor;
  }

  // --- Keys ---------------------------------------------------------------------------------
  document.addEventListener('keydown', (event) => {
    if (!state.started || state.ended || boxDialog.open || TsukikageConveniences.takesKeys) return;
    if (event.key === 'F11' || (event.key === 'Enter' && event.altKey)) {
      event.preventDefault();
      toggleFullscreen();
      return;
    }
    if (event.key === 'Control') {
      if (!event.repeat) call('tk_skip_held', ['number'], [1]);
      return;
    }
    if (event.ctrlKey || event.altKey || event.metaKey) return;
    // The keys the game takes (view/web/browser_keys.cpp); the page keeps the others.
    if (['Enter', ' ', 'PageDown', 'PageUp', 'ArrowRight', 'ArrowLeft', 'ArrowUp', 'ArrowDown',
         '1', '2', 'Escape', 'a', 'A', 'Backspace', 'v', 'V'].includes(event.key)) {
      event.preventDefault();
      TsukikageMenubar.close();
      call('tk_key', ['string'], [event.key]);
    }
  });
  document.addEventListener('keyup', (event) => {
    if (event.key === 'Control' && state.started) call('tk_skip_held', ['number'], [0]);
  });
  window.addEventListener('blur', () => {
    if (state.started) call('tk_skip_held', ['number'], [0]);
  });

  // --- Start ----------------------------------------------------------------------------------
  document.getElementById('restart').addEventListener('click', restart);
  window.addEventListener('resize', fitScale);
  document.addEventListener('fullscreenchange', fitScale);

  const fullscreen = () => Boolean(document.fullscreenElement);
  function toggleFullscreen() {
    const done = fullscreen() ? document.exitFullscreen()
                              : document.documentElement.requestFullscreen();
    done.catch((error) => console.warn('full screen', error));
  }

  // What the page's other parts (conveniences.js, touch.js) may ask of the player.
  const view = {
    call,
    paintNow: paint,
    fullscreen,
    toggleFullscreen,
    rightButton,
    tap,
    // The conveniences' menu over the middle of the game, as a pad's Start opens it.
    openMenu: () => {
      const box = canvas.getBoundingClientRect();
      TsukikageMenubar.close();
      TsukikageConveniences.open(box.left + box.width / 2, box.top + box.height / 2);
    },
    key: (name) => { if (state.started) call('tk_key', ['string'], [name]); },
    started: () => state.started && !state.ended,
    historyOpen: () => Boolean(state.frame && state.frame.overlay && state.frame.overlay.history),
  };
  TsukikageConveniences.attach(view);
  TsukikageMenubar.attach(view);
  TsukikageAbout.attach(view);
  TsukikageTouch.attach(canvas, view);
  TsukikageGamepad.attach(view);
  TsukikageLiveRegion.attach(canvas);

  async function start() {
    status.textContent = '';
    fitScale();
    state.started = true;
    // The first screen's picture decodes while the records come in and the engine starts.
    try {
      const first = Module.ccall('tk_startup_pictures', 'string', ['string'], [GAME_FOLDER]);
      for (const path of first.split('\n').filter(Boolean)) {
        TsukikagePictures.begin(FS.readFile(path));
      }
    } catch (error) {
      console.warn('pictures ahead', error);
    }
    TsukikageLateWaves.fetchAhead();
    const started = playFolder(GAME_FOLDER, GAME_NAME);
    // The bundled game's packed waves are put back and restored once its first screen is on
    // the canvas: the start-up sounds nothing before its third second, and every later call
    // waits its turn behind this one.
    state.chain = state.chain.catch(() => {}).then(() => new Promise((shown) => {
      requestAnimationFrame(() => setTimeout(shown, 0));
    })).then(() => TsukikageLateWaves.putBack(GAME_FOLDER, FS))
      .catch((error) => console.warn('the game\'s waves could not be fetched:', error))
      .then(() => Module.ccall('tk_unpack_waves', 'number', ['string', 'string'],
                               ['/packed-waves.txt', GAME_FOLDER]));
    await started;
  }

  // Starts the game of a folder with its records put back; false when it holds no scenario.
  function playFolder(folder, name) {
    let opened = false;
    state.chain = state.chain.catch(() => {}).then(async () => {
      try {
        opened = await TsukikageRecords.open(folder, name);
      } catch (error) {
        // The game played goes on; the later calls must not wait on a failed start.
        console.warn('start', error);
      }
      if (!opened) return;
      clearTimeout(state.timer);
      TsukikagePictureImages.clear();
      cursors.clear();
      state.paintedRevision = -1;
      state.frame = null;
      TsukikageAbout.reset();
    });
    return call('tk_start', ['string'], () => {
      if (!opened) return null;
      state.gameFolder = folder;
      state.gameName = name;
      return [folder];
    }).then(() => opened);
  }

  window.Module = {
    page,
    print: (text) => console.log(text),
    printErr: (text) => console.warn(text),
    onRuntimeInitialized: () => { start(); },
    onAbort: (what) => {
      state.aborted = true;
      showEnded(`ゲームは異常終了しました（${what}）。もう一度始めるとページを読み込み直します。`,
                '異常終了しました');
    },
    setStatus: (text) => { if (!state.started) status.textContent = text || ''; },
  };

  // For tests and for looking into the page from the browser's console.
  window.tsukikage = {
    get frame() { return state.frame; },
    get busy() { return state.busy; },
    get ended() { return state.ended; },
    get scale() { return state.scale; },
    control(name) {
      return state.frame && state.frame.controls.find((c) => c.name === name) || null;
    },
    get loadToFirstPaintMs() {
      return state.firstPaintAt === null ? null : state.firstPaintAt - state.startedAt;
    },
    get loadToTitleMs() {
      return state.titleShownAt === null ? null : state.titleShownAt - state.startedAt;
    },
    idle() { return state.chain; },
    playFolder,
    // Imports records into the game played, which then starts again with them.
    async importRecords(files) {
      const game = { folder: state.gameFolder, name: state.gameName };
      const taking = state.chain.catch(() => {}).then(() => TsukikageRecords.importFiles(files));
      state.chain = taking.catch(() => {});
      const message = await taking;
      await playFolder(game.folder, game.name);
      return message;
    },
    // Called after every paint with the frame painted, when set.
    afterPaint: null,
    // Milliseconds since the page began to load: to the first paint, and to the latest.
    get firstPaintSinceLoadMs() { return state.firstPaintAt; },
    get paintedAt() { return state.paintedAt; },
  };
})();
