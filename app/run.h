// The stages of one run, for the run itself and for the whole-run fuzz
// target, which checks the values between them.
#ifndef STIMSEL_APP_RUN_H_
#define STIMSEL_APP_RUN_H_

#include <cstdint>
#include <optional>
#include <ostream>
#include <vector>

#include "app/settings.h"
#include "datasheet/datasheet.h"
#include "design/design_rows.h"
#include "output/balance_summary.h"
#include "select/selection.h"
#include "words/read_error.h"
#include "words/word_table.h"

// The table ready for selection, with what reading it and filtering it did.
struct PreparedWords {
  WordTable table;
  // Per record, whether the part-of-speech filter barred it; empty when no
  // part of speech was asked for.
  std::vector<bool> barredByPartOfSpeech;
  // Every file read, the norms first, with its role, its name as given and
  // its data rows (entries, for the tag and exclusion files); their bytes
  // and digests are left for the datasheet to take.
  std::vector<SourceFile> inputs;
};

// Loads the norms and applies the part-of-speech filter and the exclusion
// list, writing their progress and warnings to `out` ("filename is ..."
// first; words that are not valid UTF-8 are counted in a warning). Returns
// the table ready for selection, or the error that stopped the run (not yet
// printed).
Result<PreparedWords> prepareWords(const Settings& settings, std::ostream& out);

// The words all lists together should hold: N rounded down to whole
// groups (of one word per category of the design), times the number of
// lists.
long long wordsWanted(const Settings& settings);

// The groups drawn for the settings' lists, whole rounds only, and balanced
// when the settings ask for it.
struct DrawnGroups {
  SelectionResult result;
  int leftOut = 0;  // groups drawn but left out to keep the lists alike
  std::uint32_t seed = 0;
  std::vector<Control> controls;          // the controls in force
  DesignRows rows;                        // what the selection saw of each record
  std::optional<BalanceSummary> balance;  // with --balance: what balancing did
};
DrawnGroups drawGroups(const Settings& settings, const WordTable& table, std::uint32_t seed);

// Where a run's text goes. A plain run sends all of it to standard output in
// the order it happens: the three are then one stream. When standard output
// holds an export or a plot ("-"), `data` is standard output, `progress`
// keeps only its "Warning:" lines, and `notices` is standard error.
struct RunStreams {
  std::ostream& progress;  // "filename is", the table, the report, "Done."
  std::ostream& notices;   // what a user must see: shortfall, warnings, errors
  std::ostream& data;      // the output named "-"
};

// Prints the shortfall if any, the table, what balancing did (in the report
// when there is one), the counterbalancing schedule, the report, writes the
// export, the schedule, the plot and the datasheet (all files or none),
// warns of words a spreadsheet may take for formulas, and prints "Done.".
// Returns the exit status.
int finishList(const Settings& settings, const PreparedWords& words, const DrawnGroups& drawn,
               const RunStreams& streams);

#endif  // STIMSEL_APP_RUN_H_
