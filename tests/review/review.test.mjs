// Browser checks of a review page that the program wrote, against the board data it holds.
//
//   node review.test.mjs PAGE.html [--max-load-ms N]
//
// Every expectation is computed here from the board data in the page file (read as text, not
// through the browser); the page is only looked at through its document, the mouse and the
// keyboard. Prints one line per check, then "N passed, N failed"; exits with 1 when any failed.
import assert from 'node:assert/strict';
import { readFile, writeFile, unlink } from 'node:fs/promises';
import { pathToFileURL } from 'node:url';
import { resolve } from 'node:path';
import { openBrowser } from './browser.mjs';

const args = process.argv.slice(2);
const [pagePath] = args;
const maxLoadAt = args.indexOf('--max-load-ms');
const maxLoadMs = maxLoadAt >= 0 ? Number(args[maxLoadAt + 1]) : null;
if (!pagePath) {
  console.error('usage: node review.test.mjs PAGE.html [--max-load-ms N]');
  process.exit(2);
}

const pageText = await readFile(pagePath, 'utf8');
const dataMatch = pageText.match(/<script id="board-data" type="application\/json">([^<]*)<\/script>/);
assert.ok(dataMatch, 'the page holds its board data in one script element');
const data = JSON.parse(dataMatch[1]);
const parts = data.parts;
const allIdx = parts.map((_, i) => i);
const placedIdx = allIdx.filter((i) => !parts[i].excluded);
const placedOn = (side) => placedIdx.filter((i) => parts[i].side === side);
const excludedOn = (side) => parts.map((_, i) => i).filter((i) => parts[i].excluded && parts[i].side === side);
const refsOf = (idx) => idx.map((i) => parts[i].ref).sort();
const pageUrl = pathToFileURL(resolve(pagePath)).href;

// ------------------------------------------------------------------ tiny harness
const results = [];
async function check(name, fn) {
  try {
    await fn();
    results.push([name, null]);
    console.log('ok     ' + name);
  } catch (err) {
    results.push([name, err]);
    console.log('FAILED ' + name + '\n       ' + String(err && err.message).split('\n').join('\n       '));
  }
}

// ------------------------------------------------------------------ page helpers
const frames = (page) => page.evaluate(() => new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r))));
const domRefs = (page) => page.$$eval('[data-ref]', (els) => els.map((e) => e.getAttribute('data-ref')).sort());
const rowCount = (page) => page.$eval('#tbody', (t) => Number(t.getAttribute('data-rows')));
// Rows that are rendered, in table order, with their cells and whether they are in sight.
const renderedRows = (page) => page.evaluate(() => {
  const box = document.getElementById('tscroll').getBoundingClientRect();
  const head = document.getElementById('thead').getBoundingClientRect();
  return [...document.querySelectorAll('#tbody .row')]
    .map((r) => {
      const b = r.getBoundingClientRect();
      return {
        i: Number(r.getAttribute('data-i')),
        // Cells by column: "c-ref" holds the designator, and so on.
        cells: Object.fromEntries([...r.children].map((c) => [c.className.match(/\bc-(\w+)/)[1], c.textContent])),
        excluded: r.classList.contains('excluded'),
        selected: r.classList.contains('selected') && r.getAttribute('aria-selected') === 'true',
        inSight: b.top >= head.bottom - 1 && b.bottom <= box.bottom + 1,
        top: b.top,
      };
    })
    .sort((a, b) => a.top - b.top);
});
const svgBox = (page) => page.$eval('#board', (s) => { const r = s.getBoundingClientRect(); return { x: r.left, y: r.top, w: r.width, h: r.height }; });
// Screen centre of a part's placement target (the rings are centred on the placement point);
// where the zoom is too far out for targets, the centre of the part's drawing.
const targetCentre = (page, i) => page.evaluate((i) => {
  const t = document.querySelector('#board [data-i="' + i + '"] .tgt') || document.querySelector('#board [data-i="' + i + '"]');
  if (!t) return null;
  const r = t.getBoundingClientRect();
  return { x: r.left + r.width / 2, y: r.top + r.height / 2, w: r.width };
}, i);
const selectedParts = (page) => page.$$eval('#board .selected[data-i]', (els) => els.map((e) => Number(e.getAttribute('data-i'))));
async function search(page, text) {
  await page.fill('#search', text);
  await frames(page);
}
async function resetView(page) {
  await page.keyboard.press('Escape');
  await search(page, '');
  await page.$eval('#tscroll', (s) => { s.scrollTop = 0; });
  await page.click('#side-top');
  await page.click('#fit');
  await frames(page);
}
function near(a, b, tol, what) {
  assert.ok(Math.abs(a - b) <= tol, `${what}: ${a.toFixed(2)} is not within ${tol} of ${b.toFixed(2)}`);
}
// A part whose designator occurs once, so a search for it finds its row first.
function uniqueRefPart(side, from = 0.5) {
  const list = placedOn(side);
  const ordered = list.slice(Math.floor(list.length * from)).concat(list);
  const found = ordered.find((i) => {
    const needle = parts[i].ref.toLowerCase();
    return parts.filter((p) => p.ref === parts[i].ref).length === 1 &&
      allIdx.find((k) => [parts[k].ref, parts[k].footprint, parts[k].value].some((f) => f.toLowerCase().includes(needle))) === i;
  });
  assert.ok(found !== undefined, 'the data has no ' + side + ' part with a designator of its own');
  return found;
}
// Drawing coordinates are whole numbers of 1/scale inch; placement points are inches.
const inches = (v) => v / data.scale;
// The pads of a part with their layer: { layer, circle | polygon, hole }.
const padsOf = (p) => Object.entries(p.pads).flatMap(([layer, list]) => list.map((pad) => ({ layer, ...pad })));
// The box of a pad as the data give it, in inches: a circle or a flat list of polygon points.
function padBox(pad) {
  if (pad.circle) { const [x, y, r] = pad.circle.map(inches); return [x - r, y - r, x + r, y + r]; }
  const xs = pad.polygon.filter((_, k) => k % 2 === 0).map(inches), ys = pad.polygon.filter((_, k) => k % 2 === 1).map(inches);
  return [Math.min(...xs), Math.min(...ys), Math.max(...xs), Math.max(...ys)];
}
// A box around everything a part draws, never smaller than the page's own: pads, footprint
// lines, glue spots and the target ring.
function roughBox(p) {
  const b = [p.x - 0.02, p.y - 0.02, p.x + 0.02, p.y + 0.02];
  const grow = (x, y, r) => { b[0] = Math.min(b[0], x - r); b[1] = Math.min(b[1], y - r); b[2] = Math.max(b[2], x + r); b[3] = Math.max(b[3], y + r); };
  for (const pad of padsOf(p)) { const pb = padBox(pad); grow(pb[0], pb[1], 0); grow(pb[2], pb[3], 0); }
  for (const ln of p.outline) for (let k = 0; k < ln.points.length; k += 2) grow(inches(ln.points[k]), inches(ln.points[k + 1]), inches(ln.width) / 2);
  for (const g of p.glue) grow(inches(g[0]), inches(g[1]), inches(g[2]) / 2);
  return b;
}
// A top part with a surface pad big enough to sample when the part is centred, whose designator a
// search finds first, and whose pad no other part's drawing reaches, so a click there is its own.
function partWithOpenPad() {
  const top = placedOn('top'), boxes = new Map(parts.map((p, i) => [i, roughBox(p)]));
  for (const i of top.slice(Math.floor(top.length / 3)).concat(top)) {
    const found = (parts[i].pads.top || []).filter((pad) => !pad.hole).map(padBox).find((b) => Math.min(b[2] - b[0], b[3] - b[1]) >= 0.02);
    if (!found) continue;
    const pad = { x: (found[0] + found[2]) / 2, y: (found[1] + found[3]) / 2 };
    const inside = (b) => pad.x >= b[0] && pad.x <= b[2] && pad.y >= b[1] && pad.y <= b[3];
    if (parts.some((p, j) => j !== i && p.side === 'top' && inside(boxes.get(j)))) continue;
    const needle = parts[i].ref.toLowerCase();
    if (parts.filter((p) => p.ref === parts[i].ref).length !== 1) continue;
    if (allIdx.find((k) => [parts[k].ref, parts[k].footprint, parts[k].value].some((f) => f.toLowerCase().includes(needle))) !== i) continue;
    return { i, pad };
  }
  return null;
}

