// Draws the word list at random in matched groups: one word of every
// category in play per group, each within 2 letters and 10 in frequency of
// the group's first word, its anchor.
#ifndef STIMSEL_SELECT_SELECTION_H_
#define STIMSEL_SELECT_SELECTION_H_

#include <vector>

#include "words/word_table.h"

// How far a partner may lie from its anchor, bounds included.
constexpr int kLengthTolerance = 2;
constexpr int kFrequencyTolerance = 10;

// Candidates looked at for one partner: the first draw and this many more.
constexpr int kPartnerRetries = 100;

// Backstop: draws one group may take, give-ups included, before the list is
// declared short. A group that can be built needs far fewer.
constexpr long long kMaxDrawsPerGroup = 20'000'000;

enum class Shortfall {
  None,
  CategoryEmpty,      // a category in play has no eligible word left
  NoMatchableAnchor,  // no anchor left has a partner in every other category
  DrawLimit,          // the backstop ended the search
};

struct SelectionResult {
  int wanted = 0;   // K * floor(N / K), or 0 when N < K
  int matched = 0;  // words chosen, all in complete groups
  Shortfall shortfall = Shortfall::None;
  int category = 0;         // the category that ran short, when there is a shortfall
  long long drawLimit = 0;  // the backstop in force, for the DrawLimit message
  // The table indexes of each complete group, anchor first, in draw order.
  std::vector<std::vector<int>> groups;

  bool complete() const { return shortfall == Shortfall::None; }
};

// Marks the chosen records among the first n and says how many were chosen.
// Anchor categories cycle 1..K-1; every group takes one partner of each other
// category 1..K. Anchors and partners are drawn from the whole table with
// randomIndex(n). Before each group the search checks, without drawing, that
// some eligible anchor still has a partner in every other category; when
// none has, the list ends short. Expects no record chosen on entry.
// `maxDrawsPerGroup` is the backstop; only tests and fuzzing lower it.
SelectionResult chooseWords(WordTable& table, int n, int wanted, int k,
                            long long maxDrawsPerGroup = kMaxDrawsPerGroup);

#endif  // STIMSEL_SELECT_SELECTION_H_
