// End to end under Wine: Quillfret runs with the virtual MIDI port, the page
// served by quillfret-check.exe --edit saves a new note for A, and A then
// plays it.
import assert from 'node:assert/strict';
import { execFileSync, spawn } from 'node:child_process';
import { once } from 'node:events';
import { copyFileSync, existsSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { setTimeout as sleep } from 'node:timers/promises';
import { test } from 'node:test';
import { launchBrowser, openEditor, repository, sampleFolder, startServing } from './harness.mjs';

const bin = join(repository, 'build/windows/bin');
const wineRoot = join(repository, 'build/windows/wine');
const wineRun = join(repository, 'tests/fixtures/wine/wine-run');
const prefix = 'browser-play';
const env = { ...process.env, QUILLFRET_WINE_PREFIX: prefix, QF_VMIDI_PORTS: 'Fenwickloop Port 1' };

// A Linux path as Wine's drive Z: shows it.
const windowsPath = (path) => 'Z:' + path.replaceAll('/', '\\');

function inWine(program, ...args) {
  return execFileSync(wineRun, [wineRoot, program, ...args], { env, encoding: 'utf8' });
}

// The packed messages the virtual port received, in hex.
function sent(record) {
  if (!existsSync(record)) return [];
  return readFileSync(record, 'utf8').split('\n').filter((line) => line.startsWith('send '))
    .map((line) => line.split(' ')[5]);
}

async function waitFor(condition, what, tries = 100) {
  for (let i = 0; i < tries; ++i) {
    if (condition()) return;
    await sleep(100);
  }
  assert.fail(`waited in vain for ${what}`);
}

test('a note saved from the page plays at the next press under Wine', async (t) => {
  const folder = sampleFolder();
  const record = join(folder, 'midi-record.txt');
  writeFileSync(record, '');
  env.QF_VMIDI_RECORD = record;
  copyFileSync(join(bin, 'Quillfret.exe'), join(folder, 'Quillfret.exe'));
  const browser = await launchBrowser();
  const program = spawn(wineRun, [wineRoot, join(folder, 'Quillfret.exe')], { env, stdio: 'ignore' });
  const programEnded = once(program, 'exit');
  let editor = null;
  t.after(async () => {
    editor?.child.kill('SIGTERM');
    await browser.close();
    try { inWine(join(bin, 'quillfret-quit.exe')); } catch { /* it may have ended already */ }
    await programEnded;
    execFileSync(join(repository, 'tests/fixtures/wine/stop'), [wineRoot, prefix]);
    rmSync(folder, { recursive: true, force: true });
  });
  await waitFor(() => readFileSync(record, 'utf8').includes('open '), 'Quillfret to open its port', 300);

  editor = await startServing(wineRun, [wineRoot, join(bin, 'quillfret-check.exe'), '--edit',
    windowsPath(join(folder, 'CFG/HomeRowScale.json')), '--no-browser'], { env });
  const page = await openEditor(browser, editor.address);
  await page.locator('#picture .key[data-code="65"]').click();
  await page.locator('.strip rect[data-note="72"]').click();
  await page.locator('.strip rect[data-note="60"]').click();
  await page.locator('#save').click();
  await page.locator('#save-state', { hasText: 'Saved: Quillfret reloads it' }).waitFor();
  assert.match(readFileSync(join(folder, 'CFG/HomeRowScale.json'), 'utf8'), /\{ "key": "A", "notes": \[72\] \}/);

  // Note-on 72 (0x48) velocity 100 (0x64) on channel 1, once the save is read.
  await waitFor(() => {
    inWine(join(bin, 'quillfret-inject.exe'), 'click 65');
    return sent(record).includes('00644890');
  }, 'A to play note 72', 50);
});
