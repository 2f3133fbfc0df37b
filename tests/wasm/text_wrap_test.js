// The page's line breaking (web/paint.js), run in node with a measure of fixed widths: a
// character is 10 px wide and "i" 4, so each case knows exactly where its rows must break.
'use strict';

const assert = require('assert');
const fs = require('fs');
const vm = require('vm');

const context = vm.createContext({});
vm.runInContext(`${fs.readFileSync(process.argv[2], 'utf8')}\nthis.paint = TsukikagePaint;`,
                context);
const { wrapLine } = context.paint;

let measures = 0;
let measured = 0;  // characters
const ctx = {
  measureText(text) {
    ++measures;
    measured += Array.from(text).length;
    let width = 0;
    for (const c of text) width += c === 'i' ? 4 : 10;
    return { width };
  },
};

const cases = [
  ['an empty line', '', 30, ['']],
  ['exactly the width', 'あいう', 30, ['あいう']],
  ['one character over', 'あいうえ', 30, ['あいう', 'え']],
  ['narrow ones exactly the width', 'iiiii', 20, ['iiiii']],
  ['narrow ones one over', 'iiiiii', 20, ['iiiii', 'i']],
  ['a character wider than the row', 'あい', 5, ['あ', 'い']],
  ['a Latin word moves whole', 'ab cdefgh', 60, ['ab ', 'cdefgh']],
  ['after kana too', 'あいabc', 40, ['あい', 'abc']],
  ['a word longer than a row breaks', 'abcdefg', 30, ['abc', 'def', 'g']],
  ['a blank at the break goes', 'abc def', 30, ['abc', 'def']],
  ['a blank ending the line at the break', 'abc ', 30, ['abc', '']],
  ['only the first blank goes', 'abc  de', 30, ['abc', ' de']],
  ['characters beyond the first plane count once', '𠀋𠀋𠀋𠀋', 30, ['𠀋𠀋𠀋', '𠀋']],
];
for (const [what, line, width, rows] of cases) {
  assert.deepStrictEqual(Array.from(wrapLine(ctx, line, width)), rows, what);
}

// A long line is laid out with a few measures a row, not one a character, and none of them
// much longer than a row: rows of 40 characters, the line 100 times that.
measures = 0;
measured = 0;
const long = 'あ'.repeat(4000);
assert.strictEqual(wrapLine(ctx, long, 400).length, 100);
assert.ok(measures <= 100 * 4, `${measures} measures for 100 rows`);
assert.ok(measured <= 100 * 4 * 80, `${measured} characters measured for 100 rows`);

console.log(`text wrapping: ${cases.length} cases passed`);
