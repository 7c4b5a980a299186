// The rows of one category as points in the space of the controls, for the
// one question the greedy capacity pass asks over and over: which unused row
// comes first in table order among those close to every word of a group?
// A k-d tree holds, for each part of the space, the box around its rows and
// its first unused row, so that a search skips every part that lies outside
// the tolerances or holds only rows later than a fit already found. The
// answer is the one a scan of every unused row in table order would give.
#ifndef STIMSEL_DATASHEET_FIRST_FIT_INDEX_H_
#define STIMSEL_DATASHEET_FIRST_FIT_INDEX_H_

#include <cstddef>
#include <vector>

#include "datasheet/group_capacity.h"

class FirstFitIndex {
 public:
  // Indexes `rows` (row numbers in increasing order), all unused, on
  // `controls`, which must outlive the index: a group's words are read from
  // them.
  FirstFitIndex(const std::vector<int>& rows, const std::vector<CapacityControl>& controls);

  // `row`, one of the indexed rows, is never an answer again.
  void markUsed(int row);

  // The first unused indexed row in table order that is close to each of the
  // `count` rows at `members` (rows of any category) on every control, as
  // the pass compares: std::fabs(value - memberValue) <= tolerance. -1 when
  // none is. Not const only because it keeps its scratch arrays for the
  // next call.
  int firstClose(const int* members, std::size_t count);

 private:
  // In the tree's preorder: a node's left child is the node after it.
  struct Node {
    int begin = 0;  // its points are positions [begin, end)
    int end = 0;
    int right = -1;  // its right child, or -1 for a leaf (whose points are in row order)
    int parent = -1;
    int firstUnused = 0;  // the smallest unused row among its points, or kNone
  };
  static constexpr int kNone = 0x7fffffff;

  int build(int begin, int end, int parent, std::vector<int>& order, std::vector<double>& bounds);
  int splitControl(const std::vector<double>& bounds) const;
  void setLeafBox(int node);
  bool joinChildBoxes(int node);
  int firstUnusedOfLeaf(const Node& node) const;
  bool closeToAll(int position) const;
  bool misses(int node) const;
  int searchTree(int best) const;
  int searchLeaf(const Node& leaf, int best) const;

  std::size_t width_;              // the number of controls
  std::vector<double> tolerance_;  // [control]
  const std::vector<CapacityControl>& controls_;
  int firstRow_ = 0;             // the smallest indexed row
  int treePoints_ = 0;           // positions below it are in the tree; the rest have a NaN
  std::vector<int> rowAt_;       // [position]
  std::vector<double> valueAt_;  // [position * width_ + control]
  std::vector<char> used_;       // [position]
  std::vector<int> positionOf_;  // [row - firstRow_], or -1
  std::vector<int> leafOf_;      // [position]: its leaf, for positions in the tree
  std::vector<Node> nodes_;
  // [node * 2 * width_ + 2 * control]: the lowest value of its unused points
  // (while it has any), then the highest negated, so that a box misses a
  // reach (laid out alike) when any of its figures is above the reach's.
  std::vector<double> box_;
  // Of the search under way: the members' values ([member * width_ + control])
  // and, per control, the highest then the lowest close value negated.
  std::vector<double> memberValues_;
  std::vector<double> reach_;
};

#endif  // STIMSEL_DATASHEET_FIRST_FIT_INDEX_H_
