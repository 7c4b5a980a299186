// --balance in a run: the drawn groups, as the design's rows show them,
// handed to balanceGroups and replaced by its result.
#ifndef STIMSEL_APP_BALANCE_STEP_H_
#define STIMSEL_APP_BALANCE_STEP_H_

#include <vector>

#include "balance/balance.h"
#include "design/design.h"
#include "design/design_rows.h"
#include "output/balance_summary.h"
#include "select/selection.h"

// The balancing of `groups` over `rows`: a row's category is its slot, each
// control its values and tolerance, the rule All under --match all and
// Anchor otherwise, over `lists` lists.
BalanceInput balanceInputOf(const DesignRows& rows, const std::vector<std::vector<int>>& groups,
                            int lists, bool matchAll);

// Balances the groups of `result` in place (the same number of groups, each
// keeping its anchor first and the category at every position, group g in
// list g % lists) and returns what balancing did; `controls` are the
// controls in force, which name the figures.
BalanceSummary balanceSelection(const DesignRows& rows, const std::vector<Control>& controls,
                                int lists, bool matchAll, SelectionResult& result);

#endif  // STIMSEL_APP_BALANCE_STEP_H_
