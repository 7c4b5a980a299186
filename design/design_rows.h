// A design applied to a loaded table: what selection sees of each row.
//
// Selection never reads a column by name. This turns the design and the
// table into, per row, the number of its category in play (0 when the row
// cannot be chosen: barred, a duplicate, in no category, or failing a
// filter) and its value of every control, in the design's order.
#ifndef STIMSEL_DESIGN_DESIGN_ROWS_H_
#define STIMSEL_DESIGN_DESIGN_ROWS_H_

#include <cstdint>
#include <string>
#include <vector>

#include "design/design.h"
#include "select/controls.h"
#include "words/categories.h"
#include "words/word_table.h"

struct DesignRows {
  int categories = 0;              // K, the categories in play
  std::vector<std::uint8_t> slot;  // per row: 1..K, or 0
  Controls controls;               // per row, one value per control
  int filteredOut = 0;             // rows in play that a filter barred
  // Per row, its category by the design alone (the list mode's affect
  // categories, or the bands), before any row was barred; and whether a
  // filter barred it (only rows in a category that could otherwise be
  // chosen are marked), for counts of what each rule removed.
  std::vector<std::uint8_t> category;
  std::vector<char> barredByFilter;
};

// The values of `variable` for every row of `table`: "length" (letters),
// "frequency", "zipf" (of the frequency, read as per million), the rating
// roles ("valence", "arousal", "valence_sd") and any column the table kept
// (case-insensitively, an exact match first). A rating read as a float
// gives the value its shortest text reads as, so that 5.67 in the file is
// 5.67 here. Returns false when the table has no such variable.
bool variableValues(const WordTable& table, const std::string& variable,
                    std::vector<double>& values);

// Applies `design` to `table`. The affect design takes the categories of
// `play` (the list mode's); a split design takes its own. `controls` are the
// controls in force (the design's, or the defaults the run settled). Every
// variable named must be one variableValues knows: the reader has already
// refused any other.
DesignRows applyDesign(const Design& design, const std::vector<Control>& controls,
                       const std::vector<AffectCategory>& play, const WordTable& table);

#endif  // STIMSEL_DESIGN_DESIGN_ROWS_H_
