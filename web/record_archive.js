// A zip archive of record files: written with its files stored as they are, read back with
// stored or deflated files (an archive the player made again with any zip tool). Each file's
// CRC is checked, so a damaged archive is told apart from a good one.
'use strict';

const TsukikageArchive = (() => {
  const LOCAL = 0x04034b50;
  const CENTRAL = 0x02014b50;
  const END = 0x06054b50;
  const UTF8_NAMES = 0x0800;

  const CRC_TABLE = (() => {
    const table = new Uint32Array(256);
    for (let n = 0; n < 256; ++n) {
      let c = n;
      for (let k = 0; k < 8; ++k) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
      table[n] = c >>> 0;
    }
    return table;
  })();

  function crc32(bytes) {
    let c = 0xffffffff;
    for (let i = 0; i < bytes.length; ++i) c = CRC_TABLE[(c ^ bytes[i]) & 0xff] ^ (c >>> 8);
    return (c ^ 0xffffffff) >>> 0;
  }

  // The archive's bytes for [name, bytes] pairs, dated `when` (the DOS clock of zip files).
  function write(files, when = new Date()) {
    const time = (when.getHours() << 11) | (when.getMinutes() << 5) | (when.getSeconds() >> 1);
    const date = ((when.getFullYear() - 1980) << 9) | ((when.getMonth() + 1) << 5) | when.getDate();
    const encoder = new TextEncoder();
    const locals = [];
    const centrals = [];
    let offset = 0;
    for (const [name, bytes] of files) {
      const encoded = encoder.encode(name);
      const crc = crc32(bytes);
      const local = new DataView(new ArrayBuffer(30));
      [[0, LOCAL, 4], [4, 10, 2], [6, UTF8_NAMES, 2], [8, 0, 2], [10, time, 2], [12, date, 2],
       [14, crc, 4], [18, bytes.length, 4], [22, bytes.length, 4], [26, encoded.length, 2],
       [28, 0, 2]].forEach(([at, value, size]) => put(local, at, value, size));
      const central = new DataView(new ArrayBuffer(46));
      [[0, CENTRAL, 4], [4, 20, 2], [6, 10, 2], [8, UTF8_NAMES, 2], [10, 0, 2], [12, time, 2],
       [14, date, 2], [16, crc, 4], [20, bytes.length, 4], [24, bytes.length, 4],
       [28, encoded.length, 2], [42, offset, 4]].forEach(([at, value, size]) =>
        put(central, at, value, size));
      locals.push(local, encoded, bytes);
      centrals.push(central, encoded);
      offset += 30 + encoded.length + bytes.length;
    }
    const size = centrals.reduce((sum, part) => sum + part.byteLength, 0);
    const end = new DataView(new ArrayBuffer(22));
    [[0, END, 4], [8, files.length, 2], [10, files.length, 2], [12, size, 4], [16, offset, 4]]
      .forEach(([at, value, size]) => put(end, at, value, size));
    return new Blob([...locals, ...centrals, end], { type: 'application/zip' });
  }

  function put(view, at, value, size) {
    if (size === 4) view.setUint32(at, value, true);
    else view.setUint16(at, value, true);
  }

  // Stops as soon as the file grows past the limit: a small archive may unpack to gigabytes.
  async function inflate(bytes, limit) {
    const stream = new Blob([bytes]).stream().pipeThrough(new DecompressionStream('deflate-raw'));
    const reader = stream.getReader();
    const parts = [];
    let total = 0;
    for (;;) {
      const { done, value } = await reader.read();
      if (done) break;
      total += value.length;
      if (total > limit) {
        reader.cancel();
        throw new Error('大きすぎます');
      }
      parts.push(value);
    }
    const out = new Uint8Array(total);
    let at = 0;
    for (const part of parts) {
      out.set(part, at);
      at += part.length;
    }
    return out;
  }

  // The archive's files as [name, bytes] pairs; throws an Error saying, for the player, what
  // it cannot read.
  async function read(buffer, limit) {
    const bytes = new Uint8Array(buffer);
    const view = new DataView(buffer);
    let end = -1;
    for (let at = bytes.length - 22; at >= Math.max(0, bytes.length - 22 - 0xffff); --at) {
      if (view.getUint32(at, true) === END) {
        end = at;
        break;
      }
    }
    if (end < 0) throw new Error('zip ではありません');
    const count = view.getUint16(end + 10, true);
    let at = view.getUint32(end + 16, true);
    const decoder = new TextDecoder('utf-8', { fatal: false });
    const files = [];
    for (let i = 0; i < count; ++i) {
      if (at + 46 > end || view.getUint32(at, true) !== CENTRAL) throw new Error('目次が壊れています');
      const method = view.getUint16(at + 10, true);
      const crc = view.getUint32(at + 16, true);
      const packed = view.getUint32(at + 20, true);
      const size = view.getUint32(at + 24, true);
      const nameLength = view.getUint16(at + 28, true);
      const skip = nameLength + view.getUint16(at + 30, true) + view.getUint16(at + 32, true);
      const local = view.getUint32(at + 42, true);
      const name = decoder.decode(bytes.subarray(at + 46, at + 46 + nameLength));
      at += 46 + skip;
      if (name.endsWith('/')) continue;
      if (size > limit) throw new Error(`${name} が大きすぎます`);
      if (local + 30 > bytes.length || view.getUint32(local, true) !== LOCAL) {
        throw new Error(`${name} の場所が壊れています`);
      }
      const start =
        local + 30 + view.getUint16(local + 26, true) + view.getUint16(local + 28, true);
      if (start + packed > bytes.length) throw new Error(`${name} が途中で切れています`);
      const data = bytes.subarray(start, start + packed);
      let content;
      if (method === 0) content = data.slice();
      else if (method === 8) content = await inflate(data, limit);
      else throw new Error(`${name} の圧縮の方式を読めません`);
      if (content.length !== size || crc32(content) !== crc) throw new Error(`${name} が壊れています`);
      files.push([name, content]);
    }
    return files;
  }

  return { write, read, crc32 };
})();
