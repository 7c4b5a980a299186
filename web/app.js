// The page: the same program as the command line, compiled to WebAssembly.
// Each run makes a fresh module instance, writes the files into its
// in-memory file system, calls main with the arguments the controls give,
// and reads back what it printed and the files it wrote. Whatever is shown
// of a run (list, plot, report, notices, downloads) belongs to the settings
// it ran with: any change of a file or an option takes it off the page.
import {designArguments, hasRows, refreshVariables, setUpDesign} from './design.js';
import createStimsel from './stimsel.js';

const roles = ['norms', 'tags', 'exclude', 'frequency'];
const files = {norms: null, tags: null, exclude: null, frequency: null};
const sample = {};
const $ = (id) => document.getElementById(id);

// Bumped by every change of the settings: a run that finishes after one
// belongs to settings no longer on the page and is dropped.
let generation = 0;

// The tolerance each scale of the frequency field last held, so that the
// Zipf box never turns a tolerance in frequency units into a Zipf one.
const tolerances = {frequency: '10', zipf: '0.2'};

// A file name the command line reads as a file: two characters at least,
// never taken for an option.
function safeName(name) {
  return name.length < 2 || name.startsWith('-') ? `file-${name}` : name;
}

// The WebAssembly is compiled once, while the page loads; every run then
// only instantiates it, with memory of its own.
let compiled = null;

function compile() {
  compiled ??= fetch(new URL('stimsel.wasm', import.meta.url))
    .then((response) => response.arrayBuffer()).then((bytes) => WebAssembly.compile(bytes));
  return compiled;
}

function instantiateWasm(imports, receive) {
  compile().then((module) => WebAssembly.instantiate(module, imports)
    .then((instance) => receive(instance, module)))
    .catch((error) => { $('status').textContent = `The program could not start: ${error}`; });
  return {};
}

async function run(args, readBack = []) {
  let printed = '';
  const module = await createStimsel({
    print: (line) => { printed += `${line}\n`; },
    printErr: (line) => { printed += `${line}\n`; },
    noInitialRun: true,
    instantiateWasm,
  });
  module.FS.mkdir('/work');
  module.FS.chdir('/work');
  for (const file of [sample.norms, sample.tags, ...Object.values(files)]) {
    if (file) module.FS.writeFile(file.name, file.bytes);
  }
  const status = module.callMain(args);
  const outputs = {};
  for (const name of readBack) {
    try { outputs[name] = module.FS.readFile(name); } catch (e) { /* not written */ }
  }
  return {status, printed, outputs};
}

function numberOf(id, fallback) {
  const value = $(id).value.trim();
  return value === '' ? fallback : value;
}

// The List part's tolerances, unless the design's controls replace them.
function toleranceArguments() {
  if (hasRows('control')) return [];
  const length = numberOf('length-tolerance', '2');
  const lengthArguments = length === '2' ? [] : ['--length-tolerance', length];
  return [...lengthArguments, ...frequencyArguments()];
}

function frequencyArguments() {
  if ($('zipf').checked) return ['--zipf-tolerance', numberOf('frequency-tolerance', '0.2')];
  const tolerance = numberOf('frequency-tolerance', '10');
  return tolerance === '10' ? [] : ['--frequency-tolerance', tolerance];
}

