#!/usr/bin/python3
"""Checks every figure of a datasheet drawn from the sample norms against an
independent computation: SciPy's t distribution, a noncentral t integrated
here with SciPy's quad (SciPy's own nct goes through Boost, as the program
does), NumPy's float32 for the ratings, and Python's decimal module for the
rounding (half away from zero on the value taken to 15 significant digits).

Only the chosen words (and their lists, groups and categories) are taken
from the datasheet; their lengths and frequencies are looked up in
data/KOVA.txt, and every count, mean, SD, g, interval, t, p, bound and verdict
is worked out here and compared with the Markdown text, row by row, and with
the methods paragraph. Also checked: the SHA-256, size and rows of the
input files, the pool counts, and the JSON's unrounded doubles. Prints what
it checked; exits 1 on the first disagreement.

Any list mode and, with the tag file and the tag, a part of speech; run,
from the top of a build:
  (cd data && ../build/stimsel 36 YES --seed 7 --datasheet /tmp/sheet.md)
  /usr/bin/python3 tests/datasheet_sample_check.py /tmp/sheet.md data/KOVA.txt
  (cd data && ../build/stimsel 12 NO 0 adj --seed 7 --datasheet /tmp/adj.md)
  /usr/bin/python3 tests/datasheet_sample_check.py /tmp/adj.md data/KOVA.txt \
      data/kovatags.txt adj
"""
import decimal
import hashlib
import json
import math
import os
import re
import sys

import numpy as np
from scipy import integrate, optimize, stats

ALPHA = 0.05
BOUND_SD = 0.5
TOLERANCES = {'length': 2, 'frequency': 10}
ALL_CATEGORIES = ['calm positive', 'calm negative', 'calm neutral',
                  'aroused positive', 'aroused negative', 'aroused neutral']
checked = 0


def fixed(v, d=2):
    q = decimal.Decimal('%.14e' % v).quantize(decimal.Decimal(1).scaleb(-d),
                                              rounding=decimal.ROUND_HALF_UP)
    s = '%s' % q
    return s[1:] if s.startswith('-') and q == 0 else s


def agree(what, expected, got):
    global checked
    if expected != got:
        print('DISAGREE %s:\n  expected %r\n  got      %r' % (what, expected, got))
        sys.exit(1)
    checked += 1


def category_of(val, sd, aro):
    """The README's bands on float32 ratings compared as doubles."""
    val, sd, aro = float(val), float(sd), float(aro)
    if sd > 2.0:
        return None
    if val < 3.0:
        return 2 if aro <= 5.72 else 5
    if val > 7.0:
        return 1 if aro <= 5.67 else 4
    if 4.0 < val < 6.0:
        return 3 if aro <= 4.0 else 6
    return 0


def read_norms(path):
    rows = []
    lines = open(path, 'rb').read().decode('utf-8').split('\n')[41:41 + 1030]
    for line in lines:
        f = line.split()
        rows.append({'word': f[0], 'length': len(f[0]), 'frequency': float(int(f[8])),
                     'category': category_of(np.float32(f[2]), np.float32(f[3]),
                                             np.float32(f[4]))})
    return rows


def table_rows(markdown, heading):
    """The cells of every table row after `heading`, up to the next heading."""
    start = markdown.index(heading)
    end = markdown.find('\n## ', start + 1)
    part = markdown[start:end if end > 0 else len(markdown)]
    return [[c.strip() for c in line.strip('|').split(' | ')]
            for line in part.split('\n') if line.startswith('| ') and not line.startswith('|---')]


def nct_cdf(t, df, ncp):
    """P(T <= t) for T = (Z + ncp) / sqrt(V / df), V chi-squared on df, by
    integrating the normal cdf over V: SciPy's own nct goes through Boost,
    the library the program uses, so it would not be an independent check."""
    log_norm = (df / 2) * math.log(2) + math.lgamma(df / 2)

    def integrand(v):
        if v <= 0:
            return 0.0
        chi2 = math.exp((df / 2 - 1) * math.log(v) - v / 2 - log_norm)
        return 0.5 * math.erfc(-(t * math.sqrt(v / df) - ncp) / math.sqrt(2)) * chi2
    return integrate.quad(integrand, 0, np.inf, epsabs=1e-13, epsrel=1e-12, limit=200)[0]


def noncentrality(t, df, target):
    return optimize.brentq(lambda ncp: nct_cdf(t, df, ncp) - target, t - 10, t + 10,
                           xtol=1e-12)


