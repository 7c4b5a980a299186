// The design as the user writes it on the command line: the values of
// --split, --control and --where.
//
// Each parser reads one option value whole and returns the part of the
// design it describes, or a ReadError whose message says what is wrong in
// words a user can act on (the command line puts the option's name before
// it). Variable names are kept as written; they are matched against the
// norms' columns, case-insensitively, only when the table is read.
#ifndef STIMSEL_DESIGN_DESIGN_TEXT_H_
#define STIMSEL_DESIGN_DESIGN_TEXT_H_

#include <string_view>

#include "design/design.h"
#include "words/read_error.h"

// "VARIABLE=BAND BAND ...": each BAND an interval with an optional name,
// "[1,3]", "neg:[1,3)", "pos:(7,9]", "(-inf,0)". Brackets include their
// bound, parentheses exclude it; bounds are decimal numbers or -inf/inf.
// Bands are separated by white space; names hold letters, digits, "_", "-"
// and ".", and differ within a split. Bands must not overlap (the error
// names both) and none may be empty.
Result<Split> parseSplit(std::string_view text);

// "VARIABLE=TOLERANCE", the tolerance a decimal number, 0 or more.
Result<Control> parseControl(std::string_view text);

// "VARIABLE OP NUMBER" with OP one of <, <=, >, >=, =, !=; spaces around the
// operator are optional.
Result<Condition> parseCondition(std::string_view text);

// Checks what only the whole design shows: at most kMostCategories
// categories, no variable split twice. Returns the message, or "".
std::string checkDesign(const Design& design);

#endif  // STIMSEL_DESIGN_DESIGN_TEXT_H_