// The command line for the controls, as a researcher would type it, with
// the seed last, where the program's own "draw this list again" puts it.
function argumentsFor() {
  // A design's own categories are all drawn: the second position is YES.
  const mode = hasRows('split') ? 'YES' : $('mode').value;
  const args = [numberOf('words', '36'), mode, files.exclude ? files.exclude.name : '0'];
  if ($('pos').value) args.push($('pos').value);
  if (files.norms) args.push('--norms', files.norms.name);
  if ($('norms-format').value) args.push('--norms-format', $('norms-format').value);
  if ($('header-lines').value) args.push('--header-lines', $('header-lines').value);
  if ($('scale').value.trim()) args.push('--scale', $('scale').value.trim());
  for (const column of $('columns').value.split(',')) {
    if (column.trim()) args.push('--column', column.trim());
  }
  if (files.tags) args.push('--tags', files.tags.name);
  if (files.frequency) args.push('--frequency', files.frequency.name);
  if (files.frequency && $('frequency-column').value.trim()) {
    args.push('--frequency-column', $('frequency-column').value.trim());
  }
  if (numberOf('lists', '1') !== '1') args.push('--lists', numberOf('lists', '1'));
  args.push(...toleranceArguments());
  if ($('match').value === 'all') args.push('--match', 'all');
  args.push(...designArguments());
  if ($('balance').checked) args.push('--balance');
  if ($('latin-square').checked) args.push('--latin-square');
  args.push('--seed', $('seed').value);
  return args;
}

// As the program quotes a word in the command it prints: plain words bare,
// anything else in single quotes.
function shellWord(word) {
  if (/^[A-Za-z0-9_./=:,+-]+$/.test(word)) return word;
  return `'${word.replaceAll("'", "'\\''")}'`;
}

const seedOf = (args) => args[args.length - 1];

function commandFor(args) {
  return ['stimsel', ...args].map(shellWord).join(' ');
}

// An output's name, never that of an input, which the program would refuse
// to overwrite.
function notAnInput(name) {
  const inputs = [sample.norms, sample.tags, ...Object.values(files)].filter((f) => f);
  return inputs.some((f) => f.name === name) ? `stimsel-${name}` : name;
}

// Downloads are named from the norms file and the seed (warriner-seed1.csv;
// the datasheet warriner-seed1-datasheet.md, apart from the JSON export).
function downloadName(args, extension, suffix = '') {
  const norms = files.norms ? files.norms.name : sample.norms.name;
  const stem = norms.replace(/\.[^.]*$/, '') || norms;
  return notAnInput(`${stem}-seed${seedOf(args)}${suffix}.${extension}`);
}

function newSeed() {
  $('seed').value = String(crypto.getRandomValues(new Uint32Array(1))[0]);
}

function clearErrors() {
  for (const role of roles) $(`${role}-error`).textContent = '';
  $('design-error').textContent = '';
}

// A message about the design's options, as the command line words it
// ("bad value '...' for --split: ...", "--split makes its own categories").
const designMessage = /(^stimsel: |for )--(split|control|where)\b/;

// Shows a message that stops the run next to the file it names.
function showError(printed) {
  const lines = printed.trim().split('\n');
  const message = lines[lines.length - 1];
  const role = roles.find((r) => {
    const file = files[r] || sample[r];
    return file && message.includes(file.name);
  });
  if (role) {
    $(`${role}-error`).textContent = message;
    $('status').textContent = `Stopped: see the message at the ${role} file.`;
  } else if (designMessage.test(message)) {
    $('design-error').textContent = message;
    $('status').textContent = 'Stopped: see the message at the design.';
  } else {
    $('status').textContent = message;
  }
}

// The lines of a run a user must not miss, as the program printed them:
// warnings, and a shortfall with its reason and the notes that follow the
// table.
const noticeLines = [/^Warning: /, /^\d+ more groups were drawn but left out, /,
  /^\d+ groups? (was|were) completed by direct draws /, /^Of the categories in play, /];

function noticesOf(printed) {
  const lines = printed.split('\n');
  const notices = [];
  for (let i = 0; i < lines.length; ++i) {
    if (/^Only \d+ of \d+ words could be matched\.$/.test(lines[i])) {
      notices.push(lines[i]);
      if (lines[i + 1]) notices.push(lines[++i]);
    } else if (noticeLines.some((pattern) => pattern.test(lines[i]))) {
      notices.push(lines[i]);
    }
  }
  return notices;
}

function showNotices(printed) {
  $('notices').replaceChildren(...noticesOf(printed).map((line) => {
    const p = document.createElement('p');
    p.textContent = line;
    p.className = line.startsWith('Warning: ') ? 'warning' : 'shortfall';
    return p;
  }));
}

