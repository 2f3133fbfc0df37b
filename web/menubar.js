// The game's menu bar as HTML, as on the desktop: built from the model's menus, kept in step
// with their states and captions, and every choice handed to the engine.
'use strict';

const TsukikageMenubar = (() => {
  const menubar = document.getElementById('menubar');
  let view = null;  // the player's calls (player.js)
  const menuNodes = new Map();  // menu id -> element

  function buildMenus(menus) {
    const hasChildren = new Set(menus.filter((m) => m.parent !== null).map((m) => m.parent));
    for (const item of menus) {
      const node = document.createElement('div');
      const top = item.parent === null;
      if (item.caption === '-') {
        node.className = 'menu-separator';
      } else {
        node.className = top ? 'menu-title' : 'menu-item';
        node.setAttribute('role', 'menuitem');
        node.dataset.name = item.name;
        const label = document.createElement('span');
        label.textContent = item.caption;
        node.append(label);
        if (hasChildren.has(item.id)) {
          node.classList.add('has-list');
          const list = document.createElement('div');
          list.className = 'menu-list';
          list.setAttribute('role', 'menu');
          node.append(list);
        }
        node.addEventListener('click', (event) => {
          event.stopPropagation();
          if (node.classList.contains('disabled')) return;
          menuClicked(item, node, hasChildren.has(item.id));
        });
      }
      (top ? menubar : menuNodes.get(item.parent).querySelector('.menu-list')).append(node);
      menuNodes.set(item.id, node);
    }
  }

  // Opening a menu is its Click, as on the desktop: the engine hears it, then the list shows
  // with the states it left. An item runs its command once the menus have closed.
  function menuClicked(item, node, opens) {
    if (!opens) {
      closeMenus();
      view.call('tk_menu', ['number'], [item.id]);
      return;
    }
    if (node.classList.contains('open')) {
      if (item.parent === null) closeMenus();
      return;
    }
    for (const open of node.parentElement.querySelectorAll(':scope > .open')) {
      open.classList.remove('open');
    }
    if (item.parent === null) closeMenus();
    view.call('tk_menu', ['number'], [item.id]).then(() => {
      view.paintNow();
      node.classList.add('open');
    });
  }

  function closeMenus() {
    for (const open of document.querySelectorAll('#menubar .open')) open.classList.remove('open');
  }
  document.addEventListener('click', closeMenus);

  function syncMenus(menus) {
    if (menuNodes.size === 0) buildMenus(menus);
    for (const item of menus) {
      const node = menuNodes.get(item.id);
      if (!node || item.caption === '-') continue;
      node.classList.toggle('disabled', !item.enabled);
      node.setAttribute('aria-disabled', String(!item.enabled));
      const label = node.firstChild;
      if (label.textContent !== item.caption) label.textContent = item.caption;
    }
  }

  return {
    attach(player) { view = player; },
    sync: syncMenus,
    close: closeMenus,
  };
})();
