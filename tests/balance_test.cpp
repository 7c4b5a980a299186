#include "balance/balance.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "balance/latin_square.h"
#include "select/random_source.h"

namespace {

using Groups = std::vector<std::vector<int>>;

// The rows the rule compares in a group are all close on every control.
bool meetsRule(const BalanceInput& in, const std::vector<int>& group) {
  for (size_t a = 0; a < group.size(); ++a) {
    for (size_t b = a + 1; b < group.size(); ++b) {
      if (in.rule == BalanceRule::Anchor && a != 0) continue;
      for (const BalanceControl& c : in.controls) {
        if (std::fabs(c.values[static_cast<size_t>(group[a])] -
                      c.values[static_cast<size_t>(group[b])]) > c.tolerance) {
          return false;
        }
      }
    }
  }
  return true;
}

// A random table of `rows` rows in categories 0..K (0: not eligible) with
// integer-valued and fine-grained controls, and groups drawn greedily: each
// anchor, in turn of categories, takes the first unchosen rows that keep
// its group within the rule.
BalanceInput randomInput(int k, int controls, BalanceRule rule, int lists, int rows, int groups,
                         std::uint32_t seed, double fineTolerance = 0.3) {
  RandomSource random(seed);
  BalanceInput in;
  in.categories = k;
  in.rule = rule;
  in.lists = lists;
  for (int r = 0; r < rows; ++r) in.categoryOf.push_back(random.index(k + 1));
  for (int c = 0; c < controls; ++c) {
    BalanceControl control;
    control.tolerance = c == 0 ? 2 : fineTolerance;
    for (int r = 0; r < rows; ++r) {
      control.values.push_back(c == 0 ? random.index(10) : random.index(1000) / 100.0);
    }
    in.controls.push_back(control);
  }
  std::vector<char> chosen(static_cast<size_t>(rows), 0);
  for (int anchor = 0; anchor < rows && static_cast<int>(in.groups.size()) < groups; ++anchor) {
    const int s = static_cast<int>(in.groups.size()) % k + 1;
    if (in.categoryOf[static_cast<size_t>(anchor)] != s || chosen[static_cast<size_t>(anchor)]) {
      continue;
    }
    std::vector<int> group{anchor};
    for (int p = 1; p <= k; ++p) {
      if (p == s) continue;
      for (int r = 0; r < rows; ++r) {
        if (in.categoryOf[static_cast<size_t>(r)] != p || chosen[static_cast<size_t>(r)]) continue;
        group.push_back(r);
        if (meetsRule(in, group)) break;
        group.pop_back();
      }
    }
    if (static_cast<int>(group.size()) != k) continue;
    for (int r : group) chosen[static_cast<size_t>(r)] = 1;
    in.groups.push_back(group);
  }
  in.groups.resize(in.groups.size() / static_cast<size_t>(lists) * static_cast<size_t>(lists));
  return in;
}

// Anchor categories of each list, sorted: the make-up a list must keep.
std::vector<std::vector<int>> anchorMakeUp(const BalanceInput& in, const Groups& groups) {
  std::vector<std::vector<int>> makeUp(static_cast<size_t>(in.lists));
  for (size_t g = 0; g < groups.size(); ++g) {
    makeUp[g % static_cast<size_t>(in.lists)].push_back(
        in.categoryOf[static_cast<size_t>(groups[g][0])]);
  }
  for (auto& list : makeUp) std::sort(list.begin(), list.end());
  return makeUp;
}

struct PropertyCase {
  const char* name;
  int k;
  int controls;
  BalanceRule rule;
  int lists;
  int rows;
  int groups;
};

class BalanceProperties : public testing::TestWithParam<PropertyCase> {};

// Neither a swap of two groups of different lists with the same categories
// at every position nor a trade of two words of one category between groups
// of different lists that still meet the rule, found by trying every pair,
// lowers the imbalance of a search that stopped on its own.
void expectNoSwapOrTradeHelps(const BalanceInput& in, const BalanceResult& out) {
  const auto listOf = [&](size_t g) { return g % static_cast<size_t>(in.lists); };
  const auto categoryOf = [&](int row) { return in.categoryOf[static_cast<size_t>(row)]; };
  for (size_t g = 0; g < out.groups.size(); ++g) {
    for (size_t h = g + 1; h < out.groups.size(); ++h) {
      if (listOf(g) == listOf(h)) continue;
      Groups tried = out.groups;
      std::swap(tried[g], tried[h]);
      if (std::equal(tried[g].begin(), tried[g].end(), tried[h].begin(),
                     [&](int a, int b) { return categoryOf(a) == categoryOf(b); })) {
        EXPECT_GE(imbalanceOf(in, tried), out.imbalanceAfter) << "swapping " << g << ", " << h;
      }
      for (size_t m = 0; m < tried[g].size(); ++m) {
        for (size_t at = 0; at < tried[h].size(); ++at) {
          tried = out.groups;
          if (categoryOf(tried[g][m]) != categoryOf(tried[h][at])) continue;
          std::swap(tried[g][m], tried[h][at]);
          if (!meetsRule(in, tried[g]) || !meetsRule(in, tried[h])) continue;
          EXPECT_GE(imbalanceOf(in, tried), out.imbalanceAfter)
              << "trading member " << m << " of group " << g << " with group " << h;
        }
      }
    }
  }
}

// Over many random tables: groups keep their shape and tolerances, no row
// is used twice, lists keep their make-up, the imbalance never rises and is
// what imbalanceOf says, the result repeats, and when the search stops on
// its own no single replacement, found by trying every row, lowers it, nor
// any swap or trade.
TEST_P(BalanceProperties, HoldOverRandomTables) {
  const PropertyCase& pc = GetParam();
  for (std::uint32_t seed = 1; seed <= 12; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    const BalanceInput in =
        randomInput(pc.k, pc.controls, pc.rule, pc.lists, pc.rows, pc.groups, seed);
    ASSERT_FALSE(in.groups.empty());
    const BalanceResult out = balanceGroups(in);
    ASSERT_EQ(out.groups.size(), in.groups.size());
    std::vector<char> used(in.categoryOf.size(), 0);
    for (size_t g = 0; g < out.groups.size(); ++g) {
      ASSERT_EQ(out.groups[g].size(), in.groups[g].size());
      EXPECT_TRUE(meetsRule(in, out.groups[g])) << "group " << g;
      for (int member : out.groups[g]) {
        const auto row = static_cast<size_t>(member);
        EXPECT_EQ(used[row], 0) << "row " << row << " twice";
        used[row] = 1;
      }
    }
    EXPECT_EQ(anchorMakeUp(in, out.groups), anchorMakeUp(in, in.groups));
    EXPECT_EQ(out.imbalanceBefore, imbalanceOf(in, in.groups));
    EXPECT_EQ(out.imbalanceAfter, imbalanceOf(in, out.groups));
    EXPECT_LE(out.imbalanceAfter, out.imbalanceBefore);
    EXPECT_EQ(balanceGroups(in).groups, out.groups);
    ASSERT_FALSE(out.reachedBound);
    for (size_t g = 0; g < out.groups.size(); ++g) {
      for (size_t m = 0; m < out.groups[g].size(); ++m) {
        for (size_t r = 0; r < in.categoryOf.size(); ++r) {
          const int category = in.categoryOf[static_cast<size_t>(out.groups[g][m])];
          if (used[r] != 0 || in.categoryOf[r] != category) continue;
          Groups tried = out.groups;
          tried[g][m] = static_cast<int>(r);
          if (!meetsRule(in, tried[g])) continue;
          EXPECT_GE(imbalanceOf(in, tried), out.imbalanceAfter)
              << "replacing group " << g << " member " << m << " by row " << r;
        }
      }
    }
    expectNoSwapOrTradeHelps(in, out);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Designs, BalanceProperties,
    testing::Values(
        PropertyCase{"TwoCategoriesOneControl", 2, 1, BalanceRule::Anchor, 1, 60, 6},
        PropertyCase{"ThreeCategoriesTwoControlsAnchor", 3, 2, BalanceRule::Anchor, 1, 120, 6},
        PropertyCase{"ThreeCategoriesTwoControlsAll", 3, 2, BalanceRule::All, 1, 120, 6},
        PropertyCase{"SixCategoriesFourLists", 6, 2, BalanceRule::Anchor, 4, 400, 8},
        PropertyCase{"FourCategoriesThreeListsAll", 4, 2, BalanceRule::All, 3, 300, 6},
        PropertyCase{"OneCategoryTwoLists", 1, 2, BalanceRule::Anchor, 2, 40, 4}),
    [](const testing::TestParamInfo<PropertyCase>& info) { return info.param.name; });

// Every way to fill the groups' positions with distinct rows that meet the
// rule, and the least imbalance among them.
double bruteForceOptimum(const BalanceInput& in) {
  Groups groups = in.groups;
  std::vector<char> used(in.categoryOf.size(), 0);
  double best = std::numeric_limits<double>::infinity();
  const size_t positions = groups.size() * static_cast<size_t>(in.categories);
  std::function<void(size_t)> fill = [&](size_t at) {
    if (at == positions) {
      best = std::min(best, imbalanceOf(in, groups));
      return;
    }
    const size_t g = at / static_cast<size_t>(in.categories);
    const size_t m = at % static_cast<size_t>(in.categories);
    const int category = in.categoryOf[static_cast<size_t>(in.groups[g][m])];
    for (size_t r = 0; r < in.categoryOf.size(); ++r) {
      if (used[r] != 0 || in.categoryOf[r] != category) continue;
      groups[g][m] = static_cast<int>(r);
      std::vector<int> sofar(groups[g].begin(), groups[g].begin() + static_cast<long>(m) + 1);
      if (!meetsRule(in, sofar)) continue;
      used[r] = 1;
      fill(at + 1);
      used[r] = 0;
    }
  };
  fill(0);
  return best;
}

struct OptimumCase {
  const char* name;
  int k;
  BalanceRule rule;
  int lists;
  int rows;
  int groups;
  std::uint32_t seed;
};

class BalanceOptimum : public testing::TestWithParam<OptimumCase> {};

// The search ends in a local optimum; on these tables that is the best of
// every feasible choice of words.

TEST_P(BalanceOptimum, SearchReachesTheBruteForceOptimum) {
  const OptimumCase& oc = GetParam();
  const BalanceInput in = randomInput(oc.k, 2, oc.rule, oc.lists, oc.rows, oc.groups, oc.seed, 3.0);
  ASSERT_EQ(static_cast<int>(in.groups.size()), oc.groups);
  const double optimum = bruteForceOptimum(in);
  EXPECT_LT(optimum, imbalanceOf(in, in.groups));  // there was something to gain
  EXPECT_NEAR(balanceGroups(in).imbalanceAfter, optimum, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(
    SmallTables, BalanceOptimum,
    testing::Values(OptimumCase{"TwoCategoriesAnchor", 2, BalanceRule::Anchor, 1, 15, 2, 18},
                    OptimumCase{"TwoCategoriesTwoLists", 2, BalanceRule::Anchor, 2, 15, 2, 28},
                    OptimumCase{"ThreeCategoriesAll", 3, BalanceRule::All, 1, 16, 2, 31}),
    [](const testing::TestParamInfo<OptimumCase>& info) { return info.param.name; });

// Values 0, 2 (category 1) and 4, 8 (category 2) in groups {0, 2} and
// {1, 3}: the imbalance written out by hand (computed independently).
TEST(BalanceImbalance, MatchesTheWrittenFormula) {
  BalanceInput in;
  in.categories = 2;
  in.categoryOf = {1, 1, 2, 2};
  in.controls = {BalanceControl{{0, 2, 4, 8}, 10}};
  in.groups = {{0, 2}, {1, 3}};
  EXPECT_NEAR(imbalanceOf(in, in.groups), 2.190841857171558, 1e-14);
  in.lists = 2;
  EXPECT_NEAR(imbalanceOf(in, in.groups), 2.9787040559927558, 1e-14);
}

TEST(BalanceImbalance, StopsAtTheExchangeBound) {
  BalanceInput in = randomInput(3, 2, BalanceRule::Anchor, 1, 120, 6, 4);
  in.maxExchanges = 1;
  const BalanceResult out = balanceGroups(in);
  EXPECT_EQ(out.exchanges(), 1);
  EXPECT_TRUE(out.reachedBound);
  EXPECT_LT(out.imbalanceAfter, out.imbalanceBefore);
}

TEST(BalanceInputErrors, NameWhatIsWrong) {
  BalanceInput base;
  base.categories = 2;
  base.categoryOf = {1, 2, 1, 0};
  base.controls = {BalanceControl{{0, 1, 5, 9}, 1}};
  base.groups = {{0, 1}};
  const struct {
    const char* name;
    std::function<void(BalanceInput&)> breakIt;
    const char* message;
  } cases[] = {
      {"short group", [](BalanceInput& in) { in.groups = {{0}}; },
       "balanceGroups: every group needs one word of every category"},
      {"row out of range",
       [](BalanceInput& in) {
         in.groups = {{0, 7}};
       },
       "balanceGroups: a group names a row out of range"},
      {"ineligible row",
       [](BalanceInput& in) {
         in.groups = {{0, 3}};
       },
       "balanceGroups: a group holds a row of no category"},
      {"one category twice",
       [](BalanceInput& in) {
         in.groups = {{0, 2}};
       },
       "balanceGroups: a group holds two words of one category"},
      {"row in two groups",
       [](BalanceInput& in) {
         in.groups = {{0, 1}, {1, 0}};
       },
       "balanceGroups: a row is in two groups"},
      {"outside tolerance",
       [](BalanceInput& in) {
         in.groups = {{2, 1}};
       },
       "balanceGroups: a group is outside a tolerance of its rule"},
      {"values missing", [](BalanceInput& in) { in.controls[0].values.pop_back(); },
       "balanceGroups: a control needs one value per row"},
      {"value not a number", [](BalanceInput& in) { in.controls[0].values[2] = std::nan(""); },
       "balanceGroups: an eligible row has a value that is not a finite number"},
      {"category beyond K", [](BalanceInput& in) { in.categoryOf[3] = 3; },
       "balanceGroups: a row's category is not 0 to K"},
      {"no list", [](BalanceInput& in) { in.lists = 0; },
       "balanceGroups: at least one list is needed"},
  };
  for (const auto& c : cases) {
    BalanceInput in = base;
    c.breakIt(in);
    try {
      balanceGroups(in);
      ADD_FAILURE() << c.name << ": no error";
    } catch (const std::invalid_argument& e) {
      EXPECT_EQ(std::string(e.what()), c.message) << c.name;
    }
  }
}

// Every list once per row, equally often per column, and every ordered
// pair of different lists adjacent equally often: once per L rows.
TEST(CounterbalancingSchedule, IsLatinAndBalancesCarryOver) {
  for (int lists = 1; lists <= 9; ++lists) {
    SCOPED_TRACE("lists " + std::to_string(lists));
    const Schedule schedule = counterbalancingSchedule(lists);
    const size_t rows =
        lists % 2 == 1 && lists > 1 ? 2 * static_cast<size_t>(lists) : static_cast<size_t>(lists);
    ASSERT_EQ(schedule.size(), rows);
    std::map<std::pair<int, int>, int> perColumn;
    std::map<std::pair<int, int>, int> adjacent;
    for (const auto& row : schedule) {
      ASSERT_EQ(row.size(), static_cast<size_t>(lists));
      std::vector<int> sorted = row;
      std::sort(sorted.begin(), sorted.end());
      for (int i = 0; i < lists; ++i) ASSERT_EQ(sorted[static_cast<size_t>(i)], i);
      for (int t = 0; t < lists; ++t) ++perColumn[{t, row[static_cast<size_t>(t)]}];
      for (int t = 0; t + 1 < lists; ++t) {
        ++adjacent[{row[static_cast<size_t>(t)], row[static_cast<size_t>(t) + 1]}];
      }
    }
    const int times = static_cast<int>(rows) / lists;
    EXPECT_EQ(perColumn.size(), static_cast<size_t>(lists * lists));
    for (const auto& entry : perColumn) EXPECT_EQ(entry.second, times);
    EXPECT_EQ(adjacent.size(), static_cast<size_t>(lists * (lists - 1)));
    for (const auto& entry : adjacent) EXPECT_EQ(entry.second, times);
  }
  EXPECT_EQ(counterbalancingSchedule(4),
            (Schedule{{0, 1, 3, 2}, {1, 2, 0, 3}, {2, 3, 1, 0}, {3, 0, 2, 1}}));
  EXPECT_THROW(counterbalancingSchedule(0), std::invalid_argument);
}

}  // namespace