// Numbers as the program's table prints them: ratings (single precision)
// to three decimals, a whole frequency bare and any other to two. printf
// rounds an exact tie to even (7.0625 -> "7.062") where toFixed rounds it
// up; a binary number is such a tie only when it is an odd multiple of
// 2^-(decimals + 1). printf also keeps the sign of a negative zero.
function fixed(value, decimals) {
  if (Object.is(value, -0)) return `-${(0).toFixed(decimals)}`;
  const halves = Math.abs(value) * 2 ** (decimals + 1);
  if (!Number.isInteger(halves) || halves % 2 === 0) return value.toFixed(decimals);
  const below = (halves * 5 ** decimals - 1) / 2;
  const digits = String(below % 2 === 0 ? below : below + 1).padStart(decimals + 1, '0');
  return `${value < 0 ? '-' : ''}${digits.slice(0, -decimals)}.${digits.slice(-decimals)}`;
}

const ratingText = (value) => fixed(Math.fround(value), 3);
const frequencyText = (value) => (Number.isInteger(value) ? String(value) : fixed(value, 2));

// C's "%.{precision}g": the value to that many significant digits, in
// exponent form when its exponent is below -4 or not below the precision,
// trailing zeros dropped.
function gText(value, precision) {
  const strip = (t) => (t.includes('.') ? t.replace(/0+$/, '').replace(/\.$/, '') : t);
  const [mantissa, exponentText] = value.toExponential(precision - 1).split('e');
  const exponent = Number(exponentText);
  if (exponent >= -4 && exponent < precision) {
    return strip(value.toFixed(precision - 1 - exponent));
  }
  const sign = exponent < 0 ? '-' : '+';
  return `${strip(mantissa)}e${sign}${String(Math.abs(exponent)).padStart(2, '0')}`;
}

// A design's value as the program prints one it read: a whole number bare,
// any other in the fewest digits that read back as the same double.
function readText(value) {
  if (Number.isInteger(value) && Math.abs(value) < 1e15) return String(value);
  for (let digits = 1; digits < 17; ++digits) {
    if (Number(value.toPrecision(digits)) === value) return gText(value, digits);
  }
  return gText(value, 17);
}

// A computed value as the program prints it: taken to 15 significant
// digits, then rounded half away from zero to `decimals`, never "-0.00".
function statisticText(value, decimals) {
  if (Number.isNaN(value)) return 'nan';
  if (!Number.isFinite(value)) return value < 0 ? '-inf' : 'inf';
  const [mantissa, exponentText] = value.toExponential(14).split('e');
  const digits = mantissa.replace(/[-.]/g, '');
  const kept = Number(exponentText) + decimals + 1;
  let units = kept >= 15 ? digits.padEnd(kept, '0') : digits.slice(0, Math.max(kept, 0));
  if (kept >= 0 && kept < 15 && digits[kept] >= '5') units = String(BigInt(`0${units}`) + 1n);
  units = units.replace(/^0+/, '') || '0';
  const zero = units === '0';
  units = units.padStart(decimals + 1, '0');
  if (decimals > 0) units = `${units.slice(0, -decimals)}.${units.slice(-decimals)}`;
  return mantissa.startsWith('-') && !zero ? `-${units}` : units;
}

function cell(row, text, numeric = false) {
  const td = row.insertCell();
  td.textContent = text;
  if (numeric) td.className = 'num';
}

// The columns of the affect design's table: each a heading, whether it is
// a number, and its text for a row of the JSON export.
const affectColumns = [['Group', true, (r) => String(r.group)], ['Role', false, (r) => r.role],
  ['Category', false, (r) => `${r.category_name.replace('_', ' ')} (${r.label.trim()})`],
  ['Word', false, (r) => r.word], ['Valence', true, (r) => ratingText(r.valence)],
  ['Arousal', true, (r) => ratingText(r.arousal)], ['Length', true, (r) => String(r.length)],
  ['Frequency', true, (r) => frequencyText(r.frequency)]];

