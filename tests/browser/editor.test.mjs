// The editor page in Debian's chromium, served by the native quillfret-check --edit.
import assert from 'node:assert/strict';
import { readFileSync, writeFileSync } from 'node:fs';
import { after, before, beforeEach, afterEach, describe, test } from 'node:test';
import { launchBrowser, openEditor, serveSample } from './harness.mjs';

let browser;
let served;
let page;

before(async () => { browser = await launchBrowser(); });
after(async () => { await browser.close(); });
beforeEach(async () => {
  served = await serveSample();
  page = await openEditor(browser, served.address);
});
afterEach(async () => {
  await page.close();
  served.stop();
});

const key = (code) => page.locator(`#picture .key[data-code="${code}"]`);

// The draft once the page has checked it.
async function checked() {
  await page.locator('#check-state', { hasText: /^Draft \d+ checked/ }).waitFor();
}

describe('the editor page', () => {
  // Playwright's keyboard has Num Lock off: the pad's 7 is Home then, for the hooks too.
  test('pressing a key selects the code the hooks report for it', async () => {
    for (const [pressed, code, title] of [['s', 83, 'S (83)'], ['ShiftRight', 161, 'RShift (161)'],
      ['Numpad7', 36, 'Home (36)'], ['Space', 32, 'Space (32)']]) {
      await page.locator('body').press(pressed);
      await assert.doesNotReject(key(code).and(page.locator('.selected')).waitFor({ timeout: 5000 }), pressed);
      assert.equal(await page.locator('#entry-title').textContent(), title, pressed);
    }
    await page.locator('#sends', { hasText: 'press: control change 64 value 127' }).waitFor();
  });

  test('notes picked on the strip are saved into the file', async () => {
    await key(65).click();
    for (const note of [64, 67, 60]) {
      await page.locator(`.strip rect[data-note="${note}"]`).click();
      await checked();
    }
    await page.locator('#save').click();
    await page.locator('#save-state', { hasText: 'Saved: Quillfret reloads it' }).waitFor();
    const sample = readFileSync(new URL('../../samples/CFG/HomeRowScale.json', import.meta.url), 'utf8');
    const expected = sample.replace('{ "key": "A", "note": 60 }', '{ "key": "A", "notes": [64, 67] }');
    assert.notEqual(expected, sample);
    assert.equal(readFileSync(served.path, 'utf8'), expected);
    assert.match(await key(65).textContent(), /E4 G4/);
  });

  test('the forms write the text, and the picture follows the text', async () => {
    await key(90).click();
    await page.locator('#entry-velocity').fill('90');
    await page.locator('#entry-velocity').press('Enter');
    await checked();
    assert.match(await page.locator('#text').inputValue(), /\{ "key": "Z", "notes": \[48, 55\], "velocity": 90, "mode": "toggle" \}/);
    await key(66).click();
    await page.getByRole('button', { name: 'Add an entry for B' }).click();
    await checked();
    assert.match(await page.locator('#text').inputValue(), /"mode": "toggle" \},\n    \{ "key": "B" \}\n  \]/);
    await page.getByRole('button', { name: 'Remove this entry' }).click();
    await checked();
    assert.doesNotMatch(await page.locator('#text').inputValue(), /"B"/);
    const text = await page.locator('#text').inputValue();
    await page.locator('#text').fill(text.replace('"note": 60 }', '"note": 60 }, { "key": "F13", "note": 61 }, { "key": "Kazoo" }'));
    await checked();
    assert.match(await page.locator('#others').textContent(), /F13 \(124\): C#4/);
    assert.match(await page.locator('#idle').textContent(), /mappings\[2\]: "Kazoo" is not a key name/);
  });

  // The page's own guard, asked as the browser asks it (headless chromium
  // shows no dialog for it).
  test('leaving the page with unsaved changes asks first', async () => {
    const leaving = () => page.evaluate(() => {
      const event = new Event('beforeunload', { cancelable: true });
      window.dispatchEvent(event);
      return event.defaultPrevented;
    });
    assert.equal(await leaving(), false);
    await page.locator('#text').fill('{}');
    assert.equal(await leaving(), true);
  });

  test('a broken draft says where it fails before anything is saved', async () => {
    const sample = readFileSync(served.path, 'utf8');
    const drafts = [
      [sample.replace('"note": 62 }', '"note": 62, }'), /syntax error at line 5, column \d+/, null],
      [sample.replace('"velocity": 80', '"velocity": "loud"'), /mappings\[11\]\.velocity: a string where a number/, 90],
    ];
    for (const [draft, words, marked] of drafts) {
      await page.locator('#text').fill(draft);
      await checked();
      assert.match(await page.locator('#failure').textContent(), words);
      assert.match(await page.locator('#verdict').textContent(), /HomeRowScale\.json is not in force/);
      if (marked) assert.match(await key(marked).getAttribute('class'), /\berror\b/);
    }
    assert.equal(readFileSync(served.path, 'utf8'), sample);
  });

  test('a save that meets a change on disk is refused and offers the file from disk', async () => {
    const fromNotepad = readFileSync(served.path, 'utf8').replace('"note": 60', '"note": 61');
    writeFileSync(served.path, fromNotepad);
    await page.locator('#text').fill(readFileSync(served.path, 'utf8').replace('"note": 62', '"note": 63'));
    await page.locator('#save').click();
    await page.locator('#conflict').waitFor();
    assert.equal(readFileSync(served.path, 'utf8'), fromNotepad);
    await page.locator('#conflict-load').click();
    assert.equal(await page.locator('#text').inputValue(), fromNotepad);
  });
});
