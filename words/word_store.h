// The bytes the words of a table point into.
#ifndef STIMSEL_WORDS_WORD_STORE_H_
#define STIMSEL_WORDS_WORD_STORE_H_

#include <cstring>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "words/file_text.h"

// Holds the norms file's text, which the words are views into while the
// file is read, and copies of the words that are not found in it as they
// stand (quoted cells, words of a table built in memory). Once the rows are
// read, releaseText moves the words out of the text and lets it go. Copies
// never move or go before the store does, so every view it gave out, and
// every view releaseText moved, stays valid as long as the store.
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

  // Moves every view into the text that `forEachView` hands over into one
  // block of the store's own, then lets the text go: a table keeps its
  // words, not the whole file they came from. `forEachView(f)` must call
  // f(std::string_view&) on every view of the text that anyone still holds,
  // the same views each time; views the store copied stay as they are.
  template <typename ForEachView>
  void releaseText(ForEachView forEachView) {
    std::size_t bytes = 0;
    forEachView([&](std::string_view& view) { bytes += inText(view) ? view.size() : 0; });
    char* next = newBlock(bytes);
    forEachView([&](std::string_view& view) {
      if (!inText(view)) return;
      std::memcpy(next, view.data(), view.size());
      view = {next, view.size()};
      next += view.size();
    });
    text_ = FileText();
  }

 private:
  bool inText(std::string_view view) const {
    const std::string_view text = text_.view();
    const std::less_equal<const char*> atOrBefore;
    return !view.empty() && atOrBefore(text.data(), view.data()) &&
           atOrBefore(view.data() + view.size(), text.data() + text.size());
  }
  char* newBlock(std::size_t bytes);

  FileText text_;
  std::vector<std::unique_ptr<char[]>> blocks_;
  std::size_t used_ = 0;  // bytes taken of the last block
  std::size_t size_ = 0;  // bytes of the last block
};

#endif  // STIMSEL_WORDS_WORD_STORE_H_