// A design's own: its category names, then one column per split and control
// variable (the export's columns between "word" and "pos"), computed Zipf
// values to two decimals as the program's table prints them.
function designColumns(rows) {
  const keys = Object.keys(rows[0] ?? {});
  const variables = keys.slice(keys.indexOf('word') + 1, keys.indexOf('pos'));
  return [...affectColumns.slice(0, 2), ['Category', false, (r) => r.category_name],
    affectColumns[3], ...variables.map((name) => [name, true, (r) => (name.toLowerCase() === 'zipf'
      ? statisticText(r[name], 2) : readText(r[name]))])];
}

function groupTable(caption, columns, rows) {
  const table = document.createElement('table');
  table.createCaption().textContent = caption;
  const head = table.createTHead().insertRow();
  for (const [name, numeric] of columns) {
    const th = document.createElement('th');
    th.textContent = name;
    th.scope = 'col';
    if (numeric) th.className = 'num';
    head.appendChild(th);
  }
  const body = table.createTBody();
  for (const r of rows) {
    const row = body.insertRow();
    for (const [, numeric, text] of columns) cell(row, text(r), numeric);
  }
  return table;
}

// The counterbalancing schedule the program printed after the list: its
// heading, then a participant group and its list in each condition a line.
function showSchedule(printed) {
  const lines = printed.split('\n');
  const start = lines.findIndex((l) => l.startsWith('Counterbalancing schedule: '));
  if (start < 0) return;
  const table = document.createElement('table');
  table.createCaption().textContent = lines[start];
  const end = lines.findIndex((l, i) => i > start && !l.includes('\t'));
  const [heading, ...rows] = lines.slice(start + 1, end).map((l) => l.split('\t'));
  const head = table.createTHead().insertRow();
  for (const name of heading) {
    const th = document.createElement('th');
    Object.assign(th, {textContent: name, scope: 'col'});
    head.appendChild(th);
  }
  const body = table.createTBody();
  for (const fields of rows) {
    const row = body.insertRow();
    for (const [i, field] of fields.entries()) cell(row, field, i === 0);
  }
  $('schedule').replaceChildren(table);
}

function showGroups(rows, ownCategories) {
  const lists = [...new Set(rows.map((r) => r.list))];
  const columns = ownCategories ? designColumns(rows) : affectColumns;
  $('groups').replaceChildren(...lists.map((list) => groupTable(
    lists.length > 1 ? `List ${list}` : 'Groups', columns, rows.filter((r) => r.list === list))));
}

// Takes every trace of the last run off the page.
function clearResult() {
  ++generation;
  $('results').hidden = true;
  delete $('results').dataset.args;
  for (const id of ['groups', 'schedule', 'plot', 'notices']) $(id).replaceChildren();
  for (const id of ['report', 'output', 'command', 'copied']) $(id).textContent = '';
  removeDownloadLink();
  clearErrors();
  showColumns();
}

function settingsChanged() {
  clearResult();
  $('status').textContent = 'Ready: draw a list with these settings.';
}

function removeDownloadLink() {
  const link = $('download-link');
  if (!link) return;
  URL.revokeObjectURL(link.href);
  link.remove();
}

// The roles the program read the norms by, from its own "Reading:" and
// "Matching:" lines (and "Where:", how many words a design's conditions
// kept out), in place of the columns the file merely has.
function showRoles(printed) {
  const used = printed.split('\n').filter((l) => /^(Reading|Matching|Where): /.test(l));
  if (used.length > 0) $('norms-columns').textContent = used.join('\n');
}

function statusOf(result, elapsed, seed) {
  const timing = `Seed ${seed}; ${elapsed} ms.`;
  if (result.status === 3) {
    return 'The list ended short (exit status 3): only its complete groups are shown; ' +
      `see the program's lines below. ${timing}`;
  }
  const warned = $('notices').querySelector('.warning') ? ' See the warnings below.' : '';
  return `Done.${warned} ${timing}`;
}

