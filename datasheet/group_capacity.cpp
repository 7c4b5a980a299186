#include "datasheet/group_capacity.h"

#include <algorithm>
#include <limits>

#include "datasheet/first_fit_index.h"
#include "select/alive_set.h"

namespace {

class GreedyPass {
 public:
  explicit GreedyPass(const CapacityInput& input)
      : input_(input),
        inTableOrder_(static_cast<size_t>(input.categories) + 1),
        positionInCategory_(input.categoryOf.size(), -1),
        next_(static_cast<size_t>(input.categories) + 1, 0) {
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
      byCategory_.emplace_back(rows, input.controls);
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
    const auto c = static_cast<size_t>(input_.categoryOf[static_cast<size_t>(row)]);
    unused_[c].remove(positionInCategory_[static_cast<size_t>(row)]);
    byCategory_[c].markUsed(row);
  }

  // Each partner is the first unused row of its category in table order
  // close to the anchor, or under matchAll to every member taken so far.
  bool completeGroup(std::vector<int>& group, int anchorCategory) {
    for (int c = 1; c <= input_.categories; ++c) {
      if (c == anchorCategory) continue;
      const FirstFitIndex& index = byCategory_[static_cast<size_t>(c)];
      const int partner =
          input_.matchAll ? index.firstClose(group) : index.firstClose({group.front()});
      if (partner < 0) return false;
      group.push_back(partner);
    }
    return true;
  }

  const CapacityInput& input_;
  std::vector<std::vector<int>> inTableOrder_;  // [category]: its rows
  std::vector<int> positionInCategory_;         // [row]: where inTableOrder_ holds it
  std::vector<AliveSet> unused_;                // [category]: its unused rows, in table order
  std::vector<int> next_;                       // [category]: the next anchor to try
  std::vector<FirstFitIndex> byCategory_;       // [category]: its rows on the controls
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
