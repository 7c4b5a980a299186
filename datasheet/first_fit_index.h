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

  // The first unused indexed row in table order that is close to each of
  // `members` (rows of any category) on every control, as the pass
  // compares: std::fabs(value - memberValue) <= tolerance. -1 when none is.
  int firstClose(const std::vector<int>& members) const;

 private:
  struct Node {
    int begin = 0;  // its points are positions [begin, end)
    int end = 0;
    int left = -1;  // children, or -1 for a leaf (whose points are in row order)
    int right = -1;
    int parent = -1;
    int firstUnused = 0;  // the smallest unused row among its points, or kNone
  };
  static constexpr int kNone = 0x7fffffff;

  int build(int begin, int end, int parent, std::vector<int>& order);
  int splitControl(int node) const;
  void setBox(int node, const std::vector<int>& order);
  void shrinkLeafBox(int node);
  bool joinChildBoxes(int node);
  int firstUnusedOfLeaf(const Node& node) const;
  bool closeToAll(int position, const std::vector<double>& memberValues) const;
  void search(int node, const std::vector<double>& low, const std::vector<double>& high,
              const std::vector<double>& memberValues, int& best) const;

  const std::vector<CapacityControl>& controls_;
  std::size_t width_;            // the number of controls
  int firstRow_ = 0;             // the smallest indexed row
  int treePoints_ = 0;           // positions below it are in the tree; the rest have a NaN
  std::vector<int> rowAt_;       // [position]
  std::vector<double> valueAt_;  // [position * width_ + control]
  std::vector<char> used_;       // [position]
  std::vector<int> positionOf_;  // [row - firstRow_], or -1
  std::vector<int> leafOf_;      // [position]: its leaf, for positions in the tree
  std::vector<Node> nodes_;
  // [node * 2 * width_ + 2 * control]: the lowest, then the highest value of
  // its unused points (while it has any)
  std::vector<double> box_;
};

#endif  // STIMSEL_DATASHEET_FIRST_FIT_INDEX_H_
