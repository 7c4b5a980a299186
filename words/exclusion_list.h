// Bars the words of a user's exclusion file from selection.
#ifndef STIMSEL_WORDS_EXCLUSION_LIST_H_
#define STIMSEL_WORDS_EXCLUSION_LIST_H_

#include <iostream>
#include <string>

#include "words/counted_file.h"
#include "words/word_table.h"

// Bars every one of the first `count` records whose word equals the first
// token of an entry line, whatever the part-of-speech filter re-admitted.
// Prints "Marking bad words or trying to.", a dot per entry, a "Marking bad
// word <word> -- <index>" line per record barred, and "Done Marking", then a
// warning when the entry lines do not match the count. Returns false, after
// printing one line naming the file, when it cannot be opened or its first
// line holds no count; the records are then left untouched.
bool markBadWords(const std::string& fileName, WordTable& table, int count,
                  std::ostream& out = std::cout);

// The barring part of markBadWords, for an exclusion file already read;
// `fileName` only names the file in the warning.
void markBadWordEntries(WordTable& table, int count, const CountedFile& file,
                        const std::string& fileName, std::ostream& out = std::cout);

#endif  // STIMSEL_WORDS_EXCLUSION_LIST_H_
