#include "output/balance_summary.h"

#include <algorithm>
#include <cmath>

#include "datasheet/mean_comparison.h"
#include "output/number_format.h"
#include "words/message_text.h"

namespace {

using Groups = std::vector<std::vector<int>>;
using Sets = std::vector<std::vector<double>>;

// The values of control c of the words of every category, and of every
// list that holds groups.
struct SetsOfControl {
  Sets categories;
  Sets lists;
};

SetsOfControl setsOf(const BalanceInput& input, const Groups& groups, size_t c) {
  SetsOfControl sets;
  sets.categories.resize(static_cast<size_t>(input.categories));
  sets.lists.resize(static_cast<size_t>(input.lists));
  const std::vector<double>& values = input.controls[c].values;
  for (size_t g = 0; g < groups.size(); ++g) {
    for (int row : groups[g]) {
      const auto r = static_cast<size_t>(row);
      sets.categories[static_cast<size_t>(input.categoryOf[r] - 1)].push_back(values[r]);
      sets.lists[g % static_cast<size_t>(input.lists)].push_back(values[r]);
    }
  }
  sets.lists.erase(std::remove_if(sets.lists.begin(), sets.lists.end(),
                                  [](const std::vector<double>& s) { return s.empty(); }),
                   sets.lists.end());
  return sets;
}

std::string gText(const std::optional<double>& g) {
  return g ? fixedDecimals(*g, 2) : "n/a";
}

// Four decimals, or three significant digits for an imbalance below 0.001,
// so that a small imbalance never reads as 0.
std::string imbalanceText(double value) {
  if (!(value > 0) || value >= 1e-3 || !std::isfinite(value)) return fixedDecimals(value, 4);
  return fixedDecimals(value, 2 - static_cast<int>(std::floor(std::log10(value))));
}

std::string exchangesText(const BalanceResult& r) {
  std::vector<std::string> kinds;
  if (r.replacements > 0)
    kinds.push_back(countOf(r.replacements, "word replaced", "words replaced"));
  if (r.groupSwaps > 0) {
    kinds.push_back(countOf(r.groupSwaps, "swap of two groups", "swaps of two groups") +
                    " between lists");
  }
  if (r.wordTrades > 0) {
    kinds.push_back(countOf(r.wordTrades, "trade of two words", "trades of two words") +
                    " between lists");
  }
  std::string text;
  for (size_t i = 0; i < kinds.size(); ++i) {
    text += (i == 0 ? "" : i + 1 == kinds.size() ? " and " : ", ") + kinds[i];
  }
  return countOf(r.exchanges(), "exchange", "exchanges") + " (" + text + ")";
}

// "the largest ... was 0.05 for length and 0.04 for Zipf frequency (0.57
// and 0.31 as drawn)", for the figure `after` and `before` pick.
template <typename Pick>
std::string figuresText(const BalanceSummary& s, Pick pick) {
  std::string after;
  std::string before;
  for (size_t i = 0; i < s.controls.size(); ++i) {
    const char* joint = i == 0 ? "" : i + 1 == s.controls.size() ? " and " : ", ";
    after += joint + gText(pick(s.controls[i], true)) + " for " + s.controls[i].name;
    before += joint + gText(pick(s.controls[i], false));
  }
  return after + " (" + before + " as drawn)";
}

// What the exchanges did to the imbalance, as a sentence of the methods.
std::string costText(const BalanceSummary& s) {
  const BalanceResult& r = s.result;
  if (r.exchanges() == 0)
    return "No exchange lowered it (" + imbalanceText(r.imbalanceBefore) + ")";
  return countOf(r.exchanges(), "exchange", "exchanges") + " lowered it from " +
         imbalanceText(r.imbalanceBefore) + " to " + imbalanceText(r.imbalanceAfter) +
         (r.reachedBound
              ? ", stopping at the bound of " + std::to_string(s.maxExchanges) + " exchanges"
              : "");
}

void writeMethods(const BalanceSummary& s, std::ostream& out) {
  const bool lists = s.lists > 1;
  out << "Methods, continued: The drawn groups were then balanced (stimsel --balance): as long "
         "as an exchange lowered the imbalance, a word was replaced by an unused eligible word "
         "of its category that kept its group within every tolerance"
      << (lists ? ", or two groups, or two words of one category, were exchanged between lists"
                : "")
      << ". The imbalance sums, over the matched variables, the squared difference of the "
         "means of every two categories"
      << (lists ? " and of every two lists" : "")
      << ", each variable in SDs of the eligible words, plus " << fixedDecimals(kLogSdWeight, 1)
      << " times the squared difference of their log SDs. " << costText(s)
      << ". The largest |Hedges' g| between two categories "
      << "was then " << figuresText(s, [](const ControlBalance& c, bool after) {
           return after ? c.categoriesAfter : c.categoriesBefore;
         });
  if (lists) {
    out << "; between two lists, " << figuresText(s, [](const ControlBalance& c, bool after) {
      return after ? c.listsAfter : c.listsBefore;
    });
  }
  out << ".\n";
}

}  // namespace

