// The review page's pure script part (reviewPure in src/review/page.js) under Node, without a
// browser: number formatting, the table's order and search, and the view transform.
//
//   node --test tests/review/pure.test.mjs
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { fileURLToPath } from 'node:url';
import vm from 'node:vm';

// The script as the page holds it; here there is no document, so only its pure part runs.
const script = fileURLToPath(new URL('../../src/review/page.js', import.meta.url));
vm.runInThisContext(readFileSync(script, 'utf8'), { filename: script });
const pure = vm.runInThisContext('reviewPure');

// The report's units as the data give them (format 0 in inches and in mm, format 3 in mm, format 2 in mils).
const INCH = { word: 'in', per_inch: 1, decimals: 4 };
const MM = { word: 'mm', per_inch: 25.4, decimals: 2 };
const MM3 = { word: 'mm', per_inch: 25.4, decimals: 3 };
const MIL = { word: 'mil', per_inch: 1000, decimals: 0 };

function near(got, want, what) {
  assert.ok(Math.abs(got - want) <= 1e-9 * Math.max(1, Math.abs(want)), `${what}: ${got}, expected ${want}`);
}

test('lengths, counts and texts are written as the page shows them', () => {
  const cases = [
    ['formatLength', [1, INCH], '1.0000'],
    ['formatLength', [-0.123456, INCH], '-0.1235'],
    ['formatLength', [1, MM], '25.40'],
    ['formatLength', [0.5, MM3], '12.700'],
    ['formatLength', [1.23456, MIL], '1235'],
    ['formatCount', [999], '999'],
    ['formatCount', [1234567], '1,234,567'],
    ['rowCountText', [1, 1, 0, 0, false], '1 placed part'],
    ['rowCountText', [2000, 2000, 3, 3, false], '2,000 placed parts, 3 excluded'],
    ['rowCountText', [0, 1, 0, 0, true], '0 of 1 placed part'],
    ['rowCountText', [1500, 20000, 1, 1200, true], '1,500 of 20,000 placed parts, 1 of 1,200 excluded'],
    ['esc', [`<b>"R1" & 'C2'</b>`], '&lt;b&gt;&quot;R1&quot; &amp; &#39;C2&#39;&lt;/b&gt;'],
  ];
  for (const [name, args, want] of cases) assert.equal(pure[name](...args), want, `${name}(${JSON.stringify(args)})`);
});

test('the scale bar is the longest 1, 2 or 5 times a power of ten that fits', () => {
  const cases = [   // px per inch, units, label, length in px
    [100, INCH, '1 in', 100],
    [25, INCH, '5 in', 125],
    [60, INCH, '2 in', 120],
    [14, INCH, '10 in', 140],
    [1000, INCH, '0.1 in', 100],
    [100, MM, '20 mm', 2000 / 25.4],
    [254000, MM, '0.01 mm', 100],
    [100, MIL, '1000 mil', 100],
    [30, MIL, '2000 mil', 60],
  ];
  for (const [s, units, text, px] of cases) {
    const bar = pure.scaleBar(s, units, 140);
    assert.equal(bar.text, text, `label at ${s} px/in in ${units.word}`);
    near(bar.px, px, `length at ${s} px/in`);
  }
  // Over a wide range of zooms the bar fits and is never less than 1/2.5 of the room.
  for (let s = 0.01; s < 1e7; s *= 1.37) {
    const { px } = pure.scaleBar(s, MM, 140);
    assert.ok(px <= 140 && px > 140 / 2.5, `${px} px at ${s} px/in`);
  }
});

test('table order: numbers as numbers, designators naturally, report order for ties and no column', () => {
  const part = (ref, x, rotation, findings) => ({ ref, footprint: 'R0603', value: '10k', side: 'top', x_text: x, y_text: '0.00',
    rotation, class: 'SMD', findings, info: '' });
  const findings = [{ kind: 'centroid', severity: 'error' }, { kind: 'edge', severity: 'note' }, { kind: 'pin-count', severity: 'note' }];
  const parts = [part('R10', '5.00', 90, []), part('R2', '-1.50', 180, [1]), part('c1', '5.00', 0, []), part('R1', '12.00', 270, [1, 2]),
    part('C1', '0.00', 90, []), part('R2', '5.00', 0, [0]), part('A1', '-9.00', 0, [])];
  const placed = [0, 1, 2, 3, 4, 5];   // part 6 is excluded
  const columns = pure.tableColumns('mm', findings);
  // The findings cell names the kinds; an error weighs more than any number of notes.
  assert.equal(columns.find((c) => c.key === 'findings').get(parts[3]), 'edge, pin-count');
  const cases = [
    [null, 1, [0, 1, 2, 3, 4, 5]],
    ['ref', 1, [2, 4, 3, 1, 5, 0]],
    ['ref', -1, [0, 1, 5, 3, 2, 4]],
    ['x', 1, [1, 4, 0, 2, 5, 3]],
    ['x', -1, [3, 0, 2, 5, 4, 1]],
    ['rotation', 1, [2, 5, 0, 4, 1, 3]],
    ['findings', -1, [5, 3, 1, 0, 2, 4]],
  ];
  for (const [key, dir, want] of cases) {
    assert.deepEqual(pure.sortRows(parts, placed, columns.find((c) => c.key === key), dir), want, `${key} ${dir}`);
  }
  assert.deepEqual(placed, [0, 1, 2, 3, 4, 5], 'the placed parts were reordered in place');
});

