// The rows of one category as points in the space of the controls, so that
// the rows whose values lie in a box (one range per control) are found
// without looking at the rest: a k-d tree keeps the box around the rows of
// each of its parts and skips every part that misses the box asked for.
#ifndef STIMSEL_BALANCE_BOX_INDEX_H_
#define STIMSEL_BALANCE_BOX_INDEX_H_

#include <cstddef>
#include <vector>

class BoxIndex {
 public:
  // Indexes `rows` on the controls whose values (one vector per control,
  // indexed by row) are `values`; the rows' values must not be NaN. Parts
  // are split where the spread divided by the control's `scale` (such as
  // its tolerance; positive) is widest. An empty index is allowed.
  BoxIndex(std::vector<int> rows, const std::vector<const std::vector<double>*>& values,
           const std::vector<double>& scales);

  // Calls visit(row) for every indexed row whose value on each control c
  // lies in [low[c], high[c]], in no promised order. A NaN bound keeps no
  // row out.
  template <typename Visit>
  void forEachIn(const std::vector<double>& low, const std::vector<double>& high,
                 Visit&& visit) const;

 private:
  struct Node {
    int begin = 0;  // its points are positions [begin, end)
    int end = 0;
    int left = -1;  // children, or -1 for a leaf
    int right = -1;
  };

  struct Keyed {
    double key;  // the row's value on the control a split is on
    int row;
  };

  int build(int begin, int end, const std::vector<const std::vector<double>*>& values,
            const std::vector<double>& scales, std::vector<double>& bounds,
            std::vector<Keyed>& keyed);
  void setLeafBox(int node, const std::vector<const std::vector<double>*>& values);
  bool misses(int node, const std::vector<double>& low, const std::vector<double>& high) const;
  bool inside(int position, const std::vector<double>& low, const std::vector<double>& high) const;

  std::size_t width_;            // the number of controls
  std::vector<int> rowAt_;       // [position]
  std::vector<double> valueAt_;  // [position * width_ + control]
  std::vector<Node> nodes_;
  std::vector<double> box_;  // [node * 2 * width_ + 2 * control]: lowest, then highest value
};

template <typename Visit>
void BoxIndex::forEachIn(const std::vector<double>& low, const std::vector<double>& high,
                         Visit&& visit) const {
  if (nodes_.empty()) return;
  int stack[64];
  int depth = 0;
  stack[depth++] = 0;
  while (depth > 0) {
    const int node = stack[--depth];
    if (misses(node, low, high)) continue;
    const Node& n = nodes_[static_cast<std::size_t>(node)];
    if (n.left >= 0) {
      stack[depth++] = n.right;
      stack[depth++] = n.left;
      continue;
    }
    for (int p = n.begin; p < n.end; ++p) {
      if (inside(p, low, high)) visit(rowAt_[static_cast<std::size_t>(p)]);
    }
  }
}

#endif  // STIMSEL_BALANCE_BOX_INDEX_H_