async function draw() {
  clearResult();
  const mine = generation;
  $('status').textContent = 'Drawing...';
  const started = performance.now();
  const args = argumentsFor();
  const [json, svg] = [notAnInput('list.json'), notAnInput('list.svg')];
  const result = await run([...args, '--report', '--plot', svg, '--out', json], [json, svg]);
  if (mine !== generation) return;
  const elapsed = Math.round(performance.now() - started);
  $('output').textContent = result.printed;
  showRoles(result.printed);
  showNotices(result.printed);
  if (result.status === 1 || result.status === 2) {
    showError(result.printed);
    return;
  }
  const decoder = new TextDecoder();
  showGroups(JSON.parse(decoder.decode(result.outputs[json])), args.includes('--split'));
  showSchedule(result.printed);
  document.querySelector('[data-format="schedule"]').hidden = !args.includes('--latin-square');
  $('plot').innerHTML = decoder.decode(result.outputs[svg]);
  const report = result.printed.indexOf('\nBalance report\n');
  $('report').textContent = report < 0 ? '' : result.printed.slice(report + 1);
  $('command').textContent = commandFor(args);
  $('results').dataset.args = JSON.stringify(args);
  $('results').hidden = false;
  $('status').textContent = statusOf(result, elapsed, seedOf(args));
}

// The file a download gives for `format`, and the option that writes it:
// the schedule is written beside a CSV export, the datasheet's JSON beside
// its Markdown.
function downloadOutput(args, format) {
  if (format.startsWith('datasheet-')) {
    const sheet = downloadName(args, 'md', '-datasheet');
    const extension = format.slice('datasheet-'.length);
    return {name: sheet.replace(/md$/, extension), extra: ['--datasheet', sheet]};
  }
  if (format === 'schedule') {
    const out = downloadName(args, 'csv');
    return {name: out.replace(/\.csv$/, '-schedule.csv'), extra: ['--out', out]};
  }
  const name = downloadName(args, format);
  return {name, extra: [format === 'svg' ? '--plot' : '--out', name]};
}

const types = {csv: 'text/csv', tsv: 'text/tab-separated-values', json: 'application/json',
  svg: 'image/svg+xml', schedule: 'text/csv', 'datasheet-md': 'text/markdown',
  'datasheet-json': 'application/json'};

async function download(format) {
  if (!$('results').dataset.args) return;
  const mine = generation;
  const args = JSON.parse($('results').dataset.args);
  const {name, extra} = downloadOutput(args, format);
  const result = await run([...args, ...extra], [name]);
  if (mine !== generation) return;
  const link = document.createElement('a');
  link.href = URL.createObjectURL(new Blob([result.outputs[name]], {type: types[format]}));
  link.download = name;
  removeDownloadLink();
  link.id = 'download-link';
  link.hidden = true;
  document.body.appendChild(link);
  link.click();
}

// Where the clipboard is out of reach (a page served over plain http from
// another machine), the command is selected for the user to copy.
async function copyCommand() {
  const command = $('command').textContent;
  try {
    await navigator.clipboard.writeText(command);
    $('copied').textContent = 'Copied.';
  } catch (e) {
    getSelection().selectAllChildren($('command'));
    $('copied').textContent = 'Selected: copy it with Ctrl+C.';
  }
}

// The norms table's header row split into names, quotes taken off; null
// for the classic layout, which has none.
function columnNames() {
  if (!files.norms || layoutOf(files.norms) === 'classic') return null;
  const text = new TextDecoder().decode(files.norms.bytes.slice(0, 65536));
  const first = text.replace(/^\uFEFF/, '').split(/\r?\n/)[0];
  return first.split(layoutOf(files.norms) === 'csv' ? ',' : '\t')
    .map((c) => c.replace(/^"|"$/g, '').trim());
}

