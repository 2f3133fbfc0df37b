// The last of the page's scripts: everything the engine calls into is defined now, so the
// engine's script may come in (web/loader.js) without waiting for the page's parsing to end.
'use strict';

if (window.TsukikageLoader) window.TsukikageLoader.pageReady();
