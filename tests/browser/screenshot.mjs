// The README's picture of the editor: the sample HomeRowScale.json with A
// selected, taken by chromium headless (scripts/screenshot).
import { launchBrowser, openEditor, serveSample } from './harness.mjs';

const output = process.argv[2];
const served = await serveSample('HomeRowScale.json');
const browser = await launchBrowser();
try {
  const page = await openEditor(browser, served.address);
  await page.setViewportSize({ width: 1400, height: 900 });
  await page.locator('#picture .key[data-code="65"]').click();
  await page.screenshot({ path: output });
} finally {
  await browser.close();
  served.stop();
}
