// Starts the engine's files all at once: the game's data and the compiled engine are fetched
// side by side from the first moment, and the engine's script comes in once the data is
// here, taking both as they are (Module.getPreloadedPackage, Module.instantiateWasm). Where
// an early fetch fails, the engine's script fetches the file itself as it would alone.
'use strict';

(() => {
  const ENGINE = 'tsukikage_web';
  const ok = (response) => {
    if (!response.ok) throw new Error(`${response.url}: ${response.status}`);
    return response;
  };
  const data = fetch(`${ENGINE}.data`).then(ok).then((r) => r.arrayBuffer()).catch(() => null);
  const compiled = (WebAssembly.compileStreaming
    ? WebAssembly.compileStreaming(fetch(`${ENGINE}.wasm`).then(ok))
    : fetch(`${ENGINE}.wasm`).then(ok).then((r) => r.arrayBuffer()).then(WebAssembly.compile))
    .catch(() => null);

  data.then(async (package_) => {
    const module = await compiled;
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
