#include "balance/box_index.h"

#include <algorithm>
#include <limits>

namespace {

// Leaves small enough that looking through one costs about as much as
// deciding whether to look.
constexpr int kLeafPoints = 8;

}  // namespace

BoxIndex::BoxIndex(std::vector<int> rows, const std::vector<const std::vector<double>*>& values,
                   const std::vector<double>& scales)
    : width_(values.size()), rowAt_(std::move(rows)) {
  if (!rowAt_.empty()) build(0, static_cast<int>(rowAt_.size()), values, scales);
  valueAt_.reserve(rowAt_.size() * width_);
  for (int row : rowAt_) {
    for (const std::vector<double>* v : values) valueAt_.push_back((*v)[static_cast<size_t>(row)]);
  }
}

// Splits on the control of widest spread, at its median, down to small
// leaves. The tree's depth stays below 64: each split halves the points.
int BoxIndex::build(int begin, int end, const std::vector<const std::vector<double>*>& values,
                    const std::vector<double>& scales) {
  const int node = static_cast<int>(nodes_.size());
  nodes_.push_back({begin, end, -1, -1});
  const auto first = rowAt_.begin() + begin;
  const auto last = rowAt_.begin() + end;
  size_t widest = 0;
  double widestSpread = 0;
  for (size_t c = 0; c < width_; ++c) {
    const std::vector<double>& v = *values[c];
    const auto [low, high] = std::minmax_element(first, last, [&](int a, int b) {
      return v[static_cast<size_t>(a)] < v[static_cast<size_t>(b)];
    });
    const double lowest = v[static_cast<size_t>(*low)];
    const double highest = v[static_cast<size_t>(*high)];
    box_.push_back(lowest);
    box_.push_back(highest);
    const double spread = (highest - lowest) / scales[c];
    if (spread > widestSpread) {
      widest = c;
      widestSpread = spread;
    }
  }
  if (end - begin <= kLeafPoints || !(widestSpread > 0)) return node;
  const int middle = begin + (end - begin) / 2;
  const std::vector<double>& v = *values[widest];
  std::nth_element(first, rowAt_.begin() + middle, last, [&](int a, int b) {
    return v[static_cast<size_t>(a)] < v[static_cast<size_t>(b)];
  });
  const int left = build(begin, middle, values, scales);
  const int right = build(middle, end, values, scales);
  nodes_[static_cast<size_t>(node)].left = left;
  nodes_[static_cast<size_t>(node)].right = right;
  return node;
}

bool BoxIndex::misses(int node, const std::vector<double>& low,
                      const std::vector<double>& high) const {
  const double* box = &box_[static_cast<size_t>(node) * 2 * width_];
  for (size_t c = 0; c < width_; ++c) {
    if (box[2 * c + 1] < low[c] || box[2 * c] > high[c]) return true;
  }
  return false;
}

bool BoxIndex::inside(int position, const std::vector<double>& low,
                      const std::vector<double>& high) const {
  const double* values = &valueAt_[static_cast<size_t>(position) * width_];
  for (size_t c = 0; c < width_; ++c) {
    if (values[c] < low[c] || values[c] > high[c]) return false;
  }
  return true;
}
