#include "select/draw_loop.h"

DrawLoop::DrawLoop(RandomSource& random, std::vector<std::uint8_t> categories)
    : random_(random), n_(static_cast<int>(categories.size())), category_(std::move(categories)) {}

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
  if (!categoryOfTop_) return;
  // The top halves that draw record i: i, i + n, i + 2n, ... below 32768,
  // and each of them plus 32768.
  for (auto draw = static_cast<std::uint32_t>(i); draw < (1u << 15);
       draw += static_cast<std::uint32_t>(n_)) {
    categoryOfTop_[draw] = categoryOfTop_[draw + (1u << 15)] = category;
  }
}
