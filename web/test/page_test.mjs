// Drives the page in Debian's chromium: the default list, an uploaded norms
// CSV compared byte for byte with the command line on the same inputs, the
// CSV download, and the message of a malformed file. Serves the page with
// python3 -m http.server on 127.0.0.1 and stops it by its PID.
//   node page_test.mjs SITE_DIR STIMSEL_BINARY [SCREENSHOT.png]
import assert from 'node:assert/strict';
import {execFileSync, spawn} from 'node:child_process';
import {mkdtempSync, rmSync, writeFileSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {join, resolve} from 'node:path';
import puppeteer from 'puppeteer-core';

const [site, binaryArgument, screenshot] = process.argv.slice(2);
const binary = resolve(binaryArgument);
const work = mkdtempSync(join(tmpdir(), 'stimsel-page-'));
const port = 8000 + Math.floor(Math.random() * 1000);
const results = [];

async function check(name, body) {
  const started = Date.now();
  try {
    await body();
    results.push([name, true]);
    console.log(`ok ${name} (${Date.now() - started} ms)`);
  } catch (error) {
    results.push([name, false]);
    console.log(`FAILED ${name}: ${error.message}`);
  }
}

async function waitForServer() {
  for (let i = 0; i < 100; ++i) {
    try {
      if ((await fetch(`http://127.0.0.1:${port}/index.html`)).ok) return;
    } catch (e) { /* not up yet */ }
    await new Promise((resolve) => setTimeout(resolve, 100));
  }
  throw new Error('the web server did not start');
}

// Draws with the page's controls and waits for the list or a message.
async function draw(page) {
  await page.evaluate(() => { document.getElementById('status').textContent = ''; });
  await page.click('#draw');
  await page.waitForFunction(() => {
    const status = document.getElementById('status').textContent;
    return status !== '' && status !== 'Drawing...';
  });
}

const csv = ['word,valence,arousal,frequency'];
const kinds = [['glad', 8, 3], ['grim', 2, 3], ['desk', 5, 3], ['wild', 8.5, 7], ['rage', 2.5, 7],
  ['loud', 5.5, 6.5]];
for (let i = 0; i < 40; ++i) {
  for (const [word, v, a] of kinds) csv.push(`${word}${i},${v},${a},${10 + (i % 7)}`);
}
writeFileSync(join(work, 'mine.csv'), `${csv.join('\n')}\n`);
writeFileSync(join(work, 'bad.csv'), 'word,valence,arousal,frequency\nglad,8,3,10\nodd,8,high,10\n');
writeFileSync(join(work, 'tagged.csv'), 'word,valence,arousal,frequency,pos\nglad,8,3,10,adj\n' +
  'grim,2,3,10,adj\ndesk,5,3,10,adj\nsofa,5,3,10,n\n');

const server = spawn('python3', ['-m', 'http.server', String(port), '--bind', '127.0.0.1',
  '--directory', site], {stdio: 'ignore'});
let browser;
try {
  await waitForServer();
  browser = await puppeteer.launch({
    executablePath: '/usr/bin/chromium',
    userDataDir: join(work, 'profile'),
    args: ['--headless=new', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
  const page = await browser.newPage();
  await page.setViewport({width: 1280, height: 900});
  await page.goto(`http://127.0.0.1:${port}/index.html`);
  await page.waitForSelector('body[data-ready="true"]');

  await check('the sample list draws at once', async () => {
    await draw(page);
    const rows = await page.$$eval('#groups tbody tr', (r) => r.length);
    assert.equal(rows, 36);
    assert.match(await page.$eval('#plot', (p) => p.innerHTML), /<svg/);
    assert.match(await page.$eval('#report', (p) => p.textContent), /^Balance report/);
    if (screenshot) await page.screenshot({path: screenshot, fullPage: false});
  });

  await check('an uploaded CSV gives the list the command line gives', async () => {
    const input = await page.$('#norms-file');
    await input.uploadFile(join(work, 'mine.csv'));
    await page.waitForFunction(() => document.getElementById('norms-columns').textContent !== '');
    assert.equal(await page.$eval('#norms-columns', (p) => p.textContent),
      'Columns: word, valence, arousal, frequency');
    await page.$eval('#seed', (s) => { s.value = '42'; });
    await page.$eval('#words', (w) => { w.value = '12'; });
    await draw(page);
    const printed = await page.$eval('#output', (p) => p.textContent);
    const args = JSON.parse(await page.$eval('#results', (r) => r.dataset.args));
    const cli = execFileSync(binary, [...args, '--report', '--plot', 'list.svg', '--out',
      'list.json'], {cwd: work, encoding: 'utf8'});
    assert.equal(printed, cli);
    assert.match(printed, /\nDone\.\n$/);
  });

  await check('the CSV export downloads', async () => {
    await page.click('#downloads button[data-format="csv"]');
    await page.waitForSelector('#download-link');
    const text = await page.$eval('#download-link', (a) => fetch(a.href).then((r) => r.text()));
    const lines = text.trim().split('\r\n');
    assert.equal(lines[0], 'list,group,role,category,category_name,label,word,valence,' +
      'valence_sd,arousal,length,frequency,pos,source_line');
    assert.equal(lines.length, 13);
  });

  await check('a malformed file is named with its message', async () => {
    const input = await page.$('#norms-file');
    await input.uploadFile(join(work, 'bad.csv'));
    await page.waitForFunction(() => document.getElementById('norms-name').textContent
      .startsWith('bad.csv'));
    await draw(page);
    assert.equal(await page.$eval('#norms-error', (p) => p.textContent),
      'bad.csv:3: column arousal: value "high" is not a decimal number');
  });

  await check('a pos column fills the part-of-speech menu and filters', async () => {
    await (await page.$('#norms-file')).uploadFile(join(work, 'tagged.csv'));
    await page.waitForFunction(() => document.getElementById('pos').options.length === 3);
    assert.deepEqual(await page.$$eval('#pos option', (o) => o.map((x) => x.value)),
      ['', 'adj', 'n']);
    await page.select('#pos', 'adj');
    await page.select('#mode', 'NO');
    await page.$eval('#words', (w) => { w.value = '3'; });
    await draw(page);
    assert.deepEqual(await page.$$eval('#groups tbody tr td:nth-child(4)',
      (cells) => cells.map((c) => c.textContent)), ['glad', 'grim', 'desk']);
    await page.select('#pos', '');
    await page.select('#mode', 'YES');
    await (await page.$('#norms-file')).uploadFile(join(work, 'bad.csv'));
    await page.waitForFunction(() => document.getElementById('norms-name').textContent
      .startsWith('bad.csv'));
  });

  await check('a column named on the page reaches the program', async () => {
    await page.$eval('#columns', (c) => { c.value = 'valence=Val'; });
    await draw(page);
    assert.equal(await page.$eval('#norms-error', (p) => p.textContent),
      'bad.csv:1: no column named "Val" for valence; the columns are: word, valence, arousal, ' +
      'frequency');
    await page.$eval('#columns', (c) => { c.value = ''; });
  });
} finally {
  if (browser) await browser.close();
  server.kill();
  rmSync(work, {recursive: true, force: true});
}
const failed = results.filter(([, ok]) => !ok).length;
console.log(`${results.length - failed} passed, ${failed} failed`);
process.exit(failed === 0 && results.length > 0 ? 0 : 1);
