// How many matched groups a design's eligible words could hold at most, as
// far as a quick greedy pass can tell: a figure for the datasheet's
// candidate pools, never used to decide what is drawn.
#ifndef STIMSEL_DATASHEET_GROUP_CAPACITY_H_
#define STIMSEL_DATASHEET_GROUP_CAPACITY_H_

#include <vector>

// One control as the pass sees it: a value per row and the tolerance of the
// match rule; two values are close when std::fabs(a - b) <= tolerance.
struct CapacityControl {
  std::vector<double> values;
  double tolerance = 0;
};

struct CapacityInput {
  int categories = 0;           // K
  std::vector<int> categoryOf;  // per row: 1..K, or 0 when the row is not eligible
  std::vector<CapacityControl> controls;
  bool matchAll = false;  // every two words of a group close, not only each with the anchor
  // The anchor categories in the order the draw takes them (1..K-1 for the
  // affect design, 1..K when every category anchors); the pass cycles them.
  std::vector<int> anchorCycle;
};

// `greedyGroups` groups were built by the pass, so at least that many fit;
// no list can hold more than `smallestPool` groups (the fewest eligible
// words of any category). The true largest list lies between the two.
struct GroupCapacity {
  long long greedyGroups = 0;
  long long smallestPool = 0;
};

// Builds disjoint groups one after another, taking the anchor categories in
// the cycle's order: for each group, the first unused row of the anchor
// category in table order, after the last one tried, for which every other
// category has an unused row within every tolerance (under matchAll, also
// of the partners taken before it, categories in increasing order, each the
// first fit in table order).
// Stops at the first anchor category that has no such row. Deterministic;
// groups found this way all meet the match rule, so the count is a lower
// bound on the largest list, not its exact value.
GroupCapacity greedyGroupCapacity(const CapacityInput& input);

#endif  // STIMSEL_DATASHEET_GROUP_CAPACITY_H_
