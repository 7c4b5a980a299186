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
    bool disagrees = false;  // a later row of the word gives another value
  };
  std::unordered_map<std::string, Entry> exact;
  std::unordered_map<std::string, Entry> folded;  // the first word of each folded form
  std::string wordColumn;  // the names of the columns read, for the "Reading: " line
  std::string freqColumn;
  long long rows = 0;  // data rows, blank lines aside
};

// Reads a CSV or TSV table whose first row names the columns: the word
// column is found as in the norms ("Word", ...), the frequency column is
// `column` when given, else "SUBTLWF" or another usual name. Rows with an
// empty word or a missing frequency are skipped; a frequency that does not
// parse, is negative or exceeds kLargestFrequency is an error "FILE:LINE:
// column NAME: ...". The first row of a word counts.
Result<FrequencyTable> readFrequencyTable(std::istream& in, const std::string& fileName,
                                          char delimiter, const std::optional<std::string>& column);

// Gives every norms record the frequency of its word: the exact word first,
// then its lower-cased form (see foldCase), then the first row of any other
// spelling that differs only in case. Records without a frequency are left
// out of the table and counted in one warning line in table.warnings; so
// are words whose rows disagree, naming up to five with the value used.
// Duplicate marks are renewed and table.reading names the file and columns.
void joinFrequencies(WordTable& table, const FrequencyTable& frequencies,
                     const std::string& fileName);

#endif  // STIMSEL_TABLES_FREQUENCY_JOIN_H_
