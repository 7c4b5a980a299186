// The bytes the words of a table point into.
#ifndef STIMSEL_WORDS_WORD_STORE_H_
#define STIMSEL_WORDS_WORD_STORE_H_

#include <memory>
#include <string_view>
#include <vector>

#include "words/file_text.h"

// Holds the norms file's text, which most words are views into, and copies
// of the words that are not found in it as they stand (quoted cells, words
// of a table built in memory). Nothing held ever moves or goes before the
// store does, so every view it gave out stays valid as long as the store.
class WordStore {
 public:
  WordStore() = default;
  WordStore(const WordStore&) = delete;
  WordStore& operator=(const WordStore&) = delete;

  // Takes the file's text; returns its view. One text per store.
  std::string_view holdText(FileText text);
  std::string_view text() const { return text_.view(); }

  // A copy of `word` that lives as long as the store.
  std::string_view keep(std::string_view word);

 private:
  FileText text_;
  std::vector<std::unique_ptr<char[]>> blocks_;
  std::size_t used_ = 0;  // bytes taken of the last block
  std::size_t size_ = 0;  // bytes of the last block
};

#endif  // STIMSEL_WORDS_WORD_STORE_H_
