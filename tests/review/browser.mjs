// Start Debian's Chromium for the page checks: headless, no network services, a fresh profile.
import { chromium } from 'playwright-core';
import { mkdtemp, rm } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import { join } from 'node:path';

const ARGS = ['--no-sandbox', '--headless', '--disable-gpu', '--disable-background-networking',
  '--disable-component-update', '--disable-sync', '--no-first-run'];

/** Open a browser context with its own throw-away profile; close() removes the profile again. */
export async function openBrowser(viewport = { width: 1440, height: 900 }) {
  const profile = await mkdtemp(join(tmpdir(), 'review-profile-'));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args: ARGS,
    viewport,
  });
  return {
    context,
    async close() {
      await context.close();
      await rm(profile, { recursive: true, force: true });
    },
  };
}
