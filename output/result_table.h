// Prints the run's product: the chosen words as a tab-separated table, and
// the shortfall when the list could not be completed.
#ifndef STIMSEL_OUTPUT_RESULT_TABLE_H_
#define STIMSEL_OUTPUT_RESULT_TABLE_H_

#include <ostream>
#include <string>
#include <vector>

#include "select/selection.h"
#include "words/word_table.h"

// Prints an empty line, the header, then one row per index of `rows`,
// numbered from 1. Words are padded to 15 letters; a whole frequency prints
// without decimals, any other with two.
void printList(const WordTable& table, const std::vector<int>& rows, std::ostream& out);

// The table of each of `lists` lists dealt from `result` (group 1 to list 1,
// group 2 to list 2, ...), each under a line "List i of L" and numbered from
// 1, in table order. With one list, exactly printList of every chosen word.
void printLists(const WordTable& table, const SelectionResult& result, int lists,
                std::ostream& out);

// The words the shortfall lines use for a run's categories and tolerances.
struct ShortfallTerms {
  // Per category in play, 1..K at 0..K-1: "category 3 (label \"N \")".
  std::vector<std::string> categories;
  // How close the words must be: "within 2 letters and 10 in frequency".
  std::string tolerances;
  bool matchAll = false;
  long long maxDrawsPerGroup = 0;
};

// The terms of the affect categories of `play`, matched on length and
// frequency as `rules` say.
ShortfallTerms affectShortfallTerms(const std::vector<AffectCategory>& play,
                                    const MatchRules& rules);

// For an incomplete selection, prints "Only M of W words could be matched."
// and a line saying which category in play ran short, numbered 1..K and
// named as `terms` say. Prints nothing otherwise.
void printShortfall(const SelectionResult& result, const ShortfallTerms& terms, std::ostream& out);
void printShortfall(const SelectionResult& result, const std::vector<AffectCategory>& play,
                    const MatchRules& rules, std::ostream& out);

// The lines printed after the table: how many groups were drawn directly,
// when any were; and for a shortfall other than an empty category, which
// category in play has the fewest words left and how many.
void printSelectionNotes(const SelectionResult& result, const ShortfallTerms& terms,
                         std::ostream& out);

// The line that says how many groups were left out to keep the lists alike.
void printLeftOut(int groups, int lists, std::ostream& out);

// A number as a person writes it: no trailing zeros, no exponent, never
// "-0" ("10", "2.5", "0.2", "0.0000004"), with the digits that read back as
// the value given. A value computed from others passes their magnitude as
// `reference`, so that rounding noise of the computation is not shown.
std::string plainNumber(double value, double reference = 0);

#endif  // STIMSEL_OUTPUT_RESULT_TABLE_H_
