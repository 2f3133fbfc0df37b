// The engine's pictures as images the canvas draws: one small canvas per picture number,
// filled from the engine's pixels, and filled again only when a live picture's version moved.
//
// A page turn brings a new background of the size the old one had. Memory a process touches
// for the first time costs far more than writing memory it has touched before, so the canvas
// of a picture the frame no longer shows is kept aside and filled with the next picture of
// its size instead of a new canvas being made.
'use strict';

const TsukikagePictureImages = (() => {
  const SPARE_BYTES = 16 * 1024 * 1024;  // canvases kept aside, the oldest let go first
  const SPARE_PER_SIZE = 2;  // made ahead for each size of picture the game has
  const shown = new Map();   // picture number -> { canvas, version }
  const spare = [];          // canvases no picture uses, oldest first
  let spareBytes = 0;

  const bytesOf = (canvas) => canvas.width * canvas.height * 4;

  function putAside(canvas) {
    spare.push(canvas);
    spareBytes += bytesOf(canvas);
    while (spareBytes > SPARE_BYTES && spare.length > 0) spareBytes -= bytesOf(spare.shift());
  }

  function canvasFor(width, height) {
    const at = spare.findIndex((c) => c.width === width && c.height === height);
    if (at >= 0) {
      const [canvas] = spare.splice(at, 1);
      spareBytes -= bytesOf(canvas);
      return canvas;
    }
    const canvas = document.createElement('canvas');
    canvas.width = width;
    canvas.height = height;
    return canvas;
  }

  // Makes canvases of a size the game's pictures come in while the page waits, so that the
  // first pictures of that size the game shows need no new one. A canvas's memory is touched
  // by its first drawing, which is what costs.
  function prepare(width, height) {
    const bytes = width * height * 4;
    let ready = spare.filter((c) => c.width === width && c.height === height).length;
    for (; ready < SPARE_PER_SIZE && spareBytes + bytes <= SPARE_BYTES; ++ready) {
      const canvas = document.createElement('canvas');
      canvas.width = width;
      canvas.height = height;
      canvas.getContext('2d').fillRect(0, 0, width, height);
      putAside(canvas);
    }
  }

  // The image of a frame's picture ({ id, width, height, version }); `rgbaOf(picture)` gives
  // its pixels as R, G, B, A bytes, or null when it is gone.
  function imageOf(picture, rgbaOf) {
    let entry = shown.get(picture.id);
    if (entry && entry.version === picture.version) return entry.canvas;
    const bytes = rgbaOf(picture);
    if (!bytes) return null;
    if (!entry) {
      entry = { canvas: canvasFor(picture.width, picture.height), version: undefined };
      shown.set(picture.id, entry);
    }
    entry.canvas.getContext('2d').putImageData(
      new ImageData(bytes, picture.width, picture.height), 0, 0);
    entry.version = picture.version;
    return entry.canvas;
  }

  // After a paint: the pictures it did not draw are let go, their canvases kept aside.
  function keepOnly(used) {
    for (const [id, entry] of shown) {
      if (used.has(id)) continue;
      shown.delete(id);
      putAside(entry.canvas);
    }
  }

  // A new game: its numbers start again, so no image is kept for a number.
  function clear() {
    keepOnly(new Set());
  }

  return {
    prepare,
    imageOf,
    keepOnly,
    clear,
    get spareCount() { return spare.length; },
  };
})();
