// The right button's menu of the player's conveniences and the settings dialog behind it, as
// on the desktop (view/qt/context_menu.cpp, settings_dialog.cpp). The engine decides what is
// enabled and applies the settings; the page only shows them and hands the choices back.
'use strict';

const TsukikageConveniences = (() => {
  let view = null;      // the player's calls (player.js)
  let menu = null;
  let dialog = null;
  let openedWith = null;  // the settings the dialog opened with, for Cancel

  function element(tag, className, text) {
    const node = document.createElement(tag);
    if (className) node.className = className;
    if (text !== undefined) node.textContent = text;
    return node;
  }

  // --- The menu ---------------------------------------------------------------------------
  function build() {
    menu = element('div', 'context-menu');
    menu.id = 'conveniences';
    menu.setAttribute('role', 'menu');
    menu.hidden = true;
    menu.addEventListener('click', (event) => event.stopPropagation());
    menu.addEventListener('contextmenu', (event) => event.preventDefault());
    document.body.append(menu);
    document.addEventListener('mousedown', (event) => {
      if (!menu.hidden && !menu.contains(event.target)) close();
    }, true);
    document.addEventListener('keydown', (event) => {
      if (menu.hidden) return;
      event.preventDefault();
      event.stopImmediatePropagation();
      if (event.key === 'Escape') close();
      if (event.key === 'ArrowDown' || event.key === 'ArrowUp') step(event.key === 'ArrowDown' ? 1 : -1);
      if (event.key === 'Enter' && document.activeElement && menu.contains(document.activeElement)) {
        document.activeElement.click();
      }
    }, true);
    window.addEventListener('blur', close);
    window.addEventListener('resize', close);
  }

  function step(by) {
    const items = [...menu.querySelectorAll('.menu-item:not(.disabled)')];
    if (items.length === 0) return;
    const at = items.indexOf(document.activeElement);
    items[(at + by + items.length) % items.length].focus();
  }

  // The items the page acts on itself; every other goes back to the engine by its name.
  const pageCommands = {
    fullscreen: () => view.toggleFullscreen(),
    settings: (state) => openSettings(state.settings),
  };

  function choose(item, state) {
    // The chosen item runs once the menu has gone, so a box it opens stands alone.
    close();
    const command = pageCommands[item.name];
    if (command) command(state); else view.call('tk_convenience', ['string'], [item.name]);
  }

  // Shows a list of items in the menu; a submenu's item shows its own list in its place.
  function show(items, state) {
    menu.replaceChildren();
    for (const item of items) {
      if (item.name === '-') {
        menu.append(element('div', 'menu-separator'));
        continue;
      }
      if (!item.name && !item.items) {
        menu.append(element('div', 'menu-note', item.caption));
        continue;
      }
      const node = element('div', 'menu-item');
      node.dataset.name = item.name;
      node.tabIndex = -1;
      node.setAttribute('role', item.checked === undefined ? 'menuitem' : 'menuitemcheckbox');
      if (item.items) node.setAttribute('aria-haspopup', 'menu');
      if (item.checked !== undefined) node.setAttribute('aria-checked', String(item.checked));
      node.classList.toggle('checked', item.checked === true);
      node.classList.toggle('disabled', !item.enabled);
      node.setAttribute('aria-disabled', String(!item.enabled));
      // A checkable item shows its box, ticked or empty, as the desktop's menu does.
      const box = element('span', item.checked === undefined ? 'check' : 'check tick', item.checked ? '✓' : '');
      node.append(box, element('span', '', item.caption));
      if (item.items) node.append(element('span', 'submenu-sign', '▸'));
      node.addEventListener('click', () => {
        if (!item.enabled) return;
        if (item.items) {
          show(item.items, state);
          place(Number.parseFloat(menu.style.left), Number.parseFloat(menu.style.top));
          step(1);
          return;
        }
        choose(item, state);
      });
      menu.append(node);
    }
  }

  function place(x, y) {
    const left = Math.max(0, Math.min(x, window.innerWidth - menu.offsetWidth));
    const top = Math.max(0, Math.min(y, window.innerHeight - menu.offsetHeight));
    menu.style.left = `${left}px`;
    menu.style.top = `${top}px`;
  }

  // Shows the menu with its top-left corner at a page point, inside the browser's window.
  async function open(x, y) {
    if (!menu) build();
    const json = await view.call('tk_conveniences', ['number'], [view.fullscreen() ? 1 : 0], 'string');
    if (!json) return;
    const state = JSON.parse(json);
    show(state.items, state);
    menu.hidden = false;
    place(x, y);
  }

  function close() {
    if (menu) menu.hidden = true;
  }

  // --- The settings -------------------------------------------------------------------------
  function slider(name, min, max) {
    const input = element('input');
    input.type = 'range';
    input.name = name;
    input.min = min;
    input.max = max;
    input.step = 1;
    return input;
  }

  function checkBox(name, caption) {
    const label = element('label', 'check-box');
    const input = element('input');
    input.type = 'checkbox';
    input.name = name;
    label.append(input, caption);
    return label;
  }

  // A level's row: its name, the slider, the number it stands at and the mute box.
  function levelRow(caption, name, muteName) {
    const row = element('div', 'level-row');
    const input = slider(name, 0, 100);
    input.setAttribute('aria-label', caption);
    const number = element('output', 'row-number');
    number.name = `${name}Number`;
    input.addEventListener('input', () => { number.value = input.value; });
    row.append(element('span', 'row-name', caption), input, number, checkBox(muteName, 'ミュート'));
    return row;
  }

  function buildDialog() {
    dialog = element('dialog', 'box settings');
    dialog.id = 'settings';
    const form = element('form');
    form.method = 'dialog';
    const title = element('p', 'box-title');
    const closeBox = element('button', 'close', '×');
    closeBox.value = 'cancel';
    closeBox.setAttribute('aria-label', '閉じる');
    title.append(element('span', '', '設定'), closeBox);

    const sound = element('fieldset');
    sound.append(element('legend', '', '音量'), levelRow('音楽', 'musicVolume', 'musicMuted'),
                 levelRow('効果音', 'effectsVolume', 'effectsMuted'));
    const reading = element('fieldset');
    const speedRow = element('div', 'level-row');
    speedRow.append(element('span', 'row-name', 'オートの速さ'), element('span', 'end', '遅い'),
                    slider('autoSpeed', 10, 200), element('span', 'end', '速い'));
    reading.append(element('legend', '', 'スキップとオート'),
                   checkBox('skipUnread', '未読の文章もスキップする'), speedRow);
    const speech = element('fieldset');
    speech.append(element('legend', '', '読み上げ'),
                  checkBox('selfVoicing', '文章と選択肢を読み上げる（V キー）'));

    const buttons = element('p', 'box-buttons');
    const ok = element('button', '', 'OK');
    ok.value = 'ok';
    ok.autofocus = true;
    const cancel = element('button', '', 'キャンセル');
    cancel.value = 'cancel';
    buttons.append(ok, cancel);
    form.append(title, sound, reading, speech, buttons);
    dialog.append(form);
    document.body.append(dialog);

    // Every change applies at once, so a level is heard while its slider moves.
    form.addEventListener('input', () => apply(shown()));
    dialog.addEventListener('close', () => {
      if (dialog.returnValue === 'ok') {
        const kept = shown();
        apply(kept);
        document.dispatchEvent(new CustomEvent('tsukikage-settings-kept', { detail: kept }));
      } else {
        apply(openedWith);
      }
      openedWith = null;
    });
  }

  const field = (name) => dialog.querySelector(`[name="${name}"]`);

  function shown() {
    return {
      musicVolume: Number(field('musicVolume').value),
      musicMuted: field('musicMuted').checked,
      effectsVolume: Number(field('effectsVolume').value),
      effectsMuted: field('effectsMuted').checked,
      skipUnread: field('skipUnread').checked,
      autoSpeed: Number(field('autoSpeed').value),
      selfVoicing: field('selfVoicing').checked,
    };
  }

  function apply(settings) {
    if (!settings) return;
    view.call('tk_apply_settings', Array(7).fill('number'),
              [settings.musicVolume, settings.musicMuted ? 1 : 0, settings.effectsVolume,
               settings.effectsMuted ? 1 : 0, settings.skipUnread ? 1 : 0, settings.autoSpeed,
               settings.selfVoicing ? 1 : 0]);
  }

  function openSettings(settings) {
    if (!dialog) buildDialog();
    const [slowest, fastest] = settings.autoSpeedRange;
    Object.assign(field('autoSpeed'), { min: slowest, max: fastest });
    for (const name of ['musicVolume', 'effectsVolume']) field(name).max = settings.maxVolume;
    for (const [name, value] of Object.entries(settings)) {
      const input = field(name);
      if (!input) continue;
      if (input.type === 'checkbox') input.checked = value; else input.value = value;
      const number = field(`${name}Number`);
      if (number) number.value = value;
    }
    openedWith = shown();
    dialog.returnValue = '';
    dialog.showModal();
  }

  return {
    attach(player) { view = player; },
    open,
    close,
    // While the menu or the settings are up, the keys are theirs, not the game's.
    get takesKeys() {
      return Boolean((menu && !menu.hidden) || (dialog && dialog.open));
    },
  };
})();
