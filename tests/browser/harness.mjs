// Shared steps of the browser tests: a copy of the sample CFG folder, the
// editor served for one of its files by quillfret-check --edit, and Debian's
// chromium driven by playwright-core.
import { spawn } from 'node:child_process';
import { cpSync, mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join, resolve } from 'node:path';
import { createInterface } from 'node:readline';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';

export const repository = resolve(dirname(fileURLToPath(import.meta.url)), '../..');
export const nativeChecker = process.env.QUILLFRET_CHECK ??
  join(repository, 'build/native/tools/quillfret_check/quillfret-check');

// Chromium as this machine runs it: headless, no network of its own, a new empty profile.
const CHROMIUM_FLAGS = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync'];

export async function launchBrowser() {
  return chromium.launch({ executablePath: '/usr/bin/chromium', args: CHROMIUM_FLAGS });
}

// A fresh folder holding a copy of samples/CFG.
export function sampleFolder() {
  const folder = mkdtempSync(join(tmpdir(), 'quillfret-editor-'));
  cpSync(join(repository, 'samples/CFG'), join(folder, 'CFG'), { recursive: true });
  return folder;
}

// Starts `command args` and resolves with the first line it prints (the
// page's address) and the running process.
export function startServing(command, args, options = {}) {
  const child = spawn(command, args, { stdio: ['ignore', 'pipe', 'inherit'], ...options });
  const lines = createInterface({ input: child.stdout });
  return new Promise((resolvePromise, reject) => {
    child.once('exit', (code) => reject(new Error(`${command} ended with ${code} before printing an address`)));
    lines.once('line', (line) => resolvePromise({ address: line.trim(), child }));
  });
}

// The editor on CFG/`file` of a sample folder, served by the native
// quillfret-check; `stop()` ends it and removes the folder.
export async function serveSample(file = 'HomeRowScale.json') {
  const folder = sampleFolder();
  const path = join(folder, 'CFG', file);
  const { address, child } = await startServing(nativeChecker, ['--edit', path, '--no-browser']);
  return {
    address, path, folder, child,
    stop() {
      child.kill('SIGINT');
      rmSync(folder, { recursive: true, force: true });
    },
  };
}

// A page of the editor, opened and loaded (the picture drawn, the first check shown).
export async function openEditor(browser, address) {
  const page = await browser.newPage({ viewport: { width: 1500, height: 1000 } });
  await page.goto(address);
  await page.locator('#picture svg').waitFor();
  await page.locator('#check-state', { hasText: 'checked' }).waitFor();
  return page;
}
