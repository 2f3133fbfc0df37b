#!/usr/bin/env python3
"""Splits a Japanese TrueType font into WOFF2 pieces by character, with a style sheet that
declares each piece for its characters (unicode-range): a browser then fetches only the
pieces a page's text uses. The common kanji (JIS level 1) come in small pieces, most used
first where KANJIDIC's newspaper ranks are there (Debian's kanjidic, read at build time
only), so that a page's text needs few of them; the rare ones in large pieces; kana, Latin
and the symbols each in one.

Usage: split_font.py FONT FAMILY OUT_DIR [KANJIDIC]. Writes OUT_DIR/fonts.css and OUT_DIR/gothic-*.woff2.
"""
import io
import multiprocessing
import re
import pathlib
import sys

from fontTools import subset
from fontTools.ttLib import TTFont

# A page of a story uses some 60 kanji: small pieces of the most used keep what it fetches
# near what it draws, at the cost of more requests.
RANKED_KANJI_PIECE = 20
COMMON_KANJI_PIECE = 100
RARE_KANJI_PIECE = 100
KANA = [(0x3000, 0x30FF), (0xFF00, 0xFFEF)]
LATIN = [(0x0000, 0x00FF), (0x2000, 0x206F)]


def is_kanji(code):
    return 0x3400 <= code <= 0x9FFF or 0xF900 <= code <= 0xFAFF or 0x20000 <= code <= 0x2FFFF


def within(code, ranges):
    return any(low <= code <= high for low, high in ranges)


def ranks(kanjidic):
    """Kanji -> rank of use in newspapers (1 the most used), from KANJIDIC's F fields."""
    found = {}
    if kanjidic and pathlib.Path(kanjidic).is_file():
        for line in open(kanjidic, encoding="euc_jp", errors="replace"):
            match = re.match(r"(\S) .* F(\d+) ", line)
            if match:
                found[ord(match.group(1))] = int(match.group(2))
    return found


def common_kanji(rank):
    """JIS level 1, the kanji of everyday text: the ranked ones most used first, then the
    others in Shift-JIS order."""
    kanji = []
    for lead in range(0x88, 0x99):
        for trail in [*range(0x40, 0x7F), *range(0x80, 0xFD)]:
            try:
                char = bytes([lead, trail]).decode("cp932")
            except UnicodeDecodeError:
                continue
            if is_kanji(ord(char)):
                kanji.append(ord(char))
    ranked = sorted(set(rank) | set(kanji), key=lambda code: rank.get(code, len(rank) + 1))
    return [code for code in ranked if code in rank] + [c for c in kanji if c not in rank]


def pieces(codes, rank):
    """(name, sorted code points) for every piece of the font's characters."""
    codes = set(codes)
    kana = sorted(c for c in codes if within(c, KANA))
    latin = sorted(c for c in codes if within(c, LATIN))
    common = [c for c in common_kanji(rank) if c in codes]
    ranked = [c for c in common if c in rank]
    unranked = [c for c in common if c not in rank]
    rare = sorted(c for c in codes if is_kanji(c) and c not in set(common))
    symbols = sorted(codes - set(kana) - set(latin) - set(common) - set(rare))
    out = [("kana", kana), ("latin", latin), ("symbols", symbols)]
    for i in range(0, len(ranked), RANKED_KANJI_PIECE):
        out.append((f"f{i // RANKED_KANJI_PIECE:03}", sorted(ranked[i:i + RANKED_KANJI_PIECE])))
    for i in range(0, len(unranked), COMMON_KANJI_PIECE):
        out.append((f"k{i // COMMON_KANJI_PIECE:02}", sorted(unranked[i:i + COMMON_KANJI_PIECE])))
    for i in range(0, len(rare), RARE_KANJI_PIECE):
        out.append((f"r{i // RARE_KANJI_PIECE:02}", rare[i:i + RARE_KANJI_PIECE]))
    return out


def unicode_range(codes):
    """Runs of consecutive code points as CSS wants them."""
    runs = []
    for code in codes:
        if runs and runs[-1][1] == code - 1:
            runs[-1][1] = code
        else:
            runs.append([code, code])
    return ",".join(f"U+{a:X}" if a == b else f"U+{a:X}-{b:X}" for a, b in runs)


def make_piece(job):
    font_path, codes, target = job
    options = subset.Options()
    options.flavor = "woff2"
    # Browsers on the desktop hint lightly by themselves and pass over the font's own hints.
    options.hinting = False
    options.layout_features = ["*"]
    options.name_IDs = ["*"]
    options.notdef_outline = True
    font = TTFont(font_path)
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=codes)
    subsetter.subset(font)
    font.flavor = "woff2"
    data = io.BytesIO()
    font.save(data)
    pathlib.Path(target).write_bytes(data.getvalue())


def main():
    font_path, family, out = sys.argv[1], sys.argv[2], pathlib.Path(sys.argv[3])
    rank = ranks(sys.argv[4] if len(sys.argv) > 4 else None)
    out.mkdir(parents=True, exist_ok=True)
    stem = "gothic"  # the page preloads pieces by these names, whatever the font
    codes = TTFont(font_path).getBestCmap().keys()
    split = [(name, piece) for name, piece in pieces(codes, rank) if piece]
    # Every character in exactly one piece: a gap would draw in another face, an overlap fetch
    # twice.
    placed = [code for _, piece in split for code in piece]
    if sorted(placed) != sorted(codes):
        sys.exit("split_font: the pieces do not hold each character once")
    jobs = [(font_path, piece, str(out / f"{stem}-{name}.woff2")) for name, piece in split]
    with multiprocessing.Pool(2) as pool:
        pool.map(make_piece, jobs)
    css = [f"/* {family} in pieces: the browser fetches those whose characters it draws. */"]
    for name, piece in split:
        css.append(f'@font-face {{ font-family: "{family}"; font-display: block;'
                   f' src: url("{stem}-{name}.woff2") format("woff2");'
                   f" unicode-range: {unicode_range(piece)}; }}")
    (out / "fonts.css").write_text("\n".join(css) + "\n", encoding="utf-8")


if __name__ == "__main__":
    main()
