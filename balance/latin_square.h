// The counterbalancing schedule: which list each group of participants
// gets in each of L successive conditions, so that every list appears
// equally often in every position and, in the designs below, immediately
// follows every other list equally often (first-order carry-over).
#ifndef STIMSEL_BALANCE_LATIN_SQUARE_H_
#define STIMSEL_BALANCE_LATIN_SQUARE_H_

#include <vector>

// schedule[p][t] is the list (0 .. L-1) participant group p gets in
// condition t. Lists are L >= 1.
//  - Even L: a Williams square, L sequences. Its first row is
//    0, 1, L-1, 2, L-2, ...; row p adds p to each entry (mod L). Every list
//    appears once in every row and every column, and every ordered pair of
//    different lists is adjacent (one right after the other) in exactly one
//    row.
//  - Odd L >= 3: no single Latin square of that form balances carry-over,
//    so the schedule is that square followed by its mirror image (every row
//    reversed), 2L sequences: every list appears twice in every column, and
//    every ordered pair of different lists is adjacent in exactly two rows.
//  - L = 1: the one sequence {0}.
// Throws std::invalid_argument when lists < 1.
using Schedule = std::vector<std::vector<int>>;
Schedule counterbalancingSchedule(int lists);

#endif  // STIMSEL_BALANCE_LATIN_SQUARE_H_
