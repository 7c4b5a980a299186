// Drives the page in Debian's chromium: the default list, an uploaded norms
// CSV compared byte for byte with the command line on the same inputs, the
// CSV download, and the message of a malformed file. Serves the page with
// python3 -m http.server on 127.0.0.1 and stops it by its PID.
//   node page_test.mjs SITE_DIR STIMSEL_BINARY [SCREENSHOT.png]
import assert from 'node:assert/strict';
import {execFileSync, spawn, spawnSync} from 'node:child_process';
import {copyFileSync, mkdirSync, mkdtempSync, readFileSync, rmSync, symlinkSync, writeFileSync} from 'node:fs';
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

// Ratings with exact binary ties (8.0625, printed 8.062) and frequencies
// that are not whole (10.125, printed 10.12) test the group table's digits.
const decimals = ['word,valence,arousal,frequency'];
for (let i = 0; i < 30; ++i) {
  for (const [word, v, a] of kinds) {
    decimals.push(`${word}${i},${v + 0.0625 * (i % 2)},${a},${10 + (i % 7) + 0.125 * (i % 3)}`);
  }
}
writeFileSync(join(work, 'warriner.csv'), `${decimals.join('\n')}\n`);
// Ten groups, then one word per category that no other is close to in
// frequency, and a row left out for its missing rating.
const unmatched = kinds.map(([word, v, a], k) => `${word}x,${v},${a},${100 + 50 * k}`);
writeFileSync(join(work, 'warn.csv'),
  `${[...csv.slice(0, 61), ...unmatched, 'odd,8,NA,10'].join('\n')}\n`);
writeFileSync(join(work, 'my norms.csv'), `${csv.join('\n')}\n`);
writeFileSync(join(work, "used 'words'.txt"), '2\nglad1\nrage2\n');
// Norms of realistic shape for designs, with per-million frequencies (so
// Zipf values are computed).
copyFileSync(new URL('../../data/examples/lexicon-style.csv', import.meta.url),
  join(work, 'lexicon.csv'));
mkdirSync(join(work, 'bin'));
symlinkSync(binary, join(work, 'bin', 'stimsel'));

// The command line's output for the same inputs, whatever its status.
function cli(args) {
  const run = spawnSync(binary, args, {cwd: work, encoding: 'utf8'});
  return {status: run.status, stdout: run.stdout};
}

async function upload(page, role, name) {
  await (await page.$(`#${role}-file`)).uploadFile(join(work, name));
  await page.waitForFunction((r, n) => document.getElementById(`${r}-name`).textContent
    .startsWith(`${n} (`), {}, role, name);
}

async function setValue(page, id, value) {
  await page.click(`#${id}`, {clickCount: 3});
  await page.keyboard.type(value);
}

const pageArgs = (page) => page.$eval('#results', (r) => JSON.parse(r.dataset.args));
const text = (page, selector) => page.$eval(selector, (e) => e.textContent);

// Adds a row to the design and fills it in: a menu by its value, a text
// field by typing.
async function addRow(page, kind, values) {
  await page.click(`.add[data-kind="${kind}"]`);
  for (const [name, value] of Object.entries(values)) {
    const selector = `#${kind}-rows .design-row:last-child [data-name="${name}"]`;
    if (await page.$eval(selector, (e) => e.tagName) === 'SELECT') {
      await page.select(selector, value);
    } else {
      await page.type(selector, value);
    }
  }
}

// The design part's controls that no label names or that Tab does not
// reach, starting from the first of them.
async function designGaps(page) {
  const controls = await page.$$eval('#design :is(input, select, button)', (all) => all.map((c) =>
    ({id: c.id || c.textContent, named: c.labels?.length > 0 || c.tagName === 'BUTTON'})));
  await page.focus('#design select');
  const reached = new Set();
  for (const _ of controls) {
    reached.add(await page.evaluate(() => document.activeElement.id ||
      document.activeElement.textContent));
    await page.keyboard.press('Tab');
  }
  return controls.filter((c) => !c.named || !reached.has(c.id)).map((c) => c.id);
}

