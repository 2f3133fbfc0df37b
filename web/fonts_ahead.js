// Readies the fonts for the scenario's next pages while the player reads this one: their
// pieces are fetched, and their characters measured and drawn once off screen. A turned
// page's text then draws at once, instead of waiting for its pieces to come or paying for the
// first measure of characters the page has not shown yet, which takes tens of milliseconds.
'use strict';

const TsukikageFontsAhead = (() => {
  const AHEAD_BYTES = 1024;  // a few pages of the scenario, both sides of a choice
  const PIECE_CHARS = 8;
  const idle = window.requestIdleCallback ||
               ((run) => setTimeout(() => run({ timeRemaining: () => 10 }), 50));
  let asked = '';
  let queued = false;
  let scratch = null;

  // The characters whose font pieces were there, by font: pieces never go, and a page is
  // painted many times, its text made of characters met before.
  const charsThere = new Map();
  function there(font, text) {
    const known = charsThere.get(font);
    if (known && Array.from(text).every((c) => c < ' ' || known.has(c))) return true;
    if (!document.fonts.check(font, text)) return false;
    markThere(font, text);
    return true;
  }

  // Characters marked there for a font whose pieces for them have loaded.
  function markThere(font, text) {
    const chars = charsThere.get(font) || new Set();
    for (const c of text) chars.add(c);
    charsThere.set(font, chars);
  }

  // The text cut into short pieces: the first measure and drawing of characters a page has
  // not shown yet is what costs, and a short piece keeps each idle step short.
  function piecesOf(text) {
    const pieces = [];
    for (const line of text.split(/[\r\n]+/)) {
      const chars = Array.from(line.trim());
      for (let at = 0; at < chars.length; at += PIECE_CHARS) {
        pieces.push(chars.slice(at, at + PIECE_CHARS).join(''));
      }
    }
    return pieces;
  }

  // Measures and draws each piece in each font off screen, as many as the idle moments hold;
  // a piece whose characters were all drawn in that font before is skipped.
  const drawn = new Map();  // font -> characters drawn off screen
  function warm(fonts, pieces) {
    if (!scratch) {
      const canvas = document.createElement('canvas');
      canvas.width = 512;
      canvas.height = 64;
      scratch = canvas.getContext('2d');
    }
    const work = fonts.flatMap((font) => pieces.map((piece) => [font, piece]));
    const step = (deadline) => {
      while (work.length > 0 && deadline.timeRemaining() > 2) {
        const [font, piece] = work.shift();
        const chars = drawn.get(font) || new Set();
        drawn.set(font, chars);
        if (Array.from(piece).every((c) => chars.has(c))) continue;
        scratch.font = font;
        scratch.measureText(piece);
        scratch.fillText(piece, 0, 48);
        for (const c of piece) chars.add(c);
      }
      if (work.length > 0) idle(step, { timeout: 1000 });
    };
    idle(step, { timeout: 1000 });
  }

  // `fonts` are the CSS fonts the page may draw text in; looks ahead once the page has
  // nothing else to do.
  function follow(fonts) {
    if (queued) return;
    queued = true;
    idle(() => {
      queued = false;
      if (!window.tsukikage || tsukikage.ended) return;
      const text = Module.UTF8ToString(Module._tk_text_ahead(AHEAD_BYTES));
      if (!text || text === asked) return;
      asked = text;
      const wanted = [...fonts];
      Promise.allSettled(wanted.map((font) => document.fonts.load(font, text)))
        .then((loads) => {
          // A load that succeeded brought every piece these characters need.
          loads.forEach((load, i) => { if (load.status === 'fulfilled') markThere(wanted[i], text); });
          warm(wanted, piecesOf(text));
        });
    }, { timeout: 1000 });
  }

  return { follow, there };
})();
