#include "datasheet/first_fit_index.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "select/value_box.h"

namespace {

// Leaves small enough that looking through one costs about as much as
// deciding whether to look.
constexpr int kLeafPoints = 8;

bool hasNaN(int row, const std::vector<CapacityControl>& controls) {
  return std::any_of(controls.begin(), controls.end(), [&](const CapacityControl& c) {
    return std::isnan(c.values[static_cast<size_t>(row)]);
  });
}

}  // namespace

FirstFitIndex::FirstFitIndex(const std::vector<int>& rows,
                             const std::vector<CapacityControl>& controls)
    : controls_(controls), width_(controls.size()) {
  // A NaN has no place in a box; such rows are looked through apart, in
  // table order.
  for (int row : rows) {
    if (!hasNaN(row, controls)) rowAt_.push_back(row);
  }
  treePoints_ = static_cast<int>(rowAt_.size());
  for (int row : rows) {
    if (hasNaN(row, controls)) rowAt_.push_back(row);
  }
  // The tree is built on a copy of the values side by side, then the rows
  // and values are put in the tree's order.
  for (int row : rowAt_) {
    for (const CapacityControl& control : controls) {
      valueAt_.push_back(control.values[static_cast<size_t>(row)]);
    }
  }
  leafOf_.assign(rowAt_.size(), -1);
  std::vector<int> order(rowAt_.size());
  for (size_t p = 0; p < order.size(); ++p) order[p] = static_cast<int>(p);
  if (treePoints_ > 0) build(0, treePoints_, -1, order);
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
  firstRow_ = rows.empty() ? 0 : rows.front();
  positionOf_.assign(rows.empty() ? 0 : static_cast<size_t>(rows.back() - firstRow_) + 1, -1);
  for (size_t p = 0; p < rowAt_.size(); ++p) {
    positionOf_[static_cast<size_t>(rowAt_[p] - firstRow_)] = static_cast<int>(p);
  }
  used_.assign(rowAt_.size(), 0);
}

// Splits at the median of the control widest in tolerances over the
// node's own box. The values lie side by side in `valueAt_` (in the order
// before the build; `order` says which is at each position), so a node's
// box costs one pass over its points. The shape of the tree changes no
// answer.
int FirstFitIndex::build(int begin, int end, int parent, std::vector<int>& order) {
  const int node = static_cast<int>(nodes_.size());
  nodes_.push_back({begin, end, -1, -1, parent, kNone});
  box_.resize(box_.size() + 2 * width_);
  setBox(node, order);
  const auto first = order.begin() + begin;
  const auto last = order.begin() + end;
  const auto rowOf = [&](int i) { return rowAt_[static_cast<size_t>(i)]; };
  if (end - begin <= kLeafPoints) {
    std::sort(first, last, [&](int a, int b) { return rowOf(a) < rowOf(b); });
    for (int p = begin; p < end; ++p) leafOf_[static_cast<size_t>(p)] = node;
    nodes_[static_cast<size_t>(node)].firstUnused = rowOf(*first);
    return node;
  }
  const int control = splitControl(node);
  const int middle = begin + (end - begin) / 2;
  if (control < 0) {
    // All points alike on every control that prunes: halves in table order
    // still let the first-unused figures skip what is used.
    std::nth_element(first, order.begin() + middle, last,
                     [&](int a, int b) { return rowOf(a) < rowOf(b); });
  } else {
    const auto c = static_cast<size_t>(control);
    std::nth_element(first, order.begin() + middle, last, [&](int a, int b) {
      return valueAt_[static_cast<size_t>(a) * width_ + c] <
             valueAt_[static_cast<size_t>(b) * width_ + c];
    });
  }
  const int left = build(begin, middle, node, order);
  const int right = build(middle, end, node, order);
  Node& n = nodes_[static_cast<size_t>(node)];
  n.left = left;
  n.right = right;
  n.firstUnused = std::min(nodes_[static_cast<size_t>(left)].firstUnused,
                           nodes_[static_cast<size_t>(right)].firstUnused);
  return node;
}

void FirstFitIndex::setBox(int node, const std::vector<int>& order) {
  const Node& n = nodes_[static_cast<size_t>(node)];
  double* box = box_.data() + static_cast<size_t>(node) * 2 * width_;
  emptyBox(box, width_);
  for (int p = n.begin; p < n.end; ++p) {
    const double* values =
        valueAt_.data() + static_cast<size_t>(order[static_cast<size_t>(p)]) * width_;
    for (size_t c = 0; c < width_; ++c) widenBox(box, c, values[c]);
  }
}

