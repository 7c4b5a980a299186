// Frequencies from a second table (such as SUBTLEX), joined to the norms by
// word.
#ifndef STIMSEL_TABLES_FREQUENCY_JOIN_H_
#define STIMSEL_TABLES_FREQUENCY_JOIN_H_

#include <istream>
#include <optional>
#include <string>
#include <unordered_map>

#include "words/read_error.h"
#include "words/word_table.h"

struct FrequencyTable {
  struct Entry {
    double freq = 0;
    bool whole = true;
  };
  std::unordered_map<std::string, Entry> exact;
  std::unordered_map<std::string, Entry> lowerCased;  // the first word of each lower-cased form
};

// Reads a CSV or TSV table whose first row names the columns: the word
// column is found as in the norms ("Word", ...), the frequency column is
// `column` when given, else "SUBTLWF" or another usual name. Rows with a
// missing word or frequency are skipped; a frequency that does not parse is
// an error "FILE:LINE: column NAME: ...". The first row of a word counts.
Result<FrequencyTable> readFrequencyTable(std::istream& in, const std::string& fileName,
                                          char delimiter, const std::optional<std::string>& column);

// Gives every norms record the frequency of its word: the exact word first,
// then its ASCII lower-cased form. Records without a frequency are left out
// of the table and counted in one warning line in table.warnings; duplicate
// marks are renewed.
void joinFrequencies(WordTable& table, const FrequencyTable& frequencies,
                     const std::string& fileName);

#endif  // STIMSEL_TABLES_FREQUENCY_JOIN_H_