def compare(a, b):
    """Everything a pair row states, by an independent route."""
    a, b = np.array(a, float), np.array(b, float)
    na, nb = len(a), len(b)
    sa, sb = np.std(a, ddof=1), np.std(b, ddof=1)
    df = na + nb - 2
    sp = math.sqrt(((na - 1) * sa ** 2 + (nb - 1) * sb ** 2) / df)
    diff = a.mean() - b.mean()
    unit_se = math.sqrt(1 / na + 1 / nb)
    j = 1 - 3 / (4 * (na + nb) - 9)
    t = diff / sp / unit_se
    lo, hi = noncentrality(t, df, 1 - ALPHA), noncentrality(t, df, ALPHA)
    half = BOUND_SD * sp
    t_lower, t_upper = (diff + half) / (sp * unit_se), (diff - half) / (sp * unit_se)
    p = max(stats.t.sf(t_lower, df), stats.t.cdf(t_upper, df))
    smallest = stats.t.ppf(1 - ALPHA, df) * unit_se
    return {'mean a': a.mean(), 'sd a': sa, 'mean b': b.mean(), 'sd b': sb, 'diff': diff,
            'g': diff / sp * j, 'lo': lo * unit_se * j, 'hi': hi * unit_se * j,
            'vr': sa ** 2 / sb ** 2, 'half': half, 'df': df, 'tL': t_lower, 'tU': t_upper,
            'p': p, 'shown': p < ALPHA, 'smallest': smallest, 'possible': BOUND_SD > smallest,
            'na': na, 'nb': nb}


def expected_pair_row(control, name_a, name_b, c):
    verdict = ('cannot be shown at this bound with %d and %d words; only bounds above ±%s SD '
               'could be shown' % (c['na'], c['nb'], fixed(c['smallest']))) if not c['possible'] \
        else ('equivalent' if c['shown'] else 'not shown to be equivalent')
    return [control, name_a + ' vs ' + name_b,
            '%s (%s)' % (fixed(c['mean a']), fixed(c['sd a'])),
            '%s (%s)' % (fixed(c['mean b']), fixed(c['sd b'])), fixed(c['diff']),
            '%s [%s, %s]' % (fixed(c['g']), fixed(c['lo']), fixed(c['hi'])), fixed(c['vr']),
            '±0.5 SD (±%s)' % fixed(c['half']),
            't(%d) = %s, %s; p = %s' % (c['df'], fixed(c['tL']), fixed(c['tU']), fixed(c['p'], 3)),
            verdict]


def file_row(role, path, rows):
    data = open(path, 'rb').read()
    return [role, os.path.basename(path), str(len(data)), str(rows),
            '`%s`' % hashlib.sha256(data).hexdigest()]


def tagged_words(path, tag):
    """The words the tag file lists under `tag`, and its entries."""
    lines = open(path, encoding='utf-8').read().split('\n')
    entries = lines[1:1 + int(lines[0].split()[0])]
    words = set()
    for line in entries:
        m = re.match(r'^<([^>]*)>([^<]*)', line)
        if m and m.group(1) == tag:
            words.add(m.group(2))
    return words, len(entries)


