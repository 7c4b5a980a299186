// Times the page in Debian's chromium: the size of what a browser loads,
// then, for a norms file (the sample when none is given), how long each
// click of "Draw list" takes as the page itself reports it (a fresh module
// instance, the files written in, the run, the list, plot and report shown).
// Run by hand, not in CI: timings move with the machine's load.
//   node page_timing.mjs SITE_DIR [NORMS_FILE] [WORDS] [DRAWS]
import {spawn} from 'node:child_process';
import {mkdtempSync, rmSync, statSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {join, resolve} from 'node:path';
import puppeteer from 'puppeteer-core';

const [site, norms, words = '36', draws = '11'] = process.argv.slice(2);
const work = mkdtempSync(join(tmpdir(), 'stimsel-timing-'));
const port = 8000 + Math.floor(Math.random() * 1000);

const sizes = ['stimsel.wasm', 'stimsel.js', 'index.html', 'app.js', 'design.js', 'style.css']
  .map((name) => [name, statSync(join(site, name)).size]);
console.log(`page: ${sizes.map(([n, s]) => `${n} ${s}`).join(', ')}; ` +
  `${sizes.reduce((sum, [, s]) => sum + s, 0)} bytes`);

const server = spawn('python3', ['-m', 'http.server', String(port), '--bind', '127.0.0.1',
  '--directory', site], {stdio: 'ignore'});
let browser;
try {
  for (let i = 0; i < 100; ++i) {
    try {
      if ((await fetch(`http://127.0.0.1:${port}/index.html`)).ok) break;
    } catch (e) { /* not up yet */ }
    await new Promise((done) => setTimeout(done, 100));
  }
  browser = await puppeteer.launch({executablePath: '/usr/bin/chromium',
    userDataDir: join(work, 'profile'), args: ['--headless=new', '--no-sandbox', '--disable-gpu']});
  const page = await browser.newPage();
  await page.goto(`http://127.0.0.1:${port}/index.html`);
  await page.waitForSelector('body[data-ready="true"]');
  if (norms) {
    await (await page.$('#norms-file')).uploadFile(resolve(norms));
    await page.waitForFunction(() => /bytes\)$/.test(document.getElementById('norms-name')
      .textContent));
  }
  await page.$eval('#words', (w, n) => { w.value = n; }, words);
  await page.$eval('#seed', (s) => { s.value = '1'; });
  const times = [];
  for (let i = 0; i < Number(draws); ++i) {
    await page.$eval('#status', (s) => { s.textContent = ''; });
    await page.click('#draw');
    await page.waitForFunction(() => / ms\.$/.test(document.getElementById('status').textContent));
    times.push(Number((await page.$eval('#status', (s) => s.textContent)).match(/(\d+) ms/)[1]));
  }
  const warm = times.slice(1).sort((a, b) => a - b);
  console.log(`${norms || 'sample'}, ${words} words: first draw ${times[0]} ms; the next ` +
    `${warm.length}: median ${warm[Math.floor(warm.length / 2)]} ms, ${warm[0]} to ` +
    `${warm[warm.length - 1]} ms`);
} finally {
  if (browser) await browser.close();
  server.kill();
  rmSync(work, {recursive: true, force: true});
}
