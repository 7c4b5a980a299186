// Improves drawn groups by exchanges, so that the categories (and the lists
// dealt from the groups) have close means and SDs on every control, while
// every group stays within every tolerance of its match rule. The module
// sees rows only as a category number and one value per control; what the
// values mean, and where they came from, is the caller's business.
//
// The imbalance of a set of groups, the figure every exchange must lower:
// for each control c, let z = (value - M_c) / S_c, where M_c and S_c are the
// mean and SD (n - 1 denominator) of the control over every eligible row
// (category 1..K; S_c = 1 when it is 0 or there are fewer than two such
// rows). For a set of chosen words let m be the mean of z and
// s = sqrt(v + 0.01^2), where v is the variance of z with denominator n (the
// floor keeps log s finite when all words of a set are equal). Then
//   imbalance = sum over controls c of
//       sum over pairs of categories a < b:
//           (m_a - m_b)^2 + 0.1 * (ln s_a - ln s_b)^2
//     + sum over pairs of lists a < b:
//           (m_a - m_b)^2 + 0.1 * (ln s_a - ln s_b)^2
// where a category's set is its words in all groups and a list's set is
// every word of its groups (group g belongs to list g % L; lists without
// groups take no part). With one list the list sum is empty. Since every
// category (and every list of whole rounds) holds the same number of words,
// the n or n - 1 denominator of v changes no difference of ln s.
#ifndef STIMSEL_BALANCE_BALANCE_H_
#define STIMSEL_BALANCE_BALANCE_H_

#include <vector>

// The weight of the log-SD terms against the mean terms, and the SD floor,
// in units of the control's SD among eligible rows.
constexpr double kLogSdWeight = 0.1;
constexpr double kSdFloor = 0.01;

// Exchanges one balancing may make before it stops, improving or not.
constexpr long long kMaxExchanges = 100'000;

// Which words of a group must lie within tolerance of each other.
enum class BalanceRule {
  Anchor,  // every partner within tolerance of the group's anchor
  All,     // every two words of a group within tolerance of each other
};

// One control: a value for every row of the table and its tolerance. Two
// values are close when std::fabs(a - b) <= tolerance in double precision,
// the comparison selection makes. Values of rows in no category are never
// read (they may be NaN); those of eligible rows must be finite.
struct BalanceControl {
  std::vector<double> values;
  double tolerance = 0;
};

struct BalanceInput {
  int categories = 0;                    // K, at least 1
  std::vector<int> categoryOf;           // per row: its category 1..K, or 0 when not eligible
  std::vector<BalanceControl> controls;  // each with categoryOf.size() values
  BalanceRule rule = BalanceRule::Anchor;
  // The drawn groups: each holds K distinct rows, one of every category, its
  // anchor first; no row is in two groups; every group meets the rule.
  std::vector<std::vector<int>> groups;
  int lists = 1;  // L, at least 1: group g belongs to list g % L
  long long maxExchanges = kMaxExchanges;
};

struct BalanceResult {
  // The improved groups, in the shape of the input: group g still belongs to
  // list g % L, its first member is still its anchor, and the member at each
  // position has the category of the input's member there.
  std::vector<std::vector<int>> groups;
  double imbalanceBefore = 0;
  double imbalanceAfter = 0;   // never above imbalanceBefore
  long long replacements = 0;  // words replaced by unchosen ones
  long long groupSwaps = 0;    // pairs of groups swapped between lists
  long long wordTrades = 0;    // pairs of words of one category traded between lists
  bool reachedBound = false;   // stopped by maxExchanges, not because nothing helped

  long long exchanges() const { return replacements + groupSwaps + wordTrades; }
};

// The imbalance of `groups` (in the shape of input.groups) as defined above.
double imbalanceOf(const BalanceInput& input, const std::vector<std::vector<int>>& groups);

// Lowers the imbalance of input.groups by exchanges, each accepted only when
// it lowers the imbalance:
//  - replace one word of a group by an unchosen eligible row of the same
//    category that keeps the group within every tolerance of the rule (a new
//    anchor must be close to every partner under the anchor rule);
//  - with L > 1, swap two groups of different lists that hold the same
//    category at every position (so the same anchor category), so that every
//    list keeps its make-up of anchor categories;
//  - with L > 1, trade two words of one category between groups of
//    different lists when both groups still meet the rule (the categories
//    keep their words; only the lists change).
// Sweeps the groups in order, each position in order, taking at every
// position the replacement that lowers the imbalance most (ties: the row
// first in table order); then for each group in order its best swap and,
// for each of its positions in order, its best trade (ties: the group
// first in order); stops after a sweep in which nothing helped, or at
// maxExchanges. The result is a local optimum: when the bound did not stop
// it, no single exchange of these kinds lowers the imbalance, though a
// combination of several might. No random choice is made: the same input
// gives the same result. Throws std::invalid_argument when the input breaks
// the shape described above.
BalanceResult balanceGroups(const BalanceInput& input);

#endif  // STIMSEL_BALANCE_BALANCE_H_
