#include "balance/box_index.h"

#include <algorithm>
#include <limits>

#include "select/value_box.h"

namespace {

// Leaves small enough that looking through one costs about as much as
// deciding whether to look.
constexpr int kLeafPoints = 8;

}  // namespace

BoxIndex::BoxIndex(std::vector<int> rows, const std::vector<const std::vector<double>*>& values,
                   const std::vector<double>& scales)
    : width_(values.size()), rowAt_(std::move(rows)) {
  if (!rowAt_.empty()) {
    std::vector<double> bounds;
    for (const std::vector<double>* v : values) {
      const auto [low, high] = std::minmax_element(rowAt_.begin(), rowAt_.end(), [&](int a, int b) {
        return (*v)[static_cast<size_t>(a)] < (*v)[static_cast<size_t>(b)];
      });
      bounds.push_back((*v)[static_cast<size_t>(*low)]);
      bounds.push_back((*v)[static_cast<size_t>(*high)]);
    }
    std::vector<Keyed> keyed;
    keyed.reserve(rowAt_.size());
    build(0, static_cast<int>(rowAt_.size()), values, scales, bounds, keyed);
  }
  valueAt_.reserve(rowAt_.size() * width_);
  for (int row : rowAt_) {
    for (const std::vector<double>* v : values) valueAt_.push_back((*v)[static_cast<size_t>(row)]);
  }
}

// Splits on the control whose spread is widest in `bounds` (which hold the
// node's points; the parent's box with the split narrowed), at its median,
// down to small leaves; a node's box is its leaf's points' or the union of
// its children's, so the values are read once per level, by the split. The
// shape of the tree changes no answer, but the order in which forEachIn
// visits rows follows it. Its depth stays below 64: each split halves the
// points. `keyed` is scratch: the median is found among the node's rows
// with their values beside them, which spares a look into the whole
// column at every comparison and leaves the rows in the order a search on
// the rows themselves would.
int BoxIndex::build(int begin, int end, const std::vector<const std::vector<double>*>& values,
                    const std::vector<double>& scales, std::vector<double>& bounds,
                    std::vector<Keyed>& keyed) {
  const int node = static_cast<int>(nodes_.size());
  nodes_.push_back({begin, end, -1, -1});
  box_.resize(box_.size() + 2 * width_);
  size_t widest = 0;
  double widestSpread = 0;
  for (size_t c = 0; c < width_; ++c) {
    const double spread = (bounds[2 * c + 1] - bounds[2 * c]) / scales[c];
    if (spread > widestSpread) {
      widest = c;
      widestSpread = spread;
    }
  }
  if (end - begin <= kLeafPoints || !(widestSpread > 0)) {
    setLeafBox(node, values);
    return node;
  }
  const int middle = begin + (end - begin) / 2;
  const std::vector<double>& v = *values[widest];
  keyed.clear();
  for (int p = begin; p < end; ++p) {
    const int row = rowAt_[static_cast<size_t>(p)];
    keyed.push_back({v[static_cast<size_t>(row)], row});
  }
  std::nth_element(keyed.begin(), keyed.begin() + (middle - begin), keyed.end(),
                   [](const Keyed& a, const Keyed& b) { return a.key < b.key; });
  for (int p = begin; p < end; ++p) {
    rowAt_[static_cast<size_t>(p)] = keyed[static_cast<size_t>(p - begin)].row;
  }
  const double median = keyed[static_cast<size_t>(middle - begin)].key;
  const double high = bounds[2 * widest + 1];
  bounds[2 * widest + 1] = median;
  const int left = build(begin, middle, values, scales, bounds, keyed);
  bounds[2 * widest + 1] = high;
  const double low = bounds[2 * widest];
  bounds[2 * widest] = median;
  const int right = build(middle, end, values, scales, bounds, keyed);
  bounds[2 * widest] = low;
  nodes_[static_cast<size_t>(node)].left = left;
  nodes_[static_cast<size_t>(node)].right = right;
  double* box = box_.data() + static_cast<size_t>(node) * 2 * width_;
  const double* l = box_.data() + static_cast<size_t>(left) * 2 * width_;
  const double* r = box_.data() + static_cast<size_t>(right) * 2 * width_;
  for (size_t c = 0; c < width_; ++c) {
    box[2 * c] = std::min(l[2 * c], r[2 * c]);
    box[2 * c + 1] = std::max(l[2 * c + 1], r[2 * c + 1]);
  }
  return node;
}

void BoxIndex::setLeafBox(int node, const std::vector<const std::vector<double>*>& values) {
  const Node& n = nodes_[static_cast<size_t>(node)];
  double* box = box_.data() + static_cast<size_t>(node) * 2 * width_;
  emptyBox(box, width_);
  for (size_t c = 0; c < width_; ++c) {
    for (int p = n.begin; p < n.end; ++p) {
      widenBox(box, c, (*values[c])[static_cast<size_t>(rowAt_[static_cast<size_t>(p)])]);
    }
  }
}

bool BoxIndex::misses(int node, const std::vector<double>& low,
                      const std::vector<double>& high) const {
  const double* box = box_.data() + static_cast<size_t>(node) * 2 * width_;
  for (size_t c = 0; c < width_; ++c) {
    if (box[2 * c + 1] < low[c] || box[2 * c] > high[c]) return true;
  }
  return false;
}

bool BoxIndex::inside(int position, const std::vector<double>& low,
                      const std::vector<double>& high) const {
  const double* values = valueAt_.data() + static_cast<size_t>(position) * width_;
  for (size_t c = 0; c < width_; ++c) {
    if (values[c] < low[c] || values[c] > high[c]) return false;
  }
  return true;
}
