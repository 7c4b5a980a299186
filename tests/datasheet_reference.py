#!/usr/bin/python3
"""Independent figures for tests/datasheet_test.cpp.

The statistics come from compare() of tests/mean_comparison_reference.py
(numerical integration of the noncentral t, Student's t from the incomplete
beta function); numbers are rounded here with Python's decimal module, half
away from zero on the value taken to 15 significant digits. The sample
counts read data/KOVA.txt with numpy's float32, the precision of the
ratings. Run: python3 tests/datasheet_reference.py
"""
import decimal
import os
import sys

import numpy as np

sys.path.insert(0, os.path.dirname(__file__))
from mean_comparison_reference import compare  # noqa: E402


def fixed(v, d=2):
    q = decimal.Decimal('%.14e' % v).quantize(decimal.Decimal(1).scaleb(-d),
                                              rounding=decimal.ROUND_HALF_UP)
    s = '%s' % q
    return s[1:] if s.startswith('-') and float(q) == 0 else s


def row(a, b, bound, unit):
    c = compare(a, b, bound, unit)
    ma, mb = np.mean(a), np.mean(b)
    sa, sb = np.std(a, ddof=1), np.std(b, ddof=1)
    out = [fixed(ma) + ' (' + fixed(sa) + ')', fixed(mb) + ' (' + fixed(sb) + ')', fixed(c['diff'])]
    if 'g' in c:
        out += [fixed(c['g']) + ' [' + fixed(c['gL']) + ', ' + fixed(c['gU']) + ']',
                fixed(c['vr']),
                't(%d) = %s, %s; p = %s' % (c['df'], fixed(c['tL']), fixed(c['tU']), fixed(c['p'], 3)),
                'smallest bound ' + fixed(c['smallest'])]
        if unit == 'sd':
            out.append('raw half-width ' + fixed(bound * c['sp']))
    return out


# The fixed input: two categories, six words each, three controls.
LENGTH = ([5, 6, 7, 6, 8, 5], [6, 7, 7, 5, 9, 6])
ZIPF = ([3.1, 3.4, 2.9, 3.8, 3.3, 3.0], [3.2, 3.5, 3.0, 3.6, 3.4, 3.1])
FAMILIARITY = ([100] * 6, [110] * 6)
# Two categories of 23 words with equal means: equivalence is shown at 0.5 SD.
LONG = ([float(v % 7) for v in range(23)], [float(v % 7) for v in reversed(range(23))])

# The sample's `36 YES --seed 7`: frequencies of calm positive and calm negative.
SAMPLE_FREQ = ([7, 10, 2, 1, 6, 5], [1, 1, 2, 7, 1, 7])


def sample_counts():
    path = os.path.join(os.path.dirname(__file__), '..', 'data', 'KOVA.txt')
    lines = open(path, encoding='latin-1').read().split('\n')[41:41 + 1030]
    spread = outside = 0
    for line in lines:
        f = line.split()
        val, sd, aro = np.float32(f[2]), np.float32(f[3]), np.float32(f[4])
        if float(sd) > 2.0:
            spread += 1
        elif not (float(val) < 3.0 or float(val) > 7.0 or 4.0 < float(val) < 6.0):
            outside += 1
    return spread, outside


if __name__ == '__main__':
    print('length', row(*LENGTH, 0.5, 'sd'))
    print('zipf', row(*ZIPF, 0.1, 'raw'))
    print('familiarity', [fixed(np.mean(FAMILIARITY[0]) - np.mean(FAMILIARITY[1]))])
    print('long', row(*LONG, 0.5, 'sd'))
    print('sample frequency', row(*SAMPLE_FREQ, 0.5, 'sd'))
    print('sample SD > 2, outside every band', sample_counts())


def arousal_edges():
    """For each scale and arousal cut: is the rating read as the cut's text
    on the calm side, and is its next float up aroused? Mapping onto 1..9
    in double precision, as classification does off the 1-9 scale."""
    out = []
    for low, high in ((1, 9), (0, 1), (-3, 3)):
        for cut in (5.67, 5.72, 4.0):
            text = '%g' % (low + (cut - 1) * (high - low) / 8)
            a = np.float32(text)
            up = np.nextafter(a, np.float32(np.inf))
            if (low, high) == (1, 9):
                calm = lambda x: float(x) <= cut
            else:
                calm = lambda x: 1 + (float(x) - low) * (8.0 / (high - low)) <= cut
            out.append((low, high, text, 'calm' if calm(a) else 'aroused',
                        'next float calm' if calm(up) else 'next float aroused'))
    return out


if __name__ == '__main__':
    for edge in arousal_edges():
        print(edge)
