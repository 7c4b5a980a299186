#!/usr/bin/python3
"""Independent figures for the balancing lines of tests/balance_run_test.cpp.

For each case the program is run twice with one seed, without and with
--balance, exporting the list; the same seed draws the same groups, so the
first export is the list as drawn and the second the list as balanced. From
the exports and the norms file alone (read here with numpy, the eligible
words classified here by the documented rules, with float32 ratings) this
computes what the balancing lines must say: the largest |Hedges' g| between
two categories and between two lists for every control (numpy means and SDs,
scipy.stats.ttest_ind for a second route to the same g), and the imbalance
as the README defines it. It prints the expected lines next to the printed
ones and exits 1 on any difference. Run from the top of the tree:
  python3 tests/balance_reference.py build/stimsel
"""
import csv
import itertools
import math
import os
import subprocess
import sys
import tempfile

import numpy as np
from scipy import stats

TOP = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..')
LOG_SD_WEIGHT = 0.1
SD_FLOOR = 0.01


def hedges_g(a, b):
    a, b = np.asarray(a, float), np.asarray(b, float)
    na, nb = len(a), len(b)
    if na < 2 or nb < 2:
        return None
    sp = math.sqrt(((na - 1) * a.var(ddof=1) + (nb - 1) * b.var(ddof=1)) / (na + nb - 2))
    if sp == 0:
        return None
    g = (a.mean() - b.mean()) / sp * (1 - 3 / (4 * (na + nb) - 9))
    # Student's t of the same samples gives d = t * sqrt(1/na + 1/nb).
    t = stats.ttest_ind(a, b, equal_var=True).statistic
    d = t * math.sqrt(1 / na + 1 / nb)
    assert abs(d * (1 - 3 / (4 * (na + nb) - 9)) - g) < 1e-9, (d, g)
    return g


def largest_g(sets):
    gs = [abs(g) for a, b in itertools.combinations(sets, 2) for g in [hedges_g(a, b)]
          if g is not None]
    return max(gs) if gs else None


def fixed(v, d=2):
    if v is None:
        return 'n/a'
    # Half away from zero on 15 significant digits, the program's rule.
    from decimal import Decimal, ROUND_HALF_UP
    q = Decimal('%.14e' % v).quantize(Decimal(1).scaleb(-d), rounding=ROUND_HALF_UP)
    s = str(q)
    return s[1:] if s.startswith('-') and float(q) == 0 else s


def imbalance_text(v):
    """Four decimals, or three significant digits below 0.001."""
    if v <= 0 or v >= 1e-3:
        return fixed(v, 4)
    return fixed(v, 2 - math.floor(math.log10(v)))


def letters(word):
    return len(word)


def sample_pool():
    """The eligible words of data/KOVA.txt in full mode: word -> (category, length, frequency)."""
    lines = open(os.path.join(TOP, 'data', 'KOVA.txt'), encoding='latin-1').read().split('\n')
    pool = {}
    for line in lines[41:41 + 1030]:
        f = line.split()
        word = f[0]
        val, sd, aro = (float(np.float32(x)) for x in (f[2], f[3], f[4]))
        if sd > 2.0 or word in pool:
            continue
        category = None
        if val > 7.0:
            category = 1 if aro <= 5.67 else 4
        elif val < 3.0:
            category = 2 if aro <= 5.72 else 5
        elif 4.0 < val < 6.0:
            category = 3 if aro <= 4.0 else 6
        if category is not None:
            pool[word] = (category, letters(word), float(f[8]))
    return pool


def warriner_pool():
    """The eligible words of the Warriner-style example with the SUBTLEX-style
    frequencies under the split valence=neg:[1,4) pos:[6,9]: word -> (category,
    length, Zipf)."""
    folder = os.path.join(TOP, 'data', 'examples')
    freq_rows = list(csv.DictReader(open(os.path.join(folder, 'subtlex-style.txt')),
                                    delimiter='\t'))
    exact, lower = {}, {}
    for r in freq_rows:
        exact.setdefault(r['Word'], float(r['SUBTLWF']))
        lower.setdefault(r['Word'].lower(), float(r['SUBTLWF']))
    pool, seen = {}, set()
    for r in csv.DictReader(open(os.path.join(folder, 'warriner-style.csv'))):
        word = r['Word']
        if word.lower() in seen:
            continue
        seen.add(word.lower())
        freq = exact.get(word, lower.get(word.lower()))
        valence = float(r['V.Mean.Sum'])
        category = 1 if 1 <= valence < 4 else 2 if 6 <= valence <= 9 else None
        if freq is None or category is None:
            continue
        pool[word] = (category, letters(word), math.log10(max(freq, 0.01)) + 3)
    return pool


