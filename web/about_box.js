// The about box: a window beside the game's, not modal, filled from the model's about form.
// Its OK button and its close box are the engine's to handle.
'use strict';

const TsukikageAbout = (() => {
  const aboutDialog = document.getElementById('about');
  let view = null;    // the player's calls (player.js)
  let shown = null;   // the about form's load count on screen

  aboutDialog.addEventListener('close', () => {
    if (shown === null) return;
    shown = null;
    view.call(aboutDialog.returnValue === 'ok' ? 'tk_about_ok' : 'tk_about_closed');
  });
  aboutDialog.addEventListener('cancel', (event) => {
    event.preventDefault();
    view.call('tk_about_closed');
  });

  function syncAbout(about) {
    if (!about) {
      if (shown !== null) {
        shown = null;
        aboutDialog.close();
      }
      return;
    }
    const fields = { '.about-caption': about.caption, '.about-title': about.lblTitle,
                     '.about-version': about.lblVersion, '.about-description': about.lblDescription,
                     '.about-disclaimer': about.lblDisclaimer, '.about-ok': about.cmdOK };
    for (const [selector, text] of Object.entries(fields)) {
      aboutDialog.querySelector(selector).textContent = text;
    }
    if (shown !== about.load) {
      shown = about.load;
      aboutDialog.returnValue = '';
      if (!aboutDialog.open) aboutDialog.show();
    }
  }

  return {
    attach(player) { view = player; },
    sync: syncAbout,
    // A new game starts without the box.
    reset: () => syncAbout(null),
  };
})();
