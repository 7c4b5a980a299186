// What every run that prints a list promises, whatever it was asked for: no
// word is printed twice, every group holds one word of each category in play
// within the matching tolerances, the export holds the printed lists, and a
// list that falls short says how many words it prints. The end-to-end suites
// run the binary through runChecked so that each of their runs is held to this.
#ifndef STIMSEL_TESTS_LIST_CHECKER_H_
#define STIMSEL_TESTS_LIST_CHECKER_H_

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "tests/test_support.h"

// One row of a printed table, its cells as printed.
struct PrintedRow {
  int list = 1;      // the "List i of L" heading it stands under, 1 without headings
  std::string word;  // without the padding
  std::string label;
  std::string valence;
  std::string arousal;
  std::string length;
  std::string frequency;
};

// The rows of every table in a run's standard output, in printed order.
std::vector<PrintedRow> printedRows(const std::string& output);

// An export read back as rows of named cells (JSON numbers as their text,
// JSON null as "").
using ExportRows = std::vector<std::map<std::string, std::string>>;
ExportRows readDelimitedExport(const std::string& text, char delimiter);
ExportRows readJsonExport(const std::string& text);

// The matching rules a run asks for: the defaults unless its arguments set
// --length-tolerance, --frequency-tolerance, --zipf-tolerance or --match.
struct Tolerances {
  int length = 2;
  double frequency = 10;
  bool zipf = false;
  bool all = false;
};
Tolerances tolerancesOf(const std::vector<std::string>& args);

// No word twice in all the printed lists, and a shortfall's "Only M of W"
// counting exactly the rows printed.
::testing::AssertionResult printedListHolds(const std::string& output);

// Every group of the export complete (one word of each category in play,
// one anchor) and within `rules`, and no word in two rows.
::testing::AssertionResult exportHolds(const ExportRows& rows, const Tolerances& rules);

// The export holds the printed lists: the same words under the same list, in
// norms-file order, with the ratings, length and frequency as printed.
::testing::AssertionResult exportMatchesTable(const ExportRows& rows,
                                              const std::vector<PrintedRow>& printed);

// Runs the binary as runStimsel does and checks the promises above on what it
// printed. A run that names no --out also writes a CSV export to a temporary
// file (which prints nothing) so that its groups can be checked.
RunResult runChecked(const std::string& dir, const std::vector<std::string>& args,
                     const std::string& redirect = "");

#endif  // STIMSEL_TESTS_LIST_CHECKER_H_
