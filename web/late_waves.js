// The bundled game's packed waves, which come apart from the rest of its data
// (tools/web/pack_waves.py): they are most of its bytes and the start plays none, so they are
// fetched while the game starts and written back over their empty files once the first
// screen is on the canvas, before the engine goes on.
'use strict';

const TsukikageLateWaves = (() => {
  // Gzipped, or plain for a browser that cannot expand gzip.
  const GZIPPED = typeof DecompressionStream === 'function';
  const FILE = GZIPPED ? 'tsukikage_web.waves.gz' : 'tsukikage_web.waves';
  let fetching = null;

  function fetchAhead() {
    if (!fetching) {
      fetching = fetch(FILE).then((response) => {
        if (!response.ok) throw new Error(`${FILE}: ${response.status}`);
        return response.arrayBuffer();
      });
      fetching.catch(() => {});  // told when the waves are put back
    }
    return fetching;
  }

  // Writes each wave over its file under `folder` with the engine's file system `fs`; the
  // number written. Each entry: the name's UTF-8 length (4 bytes, little-endian), the name,
  // the file's length (4 bytes) and its bytes.
  async function putBack(folder, fs) {
    const fetched = await fetchAhead();
    const bytes = new Uint8Array(GZIPPED ? await new Response(new Blob([fetched]).stream()
      .pipeThrough(new DecompressionStream('gzip'))).arrayBuffer() : fetched);
    const view = new DataView(bytes.buffer);
    const names = new TextDecoder();
    let at = 0;
    let written = 0;
    while (at + 4 <= bytes.length) {
      const nameLength = view.getUint32(at, true);
      if (at + 4 + nameLength + 4 > bytes.length) break;
      const name = names.decode(bytes.subarray(at + 4, at + 4 + nameLength));
      at += 4 + nameLength;
      const size = view.getUint32(at, true);
      at += 4;
      if (at + size > bytes.length) break;
      // Only names inside the folder: the file is the page's own, but a name never leaves it.
      if (!name.startsWith('/') && !name.split('/').includes('..')) {
        fs.writeFile(`${folder}/${name}`, bytes.subarray(at, at + size));
        ++written;
      }
      at += size;
    }
    if (at !== bytes.length) throw new Error(`${FILE} is cut short`);
    return written;
  }

  return { fetchAhead, putBack };
})();
