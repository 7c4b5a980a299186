// The direct draw that completes a list after the random draw reaches its
// limit: lists complete whenever a group exists, every group keeps the
// matching rule, a shortfall is true, and the choices are uniform.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>

#include "select/selection.h"

namespace {

struct Rows {
  std::vector<std::uint8_t> slot;
  Controls controls;
};

// Rows with `controls` controls; values on a coarse grid so that many sit
// exactly on the tolerance bounds.
Rows randomRows(std::mt19937& random, int n, int k, int controls) {
  Rows rows;
  for (int c = 0; c < controls; ++c) rows.controls.tolerances.push_back(c == 0 ? 1 : 0.2);
  for (int i = 0; i < n; ++i) {
    rows.slot.push_back(static_cast<std::uint8_t>(random() % (k + 1)));
    for (int c = 0; c < controls; ++c) {
      rows.controls.values.push_back(c == 0 ? static_cast<double>(random() % 4)
                                            : 0.1 * static_cast<double>(random() % 8));
    }
  }
  return rows;
}

// Whether free rows (not `taken`) can fill `members`, whose first is the
// anchor, with one row of each category p..k other than the anchor's.
bool completes(const Rows& rows, int k, bool matchAll, const std::vector<char>& taken,
               std::vector<int>& members, int p) {
  if (p > k) return true;
  const int s = rows.slot[static_cast<size_t>(members[0])];
  if (p == s) return completes(rows, k, matchAll, taken, members, p + 1);
  for (size_t i = 0; i < rows.slot.size(); ++i) {
    if (rows.slot[i] != p || taken[i]) continue;
    bool close = true;
    for (size_t m = 0; m < (matchAll ? members.size() : 1); ++m) {
      close = close && rows.controls.rowsClose(static_cast<int>(i), members[m]);
    }
    if (!close) continue;
    members.push_back(static_cast<int>(i));
    const bool found = completes(rows, k, matchAll, taken, members, p + 1);
    members.pop_back();
    if (found) return true;
  }
  return false;
}

bool someGroupExists(const Rows& rows, int k, int s, bool matchAll,
                     const std::vector<char>& taken) {
  for (size_t a = 0; a < rows.slot.size(); ++a) {
    if (rows.slot[a] != s || taken[a]) continue;
    std::vector<int> members = {static_cast<int>(a)};
    if (completes(rows, k, matchAll, taken, members, 1)) return true;
  }
  return false;
}

TEST(DirectDraw, CompletesWheneverAGroupExistsAndKeepsTheRule) {
  const struct {
    const char* name;
    int k;
    int controls;
    bool matchAll;
    long long randomDraws;
  } designs[] = {
      {"anchor rule, two controls, direct from the start", 3, 2, false, 0},
      {"anchor rule, two controls, after 50 draws", 6, 2, false, 50},
      {"all pairs, two controls, direct from the start", 4, 2, true, 0},
      {"all pairs, two controls, after 50 draws", 3, 2, true, 50},
      {"all pairs, one control", 3, 1, true, 0},
      {"all pairs, three controls", 4, 3, true, 0},
  };
  std::mt19937 random(2026);
  int direct = 0;
  int short_ = 0;
  for (const auto& design : designs) {
    for (int trial = 0; trial < 150; ++trial) {
      const Rows rows =
          randomRows(random, 8 + static_cast<int>(random() % 50), design.k, design.controls);
      MatchRules rules;
      rules.matchAll = design.matchAll;
      rules.randomDrawsPerGroup = design.randomDraws;
      const long long wanted = static_cast<long long>(random() % 40);
      RandomSource source(static_cast<std::uint32_t>(random()));
      const SelectionResult result =
          chooseGroups(rows.slot, rows.controls, design.k, wanted, rules, source);
      const std::string where = std::string(design.name) + ", trial " + std::to_string(trial);

      std::vector<char> taken(rows.slot.size(), 0);
      for (size_t g = 0; g < result.groups.size(); ++g) {
        const std::vector<int>& group = result.groups[g];
        ASSERT_EQ(static_cast<int>(group.size()), design.k) << where;
        EXPECT_EQ(rows.slot[group[0]], static_cast<int>(g % (design.k - 1)) + 1) << where;
        std::set<int> categories;
        for (size_t m = 0; m < group.size(); ++m) {
          EXPECT_FALSE(taken[group[m]]) << where << ": row " << group[m] << " twice";
          taken[group[m]] = 1;
          categories.insert(rows.slot[group[m]]);
          for (size_t other = 0; other < (design.matchAll ? group.size() : 1); ++other) {
            EXPECT_TRUE(rows.controls.rowsClose(group[m], group[other])) << where;
          }
        }
        EXPECT_EQ(static_cast<int>(categories.size()), design.k) << where;
        EXPECT_EQ(categories.count(0), 0u) << where;
      }
      EXPECT_EQ(result.matched, static_cast<long long>(result.groups.size()) * design.k);
      direct += result.directGroups > 0 ? 1 : 0;
      if (result.complete()) {
        EXPECT_EQ(result.matched, result.wanted) << where;
        continue;
      }
      ++short_;
      // A shortfall must be true of the rows left.
      std::vector<int> left(static_cast<size_t>(design.k) + 1, 0);
      for (size_t i = 0; i < rows.slot.size(); ++i) left[rows.slot[i]] += taken[i] ? 0 : 1;
      const int fewest = *std::min_element(left.begin() + 1, left.end());
      EXPECT_EQ(result.scarcestLeft, fewest) << where;
      EXPECT_EQ(left[static_cast<size_t>(result.scarcest)], fewest) << where;
      if (result.shortfall == Shortfall::CategoryEmpty) {
        EXPECT_EQ(left[static_cast<size_t>(result.category)], 0) << where;
      } else {
        ASSERT_EQ(result.shortfall, Shortfall::NoMatchableAnchor) << where;
        EXPECT_FALSE(someGroupExists(rows, design.k, result.category, design.matchAll, taken))
            << where << ": a group anchored in " << result.category << " still exists";
      }
    }
  }
  EXPECT_GT(direct, 300) << "the fixture hardly reaches the direct draw";
  EXPECT_GT(short_, 100) << "the fixture hardly ends short";
}

TEST(DirectDraw, GroupsBeforeTheLimitAreTheRandomDrawsOwn) {
  // Early groups are easy; the last category runs scarce, so later groups
  // need long searches. The groups drawn before the switch are those a run
  // that stops at the same point draws.
  std::mt19937 random(7);
  for (int trial = 0; trial < 40; ++trial) {
    Rows rows;
    rows.controls.tolerances = {2, 10};
    for (int i = 0; i < 600; ++i) {
      const int c = i % 50 == 0 ? 3 : static_cast<int>(random() % 3);
      rows.slot.push_back(static_cast<std::uint8_t>(c));
      rows.controls.values.push_back(static_cast<double>(3 + random() % 6));
      rows.controls.values.push_back(static_cast<double>(random() % 60));
    }
    MatchRules switching;
    switching.randomDrawsPerGroup = 3000;
    MatchRules stopping;
    stopping.maxDrawsPerGroup = 3000;
    RandomSource a(static_cast<std::uint32_t>(trial));
    RandomSource b(static_cast<std::uint32_t>(trial));
    const SelectionResult direct = chooseGroups(rows.slot, rows.controls, 3, 36, switching, a);
    const SelectionResult stopped = chooseGroups(rows.slot, rows.controls, 3, 36, stopping, b);
    const size_t before = direct.groups.size() - static_cast<size_t>(direct.directGroups);
    ASSERT_EQ(before, stopped.groups.size()) << "trial " << trial;
    EXPECT_TRUE(std::equal(stopped.groups.begin(), stopped.groups.end(), direct.groups.begin()));
    if (stopped.shortfall == Shortfall::DrawLimit) {
      EXPECT_GT(direct.directGroups, 0);
    }
  }
}

TEST(DirectDraw, ChoosesUniformlyAmongTheRowsThatFit) {
  // Category 1: rows 0 and 1 can anchor, row 2 cannot (no partner near 100).
  // Category 2: rows 3, 4, 5 all fit; category 3: row 6 only.
  Rows rows;
  rows.slot = {1, 1, 1, 2, 2, 2, 3};
  rows.controls.tolerances = {5};
  rows.controls.values = {0, 1, 100, 0, 2, 4, 3};
  MatchRules rules;
  rules.randomDrawsPerGroup = 0;
  std::map<int, int> anchors;
  std::map<int, int> partners;
  const int runs = 3000;
  for (int seed = 0; seed < runs; ++seed) {
    RandomSource random(static_cast<std::uint32_t>(seed));
    const SelectionResult result = chooseGroups(rows.slot, rows.controls, 3, 3, rules, random);
    ASSERT_TRUE(result.complete());
    ++anchors[result.groups[0][0]];
    ++partners[result.groups[0][1]];
  }
  EXPECT_EQ(anchors.count(2), 0u);
  // Binomial standard deviations: about 27 for 1500, 26 for 1000.
  EXPECT_NEAR(anchors[0], runs / 2, 110);
  EXPECT_NEAR(partners[3], runs / 3, 105);
  EXPECT_NEAR(partners[4], runs / 3, 105);
  EXPECT_NEAR(partners[5], runs / 3, 105);
}

}  // namespace
