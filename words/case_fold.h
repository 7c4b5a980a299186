// Words that differ only in letter case, such as "Love", "love" and "LOVE",
// are one word to a researcher: one of them may be chosen, and a frequency
// table may spell it either way.
#ifndef STIMSEL_WORDS_CASE_FOLD_H_
#define STIMSEL_WORDS_CASE_FOLD_H_

#include <string>
#include <string_view>

// `word` with its capital letters made small: ASCII, and in UTF-8 the
// letters of Latin-1, Latin Extended-A, Greek and Cyrillic (final sigma
// folds to sigma). Every other byte, valid UTF-8 or not, stays as it is, so
// two words fold alike only when they differ in the case of such letters.
std::string foldCase(std::string_view word);

// The same in place. Folding never changes a word's length in bytes.
void foldCaseInPlace(std::string& word);

#endif  // STIMSEL_WORDS_CASE_FOLD_H_
