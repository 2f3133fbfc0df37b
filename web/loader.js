// Starts the engine's files all at once: the game's data and the compiled engine are fetched
// side by side from the first moment (this script comes first in the page's head, before the
// page's own scripts and styles), and the engine's script comes in once the data is here and
// the page's scripts have run, taking both as they are (Module.getPreloadedPackage,
// Module.instantiateWasm). Where an early fetch fails, the engine's script fetches the file
// itself as it would alone.
'use strict';

(() => {
  const ENGINE = 'tsukikage_web';
  const ok = (response) => {
    if (!response.ok) throw new Error(`${response.url}: ${response.status}`);
    return response;
  };
  // The data comes gzipped beside the plain file (a third of its bytes) and is expanded
  // while it arrives, the last bytes still on their way as the first come out; a server that
  // marked it as gzipped has had the browser expand it already, and a browser without the
  // decompressor fetches the plain file.
  const expanding = (response) => {
    if (/gzip/i.test(response.headers.get('Content-Encoding') || '')) return response;
    return new Response(response.body.pipeThrough(new DecompressionStream('gzip')));
  };
  const data = (typeof DecompressionStream === 'function'
    ? fetch(`${ENGINE}.data.gz`).then(ok).then(expanding).then((r) => r.arrayBuffer())
    : fetch(`${ENGINE}.data`).then(ok).then((r) => r.arrayBuffer()))
    .catch(() => null);
  const compiled = (WebAssembly.compileStreaming
    ? WebAssembly.compileStreaming(fetch(`${ENGINE}.wasm`).then(ok))
    : fetch(`${ENGINE}.wasm`).then(ok).then((r) => r.arrayBuffer()).then(WebAssembly.compile))
    .catch(() => null);

  // The engine's script runs once the page's own scripts have: the last of them says so
  // (TsukikageLoader.pageReady), without waiting for the rest of the page to be parsed and
  // laid out; the page's end stands for that call in any case.
  const pageReady = new Promise((resolve) => {
    window.TsukikageLoader = { pageReady: resolve };
    if (document.readyState !== 'loading') resolve();
    else document.addEventListener('DOMContentLoaded', resolve, { once: true });
  });

  data.then(async (package_) => {
    const module = await compiled;
    await pageReady;
    if (package_) {
      Module.getPreloadedPackage = (name, size) =>
        (name.endsWith(`${ENGINE}.data`) && package_.byteLength === size ? package_ : null);
    }
    if (module) {
      Module.instantiateWasm = (imports, receive) => {
        WebAssembly.instantiate(module, imports).then((instance) => receive(instance, module));
        return {};
      };
    }
    const script = document.createElement('script');
    script.src = `${ENGINE}.js`;
    document.body.append(script);
  });
})();
