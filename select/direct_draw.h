// The draw that completes a list once the random draw has spent its budget
// on a group that the check says can be built: each choice is made among
// exactly the rows that keep the group buildable, so it never fails where a
// group exists, and it uses the run's one random source.
#ifndef STIMSEL_SELECT_DIRECT_DRAW_H_
#define STIMSEL_SELECT_DIRECT_DRAW_H_

#include <vector>

#include "select/match_index.h"
#include "select/random_source.h"

// Draws a group anchored in category s: the anchor uniformly among the free
// rows of s that can head a group, then for each other category in play, in
// order, a row uniformly among its free rows close to the group (under
// matchAll, among those with which the group can still be completed).
// Returns the anchor, then the partners; empty when no group could be
// found, which with two controls means none exists. Does not take the rows.
std::vector<int> drawGroupDirectly(MatchIndex& index, int s, RandomSource& random);

#endif  // STIMSEL_SELECT_DIRECT_DRAW_H_
