// The bytes the words of a table point into.
#ifndef STIMSEL_WORDS_WORD_STORE_H_
#define STIMSEL_WORDS_WORD_STORE_H_

#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

// Holds copies of a table's words (and parts of speech), side by side, so
// that a run keeps a large file's words, not the whole file, while it
// selects. Blocks never move or go before the store does, so every view
// keep() gave out stays valid as long as the store.
class WordStore {
 public:
  WordStore() = default;
  WordStore(const WordStore&) = delete;
  WordStore& operator=(const WordStore&) = delete;

  // A copy of `word` that lives as long as the store.
  std::string_view keep(std::string_view word) {
    if (word.empty()) return {};
    if (size_ - used_ < word.size()) startBlock(word.size());
    char* const copy = blocks_.back().get() + used_;
    std::memcpy(copy, word.data(), word.size());
    used_ += word.size();
    return {copy, word.size()};
  }

 private:
  void startBlock(std::size_t bytes);

  std::vector<std::unique_ptr<char[]>> blocks_;
  std::size_t used_ = 0;  // bytes taken of the last block
  std::size_t size_ = 0;  // bytes of the last block
};

#endif  // STIMSEL_WORDS_WORD_STORE_H_
