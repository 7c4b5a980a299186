// stimsel: draws word lists for experiments from a table of rated words.
//
// Start here. One call is one whole run, exactly as the command line gives
// it: the arguments after the program name go in; everything a user sees,
// progress, warnings, error messages, the list and "Done.", comes out on
// `out` (standard output), in order; the exit status is returned. When the
// arguments send the export or the plot to standard output ("--out -",
// "--plot -"), `out` holds that alone: progress and the table are left out,
// and every warning, the shortfall and every error go to `err` (standard
// error) instead. Output files are replaced only when all of them were
// written. The run reads the files the arguments name (relative paths from
// the current folder) and keeps no state between calls, so several runs in
// one process (tests, the browser page) cannot see each other.
//
// Inside, data flows one way: arguments -> settings (app/command_line) ->
// word table (words/: norms, filters) -> selection (select/) -> what is
// printed (output/). Readers return a value or a ReadError; only app/ turns
// an error into text and an exit status.
#ifndef STIMSEL_APP_STIMSEL_H_
#define STIMSEL_APP_STIMSEL_H_

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

enum ExitStatus {
  kExitComplete = 0,    // the whole list was printed (an empty one too)
  kExitInputError = 1,  // an input cannot be read or an output cannot be written
  kExitBadOption = 2,   // an unknown option, a bad option value, or an output
                        // naming an input or another output
  kExitShortfall = 3,   // only part of the list could be matched
};

// Runs stimsel. `clockSeed` is the seed used when the arguments hold no
// --seed: the command line passes the current time in whole seconds.
int runStimsel(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               std::uint32_t clockSeed);

#endif  // STIMSEL_APP_STIMSEL_H_
