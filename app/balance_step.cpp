#include "app/balance_step.h"

#include "words/ascii_text.h"
#include "words/message_text.h"

namespace {

std::string controlName(const Control& control) {
  std::string name = asciiLower(control.variable);
  if (name == "length" || name == "frequency") return name;
  if (name == "zipf") return "Zipf frequency";
  return shownText(control.variable);
}

}  // namespace

BalanceInput balanceInputOf(const DesignRows& rows, const std::vector<std::vector<int>>& groups,
                            int lists, bool matchAll) {
  BalanceInput input;
  input.categories = rows.categories;
  input.categoryOf.assign(rows.slot.begin(), rows.slot.end());
  const size_t count = rows.controls.tolerances.size();
  input.controls.resize(count);
  for (size_t c = 0; c < count; ++c) {
    input.controls[c].tolerance = rows.controls.tolerances[c];
    input.controls[c].values.reserve(rows.slot.size());
    for (size_t r = 0; r < rows.slot.size(); ++r) {
      input.controls[c].values.push_back(rows.controls.values[r * count + c]);
    }
  }
  input.rule = matchAll ? BalanceRule::All : BalanceRule::Anchor;
  input.groups = groups;
  input.lists = lists;
  return input;
}

BalanceSummary balanceSelection(const DesignRows& rows, const std::vector<Control>& controls,
                                int lists, bool matchAll, SelectionResult& result) {
  const BalanceInput input = balanceInputOf(rows, result.groups, lists, matchAll);
  const BalanceResult balanced = balanceGroups(input);
  std::vector<std::string> names;
  names.reserve(controls.size());
  for (const Control& control : controls) names.push_back(controlName(control));
  result.groups = balanced.groups;
  return summarizeBalance(input, balanced, names);
}
