// The page: the same program as the command line, compiled to WebAssembly.
// Each run makes a fresh module instance, writes the files into its
// in-memory file system, calls main with the arguments the controls give,
// and reads back what it printed and the files it wrote.
import createStimsel from './stimsel.js';

const roles = ['norms', 'tags', 'exclude', 'frequency'];
const files = {norms: null, tags: null, exclude: null, frequency: null};
const sample = {};
const $ = (id) => document.getElementById(id);

// A file name the command line reads as a file: two characters at least,
// never taken for an option.
function safeName(name) {
  return name.length < 2 || name.startsWith('-') ? `file-${name}` : name;
}

async function run(args, readBack = []) {
  let printed = '';
  const module = await createStimsel({
    print: (line) => { printed += `${line}\n`; },
    printErr: (line) => { printed += `${line}\n`; },
    noInitialRun: true,
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

// The command line for the controls, as a researcher would type it.
function argumentsFor() {
  const args = [numberOf('words', '36'), $('mode').value, files.exclude ? files.exclude.name : '0'];
  if ($('pos').value) args.push($('pos').value);
  args.push('--seed', $('seed').value);
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
  if (numberOf('length-tolerance', '2') !== '2') {
    args.push('--length-tolerance', numberOf('length-tolerance', '2'));
  }
  const tolerance = numberOf('frequency-tolerance', '10');
  if ($('zipf').checked) args.push('--zipf-tolerance', tolerance);
  else if (tolerance !== '10') args.push('--frequency-tolerance', tolerance);
  if ($('match').value === 'all') args.push('--match', 'all');
  return args;
}

function newSeed() {
  $('seed').value = String(crypto.getRandomValues(new Uint32Array(1))[0]);
}

function clearErrors() {
  for (const role of roles) $(`${role}-error`).textContent = '';
}

// Shows a message that stops the run next to the file it names.
function showError(printed) {
  const lines = printed.trim().split('\n');
  const message = lines[lines.length - 1];
  const role = roles.find((r) => {
    const file = files[r] || sample[r];
    return file && message.includes(file.name);
  });
  if (role) $(`${role}-error`).textContent = message;
  $('status').textContent = role ? `Stopped: see the message at the ${role} file.` : message;
}

function cell(row, text, numeric = false) {
  const td = row.insertCell();
  td.textContent = text;
  if (numeric) td.className = 'num';
}

function showGroups(rows) {
  const groups = $('groups');
  groups.replaceChildren();
  const lists = [...new Set(rows.map((r) => r.list))];
  for (const list of lists) {
    const table = document.createElement('table');
    table.createCaption().textContent = lists.length > 1 ? `List ${list}` : 'Groups';
    const head = table.createTHead().insertRow();
    for (const name of ['Group', 'Role', 'Category', 'Word', 'Valence', 'Arousal', 'Length',
      'Frequency']) {
      const th = document.createElement('th');
      th.textContent = name;
      head.appendChild(th);
    }
    const body = table.createTBody();
    for (const r of rows.filter((x) => x.list === list)) {
      const row = body.insertRow();
      cell(row, String(r.group), true);
      cell(row, r.role);
      cell(row, `${r.category_name.replace('_', ' ')} (${r.label.trim()})`);
      cell(row, r.word);
      cell(row, String(r.valence), true);
      cell(row, String(r.arousal), true);
      cell(row, String(r.length), true);
      cell(row, String(r.frequency), true);
    }
    groups.appendChild(table);
  }
}

async function draw() {
  clearErrors();
  $('status').textContent = 'Drawing...';
  const started = performance.now();
  const args = argumentsFor();
  const result = await run([...args, '--report', '--plot', 'list.svg', '--out', 'list.json'],
    ['list.json', 'list.svg']);
  const elapsed = Math.round(performance.now() - started);
  $('output').textContent = result.printed;
  if (result.status === 1 || result.status === 2) {
    $('results').hidden = true;
    showError(result.printed);
    return;
  }
  const decoder = new TextDecoder();
  showGroups(JSON.parse(decoder.decode(result.outputs['list.json'])));
  $('plot').innerHTML = decoder.decode(result.outputs['list.svg']);
  const report = result.printed.indexOf('\nBalance report\n');
  $('report').textContent = report < 0 ? '' : result.printed.slice(report + 1);
  $('results').hidden = false;
  $('results').dataset.args = JSON.stringify(args);
  const short = result.printed.match(/Only \d+ of \d+ words could be matched\.\n.*\n/);
  $('status').textContent = (short ? `The list is short. ${short[0]}` : 'Done. ') +
    `Seed ${$('seed').value}; ${elapsed} ms.`;
}

async function download(format) {
  const args = JSON.parse($('results').dataset.args);
  const name = format === 'svg' ? 'list.svg' : `list.${format}`;
  const extra = format === 'svg' ? ['--plot', name] : ['--out', name];
  const result = await run([...args, ...extra], [name]);
  const types = {csv: 'text/csv', tsv: 'text/tab-separated-values', json: 'application/json',
    svg: 'image/svg+xml'};
  const link = document.createElement('a');
  link.id = 'download-link';
  link.href = URL.createObjectURL(new Blob([result.outputs[name]], {type: types[format]}));
  link.download = `stimsel-seed${$('seed').value}.${format}`;
  document.getElementById('download-link')?.remove();
  link.hidden = true;
  document.body.appendChild(link);
  link.click();
}

// The values of the norms' part-of-speech column, when a CSV or TSV has one
// (by the usual names or a pos=NAME column name); null when it has none.
function posColumnValues() {
  if (!files.norms || layoutOf(files.norms) === 'classic') return null;
  const delimiter = layoutOf(files.norms) === 'csv' ? ',' : '\t';
  const lines = new TextDecoder().decode(files.norms.bytes).replace(/^\uFEFF/, '').split(/\r?\n/);
  const header = lines[0].split(delimiter).map((c) => c.replace(/^"|"$/g, '').trim());
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

function layoutOf(file) {
  return $('norms-format').value || (/\.csv$/i.test(file.name) ? 'csv'
    : /\.(tsv|tab)$/i.test(file.name) ? 'tsv' : 'classic');
}

function showColumns(file) {
  const text = new TextDecoder().decode(file.bytes.slice(0, 4096));
  const first = text.replace(/^\uFEFF/, '').split(/\r?\n/)[0];
  const layout = layoutOf(file);
  $('norms-columns').textContent = layout === 'classic' ? 'Classic layout: no column names.'
    : `Columns: ${first.split(layout === 'csv' ? ',' : '\t')
      .map((c) => c.replace(/^"|"$/g, '')).join(', ')}`;
}

async function takeFile(role, file) {
  const bytes = new Uint8Array(await file.arrayBuffer());
  files[role] = {name: safeName(file.name), bytes};
  $(`${role}-name`).textContent = `${file.name} (${bytes.length} bytes)`;
  $(`${role}-error`).textContent = '';
  if (role === 'norms') showColumns(files.norms);
  showPartsOfSpeech();
}

function roleOfDropped(name, index) {
  if (/tag/i.test(name)) return 'tags';
  if (/exclu/i.test(name)) return 'exclude';
  if (/freq|subtlex/i.test(name)) return 'frequency';
  return index === 0 ? 'norms' : null;
}

async function start() {
  for (const [role, name] of [['norms', 'KOVA.txt'], ['tags', 'kovatags.txt']]) {
    const response = await fetch(name);
    sample[role] = {name, bytes: new Uint8Array(await response.arrayBuffer())};
  }
  newSeed();
  showPartsOfSpeech();
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
  $('norms-format').addEventListener('change', () => {
    if (files.norms) showColumns(files.norms);
    showPartsOfSpeech();
  });
  $('columns').addEventListener('change', showPartsOfSpeech);
  $('new-seed').addEventListener('click', newSeed);
  $('settings').addEventListener('submit', (event) => {
    event.preventDefault();
    draw();
  });
  for (const button of document.querySelectorAll('#downloads button')) {
    button.addEventListener('click', () => download(button.dataset.format));
  }
  $('status').textContent = 'Ready: the sample norms are loaded.';
  document.body.dataset.ready = 'true';
}

start();
