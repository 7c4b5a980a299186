// Affect categories, their printed labels, and the list modes that decide
// which categories take part in a list.
#ifndef STIMSEL_WORDS_CATEGORIES_H_
#define STIMSEL_WORDS_CATEGORIES_H_

#include <array>
#include <string>

struct WordRecord;
struct WordTable;

// The number kept in WordRecord::category. Categories 1..K take part in a
// list of group size K; 0 and 7 never do.
enum class AffectCategory : int {
  Unclassed = 0,
  PosCalm = 1,
  NegCalm = 2,
  NeuCalm = 3,
  PosAroused = 4,
  NegAroused = 5,
  NeuAroused = 6,
  Dropped = 7,
};

constexpr int categoryNumber(AffectCategory c) {
  return static_cast<int>(c);
}

// Two-character labels indexed by category number minus 1. The entry for
// Dropped is empty: dropped words are never printed.
using LabelTable = std::array<std::string, 7>;
LabelTable defaultLabelTable();

// The label of category `category`, or "" when it has none (0 or out of range).
const std::string& labelOf(const LabelTable& labels, int category);

// Sorts one record by its valence band, then its arousal. Ratings are floats
// compared against double constants, so a rating written 5.67 in the file
// (5.6700000763 as a float) counts as above 5.67. Writes record.category.
void classify(WordRecord& record);

// Prepares the table for the list without neutral words: calm neutral words
// are set aside as Dropped, positive aroused words become category 3 and
// negative aroused words category 4, and the labels follow. The passes run in
// that order; the other order would set the positive aroused words aside too.
void dropNeutral(WordTable& table, int count);

enum class ListMode { FullMode, NoArousalMode, NoNeutralMode };

// K, the number of categories in play (1..K): 6, 3 or 4.
int groupSize(ListMode mode);

#endif  // STIMSEL_WORDS_CATEGORIES_H_