test('heading clicks cycle ascending, descending, report order', () => {
  const cases = [   // sort key and direction, heading clicked, next sort key and direction
    [null, 1, 'x', 'x', 1],
    ['x', 1, 'x', 'x', -1],
    ['x', -1, 'x', null, -1],
    ['x', -1, 'ref', 'ref', 1],
    [null, -1, 'x', 'x', 1],
  ];
  for (const [key, dir, clicked, nextKey, nextDir] of cases) {
    assert.deepEqual(pure.nextSort(key, dir, clicked), { sortKey: nextKey, sortDir: nextDir }, `${key} ${dir}, click on ${clicked}`);
  }
});

test('search: designator, footprint or value, in any case, trimmed, never across two fields or in the information', () => {
  const parts = [
    { ref: 'R1', footprint: '0805', value: '10k', info: 'low noise' },
    { ref: 'R10', footprint: 'R0603', value: '1K', info: '' },
    { ref: 'C1', footprint: 'C0805', value: '100n', info: '' },
    { ref: 'U1', footprint: 'SOIC-8', value: 'NE555', info: '' },
  ];
  const keys = parts.map(pure.searchKey);
  const order = [3, 2, 1, 0];   // a sort order, which the matches keep
  const cases = [
    ['', [3, 2, 1, 0]],
    ['   ', [3, 2, 1, 0]],
    ['r1', [1, 0]],
    ['  R1 ', [1, 0]],
    ['0805', [2, 0]],
    ['1k', [1]],
    ['Soic', [3]],
    ['noise', []],
    ['r10805', []],
  ];
  for (const [query, want] of cases) {
    assert.deepEqual(pure.matchRows(order, keys, pure.searchNeedle(query)), want, JSON.stringify(query));
  }
});

const views = [
  { side: 'top', s: 100, tx: 50, ty: 400, w: 800, h: 500, fitScale: 100 },
  { side: 'bottom', s: 250, tx: 900, ty: 300, w: 800, h: 500, fitScale: 100 },
];
const onScreen = (v, pt) => pure.toScreen(v, pt[0], pt[1]);
const onBoard = (v, pt) => pure.toBoard(v, pt[0], pt[1]);

test('view: board and screen points map both ways; the bottom is mirrored left-right, y points up', () => {
  for (const v of views) {
    for (const pt of [[0, 0], [1.25, -3.5], [-7, 12.125]]) {
      const back = onBoard(v, onScreen(v, pt));
      near(back[0], pt[0], `${v.side} x`);
      near(back[1], pt[1], `${v.side} y`);
    }
    const [a, b, c] = [onScreen(v, [0, 0]), onScreen(v, [1, 0]), onScreen(v, [0, 1])];
    assert.equal(Math.sign(b[0] - a[0]), v.side === 'top' ? 1 : -1, `${v.side}: x to the right`);
    assert.ok(c[1] < a[1], `${v.side}: y up`);
    // The board box a view shows has the view's corners on its edges.
    const box = pure.shownBox(v, 0), corners = [onBoard(v, [0, 0]), onBoard(v, [v.w, v.h])];
    near(box[0], Math.min(corners[0][0], corners[1][0]), `${v.side} shown x0`);
    near(box[1], Math.min(corners[0][1], corners[1][1]), `${v.side} shown y0`);
    near(box[2], Math.max(corners[0][0], corners[1][0]), `${v.side} shown x1`);
    near(box[3], Math.max(corners[0][1], corners[1][1]), `${v.side} shown y1`);
  }
});

