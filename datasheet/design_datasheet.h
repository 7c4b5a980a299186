// The datasheet's input for a run whose design is not the affect design
// with its default controls: categories of the user's own (--split), or any
// design matched on controls of its own (--control). The words' values, the
// controls and the candidate pools come from the rows as the selection saw
// them (a category number and one value per control for every record), so
// the datasheet describes exactly what was matched.
#ifndef STIMSEL_DATASHEET_DESIGN_DATASHEET_H_
#define STIMSEL_DATASHEET_DESIGN_DATASHEET_H_

#include <vector>

#include "datasheet/affect_datasheet.h"
#include "datasheet/datasheet.h"
#include "design/design.h"
#include "design/design_rows.h"
#include "output/drawn_list.h"

// Replaces the controls, the chosen words' values and the candidate pools'
// capacity of `input`, and its categories' eligible counts, by those of `rows`, whose controls are
// `controls` in that order. `everyCategoryAnchors`: anchors cycle through all K categories,
// not 1..K-1. Bounds in the variable's own units are taken from `facts` for length, frequency and
// Zipf frequency.
void useDesignControls(DatasheetInput& input, const DrawnList& list, const DesignRows& rows,
                       const std::vector<Control>& controls, bool everyCategoryAnchors,
                       const AffectRunFacts& facts);

// Adds to the affect design's removals the words its --where conditions
// barred (words the earlier rules left eligible), when it has any.
void addFilterRemoval(DatasheetInput& input, const Design& design, const DesignRows& rows);

// The whole input for a design of splits: its categories by name with their
// bands as the rule, the words each rule removed in this order (repeats,
// outside every category, part of speech, exclusion list, --where), and
// the controls as useDesignControls gives them.
DatasheetInput splitDatasheetInput(const WordTable& table, const DrawnList& list,
                                   const Design& design, const DesignRows& rows,
                                   const std::vector<Control>& controls, bool matchAll,
                                   long long wantedWords, const AffectRunFacts& facts);

#endif  // STIMSEL_DATASHEET_DESIGN_DATASHEET_H_
