#!/usr/bin/env python3
"""Writes the benchmark's generated norms into the folder given:
norms300k.csv, 300,000 random rows with 6 numeric columns; design30k.csv, 30,000 rows with 8
numeric columns for a design of the user's own categories; and matched171.txt, a classic file of
1030 lines holding 171 perfectly matched groups of six (each group's words 4
letters long with frequency 100*g+5, so every word has exactly one partner in
each other category) and unclassified filler."""
import random
import sys

out = sys.argv[1]
random.seed(300000)
# The last two columns come from a source of their own, so that the words
# and ratings stay those of the table's first, four-column form.
extra = random.Random(6)
letters = "abcdefghijklmnopqrstuvwxyz"
with open(f"{out}/norms300k.csv", "w") as f:
    f.write("word,valence,valence_sd,arousal,frequency,concreteness,aoa\n")
    for i in range(300000):
        word = "".join(random.choice(letters) for _ in range(random.randint(3, 10))) + str(i)
        f.write(f"{word},{random.uniform(1, 9):.2f},{random.uniform(0.5, 2.5):.2f},"
                f"{random.uniform(1, 9):.2f},{int(random.expovariate(1 / 30))},"
                f"{extra.uniform(1, 5):.2f},{extra.uniform(2, 16):.2f}\n")

random.seed(30000)
with open(f"{out}/design30k.csv", "w") as f:
    f.write("word,valence,valence_sd,arousal,dominance,concreteness,aoa,familiarity,SUBTLWF\n")
    for i in range(30000):
        word = "".join(random.choice(letters) for _ in range(random.randint(3, 10))) + str(i)
        f.write(f"{word},{random.uniform(1, 9):.2f},{random.uniform(0.5, 2.5):.2f},"
                f"{random.uniform(1, 9):.2f},{random.uniform(1, 9):.2f},"
                f"{random.uniform(1, 5):.2f},{random.uniform(2, 16):.2f},"
                f"{random.uniform(1, 7):.2f},{random.lognormvariate(0, 2):.2f}\n")

# Category ratings (valence, arousal) of calm/aroused positive, negative, neutral.
kinds = [(8, 3), (2, 3), (5, 3), (8, 7), (2, 7), (5, 7)]
lines = [f"header line {i}" for i in range(1, 42)]
for g in range(171):
    for c, (v, a) in enumerate(kinds):
        word = letters[g // 26] + letters[g % 26] + letters[c] + "x"
        lines.append(f"{word}\t1\t{v}.00\t1.00\t{a}.00\t1.00\t1.00\t1.00\t{100 * g + 5}")
while len(lines) < 41 + 1030:
    lines.append(f"filler{len(lines):04d}\t1\t3.50\t1.00\t5.00\t1.00\t1.00\t1.00\t1")
with open(f"{out}/matched171.txt", "w") as f:
    f.write("\n".join(lines) + "\n")
