#!/usr/bin/env python3
"""Packs the 16-bit PCM waves of a game folder for the page, in place: each sample becomes
what is left after a straight line through the two before it (per channel), and the low
bytes of the data chunk come before the high bytes. The file keeps its size and header;
gzip then finds the smooth signal's patterns, and the page's data package shrinks by a
third. The page restores the samples before the game starts (src/view/web/packed_waves.cpp).

Usage: pack_waves.py GAME_DIR LIST [LATE]. Writes LIST: the packed files, one path relative
to GAME_DIR a line (UTF-8).

With LATE (a name ending in .gz), the packed waves leave the game folder for LATE, gzipped,
and for LATE without its .gz, for browsers that cannot expand gzip; their files in the folder
are left empty, so that the folder lists every name. The page fetches them after the game's
first screen is on the canvas, since the start never plays one and they are most of the
data's bytes. LATE holds, for each packed file in LIST's order, the name's UTF-8 length
(4 bytes, little-endian), the name, the file's length (4 bytes) and its bytes.
"""
import gzip
import pathlib
import struct
import sys


def data_chunk(data):
    """(offset, bytes, channels) of a 16-bit PCM file's samples, or None. The chunks are read
    as the player reads them (src/sound/riff.cpp): to the file's end whatever sizes say, the
    first "fmt " and the first "data" chunk."""
    if len(data) < 12 or data[:4] != b"RIFF" or data[8:12] != b"WAVE":
        return None
    chunks = {}
    at = 12
    while len(data) - at >= 8:
        kind = bytes(data[at:at + 4])
        size = min(struct.unpack_from("<I", data, at + 4)[0], len(data) - at - 8)
        chunks.setdefault(kind, (at + 8, size))
        at += 8 + size
        if size % 2 and at < len(data):
            at += 1
    if b"fmt " not in chunks or b"data" not in chunks or chunks[b"fmt "][1] < 16:
        return None
    tag, channels, _, _, _, bits = struct.unpack_from("<HHIIHH", data, chunks[b"fmt "][0])
    if tag != 1 or bits != 16 or channels < 1:
        return None
    offset, size = chunks[b"data"]
    return offset, size, channels


def pack(samples, channels):
    """The residuals of signed 16-bit samples, as unsigned 16-bit values."""
    out = [0] * len(samples)
    for i, sample in enumerate(samples):
        one = samples[i - channels] if i >= channels else 0
        two = samples[i - 2 * channels] if i >= 2 * channels else 0
        out[i] = (sample - 2 * one + two) & 0xFFFF
    return out


def unpack(residuals, channels):
    samples = [0] * len(residuals)
    for i, residual in enumerate(residuals):
        one = samples[i - channels] if i >= channels else 0
        two = samples[i - 2 * channels] if i >= 2 * channels else 0
        value = (residual + 2 * one - two) & 0xFFFF
        samples[i] = value - 0x10000 if value >= 0x8000 else value
    return samples


def pack_file(path):
    data = bytearray(path.read_bytes())
    found = data_chunk(data)
    if not found:
        return False
    offset, size, channels = found
    count = size // 2
    if count == 0:
        return False
    samples = list(struct.unpack_from(f"<{count}h", data, offset))
    residuals = pack(samples, channels)
    # Packing must be undone exactly, or the page would play noise.
    if unpack(residuals, channels) != samples:
        sys.exit(f"pack_waves: {path} does not come back whole")
    data[offset:offset + count] = bytes(r & 0xFF for r in residuals)
    data[offset + count:offset + 2 * count] = bytes(r >> 8 for r in residuals)
    path.write_bytes(bytes(data))
    return True


def move_late(folder, names, late):
    """The packed files' bytes into LATE, and their files in the folder emptied."""
    parts = []
    for name in names:
        path = folder / name
        encoded, data = name.encode("utf-8"), path.read_bytes()
        parts += [struct.pack("<I", len(encoded)), encoded, struct.pack("<I", len(data)), data]
        path.write_bytes(b"")
    plain = b"".join(parts)
    late.with_suffix("").write_bytes(plain)
    late.write_bytes(gzip.compress(plain, 9, mtime=0))


def main():
    folder, listing = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
    packed = [path.relative_to(folder).as_posix() for path in sorted(folder.rglob("*"))
              if path.is_file() and pack_file(path)]
    listing.write_text("".join(f"{name}\n" for name in packed), encoding="utf-8")
    if len(sys.argv) > 3:
        move_late(folder, packed, pathlib.Path(sys.argv[3]))


if __name__ == "__main__":
    main()
