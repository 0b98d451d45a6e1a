// node screenshot.mjs PAGE.html OUT.png [bottom|select]: a picture of the page as it opens (the one in docs/).
import { pathToFileURL } from 'node:url';
import { resolve } from 'node:path';
import { openBrowser } from './browser.mjs';

const [page, out, side] = process.argv.slice(2);
const b = await openBrowser();
try {
  const p = b.context.pages()[0] || await b.context.newPage();
  p.on('console', (m) => { if (m.type() === 'error') console.error('console:', m.text()); });
  p.on('pageerror', (e) => console.error('page error:', e.message));
  await p.goto(pathToFileURL(resolve(page)).href);
  if (side === 'bottom') await p.click('#side-bottom');
  if (side === 'select') await p.click('#tbody .row:nth-child(4)');
  await p.waitForTimeout(300);
  await p.screenshot({ path: out });
} finally {
  await b.close();
}
