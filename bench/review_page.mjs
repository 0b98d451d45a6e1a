// Timings of review pages that the program wrote, measured in the page with performance.now().
//
//   node bench/review_page.mjs PAGE.html [PAGE.html ...] [--rounds N] [--max-first-paint-ms N]
//   (after npm ci --prefix tests/review; hold it to one core with taskset -c 1)
//
// Each round opens every page once, in turn (every other round in the other order), in a new tab
// of one headless Chromium, after a first load that is not counted, so that pages of two builds
// are measured under the same conditions; the medians and the slowest of the rounds are printed.
// Then the interactions are timed once per page.
//
// first paint : navigation start to the first frame after the page has built its drawing
//               (and the browser's own first-contentful-paint entry, for comparison);
// ready       : the part marks of the side shown made and the ticks read, after the first paint;
// zoom step   : a wheel event to the end of the next frame, which holds the re-drawn view;
// the others  : a click or a keystroke to the end of the frame that shows its result.
// With --max-first-paint-ms, exits with 1 when a page's median first paint comes later than that.
import { pathToFileURL } from 'node:url';
import { resolve } from 'node:path';
import { openBrowser } from '../tests/review/browser.mjs';

const args = process.argv.slice(2);
const option = (name, fallback) => {
  const at = args.indexOf(name);
  if (at < 0) return fallback;
  const value = Number(args[at + 1]);
  args.splice(at, 2);
  return value;
};
const limit = option('--max-first-paint-ms', null);
const rounds = option('--rounds', 5);
const pagePaths = args;
if (!pagePaths.length) {
  console.error('usage: node bench/review_page.mjs PAGE.html [PAGE.html ...] [--rounds N] [--max-first-paint-ms N]');
  process.exit(2);
}

const median = (a) => a.slice().sort((x, y) => x - y)[a.length >> 1];
const ms = (t) => (t === null ? '     -' : t.toFixed(0).padStart(6)) + ' ms';
const browser = await openBrowser({ width: 1440, height: 900 });
let failed = false;

// Opens a page in a new tab and waits until it is ready; returns the tab, its load timings and its errors.
async function open(pagePath) {
  const page = await browser.context.newPage();
  const errors = [];
  page.on('pageerror', (e) => errors.push(e.message));
  page.on('console', (m) => { if (m.type() === 'error') errors.push(m.text()); });
  await page.goto(pathToFileURL(resolve(pagePath)).href, { waitUntil: 'load', timeout: 120000 });
  // A page written before "ready" was kept has made its marks before its first paint.
  await page.waitForFunction(() => window.reviewPage && window.reviewPage.timings.firstPaint !== null &&
    window.reviewPage.timings.ready !== null, null, { timeout: 120000 });
  const load = await page.evaluate(() => {
    const fcp = performance.getEntriesByName('first-contentful-paint')[0];
    const t = window.reviewPage.timings;
    return { parts: document.querySelectorAll('[data-ref]').length, built: t.built, firstPaint: t.firstPaint,
      ready: t.ready === undefined ? t.firstPaint : t.ready, fcp: fcp ? fcp.startTime : null };
  });
  return { page, load, errors };
}

