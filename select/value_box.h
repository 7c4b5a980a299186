// Boxes over control values, as the k-d trees of the balancer and the
// capacity pass keep them: `width` pairs low, high in one array.
#ifndef STIMSEL_SELECT_VALUE_BOX_H_
#define STIMSEL_SELECT_VALUE_BOX_H_

#include <algorithm>
#include <cstddef>
#include <limits>

// Makes `box` hold nothing: every low +inf, every high -inf.
inline void emptyBox(double* box, std::size_t width) {
  for (std::size_t c = 0; c < width; ++c) {
    box[2 * c] = std::numeric_limits<double>::infinity();
    box[2 * c + 1] = -std::numeric_limits<double>::infinity();
  }
}

// Widens `box` on control c to take in `value`.
inline void widenBox(double* box, std::size_t c, double value) {
  box[2 * c] = std::min(box[2 * c], value);
  box[2 * c + 1] = std::max(box[2 * c + 1], value);
}

#endif  // STIMSEL_SELECT_VALUE_BOX_H_
