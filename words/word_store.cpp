#include "words/word_store.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {
constexpr std::size_t kBlockBytes = 1 << 16;
}  // namespace

std::string_view WordStore::holdText(FileText text) {
  text_ = std::move(text);
  return text_.view();
}

// A block of its own, so that the last block, which keep() fills, stays
// the last.
char* WordStore::newBlock(std::size_t bytes) {
  std::unique_ptr<char[]> block(new char[bytes]);
  char* const data = block.get();
  blocks_.insert(blocks_.empty() ? blocks_.end() : blocks_.end() - 1, std::move(block));
  return data;
}

std::string_view WordStore::keep(std::string_view word) {
  if (word.empty()) return {};
  if (blocks_.empty() || size_ - used_ < word.size()) {
    size_ = std::max(kBlockBytes, word.size());
    blocks_.emplace_back(new char[size_]);
    used_ = 0;
  }
  char* const copy = blocks_.back().get() + used_;
  std::memcpy(copy, word.data(), word.size());
  used_ += word.size();
  return {copy, word.size()};
}
