#include "datasheet/first_fit_index.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "select/value_box.h"

namespace {

// Leaves small enough that looking through one costs about as much as
// deciding whether to look.
constexpr int kLeafPoints = 16;

// Larger nodes are halved in table order: the pass uses rows roughly in
// table order and looks for the first fit, so the earlier half is often used
// up (and skipped whole), and a fit there rules out the later half.
constexpr int kRowSplitAbove = 8192;

// Each split halves the points, so a tree of fewer than 2^31 of them is
// shallower than this; a search keeps at most one node a level waiting.
constexpr int kMaxDepth = 64;

bool hasNaN(int row, const std::vector<CapacityControl>& controls) {
  return std::any_of(controls.begin(), controls.end(), [&](const CapacityControl& c) {
    return std::isnan(c.values[static_cast<size_t>(row)]);
  });
}

}  // namespace

FirstFitIndex::FirstFitIndex(const std::vector<int>& rows,
                             const std::vector<CapacityControl>& controls)
    : width_(controls.size()), controls_(controls) {
  for (const CapacityControl& control : controls) tolerance_.push_back(control.tolerance);
  // A NaN has no place in a box; such rows are looked through apart, in
  // table order.
  std::vector<int> withNaN;
  rowAt_.reserve(rows.size());
  for (int row : rows) {
    if (hasNaN(row, controls)) {
      withNaN.push_back(row);
    } else {
      rowAt_.push_back(row);
    }
  }
  treePoints_ = static_cast<int>(rowAt_.size());
  rowAt_.insert(rowAt_.end(), withNaN.begin(), withNaN.end());
  // The tree is built on a copy of the values side by side, then the rows
  // and values are put in the tree's order.
  valueAt_.reserve(rowAt_.size() * width_);
  for (int row : rowAt_) {
    for (const CapacityControl& control : controls) {
      valueAt_.push_back(control.values[static_cast<size_t>(row)]);
    }
  }
  leafOf_.assign(rowAt_.size(), -1);
  std::vector<int> order(rowAt_.size());
  for (size_t p = 0; p < order.size(); ++p) order[p] = static_cast<int>(p);
  if (treePoints_ > 0) {
    std::vector<double> bounds(2 * width_);
    emptyBox(bounds.data(), width_);
    for (int p = 0; p < treePoints_; ++p) {
      for (size_t c = 0; c < width_; ++c) {
        widenBox(bounds.data(), c, valueAt_[static_cast<size_t>(p) * width_ + c]);
      }
    }
    build(0, treePoints_, -1, order, bounds);
  }
  std::vector<int> rowAt(order.size());
  std::vector<double> valueAt(valueAt_.size());
  for (size_t p = 0; p < order.size(); ++p) {
    const auto from = static_cast<size_t>(order[p]);
    rowAt[p] = rowAt_[from];
    std::copy_n(valueAt_.begin() + static_cast<long>(from * width_), width_,
                valueAt.begin() + static_cast<long>(p * width_));
  }
  rowAt_ = std::move(rowAt);
  valueAt_ = std::move(valueAt);
  used_.assign(rowAt_.size(), 0);
  // Children follow their parent in preorder: boxes are set from the last
  // node back.
  box_.resize(nodes_.size() * 2 * width_);
  for (int node = static_cast<int>(nodes_.size()) - 1; node >= 0; --node) {
    if (nodes_[static_cast<size_t>(node)].right < 0) {
      setLeafBox(node);
    } else {
      joinChildBoxes(node);
    }
  }
  firstRow_ = rows.empty() ? 0 : rows.front();
  positionOf_.assign(rows.empty() ? 0 : static_cast<size_t>(rows.back() - firstRow_) + 1, -1);
  for (size_t p = 0; p < rowAt_.size(); ++p) {
    positionOf_[static_cast<size_t>(rowAt_[p] - firstRow_)] = static_cast<int>(p);
  }
}

