// node screenshot.mjs PAGE.html OUT.png [top|bottom|select|groups|print]: a picture of the page
// (the ones in docs/): as it opens, its bottom side, a part selected, the grouped view with a group
// selected, or the printed sheet (the board fitted, then the table) as the print style lays it out.
import { pathToFileURL } from 'node:url';
import { resolve } from 'node:path';
import { openBrowser } from './browser.mjs';

const [page, out, mode = 'top'] = process.argv.slice(2);
// The printed sheet at the width of an A4 page in landscape, at 96 px per inch.
const b = await openBrowser(mode === 'print' ? { width: 1123, height: 794 } : undefined);
try {
  const p = b.context.pages()[0] || await b.context.newPage();
  p.on('console', (m) => { if (m.type() === 'error') console.error('console:', m.text()); });
  p.on('pageerror', (e) => console.error('page error:', e.message));
  await p.goto(pathToFileURL(resolve(page)).href);
  await p.waitForFunction(() => window.reviewPage && window.reviewPage.timings.ready !== null);
  if (mode === 'bottom') await p.click('#side-bottom');
  if (mode === 'select') await p.click('#tbody .row:nth-child(4)');
  if (mode === 'groups') {
    await p.click('#table-mode [data-mode="groups"]');
    const biggest = await p.$$eval('#tbody .row', (rows) => rows.reduce((a, r) =>
      (Number(r.querySelector('.c-qty').textContent) > Number(a.querySelector('.c-qty').textContent) ? r : a)).getAttribute('data-g'));
    await p.click(`#tbody .row[data-g="${biggest}"] .c-value`);
  }
  if (mode === 'print') {
    await p.emulateMedia({ media: 'print' });
    await p.evaluate(() => window.dispatchEvent(new Event('beforeprint')));
  }
  await p.waitForTimeout(300);
  await p.screenshot({ path: out, fullPage: mode === 'print' });
} finally {
  await b.close();
}