test('view: zoom about a point keeps the board point under it, within 1/8 to 4000 times the fitted scale', () => {
  const pointer = [300, 200];
  for (const v of views) {
    for (const [factor, scale] of [[2, v.s * 2], [0.5, v.s / 2], [1e6, 400000], [1e-6, 12.5]]) {
      const zoomed = { ...v, ...pure.zoomAt(v, pointer[0], pointer[1], factor) };
      near(zoomed.s, scale, `${v.side} scale after ${factor}`);
      const [x, y] = onBoard(zoomed, pointer), [x0, y0] = onBoard(v, pointer);
      near(x, x0, `${v.side} x under the pointer after ${factor}`);
      near(y, y0, `${v.side} y under the pointer after ${factor}`);
      // A drawing made for one view lands where the other shows it: scale by k, then shift.
      const { k, x: dx, y: dy } = pure.shiftBetween(v, zoomed);
      const [sx, sy] = onScreen(v, [1.5, 2]), [zx, zy] = onScreen(zoomed, [1.5, 2]);
      near(k * sx + dx, zx, `${v.side} shifted x after ${factor}`);
      near(k * sy + dy, zy, `${v.side} shifted y after ${factor}`);
    }
  }
});

test('view: Fit fills the view with the box, a part is centred zooming in only, a side switch keeps the middle', () => {
  const box = [1, 2, 5, 4];   // 4 by 2 inches into 800 by 500 px: the width decides
  for (const v of views) {
    const fitted = { ...v, ...pure.fitView(v, box) };
    near(fitted.s, 200 * 0.92, `${v.side} fitted scale`);
    assert.equal(fitted.fitScale, fitted.s);
    const middle = onScreen(fitted, [3, 3]);
    near(middle[0], 400, `${v.side} box middle x`);
    near(middle[1], 250, `${v.side} box middle y`);
    // The box is 736 by 368 px: 32 px to spare left and right, 66 above and below.
    for (const [dx, dy, holds] of [[0, 0, true], [30, 60, true], [-30, -60, true], [40, 0, false], [-40, 0, false], [0, 70, false], [0, -70, false]]) {
      assert.equal(pure.holdsBox({ ...fitted, tx: fitted.tx + dx, ty: fitted.ty + dy }, box), holds, `${v.side} moved by ${dx}, ${dy}`);
    }

    for (const [scale, want] of [[100, 500 / 0.8], [1000, 1000]]) {
      const centred = { ...v, ...pure.centreOn({ ...v, s: scale }, 3, 3, [2.9, 2.95, 3.1, 3.05]) };
      near(centred.s, want, `${v.side} scale centring at ${scale}`);
      const at = onScreen(centred, [3, 3]);
      near(at[0], 400, `${v.side} centred x`);
      near(at[1], 250, `${v.side} centred y`);
    }

    // A group's box: shown whole and centred, a tiny one no more than `least` wide; the zoom range stays.
    for (const [b, scale] of [[[1, 2, 5, 4], 200 * 0.9], [[3, 3, 3.01, 3.01], 500 / 0.8 * 0.9]]) {
      const shown = { ...v, ...pure.showBox(v, b, 0.8) };
      near(shown.s, scale, `${v.side} group scale`);
      assert.equal(shown.fitScale, v.fitScale);
      const at = onScreen(shown, [(b[0] + b[2]) / 2, (b[1] + b[3]) / 2]);
      near(at[0], 400, `${v.side} group middle x`);
      near(at[1], 250, `${v.side} group middle y`);
    }

    const other = v.side === 'top' ? 'bottom' : 'top';
    const turned = { ...v, ...pure.turnTo(v, other) };
    assert.equal(turned.side, other);
    const [before, after] = [onBoard(v, [400, 250]), onBoard(turned, [400, 250])];
    near(after[0], before[0], `${v.side} to ${other}: middle x`);
    near(after[1], before[1], `${v.side} to ${other}: middle y`);
    assert.deepEqual(pure.turnTo(v, v.side), { side: v.side, tx: v.tx, ty: v.ty });
  }
});

test('designator lists: the first few, then how many more; the parts of a finding in words', () => {
  const refs = ['C1', 'C2', 'C3', 'C4'];
  const cases = [   // function, arguments, text
    ['refList', [refs, 4], 'C1, C2, C3, C4'],
    ['refList', [refs, 3], 'C1, C2, C3 and 1 more'],
    ['refList', [[], 3], ''],
    ['partsText', [['R1'], 6], '1 part: R1'],
    ['partsText', [refs, 2], '4 parts: C1, C2 and 2 more'],
    ['partsText', [Array.from({ length: 1200 }, (_, k) => 'R' + k), 1], '1,200 parts: R0 and 1,199 more'],
  ];
  for (const [name, args, want] of cases) assert.equal(pure[name](...args), want, `${name}(${JSON.stringify(args).slice(0, 40)})`);
});

