// The datasheet's input for a run, from what the run read, filtered and
// drew: the report and the datasheet both take their figures and their
// methods paragraph from it. This is the one place that knows the run's
// design: the affect design's builder is called here, and a design with
// categories of its own gives its DatasheetInput here instead.
#ifndef STIMSEL_APP_RUN_DATASHEET_H_
#define STIMSEL_APP_RUN_DATASHEET_H_

#include <cstdint>
#include <optional>
#include <string>

#include "app/run.h"
#include "app/settings.h"
#include "balance/balance.h"
#include "balance/latin_square.h"
#include "datasheet/datasheet.h"
#include "design/design_rows.h"
#include "output/drawn_list.h"

// What steps after the draw report to the datasheet when the run takes
// them; empty when it does not.
struct LaterSteps {
  std::optional<BalanceResult> balance;  // --balance: before, after, exchanges
  std::optional<Schedule> latinSquare;   // --latin-square: lists per participant group
};

// `settings` holds the rules in force; `command` and `seed` draw the list
// again. With `digests`, each input's size and SHA-256 are taken from the
// file (the datasheet states them; the report does not need them). Fails
// when an equivalence bound names a frequency scale the run does not match
// on (a bad command), or an input can no longer be read.
// `rows` and `controls` are what the selection saw and matched on.
Result<DatasheetInput> runDatasheetInput(const Settings& settings, const PreparedWords& words,
                                         const DrawnList& list, const DesignRows& rows,
                                         const std::vector<Control>& controls,
                                         const std::string& command, std::uint32_t seed,
                                         bool digests, const LaterSteps& later);

#endif  // STIMSEL_APP_RUN_DATASHEET_H_
