#!/usr/bin/python3
"""Independent figures for tests/mean_comparison_test.cpp.

The noncentral t CDF is integrated directly over the chi-square distribution
of the denominator (scipy.integrate.quad with special.ndtr), Student's t comes
from the regularized incomplete beta function, and means and SDs from
math.fsum: none of it is the Boost code the program uses (scipy.stats.nct
wraps Boost, so it serves only as a second check). Run: python3 this file.
"""
import math

from scipy import integrate, special, stats
from scipy.optimize import brentq

ALPHA = 0.05


def chi2_pdf(v, df):
    if v <= 0:
        return 0.0
    return math.exp((df / 2 - 1) * math.log(v) - v / 2 - (df / 2) * math.log(2)
                    - special.gammaln(df / 2))


def nct_cdf(t, df, nc):
    f = lambda v: special.ndtr(t * math.sqrt(v / df) - nc) * chi2_pdf(v, df)
    return sum(integrate.quad(f, lo, hi, epsabs=1e-14, epsrel=1e-13, limit=500)[0]
               for lo, hi in [(0, df), (df, 4 * df), (4 * df, 40 * df + 400)])


def t_cdf(t, df):
    p = special.betainc(df / 2, 0.5, df / (df + t * t)) / 2
    return 1 - p if t > 0 else p


def t_ppf(q, df):
    return brentq(lambda x: t_cdf(x, df) - q, 0, 50, xtol=1e-15)


def mean_and_variance(x):
    # A sample of equal values has that value as mean and no spread, exactly
    # (math.fsum([0.1] * 3) / 3 is 0.10000000000000002).
    if len(set(x)) == 1:
        return x[0], 0.0
    m = math.fsum(x) / len(x)
    return m, math.fsum((v - m) ** 2 for v in x) / (len(x) - 1)


def compare(a, b, bound, unit):
    na, nb = len(a), len(b)
    (ma, va), (mb, vb) = mean_and_variance(a), mean_and_variance(b)
    df = na + nb - 2
    sp = math.sqrt(((na - 1) * va + (nb - 1) * vb) / df)
    u = math.sqrt(1 / na + 1 / nb)
    out = dict(diff=ma - mb, sp=sp,
               smallest=t_ppf(1 - ALPHA, df) * u * (1 if unit == 'sd' else sp))
    if vb > 0:
        out['vr'] = va / vb
    if sp == 0:
        return out
    correction = 1 - 3 / (4 * (na + nb) - 9)
    d = (ma - mb) / sp
    t = d / u
    out['g'] = d * correction
    for key, target in (('gL', 1 - ALPHA), ('gU', ALPHA)):
        nc = brentq(lambda nc: nct_cdf(t, df, nc) - target, t - 40, t + 40, xtol=1e-13)
        out[key] = nc * u * correction
        assert abs(stats.nct.cdf(t, df, nc) - target) < 1e-9
    h = bound * sp if unit == 'sd' else bound
    tl, tu = (ma - mb + h) / (sp * u), (ma - mb - h) / (sp * u)
    pl, pu = 1 - t_cdf(tl, df), t_cdf(tu, df)
    assert abs(pl - stats.ttest_ind([x + h for x in a], b, alternative='greater').pvalue) < 1e-9
    assert abs(pu - stats.ttest_ind([x - h for x in a], b, alternative='less').pvalue) < 1e-9
    out.update(tL=tl, tU=tu, df=df, p=max(pl, pu))
    return out


CASES = {
    'two small samples': ([4.1, 5.3, 6.0, 5.5, 4.8], [3.2, 4.0, 4.4, 3.9, 5.1], 0.5, 'sd'),
    'unequal n': ([3, 4, 5, 6, 7, 8, 9, 10], [5, 6, 6, 7, 8], 1.0, 'raw'),
    'n = 6': ([4, 5, 6, 7, 8, 9], [4, 5, 6, 7, 8, 9], 0.5, 'sd'),
    'n = 23': (list(range(1, 24)), list(range(1, 24)), 0.5, 'sd'),
    'one sample without spread': ([5, 5, 5, 5], [4, 5, 6, 7], 0.5, 'sd'),
    'large negative difference': ([1.0, 1.2, 0.9, 1.1], [3.0, 3.3, 2.8, 3.1], 0.5, 'sd'),
    'zero-spread pair': ([100] * 5, [110] * 5, 0.5, 'sd'),
    'equal values, n = 3': ([0.1] * 3, [0.2] * 3, 0.5, 'sd'),
}

if __name__ == '__main__':
    for name, case in CASES.items():
        print(name, {k: '%.12g' % v for k, v in compare(*case).items()})
