#include "balance/box_index.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

struct Case {
  std::string name;
  int controls;
  int levels;  // values are whole multiples of 1/levels in [0, 4): many ties
  int rows;
  double reach;  // half the width of the boxes asked for
};

const std::vector<Case> kCases = {
    {"one control", 1, 50, 500, 0.1},
    {"four controls, narrow boxes", 4, 100, 2000, 0.2},
    {"four controls, wide boxes", 4, 100, 2000, 1.5},
    {"whole numbers, boxes of one value", 3, 1, 800, 0},
    {"every value the same", 2, 0, 300, 0.5},
    {"a single row", 2, 10, 1, 0.5},
    {"no rows", 2, 10, 0, 0.5},
};

// Rows in table order hold every other row number, as a category's do.
TEST(BoxIndexTest, VisitsExactlyTheRowsInsideTheBox) {
  for (const Case& c : kCases) {
    std::mt19937 random(7);
    std::vector<std::vector<double>> values(static_cast<size_t>(c.controls));
    std::vector<int> rows;
    for (int r = 0; r < 2 * c.rows; ++r) {
      for (auto& v : values) {
        v.push_back(c.levels == 0 ? 1.0
                                  : static_cast<double>(random() % (4 * c.levels)) / c.levels);
      }
      if (r % 2 == 1) rows.push_back(r);
    }
    std::vector<const std::vector<double>*> pointers;
    for (const auto& v : values) pointers.push_back(&v);
    const BoxIndex index(rows, pointers, std::vector<double>(values.size(), 0.3));
    for (int query = 0; query < 200; ++query) {
      std::vector<double> low;
      std::vector<double> high;
      for (size_t k = 0; k < values.size(); ++k) {
        const double center = static_cast<double>(random() % 400) / 100;
        // Now and then a control that keeps nothing out.
        const bool open = query % 7 == 0 && k == 0;
        low.push_back(open ? -kInf : center - c.reach);
        high.push_back(open ? kInf : center + c.reach);
      }
      std::vector<int> expected;
      for (int r : rows) {
        bool inside = true;
        for (size_t k = 0; k < values.size(); ++k) {
          inside = inside && values[k][static_cast<size_t>(r)] >= low[k] &&
                   values[k][static_cast<size_t>(r)] <= high[k];
        }
        if (inside) expected.push_back(r);
      }
      std::vector<int> got;
      index.forEachIn(low, high, [&](int row) { got.push_back(row); });
      std::sort(got.begin(), got.end());
      ASSERT_EQ(got, expected) << c.name << ", query " << query;
    }
  }
}

}  // namespace
