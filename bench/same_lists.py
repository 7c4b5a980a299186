#!/usr/bin/env python3
"""Runs two stimsel binaries on the same arguments and compares what they
print, byte for byte: every list the first completes (status 0) must come out
the same from the second. Lists the first ends short may differ (the second
may complete them by direct draws); they are counted apart.

  bench/same_lists.py OLD_BINARY NEW_BINARY [SEEDS]

Cases: the sample in data/, the files in data/examples/, a realistic-norms
CSV when /work/shared/data/realistic-norms.csv or $REALISTIC names one, and
a generated 40,000-row CSV (two draws per index)."""
import itertools
import os
import random
import subprocess
import sys
import tempfile
from concurrent.futures import ThreadPoolExecutor

old, new = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
seeds = int(sys.argv[3]) if len(sys.argv) > 3 else 5
top = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
work = tempfile.mkdtemp()

rng = random.Random(40000)
letters = "abcdefghijklmnopqrstuvwxyz"
with open(f"{work}/big.csv", "w") as f:
    f.write("word,valence,valence_sd,arousal,frequency\n")
    for i in range(40000):
        word = "".join(rng.choice(letters) for _ in range(rng.randint(3, 9))) + str(i)
        f.write(f"{word},{rng.uniform(1, 9):.2f},{rng.uniform(0.5, 2.5):.2f},"
                f"{rng.uniform(1, 9):.2f},{int(rng.expovariate(1 / 30))}\n")

designs = [[], ["--match", "all"], ["--zipf-tolerance", "0.2"],
           ["--zipf-tolerance", "0.2", "--match", "all"],
           ["--length-tolerance", "0", "--frequency-tolerance", "5"], ["--lists", "3"]]
cases = []  # (folder, arguments)
sample = f"{top}/data"
for n, mode, pos, design in itertools.product(
        ["6", "16", "36", "60", "120", "300"], ["YES", "NO", "Val"], [[], ["0", "adj"], ["0", "n"]],
        designs):
    cases.append((sample, [n, mode] + pos + design))
examples = f"{top}/data/examples"
for n, mode, design in itertools.product(["12", "24", "60", "120"], ["YES", "NO"], designs):
    cases.append((examples, [n, mode, "--norms", "warriner-style.csv",
                             "--frequency", "subtlex-style.txt"] + design))
    cases.append((examples, [n, mode, "--norms", "nrc-style.tsv", "--scale", "0:1",
                             "--frequency", "subtlex-style.txt"] + design))
    cases.append((examples, [n, mode, "--norms", "short-classic.txt", "--header-lines", "5"]
                  + design))
realistic = os.environ.get("REALISTIC", "/work/shared/data/realistic-norms.csv")
if os.path.exists(realistic):
    for n, mode, design in itertools.product(["36", "120", "300", "480", "600"], ["YES", "NO"],
                                             designs):
        cases.append((os.path.dirname(realistic),
                      [n, mode, "--norms", os.path.basename(realistic)] + design))
for n, mode, design in itertools.product(["36", "120"], ["YES", "NO"], designs[:4]):
    cases.append((work, [n, mode, "--norms", "big.csv"] + design))


def run(binary, folder, args):
    try:
        p = subprocess.run([binary] + args, cwd=folder, capture_output=True, timeout=120)
        return p.returncode, p.stdout
    except subprocess.TimeoutExpired:
        return "timeout", b""


def compare(job):
    folder, args = job
    a = run(old, folder, args)
    b = run(new, folder, args)
    return args, a, b


jobs = [(folder, args + ["--seed", str(seed)]) for folder, args in cases
        for seed in range(1, seeds + 1)]
complete_same = complete_differ = short_same = short_differ = other = 0
with ThreadPoolExecutor(2) as pool:
    for args, a, b in pool.map(compare, jobs):
        if a[0] == 0:
            if a == b:
                complete_same += 1
            else:
                complete_differ += 1
                print("DIFFERS (complete before):", " ".join(args))
        elif a[0] == 3:
            if a == b:
                short_same += 1
            else:
                short_differ += 1
        else:
            other += 1
            if a != b:
                print("DIFFERS (status", a[0], "):", " ".join(args))
print(f"{len(jobs)} runs: complete before {complete_same + complete_differ} "
      f"({complete_same} identical, {complete_differ} differ); short before "
      f"{short_same + short_differ} ({short_same} identical, {short_differ} differ); other {other}")
