// Restricts a list to one part of speech, as listed in the tag file.
#ifndef STIMSEL_WORDS_POS_FILTER_H_
#define STIMSEL_WORDS_POS_FILTER_H_

#include <ostream>
#include <string>

#include "words/counted_file.h"
#include "words/word_table.h"

// One entry line of the tag file, "<tag>word</tag>": the first character is
// skipped whatever it is, the tag runs to ">", the word to "<" or to the end
// of the line. A line without ">" gives an empty word, which matches nothing.
struct PosEntry {
  std::string tag;
  std::string word;
  bool readable() const { return !word.empty(); }
};
PosEntry parsePosEntry(const std::string& line);

// Bars every record of the table, then re-admits the first record of every
// word that the tag file lists under `tag` (the word as spelled, else
// without blanks around it; case-sensitive; tags exact). Writes
// "Marking pos: <tag>'s.", a dot for entries 0, 50, 100, ..., and "Done
// Marking pos" to `progress`, then a line starting "Warning: " for each of:
// entry lines that do not match the count, lines without the <tag>word
// shape, and a tag under which nothing was admitted. `fileName` only names
// the file in the warnings.
void markPos(const std::string& tag, WordTable& table, const CountedFile& file,
             const std::string& fileName, std::ostream& progress);

// The same filter for norms that name each word's part of speech in a column
// (table.posColumn): bars every record, then re-admits those whose part of
// speech is `tag` (exact). Writes "Marking pos: <tag>'s." and "Done Marking
// pos" to `progress`, and a warning when nothing was admitted.
void markPosByColumn(const std::string& tag, WordTable& table, const std::string& fileName,
                     std::ostream& progress);

// The error text of a tag file that cannot be opened, before its name.
constexpr const char* kCannotOpenTagFile = "Couldn't open part-of-speech word file ";

#endif  // STIMSEL_WORDS_POS_FILTER_H_
