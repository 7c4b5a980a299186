// Restricts a list to one part of speech, as listed in the tag file.
#ifndef STIMSEL_WORDS_POS_FILTER_H_
#define STIMSEL_WORDS_POS_FILTER_H_

#include <iostream>
#include <string>

#include "words/counted_file.h"
#include "words/word_table.h"

// One entry line of the tag file, "<tag>word</tag>": the first character is
// skipped whatever it is, the tag runs to ">", the word to "<" or to the end
// of the line. A line without ">" gives an empty word, which matches nothing.
struct PosEntry {
  std::string tag;
  std::string word;
};
PosEntry parsePosEntry(const std::string& line);

// Bars the first `count` records of the table, then re-admits the first
// record of every word that the tag file lists under `tag` (exact,
// case-sensitive). Prints "Marking pos: <tag>'s.", a dot for entries 0, 50,
// 100, ..., and "Done Marking pos", then a warning when the entry lines do
// not match the count. Returns false, after printing one line naming the
// file, when the file cannot be opened or its first line holds no count;
// the records are then left untouched.
bool markPos(const std::string& tag, WordTable& table, int count, const std::string& tagFileName,
             std::ostream& out = std::cout);

// The filtering part of markPos, for a tag file already read; `tagFileName`
// only names the file in the warning.
void markPosEntries(const std::string& tag, WordTable& table, int count, const CountedFile& file,
                    const std::string& tagFileName, std::ostream& out = std::cout);

#endif  // STIMSEL_WORDS_POS_FILTER_H_
