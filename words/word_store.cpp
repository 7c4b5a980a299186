#include "words/word_store.h"

#include <algorithm>

namespace {
// Large enough that a table of a million words starts a few hundred blocks.
constexpr std::size_t kBlockBytes = 1 << 16;
}  // namespace

void WordStore::startBlock(std::size_t bytes) {
  size_ = std::max(kBlockBytes, bytes);
  blocks_.emplace_back(new char[size_]);
  used_ = 0;
}
