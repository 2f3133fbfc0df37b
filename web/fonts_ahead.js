// Readies the font for the scenario's next pages while the player reads this one: their
// pieces are fetched, and their characters measured once. A turned page's text then draws at
// once, instead of waiting for its pieces to come or paying for the first measure of
// characters the page has not shown yet, which takes tens of milliseconds.
'use strict';

const TsukikageFontsAhead = (() => {
  const AHEAD_BYTES = 1024;  // a few pages of the scenario, both sides of a choice
  const idle = window.requestIdleCallback ||
               ((run) => setTimeout(() => run({ timeRemaining: () => 10 }), 50));
  let asked = '';
  let queued = false;
  let scratch = null;

  // Measures each line in each font, as many as the idle moments hold.
  function measure(fonts, lines) {
    scratch = scratch || document.createElement('canvas').getContext('2d');
    const work = fonts.flatMap((font) => lines.map((line) => [font, line]));
    const step = (deadline) => {
      while (work.length > 0 && deadline.timeRemaining() > 1) {
        const [font, line] = work.shift();
        scratch.font = font;
        scratch.measureText(line);
      }
      if (work.length > 0) idle(step, { timeout: 1000 });
    };
    idle(step, { timeout: 1000 });
  }

  // `fonts` are the page's CSS fonts; looks ahead once the page has nothing else to do.
  function follow(fonts) {
    if (queued) return;
    queued = true;
    idle(() => {
      queued = false;
      if (!window.tsukikage || tsukikage.ended) return;
      const text = Module.UTF8ToString(Module._tk_text_ahead(AHEAD_BYTES));
      if (!text || text === asked) return;
      asked = text;
      const lines = text.split(/[\r\n]+/).filter((line) => line.trim() !== '');
      const wanted = [...fonts];
      Promise.allSettled(wanted.map((font) => document.fonts.load(font, text)))
        .then(() => measure(wanted, lines));
    }, { timeout: 1000 });
  }

  return { follow };
})();
