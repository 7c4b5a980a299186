#include "datasheet/first_fit_index.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "datasheet/group_capacity.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct Shape {
  std::string name;
  std::vector<double> tolerances;
  int levels;       // values are whole multiples of 1/levels in [0, 4): many ties
  double oddShare;  // share of values made NaN or infinite
  int categories;
  bool matchAll;
  int rows = 600;
};

const std::vector<Shape> kShapes = {
    {"two controls, anchor rule", {0.5, 0.2}, 20, 0, 2, false},
    {"four controls, all rule", {1, 0.2, 2, 0.5}, 50, 0, 3, true},
    {"a zero tolerance on whole numbers", {0, 0.3}, 4, 0, 2, false},
    {"an infinite and a negative tolerance", {kInf, -0.1, 0.4}, 10, 0, 2, false},
    {"an infinite tolerance alone", {kInf}, 10, 0, 2, true},
    {"NaN and infinite values", {0.5, 0.5}, 10, 0.1, 3, false},
    {"no controls", {}, 1, 0, 2, false},
    {"every value the same", {0.1, 0.1}, 1, 0, 2, true},
    // Over 8192 rows in a category: the tree's top is split in table order.
    {"rows enough to split in table order", {1, 0.2}, 50, 0.01, 1, false, 20000},
};

CapacityInput randomInput(const Shape& shape, unsigned seed, int rows) {
  std::mt19937 random(seed);
  CapacityInput input;
  input.categories = shape.categories;
  input.matchAll = shape.matchAll;
  for (int r = 0; r < rows; ++r) {
    input.categoryOf.push_back(static_cast<int>(random() % (shape.categories + 1)));
  }
  const double odd[] = {kNaN, kInf, -kInf};
  for (double tolerance : shape.tolerances) {
    CapacityControl control{{}, tolerance};
    for (int r = 0; r < rows; ++r) {
      const std::mt19937::result_type steps =
          4 * static_cast<std::mt19937::result_type>(shape.levels);
      double v = static_cast<double>(random() % steps) / shape.levels;
      if (std::uniform_real_distribution<double>(0, 1)(random) < shape.oddShare) {
        v = odd[random() % 3];
      }
      control.values.push_back(v);
    }
    input.controls.push_back(std::move(control));
  }
  for (int c = 1; c <= shape.categories; ++c) input.anchorCycle.push_back(c);
  return input;
}

bool close(const CapacityInput& input, int a, int b) {
  for (const CapacityControl& control : input.controls) {
    const double d =
        control.values[static_cast<size_t>(a)] - control.values[static_cast<size_t>(b)];
    if (!(std::fabs(d) <= control.tolerance)) return false;
  }
  return true;
}

// The pass as its contract reads, by scanning every row in table order.
long long greedyByScan(const CapacityInput& input) {
  std::vector<char> used(input.categoryOf.size(), 0);
  long long smallest = std::numeric_limits<long long>::max();
  for (int c = 1; c <= input.categories; ++c) {
    long long n = 0;
    for (int k : input.categoryOf) n += k == c;
    smallest = std::min(smallest, n);
  }
  std::vector<int> next(static_cast<size_t>(input.categories) + 1, 0);
  long long groups = 0;
  for (size_t turn = 0; groups < smallest; ++turn) {
    const int anchorCategory = input.anchorCycle[turn % input.anchorCycle.size()];
    bool built = false;
    for (int& a = next[static_cast<size_t>(anchorCategory)];
         !built && a < static_cast<int>(input.categoryOf.size()); ++a) {
      if (input.categoryOf[static_cast<size_t>(a)] != anchorCategory || used[a]) continue;
      std::vector<int> group{a};
      for (int c = 1; c <= input.categories && group.size() > 0; ++c) {
        if (c == anchorCategory) continue;
        int partner = -1;
        for (int r = 0; r < static_cast<int>(input.categoryOf.size()) && partner < 0; ++r) {
          if (input.categoryOf[static_cast<size_t>(r)] != c || used[static_cast<size_t>(r)])
            continue;
          bool fits = close(input, r, a);
          for (size_t m = 1; fits && input.matchAll && m < group.size(); ++m) {
            fits = close(input, r, group[m]);
          }
          if (fits) partner = r;
        }
        if (partner < 0)
          group.clear();
        else
          group.push_back(partner);
      }
      if (group.empty()) continue;
      for (int member : group) used[static_cast<size_t>(member)] = 1;
      built = true;
    }
    if (!built) break;
    ++groups;
  }
  return groups;
}

TEST(FirstFitIndexTest, AnswersAsAScanInTableOrderWhileRowsGetUsed) {
  for (const Shape& shape : kShapes) {
    for (unsigned seed = 1; seed <= 3; ++seed) {
      const CapacityInput input = randomInput(shape, seed, shape.rows);
      std::vector<int> rows;
      for (int r = 0; r < shape.rows; ++r) {
        if (input.categoryOf[static_cast<size_t>(r)] == 1) rows.push_back(r);
      }
      FirstFitIndex index(rows, input.controls);
      std::vector<char> used(static_cast<size_t>(shape.rows), 0);
      std::mt19937 random(seed);
      for (int query = 0; query < 300; ++query) {
        std::vector<int> members{static_cast<int>(random() % shape.rows)};
        if (shape.matchAll) members.push_back(static_cast<int>(random() % shape.rows));
        int expected = -1;
        for (int r : rows) {
          bool fits = !used[static_cast<size_t>(r)];
          for (int m : members) fits = fits && close(input, r, m);
          if (fits) {
            expected = r;
            break;
          }
        }
        ASSERT_EQ(index.firstClose(members.data(), members.size()), expected)
            << shape.name << ", seed " << seed;
        if (expected >= 0) {
          index.markUsed(expected);
          used[static_cast<size_t>(expected)] = 1;
        }
      }
    }
  }
}

TEST(FirstFitIndexTest, GreedyCapacityMatchesAScanOfEveryRow) {
  for (const Shape& shape : kShapes) {
    for (unsigned seed = 1; seed <= 3; ++seed) {
      const CapacityInput input = randomInput(shape, seed, std::min(900, shape.rows));
      EXPECT_EQ(greedyGroupCapacity(input).greedyGroups, greedyByScan(input))
          << shape.name << ", seed " << seed;
    }
  }
}

}  // namespace
