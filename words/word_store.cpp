#include "words/word_store.h"

#include <algorithm>
#include <utility>

namespace {
// Large enough that a table of a million words starts a few hundred blocks.
constexpr std::size_t kBlockBytes = 1 << 16;
}  // namespace

std::string_view WordStore::holdText(FileText text) {
  text_ = std::move(text);
  return text_.view();
}

void WordStore::startBlock(std::size_t bytes) {
  size_ = std::max(kBlockBytes, bytes);
  blocks_.emplace_back(new char[size_]);
  used_ = 0;
}
