// Fetches the font's pieces for the scenario's next pages while the player reads this one:
// a turned page's text then draws at once instead of waiting for its pieces to come.
'use strict';

const TsukikageFontsAhead = (() => {
  const AHEAD_BYTES = 1024;  // a few pages of the scenario, both sides of a choice
  let asked = '';
  let queued = false;

  // `font` is the page text's CSS font; looks ahead once the page has nothing else to do.
  function follow(font) {
    if (queued) return;
    queued = true;
    const idle = window.requestIdleCallback || ((run) => setTimeout(run, 50));
    idle(() => {
      queued = false;
      if (!window.tsukikage || tsukikage.ended) return;
      const text = Module.UTF8ToString(Module._tk_text_ahead(AHEAD_BYTES));
      if (!text || text === asked) return;
      asked = text;
      document.fonts.load(font, text).catch(() => {});
    }, { timeout: 1000 });
  }

  return { follow };
})();
