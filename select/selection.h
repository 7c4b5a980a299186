// Draws the word list at random in matched groups: one word of every
// category in play per group, each within the length and frequency
// tolerances of the group's first word, its anchor.
#ifndef STIMSEL_SELECT_SELECTION_H_
#define STIMSEL_SELECT_SELECTION_H_

#include <cstdint>
#include <limits>
#include <vector>

#include "select/controls.h"
#include "select/random_source.h"
#include "words/word_table.h"

// Candidates looked at for one partner: the first draw and this many more.
constexpr int kPartnerRetries = 100;

// Random draws one group may take, give-ups included, before it and every
// later group of the run are drawn directly (see select/direct_draw). A
// group that can be built needs far fewer; a list that took up to this many
// draws for each of its groups is drawn exactly as it always was.
constexpr long long kRandomDrawsPerGroup = 200'000'000;

// The same budget once the list can no longer be completed, because more
// groups are wanted than some category has words left: such a list takes as
// many groups as the words allow, and the random draw need not be waited for
// through the slow end of its last groups.
constexpr long long kShortListDrawsPerGroup = 1'000'000;

// No limit: draws that end the list short instead of switching to direct
// draws. Harnesses that follow the random draw alone set a lower one.
constexpr long long kMaxDrawsPerGroup = std::numeric_limits<long long>::max();

// How close the words of a group must be; bounds included. Two values are
// close when |a - b| <= tolerance, computed in double precision.
struct MatchRules {
  int lengthTolerance = 2;
  double frequencyTolerance = 10;  // in the frequency column's units, or Zipf units
  bool zipf = false;               // match log10(frequency per million) + 3
  bool matchAll = false;           // every two words of a group, not only with the anchor
  // Anchors cycle through every category 1..K rather than 1..K-1, so that
  // each category anchors in turn (designs of the user's own categories).
  bool everyCategoryAnchors = false;
  // Every group drawn directly (select/direct_draw) from the first: exact
  // and quick whatever the tolerances, for designs with no earlier lists to
  // reproduce draw for draw.
  bool directFromTheStart = false;
  long long randomDrawsPerGroup = kRandomDrawsPerGroup;
  long long maxDrawsPerGroup = kMaxDrawsPerGroup;
};

enum class Shortfall {
  None,
  CategoryEmpty,      // a category in play has no eligible word left
  NoMatchableAnchor,  // no anchor left has a partner in every other category
  DrawLimit,          // maxDrawsPerGroup ended the search
  Undecided,          // the search could not tell whether another group exists
};

struct SelectionResult {
  long long wanted = 0;   // K * floor(N / K), or 0 when N < K
  long long matched = 0;  // words chosen, all in complete groups
  Shortfall shortfall = Shortfall::None;
  int category = 0;  // 1..K: the category in play that ran short
  // On a shortfall: the category in play with the fewest words left (the
  // lowest number among equals) and how many it has.
  int scarcest = 0;
  int scarcestLeft = 0;
  // How many of the last groups were drawn directly after the random draw
  // reached its limit (0 under directFromTheStart: no switch was made).
  long long directGroups = 0;
  // The table indexes of each complete group in draw order: the anchor, then
  // one partner of every other category in play, in play order.
  std::vector<std::vector<int>> groups;

  bool complete() const { return shortfall == Shortfall::None; }
  // Every chosen index, in table order.
  std::vector<int> chosenInTableOrder() const;
};

// Draws groups until `wanted` words (rounded down to whole groups of K =
// play.size()) are chosen. Anchor categories cycle 1..K-1; every group takes
// one partner of each other category. Anchors and partners are drawn from
// the whole table with random.index(n). Records that cannot be chosen
// (barred, duplicates) or are not in play count as failed draws; so does a
// partner that is not close to the anchor (and, under matchAll, to every
// partner accepted before it). Before each group the search checks, without
// drawing, that such a group can still be built; when it cannot, the list
// ends short. When the random draw spends its budget on a group that can be
// built, that group and all later ones are drawn directly. The controls are
// the length and the match key, with the rules' tolerances.
SelectionResult chooseWords(const WordTable& table, const std::vector<AffectCategory>& play,
                            long long wanted, const MatchRules& rules, RandomSource& random);

// The same over rows given as their category in play (`slot`: 1..k, 0 for
// none) and their control values; of `rules` only matchAll,
// everyCategoryAnchors, directFromTheStart and the draw budgets count.
SelectionResult chooseGroups(const std::vector<std::uint8_t>& slot, const Controls& controls, int k,
                             long long wanted, const MatchRules& rules, RandomSource& random);

// Keeps only whole rounds of `lists` groups, so that lists dealt from them
// in turn all hold the same make-up; the words left out no longer count as
// matched. Returns the number of groups left out.
int keepWholeRounds(SelectionResult& result, int lists);

// The value frequencies are matched on: the frequency, or its Zipf value.
double matchKey(const WordRecord& record, const MatchRules& rules);

#endif  // STIMSEL_SELECT_SELECTION_H_
