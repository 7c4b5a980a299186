#!/usr/bin/env python3
"""Writes the tables of the scaling benchmark into the folder given, for each
row count given (default 25000 50000 100000 200000 400000); with
--random-only first, only the random ones:

  random-N.csv   N random rows, as norms300k.csv of make_tables.py.
  lastgroup-N.csv  N random rows with no aroused positive word but 21
                 planted ones: 20 that match the others (length 6,
                 frequency 30) and one that matches nothing (frequency
                 900000). 120 YES --match all completes; 126 YES is
                 impossible only at its last group.
  shaped-N.csv   N rows shaped like published norms joined with subtitle
                 frequencies (the shape of /work/shared/data/realistic-norms.csv:
                 arousal rising with |valence - 5|, a long-tailed frequency
                 per million), so the aroused positive category is scarce."""
import random
import sys

args = sys.argv[1:]
random_only = args[:1] == ["--random-only"]  # bench/growth needs no other table
if random_only:
    args = args[1:]
out = args[0]
sizes = [int(a) for a in args[1:]] or [25000, 50000, 100000, 200000, 400000]
letters = "abcdefghijklmnopqrstuvwxyz"


def row(rng, i, no_aroused_positive):
    word = "".join(rng.choice(letters) for _ in range(rng.randint(3, 10))) + str(i)
    valence, arousal = rng.uniform(1, 9), rng.uniform(1, 9)
    if no_aroused_positive and valence > 6.5:
        arousal = rng.uniform(1, 5)
    return (f"{word},{valence:.2f},{rng.uniform(0.5, 2.5):.2f},{arousal:.2f},"
            f"{int(rng.expovariate(1 / 30))}\n")


for n in sizes:
    rng = random.Random(n)
    with open(f"{out}/random-{n}.csv", "w") as f:
        f.write("word,valence,valence_sd,arousal,frequency\n")
        for i in range(n):
            f.write(row(rng, i, False))
    if random_only:
        continue
    rng = random.Random(n + 1)
    with open(f"{out}/lastgroup-{n}.csv", "w") as f:
        f.write("word,valence,valence_sd,arousal,frequency\n")
        for i in range(n - 21):
            f.write(row(rng, i, True))
        for i in range(21):
            f.write(f"hotxx{i:02d},8.50,1.00,7.50,{30 if i < 20 else 900000}\n")

    rng = random.Random(n + 2)
    with open(f"{out}/shaped-{n}.csv", "w") as f:
        f.write("word,valence,valence_sd,arousal,SUBTLWF\n")
        for i in range(n):
            length = max(2, min(18, round(rng.gauss(7.27, 2.38))))
            word = "".join(rng.choice(letters) for _ in range(max(1, length - len(str(i))))) + str(i)
            v = rng.gauss(5.10, 1.22)
            v = max(1.0, min(9.0, v - 0.12 * (5 - v) if v < 5 else v))
            a = max(1.0, min(9.0, 3.55 + 0.55 * abs(v - 5) - 0.15 * (v - 5) + rng.gauss(0, 0.8)))
            sd = max(0.4, min(3.5, rng.gauss(1.68, 0.35)))
            zipf = 2.45 + rng.gammavariate(1.6, 0.6) - 0.04 * (length - 7)
            f.write(f"{word},{v:.2f},{sd:.2f},{a:.2f},{min(999999.0, max(0.02, 10 ** (zipf - 3))):.2f}\n")
