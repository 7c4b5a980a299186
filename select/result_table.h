// Prints the run's product: the chosen words as a tab-separated table, and
// the shortfall when the list could not be completed.
#ifndef STIMSEL_SELECT_RESULT_TABLE_H_
#define STIMSEL_SELECT_RESULT_TABLE_H_

#include <iostream>

#include "select/selection.h"
#include "words/word_table.h"

// Prints an empty line, the header, then one row per chosen record among the
// first n, in table order (not the order of drawing), numbered from 1.
void printList(const WordTable& table, int n, std::ostream& out = std::cout);

// For an incomplete selection, prints "Only M of W words could be matched."
// and a line saying which category ran short. Prints nothing otherwise.
void printShortfall(const SelectionResult& result, const LabelTable& labels,
                    std::ostream& out = std::cout);

#endif  // STIMSEL_SELECT_RESULT_TABLE_H_
