#include "select/draw_loop.h"

#include <algorithm>

DrawLoop::DrawLoop(RandomSource& random, std::vector<std::uint8_t> categories)
    : random_(random), n_(static_cast<int>(categories.size())), category_(std::move(categories)) {
  if (n_ > kOneDrawRecords) buildWideTables();
}

void DrawLoop::buildWideTables() {
  // (first << 15 | second) % n = ((first << 15) % n + second) % n, and the
  // sum is below n + 32768 <= 2n: one subtraction at most, no division; and
  // the category of a sum s is at s directly when the categories go on past
  // n with those of 0, 1, 2, ...
  const auto n = static_cast<std::uint32_t>(n_);
  firstPart_.reset(new std::uint32_t[1 << 15]);
  for (std::uint32_t first = 0; first < (1u << 15); ++first) firstPart_[first] = (first << 15) % n;
  category_.resize(category_.size() + (1 << 15));
  std::copy_n(category_.begin(), 1 << 15, category_.begin() + n_);
}

void DrawLoop::buildTables() {
  // A draw is bits 16..30 of the state; bit 31 does not count, so the top
  // half t and t + 32768 give the same index.
  indexOfTop_.reset(new std::uint16_t[1 << 16]);
  categoryOfTop_.reset(new std::uint8_t[1 << 16]);
  std::uint32_t index = 0;  // (top & 0x7FFF) % n, kept without dividing
  for (std::uint32_t top = 0; top < (1u << 16); ++top) {
    if ((top & 0x7FFFu) == 0) index = 0;
    indexOfTop_[top] = static_cast<std::uint16_t>(index);
    categoryOfTop_[top] = category_[index];
    if (++index == static_cast<std::uint32_t>(n_)) index = 0;
  }
}

void DrawLoop::setCategory(int i, std::uint8_t category) {
  category_[static_cast<size_t>(i)] = category;
  if (n_ > kOneDrawRecords) {
    if (i < (1 << 15)) category_[static_cast<size_t>(i) + static_cast<size_t>(n_)] = category;
    return;
  }
  if (!categoryOfTop_) return;
  // The top halves that draw record i: i, i + n, i + 2n, ... below 32768,
  // and each of them plus 32768.
  for (auto draw = static_cast<std::uint32_t>(i); draw < (1u << 15);
       draw += static_cast<std::uint32_t>(n_)) {
    categoryOfTop_[draw] = categoryOfTop_[draw + (1u << 15)] = category;
  }
}

namespace {

// Bit k set where byte k of `bytes` equals `wanted`. A byte is zero exactly
// when neither its high bit nor, added to 0x7F, its low bits carry into it.
std::uint32_t bytesEqual(std::uint64_t bytes, std::uint8_t wanted) {
  constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
  const std::uint64_t x = bytes ^ (0x0101010101010101ull * wanted);
  const std::uint64_t zero = ~(((x & kLow7) + kLow7) | x) & ~kLow7;
  // Bit 8k + 7 moves to bit 56 + k; no two products overlap.
  return static_cast<std::uint32_t>((zero * 0x0002040810204081ull) >> 56);
}

}  // namespace

void DrawLoop::fillBlock(std::uint32_t state, std::uint8_t wanted, Block& block) const {
  std::uint32_t hits = 0;
  for (int w = 0; w < kBlock / 8; ++w) {
    std::uint64_t bytes = 0;
    // Unrolled, so that the jump constants are immediates and each byte's
    // shift is fixed.
#pragma GCC unroll 8
    for (int b = 0; b < 8; ++b) {
      const int j = 8 * w + b;
      const std::uint32_t first = jump(state, 2 * j + 1) >> 16 & 0x7FFFu;
      const std::uint32_t second = jump(state, 2 * j + 2) >> 16 & 0x7FFFu;
      const std::uint32_t sum = firstPart_[first] + second;
      block.sums[j] = sum;
      bytes |= std::uint64_t{category_[sum]} << (8 * b);
    }
    hits |= bytesEqual(bytes, wanted) << (8 * w);
  }
  block.hits = hits;
}
