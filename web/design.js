// The form's "Design" part: splits, controls and conditions as rows the user
// adds and removes, each passed on as the command line spells it:
// --split 'VARIABLE=BANDS', --control VARIABLE=TOLERANCE and
// --where 'VARIABLE OP NUMBER'. Rows keep the order they were added in,
// since the order of the splits is the order of their cross product. What
// the user types goes to the program as typed (trimmed), so that the
// program's own reader judges it and its message is the one shown.

const operators = ['<', '<=', '>', '>=', '=', '!='];

// A new row's variable: the first of these on offer (length always is).
const firstChoice = {split: ['valence', 'length'], control: ['length'],
  filter: ['valence_sd', 'valence', 'length']};

const kinds = {
  split: {
    title: 'Split',
    fields: [['bands', 'Bands', 'neg:[1,4) pos:(6,9]', 22]],
    option: (v) => ['--split', `${v.variable}=${v.bands}`],
  },
  control: {
    title: 'Control',
    fields: [['tolerance', 'Tolerance', '0.5', 6]],
    option: (v) => ['--control', `${v.variable}=${v.tolerance}`],
  },
  filter: {
    title: 'Condition',
    fields: [['operator'], ['number', 'Number', '2', 6]],
    option: (v) => ['--where', `${v.variable} ${v.operator} ${v.number}`],
  },
};

// Set by setUpDesign: the variables on offer and what to do after a change.
const context = {choices: () => [], changed: () => {}};
let made = 0;  // ids of rows removed are not given again

const shownName = {length: 'length (letters)', zipf: 'zipf (Zipf frequency)'};

// Offers `groups` ({label, names}) in `select`, keeping its variable (in
// the file's spelling: the program matches names in any case). One no
// longer on offer stays, marked, so that a new file never changes a design
// without a word: the run then says the file has no such column.
function fillVariables(select, groups, fallbacks = []) {
  const offered = groups.flatMap((g) => g.names);
  const find = (name) => offered.find((n) => n.toLowerCase() === name.toLowerCase());
  const chosen = select.value ? find(select.value) ?? select.value
    : fallbacks.map(find).find((n) => n) ?? offered[0];
  select.replaceChildren();
  const all = offered.includes(chosen) ? groups
    : [...groups, {label: 'Not in this file', names: [chosen]}];
  for (const {label, names} of all) {
    const group = document.createElement('optgroup');
    group.label = label;
    for (const name of names) group.appendChild(new Option(shownName[name] ?? name, name));
    select.appendChild(group);
  }
  select.value = chosen;
}

function field(id, text, control) {
  const span = document.createElement('span');
  span.className = 'field';
  const label = document.createElement('label');
  label.htmlFor = id;
  label.textContent = text;
  control.id = id;
  span.append(label, control);
  return span;
}

function control([name, text, placeholder, size], id) {
  if (name === 'operator') {
    const select = document.createElement('select');
    for (const op of operators) select.appendChild(new Option(op, op));
    select.dataset.name = name;
    return field(id, 'Is', select);
  }
  const input = document.createElement('input');
  Object.assign(input, {type: 'text', placeholder, size, spellcheck: false});
  input.setAttribute('autocomplete', 'off');
  if (name !== 'bands') input.inputMode = 'decimal';
  input.dataset.name = name;
  return field(id, text, input);
}

const rowsOf = (kind) => [...document.querySelectorAll(`#${kind}-rows .design-row`)];

// Each row's name ("Split 2") says its place, also to a screen reader.
function renumber(kind) {
  rowsOf(kind).forEach((row, i) => {
    row.querySelector('.row-name').textContent = `${kinds[kind].title} ${i + 1}`;
    row.querySelector('button').setAttribute('aria-label',
      `Remove ${kinds[kind].title.toLowerCase()} ${i + 1}`);
  });
}

function removeRow(kind, row) {
  row.remove();
  renumber(kind);
  document.querySelector(`.add[data-kind="${kind}"]`).focus();
  context.changed();
}

function addRow(kind) {
  const id = `${kind}-${++made}`;
  const row = document.createElement('div');
  row.className = 'design-row';
  row.setAttribute('role', 'group');
  row.setAttribute('aria-labelledby', `${id}-name`);
  const name = document.createElement('span');
  Object.assign(name, {className: 'row-name', id: `${id}-name`});
  const variable = document.createElement('select');
  variable.dataset.name = 'variable';
  fillVariables(variable, context.choices(), firstChoice[kind]);
  const remove = document.createElement('button');
  Object.assign(remove, {type: 'button', id: `${id}-remove`, textContent: 'Remove'});
  remove.addEventListener('click', () => removeRow(kind, row));
  row.append(name, field(`${id}-variable`, 'Variable', variable),
    ...kinds[kind].fields.map((f) => control(f, `${id}-${f[0]}`)), remove);
  document.getElementById(`${kind}-rows`).appendChild(row);
  renumber(kind);
  variable.focus();
  context.changed();
}

function valuesOf(row) {
  const values = {};
  for (const c of row.querySelectorAll('[data-name]')) values[c.dataset.name] = c.value.trim();
  return values;
}

// The design's options in the order of the rows: splits, controls, then
// conditions.
export function designArguments() {
  return Object.keys(kinds).flatMap((kind) =>
    rowsOf(kind).flatMap((row) => kinds[kind].option(valuesOf(row))));
}

export const hasRows = (kind) => rowsOf(kind).length > 0;

// After the norms file or its layout changed: every variable menu offers
// the variables of the file now chosen.
export function refreshVariables() {
  for (const select of document.querySelectorAll('.design-row select[data-name="variable"]')) {
    fillVariables(select, context.choices());
  }
}

// `choices()` gives the variables on offer as groups ({label, names});
// `changed()` is called after a row is added or removed (typing in a row
// reports itself as the form's input).
export function setUpDesign(choices, changed) {
  Object.assign(context, {choices, changed});
  for (const button of document.querySelectorAll('#design .add')) {
    button.addEventListener('click', () => addRow(button.dataset.kind));
  }
}