std::optional<double> largestAbsoluteG(const Sets& sets) {
  std::optional<double> largest;
  for (size_t a = 0; a < sets.size(); ++a) {
    for (size_t b = a + 1; b < sets.size(); ++b) {
      // g alone: its interval is not shown here, and is most of the cost.
      const MeanComparison c = compareSampleMeans(sets[a], sets[b], EquivalenceBound{}, 0.05,
                                                  /*withInterval=*/false);
      if (c.status != Computability::Computable) continue;
      largest = std::max(largest.value_or(0.0), std::fabs(c.g));
    }
  }
  return largest;
}

BalanceSummary summarizeBalance(const BalanceInput& input, const BalanceResult& result,
                                const std::vector<std::string>& names) {
  BalanceSummary summary;
  summary.result = result;
  summary.maxExchanges = input.maxExchanges;
  summary.lists = input.lists;
  summary.groups = input.groups.size();
  for (size_t c = 0; c < input.controls.size(); ++c) {
    const SetsOfControl before = setsOf(input, input.groups, c);
    const SetsOfControl after = setsOf(input, result.groups, c);
    ControlBalance control{names[c], largestAbsoluteG(before.categories),
                           largestAbsoluteG(after.categories), std::nullopt, std::nullopt};
    if (input.lists > 1) {
      control.listsBefore = largestAbsoluteG(before.lists);
      control.listsAfter = largestAbsoluteG(after.lists);
    }
    summary.controls.push_back(std::move(control));
  }
  return summary;
}

void writeBalanceSummary(const BalanceSummary& s, std::ostream& out) {
  const BalanceResult& r = s.result;
  if (s.controls.empty()) {
    out << "Balancing: the words are matched on no variable, so there is nothing to balance.\n";
    return;
  }
  if (s.groups == 0) {
    out << "Balancing: no group was drawn, so there is nothing to balance.\n";
    return;
  }
  if (r.exchanges() == 0) {
    out << "Balancing: no exchange lowers the imbalance (" << imbalanceText(r.imbalanceBefore)
        << "); the groups are as drawn.\n";
  } else {
    out << "Balancing: " << exchangesText(r) << " lowered the imbalance from "
        << imbalanceText(r.imbalanceBefore) << " to " << imbalanceText(r.imbalanceAfter)
        << (r.reachedBound ? "; stopped at the bound of " + std::to_string(s.maxExchanges) +
                                 " exchanges, so more might lower it further.\n"
                           : "; no single exchange lowers it further.\n");
  }
  out << "Largest |Hedges' g| as drawn -> balanced:\n";
  for (const ControlBalance& c : s.controls) {
    out << "  " << c.name << ": between categories " << gText(c.categoriesBefore) << " -> "
        << gText(c.categoriesAfter);
    if (s.lists > 1) {
      out << ", between lists " << gText(c.listsBefore) << " -> " << gText(c.listsAfter);
    }
    out << "\n";
  }
}

void writeBalanceSection(const BalanceSummary& summary, std::ostream& out) {
  writeBalanceSummary(summary, out);
  if (summary.controls.empty() || summary.groups == 0) return;
  writeMethods(summary, out);
}