// The values of the norms' part-of-speech column, when a CSV or TSV has one
// (by the usual names or a pos=NAME column name); null when it has none.
function posColumnValues() {
  const header = columnNames();
  if (!header) return null;
  const delimiter = layoutOf(files.norms) === 'csv' ? ',' : '\t';
  const lines = new TextDecoder().decode(files.norms.bytes).replace(/^\uFEFF/, '').split(/\r?\n/);
  const named = $('columns').value.split(',').map((c) => c.trim())
    .find((c) => c.startsWith('pos='));
  const usual = ['pos', 'part_of_speech', 'word_class', 'dom_pos_subtlex'];
  const column = named ? header.indexOf(named.slice(4))
    : header.findIndex((c) => usual.includes(c.toLowerCase()));
  if (column < 0) return null;
  const values = new Set();
  for (const line of lines.slice(1)) {
    const value = (line.split(delimiter)[column] || '').replace(/^"|"$/g, '').trim();
    if (value) values.add(value);
  }
  return [...values].sort();
}

// The tags a tag file offers, or the values of a pos column of a CSV or TSV.
function partsOfSpeech() {
  const fromColumn = posColumnValues();
  if (fromColumn) return fromColumn;
  const tags = new Set();
  // Own norms are tagged only by a tag file of their own: the sample's tags
  // belong to the sample's words.
  const tagFile = files.tags || (files.norms ? null : sample.tags);
  if (tagFile) {
    for (const line of new TextDecoder().decode(tagFile.bytes).split('\n').slice(1)) {
      const match = line.match(/^.([^>]*)>/);
      if (match) tags.add(match[1]);
    }
  }
  return [...tags].sort();
}

function showPartsOfSpeech() {
  const select = $('pos');
  const chosen = select.value;
  select.replaceChildren(new Option('any', ''));
  for (const tag of partsOfSpeech()) select.appendChild(new Option(tag, tag));
  select.value = [...select.options].some((o) => o.value === chosen) ? chosen : '';
}

// What a design may name, in groups: the columns of a CSV or TSV by name
// (the classic layout's ratings by their roles), and the values the
// program computes from every record; a joined frequency table's values
// are the frequency.
function variableChoices() {
  const columns = columnNames();
  const named = new Set((columns ?? []).map((c) => c.toLowerCase()));
  const others = (names) => names.filter((n) => !named.has(n));
  const joined = columns && files.frequency ? ['frequency'] : [];
  return [columns ? {label: `Columns of ${files.norms.name}`, names: columns}
    : {label: `Values of ${(files.norms ?? sample.norms).name}`,
      names: ['valence', 'valence_sd', 'arousal', 'frequency']},
  {label: 'Computed', names: others(['length', 'zipf', ...joined])}];
}

// A split draws every category of the design, and controls replace the
// tolerances of the List part: those controls are then off, and say why.
function showDesignInForce() {
  const split = hasRows('split');
  const controls = hasRows('control');
  if (split) $('mode').value = 'YES';
  $('mode').disabled = split;
  for (const id of ['length-tolerance', 'frequency-tolerance', 'zipf']) $(id).disabled = controls;
  const notes = [split && 'Categories: those of the design\'s splits.',
    controls && 'Tolerances: the design\'s controls.'].filter((n) => n);
  $('list-note').textContent = notes.join(' ');
}

function designChanged() {
  showDesignInForce();
  settingsChanged();
}

function layoutOf(file) {
  return $('norms-format').value || (/\.csv$/i.test(file.name) ? 'csv'
    : /\.(tsv|tab)$/i.test(file.name) ? 'tsv' : 'classic');
}

// Before a run, the columns the file has (as the program lists them in a
// message: the first 20, then how many more); a run replaces them with the
// roles it used.
function showColumns() {
  if (!files.norms) return;
  const names = columnNames();
  const more = names && names.length > 20 ? ` and ${names.length - 20} more` : '';
  $('norms-columns').textContent = names ? `Columns: ${names.slice(0, 20).join(', ')}${more}`
    : 'Classic layout: no column names.';
}

