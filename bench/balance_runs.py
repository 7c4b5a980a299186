#!/usr/bin/python3
"""The balancing targets, measured on whole runs of the program.

For each table and seeds 1..20: six affect categories x 20 words, length
within 2 letters and Zipf within 0.2 of the anchor, drawn once as one list
(120 YES) and once as four lists of five groups (30 YES --lists 4), each
without and with --balance. The largest |Hedges' g| between two categories
(and between two lists) for length and Zipf is computed here with numpy from
each run's export, not taken from the program; the program's own balancing
lines are checked against these figures. Each run is timed whole (start of
the process to its end, the norms read included).

  bench/balance_runs.py STIMSEL [TABLE.csv ...]

Without tables: the 14,000-word realistic norms of /work/shared/data, and a
300,000-row table of the same shape made by its make_realistic.py (a few
minutes; BALANCE_300K=path reuses one, BALANCE_300K=skip leaves it out).
Rows with a frequency above 1,000,000 per million, which the reader refuses,
are left out first. Needs numpy.
"""
import csv
import itertools
import math
import os
import re
import statistics
import subprocess
import sys
import tempfile
import time

import numpy as np

DATA = '/work/shared/data'
SEEDS = range(1, 21)
TARGET = 0.10


def readable(source, target):
    """Copies `source` without rows whose frequency exceeds 1,000,000."""
    dropped = 0
    with open(source, newline='') as fin, open(target, 'w', newline='') as fout:
        rows = csv.reader(fin)
        out = csv.writer(fout, lineterminator='\n')
        out.writerow(next(rows))
        for row in rows:
            if row[-1] != 'NA' and float(row[-1]) > 1_000_000:
                dropped += 1
                continue
            out.writerow(row)
    return dropped


def hedges_g(a, b):
    a, b = np.asarray(a, float), np.asarray(b, float)
    na, nb = len(a), len(b)
    sp = math.sqrt(((na - 1) * a.var(ddof=1) + (nb - 1) * b.var(ddof=1)) / (na + nb - 2))
    if sp == 0:
        return None
    return (a.mean() - b.mean()) / sp * (1 - 3 / (4 * (na + nb) - 9))


def largest_g(sets):
    gs = [abs(g) for a, b in itertools.combinations(sets, 2) for g in [hedges_g(a, b)]
          if g is not None]
    return max(gs) if gs else 0.0


def figures(export):
    """(length, Zipf) x (categories, lists): the largest |g| of an export."""
    rows = list(csv.DictReader(open(export, newline='')))
    out = {}
    for name, value in (('length', lambda r: float(r['length'])),
                        ('zipf', lambda r: math.log10(max(float(r['frequency']), 0.01)) + 3)):
        for family in ('category', 'list'):
            sets = {}
            for r in rows:
                sets.setdefault(r[family], []).append(value(r))
            out[name, family] = largest_g(list(sets.values())) if len(sets) > 1 else None
    return out


def run(stimsel, args, export):
    start = time.perf_counter()
    done = subprocess.run([stimsel] + args + ['--out', export], capture_output=True, text=True)
    seconds = time.perf_counter() - start
    if done.returncode != 0:
        sys.exit('stimsel %s: status %d\n%s' % (' '.join(args), done.returncode, done.stdout[-2000:]))
    return done.stdout, seconds


def printed_figures(output):
    """The program's own figures: {(control, family): (before, after)}."""
    found = {}
    for control, key in (('length', 'length'), ('Zipf frequency', 'zipf')):
        line = re.search(r'\n  %s: between categories (\S+) -> (\S+)(?:, between lists (\S+) -> (\S+))?\n'
                         % re.escape(control), output)
        if line:
            found[key, 'category'] = (line.group(1), line.group(2))
            if line.group(3):
                found[key, 'list'] = (line.group(3), line.group(4))
    return found


def fixed2(v):
    from decimal import Decimal, ROUND_HALF_UP
    return str(Decimal('%.14e' % v).quantize(Decimal('0.01'), rounding=ROUND_HALF_UP))


