// The word record and the table that holds every record of a run.
#ifndef STIMSEL_WORDS_WORD_TABLE_H_
#define STIMSEL_WORDS_WORD_TABLE_H_

#include <string>
#include <vector>

#include "words/categories.h"

// Longest word a record may hold, in bytes.
constexpr int kMaxWordLength = 31;

// One rated word of the norms file together with its selection state.
// Ratings stay single-precision floats: classification depends on it.
struct WordRecord {
  std::string word;
  int number = 0;  // second column; kept, never used
  int freq = 0;
  int len = 0;  // length of word in bytes
  bool chosen = false;
  bool excluded = false;
  int category = categoryNumber(AffectCategory::Unclassed);
  float valMn = 0;
  float valSd = 0;
  float aroMn = 0;
  float aroSd = 0;  // kept, never used
  float col7 = 0;   // kept, never used
  float col8 = 0;   // kept, never used
};

// Records in norms-file order; a record's index is its position among the
// file's data lines and never changes. The labels belong with the records
// because preparing the list without neutral words renumbers both together.
struct WordTable {
  std::vector<WordRecord> records;
  LabelTable labels = defaultLabelTable();

  int count() const { return static_cast<int>(records.size()); }
};

#endif  // STIMSEL_WORDS_WORD_TABLE_H_
