// The stages of one run, for the run itself and for the whole-run fuzz
// target, which checks the values between them.
#ifndef STIMSEL_APP_RUN_H_
#define STIMSEL_APP_RUN_H_

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

// Prints the shortfall if any, the table and "Done.". Returns the exit status.
int finishList(const Settings& settings, const WordTable& table, const SelectionResult& result,
               std::ostream& out);

#endif  // STIMSEL_APP_RUN_H_