// The interactions, timed on an open page.
async function interactions(page) {
  // Time from `start` (run in the page) to the end of the frame after it; null where the page has
  // no such control (a page of an earlier build).
  const timed = (start) => page.evaluate((src) => new Promise((done) => {
    const t0 = performance.now();
    try {
      (0, eval)(src)();
    } catch (err) {
      done(null);
      return;
    }
    requestAnimationFrame(() => requestAnimationFrame(() => done(performance.now() - t0)));
  }), start.toString());

  // Wheel steps: the time runs from the event (a capturing listener sees it first) to the frame after the redraw.
  await page.evaluate(() => {
    window.__wheelTimes = [];
    document.getElementById('board').addEventListener('wheel', () => {
      const t0 = performance.now();
      requestAnimationFrame(() => requestAnimationFrame(() => window.__wheelTimes.push(performance.now() - t0)));
    }, { capture: true });
  });
  // Redraws when a gesture ends: from the new transform on the drawing to the end of the frame after it.
  await page.evaluate(() => {
    window.__settleTimes = [];
    new MutationObserver(() => {
      const t0 = performance.now();
      requestAnimationFrame(() => requestAnimationFrame(() => window.__settleTimes.push(performance.now() - t0)));
    }).observe(document.getElementById('view'), { attributes: true, attributeFilter: ['transform'] });
  });
  const box = await page.$eval('#view-wrap', (s) => s.getBoundingClientRect().toJSON());
  // A gesture of six wheel steps around the middle of the view, then the redraw when it ends.
  const zoomRows = [];
  const zoomRun = async (label, delta) => {
    await page.evaluate(() => { window.__wheelTimes = []; window.__settleTimes = []; });
    await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
    for (let n = 0; n < 6; n++) {
      await page.mouse.wheel(0, delta);
      await page.waitForFunction((k) => window.__wheelTimes.length > k, n);
    }
    await page.waitForFunction(() => window.__settleTimes.length > 0, null, { timeout: 60000 });
    await page.waitForTimeout(1000);   // detail is added a batch per frame after the redraw
    zoomRows.push([label, await page.evaluate(() => window.__wheelTimes), await page.evaluate(() => window.__settleTimes)]);
  };
  await zoomRun('in from the whole board', -240);
  await zoomRun('back out', 240);
  await page.evaluate(() => document.querySelector('#tbody .row:nth-child(3)').click());
  await page.waitForTimeout(600);
  await zoomRun('in, from a part', -240);
  await zoomRun('out, from a part', 240);
  await page.evaluate(() => document.getElementById('fit').click());
  await page.waitForTimeout(600);

  const rows = [];
  rows.push(['click a table row (select, centre)', await timed(() => document.querySelector('#tbody .row:nth-child(5)').click())]);
  rows.push(['switch to bottom (first time: builds it)', await timed(() => document.getElementById('side-bottom').click())]);
  rows.push(['switch to top', await timed(() => document.getElementById('side-top').click())]);
  rows.push(['switch to bottom again', await timed(() => document.getElementById('side-bottom').click())]);
  rows.push(['Fit', await timed(() => document.getElementById('fit').click())]);
  rows.push(['search "r1"', await timed(() => {
    const s = document.getElementById('search');
    s.value = 'r1';
    s.dispatchEvent(new Event('input', { bubbles: true }));
  })]);
  rows.push(['clear search', await timed(() => {
    const s = document.getElementById('search');
    s.value = '';
    s.dispatchEvent(new Event('input', { bubbles: true }));
  })]);
  rows.push(['sort by X', await timed(() => document.querySelector('#thead [data-key="x"]').click())]);
  rows.push(['scroll the table by 5,000 rows', await timed(() => { document.getElementById('tscroll').scrollTop += 5000 * 24; })]);
  rows.push(['open the largest findings kind', await timed(() => {
    const heads = [...document.querySelectorAll('.kind-open:not([disabled]), .kind-head:not([disabled])')];
    const count = (b) => Number((b.querySelector('.count') || b.parentElement.querySelector('.count')).textContent);
    const big = heads.sort((a, b) => count(b) - count(a))[0];
    if (big && big.getAttribute('aria-expanded') !== 'true') big.click();
  })]);
  rows.push(['select the largest findings kind', await timed(() => {
    const heads = [...document.querySelectorAll('.kind-select:not([disabled])')];
    const count = (b) => Number(b.querySelector('.count').textContent);
    const big = heads.sort((a, b) => count(b) - count(a))[0];
    if (big) big.click();
  })]);
  rows.push(['show the grouped view', await timed(() => document.querySelector('#table-mode [data-mode="groups"]').click())]);
  rows.push(['back to the parts', await timed(() => document.querySelector('#table-mode [data-mode="parts"]').click())]);
  return { zoomRows, rows };
}

try {
  // A load that is not counted: the browser's first one is slower for reasons of its own.
  await (await open(pagePaths[0])).page.close();
  const loads = pagePaths.map(() => []);
  for (let r = 0; r < rounds; r++) {
    // Every other round in the other order, so that no page always follows the same one.
    for (const k of pagePaths.map((_, n) => (r % 2 ? pagePaths.length - 1 - n : n))) {
      const { page, load, errors } = await open(pagePaths[k]);
      loads[k].push(load);
      if (errors.length) { console.log(`${pagePaths[k]}: page errors: ${errors.join('; ')}`); failed = true; }
      await page.close();
    }
  }
  for (let k = 0; k < pagePaths.length; k++) {
    const got = loads[k], pick = (key) => got.map((l) => l[key]);
    console.log(`page: ${pagePaths[k]}  (${got[0].parts} part marks on the side shown)`);
    console.log(`  built (script done)          ${ms(median(pick('built')))} median of ${rounds}, slowest ${ms(Math.max(...pick('built')))}`);
    console.log(`  first paint (frame after it) ${ms(median(pick('firstPaint')))} median of ${rounds}, slowest ${ms(Math.max(...pick('firstPaint')))}`);
    console.log(`  ready (marks, ticks)         ${ms(median(pick('ready')))} median of ${rounds}, slowest ${ms(Math.max(...pick('ready')))}`);
    console.log(`  first-contentful-paint       ${ms(got[0].fcp === null ? null : median(pick('fcp')))}`);
    if (limit !== null && median(pick('firstPaint')) > limit) {
      console.log(`  first paint ${median(pick('firstPaint')).toFixed(0)} ms is over the limit of ${limit} ms`);
      failed = true;
    }
  }
  for (const pagePath of pagePaths) {
    const { page, errors } = await open(pagePath);
    const { zoomRows, rows } = await interactions(page);
    console.log(`interactions: ${pagePath}`);
    for (const [label, steps, settles] of zoomRows) {
      console.log(`  zoom step (${label}), wheel to frame: median ${median(steps).toFixed(0)} ms, max ${Math.max(...steps).toFixed(0)} ms over ${steps.length} steps`);
      console.log(`    redraw when the gesture ends: ${settles.map((t) => t.toFixed(0)).join(', ')} ms`);
    }
    for (const [what, t] of rows) console.log(`  ${what.padEnd(40)} ${t === null ? '    -' : t.toFixed(0).padStart(5)} ms`);
    if (errors.length) { console.log('  page errors: ' + errors.join('; ')); failed = true; }
    await page.close();
  }
} finally {
  await browser.close();
}
process.exit(failed ? 1 : 0);
