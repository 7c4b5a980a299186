// The stages of one run, for the run itself and for the whole-run fuzz
// target, which checks the values between them.
#ifndef STIMSEL_APP_RUN_H_
#define STIMSEL_APP_RUN_H_

#include <cstdint>
#include <ostream>

#include "app/settings.h"
#include "select/selection.h"
#include "words/read_error.h"
#include "words/word_table.h"

// Loads the norms and applies the part-of-speech filter and the exclusion
// list, writing their progress and warnings to `out` ("filename is ..."
// first). Returns the table ready for selection, or the error that stopped
// the run (not yet printed).
Result<WordTable> prepareWords(const Settings& settings, std::ostream& out);

// The words all lists together should hold: N rounded down to whole
// groups, times the number of lists.
long long wordsWanted(const Settings& settings);

// The groups drawn for the settings' lists, whole rounds only.
struct DrawnGroups {
  SelectionResult result;
  int leftOut = 0;  // groups drawn but left out to keep the lists alike
  std::uint32_t seed = 0;
};
DrawnGroups drawGroups(const Settings& settings, const WordTable& table, std::uint32_t seed);

// Prints the shortfall if any, the table, the report, writes the export and
// the plot, and prints "Done." to `progress`; the export with "--out -" and
// any message that stops the run go to `out`. Returns the exit status.
int finishList(const Settings& settings, const WordTable& table, const DrawnGroups& drawn,
               std::ostream& progress, std::ostream& out);

#endif  // STIMSEL_APP_RUN_H_
