// The function reference in Debian's headless Chromium: the page built
// with its forms (build/wasm/reference.html) loaded from disk, functions
// called through their forms, every block of examples run where it stands,
// the index of the functions and its filter used from the keyboard (and the
// index read with scripts off), and a screenshot saved as
// build/wasm/reference.png; then the page and the package's module served
// by a static host.
import assert from 'node:assert/strict';
import { mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { createServer } from 'node:http';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { after, before, test } from 'node:test';
import { pathToFileURL } from 'node:url';

import puppeteer from 'puppeteer-core';

import { buildDir, loadTwineKit, packageDir } from './load.mjs';

const profile = mkdtempSync(join(tmpdir(), 'twinekit-chromium-'));
let browser, page;
const errors = [];

before(async () => {
  browser = await puppeteer.launch({
    executablePath: process.env.TK_CHROMIUM ?? '/usr/bin/chromium',
    headless: true,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      `--user-data-dir=${profile}`],
  });
  page = await browser.newPage();
  page.on('pageerror', (e) => errors.push(String(e)));
  await page.goto(pathToFileURL(join(buildDir, 'reference.html')).href);
  await page.waitForSelector('body[data-twinekit="ready"]', { timeout: 120000 });
});

after(async () => {
  await browser?.close();
  rmSync(profile, { recursive: true, force: true });
});

// Fills a function's form with arguments in the case syntax, calls it and
// gives what the form shows.
async function callThroughForm(name, args) {
  const form = `form.try[data-export="${name}"]`;
  const inputs = await page.$$(`${form} input`);
  assert.equal(inputs.length, args.length, `${name}'s form has one field an argument`);
  for (const [i, text] of args.entries()) {
    await inputs[i].click({ count: 3 });
    await inputs[i].type(text);
  }
  await page.click(`${form} button[type="submit"]`);
  return page.$eval(`${form} .try-output`, (e) => e.textContent);
}

test('every function has a form', async () => {
  assert.equal(await page.$$eval('form.try', (forms) => forms.length), 64);
  assert.deepEqual(errors, []);
});

test('calls through the forms', async () => {
  const rows = [
    ['cGetIn', ["'a|b|c'", "'|'", '2'], "result: 'b' (1 byte)\nbytes: 62"],
    ['cFill', ["'HELLO'", "'ab'"],
      "result: -1 (Integer)\nargument after the call: 'ababa' (5 bytes)\nbytes after the call: 61 62 61 62 61"],
    ['cArabicToRoman', ['i2:1994'], "result: 'mcmxciv' (7 bytes)\nbytes: 6D 63 6D 78 63 69 76"],
    ['cRomanToArabic', ["'mcm'"], 'result: i4:1900 (a Variant holding a Long)'],
    ['cReverse', ["'A\\0B'"], "result: 'B\\0A' (3 bytes)\nbytes: 42 00 41"],
    ['cToHexa', ["'\\xFF'*40"], `result: 'F'*80 (80 bytes)\nbytes: ${'46 '.repeat(63)}46 ... and 16 more`],
    ['cGetIn', ["'a", "'|'", '2'], "error: Txt: \"'a\" cannot be read"],
  ];
  for (const [name, args, shown] of rows) {
    assert.equal(await callThroughForm(name, args), shown, `${name} ${args.join(' ')}`);
  }
});

// The names of the functions that the index shows, in its order.
const shownInIndex = (p) => p.$$eval('nav.index li a',
  (links) => links.filter((a) => a.getClientRects().length > 0).map((a) => a.textContent));

test('the index lists every export by family, each linked to its section', async () => {
  const { exportTable } = await loadTwineKit();
  const names = exportTable.map((e) => e.name);
  assert.deepEqual([...await shownInIndex(page)].sort(), [...names].sort());
  const wrong = await page.$$eval('nav.index section', (families) => families.flatMap((family) =>
    [...family.querySelectorAll('a')].flatMap((a) => {
      const target = document.getElementById(a.hash.slice(1));
      let above = target;
      while (above && above.tagName !== 'H2') above = above.previousElementSibling;
      const heading = family.querySelector('h3').textContent;
      return target?.tagName === 'H3' && target.textContent === a.textContent && above?.textContent === heading
        ? [] : [`${a.textContent} -> ${a.hash} (${heading})`];
    })));
  assert.deepEqual(wrong, []);
});

