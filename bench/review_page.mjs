// Timings of a review page that the program wrote, measured in the page with performance.now().
//
//   node bench/review_page.mjs PAGE.html [--max-first-paint-ms N]   (after npm ci --prefix tests/review)
//
// first paint : navigation start to the first frame after the page has built its drawing
//               (and the browser's own first-contentful-paint entry, for comparison);
// zoom step   : a wheel event to the end of the next frame, which holds the re-drawn view;
// the others  : a click or a keystroke to the end of the frame that shows its result.
// With --max-first-paint-ms, exits with 1 when the first paint comes later than that.
import { pathToFileURL } from 'node:url';
import { resolve } from 'node:path';
import { openBrowser } from '../tests/review/browser.mjs';

const args = process.argv.slice(2);
const pagePath = args[0];
const limitAt = args.indexOf('--max-first-paint-ms');
const limit = limitAt >= 0 ? Number(args[limitAt + 1]) : null;
if (!pagePath) {
  console.error('usage: node bench/review_page.mjs PAGE.html [--max-first-paint-ms N]');
  process.exit(2);
}

const median = (a) => a.slice().sort((x, y) => x - y)[a.length >> 1];
const browser = await openBrowser({ width: 1440, height: 900 });
let failed = false;
try {
  const page = browser.context.pages()[0] || await browser.context.newPage();
  const errors = [];
  page.on('pageerror', (e) => errors.push(e.message));
  page.on('console', (m) => { if (m.type() === 'error') errors.push(m.text()); });
  await page.goto(pathToFileURL(resolve(pagePath)).href, { waitUntil: 'load', timeout: 120000 });
  await page.waitForFunction(() => window.reviewPage && window.reviewPage.timings.firstPaint !== null, null, { timeout: 120000 });
  const load = await page.evaluate(() => {
    const fcp = performance.getEntriesByName('first-contentful-paint')[0];
    const nav = performance.getEntriesByType('navigation')[0];
    return {
      parts: document.querySelectorAll('[data-ref]').length,
      built: window.reviewPage.timings.built,
      firstPaint: window.reviewPage.timings.firstPaint,
      fcp: fcp ? fcp.startTime : null,
      domContentLoaded: nav ? nav.domContentLoadedEventEnd : null,
    };
  });

  // Time from `start` (run in the page) to the end of the frame after it.
  const timed = (start) => page.evaluate((src) => new Promise((done) => {
    const t0 = performance.now();
    (0, eval)(src)();
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
  rows.push(['search "soic"', await timed(() => {
    const s = document.getElementById('search');
    s.value = 'soic';
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
    const heads = [...document.querySelectorAll('.kind-head:not([disabled])')];
    const big = heads.sort((a, b) => Number(b.querySelector('.count').textContent) - Number(a.querySelector('.count').textContent))[0];
    if (big && big.getAttribute('aria-expanded') !== 'true') big.click();
  })]);

  console.log(`page: ${pagePath}  (${load.parts} part drawings on the side shown at load)`);
  console.log(`  built (script done)          ${load.built.toFixed(0).padStart(6)} ms after navigation start`);
  console.log(`  first paint (frame after it) ${load.firstPaint.toFixed(0).padStart(6)} ms`);
  console.log(`  first-contentful-paint       ${load.fcp === null ? '     -' : load.fcp.toFixed(0).padStart(6)} ms`);
  for (const [label, steps, settles] of zoomRows) {
    console.log(`  zoom step (${label}), wheel to frame: median ${median(steps).toFixed(0)} ms, max ${Math.max(...steps).toFixed(0)} ms over ${steps.length} steps`);
    console.log(`    redraw when the gesture ends: ${settles.map((t) => t.toFixed(0)).join(', ')} ms`);
  }
  for (const [what, ms] of rows) console.log(`  ${what.padEnd(40)} ${ms.toFixed(0).padStart(5)} ms`);
  if (errors.length) { console.log('  page errors: ' + errors.join('; ')); failed = true; }
  if (limit !== null && load.firstPaint > limit) {
    console.log(`  first paint ${load.firstPaint.toFixed(0)} ms is over the limit of ${limit} ms`);
    failed = true;
  }
} finally {
  await browser.close();
}
process.exit(failed ? 1 : 0);