test('the box Fit shows: the outline and every placed part, widened when too small to see', () => {
  const cases = [   // outlines (flat lists x0, y0, x1, y1, ...), boxes of the placed parts, box
    [[[0, 0, 4, 0, 4, 3], [5, -1]], [[1, 1, 2, 2]], [0, -1, 5, 3]],
    [[[0, 0, 4, 0, 4, 3]], [[1, 1, 2, 2], [6, -2, 6.5, -1.5]], [0, -2, 6.5, 3]],   // a part off the board
    [[], [[1, 1, 2, 1.5], [-1, 0.5, 0, 3]], [-1, 0.5, 2, 3]],
    [[[2, 2, 2, 3]], [[0, 0, 1, 1]], [0, 0, 2, 3]],
    [[[1, 1, 1.02, 1.5]], [], [0.95, 1, 1.07, 1.5]],
    [[], [], [0, 0, 1, 1]],
  ];
  for (const [outlines, boxes, want] of cases) {
    const got = pure.boardBox(outlines, boxes);
    want.forEach((w, k) => near(got[k], w, `${JSON.stringify(outlines)} ${JSON.stringify(boxes)} [${k}]`));
  }
});

test('groups: the placed parts by value and footprint, by footprint then value (numbers as numbers), sortable by quantity', () => {
  const part = (ref, value, footprint) => ({ ref, value, footprint });
  const parts = [part('R10', '10k', 'R0603'), part('C1', '100n', 'C0603'), part('R2', '10k', 'R0603'), part('R3', '10k', 'R0805'),
    part('C12', '1u', 'C0603'), part('C2', '100n', 'C0603'), part('X1', '10k', 'R0603')];
  const groups = pure.groupParts(parts, [0, 1, 2, 3, 4, 5]);   // part 6 is excluded
  assert.deepEqual(groups.map((g) => [g.value, g.footprint, g.parts]),
    [['1u', 'C0603', [4]], ['100n', 'C0603', [1, 5]], ['10k', 'R0603', [0, 2]], ['10k', 'R0805', [3]]]);
  assert.deepEqual(pure.naturalOrder(['R10', 'r2', 'R1', 'C3']), ['C3', 'R1', 'r2', 'R10']);
  const qty = pure.groupColumns().find((c) => c.key === 'qty');
  assert.deepEqual(pure.sortRows(groups, [0, 1, 2, 3], qty, -1), [1, 2, 0, 3]);
  assert.equal(pure.groupSearchKey({ value: '10K', footprint: 'R0603', refs: 'R1, R2' }), '10k\nr0603\nr1, r2');
});

test('the fingerprint of the data: the same for the same text, another for any change', () => {
  const text = JSON.stringify({ project: 'Demo', parts: [{ ref: 'R1', x: 1 }] });
  assert.match(pure.hashText(text), /^[0-9a-f]{8}$/);
  assert.equal(pure.hashText(text), pure.hashText(text.slice()));
  const changed = [text.replace('"x":1', '"x":2'), text.replace('R1', 'R2'), text + ' ', '', 'Пи'];
  const hashes = new Set([text, ...changed].map(pure.hashText));
  assert.equal(hashes.size, changed.length + 1);
  assert.equal(pure.hashText(''), '811c9dc5');   // FNV-1a's offset basis: nothing mixed in
});

test('rotation mark: toward 0 degrees turned by the rotation, as seen from the side of the part', () => {
  const cases = [   // rotation, side, end of a mark of length 1 from (10, 20)
    [0, 'top', [11, 20]], [90, 'top', [10, 21]], [180, 'top', [9, 20]], [270, 'top', [10, 19]], [450, 'top', [10, 21]],
    [0, 'bottom', [9, 20]], [90, 'bottom', [10, 21]], [180, 'bottom', [11, 20]], [-90, 'bottom', [10, 19]],
  ];
  for (const [rotation, side, want] of cases) {
    const end = pure.rotationEnd(10, 20, rotation, side, 1);
    near(end[0], want[0], `${side} ${rotation} x`);
    near(end[1], want[1], `${side} ${rotation} y`);
    // Seen from its side (the bottom mirrored), the mark points at the rotation's angle on screen.
    const v = { side, s: 100, tx: 0, ty: 0 };
    const [a, b] = [pure.toScreen(v, 10, 20), pure.toScreen(v, end[0], end[1])];
    near((Math.atan2(-(b[1] - a[1]), b[0] - a[0]) * 180 / Math.PI - rotation + 720) % 360, 0, `${side} ${rotation} on screen`);
  }
});

test('designators go above the target, or right of it turned, clear of its ring', () => {
  const cases = [   // screen point, ring radius, turned, anchor
    [[100, 200], 8, false, { x: 100, y: 190, turned: false }],
    [[100, 200], 8, true, { x: 110, y: 200, turned: true }],
    [[0, 0], 0.5, false, { x: 0, y: -2.5, turned: false }],
  ];
  for (const [[x, y], r, turned, want] of cases) assert.deepEqual(pure.refAnchor(x, y, r, turned), want);
});
