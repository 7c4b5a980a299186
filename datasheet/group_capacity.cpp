#include "datasheet/group_capacity.h"

#include <algorithm>
#include <limits>

#include "datasheet/first_fit_index.h"

namespace {

class GreedyPass {
 public:
  explicit GreedyPass(const CapacityInput& input)
      : input_(input),
        inTableOrder_(static_cast<size_t>(input.categories) + 1),
        used_(input.categoryOf.size(), 0),
        next_(static_cast<size_t>(input.categories) + 1, 0) {
    for (size_t row = 0; row < input.categoryOf.size(); ++row) {
      const int c = input.categoryOf[row];
      if (c >= 1 && c <= input.categories) {
        inTableOrder_[static_cast<size_t>(c)].push_back(static_cast<int>(row));
      }
    }
    byCategory_.reserve(inTableOrder_.size());
    for (const std::vector<int>& rows : inTableOrder_)
      byCategory_.emplace_back(rows, input.controls);
    group_.reserve(static_cast<size_t>(input.categories));
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
  // goes): the search resumes after the last anchor it tried, and the rows
  // it steps over are never looked at again.
  bool buildGroup(int category) {
    const std::vector<int>& rows = inTableOrder_[static_cast<size_t>(category)];
    int& next = next_[static_cast<size_t>(category)];
    for (; next < static_cast<int>(rows.size()); ++next) {
      const int anchor = rows[static_cast<size_t>(next)];
      if (used_[static_cast<size_t>(anchor)] != 0) continue;
      group_.assign(1, anchor);
      if (!completeGroup(category)) continue;
      for (int member : group_) markUsed(member);
      return true;
    }
    return false;
  }

 private:
  void markUsed(int row) {
    used_[static_cast<size_t>(row)] = 1;
    byCategory_[static_cast<size_t>(input_.categoryOf[static_cast<size_t>(row)])].markUsed(row);
  }

  // Each partner is the first unused row of its category in table order
  // close to the anchor, or under matchAll to every member taken so far.
  bool completeGroup(int anchorCategory) {
    for (int c = 1; c <= input_.categories; ++c) {
      if (c == anchorCategory) continue;
      FirstFitIndex& index = byCategory_[static_cast<size_t>(c)];
      const int partner = index.firstClose(group_.data(), input_.matchAll ? group_.size() : 1);
      if (partner < 0) return false;
      group_.push_back(partner);
    }
    return true;
  }

  const CapacityInput& input_;
  std::vector<std::vector<int>> inTableOrder_;  // [category]: its rows
  std::vector<char> used_;                      // [row]
  std::vector<int> next_;  // [category]: where in inTableOrder_ the next anchor to try is
  std::vector<FirstFitIndex> byCategory_;  // [category]: its rows on the controls
  std::vector<int> group_;                 // the group being built, anchor first
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