def main(sheet_path, norms_path, tags_path=None, tag=None):
    global CATEGORIES
    markdown = open(sheet_path, encoding='utf-8').read()
    sheet = json.load(open(sheet_path[:-3] + '.json', encoding='utf-8'))
    CATEGORIES = [c['name'] for c in sheet['design']['categories']]
    k = len(CATEGORIES)
    norms = read_norms(norms_path)
    first = {}
    for r in norms:
        first.setdefault(r['word'], r)
        name = ALL_CATEGORIES[r['category'] - 1] if r['category'] else None
        r['play'] = CATEGORIES.index(name) + 1 if name in CATEGORIES else 0
    expected_files = [file_row('norms', norms_path, 1030)]
    rules = [['Rule', 'Words removed'], ['repeats of a word listed earlier in the file', '0'],
             ['valence SD above 2', str(sum(1 for r in norms if r['category'] is None))],
             ['ratings outside every category in play',
              str(sum(1 for r in norms if r['category'] is not None and r['play'] == 0))]]
    if tags_path:
        words, entries = tagged_words(tags_path, tag)
        expected_files.append(file_row('part-of-speech tags', tags_path, entries))
        untagged = [r for r in norms if r['play'] and r['word'] not in words]
        rules.append(['not of the part of speech asked for', str(len(untagged))])
        for r in untagged:
            r['play'] = 0
    agree('input files', expected_files, table_rows(markdown, '## Provenance')[1:])

    # Pools: eligible words per category; removals.
    eligible = [sum(1 for r in norms if r['play'] == c) for c in range(1, k + 1)]
    design = table_rows(markdown, '## Design')
    for c in range(k):
        agree('eligible ' + CATEGORIES[c], str(eligible[c]), design[c + 1][3])
    agree('removals', rules, table_rows(markdown, '## Words read and removed'))
    agree('smallest pool', 'the pools hold at most %d groups' % min(eligible),
          re.search(r'the pools hold at most \d+ groups', markdown).group(0))

    # The chosen words, their values looked up in the norms.
    values = {t: {c: [] for c in CATEGORIES} for t in TOLERANCES}
    for cells in table_rows(markdown, '## Chosen words')[1:]:
        word, category = cells[4], cells[3]
        r = first[word]
        agree(word + "'s category", CATEGORIES[r['play'] - 1], category)
        agree(word + "'s values", [str(r['length']), fixed(r['frequency'])], cells[5:7])
        for t in TOLERANCES:
            values[t][category].append(r[t])

    # Per category summaries, then every pair.
    balance = table_rows(markdown, '## Balance between categories')
    sets = [row for row in balance if row[0] in CATEGORIES]
    pairs = [row for row in balance if len(row) == 10 and row[0] != 'Control']
    for i, control in enumerate(TOLERANCES):
        for c, name in enumerate(CATEGORIES):
            v = np.array(values[control][name], float)
            agree('%s %s' % (control, name),
                  [name, str(len(v)), fixed(v.mean()), fixed(np.std(v, ddof=1)), fixed(v.min()),
                   fixed(v.max())], sets[i * k + c])
    largest, tested, shown, at = None, 0, 0, 0
    largest_gap = [0.0]
    for control in TOLERANCES:
        for a in range(k):
            for b in range(a + 1, k):
                c = compare(values[control][CATEGORIES[a]], values[control][CATEGORIES[b]])
                agree('%s %s vs %s' % (control, CATEGORIES[a], CATEGORIES[b]),
                      expected_pair_row(control, CATEGORIES[a], CATEGORIES[b], c), pairs[at])
                # The unrounded doubles too, so that no row agrees by rounding alone.
                j = sheet['category_pairs'][at]['comparison']
                full = [j['g'], j['g_ci90'][0], j['g_ci90'][1], j['tost']['t_lower'],
                        j['tost']['t_upper'], j['tost']['p'], j['attainable']['smallest_bound']]
                mine = [c['g'], c['lo'], c['hi'], c['tL'], c['tU'], c['p'], c['smallest']]
                worst = max(abs(x - y) for x, y in zip(full, mine))
                agree('JSON doubles within 1e-8', True, worst < 1e-8)
                largest_gap[0] = max(largest_gap[0], worst)
                at += 1
                tested += 1
                shown += c['shown']
                if largest is None or abs(c['g']) > abs(largest[0]['g']):
                    largest = (c, control, CATEGORIES[a], CATEGORIES[b])

    # The methods paragraph's figures.
    methods = markdown.split('## Methods\n\n')[1].split('\n')[0]
    agree('methods in JSON', methods, sheet['methods'])
    c, control, a, b = largest
    n = len(values['length'][CATEGORIES[0]])
    claims = [
        '(1,030 rows; 1,030 with every value the design needs)',
        'Words were removed, in this order: ' +
        '; '.join('%s (%s)' % (rule, count) for rule, count in rules[1:]) +
        '; %d words were eligible' % sum(eligible),
        'The largest difference was in %s between %s and %s, Hedges\' g = %s (90%% CI [%s, %s])'
        % (control, a, b, fixed(c['g']), fixed(c['lo']), fixed(c['hi'])),
        'showed equivalence for %d of %d tested comparisons' % (shown, tested),
        'only bounds above ±%s SD could be' % fixed(c['smallest']),
        '%d matched groups of one word per category (%d words)' % (n, n * k),
    ]
    for claim in claims:
        agree('methods: ' + claim, True, claim in methods)
    print('checked %d figures and texts of %s: all agree; the JSON doubles lie within %.1e of '
          'the independent values' % (checked, os.path.basename(sheet_path), largest_gap[0]))


if __name__ == '__main__':
    main(*sys.argv[1:5])