// Designator order as an engineer expects it: letters, then the number as a number (C2 before C10).
function naturalCompare(a, b) {
  const split = (s) => s.match(/\d+|\D+/g) || [];
  const x = split(a), y = split(b);
  for (let k = 0; k < Math.min(x.length, y.length); k++) {
    const nx = /^\d/.test(x[k]), ny = /^\d/.test(y[k]);
    const c = nx && ny ? Number(x[k]) - Number(y[k]) : x[k].toLowerCase() < y[k].toLowerCase() ? -1 : x[k].toLowerCase() > y[k].toLowerCase() ? 1 : 0;
    if (c) return c;
  }
  return x.length - y.length;
}

// ------------------------------------------------------------------ run
const browser = await openBrowser({ width: 1440, height: 900 });
const page = browser.context.pages()[0] || await browser.context.newPage();
const consoleErrors = [], failedRequests = [], foreignRequests = [];
page.on('console', (m) => { if (m.type() === 'error') consoleErrors.push(m.text()); });
page.on('pageerror', (e) => consoleErrors.push('uncaught: ' + e.message));
page.on('requestfailed', (r) => failedRequests.push(r.url() + ' ' + (r.failure() || {}).errorText));
// The page itself, and the copy of it with other data that the ticks check opens, are no foreign requests.
const changedUrl = pageUrl.replace(/\.html$/, '') + '.changed.html';
page.on('request', (r) => { if (![pageUrl, changedUrl].includes(r.url()) && !r.url().startsWith('data:')) foreignRequests.push(r.url()); });

