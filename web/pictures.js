// Picture files decoded into the engine's pixels: opaque 0xAARRGGBB words, turned so once,
// when decoded, so that handing a picture to the engine is a single copy. A game shows the
// same files again and again (the window's picture on every page, a scene's backgrounds), and
// decoding takes the browser from 10 to 100 ms, several frames: the pixels of the files
// decoded last are kept, found again by their bytes.
'use strict';

const TsukikagePictures = (() => {
  const KEPT_BYTES = 96 * 1024 * 1024;  // pixels kept, the least recently shown let go first
  const kept = new Map();               // key -> { bytes, image }, oldest first
  let keptBytes = 0;
  const decoding = new Map();           // key -> { bytes, done }: decodes under way

  // FNV-1a over the words, then the bytes that are left; the length goes into the key too.
  function keyOf(bytes) {
    if (bytes.byteOffset % 4 !== 0) bytes = bytes.slice();
    const words = new Uint32Array(bytes.buffer, bytes.byteOffset, bytes.byteLength >> 2);
    let hash = 0x811c9dc5;
    for (let i = 0; i < words.length; ++i) hash = Math.imul(hash ^ words[i], 0x01000193);
    for (let i = words.length * 4; i < bytes.length; ++i) hash = Math.imul(hash ^ bytes[i], 0x01000193);
    return `${bytes.length}:${hash >>> 0}`;
  }

  // Four bytes at a time where both start on a word; a big picture file is a megabyte.
  function same(a, b) {
    if (a.length !== b.length) return false;
    let from = 0;
    if (a.byteOffset % 4 === 0 && b.byteOffset % 4 === 0) {
      const words = a.length >> 2;
      const wa = new Uint32Array(a.buffer, a.byteOffset, words);
      const wb = new Uint32Array(b.buffer, b.byteOffset, words);
      for (let i = 0; i < words; ++i) if (wa[i] !== wb[i]) return false;
      from = words * 4;
    }
    for (let i = from; i < a.length; ++i) if (a[i] !== b[i]) return false;
    return true;
  }

  // The type by the file's first bytes: the names a game uses say nothing sure of it.
  function typeOf(b) {
    if (b[0] === 0x42 && b[1] === 0x4D) return 'image/bmp';
    if (b[0] === 0xFF && b[1] === 0xD8) return 'image/jpeg';
    if (b[0] === 0x89 && b[1] === 0x50 && b[2] === 0x4E && b[3] === 0x47) return 'image/png';
    if (b[0] === 0x47 && b[1] === 0x49 && b[2] === 0x46) return 'image/gif';
    return null;
  }

  // WebCodecs' decoder hands the pixels over without a canvas; where it is missing or turns
  // the file down, the canvas way is tried.
  async function withDecoder(bytes, type) {
    const decoder = new ImageDecoder({ data: bytes, type, premultiplyAlpha: 'none',
                                       colorSpaceConversion: 'none' });
    try {
      const { image } = await decoder.decode();
      try {
        const width = image.displayWidth;
        const height = image.displayHeight;
        const data = new Uint8ClampedArray(width * height * 4);
        await image.copyTo(data, { format: 'RGBA' });
        return { width, height, data };
      } finally {
        image.close();
      }
    } finally {
      decoder.close();
    }
  }

  async function withCanvas(bytes) {
    const bitmap = await createImageBitmap(new Blob([bytes]), {
      premultiplyAlpha: 'none', colorSpaceConversion: 'none',
    });
    const scratch = new OffscreenCanvas(bitmap.width, bitmap.height);
    const context = scratch.getContext('2d', { willReadFrequently: true });
    context.drawImage(bitmap, 0, 0);
    bitmap.close();
    return context.getImageData(0, 0, scratch.width, scratch.height);
  }

  // RGBA bytes turned in place into 0xAARRGGBB words, alpha set: the original draws every
  // picture opaque.
  function engineWords({ width, height, data }) {
    const pixels = new Uint32Array(data.buffer, data.byteOffset, data.length >> 2);
    for (let i = 0, j = 0; j < pixels.length; i += 4, ++j) {
      pixels[j] = (0xFF000000 | (data[i] << 16) | (data[i + 1] << 8) | data[i + 2]) >>> 0;
    }
    return { width, height, pixels };
  }

  async function decodeFresh(bytes) {
    const type = typeOf(bytes);
    if (type && typeof ImageDecoder === 'function') {
      try {
        return engineWords(await withDecoder(bytes, type));
      } catch (error) {
        // The canvas way below reads what the decoder would not.
      }
    }
    try {
      return engineWords(await withCanvas(bytes));
    } catch (error) {
      return null;
    }
  }

  // The pixels of a picture file's bytes as { width, height, pixels (0xAARRGGBB) }, or null when
  // they are no picture the browser reads. The pixels are shared: the caller only reads them.
  // The bytes may be a view of the engine's memory: they are read before anything is waited
  // for, and copied only when they must be decoded.
  async function decode(view) {
    const key = keyOf(view);
    const hit = kept.get(key);
    if (hit && same(hit.bytes, view)) {
      kept.delete(key);
      kept.set(key, hit);
      return hit.image;
    }
    const bytes = view.slice();
    const under_way = decoding.get(key);
    const image = await (under_way && same(under_way.bytes, bytes) ? under_way.done
                                                                  : decodeFresh(bytes));
    if (!image) return null;
    if (kept.get(key) && same(kept.get(key).bytes, bytes)) return kept.get(key).image;
    if (hit) {
      kept.delete(key);
      keptBytes -= hit.image.pixels.byteLength;
    }
    kept.set(key, { bytes, image });
    keptBytes += image.pixels.byteLength;
    for (const [oldest, entry] of kept) {
      if (keptBytes <= KEPT_BYTES || oldest === key) break;
      kept.delete(oldest);
      keptBytes -= entry.image.pixels.byteLength;
    }
    return image;
  }

  // Starts decoding a file the game is about to show, before it asks: its decode() then waits
  // for this one instead of beginning anew.
  function begin(bytes) {
    if (!typeOf(bytes)) return;
    const key = keyOf(bytes);
    if (kept.has(key) || decoding.has(key)) return;
    const done = decodeFresh(bytes);
    decoding.set(key, { bytes, done });
    done.then((image) => {
      decoding.delete(key);
      if (image && !kept.has(key)) {
        kept.set(key, { bytes, image });
        keptBytes += image.pixels.byteLength;
      }
    });
  }

  // Decodes picture files ahead, one while the page has nothing else to do, so a page that
  // shows one later finds its pixels at once. It fills at most half the room kept, so it never
  // pushes out what the game has shown. `files` are functions that read a file's bytes;
  // `decoded(width, height)` hears of each picture decoded.
  function warm(files, decoded = () => {}) {
    const idle = window.requestIdleCallback || ((run) => setTimeout(run, 50));
    const next = () => {
      if (files.length === 0 || keptBytes > KEPT_BYTES / 2) return;
      idle(async () => {
        const bytes = files.shift()();
        const key = bytes && typeOf(bytes) ? keyOf(bytes) : null;
        if (key && !kept.has(key)) {
          const image = await decodeFresh(bytes);
          if (image && !kept.has(key)) {
            kept.set(key, { bytes, image });
            keptBytes += image.pixels.byteLength;
          }
          if (image) decoded(image.width, image.height);
        }
        next();
      }, { timeout: 2000 });
    };
    next();
  }

  return { decode, begin, warm, typeOf };
})();
