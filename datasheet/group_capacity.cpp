#include "datasheet/group_capacity.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The rows of one category, ordered by the first control's value (table
// order among equal values), so that the rows within a tolerance of a value
// are found by binary search.
struct CategoryRows {
  std::vector<int> rows;
  std::vector<double> keys;
};

class GreedyPass {
 public:
  explicit GreedyPass(const CapacityInput& input)
      : input_(input), used_(input.categoryOf.size(), false), byCategory_(input.categories + 1) {
    for (size_t row = 0; row < input.categoryOf.size(); ++row) {
      const int c = input.categoryOf[row];
      if (c >= 1 && c <= input.categories) byCategory_[c].rows.push_back(static_cast<int>(row));
    }
    for (CategoryRows& category : byCategory_) {
      std::stable_sort(category.rows.begin(), category.rows.end(),
                       [&](int a, int b) { return key(a) < key(b); });
      for (int row : category.rows) category.keys.push_back(key(row));
    }
  }

  long long smallestPool() const {
    size_t smallest = std::numeric_limits<size_t>::max();
    for (int c = 1; c <= input_.categories; ++c)
      smallest = std::min(smallest, byCategory_[c].rows.size());
    return input_.categories < 1 ? 0 : static_cast<long long>(smallest);
  }

  // Builds one group anchored in `category`; false when none can be built.
  bool buildGroup(int category) {
    for (size_t row = 0; row < input_.categoryOf.size(); ++row) {
      if (input_.categoryOf[row] != category || used_[row]) continue;
      std::vector<int> group{static_cast<int>(row)};
      if (!completeGroup(group, category)) continue;
      for (int member : group) used_[static_cast<size_t>(member)] = true;
      return true;
    }
    return false;
  }

 private:
  double key(int row) const {
    return input_.controls.empty() ? 0 : input_.controls[0].values[static_cast<size_t>(row)];
  }

  bool close(int a, int b) const {
    for (const CapacityControl& control : input_.controls) {
      const double difference =
          control.values[static_cast<size_t>(a)] - control.values[static_cast<size_t>(b)];
      if (!(std::fabs(difference) <= control.tolerance)) return false;
    }
    return true;
  }

  bool fits(int row, const std::vector<int>& group) const {
    if (!input_.matchAll) return close(row, group.front());
    return std::all_of(group.begin(), group.end(), [&](int member) { return close(row, member); });
  }

  // The first unused row of `category` in table order that fits the group.
  int firstFit(int category, const std::vector<int>& group) const {
    const CategoryRows& pool = byCategory_[category];
    auto begin = pool.keys.begin();
    auto end = pool.keys.end();
    if (!input_.controls.empty()) {
      const double anchorKey = key(group.front());
      // Widened by a hair so that rounding in the subtraction never drops a
      // row the exact check below accepts.
      const double reach = input_.controls[0].tolerance * (1 + 1e-9) + 1e-9 * std::fabs(anchorKey);
      begin = std::lower_bound(pool.keys.begin(), pool.keys.end(), anchorKey - reach);
      end = std::upper_bound(begin, pool.keys.end(), anchorKey + reach);
    }
    int best = -1;
    for (auto it = begin; it != end; ++it) {
      const int row = pool.rows[static_cast<size_t>(it - pool.keys.begin())];
      if (used_[static_cast<size_t>(row)] || (best >= 0 && row > best)) continue;
      if (fits(row, group)) best = row;
    }
    return best;
  }

  bool completeGroup(std::vector<int>& group, int anchorCategory) const {
    for (int c = 1; c <= input_.categories; ++c) {
      if (c == anchorCategory) continue;
      const int partner = firstFit(c, group);
      if (partner < 0) return false;
      group.push_back(partner);
    }
    return true;
  }

  const CapacityInput& input_;
  std::vector<bool> used_;
  std::vector<CategoryRows> byCategory_;
};

}  // namespace

GroupCapacity greedyGroupCapacity(const CapacityInput& input) {
  GroupCapacity capacity;
  if (input.categories < 1 || input.anchorCycle.empty()) return capacity;
  GreedyPass pass(input);
  capacity.smallestPool = pass.smallestPool();
  for (size_t turn = 0;; ++turn) {
    if (capacity.greedyGroups >= capacity.smallestPool) break;
    if (!pass.buildGroup(input.anchorCycle[turn % input.anchorCycle.size()])) break;
    ++capacity.greedyGroups;
  }
  return capacity;
}
