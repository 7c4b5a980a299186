// Bars the words of a user's exclusion file from selection.
#ifndef STIMSEL_WORDS_EXCLUSION_LIST_H_
#define STIMSEL_WORDS_EXCLUSION_LIST_H_

#include <ostream>
#include <string>

#include "words/counted_file.h"
#include "words/word_table.h"

// Bars every record of the word an entry line names: its whole trimmed text
// when that is a norms word ("ice cream"), else its first token. Spellings of
// that word in other letter cases are barred with it. This holds whatever
// the part-of-speech filter re-admitted. Writes "Marking bad words
// or trying to.", a dot per entry, a "Marking bad word <word> -- <index>"
// line per record barred, and "Done Marking" to `progress`, then a warning
// when the entry lines do not match the count and one naming up to five
// listed words that no record holds. `fileName` only names the file in the
// warnings.
void markBadWords(WordTable& table, const CountedFile& file, const std::string& fileName,
                  std::ostream& progress);

// The error text of an exclusion file that cannot be opened, before its name.
constexpr const char* kCannotOpenExclusionFile = "Couldn't open bad word file ";

#endif  // STIMSEL_WORDS_EXCLUSION_LIST_H_
