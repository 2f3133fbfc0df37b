// Paints the window's model (the frame of view/web/frame.h) on the 662 x 601 canvas the way
// the desktop's canvas does (view/qt/canvas.cpp, text_layout.cpp, overlay_painter.cpp).
'use strict';

const TsukikagePaint = (() => {
  const WIDTH = 662;
  const HEIGHT = 601;
  const BORDER = 2;  // a picture box's sunken edge
  const FORM_BACK = '#f0f0f0';
  // The two rings of the sunken edge: above and left, below and right.
  const EDGE_TOP_LEFT = ['#a0a0a0', '#696969'];
  const EDGE_BOTTOM_RIGHT = ['#ffffff', '#e3e3e3'];
  // The design's Japanese faces are drawn with IPA P Gothic, as on the desktop.
  const SUBSTITUTES = {
    'ＭＳ Ｐゴシック': 'IPAPGothic', 'MS PGothic': 'IPAPGothic',
    'ＭＳ ゴシック': 'IPAPGothic', 'MS Gothic': 'IPAPGothic',
  };
  const MAX_LINE_CHARS = 8192;  // a runaway caption is not laid out whole

  function cssFont(face, px) {
    const family = SUBSTITUTES[face] || face || 'IPAPGothic';
    return `${px > 0 ? px : 12}px "${family}", "IPAPGothic"`;
  }

  // Ascent and descent of a font in whole pixels, as the desktop's font metrics give them.
  const metricsCache = new Map();
  function fontMetrics(ctx, font) {
    let m = metricsCache.get(font);
    if (!m) {
      ctx.save();
      ctx.font = font;
      const t = ctx.measureText('あ');
      ctx.restore();
      m = { ascent: Math.ceil(t.fontBoundingBoxAscent),
            descent: Math.ceil(t.fontBoundingBoxDescent) };
      metricsCache.set(font, m);
    }
    return m;
  }

  // The first `maxLines` lines of a caption: CR LF, a lone CR and a lone LF each end one.
  function leadingLines(text, maxLines) {
    const lines = [];
    let pos = 0;
    while (lines.length < maxLines) {
      const match = /[\r\n]/.exec(text.slice(pos));
      const end = match ? pos + match.index : -1;
      lines.push(text.slice(pos, end < 0 ? undefined : end).slice(0, MAX_LINE_CHARS));
      if (end < 0) break;
      pos = end + 1;
      if (text[end] === '\r' && text[pos] === '\n') ++pos;
    }
    return lines;
  }

  const isWordChar = (c) => /^[A-Za-z0-9]$/.test(c);

  // One line broken into rows no wider than `width`: between any two characters, a Latin
  // word moved whole to the next row when it fits there, a blank where a row breaks dropped.
  // A row takes as many characters as fit, at least one. A run of characters is never
  // narrower than a part of it, so the longest run that fits is found in a handful of
  // measures a row instead of one a character: first the last row's length, as the rows of a
  // page are of about one length, then steps doubling from one, then halving. No measure is
  // much longer than a row, however long the line.
  function wrapLine(ctx, text, width) {
    const chars = Array.from(text);
    const run = (from, to) => chars.slice(from, to).join('');
    const fits = (from, to) => ctx.measureText(run(from, to)).width <= width;
    const rows = [];
    let start = 0;  // the row is chars[start, end)
    let end = 0;
    let lastRow = 0;
    while (end < chars.length) {
      let fit = end === start ? end + 1 : end;  // a row's first character always goes in
      let over = chars.length + 1;              // the first end known not to fit
      const guess = start + lastRow;
      if (guess > fit && guess < over) {
        if (fits(start, guess)) fit = guess;
        else over = guess;
      }
      for (let step = 1; fit + step < over; step *= 2) {
        if (!fits(start, fit + step)) {
          over = fit + step;
          break;
        }
        fit += step;
      }
      while (over - fit > 1) {
        const middle = (fit + over) >> 1;
        if (fits(start, middle)) fit = middle;
        else over = middle;
      }
      end = fit;
      lastRow = end - start;
      if (end === chars.length) break;
      const next = chars[end];
      let word = end;
      while (word > start && isWordChar(chars[word - 1]) && isWordChar(next)) --word;
      if (word > start && word < end) {
        rows.push(run(start, word));
        start = word;
      } else {
        rows.push(run(start, end));
        start = next === ' ' ? end + 1 : end;
        end = start;
      }
    }
    rows.push(run(start, end));
    return rows;
  }

  // The rows of lines laid out before, by font, width and line: a page is painted again and
  // again while it shows (its marker blinks, a transition runs), with the same text. A font
  // that comes in changes the widths, so the rows are laid out anew after any.
  const ROWS_KEPT = 512;
  const rowsKept = new Map();
  if (typeof document !== 'undefined' && document.fonts) {
    document.fonts.addEventListener('loadingdone', () => rowsKept.clear());
  }
  function rowsOf(ctx, line, width) {
    const key = `${ctx.font}\n${width}\n${line}`;
    let rows = rowsKept.get(key);
    if (!rows) {
      if (rowsKept.size >= ROWS_KEPT) rowsKept.clear();
      rows = wrapLine(ctx, line, width);
      rowsKept.set(key, rows);
    }
    return rows;
  }

  // A caption: top-left aligned, wrapped at the box's width, lines one em apart, cut off at
  // the bottom.
  function drawCaption(ctx, control, [left, top, width, height]) {
    if (!control.caption || width <= 0 || height <= 0) return;
    const px = control.font.px > 0 ? control.font.px : 12;
    const font = cssFont(control.font.face, px);
    const { ascent } = fontMetrics(ctx, font);
    const maxLines = Math.ceil(height / px) + 1;
    ctx.font = font;
    ctx.fillStyle = control.fore;
    let y = top;
    for (const line of leadingLines(control.caption, maxLines)) {
      for (const row of rowsOf(ctx, line, width)) {
        if (y >= top + height) return;
        ctx.fillText(row, left, y + ascent);
        y += px;
      }
    }
  }

  function drawSunkenEdge(ctx, [left, top, width, height]) {
    for (let ring = 0; ring < BORDER && width > 0 && height > 0; ++ring) {
      ctx.fillStyle = EDGE_TOP_LEFT[ring];
      ctx.fillRect(left, top, width - 1, 1);
      ctx.fillRect(left, top, 1, height - 1);
      ctx.fillStyle = EDGE_BOTTOM_RIGHT[ring];
      ctx.fillRect(left, top + height - 1, width, 1);
      ctx.fillRect(left + width - 1, top, 1, height);
      ++left; ++top; width -= 2; height -= 2;
    }
  }

  function clipTo(ctx, [left, top, width, height]) {
    ctx.beginPath();
    ctx.rect(left, top, width, height);
    ctx.clip();
  }

  function drawPicture(ctx, picture, x, y, images) {
    const image = picture && images(picture);
    if (image) ctx.drawImage(image, x, y);
  }

  function paintControl(ctx, control, images, historyOpen) {
    const [left, top, width, height] = control.rect;
    switch (control.kind) {
      case 'PictureBox': {
        drawSunkenEdge(ctx, control.rect);
        const inside = [left + BORDER, top + BORDER, width - 2 * BORDER, height - 2 * BORDER];
        if (inside[2] <= 0 || inside[3] <= 0) break;
        clipTo(ctx, inside);
        ctx.fillStyle = control.back;
        ctx.fillRect(...inside);
        drawPicture(ctx, control.picture, inside[0], inside[1], images);
        break;
      }
      case 'Image':
        drawPicture(ctx, control.picture, left, top, images);
        break;
      case 'Label':
      case 'TextBox':
        ctx.fillStyle = control.back;
        ctx.fillRect(left, top, width, height);
        // The history over the page stands in for its text: under the shade the page's lines
        // would show through between the history's.
        if (!historyOpen) drawCaption(ctx, control, control.rect);
        break;
      case 'Shape':
        if (width <= 0 || height <= 0) break;
        ctx.strokeStyle = control.fore;
        ctx.lineWidth = 1;
        ctx.strokeRect(left + 0.5, top + 0.5, width - 1, height - 1);
        break;
    }
  }

  // A band `band` pixels wide just inside the rectangle's edge.
  function fillRing(ctx, left, top, width, height, band, colour) {
    ctx.fillStyle = colour;
    if (width <= 2 * band || height <= 2 * band) {
      ctx.fillRect(left, top, width, height);
      return;
    }
    ctx.fillRect(left, top, width, band);
    ctx.fillRect(left, top + height - band, width, band);
    ctx.fillRect(left, top + band, band, height - 2 * band);
    ctx.fillRect(left + width - band, top + band, band, height - 2 * band);
  }

  // What the keyboard points at: a frame two pixels wide, in the text's colour on a caption and
  // in white on a picture, edged in black on both sides so that it stands out on any picture.
  function paintFocus(ctx, control) {
    const [left, top, width, height] = control.rect;
    fillRing(ctx, left, top, width, height, 1, '#000000');
    fillRing(ctx, left + 1, top + 1, width - 2, height - 2, 2,
             control.kind === 'Label' ? control.fore : '#ffffff');
    fillRing(ctx, left + 3, top + 3, width - 6, height - 6, 1, '#000000');
  }

  // The text history over the whole screen, and the sign of skip or auto mode.
  const HISTORY_SHADE = 'rgba(0,0,0,0.843)';
  const PAGE_COLOUR = '#f4f4f4';
  const PICK_COLOUR = '#ffd870';
  const HINT_COLOUR = '#a8a8a8';
  const SIGN_SHADE = 'rgba(0,0,0,0.667)';
  const MARGIN = 28;
  const HINT_SIZE = 12;
  const PICK_MARK = '▶ ';
  const HINT = '↑↓・ホイールで移動　Esc・右クリックで閉じる';

  function entryRows(ctx, entry, width) {
    const rows = [];
    let first = true;
    for (let line of leadingLines(entry.text, 64)) {
      if (entry.pick && first) line = PICK_MARK + line;
      first = false;
      rows.push(...rowsOf(ctx, line, width));
    }
    return rows;
  }

  function paintHistory(ctx, overlay) {
    const history = overlay.history;
    ctx.fillStyle = HISTORY_SHADE;
    ctx.fillRect(0, 0, WIDTH, HEIGHT);
    const hintFont = cssFont(overlay.face, HINT_SIZE);
    const hint = fontMetrics(ctx, hintFont);
    ctx.font = hintFont;
    ctx.fillStyle = HINT_COLOUR;
    ctx.fillText(`履歴　${history.position} / ${history.count}`, MARGIN, MARGIN / 2 + hint.ascent);
    ctx.fillText(HINT, MARGIN, HEIGHT - MARGIN / 2 - hint.descent);

    const px = overlay.px > 0 ? overlay.px : 12;
    const font = cssFont(overlay.face, px);
    const { ascent } = fontMetrics(ctx, font);
    const hintHeight = hint.ascent + hint.descent;
    const top = MARGIN + hintHeight;
    const width = WIDTH - 2 * MARGIN;
    let bottom = HEIGHT - MARGIN - hintHeight;
    ctx.font = font;
    for (const entry of [...history.entries].reverse()) {
      const rows = entryRows(ctx, entry, width);
      ctx.fillStyle = entry.pick ? PICK_COLOUR : PAGE_COLOUR;
      let y = bottom - rows.length * px;
      for (const row of rows) {
        if (y >= top) ctx.fillText(row, MARGIN, y + ascent);
        y += px;
      }
      bottom -= rows.length * px + px / 2;
      if (bottom < top) break;
    }
  }

  function paintSign(ctx, overlay) {
    const font = cssFont(overlay.face, HINT_SIZE);
    const m = fontMetrics(ctx, font);
    ctx.font = font;
    const width = ctx.measureText(overlay.sign).width + 12;
    const height = m.ascent + m.descent + 6;
    const left = WIDTH - width - 8;
    ctx.fillStyle = SIGN_SHADE;
    ctx.beginPath();
    ctx.roundRect ? ctx.roundRect(left, 8, width, height, 4) : ctx.rect(left, 8, width, height);
    ctx.fill();
    ctx.fillStyle = PAGE_COLOUR;
    ctx.textAlign = 'center';
    ctx.fillText(overlay.sign, left + width / 2, 8 + (height - m.ascent - m.descent) / 2 + m.ascent);
    ctx.textAlign = 'start';
  }

  // The whole frame. `images(picture)` gives a drawable image of a frame's picture.
  function paintFrame(ctx, frame, images) {
    ctx.save();
    ctx.textBaseline = 'alphabetic';
    ctx.fillStyle = FORM_BACK;
    ctx.fillRect(0, 0, WIDTH, HEIGHT);
    drawPicture(ctx, frame.window, 0, 0, images);
    for (const control of frame.controls) {
      ctx.save();
      clipTo(ctx, control.clip);
      paintControl(ctx, control, images, Boolean(frame.overlay.history));
      if (control.focus) paintFocus(ctx, control);
      ctx.restore();
    }
    if (frame.overlay.history) paintHistory(ctx, frame.overlay);
    else if (frame.overlay.sign) paintSign(ctx, frame.overlay);
    ctx.restore();
  }

  // The fonts and the characters a frame draws, each font with 'あ' for its metrics: the font
  // comes in pieces by character, and a piece not yet fetched would draw in another face.
  function textsOf(frame) {
    const texts = new Map();  // font -> text
    const add = (font, text) => texts.set(font, (texts.get(font) || 'あ') + text);
    for (const control of frame.controls) {
      if ((control.kind === 'Label' || control.kind === 'TextBox') && control.caption) {
        add(cssFont(control.font.face, control.font.px), control.caption);
      }
    }
    const overlay = frame.overlay;
    if (overlay.history) {
      add(cssFont(overlay.face, HINT_SIZE), `履歴　/${HINT}0123456789`);
      add(cssFont(overlay.face, overlay.px),
          PICK_MARK + overlay.history.entries.map((entry) => entry.text).join(''));
    } else if (overlay.sign) {
      add(cssFont(overlay.face, HINT_SIZE), overlay.sign);
    }
    return texts;
  }

  return { WIDTH, HEIGHT, paintFrame, textsOf, wrapLine, leadingLines, cssFont };
})();
