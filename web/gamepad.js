// Game controllers through the Gamepad API, as on the desktop (engine/pad.cpp): each button
// of a standard pad does what its key does, the d-pad and the left stick are the arrows
// (repeating while held), Y held skips, Start opens the right button's menu and Back fills
// the screen. While a menu or a box is open the pad works it instead. The pads are looked at
// on each animation frame only while one is connected, so an idle page without one stays idle.
'use strict';

const TsukikageGamepad = (() => {
  // Standard mapping: the button's number and its name.
  const BUTTONS = [[0, 'A'], [1, 'B'], [2, 'X'], [3, 'Y'], [4, 'LeftShoulder'],
                   [5, 'RightShoulder'], [8, 'Back'], [9, 'Start']];
  const DPAD = [[12, 'Up'], [13, 'Down'], [14, 'Left'], [15, 'Right']];
  // The keys the buttons stand for, by their browser names (view/web/browser_keys.cpp).
  const KEYS = {
    A: 'Enter', B: 'Backspace', X: 'a', LeftShoulder: 'PageUp', RightShoulder: 'PageDown',
    Up: 'ArrowUp', Down: 'ArrowDown', Left: 'ArrowLeft', Right: 'ArrowRight',
  };
  const DEAD_ZONE = 16000 / 32768;
  const FIRST_DELAY_MS = 400;
  const INTERVAL_MS = 120;

  let view = null;
  let frame = 0;
  let held = new Set();
  let direction = null;
  let nextAt = 0;

  const pads = () => [...(navigator.getGamepads ? navigator.getGamepads() : [])]
    .filter((pad) => pad && pad.connected);

  function stickDirection(x, y) {
    if (Math.abs(x) < DEAD_ZONE && Math.abs(y) < DEAD_ZONE) return null;
    if (Math.abs(x) > Math.abs(y)) return x < 0 ? 'Left' : 'Right';
    return y < 0 ? 'Up' : 'Down';
  }

  // The box, the settings or the menu open over the game, if any.
  function openLayer() {
    const dialog = document.querySelector('dialog[open]');
    if (dialog) return dialog;
    const menu = document.getElementById('conveniences');
    return menu && !menu.hidden ? menu : null;
  }

  // A menu takes keys itself; a box's buttons and fields go by focus.
  function workLayer(layer, name) {
    if (layer.tagName !== 'DIALOG') {
      const key = { A: 'Enter', B: 'Escape', Start: 'Escape', Up: 'ArrowUp', Down: 'ArrowDown',
                    Left: 'ArrowUp', Right: 'ArrowDown' }[name];
      if (key) document.dispatchEvent(new KeyboardEvent('keydown', { key, bubbles: true }));
      return;
    }
    const stops = [...layer.querySelectorAll('button, input')].filter((node) => !node.disabled);
    const at = stops.indexOf(document.activeElement);
    if (name === 'A') {
      if (at >= 0) stops[at].click();
    } else if (name === 'B' || name === 'Start') {
      layer.close();
    } else if (['Up', 'Down', 'Left', 'Right'].includes(name) && stops.length) {
      const by = name === 'Up' || name === 'Left' ? -1 : 1;
      stops[Math.max(0, Math.min(stops.length - 1, at < 0 ? 0 : at + by))].focus();
    }
  }

  function press(name) {
    if (!view || !view.started()) return;
    const layer = openLayer();
    if (layer) {
      workLayer(layer, name);
    } else if (name === 'Y') {
      view.call('tk_skip_held', ['number'], [1]);
    } else if (name === 'Back') {
      view.toggleFullscreen();
    } else if (name === 'Start') {
      view.openMenu();
    } else if (KEYS[name]) {
      view.key(KEYS[name]);
    }
  }

  function release(name) {
    if (name === 'Y' && view && view.started()) view.call('tk_skip_held', ['number'], [0]);
  }

  // One look at the first pad: what changed since the last is handed on.
  function look(now) {
    const pad = pads()[0];
    const down = new Set();
    let heading = null;
    if (pad) {
      for (const [index, name] of BUTTONS) if (pad.buttons[index] && pad.buttons[index].pressed) down.add(name);
      for (const [index, name] of DPAD) if (pad.buttons[index] && pad.buttons[index].pressed) heading = name;
      if (!heading) heading = stickDirection(pad.axes[0] || 0, pad.axes[1] || 0);
    }
    for (const name of held) if (!down.has(name)) release(name);
    for (const name of down) if (!held.has(name)) press(name);
    held = down;
    if (heading !== direction) {
      direction = heading;
      nextAt = now + FIRST_DELAY_MS;
      if (heading) press(heading);
    } else if (heading && now >= nextAt) {
      nextAt = now + INTERVAL_MS;
      press(heading);
    }
  }

  function loop(now) {
    frame = 0;
    look(now);
    if (pads().length) frame = requestAnimationFrame(loop);
  }

  function wake() {
    if (!frame && pads().length) frame = requestAnimationFrame(loop);
  }

  window.addEventListener('gamepadconnected', wake);
  // The last pad gone: what it held is let go, and the page stops looking.
  window.addEventListener('gamepaddisconnected', () => {
    if (pads().length) return;
    look(performance.now());
    if (frame) cancelAnimationFrame(frame);
    frame = 0;
  });

  return {
    attach(player) {
      view = player;
      wake();
    },
    get looking() { return frame !== 0; },
  };
})();
