#include "datasheet/group_capacity.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The rows of one category ordered by one control's value (table order
// among equal values), so that the rows within a tolerance of a value are
// found by binary search.
struct SortedRows {
  std::vector<int> rows;
  std::vector<double> keys;
};

class GreedyPass {
 public:
  explicit GreedyPass(const CapacityInput& input)
      : input_(input),
        used_(input.categoryOf.size(), false),
        inTableOrder_(static_cast<size_t>(input.categories) + 1),
        next_(static_cast<size_t>(input.categories) + 1, 0),
        byControl_(input.controls.size()) {
    for (size_t row = 0; row < input.categoryOf.size(); ++row) {
      const int c = input.categoryOf[row];
      if (c >= 1 && c <= input.categories) {
        inTableOrder_[static_cast<size_t>(c)].push_back(static_cast<int>(row));
      }
    }
    for (size_t k = 0; k < input.controls.size(); ++k) {
      const std::vector<double>& values = input.controls[k].values;
      for (const std::vector<int>& rows : inTableOrder_) {
        SortedRows sorted{rows, {}};
        std::stable_sort(sorted.rows.begin(), sorted.rows.end(), [&](int a, int b) {
          return values[static_cast<size_t>(a)] < values[static_cast<size_t>(b)];
        });
        for (int row : sorted.rows) sorted.keys.push_back(values[static_cast<size_t>(row)]);
        byControl_[k].push_back(std::move(sorted));
      }
    }
  }

  long long smallestPool() const {
    size_t smallest = std::numeric_limits<size_t>::max();
    for (int c = 1; c <= input_.categories; ++c) {
      smallest = std::min(smallest, inTableOrder_[static_cast<size_t>(c)].size());
    }
    return input_.categories < 1 ? 0 : static_cast<long long>(smallest);
  }

  // Builds one group anchored in `category`; false when none can be built.
  // Rows only ever get used, so an anchor that cannot head a group now
  // never can (under matchAll, as far as the greedy choice of partners
  // goes): the search resumes after the last anchor it tried.
  bool buildGroup(int category) {
    const std::vector<int>& rows = inTableOrder_[static_cast<size_t>(category)];
    size_t& next = next_[static_cast<size_t>(category)];
    for (; next < rows.size(); ++next) {
      const int row = rows[next];
      if (used_[static_cast<size_t>(row)]) continue;
      std::vector<int> group{row};
      if (!completeGroup(group, category)) continue;
      for (int member : group) used_[static_cast<size_t>(member)] = true;
      ++next;
      return true;
    }
    return false;
  }

 private:
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

  // The positions in control k's order of `category`'s rows near the
  // anchor's value: widened by a hair, so that rounding in the subtraction
  // never drops a row the exact check accepts.
  std::pair<size_t, size_t> window(size_t k, int category, int anchor) const {
    const SortedRows& sorted = byControl_[k][static_cast<size_t>(category)];
    const double value = input_.controls[k].values[static_cast<size_t>(anchor)];
    const double reach = input_.controls[k].tolerance * (1 + 1e-9) + 1e-9 * std::fabs(value);
    const auto begin = std::lower_bound(sorted.keys.begin(), sorted.keys.end(), value - reach);
    const auto end = std::upper_bound(begin, sorted.keys.end(), value + reach);
    return {static_cast<size_t>(begin - sorted.keys.begin()),
            static_cast<size_t>(end - sorted.keys.begin())};
  }

  // The first unused row of `category` in table order that fits the group.
  // Every row that fits lies in each control's window around the anchor,
  // so only the narrowest window is looked through.
  int firstFit(int category, const std::vector<int>& group) const {
    if (input_.controls.empty())
      return firstFitAmong(inTableOrder_[static_cast<size_t>(category)], 0,
                           inTableOrder_[static_cast<size_t>(category)].size(), group);
    size_t narrowest = 0;
    std::pair<size_t, size_t> best = window(0, category, group.front());
    for (size_t k = 1; k < input_.controls.size() && best.second > best.first; ++k) {
      const std::pair<size_t, size_t> w = window(k, category, group.front());
      if (w.second - w.first < best.second - best.first) {
        best = w;
        narrowest = k;
      }
    }
    return firstFitAmong(byControl_[narrowest][static_cast<size_t>(category)].rows, best.first,
                         best.second, group);
  }

  int firstFitAmong(const std::vector<int>& rows, size_t from, size_t to,
                    const std::vector<int>& group) const {
    int best = -1;
    for (size_t i = from; i < to; ++i) {
      const int row = rows[i];
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
  std::vector<std::vector<int>> inTableOrder_;      // [category]: its rows
  std::vector<size_t> next_;                        // [category]: the next anchor to try
  std::vector<std::vector<SortedRows>> byControl_;  // [control][category]
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