// Files over this size take a moment to read: the file's line says how far.
const kShowProgressBytes = 10 * 1024 * 1024;

function readBytes(role, file) {
  if (file.size <= kShowProgressBytes) return file.arrayBuffer();
  const line = $(`${role}-name`);
  line.textContent = `Reading ${file.name}: 0%`;
  return new Promise((resolve, reject) => {
    const reader = new FileReader();
    reader.onprogress = (event) => {
      line.textContent = `Reading ${file.name}: ${Math.floor((100 * event.loaded) / file.size)}%`;
    };
    reader.onload = () => resolve(reader.result);
    reader.onerror = () => reject(reader.error);
    reader.readAsArrayBuffer(file);
  });
}

async function takeFile(role, file) {
  const bytes = new Uint8Array(await readBytes(role, file));
  files[role] = {name: safeName(file.name), bytes};
  $(`${role}-name`).textContent = `${file.name} (${bytes.length} bytes)`;
  showPartsOfSpeech();
  if (role === 'norms' || role === 'frequency') refreshVariables();
  // Also after the bytes are in: a draw started while they were read used
  // the file before.
  settingsChanged();
}

function roleOfDropped(name, index) {
  if (/tag/i.test(name)) return 'tags';
  if (/exclu/i.test(name)) return 'exclude';
  if (/freq|subtlex/i.test(name)) return 'frequency';
  return index === 0 ? 'norms' : null;
}

function switchScale() {
  const zipf = $('zipf').checked;
  const [from, to] = zipf ? ['frequency', 'zipf'] : ['zipf', 'frequency'];
  tolerances[from] = $('frequency-tolerance').value;
  $('frequency-tolerance').value = tolerances[to];
  $('frequency-tolerance-label').textContent = zipf ? 'Zipf tolerance' : 'Frequency tolerance';
}

function listenForFiles() {
  for (const role of roles) {
    $(`${role}-file`).addEventListener('change', (event) => {
      if (event.target.files[0]) takeFile(role, event.target.files[0]);
    });
  }
  document.addEventListener('dragover', (event) => {
    event.preventDefault();
    $('drop').classList.add('dragging');
  });
  document.addEventListener('drop', async (event) => {
    event.preventDefault();
    $('drop').classList.remove('dragging');
    const dropped = [...event.dataTransfer.files];
    for (let i = 0; i < dropped.length; ++i) {
      const role = roleOfDropped(dropped[i].name, i);
      if (role) await takeFile(role, dropped[i]);
    }
  });
}

function listenForOptions() {
  // Every control of the form, files included, reports each change of its
  // value as it happens ("change" would come again when it loses focus).
  $('settings').addEventListener('input', settingsChanged);
  $('norms-format').addEventListener('change', () => {
    showPartsOfSpeech();
    refreshVariables();
  });
  $('columns').addEventListener('change', showPartsOfSpeech);
  $('zipf').addEventListener('change', switchScale);
  $('new-seed').addEventListener('click', () => {
    newSeed();
    settingsChanged();
  });
  $('settings').addEventListener('submit', (event) => {
    event.preventDefault();
    draw();
  });
  for (const button of document.querySelectorAll('#downloads button')) {
    button.addEventListener('click', () => download(button.dataset.format));
  }
  $('copy-command').addEventListener('click', copyCommand);
  setUpDesign(variableChoices, designChanged);
}

async function start() {
  for (const [role, name] of [['norms', 'KOVA.txt'], ['tags', 'kovatags.txt']]) {
    const response = await fetch(name);
    sample[role] = {name, bytes: new Uint8Array(await response.arrayBuffer())};
  }
  compile().catch(() => { /* said by the first run */ });
  newSeed();
  showPartsOfSpeech();
  listenForFiles();
  listenForOptions();
  $('status').textContent = 'Ready: the sample norms are loaded.';
  document.body.dataset.ready = 'true';
}

start();
