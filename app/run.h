// The run sequence: from the command line to the printed list.
#ifndef STIMSEL_APP_RUN_H_
#define STIMSEL_APP_RUN_H_

#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "select/selection.h"
#include "words/word_table.h"

enum ExitStatus {
  kExitComplete = 0,    // the whole list was printed (an empty one too)
  kExitInputError = 1,  // an input file cannot be opened or is malformed
  kExitBadOption = 2,   // an unknown option or a bad option value
  kExitShortfall = 3,   // only part of the list could be matched
};

// One run with settled settings: seed, load the norms, apply the
// part-of-speech filter and the exclusion list, prepare the categories for
// the list mode, choose, print the table and "Done.". Prints the usage text
// first when there was no positional argument. Returns the exit status.
int runList(const Settings& settings, std::ostream& out = std::cout);

// The steps of runList before selection: load the norms, apply the filters,
// prepare the categories for the mode. Returns the record count, or nothing
// after an input error has been printed.
std::optional<int> prepareWords(const Settings& settings, WordTable& table,
                                std::ostream& out = std::cout);

// The steps of runList after selection: the shortfall if any, the table,
// the release of the records and "Done.". Returns the exit status.
int finishList(WordTable& table, int n, const SelectionResult& result,
               std::ostream& out = std::cout);

// Reads the arguments after the program name, handles the options that stop
// before a run (--help, --version, errors), and otherwise runs the list.
int runCommandLine(const std::vector<std::string>& args, std::ostream& out = std::cout);

#endif  // STIMSEL_APP_RUN_H_