def groups_of(export_path):
    rows = list(csv.DictReader(open(export_path, newline='')))
    groups = {}
    for r in rows:
        groups.setdefault((int(r['list']), int(r['group'])), []).append(r['word'])
    return groups


def figures(pool, groups, controls, lists):
    out = []
    for c in range(controls):
        by_category, by_list = {}, {}
        for (lst, _), words in groups.items():
            for w in words:
                category, *values = pool[w]
                by_category.setdefault(category, []).append(values[c])
                by_list.setdefault(lst, []).append(values[c])
        out.append((largest_g(list(by_category.values())),
                    largest_g(list(by_list.values())) if lists > 1 else None))
    return out


def imbalance(pool, groups, controls, lists):
    total = 0.0
    for c in range(controls):
        values = np.array([v[1 + c] for v in pool.values()], float)
        m, s = values.mean(), values.std(ddof=1)
        z = {w: (v[1 + c] - m) / s for w, v in pool.items()}
        families = [{}, {}]
        for (lst, _), words in groups.items():
            for w in words:
                families[0].setdefault(pool[w][0], []).append(z[w])
                families[1].setdefault(lst, []).append(z[w])
        for family in families[:2 if lists > 1 else 1]:
            shapes = [(np.mean(x), 0.5 * math.log(np.var(x) + SD_FLOOR ** 2))
                      for x in family.values()]
            for (ma, la), (mb, lb) in itertools.combinations(shapes, 2):
                total += (ma - mb) ** 2 + LOG_SD_WEIGHT * (la - lb) ** 2
    return total


CASES = [
    ('sample', 'data', sample_pool, ['length', 'frequency'], ['36', 'YES', '--seed', '7']),
    ('sample, 2 lists', 'data', sample_pool, ['length', 'frequency'],
     ['24', 'YES', '--lists', '2', '--seed', '3']),
    ('sample, 3 lists, all pairs', 'data', sample_pool, ['length', 'frequency'],
     ['18', 'YES', '--lists', '3', '--match', 'all', '--seed', '11']),
    ('split design, 2 lists', 'data/examples', warriner_pool, ['length', 'Zipf frequency'],
     ['24', '--norms', 'warriner-style.csv', '--frequency', 'subtlex-style.txt', '--split',
      'valence=neg:[1,4) pos:[6,9]', '--lists', '2', '--seed', '5']),
    ('split design, 100 words', 'data/examples', warriner_pool, ['length', 'Zipf frequency'],
     ['100', '--norms', 'warriner-style.csv', '--frequency', 'subtlex-style.txt', '--split',
      'valence=neg:[1,4) pos:[6,9]', '--seed', '5']),
]


def run(binary, folder, args, export):
    done = subprocess.run([binary] + args + ['--out', export], cwd=os.path.join(TOP, folder),
                          capture_output=True, text=True)
    return done.stdout


def main():
    binary = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else 'build/stimsel')
    bad = 0
    with tempfile.TemporaryDirectory() as tmp:
        for name, folder, make_pool, names, args in CASES:
            pool = make_pool()
            lists = int(args[args.index('--lists') + 1]) if '--lists' in args else 1
            run(binary, folder, args, tmp + '/drawn.csv')
            printed = run(binary, folder, args + ['--balance'], tmp + '/balanced.csv')
            drawn, balanced = groups_of(tmp + '/drawn.csv'), groups_of(tmp + '/balanced.csv')
            before = figures(pool, drawn, len(names), lists)
            after = figures(pool, balanced, len(names), lists)
            expected = []
            for c, control in enumerate(names):
                line = '  %s: between categories %s -> %s' % (control, fixed(before[c][0]),
                                                              fixed(after[c][0]))
                if lists > 1:
                    line += ', between lists %s -> %s' % (fixed(before[c][1]), fixed(after[c][1]))
                expected.append(line)
            cost = tuple(imbalance_text(imbalance(pool, groups, len(names), lists))
                         for groups in (drawn, balanced))
            expected.append('the imbalance from %s to %s;' % cost)
            print('==', name)
            for line in expected:
                ok = line in printed
                bad += not ok
                print('ok  ' if ok else 'DIFF', line)
            if bad:
                print(printed)
    sys.exit(1 if bad else 0)


if __name__ == '__main__':
    main()
