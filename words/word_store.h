// The bytes the words of a table point into.
#ifndef STIMSEL_WORDS_WORD_STORE_H_
#define STIMSEL_WORDS_WORD_STORE_H_

#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include "words/file_text.h"

// Holds the norms file's text while it is read, and the copies of the words
// (and parts of speech) the table keeps: a run holds a large file's words,
// not the whole file, while it selects. Copies lie side by side in blocks
// that never move or go before the store does, so every view keep() gave
// out stays valid as long as the store.
class WordStore {
 public:
  WordStore() = default;
  WordStore(const WordStore&) = delete;
  WordStore& operator=(const WordStore&) = delete;

  // Takes the file's text; returns its view, valid until dropText().
  // One text per store.
  std::string_view holdText(FileText text);
  // Lets the text go: the reader calls it once no view into it is held.
  void dropText() { text_ = FileText(); }

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

  FileText text_;
  std::vector<std::unique_ptr<char[]>> blocks_;
  std::size_t used_ = 0;  // bytes taken of the last block
  std::size_t size_ = 0;  // bytes of the last block
};

#endif  // STIMSEL_WORDS_WORD_STORE_H_