test('the filter narrows the index by name from the keyboard', async () => {
  const all = await shownInIndex(page);
  const getIn = ['cGetIn', 'cGetInPart', 'cGetInPartR', 'cGetInR'];
  const rows = [
    ['getin', getIn, '4 of 64 functions.'],
    ['GetIN', getIn, '4 of 64 functions.'],
    ['hexa', ['cFromHexa', 'cToHexa'], '2 of 64 functions.'],
    ['roman ', ['cArabicToRoman', 'cRomanToArabic'], '2 of 64 functions.'],
    ['zz', [], 'No function has that in its name.'],
    ['', all, 'All 64 functions.'],
  ];
  await page.click('label[for="index-filter-text"]');
  for (const [typed, shown, status] of rows) {
    await page.keyboard.down('Control');
    await page.keyboard.press('KeyA');
    await page.keyboard.up('Control');
    await page.keyboard.press('Backspace');
    await page.keyboard.type(typed);
    assert.deepEqual(await shownInIndex(page), shown, JSON.stringify(typed));
    assert.equal(await page.$eval('#index-filter-status', (e) => e.textContent), status);
  }
  await page.keyboard.type('getin');
  await page.keyboard.press('Escape');
  assert.deepEqual(await shownInIndex(page), all, 'Escape clears the filter');
  await page.keyboard.type('getinp');
  await page.keyboard.press('Enter');
  assert.equal(await page.evaluate(() => location.hash), '#cgetinpart', 'Enter goes to the first function left');
  await page.click('label[for="index-filter-text"]');
  await page.keyboard.press('Escape');
});

test('with scripts off the whole index shows and the filter does not', async () => {
  const plain = await browser.newPage();
  await plain.setJavaScriptEnabled(false);
  await plain.goto(pathToFileURL(join(buildDir, 'reference.html')).href);
  assert.equal((await shownInIndex(plain)).length, 64);
  assert.equal(await plain.$eval('#index-filter-text', (e) => e.getClientRects().length), 0);
  await plain.close();
});

test('every example on the page runs as shown', async () => {
  const buttons = await page.$$('button.run');
  assert.ok(buttons.length >= 64);
  for (const button of buttons) await button.click();
  const ran = await page.$$eval('ul.ran li', (items) => items.map((li) => [li.className, li.textContent]));
  assert.ok(ran.length > 200, `${ran.length} examples ran`);
  assert.deepEqual(ran.filter(([state]) => state !== 'passed'), []);
  await page.$eval('form.try[data-export="cFill"]', (form) => form.scrollIntoView());
  await page.screenshot({ path: join(buildDir, 'reference.png') });
});

test('the page and the package from a static host', async () => {
  const files = {
    '/reference.html': [join(buildDir, 'reference.html'), 'text/html'],
    '/twinekit.mjs': [join(packageDir, 'twinekit.mjs'), 'text/javascript'],
    '/twinekit_wasm.mjs': [join(packageDir, 'twinekit_wasm.mjs'), 'text/javascript'],
    '/exports.mjs': [join(packageDir, 'exports.mjs'), 'text/javascript'],
  };
  const server = createServer((request, response) => {
    const [path, type] = files[request.url] ?? [];
    if (!path) return response.writeHead(404).end();
    response.writeHead(200, { 'content-type': type }).end(readFileSync(path));
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  try {
    const served = await browser.newPage();
    await served.goto(`http://127.0.0.1:${server.address().port}/reference.html`);
    await served.waitForSelector('body[data-twinekit="ready"]', { timeout: 120000 });
    const field = await served.evaluate(async () => {
      const tk = await import('/twinekit.mjs');
      return tk.latin1.decode(tk.cGetIn(tk.latin1.encode('a|b|c'), tk.latin1.encode('|'), 2));
    });
    assert.equal(field, 'b');
    await served.close();
  } finally {
    server.close();
  }
});