// The control whose spread over the node is widest in tolerances, among
// those with a finite tolerance (only they prune); -1 when none is spread.
int FirstFitIndex::splitControl(int node) const {
  const double* box = box_.data() + static_cast<size_t>(node) * 2 * width_;
  int best = -1;
  double widest = 0;
  for (size_t c = 0; c < width_; ++c) {
    const double tolerance = controls_[c].tolerance;
    const double spread = box[2 * c + 1] - box[2 * c];
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
  if (leaf.firstUnused != kNone) shrinkLeafBox(node);
  for (node = leaf.parent; node >= 0; node = nodes_[static_cast<size_t>(node)].parent) {
    Node& n = nodes_[static_cast<size_t>(node)];
    const int first = std::min(nodes_[static_cast<size_t>(n.left)].firstUnused,
                               nodes_[static_cast<size_t>(n.right)].firstUnused);
    const bool firstChanged = first != n.firstUnused;
    n.firstUnused = first;
    if (!joinChildBoxes(node) && !firstChanged) break;
  }
}

void FirstFitIndex::shrinkLeafBox(int node) {
  const Node& n = nodes_[static_cast<size_t>(node)];
  double* box = box_.data() + static_cast<size_t>(node) * 2 * width_;
  emptyBox(box, width_);
  for (int p = n.begin; p < n.end; ++p) {
    if (used_[static_cast<size_t>(p)] != 0) continue;
    const double* values = valueAt_.data() + static_cast<size_t>(p) * width_;
    for (size_t c = 0; c < width_; ++c) widenBox(box, c, values[c]);
  }
}

// The union of the boxes of the children that hold unused rows; true when
// the node's box changed.
bool FirstFitIndex::joinChildBoxes(int node) {
  const Node& n = nodes_[static_cast<size_t>(node)];
  if (n.firstUnused == kNone) return false;
  const double* l = box_.data() + static_cast<size_t>(n.left) * 2 * width_;
  const double* r = box_.data() + static_cast<size_t>(n.right) * 2 * width_;
  if (nodes_[static_cast<size_t>(n.left)].firstUnused == kNone) l = r;
  if (nodes_[static_cast<size_t>(n.right)].firstUnused == kNone) r = l;
  double* box = box_.data() + static_cast<size_t>(node) * 2 * width_;
  bool changed = false;
  for (size_t c = 0; c < 2 * width_; c += 2) {
    const double low = std::min(l[c], r[c]);
    const double high = std::max(l[c + 1], r[c + 1]);
    changed = changed || low != box[c] || high != box[c + 1];
    box[c] = low;
    box[c + 1] = high;
  }
  return changed;
}

bool FirstFitIndex::closeToAll(int position, const std::vector<double>& memberValues) const {
  const double* values = valueAt_.data() + static_cast<size_t>(position) * width_;
  for (size_t m = 0; m < memberValues.size(); m += width_) {
    for (size_t c = 0; c < width_; ++c) {
      if (!(std::fabs(values[c] - memberValues[m + c]) <= controls_[c].tolerance)) return false;
    }
  }
  return true;
}

int FirstFitIndex::firstClose(const std::vector<int>& members) const {
  // Every close value lies within each member's reach on a control with a
  // finite tolerance: the reach is widened by a hair, so that rounding in
  // the subtraction never leaves out a row the exact comparison accepts.
  std::vector<double> memberValues;
  std::vector<double> low(width_, -std::numeric_limits<double>::infinity());
  std::vector<double> high(width_, std::numeric_limits<double>::infinity());
  for (int member : members) {
    for (size_t c = 0; c < width_; ++c) {
      const double value = controls_[c].values[static_cast<size_t>(member)];
      memberValues.push_back(value);
      const double tolerance = controls_[c].tolerance;
      if (!std::isfinite(tolerance)) continue;
      const double reach = tolerance * (1 + 1e-9) + 1e-9 * std::fabs(value);
      low[c] = std::max(low[c], value - reach);
      high[c] = std::min(high[c], value + reach);
    }
  }
  int best = kNone;
  if (treePoints_ > 0) search(0, low, high, memberValues, best);
  for (size_t p = static_cast<size_t>(treePoints_); p < rowAt_.size(); ++p) {
    if (rowAt_[p] >= best) break;
    if (used_[p] == 0 && closeToAll(static_cast<int>(p), memberValues)) best = rowAt_[p];
  }
  return best == kNone ? -1 : best;
}

void FirstFitIndex::search(int node, const std::vector<double>& low,
                           const std::vector<double>& high, const std::vector<double>& memberValues,
                           int& best) const {
  const Node& n = nodes_[static_cast<size_t>(node)];
  if (n.firstUnused >= best) return;
  const double* box = box_.data() + static_cast<size_t>(node) * 2 * width_;
  for (size_t c = 0; c < width_; ++c) {
    if (box[2 * c + 1] < low[c] || box[2 * c] > high[c]) return;
  }
  if (n.left < 0) {
    for (int p = n.begin; p < n.end; ++p) {
      const int row = rowAt_[static_cast<size_t>(p)];
      if (row >= best) return;
      if (used_[static_cast<size_t>(p)] == 0 && closeToAll(p, memberValues)) {
        best = row;
        return;
      }
    }
    return;
  }
  // The side with the earlier unused row first: a fit there bounds the other.
  int first = n.left;
  int second = n.right;
  if (nodes_[static_cast<size_t>(second)].firstUnused <
      nodes_[static_cast<size_t>(first)].firstUnused) {
    std::swap(first, second);
  }
  search(first, low, high, memberValues, best);
  search(second, low, high, memberValues, best);
}