def measure(stimsel, table, lists, tmp):
    words = '120' if lists == 1 else '30'
    base = [words, 'YES', '--norms', table, '--length-tolerance', '2', '--zipf-tolerance', '0.2']
    if lists > 1:
        base += ['--lists', str(lists)]
    families = ['category'] + (['list'] if lists > 1 else [])
    print('\n%s, %s YES%s, seeds %d-%d' % (os.path.basename(table), words,
                                           ' --lists %d' % lists if lists > 1 else '',
                                           SEEDS[0], SEEDS[-1]))
    head = ['seed'] + ['%s %s' % (c, f[:3]) for f in families for c in ('len', 'zipf')]
    print('%-4s  %-31s  %-31s  %s' % ('', 'largest |g| as drawn', 'largest |g| balanced',
                                     'seconds (plain, balanced)'))
    print('  '.join('%7s' % h for h in head) + '  ' + '  '.join('%7s' % h for h in head[1:]))
    met, plain_times, balanced_times, disagreements = 0, [], [], 0
    worst_before, worst_after = 0.0, 0.0
    for seed in SEEDS:
        args = base + ['--seed', str(seed)]
        _, t_plain = run(stimsel, args, tmp + '/plain.csv')
        output, t_balanced = run(stimsel, args + ['--balance'], tmp + '/balanced.csv')
        before, after = figures(tmp + '/plain.csv'), figures(tmp + '/balanced.csv')
        keys = [(c, f) for f in families for c in ('length', 'zipf')]
        printed = printed_figures(output)
        for key in keys:
            if printed.get(key) != (fixed2(before[key]), fixed2(after[key])):
                disagreements += 1
                print('  seed %d %s: printed %s, computed %s -> %s'
                      % (seed, key, printed.get(key), before[key], after[key]))
        met += all(after[k] <= TARGET for k in keys)
        worst_before = max(worst_before, max(before[k] for k in keys))
        worst_after = max(worst_after, max(after[k] for k in keys))
        plain_times.append(t_plain)
        balanced_times.append(t_balanced)
        print('%4d  ' % seed + '  '.join('%7.3f' % before[k] for k in keys) + '  ' +
              '  '.join('%7.3f' % after[k] for k in keys) + '  %6.2f  %6.2f' % (t_plain, t_balanced))
    print('seeds with every largest |g| <= %.2f: %d of %d balanced' % (TARGET, met, len(SEEDS)))
    print('largest |g| over all seeds: %.3f as drawn, %.3f balanced' % (worst_before, worst_after))
    print('run time: plain median %.2f s, max %.2f s; balanced median %.2f s, max %.2f s'
          % (statistics.median(plain_times), max(plain_times), statistics.median(balanced_times),
             max(balanced_times)))
    print('printed figures that disagree with these: %d' % disagreements)


def main():
    stimsel = os.path.abspath(sys.argv[1])
    with tempfile.TemporaryDirectory() as tmp:
        tables = sys.argv[2:]
        if not tables:
            tables = [tmp + '/norms14k.csv']
            print('norms14k.csv: %d rows above 1,000,000 per million left out'
                  % readable(DATA + '/realistic-norms.csv', tables[0]))
            big = os.environ.get('BALANCE_300K', '')
            if big != 'skip':
                if not big:
                    source = open(DATA + '/make_realistic.py').read()
                    subprocess.run([sys.executable, '-'], input=source.replace(
                        'range(14000)', 'range(300000)'), text=True, cwd=tmp, check=True)
                    big = tmp + '/realistic-norms.csv'
                tables.append(tmp + '/norms300k.csv')
                print('norms300k.csv: %d rows above 1,000,000 per million left out'
                      % readable(big, tables[1]))
        for table in tables:
            for lists in (1, 4):
                measure(stimsel, table, lists, tmp)
        print('\n%s; %d cores, %s' % (subprocess.run([stimsel, '--version'], capture_output=True,
                                                     text=True).stdout.strip(), os.cpu_count(),
                                      open('/proc/cpuinfo').read().split('model name')[1].split(':', 1)[1]
                                      .split('\n')[0].strip()))


if __name__ == '__main__':
    main()
