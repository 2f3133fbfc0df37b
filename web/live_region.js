// What a screen reader says of the game's screen: the page text, or the two choices with
// their numbers (the keys 1 and 2 pick them), put into a visually hidden live region each
// time they change, so the reader speaks a new page without the player moving anything.
// The canvas is given a name; the menus and boxes are HTML and speak for themselves.
'use strict';

const TsukikageLiveRegion = (() => {
  let region = null;

  // Line breaks as spaces and no blanks at either end, ideographic ones too: the label's
  // design caption is three ideographic spaces and reads as nothing.
  function readable(text) {
    return (text || '').replace(/\r\n?|\n/g, '\n').replace(/^[\s\u3000]+|[\s\u3000]+$/g, '');
  }

  // The words for a frame: the history's newest line while it is open, the choices while
  // they stand, the page text otherwise.
  function words(frame) {
    const shown = (name) => frame.controls.find((c) => c.name === name);
    const history = frame.overlay && frame.overlay.history;
    if (history) {
      const last = history.entries[history.entries.length - 1];
      return last ? readable(last.text) : '';
    }
    if (shown('lblSel(0)') && shown('imgSel(0)')) {
      return ['lblSel(0)', 'lblSel(1)']
        .map((name, i) => [i + 1, readable((shown(name) || {}).caption)])
        .filter(([, caption]) => caption)
        .map(([n, caption]) => `${n}. ${caption}`)
        .join(' ');
    }
    const page = shown('Label1');
    return page ? readable(page.caption) : '';
  }

  function attach(canvas) {
    canvas.setAttribute('role', 'img');
    canvas.setAttribute('aria-label', 'ゲーム画面');
    region = document.createElement('div');
    region.id = 'live-text';
    region.className = 'visually-hidden';
    region.setAttribute('aria-live', 'polite');
    region.setAttribute('aria-atomic', 'true');
    canvas.insertAdjacentElement('afterend', region);
  }

  // Called after each paint: the region changes only when the words do, so a repaint of
  // the same page is not read again.
  function follow(frame) {
    if (!region) return;
    const now = words(frame);
    if (region.textContent !== now) region.textContent = now;
  }

  return { attach, follow, words };
})();