try {
  const t0 = Date.now();
  await page.goto(pageUrl, { waitUntil: 'load' });
  await page.waitForFunction(() => window.reviewPage && window.reviewPage.timings.ready !== null, null, { timeout: 60000 });
  const loadMs = await page.evaluate(() => window.reviewPage.timings.firstPaint);
  console.log(`# ${parts.length} parts; first paint ${loadMs.toFixed(0)} ms after navigation start (${Date.now() - t0} ms wall)`);

  await check('opens with no console error, no failed request and no request beyond the page', async () => {
    await frames(page);
    assert.deepEqual(consoleErrors, []);
    assert.deepEqual(failedRequests, []);
    assert.deepEqual(foreignRequests, []);
    if (maxLoadMs !== null) assert.ok(loadMs < maxLoadMs, `first paint after ${loadMs.toFixed(0)} ms, limit ${maxLoadMs} ms`);
  });

  await check('header shows the project, the units and the part and finding counts', async () => {
    const text = async (id) => (await page.textContent('#' + id)).replace(/,/g, '');
    assert.equal(await page.textContent('#project'), data.project);
    assert.equal(await text('st-units'), data.units.word);
    assert.match(await page.textContent('#units-note'), new RegExp('^X and Y in ' + { mm: 'millimetres', in: 'inches', mil: 'mils' }[data.units.word]));
    for (const key of ['x', 'y']) assert.equal(await page.textContent(`#thead [data-key="${key}"]`), key.toUpperCase() + ' (' + data.units.word + ')');
    assert.equal(await text('st-top'), String(placedOn('top').length));
    assert.equal(await text('st-bottom'), String(placedOn('bottom').length));
    assert.equal(await text('st-excluded'), String(parts.length - placedIdx.length));
    assert.equal(await text('st-errors'), String(data.findings.filter((f) => f.severity === 'error').length));
    assert.equal(await text('st-notes'), String(data.findings.filter((f) => f.severity === 'note').length));
  });

  await check('top side: one data-ref drawing per placed top part, excluded parts without data-ref', async () => {
    assert.deepEqual(await domRefs(page), refsOf(placedOn('top')));
    const excluded = await page.$$eval('[data-excluded-ref]', (els) => els.map((e) => e.getAttribute('data-excluded-ref')).sort());
    assert.deepEqual(excluded, refsOf(excludedOn('top')));
  });

  // Only where the data has such a text (the tests' generated project has one).
  const markupPart = placedIdx.find((i) => /[<>&"]/.test(parts[i].info));
  if (markupPart === undefined) console.log('skip   text with markup characters: none in this data');
  else await check('text from the data is shown as text, markup characters included', async () => {
    const k = markupPart;
    await search(page, parts[k].ref);
    const row = (await renderedRows(page)).find((r) => r.i === k);
    assert.ok(row, 'row of ' + parts[k].ref + ' not rendered');
    assert.equal(row.cells.info, parts[k].info);
    assert.equal(await page.$$eval('#tbody b, #tbody script', (e) => e.length), 0);
    await search(page, '');
  });

  // Only where the data has texts beyond ASCII (the tests' generated project has Cyrillic ones).
  const wide = placedIdx.find((i) => /[^\x00-\x7f]/.test(parts[i].ref + parts[i].value));
  if (wide === undefined) console.log('skip   texts beyond ASCII: none in this data');
  else await check('texts beyond ASCII are shown as the data give them, found by search in any case', async () => {
    assert.ok(!JSON.stringify(data).includes('\ufffd'), 'a replacement character in the data');
    if (data.encoding !== 'utf-8') assert.match(await page.textContent('#units-note'), new RegExp('texts read as ' + data.encoding));
    const k = wide;
    await search(page, parts[k].value.toUpperCase());
    const row = (await renderedRows(page)).find((r) => r.i === k);
    assert.ok(row, 'row of ' + parts[k].ref + ' not found by its value in capitals');
    assert.equal(row.cells.ref, parts[k].ref);
    assert.equal(row.cells.value, parts[k].value);
    await search(page, '');
  });

  await check('table lists the placed parts in report order and renders only the rows in sight', async () => {
    assert.equal(await rowCount(page), parts.length);
    const rows = await renderedRows(page);
    const shown = rows.filter((r) => r.inSight);
    assert.ok(shown.length > 3, 'fewer than four rows in sight');
    assert.deepEqual(shown.map((r) => r.i), allIdx.slice(0, shown.length));
    for (const r of shown) {
      const p = parts[r.i];
      assert.deepEqual(r.cells, { tick: '', ref: p.ref, footprint: p.footprint, value: p.value, side: p.side === 'top' ? 'Top' : 'Bottom',
        x: p.x_text, y: p.y_text, rotation: String(p.rotation), class: p.class,
        findings: p.findings.map((k) => data.findings[k].kind).join(', '), info: p.info });
      assert.equal(r.excluded, p.excluded, p.ref + ' marked excluded or not');
    }
    const excludedCount = parts.length - placedIdx.length;
    assert.equal(await page.textContent('#row-count'), `${placedIdx.length.toLocaleString('en-US')} placed part${placedIdx.length === 1 ? '' : 's'}` +
      (excludedCount ? `, ${excludedCount.toLocaleString('en-US')} excluded` : ''));
    assert.ok(rows.length <= shown.length + 30, `${rows.length} rows rendered for ${shown.length} in sight`);
    // The last row is reachable by scrolling, and it is the last placed part.
    await page.$eval('#tscroll', (s) => { s.scrollTop = s.scrollHeight; });
    await frames(page);
    const end = (await renderedRows(page)).filter((r) => r.inSight);
    assert.equal(end[end.length - 1].i, parts.length - 1);
    await page.$eval('#tscroll', (s) => { s.scrollTop = 0; });
    await frames(page);
  });

  await check('column headings sort: numbers numerically, designators naturally, third click back to report order', async () => {
    const xs = allIdx.map((i) => parseFloat(parts[i].x_text));
    const heading = (key) => page.click(`#thead button[data-key="${key}"]`);
    const shownX = async () => (await renderedRows(page)).filter((r) => r.inSight).map((r) => parseFloat(r.cells.x));
    await heading('x');
    await frames(page);
    let got = await shownX();
    assert.deepEqual(got, xs.slice().sort((a, b) => a - b).slice(0, got.length));
    await heading('x');
    await frames(page);
    got = await shownX();
    assert.deepEqual(got, xs.slice().sort((a, b) => b - a).slice(0, got.length));
    await heading('x');
    await frames(page);
    assert.deepEqual((await renderedRows(page)).filter((r) => r.inSight).map((r) => r.i), allIdx.slice(0, got.length));
    await heading('ref');
    await frames(page);
    const refs = (await renderedRows(page)).filter((r) => r.inSight).map((r) => r.cells.ref);
    const want = allIdx.map((i) => parts[i].ref).sort(naturalCompare).slice(0, refs.length);
    assert.deepEqual(refs, want);
    await heading('ref');
    await heading('ref');
    await frames(page);
  });

  await check('search filters by designator, footprint or value, ignoring case, and nothing else', async () => {
    const expectFor = (q) => allIdx.filter((i) => [parts[i].ref, parts[i].footprint, parts[i].value]
      .some((f) => f.toLowerCase().includes(q.toLowerCase())));
    const fp = parts[placedIdx[Math.floor(placedIdx.length / 2)]].footprint;
    const value = placedIdx.map((i) => parts[i].value).find((v) => /[a-z]/i.test(v) && v.length >= 3) || 'x';
    const info = placedIdx.map((i) => parts[i].info).find((t) => t.length > 6);
    const queries = [fp.slice(0, 4).toLowerCase(), value.toUpperCase(), parts[uniqueRefPart('top')].ref,
      'no-such-part-anywhere'];
    const excluded = parts.find((p) => p.excluded);
    if (excluded) queries.push(excluded.ref);   // excluded parts are listed and found too
    if (info) queries.push(info.slice(0, 6));   // information text is not searched
    for (const q of queries) {
      await search(page, q);
      const want = expectFor(q);
      assert.equal(await rowCount(page), want.length, `rows for "${q}"`);
      const shown = (await renderedRows(page)).filter((r) => r.inSight).map((r) => r.i);
      assert.deepEqual(shown, want.slice(0, shown.length), `rows shown for "${q}"`);
      if (want.length) assert.ok(shown.length > 0, `nothing shown for "${q}"`);
      else assert.match(await page.textContent('#tbody'), /Nothing matches/);
    }
    // Esc in the box, and its own clear button (the "search" event), clear the search and the filter.
    for (const clear of [() => page.press('#search', 'Escape'),
      () => page.$eval('#search', (e) => { e.value = ''; e.dispatchEvent(new Event('search')); })]) {
      await search(page, queries[2]);
      assert.ok(await rowCount(page) < parts.length || parts.length < 2, 'the search did not filter');
      await clear();
      await frames(page);
      assert.equal(await page.inputValue('#search'), '');
      assert.equal(await rowCount(page), parts.length, 'the filter outlived the search');
    }
  });

  await check('a click on a table row selects the part and centres the view on it, on either side', async () => {
    for (const side of ['top', 'bottom']) {
      if (!placedOn(side).length) continue;
      await resetView(page);
      const k = uniqueRefPart(side, 0.7);
      await search(page, parts[k].ref);
      await page.click(`#tbody .row[data-i="${k}"]`);
      await frames(page);
      assert.equal(await page.getAttribute(`#side-${side}`, 'aria-pressed'), 'true', 'side not switched');
      assert.deepEqual(await selectedParts(page), [k]);
      assert.equal(await page.getAttribute(`[data-i="${k}"]`, 'data-ref'), parts[k].ref);
      const row = (await renderedRows(page)).find((r) => r.i === k);
      assert.ok(row && row.selected, 'row not marked selected');
      const c = await targetCentre(page, k), box = await svgBox(page);
      near(c.x, box.x + box.w / 2, 2, parts[k].ref + ' x from the view centre');
      near(c.y, box.y + box.h / 2, 2, parts[k].ref + ' y from the view centre');
      assert.match(await page.textContent('#details-body'), new RegExp(parts[k].ref.replace(/[^\w]/g, '\\$&')));
      // The report's figures and pin count, not a count of the pads drawn.
      const details = await page.$$eval('#details-body dt', (dts) => Object.fromEntries(dts.map((dt) => [dt.textContent, dt.nextElementSibling.textContent])));
      assert.equal(details['X, Y (' + data.units.word + ')'], parts[k].x_text + ', ' + parts[k].y_text);
      assert.equal(details.Pins, String(parts[k].pins));
    }
    await page.keyboard.press('Escape');
    assert.deepEqual(await selectedParts(page), []);
    assert.equal((await renderedRows(page)).filter((r) => r.selected).length, 0);
  });

  await check('a click on a part selects its row and scrolls it into sight; a click beside the parts clears it', async () => {
    await resetView(page);
    // A part late in the report, whose target is not covered by another part's drawing.
    const candidates = placedOn('top').slice().reverse();
    let k = -1, at = null;
    for (const i of candidates.slice(0, 200)) {
      const c = await targetCentre(page, i);
      const hit = await page.evaluate(([x, y]) => {
        const e = document.elementFromPoint(x, y);
        const g = e && e.closest('[data-i]');
        return g ? Number(g.getAttribute('data-i')) : -1;
      }, [c.x, c.y]);
      if (hit === i) { k = i; at = c; break; }
    }
    assert.ok(k >= 0, 'no top part could be clicked on its own');
    await page.mouse.click(at.x, at.y);
    await frames(page);
    assert.deepEqual(await selectedParts(page), [k]);
    const row = (await renderedRows(page)).find((r) => r.i === k);
    assert.ok(row, 'row of ' + parts[k].ref + ' not rendered');
    assert.ok(row.selected, 'row not marked selected');
    assert.ok(row.inSight, 'row not scrolled into sight');
    // A click on empty canvas, away from the board, clears the selection.
    const box = await svgBox(page);
    await page.mouse.click(box.x + box.w - 3, box.y + 3);
    await frames(page);
    assert.deepEqual(await selectedParts(page), []);
  });

  await check('bottom side shows only the bottom parts, mirrored left-right; top comes back', async () => {
    await resetView(page);
    const order = async (list) => {
      const a = list[0], b = list.find((i) => Math.abs(parts[i].x - parts[a].x) > 0.2);
      if (b === undefined) return null;
      const ca = await targetCentre(page, a), cb = await targetCentre(page, b);
      return Math.sign(ca.x - cb.x) === Math.sign(parts[a].x - parts[b].x);
    };
    const top = placedOn('top'), bottom = placedOn('bottom');
    if (top.length > 1) assert.equal(await order(top), true, 'top side drawn mirrored');
    await page.click('#side-bottom');
    await frames(page);
    assert.deepEqual(await domRefs(page), refsOf(bottom));
    const excluded = await page.$$eval('[data-excluded-ref]', (els) => els.map((e) => e.getAttribute('data-excluded-ref')).sort());
    assert.deepEqual(excluded, refsOf(excludedOn('bottom')));
    if (bottom.length > 1) assert.equal(await order(bottom), false, 'bottom side not mirrored');
    await page.click('#side-top');
    await frames(page);
    assert.deepEqual(await domRefs(page), refsOf(top));
  });

  await check('wheel zooms around the pointer, dragging pans, and Fit brings the whole board back', async () => {
    await resetView(page);
    // The part nearest the middle of the view, well clear of the legend and the other overlays.
    const k = await page.evaluate(() => {
      const v = document.getElementById('view-wrap').getBoundingClientRect();
      let best = -1, bestD = Infinity;
      for (const g of document.querySelectorAll('#board [data-ref]')) {
        const r = g.getBoundingClientRect();
        const d = Math.hypot(r.left + r.width / 2 - (v.left + v.width / 2), r.top + r.height / 2 - (v.top + v.height / 2));
        if (d < bestD) { bestD = d; best = Number(g.getAttribute('data-i')); }
      }
      return best;
    });
    if (k < 0) return;
    const before = await targetCentre(page, k);
    // Beside the target, so the check sees that the point under the pointer, not the target, stays put.
    const px = Math.round(before.x) + 7, py = Math.round(before.y) - 5;
    await page.mouse.move(px, py);
    for (let n = 0; n < 4; n++) { await page.mouse.wheel(0, -200); await frames(page); }
    const after = await targetCentre(page, k);
    const f = after.w / before.w;
    assert.ok(f > 2, `target grew from ${before.w} to ${after.w} px only`);
    near(after.x, px + (before.x - px) * f, 1, 'target x after zooming at the pointer');
    near(after.y, py + (before.y - py) * f, 1, 'target y after zooming at the pointer');
    // Drag a part by (60, 40): everything moves by that much, and the drag selects nothing.
    const sx = Math.round(after.x), sy = Math.round(after.y);
    await page.mouse.move(sx, sy);
    await page.mouse.down();
    await page.mouse.move(sx + 30, sy + 20, { steps: 3 });
    await page.mouse.move(sx + 60, sy + 40, { steps: 3 });
    await page.mouse.up();
    await frames(page);
    const moved = await targetCentre(page, k);
    near(moved.x - after.x, 60, 1, 'pan x');
    near(moved.y - after.y, 40, 1, 'pan y');
    assert.deepEqual(await selectedParts(page), []);
    // Fit shows the outline and every placed part, those off the board too, on either side.
    for (const side of ['top', 'bottom']) {
      await page.click('#side-' + side);
      await page.click('#fit');
      await frames(page);
      const box = await svgBox(page);
      const inView = (r) => r.left >= box.x - 1 && r.top >= box.y - 1 && r.right <= box.x + box.w + 1 && r.bottom <= box.y + box.h + 1;
      const rs = await page.$$eval('#board [data-ref]', (els) => els.map((e) => e.getBoundingClientRect().toJSON()));
      if (data.outlines.length) rs.push(await page.$eval('#edge', (e) => e.getBoundingClientRect().toJSON()));
      if (!rs.length) continue;
      const outside = rs.filter((r) => !inView(r));
      assert.deepEqual(outside, [], side + ': something outside the view after Fit');
      const w = Math.max(...rs.map((r) => r.right)) - Math.min(...rs.map((r) => r.left));
      const h = Math.max(...rs.map((r) => r.bottom)) - Math.min(...rs.map((r) => r.top));
      assert.ok(w >= box.w * 0.6 || h >= box.h * 0.6, side + ': the board and parts do not fill the view after Fit');
    }
    await page.click('#side-top');
  });

  await check('findings list: a count per kind, and a click on an entry or a kind selects all its parts', async () => {
    const kindOf = (kind) => data.findings.filter((f) => f.kind === kind);
    for (const kd of data.kinds) {
      const li = `#kinds li[data-kind="${kd.kind}"]`;
      assert.equal(await page.textContent(li + ' .t'), kd.title);
      assert.equal(Number(await page.textContent(li + ' .count')), kindOf(kd.kind).length, kd.title);
      if (!kindOf(kd.kind).length) continue;
      if (await page.getAttribute(li + ' .kind-open', 'aria-expanded') !== 'true') await page.click(li + ' .kind-open');
      assert.equal(await page.$$eval(li + ' .finding', (e) => e.length), kindOf(kd.kind).length, kd.title + ' items');
    }
    // The selected parts on the side shown: those of the group that lie on it.
    const onSide = async (list) => {
      const side = (await page.getAttribute('#side-top', 'aria-pressed')) === 'true' ? 'top' : 'bottom';
      return list.filter((i) => parts[i].side === side).sort((a, b) => a - b);
    };
    // An entry about two or more parts (a footprint's finding): all of them selected, rows marked,
    // each part's findings cell and panel naming it; a second click makes the next part current.
    const fk = data.findings.findIndex((f) => f.parts.filter((i) => !parts[i].excluded).length >= 2);
    if (fk >= 0) {
      await resetView(page);
      const f = data.findings[fk];
      await page.click(`.finding[data-f="${fk}"]`);
      await frames(page);
      assert.deepEqual((await selectedParts(page)).sort((a, b) => a - b), await onSide(f.parts));
      const rows = (await renderedRows(page)).filter((r) => f.parts.includes(r.i));
      assert.ok(rows.length > 0 && rows.every((r) => r.selected), 'rows of the finding not marked');
      for (const r of rows) assert.ok(r.cells.findings.split(', ').includes(f.kind), `findings cell of ${parts[r.i].ref}: ${r.cells.findings}`);
      assert.match(await page.textContent('#details-body'), new RegExp(f.parts.length + ' parts'));
      const current = [];
      for (let n = 0; n < 2; n++) {
        await page.click(`.finding[data-f="${fk}"]`);
        await frames(page);
        const c = await page.$$eval('#board .current[data-i]', (els) => els.map((e) => Number(e.getAttribute('data-i'))));
        assert.equal(c.length, 1, 'one current part');
        current.push(c[0]);
        assert.ok((await page.textContent('#details-body .part-findings')).includes(f.title), 'the panel does not list the finding');
      }
      assert.deepEqual(current, f.parts.filter((i) => parts[i].side === parts[current[0]].side).slice(0, 2), 'the clicks do not step through the parts');
    }
    // A kind: the parts of all its findings.
    const kd = data.kinds.find((k) => kindOf(k.kind).some((f) => f.parts.length));
    if (kd) {
      await resetView(page);
      await page.click(`#kinds li[data-kind="${kd.kind}"] .kind-select`);
      await frames(page);
      const all = [...new Set(kindOf(kd.kind).flatMap((f) => f.parts))];
      assert.deepEqual((await selectedParts(page)).sort((a, b) => a - b), await onSide(all));
    }
    // A finding about no part changes nothing.
    const loose = data.findings.findIndex((f) => !f.parts.length);
    if (loose >= 0) {
      const before = await selectedParts(page);
      await page.click(`.finding[data-f="${loose}"]`);
      await frames(page);
      assert.deepEqual(await selectedParts(page), before);
    }
    await page.keyboard.press('Escape');
    assert.deepEqual(await selectedParts(page), []);
  });

  await check('findings frames: errors and notes outlined in their colours, off with their kind or the layer switch', async () => {
    const frameOf = (i) => {
      const strength = Math.max(0, ...parts[i].findings.map((k) => (data.findings[k].severity === 'error' ? 2 : 1)));
      return strength === 2 ? 'error' : strength === 1 ? 'note' : '';
    };
    const boxes = parts.map(roughBox);
    // A placed top part whose frame's top edge no other part's drawing comes near.
    const sample = (i) => ({ x: (boxes[i][0] + boxes[i][2]) / 2, y: boxes[i][3] + 0.015 });
    const clear = (i) => {
      const at = sample(i);
      return !parts.some((p, j) => j !== i && p.side === parts[i].side && at.x > boxes[j][0] - 0.08 && at.x < boxes[j][2] + 0.08 &&
        at.y > boxes[j][1] - 0.08 && at.y < boxes[j][3] + 0.08);
    };
    let tried = 0;
    for (const severity of ['error', 'note']) {
      const k = placedOn('top').find((i) => frameOf(i) === severity && clear(i) && parts.filter((p) => p.ref === parts[i].ref).length === 1);
      if (k === undefined) continue;
      tried++;
      await resetView(page);
      await search(page, parts[k].ref);
      await page.click(`#tbody .row[data-i="${k}"]`);
      await frames(page);
      const c = await targetCentre(page, k), s = c.w / 0.04, at = sample(k);
      const pixel = () => page.evaluate(([x, y]) => {
        const canvas = document.querySelector('#view-wrap canvas'), r = canvas.getBoundingClientRect(), f = canvas.width / r.width;
        const d = canvas.getContext('2d').getImageData(Math.floor((x - r.left) * f) - 1, Math.floor((y - r.top) * f) - 1, 3, 3).data;
        const px = [];
        for (let n = 0; n < d.length; n += 4) px.push('#' + [d[n], d[n + 1], d[n + 2]].map((v) => v.toString(16).padStart(2, '0')).join(''));
        return px;
      }, [c.x + (at.x - parts[k].x) * s, c.y - (at.y - parts[k].y) * s]);
      const colour = await page.evaluate((v) => getComputedStyle(document.documentElement).getPropertyValue(v).trim(), '--finding-' + severity);
      // The frame is 2 px wide; with the note's dashes one of the 3 x 3 pixels around the point may fall in a gap.
      const wanted = (px) => px.filter((v) => v === colour).length;
      assert.ok(wanted(await pixel()) > 0, `${severity} frame of ${parts[k].ref} not drawn in ${colour}: ${await pixel()}`);
      const strongest = parts[k].findings.map((f) => data.findings[f]).filter((f) => f.severity === severity).map((f) => f.kind);
      for (const kind of new Set(strongest)) await page.setChecked(`#kinds li[data-kind="${kind}"] .kind-show`, false);
      await frames(page);
      if (severity === 'error' && parts[k].findings.every((f) => data.findings[f].severity === 'error')) {
        assert.equal(wanted(await pixel()), 0, 'frame still drawn with its kinds switched off');
      }
      for (const kind of new Set(strongest)) await page.setChecked(`#kinds li[data-kind="${kind}"] .kind-show`, true);
      await page.setChecked('#layers input[data-layer="fd"]', false);
      await frames(page);
      assert.equal(wanted(await pixel()), 0, 'frame still drawn with the findings switch off');
      await page.setChecked('#layers input[data-layer="fd"]', true);
      await frames(page);
      assert.ok(wanted(await pixel()) > 0, 'frame not back');
    }
    if (!tried) console.log('       (no framed top part stands clear in this data)');
    await page.keyboard.press('Escape');
    await search(page, '');
  });

  await check('the canvas draws the copper of the side shown, the switches hide it, and a click on a pad picks its part', async () => {
    await resetView(page);
    const found = partWithOpenPad();
    if (!found) { console.log('       (no top part with a pad of its own in this data)'); return; }
    const { i: k, pad } = found;
    await search(page, parts[k].ref);
    await page.click(`#tbody .row[data-i="${k}"]`);
    await frames(page);
    // The part is centred on its placement point; the target ring (0.02 in) gives the scale.
    const c = await targetCentre(page, k), s = c.w / 0.04;
    const at = { x: c.x + (pad.x - parts[k].x) * s, y: c.y - (pad.y - parts[k].y) * s };
    const pixel = () => page.evaluate(([x, y]) => {
      const canvas = document.querySelector('#view-wrap canvas'), r = canvas.getBoundingClientRect();
      const f = canvas.width / r.width;
      return [...canvas.getContext('2d').getImageData(Math.floor((x - r.left) * f), Math.floor((y - r.top) * f), 1, 1).data];
    }, [at.x, at.y]);
    const switches = async (on) => {
      for (const layer of ['edge', 'cu', 'other', 'ln', 'tgt', 'glue', 'p1', 'ref']) {
        await page.setChecked(`#layers input[data-layer="${layer}"]`, on(layer));
      }
      await frames(page);
    };
    // Copper alone: nothing else may cover the pad.
    await switches((layer) => layer === 'cu');
    const copper = await page.evaluate(() => getComputedStyle(document.documentElement).getPropertyValue('--cu-top').trim());
    const hex = (rgb) => '#' + rgb.slice(0, 3).map((v) => v.toString(16).padStart(2, '0')).join('');
    assert.equal(hex(await pixel()), copper, 'pad of ' + parts[k].ref + ' not drawn in the top copper colour');
    await switches(() => false);
    assert.notEqual(hex(await pixel()), copper, 'copper still drawn with its switch off');
    await switches(() => true);
    // A click on the pad, away from the target, selects the part; a click on the empty canvas clears it.
    await page.keyboard.press('Escape');
    assert.deepEqual(await selectedParts(page), []);
    await page.mouse.click(at.x, at.y);
    await frames(page);
    assert.deepEqual(await selectedParts(page), [k]);
    await page.keyboard.press('Escape');
    await search(page, '');
  });

  await check('keyboard: "/" focuses the search box, Esc clears the selection', async () => {
    await resetView(page);
    const k = placedIdx[0];
    await page.click(`#tbody .row[data-i="${k}"]`);
    await frames(page);
    assert.deepEqual(await selectedParts(page), [k]);
    await page.click('#details-body');   // focus away from any input
    await page.keyboard.press('/');
    assert.equal(await page.evaluate(() => document.activeElement && document.activeElement.id), 'search');
    const q = parts[k].ref;
    await page.keyboard.type(q);
    await frames(page);
    assert.equal(await page.inputValue('#search'), q, 'the "/" went into the search box');
    await page.keyboard.press('Escape');
    await frames(page);
    assert.deepEqual(await selectedParts(page), []);
    assert.notEqual(await page.evaluate(() => document.activeElement && document.activeElement.id), 'search');
  });

  await check('the selected part: designator above or beside its target, a rotation mark at its rotation seen from its side', async () => {
    // One top and one bottom part, and a part whose designator is turned if there is one.
    const picks = ['top', 'bottom'].map((side) => placedOn(side).find((i) => parts.filter((p) => p.ref === parts[i].ref).length === 1))
      .filter((i) => i !== undefined);
    for (const k of picks) {
      await resetView(page);
      await search(page, parts[k].ref);
      await page.click(`#tbody .row[data-i="${k}"]`);
      await frames(page);
      const got = await page.evaluate(() => {
        const box = (e) => e && e.getBoundingClientRect().toJSON();
        const rot = document.querySelector('#sel-layer path.rot:not(.case)');
        let angle = null;
        if (rot) {
          const m = rot.getScreenCTM(), len = rot.getTotalLength();
          const [a, b] = [0, len].map((t) => new DOMPoint(rot.getPointAtLength(t).x, rot.getPointAtLength(t).y).matrixTransform(m));
          angle = Math.atan2(-(b.y - a.y), b.x - a.x) * 180 / Math.PI;
        }
        return { text: box(document.querySelector('#sel-layer text.ref')), target: box(document.querySelector('#sel-layer path.tgt:not(.case)')), angle };
      });
      assert.ok(got.target && got.text, parts[k].ref + ': no target or designator drawn at this zoom');
      const apart = got.text.bottom <= got.target.top + 0.5 || got.text.left >= got.target.right - 0.5;
      assert.ok(apart, `${parts[k].ref}: designator ${JSON.stringify(got.text)} over the target ${JSON.stringify(got.target)}`);
      assert.ok(got.angle !== null, 'no rotation mark');
      near(((got.angle - parts[k].rotation) % 360 + 540) % 360 - 180, 0, 1, `${parts[k].ref} (${parts[k].side}) rotation mark`);
    }
    await page.keyboard.press('Escape');
    await search(page, '');
  });

  await check("the report's origin and axes: at the origin, X to the right on top and to the left seen from below", async () => {
    for (const side of ['top', 'bottom']) {
      await page.click('#side-' + side);
      await page.click('#fit');
      await frames(page);
      const v = await page.evaluate(() => window.reviewPage.view());
      const svg = await svgBox(page);
      const at = { x: svg.x + (side === 'top' ? 1 : -1) * v.scale * data.origin[0] + v.tx, y: svg.y - v.scale * data.origin[1] + v.ty };
      const dot = await page.$eval('#origin .o-dot', (e) => e.getBoundingClientRect().toJSON());
      near(dot.x + dot.width / 2, at.x, 1.5, side + ' origin x');
      near(dot.y + dot.height / 2, at.y, 1.5, side + ' origin y');
      const x = await page.$eval('#origin .o-axis.o-x', (e) => e.getBoundingClientRect().toJSON());
      const y = await page.$eval('#origin .o-axis.o-y', (e) => e.getBoundingClientRect().toJSON());
      if (side === 'top') assert.ok(x.left >= at.x - 2 && x.right > at.x + 20, 'X axis not to the right on top');
      else assert.ok(x.right <= at.x + 2 && x.left < at.x - 20, 'X axis not to the left seen from below');
      assert.ok(y.bottom <= at.y + 2 && y.top < at.y - 20, 'Y axis not up');
    }
    await page.setChecked('#layers input[data-layer="org"]', false);
    assert.equal(await page.$$eval('#origin *', (e) => e.length), 0, 'axes drawn with their switch off');
    await page.setChecked('#layers input[data-layer="org"]', true);
    await page.click('#side-top');
  });

  await check('keyboard: a focused row steps with the arrow keys; the focused board pans with them; + and - zoom', async () => {
    await resetView(page);
    const first = allIdx[0], second = allIdx[1];
    if (second === undefined) return;
    await page.click(`#tbody .row[data-i="${first}"]`);
    await page.keyboard.press('ArrowDown');
    await frames(page);
    const focused = () => page.evaluate(() => { const r = document.activeElement.closest('.row'); return r ? Number(r.getAttribute('data-i')) : -1; });
    assert.equal(await focused(), second, 'the focus did not move to the next row');
    assert.deepEqual(await selectedParts(page), parts[second].side === (await page.evaluate(() => window.reviewPage.view().side)) ? [second] : []);
    assert.equal(await page.evaluate(() => window.reviewPage.view().selected), second);
    await page.keyboard.press('ArrowUp');
    await frames(page);
    assert.equal(await focused(), first, 'the focus did not move back');
    await page.keyboard.press('Escape');
    await page.focus('#board');
    const before = await page.evaluate(() => window.reviewPage.view());
    await page.keyboard.press('ArrowLeft');
    const panned = await page.evaluate(() => window.reviewPage.view());
    const w = (await svgBox(page)).w;
    near(panned.tx - before.tx, 0.15 * w, 0.5, 'ArrowLeft pans the board right by 15 %');
    await page.keyboard.press('+');
    near((await page.evaluate(() => window.reviewPage.view().scale)) / panned.scale, 1.5, 1e-6, '+ zooms in');
    await page.keyboard.press('-');
    near((await page.evaluate(() => window.reviewPage.view().scale)) / panned.scale, 1, 1e-6, '- zooms out again');
  });

  await check('the grouped view: one row per value and footprint of the placed parts, a click selects the group', async () => {
    await resetView(page);
    await page.click('#table-mode [data-mode="groups"]');
    await frames(page);
    const want = new Map();
    for (const i of placedIdx) {
      const key = parts[i].value + '\n' + parts[i].footprint;
      if (!want.has(key)) want.set(key, []);
      want.get(key).push(i);
    }
    assert.equal(await rowCount(page), want.size);
    const rows = await page.$$eval('#tbody .row', (els) => els.map((r) => ({ g: Number(r.getAttribute('data-g')),
      cells: Object.fromEntries([...r.children].map((c) => [c.className.match(/\bc-(\w+)/)[1], c.textContent])) })));
    for (const r of rows) {
      const members = want.get(r.cells.value + '\n' + r.cells.footprint);
      assert.ok(members, 'a group that is no value and footprint of the placed parts');
      assert.equal(Number(r.cells.qty), members.length);
      assert.deepEqual(r.cells.refs.split(', ').sort(), members.map((i) => parts[i].ref).sort());
    }
    const big = rows.reduce((a, b) => (Number(b.cells.qty) > Number(a.cells.qty) ? b : a));
    await page.click(`#tbody .row[data-g="${big.g}"] .c-value`);
    await frames(page);
    const members = want.get(big.cells.value + '\n' + big.cells.footprint);
    const side = (await page.evaluate(() => window.reviewPage.view().side));
    assert.deepEqual((await selectedParts(page)).sort((a, b) => a - b), members.filter((i) => parts[i].side === side).sort((a, b) => a - b));
    await page.keyboard.press('Escape');
    await page.click('#table-mode [data-mode="parts"]');
    await frames(page);
    assert.equal(await rowCount(page), parts.length);
  });

  await check('checked ticks: per part and per group, kept over a reload, not for another version of the data', async () => {
    await resetView(page);
    const k = placedIdx[0];
    const ticked = () => page.$$eval('#tbody .row.ticked', (els) => els.map((r) => Number(r.getAttribute('data-i'))));
    await page.check(`#tbody .row[data-i="${k}"] .tick`);
    assert.deepEqual(await ticked(), [k]);
    await page.reload();
    await page.waitForFunction(() => window.reviewPage && window.reviewPage.timings.ready !== null);
    assert.deepEqual(await ticked(), [k], 'the tick did not outlive a reload');
    // The group of the part: partly ticked; a tick on the group ticks all its parts.
    await page.click('#table-mode [data-mode="groups"]');
    await search(page, parts[k].ref);   // the group search finds designators too
    const members = placedIdx.filter((i) => parts[i].value === parts[k].value && parts[i].footprint === parts[k].footprint);
    const g = await page.$$eval('#tbody .row', (els, refs) => els.find((r) => r.querySelector('.c-refs').textContent.split(', ').includes(refs))
      .getAttribute('data-g'), parts[k].ref);
    const box = `#tbody .row[data-g="${g}"] .tick`;
    if (members.length > 1) assert.equal(await page.$eval(box, (e) => e.indeterminate), true, 'a group partly ticked not shown so');
    await page.check(box);
    await search(page, '');
    await page.click('#table-mode [data-mode="parts"]');
    await frames(page);
    const shown = (await renderedRows(page)).map((r) => r.i);
    assert.deepEqual((await ticked()).sort((a, b) => a - b), members.filter((i) => shown.includes(i)).sort((a, b) => a - b));
    // Another version of the board (one figure changed): no ticks.
    const other = resolve(pagePath).replace(/\.html$/, '') + '.changed.html';
    await writeFile(other, pageText.replace('"x_text":"' + parts[k].x_text + '"', '"x_text":"' + parts[k].x_text + '1"'));
    try {
      await page.goto(pathToFileURL(resolve(other)).href);
      await page.waitForFunction(() => window.reviewPage && window.reviewPage.timings.ready !== null);
      assert.deepEqual(await ticked(), [], 'ticks of another version of the data');
    } finally {
      await unlink(other);
      await page.goto(pageUrl);
      await page.waitForFunction(() => window.reviewPage && window.reviewPage.timings.ready !== null);
    }
    await page.click('#table-mode [data-mode="groups"]');
    await search(page, parts[k].ref);
    await page.uncheck(box);
    await search(page, '');
    await page.click('#table-mode [data-mode="parts"]');
    assert.deepEqual(await ticked(), []);
  });

  await check('print: the board of the side shown on the first page, fitted, then every part in the table', async () => {
    await resetView(page);
    await search(page, parts[placedIdx[0]].ref);   // the print holds every part all the same
    const pdf = await page.pdf({ landscape: true, printBackground: true });
    const pages = (pdf.toString('latin1').match(/\/Type\s*\/Page[^s]/g) || []).length;
    assert.ok(pages >= 2, `${pages} printed page(s): the table does not follow the board`);
    // The sheet the page prints, as the print style shows it.
    await page.emulateMedia({ media: 'print' });
    await page.evaluate(() => window.dispatchEvent(new Event('beforeprint')));
    const sheet = await page.evaluate(() => {
      const canvas = document.querySelector('#print-sheet .print-board canvas');
      const d = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
      let painted = 0;
      for (let n = 3; n < d.length; n += 400) if (d[n]) painted++;
      return { rows: document.querySelectorAll('#print-sheet tbody tr').length, painted,
        shown: getComputedStyle(document.getElementById('print-sheet')).display,
        app: getComputedStyle(document.querySelector('main')).display };
    });
    assert.equal(sheet.rows, parts.length);
    assert.ok(sheet.painted > 0, 'the printed board is blank');
    assert.equal(sheet.shown, 'block');
    assert.equal(sheet.app, 'none');
    await page.evaluate(() => window.dispatchEvent(new Event('afterprint')));
    await page.emulateMedia({ media: 'screen' });
    assert.equal(await page.$$eval('#print-sheet', (e) => e.length), 0);
    await search(page, '');
  });

  await check('contrast: text at least 4.5:1 (3:1 when large), marks at least 3:1 on the board, copper and a selection', async () => {
    const result = await page.evaluate(() => {
      const rgba = (c) => { const m = c.match(/[\d.]+/g).map(Number); return [m[0], m[1], m[2], m.length > 3 ? m[3] : 1]; };
      const over = (top, under) => [0, 1, 2].map((k) => top[k] * top[3] + under[k] * (1 - top[3])).concat(1);
      const lum = (c) => { const l = c.slice(0, 3).map((v) => { v /= 255; return v <= 0.03928 ? v / 12.92 : ((v + 0.055) / 1.055) ** 2.4; });
        return 0.2126 * l[0] + 0.7152 * l[1] + 0.0722 * l[2]; };
      const ratio = (a, b) => { const [x, y] = [lum(a), lum(b)].sort((p, q) => q - p); return (x + 0.05) / (y + 0.05); };
      const css = getComputedStyle(document.documentElement), v = (n) => css.getPropertyValue(n).trim();
      const probe = document.createElement('i');
      document.body.append(probe);
      const colour = (c) => { probe.style.color = c; return rgba(getComputedStyle(probe).color); };
      const canvas = colour(v('--canvas'));
      // Text: every element with text of its own that is shown, on its background laid over the page's.
      const low = [];
      for (const e of document.querySelectorAll('body *')) {
        if (!e.getClientRects().length || e.closest('svg, #print-sheet')) continue;
        if (![...e.childNodes].some((n) => n.nodeType === 3 && n.textContent.trim())) continue;
        const chain = [];
        for (let a = e; a; a = a.parentElement) chain.unshift(getComputedStyle(a).backgroundColor);
        let back = e.closest('#view-wrap') ? canvas : [255, 255, 255, 1];
        for (const b of chain) back = over(rgba(b), back);
        const st = getComputedStyle(e), size = parseFloat(st.fontSize), bold = Number(st.fontWeight) >= 700;
        const need = size >= 24 || (bold && size >= 18.66) ? 3 : 4.5;
        const r = ratio(over(rgba(st.color), back), back);
        if (r < need) low.push(`${e.tagName.toLowerCase()}.${e.className} "${e.textContent.trim().slice(0, 20)}" ${r.toFixed(2)}`);
      }
      // Marks: each colour on its casing, and its outer edge (colour or casing) against each background.
      const casing = colour(v('--casing'));
      const backs = { board: colour(v('--board')), canvas, 'top copper': colour(v('--cu-top')), 'bottom copper': colour(v('--cu-bottom')),
        'selected copper': colour(v('--sel-copper')) };
      const marks = { target: v('--target'), glue: v('--glue'), 'pin 1': v('--pin1'), error: v('--finding-error'), note: v('--finding-note'), origin: v('--origin') };
      const weak = [];
      for (const [mark, c] of Object.entries(marks)) {
        for (const [name, back] of Object.entries(backs)) {
          const cased = over(casing, back), m = colour(c);
          if (ratio(m, cased) < 3) weak.push(`${mark} on its casing over ${name}: ${ratio(m, cased).toFixed(2)}`);
          if (Math.max(ratio(m, back), ratio(cased, back)) < 3) weak.push(`${mark} against ${name}`);
        }
      }
      probe.remove();
      return { low, weak };
    });
    assert.deepEqual(result.low, [], 'text below AA contrast');
    assert.deepEqual(result.weak, [], 'marks below 3:1');
  });

  await check('no console error after all the interaction', async () => {
    assert.deepEqual(consoleErrors, []);
    assert.deepEqual(failedRequests, []);
    assert.deepEqual(foreignRequests, []);
  });
} finally {
  await browser.close();
}

const failed = results.filter(([, e]) => e).length;
console.log(`${results.length - failed} passed, ${failed} failed`);
process.exit(failed ? 1 : 0);