async function download(page, format) {
  const before = await page.evaluate(() => document.getElementById('download-link')?.href);
  await page.click(`#downloads button[data-format="${format}"]`);
  await page.waitForFunction((b) => document.getElementById('download-link') &&
    document.getElementById('download-link').href !== b, {}, before);
  return page.$eval('#download-link', (a) => fetch(a.href).then(async (r) =>
    ({name: a.download, text: await r.text()})));
}

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

  await check('a file over 10 MB says how far it has been read', async () => {
    const row = 'glad,8,3,10\n';
    writeFileSync(join(work, 'large.csv'), `word,valence,arousal,frequency\n${
      row.repeat(Math.ceil((11 * 1024 * 1024) / row.length))}`);
    await page.evaluate(() => {
      window.seenNames = [];
      new MutationObserver(() => window.seenNames.push(document.getElementById('norms-name')
        .textContent)).observe(document.getElementById('norms-name'), {childList: true});
    });
    await upload(page, 'norms', 'large.csv');
    const seen = await page.evaluate(() => window.seenNames);
    assert.match(seen[0], /^Reading large\.csv: \d+%$/);
    assert.match(seen.at(-1), /^large\.csv \(11534\d{3} bytes\)$/);
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

  await check('the Zipf box sets the tolerance to 0.2 and back, keeping typed ones', async () => {
    await upload(page, 'norms', 'mine.csv');
    await setValue(page, 'words', '12');
    const tick = () => page.click('#zipf');
    const type = (value) => () => setValue(page, 'frequency-tolerance', value);
    for (const [name, actions, value, label] of [
      ['ticked: the Zipf default', [tick], '0.2', 'Zipf'],
      ['unticked: the frequency default', [tick], '10', 'Frequency'],
      ['5 typed, ticked, unticked', [type('5'), tick, tick], '5', 'Frequency'],
      ['ticked, 0.3 typed, unticked, ticked', [tick, type('0.3'), tick, tick], '0.3', 'Zipf'],
    ]) {
      for (const action of actions) await action();
      assert.equal(await page.$eval('#frequency-tolerance', (f) => f.value), value, name);
      assert.equal(await text(page, '#frequency-tolerance-label'), `${label} tolerance`, name);
    }
    await type('0.2')();
    await draw(page);
    assert.deepEqual((await pageArgs(page)).slice(-4), ['--zipf-tolerance', '0.2', '--seed', '42']);
    await tick();
    await type('10')();
  });

  await check('the roles the program used replace the list of columns', async () => {
    await upload(page, 'norms', 'warriner.csv');
    assert.equal(await text(page, '#norms-columns'), 'Columns: word, valence, arousal, frequency');
    await setValue(page, 'seed', '1');
    await draw(page);
    const used = cli(await pageArgs(page)).stdout.split('\n')
      .filter((line) => /^(Reading|Matching): /.test(line));
    assert.equal(used.length, 2);
    assert.equal(await text(page, '#norms-columns'), used.join('\n'));
  });

  await check('the group table holds the digits the program prints, aligned; the report wraps',
    async () => {
      const printed = new Map(cli(await pageArgs(page)).stdout.split('\n')
        .map((line) => line.split('\t')).filter((f) => f.length === 7 && /^\d+$/.test(f[0]))
        .map((f) => [f[1].trimEnd(), f.slice(3).join(' ')]));
      const rows = await page.$$eval('#groups tbody tr', (trs) => trs.map((tr) =>
        [...tr.cells].map((c) => c.textContent)));
      assert.equal(rows.length, 12);
      for (const row of rows) assert.equal(row.slice(4).join(' '), printed.get(row[3]), row[3]);
      assert.ok(rows.some((r) => r[4].endsWith('.062')) && rows.some((r) => /\.12$/.test(r[7])));
      assert.deepEqual(await page.$$eval('#groups td.num', (cells) => [...new Set(cells.map((c) =>
        `${getComputedStyle(c).textAlign} ${getComputedStyle(c).fontVariantNumeric}`))]),
      ['right tabular-nums']);
      const report = await page.$eval('#report', (r) => [r.scrollWidth, r.clientWidth]);
      assert.ok(report[0] <= report[1], `the report is ${report[0]} px wide in ${report[1]} px`);
    });

  await check('downloads are named from the norms file and the seed, with the program\'s bytes',
    async () => {
      const args = await pageArgs(page);
      for (const [format, option] of [['csv', '--out'], ['tsv', '--out'], ['json', '--out'],
        ['svg', '--plot']]) {
        const got = await download(page, format);
        assert.equal(got.name, `warriner-seed1.${format}`);
        cli([...args, option, got.name]);
        assert.equal(got.text, readFileSync(join(work, got.name), 'utf8'), format);
      }
    });

  await check('warnings and a short list are shown beside the status, as the program says them',
    async () => {
      await upload(page, 'norms', 'warn.csv');
      await setValue(page, 'words', '600');
      await draw(page);
      const expected = cli(await pageArgs(page));
      assert.equal(expected.status, 3);
      const lines = expected.stdout.split('\n');
      const only = lines.findIndex((l) => /^Only \d+ of 600 words could be matched\.$/.test(l));
      const wanted = [...lines.filter((l) => l.startsWith('Warning: ')), lines[only],
        lines[only + 1], ...lines.filter((l) => l.startsWith('Of the categories in play, '))];
      assert.equal(wanted.length, 4);
      assert.deepEqual(await page.$$eval('#outcome #notices p',
        (ps) => ps.map((p) => p.textContent)), wanted);
      assert.match(await text(page, '#outcome #status'), /ended short \(exit status 3\)/);
    });

  await check('every change of files or options takes the previous result off the page',
    async () => {
      await upload(page, 'norms', 'warriner.csv');
      await setValue(page, 'words', '12');
      for (const [name, change] of [
        ['a new norms file', () => upload(page, 'norms', 'mine.csv')],
        ['the number of words', () => setValue(page, 'words', '18')],
        ['the categories', () => page.select('#mode', 'NO')],
        ['the Zipf box', () => page.click('#zipf')],
        ['a new seed', () => page.click('#new-seed')],
        ['an exclusion file', () => upload(page, 'exclude', "used 'words'.txt")],
        ['a column name', () => setValue(page, 'columns', 'word=word')],
      ]) {
        await draw(page);
        await download(page, 'csv');
        await change();
        assert.deepEqual(await page.evaluate(() => ({
          hidden: document.getElementById('results').hidden,
          shown: ['groups', 'plot', 'report', 'notices', 'command', 'output']
            .filter((id) => document.getElementById(id).textContent !== ''),
          link: document.getElementById('download-link') !== null,
        })), {hidden: true, shown: [], link: false}, name);
      }
      await page.select('#mode', 'YES');
      await page.click('#zipf');
      await setValue(page, 'columns', '');
    });

  await check('the copied command draws the same list with the command line', async () => {
    await browser.defaultBrowserContext().overridePermissions(`http://127.0.0.1:${port}`,
      ['clipboard-read', 'clipboard-sanitized-write']);
    await upload(page, 'norms', 'my norms.csv');
    await setValue(page, 'lists', '2');
    await page.select('#match', 'all');
    await page.click('#zipf');
    await setValue(page, 'seed', '9');
    await draw(page);
    await page.click('#copy-command');
    await page.waitForFunction(() => document.getElementById('copied').textContent === 'Copied.');
    const copied = await page.evaluate(() => navigator.clipboard.readText());
    const shell = (extra) => execFileSync('bash', ['-c', `${copied}${extra}`], {cwd: work,
      encoding: 'utf8', env: {...process.env, PATH: `${join(work, 'bin')}:${process.env.PATH}`}});
    const printed = await text(page, '#output');
    assert.match(printed, /Marking bad word glad1/);
    assert.equal(shell(''), `${printed.slice(0, printed.indexOf('\nBalance report\n'))}Done.\n`);
    shell(' --out copied.csv');
    assert.equal((await download(page, 'csv')).text,
      readFileSync(join(work, 'copied.csv'), 'utf8'));
  });

  // A fresh page for the designs: no files but the norms.
  await page.goto(`http://127.0.0.1:${port}/index.html`);
  await page.waitForSelector('body[data-ready="true"]');
  const splits = ['valence=neg:[1,4) pos:(6,9]', 'concreteness=abstract:[1,2.5) concrete:[3.5,5]'];

  await check('a design of two splits, two controls and a condition reaches the program',
    async () => {
      await upload(page, 'norms', 'lexicon.csv');
      await setValue(page, 'words', '16');
      await setValue(page, 'seed', '3');
      await page.select('#mode', 'NO');
      for (const split of splits) {
        const [variable, bands] = split.split('=');
        await addRow(page, 'split', {variable, bands});
      }
      assert.deepEqual(await page.$$eval('#split-rows :first-child [data-name="variable"] option',
        (o) => o.map((x) => x.value)), ['word', 'valence', 'valence_sd', 'arousal', 'dominance',
        'concreteness', 'aoa', 'SUBTLWF', 'length', 'zipf']);
      await addRow(page, 'control', {variable: 'aoa', tolerance: '1.5'});
      await addRow(page, 'control', {variable: 'zipf', tolerance: '0.3'});
      await addRow(page, 'filter', {variable: 'arousal', operator: '<', number: '6'});
      assert.deepEqual(await page.$$eval('#mode, #length-tolerance, #frequency-tolerance, #zipf',
        (all) => all.map((c) => `${c.id} ${c.disabled}`)), ['mode true', 'length-tolerance true',
        'frequency-tolerance true', 'zipf true']);
      await draw(page);
      const args = await pageArgs(page);
      assert.deepEqual(args, ['16', 'YES', '0', '--norms', 'lexicon.csv', '--split', splits[0],
        '--split', splits[1], '--control', 'aoa=1.5', '--control', 'zipf=0.3',
        '--where', 'arousal < 6', '--seed', '3']);
      const expected = cli([...args, '--report', '--plot', 'list.svg', '--out', 'list.json']);
      assert.equal(expected.status, 0);
      assert.equal(await text(page, '#output'), expected.stdout);
      assert.match(await text(page, '#norms-columns'), /\nWhere: \d+ words .* arousal < 6, /);
      const got = await download(page, 'csv');
      cli([...args, '--out', got.name]);
      assert.equal(got.text, readFileSync(join(work, got.name), 'utf8'));
    });

  await check('a design\'s table holds the categories and digits the program prints', async () => {
    const printed = new Map(cli(await pageArgs(page)).stdout.split('\n')
      .map((line) => line.split('\t')).filter((f) => f.length === 7 && /^\d+$/.test(f[0]))
      .map((f) => [f[1].trimEnd(), f.slice(2).join(' ')]));
    const rows = await page.$$eval('#groups tr', (trs) => trs.map((tr) =>
      [...tr.cells].map((c) => c.textContent)));
    assert.deepEqual(rows.shift(), ['Group', 'Role', 'Category', 'Word', 'valence',
      'concreteness', 'aoa', 'zipf']);
    assert.equal(rows.length, 16);
    for (const row of rows) assert.equal([row[2], ...row.slice(4)].join(' '), printed.get(row[3]));
  });

  await check('balance, the Latin square and the datasheet reach the program, and the copied ' +
    'command draws the same', async () => {
    await browser.defaultBrowserContext().overridePermissions(`http://127.0.0.1:${port}`,
      ['clipboard-read', 'clipboard-sanitized-write']);
    await setValue(page, 'lists', '2');
    await page.click('#balance');
    await page.click('#latin-square');
    await draw(page);
    const args = await pageArgs(page);
    assert.deepEqual(args.slice(-4), ['--balance', '--latin-square', '--seed', '3']);
    const lines = cli([...args, '--report', '--plot', 'list.svg', '--out', 'list.json']).stdout;
    assert.equal(await text(page, '#output'), lines);
    const heading = lines.split('\n').findIndex((l) => l.startsWith('Counterbalancing '));
    assert.deepEqual(await page.$$eval('#schedule :is(caption, tr)', (all) => all.map((r) =>
      (r.cells ? [...r.cells].map((c) => c.textContent).join('\t') : r.textContent))),
    lines.split('\n').slice(heading, heading + 4));
    cli([...args, '--out', 'lexicon-seed3.csv']);
    cli([...args, '--datasheet', 'lexicon-seed3-datasheet.md']);
    const written = (name) => readFileSync(join(work, name), 'utf8');
    for (const format of ['csv', 'schedule', 'datasheet-md', 'datasheet-json']) {
      const got = await download(page, format);
      assert.equal(got.name, `lexicon-seed3${{csv: '.csv', schedule: '-schedule.csv',
        'datasheet-md': '-datasheet.md', 'datasheet-json': '-datasheet.json'}[format]}`);
      assert.equal(got.text, written(got.name), format);
    }
    await page.click('#copy-command');
    await page.waitForFunction(() => document.getElementById('copied').textContent === 'Copied.');
    execFileSync('bash', ['-c', `${await page.evaluate(() => navigator.clipboard.readText())} ` +
      '--out copied.csv'], {cwd: work, env: {...process.env, PATH: `${join(work, 'bin')}:` +
      process.env.PATH}});
    assert.equal(written('copied.csv'), written('lexicon-seed3.csv'));
    assert.equal(written('copied-schedule.csv'), written('lexicon-seed3-schedule.csv'));
  });

  await check('a bad band is said at the design; a column the next file lacks stays, marked',
    async () => {
      const bands = '#split-rows .design-row:first-child [data-name="bands"]';
      const good = await pageArgs(page);
      await page.$eval(bands, (b) => { b.value = 'neg:[1,4) pos:(3,9]'; });
      await draw(page);
      const bad = cli(good.map((a) => a.replace('pos:(6,9]', 'pos:(3,9]'))).stdout.trim()
        .split('\n').pop();
      assert.match(bad, /^stimsel: bad value .* for --split: bands neg:\[1,4\) and pos:\(3,9\] /);
      assert.deepEqual([await text(page, '#design-error'), await text(page, '#status')],
        [bad, 'Stopped: see the message at the design.']);
      await page.$eval(bands, (b) => { b.value = 'neg:[1,4) pos:(6,9]'; });
      await upload(page, 'norms', 'mine.csv');
      assert.deepEqual(await page.$$eval('#split-rows select[data-name="variable"]', (all) =>
        all.map((s) => `${s.value} ${s.selectedOptions[0].parentElement.label}`)),
      ['valence Columns of mine.csv', 'concreteness Not in this file']);
      await draw(page);
      assert.match(await text(page, '#norms-error'),
        /^mine\.csv:1: no column named "concreteness" /);
      await upload(page, 'norms', 'lexicon.csv');
    });

  await check('adding, editing and removing a design row takes the result off the page',
    async () => {
      const last = '#filter-rows .design-row:last-child';
      for (const [name, change] of [
        ['a condition added', () => addRow(page, 'filter', {operator: '>', number: '1'})],
        ['a number typed', () => page.type(`${last} input`, '.5')],
        ['an operator chosen', () => page.select(`${last} [data-name="operator"]`, '!=')],
        ['a condition removed', () => page.click(`${last} button`)],
      ]) {
        await draw(page);
        await change();
        assert.deepEqual(await page.evaluate(() => [document.getElementById('results').hidden,
          document.getElementById('groups').textContent]), [true, ''], name);
      }
      await page.click('#split-rows .design-row:first-child button');
      assert.deepEqual(await page.evaluate(() => [document.activeElement.textContent,
        document.querySelector('#split-rows .row-name').textContent,
        document.getElementById('mode').disabled]), ['Add a split', 'Split 1', true]);
    });

  // A fresh page: the sample again, at a phone's width.
  await page.setViewport({width: 360, height: 740});
  await page.goto(`http://127.0.0.1:${port}/index.html`);
  await page.waitForSelector('body[data-ready="true"]');

  await check('at 360 px the sample draws without the page scrolling sideways', async () => {
    await setValue(page, 'seed', '1');
    await draw(page);
    assert.equal((await download(page, 'csv')).name, 'KOVA-seed1.csv');
    const widths = await page.evaluate(() => [document.documentElement.scrollWidth,
      document.body.scrollWidth, document.documentElement.clientWidth]);
    assert.ok(Math.max(widths[0], widths[1]) <= widths[2], `widths ${widths}`);
  });

  await check('every control is labelled and reached by the keyboard', async () => {
    const controls = await page.$$eval('input, select, button, summary', (all) => all
      .filter((c) => c.offsetParent !== null).map((c) => ({
        key: c.id || c.dataset.format || c.textContent.trim(),
        named: c.labels?.length > 0 || (/^(BUTTON|SUMMARY)$/.test(c.tagName) &&
          c.textContent.trim() !== ''),
      })));
    assert.deepEqual(controls.filter((c) => !c.named), []);
    await page.evaluate(() => document.activeElement.blur());
    const reached = new Set();
    for (let i = 0; i < controls.length + 5; ++i) {
      await page.keyboard.press('Tab');
      reached.add(await page.evaluate(() => {
        const e = document.activeElement;
        return e.id || e.dataset.format || e.textContent.trim();
      }));
    }
    assert.deepEqual(controls.map((c) => c.key).filter((k) => !reached.has(k)), []);
  });

  await check('at 360 px the design\'s rows fit, labelled and reached by the keyboard',
    async () => {
      await addRow(page, 'split', {variable: 'valence', bands: 'neg:[1,4) pos:(6,9]'});
      await addRow(page, 'split', {variable: 'arousal', bands: 'calm:[1,5] aroused:(5,9]'});
      await addRow(page, 'control', {variable: 'length', tolerance: '1'});
      await addRow(page, 'filter', {variable: 'valence_sd', operator: '<=', number: '2'});
      await page.click('#balance');
      await setValue(page, 'seed', '3');
      await draw(page);
      assert.match(await text(page, '#status'), /^Done\./);
      const widths = await page.evaluate(() => [document.documentElement.scrollWidth,
        document.documentElement.clientWidth]);
      assert.ok(widths[0] <= widths[1], `widths ${widths}`);
      assert.deepEqual(await designGaps(page), []);
    });

  if (screenshot) {
    await page.setViewport({width: 1280, height: 900});
    await page.evaluate(() => document.activeElement.blur());
    const top = await page.$eval('#words',
      (w) => w.closest('fieldset').getBoundingClientRect().top + scrollY - 16);
    await page.screenshot({path: screenshot, clip: {x: 0, y: top, width: 1280, height: 1500},
      captureBeyondViewport: true});
  }
} finally {
  if (browser) await browser.close();
  server.kill();
  rmSync(work, {recursive: true, force: true});
}
const failed = results.filter(([, ok]) => !ok).length;
console.log(`${results.length - failed} passed, ${failed} failed`);
process.exit(failed === 0 && results.length > 0 ? 0 : 1);
