// What balancing did to a list, in figures a methods section can quote: the
// imbalance before and after, the exchanges made, and for every control the
// largest |Hedges' g| between two categories and between two lists, as
// drawn and as balanced.
#ifndef STIMSEL_OUTPUT_BALANCE_SUMMARY_H_
#define STIMSEL_OUTPUT_BALANCE_SUMMARY_H_

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "balance/balance.h"

// One control's largest |g| over every pair of sets: the categories (a
// category's words in all groups) and the lists (every word of a list's
// groups). Hedges' g is that of datasheet/mean_comparison; a pair whose g
// cannot be computed (fewer than two words in a set, no spread in either)
// takes no part, and a figure over no such pair is empty. The list figures
// are empty with one list.
struct ControlBalance {
  std::string name;  // as the text says it: "length", "Zipf frequency", ...
  std::optional<double> categoriesBefore;
  std::optional<double> categoriesAfter;
  std::optional<double> listsBefore;
  std::optional<double> listsAfter;
};

struct BalanceSummary {
  BalanceResult result;  // imbalances and exchanges
  long long maxExchanges = 0;
  int lists = 1;
  size_t groups = 0;
  std::vector<ControlBalance> controls;  // in the input's order of controls
};

// The largest |g| over every pair of `sets`, or nothing when no pair's g
// can be computed.
std::optional<double> largestAbsoluteG(const std::vector<std::vector<double>>& sets);

// The figures of `result`, the balancing of `input`; `names` holds the
// name of every control of the input.
BalanceSummary summarizeBalance(const BalanceInput& input, const BalanceResult& result,
                                const std::vector<std::string>& names);

// The lines the run prints after the table: "Balancing: ..." with the
// exchanges and the imbalance before and after (and whether the bound on
// exchanges stopped it), then one line per control with its largest |g|
// before and after.
void writeBalanceSummary(const BalanceSummary& summary, std::ostream& out);

// The report's part, after its methods paragraph: the same lines, then a
// paragraph that goes on from it, saying how the list was balanced, with
// the cost and the figures.
void writeBalanceSection(const BalanceSummary& summary, std::ostream& out);

#endif  // STIMSEL_OUTPUT_BALANCE_SUMMARY_H_
