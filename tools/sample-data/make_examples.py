#!/usr/bin/env python3
"""Writes data/examples/: the sample norms (data/KOVA.txt) in the layouts of
other published tables, for the README's "Your own norms" examples. Run from
the top of the repository: python3 tools/sample-data/make_examples.py"""
import csv

HEADER_LINES = 41
rows = []
with open("data/KOVA.txt", encoding="utf-8") as f:
    lines = f.read().split("\n")
for line in lines[HEADER_LINES:]:
    if line.strip():
        rows.append(line.split())

out = "data/examples/"

# Warriner et al. (2013) layout: unnamed row number, Word, V.Mean.Sum, ...
# no frequency column. Two multi-word entries show quoting.
with open(out + "warriner-style.csv", "w", newline="", encoding="utf-8") as f:
    w = csv.writer(f, lineterminator="\r\n")
    w.writerow(["", "Word", "V.Mean.Sum", "V.SD.Sum", "V.Rat.Sum", "A.Mean.Sum", "A.SD.Sum",
                "A.Rat.Sum"])
    for i, r in enumerate(rows, 1):
        w.writerow([i, r[0], r[2], r[3], 20, r[4], r[5], 20])
    w.writerow([len(rows) + 1, "alarm clock", "4.10", "1.20", 20, "6.50", "1.90", 20])
    w.writerow([len(rows) + 2, "ups, downs", "5.00", "1.00", 20, "5.00", "1.00", 20])

# SUBTLEX-US layout: SUBTLWF is per million words; some words capitalised.
with open(out + "subtlex-style.txt", "w", encoding="utf-8") as f:
    f.write("Word\tFREQcount\tCDcount\tFREQlow\tCdlow\tSUBTLWF\tLg10WF\tSUBTLCD\tLg10CD\n")
    for i, r in enumerate(rows):
        word = r[0].capitalize() if i % 10 == 0 else r[0]
        count = int(r[8]) * 51
        f.write(f"{word}\t{count}\t1\t{count}\t1\t{int(r[8]):.2f}\t1\t1\t1\n")
    f.write("alarm clock\t51\t1\t51\t1\t1.00\t1\t1\t1\n")

# NRC VAD layout: ratings on 0..1 with three decimals, no SD, no frequency.
with open(out + "nrc-style.tsv", "w", encoding="utf-8") as f:
    f.write("Word\tValence\tArousal\tDominance\n")
    for r in rows:
        v = (float(r[2]) - 1) / 8
        a = (float(r[4]) - 1) / 8
        f.write(f"{r[0]}\t{v:.3f}\t{a:.3f}\t0.500\n")

# The classic layout with 5 header lines and the first 400 words.
with open(out + "short-classic.txt", "w", encoding="utf-8") as f:
    f.write("Demonstration norms in the classic layout: five header lines,\n"
            "then one word per line: word, number, valence mean and SD,\n"
            "arousal mean and SD, two unused columns, frequency.\n"
            "Made from data/KOVA.txt by tools/sample-data/make_examples.py.\n"
            "Not norms for research.\n")
    for r in rows[:400]:
        f.write("\t".join(r) + "\n")