// Splits at the median of the control widest in tolerances over `bounds`,
// which hold the node's points: the root's box, narrowed at each split
// above to the median's side. The values lie side by side in `valueAt_` (in
// the order before the build; `order` says which is at each position). The
// shape of the tree changes no answer.
int FirstFitIndex::build(int begin, int end, int parent, std::vector<int>& order,
                         std::vector<double>& bounds) {
  const int node = static_cast<int>(nodes_.size());
  nodes_.push_back({begin, end, -1, parent, kNone});
  const auto first = order.begin() + begin;
  const auto last = order.begin() + end;
  const auto rowOf = [&](int i) { return rowAt_[static_cast<size_t>(i)]; };
  if (end - begin <= kLeafPoints) {
    std::sort(first, last, [&](int a, int b) { return rowOf(a) < rowOf(b); });
    for (int p = begin; p < end; ++p) leafOf_[static_cast<size_t>(p)] = node;
    nodes_[static_cast<size_t>(node)].firstUnused = rowOf(*first);
    return node;
  }
  const int control = end - begin > kRowSplitAbove ? -1 : splitControl(bounds);
  const int middle = begin + (end - begin) / 2;
  int left = 0;
  int right = 0;
  if (control < 0) {
    // A large node, or all points alike on every control that prunes:
    // halves in table order let the first-unused figures skip what is used.
    std::nth_element(first, order.begin() + middle, last,
                     [&](int a, int b) { return rowOf(a) < rowOf(b); });
    left = build(begin, middle, node, order, bounds);
    right = build(middle, end, node, order, bounds);
  } else {
    const auto c = static_cast<size_t>(control);
    const auto valueOf = [&](int i) { return valueAt_[static_cast<size_t>(i) * width_ + c]; };
    std::nth_element(first, order.begin() + middle, last,
                     [&](int a, int b) { return valueOf(a) < valueOf(b); });
    const double median = valueOf(order[static_cast<size_t>(middle)]);
    const double high = bounds[2 * c + 1];
    bounds[2 * c + 1] = median;
    left = build(begin, middle, node, order, bounds);
    bounds[2 * c + 1] = high;
    const double low = bounds[2 * c];
    bounds[2 * c] = median;
    right = build(middle, end, node, order, bounds);
    bounds[2 * c] = low;
  }
  Node& n = nodes_[static_cast<size_t>(node)];
  n.right = right;
  n.firstUnused = std::min(nodes_[static_cast<size_t>(left)].firstUnused,
                           nodes_[static_cast<size_t>(right)].firstUnused);
  return node;
}

// The control whose spread is widest in tolerances, among those with a
// finite tolerance (only they prune); -1 when none is spread.
int FirstFitIndex::splitControl(const std::vector<double>& bounds) const {
  int best = -1;
  double widest = 0;
  for (size_t c = 0; c < width_; ++c) {
    const double tolerance = tolerance_[c];
    const double spread = bounds[2 * c + 1] - bounds[2 * c];
    if (!std::isfinite(tolerance) || !(spread > 0)) continue;
    const double width =
        tolerance > 0 ? spread / tolerance : std::numeric_limits<double>::infinity();
    if (best < 0 || width > widest) {
      best = static_cast<int>(c);
      widest = width;
    }
  }
  return best;
}

int FirstFitIndex::firstUnusedOfLeaf(const Node& node) const {
  for (int p = node.begin; p < node.end; ++p) {
    if (used_[static_cast<size_t>(p)] == 0) return rowAt_[static_cast<size_t>(p)];
  }
  return kNone;
}

// The boxes shrink to the unused points as rows get used: near the end of
// the pass most rows are used, and a search that finds no fit looks through
// every part its box meets.
void FirstFitIndex::markUsed(int row) {
  const int p = positionOf_[static_cast<size_t>(row - firstRow_)];
  used_[static_cast<size_t>(p)] = 1;
  if (p >= treePoints_) return;
  int node = leafOf_[static_cast<size_t>(p)];
  Node& leaf = nodes_[static_cast<size_t>(node)];
  leaf.firstUnused = firstUnusedOfLeaf(leaf);
  if (leaf.firstUnused != kNone) setLeafBox(node);
  for (node = leaf.parent; node >= 0; node = nodes_[static_cast<size_t>(node)].parent) {
    Node& n = nodes_[static_cast<size_t>(node)];
    const int first = std::min(nodes_[static_cast<size_t>(node) + 1].firstUnused,
                               nodes_[static_cast<size_t>(n.right)].firstUnused);
    const bool firstChanged = first != n.firstUnused;
    n.firstUnused = first;
    if (!joinChildBoxes(node) && !firstChanged) break;
  }
}

// The box of the leaf's unused points.
void FirstFitIndex::setLeafBox(int node) {
  const Node& n = nodes_[static_cast<size_t>(node)];
  double* box = box_.data() + static_cast<size_t>(node) * 2 * width_;
  std::fill_n(box, 2 * width_, std::numeric_limits<double>::infinity());
  for (int p = n.begin; p < n.end; ++p) {
    if (used_[static_cast<size_t>(p)] != 0) continue;
    const double* values = valueAt_.data() + static_cast<size_t>(p) * width_;
    for (size_t c = 0; c < width_; ++c) {
      box[2 * c] = std::min(box[2 * c], values[c]);
      box[2 * c + 1] = std::min(box[2 * c + 1], -values[c]);
    }
  }
}

