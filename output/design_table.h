// Prints the list of a design of the user's own categories: the words with
// their category's name and their value of every split and control
// variable, where the affect design prints ratings, length and frequency.
#ifndef STIMSEL_OUTPUT_DESIGN_TABLE_H_
#define STIMSEL_OUTPUT_DESIGN_TABLE_H_

#include <ostream>

#include "output/drawn_list.h"

// For each list (under "List i of L" when there are several), an empty
// line, the header "count\tWord\t\tCategory\t" and the variables' names,
// then one row per word in table order, numbered from 1. Words are padded
// to 15 letters; values print as read, computed Zipf values to two decimals.
void printDesignLists(const DrawnList& list, std::ostream& out);

#endif  // STIMSEL_OUTPUT_DESIGN_TABLE_H_
