#include "datasheet/group_capacity.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "select/alive_set.h"

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
        positionInCategory_(input.categoryOf.size(), -1),
        next_(static_cast<size_t>(input.categories) + 1, 0),
        usedInSorted_(static_cast<size_t>(input.categories) + 1, 0),
        byControl_(input.controls.size()) {
    for (size_t row = 0; row < input.categoryOf.size(); ++row) {
      const int c = input.categoryOf[row];
      if (c >= 1 && c <= input.categories) {
        std::vector<int>& rows = inTableOrder_[static_cast<size_t>(c)];
        positionInCategory_[row] = static_cast<int>(rows.size());
        rows.push_back(static_cast<int>(row));
      }
    }
    for (const std::vector<int>& rows : inTableOrder_) {
      unused_.emplace_back(static_cast<int>(rows.size()));
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
    const AliveSet& unused = unused_[static_cast<size_t>(category)];
    int& next = next_[static_cast<size_t>(category)];
    for (next = unused.firstFrom(next); next >= 0; next = unused.firstFrom(next + 1)) {
      std::vector<int> group{rows[static_cast<size_t>(next)]};
      if (!completeGroup(group, category)) continue;
      for (int member : group) markUsed(member);
      return true;
    }
    next = static_cast<int>(rows.size());
    return false;
  }

 private:
  void markUsed(int row) {
    used_[static_cast<size_t>(row)] = true;
    const auto c = static_cast<size_t>(input_.categoryOf[static_cast<size_t>(row)]);
    const int at = positionInCategory_[static_cast<size_t>(row)];
    unused_[c].remove(at);
    // Windows are looked through whole when no early row fits, which is
    // most anchors near the end: drop used rows from the sorted orders once
    // they are half of them.
    if (!byControl_.empty() && ++usedInSorted_[c] * 2 > byControl_.front()[c].rows.size()) {
      for (std::vector<SortedRows>& control : byControl_) dropUsed(control[c]);
      usedInSorted_[c] = 0;
    }
  }

  void dropUsed(SortedRows& sorted) const {
    size_t kept = 0;
    for (size_t i = 0; i < sorted.rows.size(); ++i) {
      if (used_[static_cast<size_t>(sorted.rows[i])]) continue;
      sorted.rows[kept] = sorted.rows[i];
      sorted.keys[kept] = sorted.keys[i];
      ++kept;
    }
    sorted.rows.resize(kept);
    sorted.keys.resize(kept);
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
  // so only the narrowest window need be looked through; but a fit is
  // usually among the first unused rows, so a few of those are tried first,
  // and the window only when none of them fits.
  int firstFit(int category, const std::vector<int>& group) {
    std::vector<int>& rows = inTableOrder_[static_cast<size_t>(category)];
    if (input_.controls.empty()) return firstFitAmong(rows, 0, rows.size(), group);
    size_t narrowest = 0;
    std::pair<size_t, size_t> best = window(0, category, group.front());
    for (size_t k = 1; k < input_.controls.size() && best.second > best.first; ++k) {
      const std::pair<size_t, size_t> w = window(k, category, group.front());
      if (w.second - w.first < best.second - best.first) {
        best = w;
        narrowest = k;
      }
    }
    bool allTried = false;
    constexpr size_t kFirstTries = 64;
    const int early = firstFitInTableOrder(
        category, group, std::min(kFirstTries, best.second - best.first), allTried);
    if (early >= 0 || allTried) return early;
    return firstFitAmong(byControl_[narrowest][static_cast<size_t>(category)].rows, best.first,
                         best.second, group);
  }

  // The first unused row of `category` that fits, among its first `most`
  // unused rows in table order; `allTried` when those were all of them.
  int firstFitInTableOrder(int category, const std::vector<int>& group, size_t most,
                           bool& allTried) const {
    const std::vector<int>& rows = inTableOrder_[static_cast<size_t>(category)];
    size_t tried = 0;
    const AliveSet& unused = unused_[static_cast<size_t>(category)];
    for (int i = unused.firstFrom(0); i >= 0; i = unused.firstFrom(i + 1)) {
      if (tried++ == most) return -1;
      const int row = rows[static_cast<size_t>(i)];
      if (fits(row, group)) return row;
    }
    allTried = true;
    return -1;
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

  bool completeGroup(std::vector<int>& group, int anchorCategory) {
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
  std::vector<int> positionInCategory_;             // [row]: where inTableOrder_ holds it
  std::vector<AliveSet> unused_;                    // [category]: its unused rows, in table order
  std::vector<int> next_;                           // [category]: the next anchor to try
  std::vector<size_t> usedInSorted_;                // [category]: used rows still in byControl_
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