// The union of the boxes of the children that hold unused rows; true when
// the node's box changed.
bool FirstFitIndex::joinChildBoxes(int node) {
  const Node& n = nodes_[static_cast<size_t>(node)];
  if (n.firstUnused == kNone) return false;
  const int leftChild = node + 1;
  const double* l = box_.data() + static_cast<size_t>(leftChild) * 2 * width_;
  const double* r = box_.data() + static_cast<size_t>(n.right) * 2 * width_;
  if (nodes_[static_cast<size_t>(leftChild)].firstUnused == kNone) l = r;
  if (nodes_[static_cast<size_t>(n.right)].firstUnused == kNone) r = l;
  double* box = box_.data() + static_cast<size_t>(node) * 2 * width_;
  bool changed = false;
  for (size_t i = 0; i < 2 * width_; ++i) {
    const double joined = std::min(l[i], r[i]);
    changed |= joined != box[i];
    box[i] = joined;
  }
  return changed;
}

bool FirstFitIndex::closeToAll(int position) const {
  const double* values = valueAt_.data() + static_cast<size_t>(position) * width_;
  for (size_t m = 0; m < memberValues_.size(); m += width_) {
    for (size_t c = 0; c < width_; ++c) {
      if (!(std::fabs(values[c] - memberValues_[m + c]) <= tolerance_[c])) return false;
    }
  }
  return true;
}

// Most boxes a search looks at meet the reach: every control is compared,
// without a branch on each.
bool FirstFitIndex::misses(int node) const {
  const double* box = box_.data() + static_cast<size_t>(node) * 2 * width_;
  bool miss = false;
  for (size_t i = 0; i < 2 * width_; ++i) miss |= box[i] > reach_[i];
  return miss;
}

int FirstFitIndex::firstClose(const int* members, std::size_t count) {
  // Every close value lies within each member's reach on a control with a
  // finite tolerance: the reach is widened by a hair, so that rounding in
  // the subtraction never leaves out a row the exact comparison accepts.
  memberValues_.resize(count * width_);
  reach_.assign(2 * width_, std::numeric_limits<double>::infinity());
  for (size_t m = 0; m < count; ++m) {
    for (size_t c = 0; c < width_; ++c) {
      const double value = controls_[c].values[static_cast<size_t>(members[m])];
      memberValues_[m * width_ + c] = value;
      const double tolerance = tolerance_[c];
      if (!std::isfinite(tolerance)) continue;
      const double reach = tolerance * (1 + 1e-9) + 1e-9 * std::fabs(value);
      reach_[2 * c] = std::min(reach_[2 * c], value + reach);
      reach_[2 * c + 1] = std::min(reach_[2 * c + 1], -(value - reach));
    }
  }
  int best = treePoints_ > 0 ? searchTree(kNone) : kNone;
  for (size_t p = static_cast<size_t>(treePoints_); p < rowAt_.size(); ++p) {
    if (rowAt_[p] >= best) break;
    if (used_[p] == 0 && closeToAll(static_cast<int>(p))) best = rowAt_[p];
  }
  return best == kNone ? -1 : best;
}

// Depth first, the child with the earlier unused row first: a fit there
// bounds the other.
int FirstFitIndex::searchTree(int best) const {
  int stack[kMaxDepth];
  int depth = 0;
  stack[depth++] = 0;
  while (depth > 0) {
    const int node = stack[--depth];
    const Node& n = nodes_[static_cast<size_t>(node)];
    if (n.firstUnused >= best || misses(node)) continue;
    if (n.right < 0) {
      best = searchLeaf(n, best);
      continue;
    }
    int first = node + 1;
    int second = n.right;
    if (nodes_[static_cast<size_t>(second)].firstUnused <
        nodes_[static_cast<size_t>(first)].firstUnused) {
      std::swap(first, second);
    }
    stack[depth++] = second;
    stack[depth++] = first;
  }
  return best;
}

// Its points are in row order: the first that fits is the leaf's answer.
int FirstFitIndex::searchLeaf(const Node& leaf, int best) const {
  for (int p = leaf.begin; p < leaf.end; ++p) {
    const int row = rowAt_[static_cast<size_t>(p)];
    if (row >= best) return best;
    if (used_[static_cast<size_t>(p)] == 0 && closeToAll(p)) return row;
  }
  return best;
}
