// The word record and the table that holds every record of a run.
#ifndef STIMSEL_WORDS_WORD_TABLE_H_
#define STIMSEL_WORDS_WORD_TABLE_H_

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "words/categories.h"
#include "words/word_store.h"

// The last line of a norms file a record may come from: the readers refuse
// a file with more lines rather than number its records wrongly.
constexpr long long kLastSourceLine = 2147483647;

// The error for a record past that line.
inline std::string tooManyLines() {
  return "the file has more than 2147483647 lines; split it into smaller tables";
}

// Longest word a record may hold, in letters.
constexpr int kMaxWordLength = 31;

// The most bytes a word may take: each of its letters is at most 4 bytes
// of UTF-8.
constexpr int kMaxWordBytes = 4 * kMaxWordLength;

// One rated word of the norms file. Ratings stay single-precision floats:
// classification depends on it. The table never changes after the filters
// have run; selection keeps its own state.
// The word lies in the table's store; the record holds where and how many
// bytes, and fields run from the widest to the narrowest, so that no padding
// lies between them: a large table holds hundreds of thousands of records
// (40 bytes each on x86-64).
struct WordRecord {
  const char* wordStart = nullptr;  // set through setWord
  double freq = 0;
  int sourceLine = 0;  // the record's line in the norms file (see kLastSourceLine)
  float valMn = 0;
  float valSd = 0;
  float aroMn = 0;
  std::uint8_t len = 0;        // letters (UTF-8 code points), at most kMaxWordLength
  std::uint8_t wordBytes = 0;  // set through setWord
  AffectCategory category = AffectCategory::Unclassed;
  bool wholeFreq = true;   // read as a whole number: printed without decimals
  bool excluded = false;   // barred by the part-of-speech filter or the exclusion list
  bool duplicate = false;  // an earlier record holds the same word, in any letter case

  std::string_view word() const { return {wordStart, wordBytes}; }
  // `word` must outlive the record and hold at most kMaxWordBytes bytes (the
  // readers refuse longer words before they get here); a longer one throws
  // std::length_error rather than be cut short.
  void setWord(std::string_view word) {
    if (word.size() > kMaxWordBytes) throw std::length_error("word longer than a record holds");
    wordStart = word.data();
    wordBytes = static_cast<std::uint8_t>(word.size());
  }
  bool canBeChosen() const { return !excluded && !duplicate; }
};
static_assert(kMaxWordBytes <= 255, "a record counts a word's bytes in one byte");
static_assert(sizeof(void*) != 8 || sizeof(WordRecord) == 40, "a field added padding");

// A numeric column kept for a design, one value per record, as read in
// double precision. Rows missing a value were left out by the reader.
struct NumericColumn {
  std::string name;  // the variable as the design names it
  std::vector<double> values;
};

// Rows the readers counted, as numbers for the datasheet (the warnings say
// the same in words): the norms file's data rows, those left out before the
// table was built, and the data rows of a joined frequency file.
struct RowCounts {
  long long read = 0;           // data rows of the norms file, blank lines aside
  long long missingValues = 0;  // left out for a missing value in a column the run needs
  long long noFrequency = 0;    // left out for want of a row in the frequency file
  long long frequencyFileRows = 0;
};

// Records in norms-file order; a record's index is its position among the
// file's data lines and never changes.
struct WordTable {
  std::vector<WordRecord> records;
  // What the records' words point into; copies of the table share it.
  std::shared_ptr<WordStore> store = std::make_shared<WordStore>();
  int duplicateWords = 0;    // distinct words held by more than one record
  int caseVariantWords = 0;  // of those, the words held in more than one letter case
  // The column that held the part of speech ("" when none): the filter then
  // reads it instead of the tag file. partOfSpeech[i] is record i's.
  std::string posColumn;
  std::vector<std::string_view> partOfSpeech;  // views into the store
  bool hasValenceSd = true;                    // false when the norms have no SD column
  // The columns a design names beyond the records' fields, in its order.
  std::vector<NumericColumn> columns;
  // How the table was read, for the line that starts "Reading: ": the rows
  // and the header lines or the column of each role, and where the
  // frequencies came from.
  std::string reading;
  // The column the frequencies came from (of the norms or of a joined
  // frequency file); "" for the classic layout. "SUBTLWF" means per million.
  std::string frequencyColumn;
  // "Warning: ..." lines about rows the reader left out, for the run to print.
  std::vector<std::string> warnings;
  RowCounts rows;

  int count() const { return static_cast<int>(records.size()); }
  // A copy of `word` that lives as long as the table.
  std::string_view keepWord(std::string_view word) { return store->keep(word); }
  // Adds `record` with its word copied into the store: the table never
  // points into the text it was read from.
  void add(WordRecord record) {
    record.setWord(keepWord(record.word()));
    records.push_back(record);
  }
};

#endif  // STIMSEL_WORDS_WORD_TABLE_H_
