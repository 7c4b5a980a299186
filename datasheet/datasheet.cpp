#include "datasheet/datasheet.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "output/number_format.h"

using json = nlohmann::ordered_json;

namespace {

constexpr int kStatDecimals = 2;  // means, SDs, differences, g, t, ratios
constexpr int kPDecimals = 3;

std::string num(double value, int decimals = kStatDecimals) {
  return fixedDecimals(value, decimals);
}

// 13915 -> "13,915".
std::string grouped(long long value) {
  std::string digits = std::to_string(value < 0 ? -value : value);
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) {
    digits.insert(static_cast<size_t>(at), ",");
  }
  return value < 0 ? "-" + digits : digits;
}

// "1 word", "6 words".
std::string counted(long long n, const std::string& one, const std::string& many) {
  return grouped(n) + " " + (n == 1 ? one : many);
}

std::string cell(const std::string& text) {
  std::string escaped;
  for (char c : text) {
    if (c == '|') escaped += '\\';
    escaped += c;
  }
  return escaped;
}

bool inSds(const EquivalenceBound& bound) {
  return bound.unit == EquivalenceBound::Unit::PooledSd;
}

// "0.5 pooled SD" or "0.1 Zipf units".
std::string boundText(const SheetControl& control) {
  return shortestText(control.bound.value) +
         (inSds(control.bound) ? " pooled SD" : " " + control.unit);
}

// ---------------------------------------------------------------- figures

std::vector<double> valuesWhere(const DatasheetInput& input, size_t control, bool byList,
                                int number) {
  std::vector<double> values;
  for (const SheetWord& w : input.words) {
    if ((byList ? w.list : w.category) == number) values.push_back(w.values[control]);
  }
  return values;
}

SetFigures setFigures(const DatasheetInput& input, bool byList, int number) {
  SetFigures set;
  set.number = number;
  for (size_t c = 0; c < input.controls.size(); ++c) {
    const std::vector<double> values = valuesWhere(input, c, byList, number);
    set.perControl.push_back(summarizeSample(values));
    set.minimum.push_back(values.empty() ? 0 : *std::min_element(values.begin(), values.end()));
    set.maximum.push_back(values.empty() ? 0 : *std::max_element(values.begin(), values.end()));
  }
  return set;
}

bool holdsWords(const DatasheetInput& input, bool byList, int number) {
  return std::any_of(input.words.begin(), input.words.end(),
                     [&](const SheetWord& w) { return (byList ? w.list : w.category) == number; });
}

std::vector<PairFigures> pairsOf(const DatasheetInput& input, const std::vector<SetFigures>& sets,
                                 bool byList, bool withIntervals) {
  std::vector<PairFigures> pairs;
  for (size_t c = 0; c < input.controls.size(); ++c) {
    for (size_t i = 0; i < sets.size(); ++i) {
      for (size_t j = i + 1; j < sets.size(); ++j) {
        PairFigures pair;
        pair.control = static_cast<int>(c);
        pair.a = sets[i].number;
        pair.b = sets[j].number;
        pair.comparison = compareSampleMeans(valuesWhere(input, c, byList, pair.a),
                                             valuesWhere(input, c, byList, pair.b),
                                             input.controls[c].bound, input.alpha, withIntervals);
        pairs.push_back(pair);
      }
    }
  }
  return pairs;
}

LargestG largestG(const std::vector<PairFigures>& pairs) {
  LargestG largest;
  for (const PairFigures& pair : pairs) {
    if (pair.comparison.status != Computability::Computable) continue;
    if (!largest.found || std::fabs(pair.comparison.g) > std::fabs(largest.pair.comparison.g)) {
      largest.found = true;
      largest.pair = pair;
    }
  }
  return largest;
}

// ---------------------------------------------------------------- texts

std::string categoryName(const DatasheetInput& input, int number) {
  return input.categories[static_cast<size_t>(number - 1)].name;
}

std::string setName(const DatasheetInput& input, bool byList, int number) {
  return byList ? "list " + std::to_string(number) : categoryName(input, number);
}

std::string meanAndSd(const SampleSummary& s) {
  return num(s.mean) + " (" + num(s.sd) + ")";
}

std::string gCell(const MeanComparison& c) {
  if (c.status != Computability::Computable) return "not defined";
  if (!c.intervalComputed) return num(c.g) + " (interval not computed)";
  return num(c.g) + " [" + num(c.gLower) + ", " + num(c.gUpper) + "]";
}

std::string tostCell(const MeanComparison& c) {
  const EquivalenceTest& e = c.equivalence;
  if (e.status != Computability::Computable) return "not defined";
  return "t(" + num(e.df, 0) + ") = " + num(e.tLower) + ", " + num(e.tUpper) +
         "; p = " + num(e.p, kPDecimals);
}

std::string boundCell(const SheetControl& control, const MeanComparison& c) {
  std::string bound = "±" + shortestText(control.bound.value);
  if (!inSds(control.bound)) return bound;
  if (c.equivalence.status != Computability::Computable) return bound + " SD";
  return bound + " SD (±" + num(c.equivalence.upperBound) + ")";
}

// What the comparison shows, in words a reader of the table can act on.
std::string verdict(const SheetControl& control, const MeanComparison& c) {
  if (c.status == Computability::TooFewValues) return "fewer than two words in a set: no test";
  if (c.status == Computability::NoSpread) {
    std::string text =
        "no spread in either set: the means differ by exactly " + num(std::fabs(c.difference));
    if (inSds(control.bound)) return text + " (no SD to scale a bound)";
    const bool within = std::fabs(c.difference) <= control.bound.value;
    return text + ", " + (within ? "within" : "beyond") + " the bound of ±" +
           shortestText(control.bound.value);
  }
  if (!c.attainable.possible) {
    return "cannot be shown at this bound with " + std::to_string(c.a.n) + " and " +
           std::to_string(c.b.n) + " words; only bounds above ±" + num(c.attainable.smallestBound) +
           (inSds(control.bound) ? " SD" : " " + control.unit) + " could be shown";
  }
  return c.equivalence.shown ? "equivalent" : "not shown to be equivalent";
}

// "1 letter", "2 letters": a tolerance with its unit.
std::string toleranceText(const SheetControl& control) {
  const bool one = control.tolerance == 1 && control.unit == "letters";
  return shortestText(control.tolerance) + " " + (one ? std::string("letter") : control.unit);
}

std::string matchRuleText(const DatasheetInput& input) {
  std::string controls;
  for (size_t c = 0; c < input.controls.size(); ++c) {
    const SheetControl& control = input.controls[c];
    if (c > 0) controls += c + 1 == input.controls.size() ? " and " : ", ";
    controls += toleranceText(control) + " in " + control.name;
  }
  if (input.controls.empty()) return "no control variables were matched";
  return (input.matchAll ? "every two words of a group lie within " : "every word lies within ") +
         controls + (input.matchAll ? " of each other" : " of the group's first word (its anchor)");
}

long long groupCount(const DatasheetInput& input) {
  const size_t k = std::max<size_t>(input.categories.size(), 1);
  return static_cast<long long>(input.words.size() / k);
}

std::string removalText(const DatasheetInput& input) {
  std::string text;
  for (const Removal& r : input.removed) {
    text += std::string(text.empty() ? "" : "; ") + r.rule + " (" + grouped(r.words) + ")";
  }
  return text;
}

long long eligibleWords(const DatasheetInput& input) {
  long long total = 0;
  for (const SheetCategory& c : input.categories) total += c.eligible;
  return total;
}

// "a bound of ±0.5 pooled SD" when every control has it, else each named.
std::string boundsText(const DatasheetInput& input) {
  const std::string first = input.controls.empty() ? "" : boundText(input.controls[0]);
  const bool same = std::all_of(input.controls.begin(), input.controls.end(),
                                [&](const SheetControl& c) { return boundText(c) == first; });
  if (same) return "a bound of ±" + first;
  std::string text = "bounds of ";
  for (size_t c = 0; c < input.controls.size(); ++c) {
    text += (c == 0 ? "" : ", ") + std::string("±") + boundText(input.controls[c]) + " (" +
            input.controls[c].name + ")";
  }
  return text;
}

std::string largestGSentence(const DatasheetInput& input, const DatasheetFigures& f) {
  long long noSpread = 0;
  for (const PairFigures& p : f.categoryPairs) {
    if (p.comparison.status == Computability::NoSpread) ++noSpread;
  }
  std::string text;
  if (!f.largestCategoryG.found) {
    text =
        " No pair of categories had two words each and some spread on a control, so no "
        "Hedges' g could be computed; the datasheet gives the raw differences.";
    return text;
  }
  const PairFigures& p = f.largestCategoryG.pair;
  const SheetControl& control = input.controls[static_cast<size_t>(p.control)];
  const MeanComparison& c = p.comparison;
  text =
      " Balance was checked on every control for every pair of categories. The largest "
      "difference was in " +
      control.name + " between " + categoryName(input, p.a) + " and " + categoryName(input, p.b) +
      ", Hedges' g = " + num(c.g);
  if (c.intervalComputed) {
    text += " (90% CI [" + num(c.gLower) + ", " + num(c.gUpper) + "])";
  }
  text += "; two one-sided tests (alpha = " + shortestText(input.alpha) + ") against " +
          boundsText(input) + " showed equivalence for " + std::to_string(f.equivalenceShown) +
          " of " + std::to_string(f.equivalenceTested) + " tested comparisons.";
  if (!c.attainable.possible) {
    text += " With " + std::to_string(c.a.n) +
            " words per category, equivalence at that bound "
            "cannot be shown whatever the means; only bounds above ±" +
            num(c.attainable.smallestBound) + (inSds(control.bound) ? " SD" : " " + control.unit) +
            " could be.";
  }
  text += input.boundsGiven
              ? " The bounds were set for this selection."
              : " The bound is stimsel's default of half a pooled SD, used because no other was "
                "set; it treats a difference smaller than half the spread of the compared words "
                "as negligible.";
  if (noSpread > 0) {
    text += " " + counted(noSpread, "comparison", "comparisons") +
            " without spread in either category " + (noSpread == 1 ? "is" : "are") +
            " reported by the raw difference of means.";
  }
  return text;
}

std::string largestListGSentence(const DatasheetInput& input, const DatasheetFigures& f) {
  if (!f.largestListG.found) return "";
  const PairFigures& p = f.largestListG.pair;
  const MeanComparison& c = p.comparison;
  std::string text = " Between lists, the largest difference was in " +
                     input.controls[static_cast<size_t>(p.control)].name + " between list " +
                     std::to_string(p.a) + " and list " + std::to_string(p.b) +
                     ", Hedges' g = " + num(c.g);
  if (c.intervalComputed) text += " (90% CI [" + num(c.gLower) + ", " + num(c.gUpper) + "])";
  return text + ".";
}

std::string balanceSentence(const DatasheetInput& input) {
  if (!input.balance) return "";
  const SheetBalance& b = *input.balance;
  const long long exchanges = b.replacements + b.groupSwaps + b.wordTrades;
  return " After drawing, the list was balanced by exchanges that each lowered the imbalance "
         "across categories" +
         std::string(input.lists > 1 ? " and lists" : "") + " (" +
         counted(exchanges, "exchange", "exchanges") + "; imbalance " + num(b.imbalanceBefore, 3) +
         " before, " + num(b.imbalanceAfter, 3) + " after" +
         (b.reachedBound ? "; stopped at the bound on exchanges" : "") + ").";
}

std::string designSentence(const DatasheetInput& input) {
  if (input.words.empty()) {
    return " No complete group could be drawn, so the list holds no words (" +
           grouped(input.wantedWords) + " wanted).";
  }
  const long long groups = groupCount(input);
  std::string text = " The list consists of " + counted(groups, "matched group", "matched groups") +
                     " of one word per category (" +
                     counted(static_cast<long long>(input.words.size()), "word", "words") + ")";
  if (input.lists > 1) {
    text += ", dealt in turn into " + std::to_string(input.lists) + " lists with no word in common";
  }
  text += "; within each group, " + matchRuleText(input);
  if (!input.anchorRule.empty()) text += "; " + input.anchorRule;
  text += ".";
  if (static_cast<long long>(input.words.size()) < input.wantedWords) {
    text += " The list is short: " + grouped(static_cast<long long>(input.words.size())) +
            " of the " + grouped(input.wantedWords) + " words wanted could be matched.";
  }
  return text;
}

}  // namespace

DatasheetFigures datasheetFigures(const DatasheetInput& input, FigureScope scope) {
  DatasheetFigures f;
  const int k = static_cast<int>(input.categories.size());
  for (int c = 1; c <= k; ++c) {
    if (holdsWords(input, false, c)) f.categories.push_back(setFigures(input, false, c));
  }
  f.categoryPairs = pairsOf(input, f.categories, false, true);
  if (input.lists > 1) {
    for (int l = 1; l <= input.lists; ++l) {
      if (holdsWords(input, true, l)) {
        f.lists.push_back(setFigures(input, true, l));
      } else {
        f.emptyLists.push_back(l);
      }
    }
    f.listPairs = pairsOf(input, f.lists, true, scope == FigureScope::Everything);
  }
  f.largestCategoryG = largestG(f.categoryPairs);
  f.largestListG = largestG(f.listPairs);
  if (scope == FigureScope::Summary && f.largestListG.found) {
    PairFigures& p = f.largestListG.pair;
    const auto c = static_cast<size_t>(p.control);
    p.comparison =
        compareSampleMeans(valuesWhere(input, c, true, p.a), valuesWhere(input, c, true, p.b),
                           input.controls[c].bound, input.alpha);
  }
  for (const PairFigures& p : f.categoryPairs) {
    if (p.comparison.equivalence.status != Computability::Computable) continue;
    ++f.equivalenceTested;
    if (p.comparison.equivalence.shown) ++f.equivalenceShown;
  }
  return f;
}

std::string methodsParagraph(const DatasheetInput& input, const DatasheetFigures& figures) {
  return methodsSentences(input, figures) + " " + citationRequest(input);
}

std::string citationRequest(const DatasheetInput& input) {
  return input.normsCitation.empty()
             ? "[Please cite the publication of the norms in " + input.normsName + ".]"
             : "The norms are those of " + input.normsCitation + "; please cite them.";
}

std::string methodsSentences(const DatasheetInput& input, const DatasheetFigures& figures) {
  std::string text = "Stimuli were selected with stimsel " + input.provenance.version +
                     " from the norms file " + input.normsName + " (" +
                     counted(input.rowsRead, "row", "rows") + "; " + grouped(input.rowsLoaded) +
                     " with every value the design needs). Frequencies were taken from " +
                     input.frequencySource + " (" + input.frequencyUnit + "). Words were sorted " +
                     input.sortedBy + " into " + std::to_string(input.categories.size()) +
                     " categories: ";
  for (size_t c = 0; c < input.categories.size(); ++c) {
    text += std::string(c == 0 ? "" : "; ") + input.categories[c].name + " (" +
            input.categories[c].rule + ")";
  }
  text += ".";
  if (!input.removed.empty()) {
    text += " Words were removed, in this order: " + removalText(input) + "; " +
            grouped(eligibleWords(input)) + " words were eligible.";
  } else {
    text += " " + grouped(eligibleWords(input)) + " words were eligible.";
  }
  text += designSentence(input);
  text += balanceSentence(input);
  if (!input.words.empty()) text += largestGSentence(input, figures);
  text += largestListGSentence(input, figures);
  text += " Groups were drawn at random with seed " + std::to_string(input.provenance.seed) + ".";
  return text;
}

namespace {

// ---------------------------------------------------------------- Markdown

void writeProvenance(const DatasheetInput& input, std::ostream& out) {
  const Provenance& p = input.provenance;
  out << "## Provenance\n\n"
      << "- Program: stimsel " << p.version << "\n"
      << "- Command: `" << p.command << "`\n"
      << "- Seed: " << p.seed << "\n\n"
      << "| Role | File | Bytes | Rows | SHA-256 |\n|---|---|---|---|---|\n";
  for (const SourceFile& f : p.files) {
    out << "| " << cell(f.role) << " | " << cell(f.name) << " | " << f.bytes << " | " << f.rows
        << " | `" << f.sha256 << "` |\n";
  }
  out << "\n";
}

void writeRows(const DatasheetInput& input, std::ostream& out) {
  out << "## Words read and removed\n\n"
      << "The norms file " << input.normsName << " holds " << counted(input.rowsRead, "row", "rows")
      << "; " << grouped(input.rowsLoaded)
      << " had every value the design needs. Frequencies: " << input.frequencySource << " ("
      << input.frequencyUnit << ").\n\n";
  if (!input.removed.empty()) {
    out << "| Rule | Words removed |\n|---|---|\n";
    for (const Removal& r : input.removed)
      out << "| " << cell(r.rule) << " | " << r.words << " |\n";
    out << "\nA word counts under the first rule of the table that removes it.\n\n";
  }
}

void writeDesign(const DatasheetInput& input, std::ostream& out) {
  out << "## Design\n\n| # | Category | Rule | Eligible words |\n|---|---|---|---|\n";
  for (size_t c = 0; c < input.categories.size(); ++c) {
    const SheetCategory& category = input.categories[c];
    out << "| " << c + 1 << " | " << cell(category.name) << " | " << cell(category.rule) << " | "
        << category.eligible << " |\n";
  }
  out << "\n| Control | Tolerance | Equivalence bound |\n|---|---|---|\n";
  for (const SheetControl& control : input.controls) {
    out << "| " << cell(control.name) << " | " << toleranceText(control) << " | ±"
        << boundText(control) << " |\n";
  }
  out << "\nMatch rule: " << matchRuleText(input)
      << (input.anchorRule.empty() ? "" : "; " + input.anchorRule) << ".\n\n"
      << "Lists: " << input.lists << ". Words wanted: " << input.wantedWords
      << ". Words chosen: " << input.words.size() << ".\n\n"
      << "Largest list the pools allow: a greedy pass in table order built "
      << counted(input.capacity.greedyGroups, "group", "groups")
      << " that meet the match rule, so at least that many fit; the pools hold at most "
      << counted(input.capacity.smallestPool, "group", "groups")
      << " (the smallest pool). The greedy figure is a bound, not the exact largest list.\n\n";
}

void writeWords(const DatasheetInput& input, std::ostream& out) {
  out << "## Chosen words\n\n| List | Group | Role | Category | Word |";
  for (const SheetControl& control : input.controls) out << " " << cell(control.name) << " |";
  out << "\n|---|---|---|---|---|";
  for (size_t c = 0; c < input.controls.size(); ++c) out << "---|";
  out << "\n";
  for (const SheetWord& w : input.words) {
    out << "| " << w.list << " | " << w.group << " | " << (w.anchor ? "anchor" : "partner") << " | "
        << cell(categoryName(input, w.category)) << " | " << cell(w.word) << " |";
    for (size_t c = 0; c < input.controls.size(); ++c) {
      out << " " << num(w.values[c], input.controls[c].decimals) << " |";
    }
    out << "\n";
  }
  if (input.words.empty()) out << "\nNo complete group was drawn.\n";
  out << "\n";
}

void writeSets(const DatasheetInput& input, const std::vector<SetFigures>& sets, bool byList,
               std::ostream& out) {
  for (size_t c = 0; c < input.controls.size(); ++c) {
    out << "**" << input.controls[c].name << "** (" << input.controls[c].unit << ")\n\n"
        << "| " << (byList ? "List" : "Category") << " | n | Mean | SD | Min | Max |\n"
        << "|---|---|---|---|---|---|\n";
    for (const SetFigures& s : sets) {
      const SampleSummary& summary = s.perControl[c];
      out << "| " << cell(setName(input, byList, s.number)) << " | " << summary.n << " | "
          << num(summary.mean) << " | " << num(summary.sd) << " | " << num(s.minimum[c]) << " | "
          << num(s.maximum[c]) << " |\n";
    }
    out << "\n";
  }
}

void writePairs(const DatasheetInput& input, const std::vector<PairFigures>& pairs, bool byList,
                std::ostream& out) {
  out << "| Control | Pair (a vs b) | Mean a (SD) | Mean b (SD) | Difference | g [90% CI] | "
         "Variance ratio | Bound | TOST | Equivalence |\n"
         "|---|---|---|---|---|---|---|---|---|---|\n";
  for (const PairFigures& p : pairs) {
    const SheetControl& control = input.controls[static_cast<size_t>(p.control)];
    const MeanComparison& c = p.comparison;
    out << "| " << cell(control.name) << " | " << cell(setName(input, byList, p.a)) << " vs "
        << cell(setName(input, byList, p.b)) << " | " << meanAndSd(c.a) << " | " << meanAndSd(c.b)
        << " | " << num(c.difference) << " | " << gCell(c) << " | "
        << (c.hasVarianceRatio ? num(c.varianceRatio) : "not defined") << " | "
        << boundCell(control, c) << " | " << tostCell(c) << " | " << verdict(control, c) << " |\n";
  }
  out << "\n";
}

void writeBalance(const DatasheetInput& input, const DatasheetFigures& f, std::ostream& out) {
  out << "## Balance between categories\n\n";
  if (f.categories.empty()) {
    out << "No complete group was drawn, so there are no statistics.\n\n";
  } else {
    writeSets(input, f.categories, false, out);
    writePairs(input, f.categoryPairs, false, out);
  }
  if (input.lists < 2) return;
  out << "## Balance between lists\n\n";
  if (!f.emptyLists.empty()) {
    out << "Without a complete group, so without statistics: list";
    out << (f.emptyLists.size() == 1 ? " " : "s ");
    for (size_t i = 0; i < f.emptyLists.size(); ++i) out << (i == 0 ? "" : ", ") << f.emptyLists[i];
    out << ".\n\n";
  }
  if (f.lists.empty()) return;
  writeSets(input, f.lists, true, out);
  if (f.lists.size() > 1) writePairs(input, f.listPairs, true, out);
}

void writeExchanges(const DatasheetInput& input, std::ostream& out) {
  if (!input.balance) return;
  const SheetBalance& b = *input.balance;
  out << "## Balancing\n\n"
      << "- Imbalance before: " << num(b.imbalanceBefore, 3) << "\n"
      << "- Imbalance after: " << num(b.imbalanceAfter, 3) << "\n"
      << "- Exchanges: " << b.replacements << " replacements, " << b.groupSwaps << " group swaps, "
      << b.wordTrades << " word trades"
      << (b.reachedBound ? " (stopped at the bound on exchanges)"
                         : " (no single exchange helps further)")
      << "\n";
  if (!b.cost.empty()) out << "- Cost: " << b.cost << "\n";
  out << "\n";
}

void writeLatinSquare(const DatasheetInput& input, std::ostream& out) {
  if (!input.latinSquare) return;
  const Schedule& square = *input.latinSquare;
  out << "## Counterbalancing\n\nEach row is one group of participants; the entries are the "
         "lists they get in conditions 1 to "
      << (square.empty() ? 0 : square[0].size()) << ".\n\n"
      << "| Participants |";
  const size_t width = square.empty() ? 0 : square[0].size();
  for (size_t t = 0; t < width; ++t) out << " Condition " << t + 1 << " |";
  out << "\n|---|";
  for (size_t t = 0; t < width; ++t) out << "---|";
  out << "\n";
  for (size_t p = 0; p < square.size(); ++p) {
    out << "| " << p + 1 << " |";
    for (int list : square[p]) out << " list " << list + 1 << " |";
    out << "\n";
  }
  out << "\n";
}

const char* const kAnalysisFormula = "response ~ category + (1 + category | subject) + (1 | item)";

const char* const kAnalysisWhy =
    "The words are a sample from the many words that could have served, so items are a random "
    "factor like subjects: treating them as fixed would let the particular words chosen pass for "
    "an effect of category.";

const char* const kDiagnostics =
    "These figures describe the chosen items after selection; they are diagnostics, not tests of "
    "a hypothesis about a population of words, since the items are the whole set being described "
    "(Sassenhagen & Alday, 2016). A difference that is not significant is no evidence of "
    "matching; the equivalence tests (TOST; Lakens, 2017) ask instead whether a difference as "
    "large as the bound can be ruled out, and at small sizes they cannot succeed, which the "
    "tables say.";

void writeMaterials(const DatasheetInput& input, std::ostream& out) {
  out << "## Materials (for a pre-registration)\n\n"
      << "- Norms: " << input.normsName << " ("
      << (input.provenance.files.empty() ? std::string("SHA-256 not given")
                                         : "SHA-256 " + input.provenance.files[0].sha256)
      << "), frequencies from " << input.frequencySource << " (" << input.frequencyUnit << ").\n"
      << "- Categories: ";
  for (size_t c = 0; c < input.categories.size(); ++c) {
    out << (c == 0 ? "" : "; ") << input.categories[c].name << " (" << input.categories[c].rule
        << ")";
  }
  out << ".\n";
  if (!input.removed.empty())
    out << "- Words removed before drawing: " << removalText(input) << ".\n";
  out << "- Matching: " << matchRuleText(input)
      << (input.anchorRule.empty() ? "" : "; " + input.anchorRule) << ".\n"
      << "- Size: " << input.wantedWords << " words wanted in all"
      << (input.lists == 1 ? "" : ", dealt into " + std::to_string(input.lists) + " lists")
      << ", in whole groups of " << input.categories.size() << " (one word per category).\n"
      << "- Balance check: for every control and every pair of categories"
      << (input.lists > 1 ? " and of lists" : "")
      << ", Hedges' g with its 90% interval and two one-sided tests at alpha = "
      << shortestText(input.alpha) << " against bounds of ";
  for (size_t c = 0; c < input.controls.size(); ++c) {
    out << (c == 0 ? "" : ", ") << "±" << boundText(input.controls[c]) << " ("
        << input.controls[c].name << ")";
  }
  out << ".\n- Random seed: " << input.provenance.seed << "; command: `" << input.provenance.command
      << "`.\n\n";
}

}  // namespace

void writeDatasheetMarkdown(const DatasheetInput& input, std::ostream& out) {
  writeDatasheetMarkdown(input, datasheetFigures(input), out);
}

void writeDatasheetMarkdown(const DatasheetInput& input, const DatasheetFigures& figures,
                            std::ostream& out) {
  out << "# Datasheet\n\n";
  writeProvenance(input, out);
  writeRows(input, out);
  writeDesign(input, out);
  writeWords(input, out);
  writeBalance(input, figures, out);
  writeExchanges(input, out);
  writeLatinSquare(input, out);
  out << "## Methods\n\n" << methodsParagraph(input, figures) << "\n\n";
  writeMaterials(input, out);
  out << "## Suggested analysis\n\n`" << kAnalysisFormula << "`\n\n"
      << kAnalysisWhy << "\n\n"
      << "## What these figures are\n\n"
      << kDiagnostics << "\n";
}

namespace {

// ---------------------------------------------------------------- JSON

const char* statusName(Computability c) {
  switch (c) {
    case Computability::Computable:
      return "computable";
    case Computability::TooFewValues:
      return "too_few_values";
    case Computability::NoSpread:
      return "no_spread";
  }
  return "";
}

json boundJson(const EquivalenceBound& bound) {
  return {{"value", bound.value}, {"unit", inSds(bound) ? "pooled_sd" : "raw"}};
}

json summaryJson(const SampleSummary& s) {
  return {{"n", s.n}, {"mean", s.mean}, {"sd", s.sd}};
}

json comparisonJson(const MeanComparison& c) {
  json j;
  j["status"] = statusName(c.status);
  j["a"] = summaryJson(c.a);
  j["b"] = summaryJson(c.b);
  j["difference"] = c.hasDifference ? json(c.difference) : json(nullptr);
  const bool computable = c.status == Computability::Computable;
  j["pooled_sd"] = c.a.n >= 2 && c.b.n >= 2 ? json(c.pooledSd) : json(nullptr);
  j["g"] = computable ? json(c.g) : json(nullptr);
  j["g_ci90"] =
      computable && c.intervalComputed ? json::array({c.gLower, c.gUpper}) : json(nullptr);
  j["variance_ratio"] = c.hasVarianceRatio ? json(c.varianceRatio) : json(nullptr);
  const EquivalenceTest& e = c.equivalence;
  if (e.status == Computability::Computable) {
    j["tost"] = {{"lower_bound", e.lowerBound},
                 {"upper_bound", e.upperBound},
                 {"df", e.df},
                 {"t_lower", e.tLower},
                 {"t_upper", e.tUpper},
                 {"p", e.p},
                 {"shown", e.shown}};
  } else {
    j["tost"] = nullptr;
  }
  if (c.attainable.status == Computability::Computable) {
    j["attainable"] = {{"possible", c.attainable.possible},
                       {"smallest_bound", c.attainable.smallestBound}};
  } else {
    j["attainable"] = nullptr;
  }
  return j;
}

json setsJson(const DatasheetInput& input, const std::vector<SetFigures>& sets, bool byList) {
  json array = json::array();
  for (const SetFigures& s : sets) {
    json controls = json::object();
    for (size_t c = 0; c < input.controls.size(); ++c) {
      json summary = summaryJson(s.perControl[c]);
      summary["min"] = s.minimum[c];
      summary["max"] = s.maximum[c];
      controls[input.controls[c].name] = summary;
    }
    json set;
    set[byList ? "list" : "category"] = s.number;
    if (!byList) set["name"] = categoryName(input, s.number);
    set["controls"] = controls;
    array.push_back(set);
  }
  return array;
}

json pairsJson(const DatasheetInput& input, const std::vector<PairFigures>& pairs) {
  json array = json::array();
  for (const PairFigures& p : pairs) {
    array.push_back({{"control", input.controls[static_cast<size_t>(p.control)].name},
                     {"a", p.a},
                     {"b", p.b},
                     {"comparison", comparisonJson(p.comparison)}});
  }
  return array;
}

json largestJson(const DatasheetInput& input, const LargestG& largest) {
  if (!largest.found) return nullptr;
  const MeanComparison& c = largest.pair.comparison;
  return {{"control", input.controls[static_cast<size_t>(largest.pair.control)].name},
          {"a", largest.pair.a},
          {"b", largest.pair.b},
          {"g", c.g},
          {"g_ci90", c.intervalComputed ? json::array({c.gLower, c.gUpper}) : json(nullptr)}};
}

json designJson(const DatasheetInput& input) {
  json categories = json::array();
  for (size_t c = 0; c < input.categories.size(); ++c) {
    categories.push_back({{"number", c + 1},
                          {"name", input.categories[c].name},
                          {"rule", input.categories[c].rule},
                          {"eligible", input.categories[c].eligible}});
  }
  json controls = json::array();
  for (const SheetControl& control : input.controls) {
    controls.push_back({{"name", control.name},
                        {"unit", control.unit},
                        {"tolerance", control.tolerance},
                        {"equivalence_bound", boundJson(control.bound)}});
  }
  return {{"sorted_by", input.sortedBy},
          {"categories", categories},
          {"controls", controls},
          {"match", input.matchAll ? "all" : "anchor"},
          {"anchor_rule", input.anchorRule},
          {"lists", input.lists},
          {"words_wanted", input.wantedWords},
          {"words_chosen", input.words.size()},
          {"alpha", input.alpha}};
}

json wordsJson(const DatasheetInput& input) {
  json array = json::array();
  for (const SheetWord& w : input.words) {
    json values = json::object();
    for (size_t c = 0; c < input.controls.size(); ++c) values[input.controls[c].name] = w.values[c];
    array.push_back({{"list", w.list},
                     {"group", w.group},
                     {"role", w.anchor ? "anchor" : "partner"},
                     {"category", w.category},
                     {"word", w.word},
                     {"values", values}});
  }
  return array;
}

json balanceJson(const DatasheetInput& input) {
  if (!input.balance) return nullptr;
  const SheetBalance& b = *input.balance;
  return {{"imbalance_before", b.imbalanceBefore},
          {"imbalance_after", b.imbalanceAfter},
          {"replacements", b.replacements},
          {"group_swaps", b.groupSwaps},
          {"word_trades", b.wordTrades},
          {"reached_bound", b.reachedBound},
          {"cost", b.cost}};
}

// Lists numbered from 1, as everywhere else in the datasheet.
json latinSquareJson(const DatasheetInput& input) {
  if (!input.latinSquare) return nullptr;
  json rows = json::array();
  for (const std::vector<int>& row : *input.latinSquare) {
    json lists = json::array();
    for (int list : row) lists.push_back(list + 1);
    rows.push_back(lists);
  }
  return rows;
}

// Every figure that is not a whole number, to kDataFigureDigits.
void roundFigures(json& j) {
  if (j.is_number_float()) {
    j = dataFigure(j.get<double>());
  } else if (j.is_structured()) {
    for (json& element : j) roundFigures(element);
  }
}

}  // namespace

json datasheetJson(const DatasheetInput& input) {
  return datasheetJson(input, datasheetFigures(input));
}

json datasheetJson(const DatasheetInput& input, const DatasheetFigures& f) {
  json files = json::array();
  for (const SourceFile& file : input.provenance.files) {
    files.push_back({{"role", file.role},
                     {"name", file.name},
                     {"bytes", file.bytes},
                     {"rows", file.rows},
                     {"sha256", file.sha256}});
  }
  json removed = json::array();
  for (const Removal& r : input.removed) removed.push_back({{"rule", r.rule}, {"words", r.words}});
  json j;
  j["datasheet"] = 1;
  j["provenance"] = {{"version", input.provenance.version},
                     {"command", input.provenance.command},
                     {"seed", input.provenance.seed},
                     {"files", files}};
  j["rows"] = {{"norms_file", input.normsName},
               {"read", input.rowsRead},
               {"loaded", input.rowsLoaded},
               {"eligible", eligibleWords(input)}};
  j["frequency"] = {{"source", input.frequencySource}, {"unit", input.frequencyUnit}};
  j["removed"] = removed;
  j["design"] = designJson(input);
  j["capacity"] = {{"greedy_groups", input.capacity.greedyGroups},
                   {"smallest_pool", input.capacity.smallestPool}};
  j["words"] = wordsJson(input);
  j["categories"] = setsJson(input, f.categories, false);
  j["category_pairs"] = pairsJson(input, f.categoryPairs);
  j["lists"] = input.lists > 1 ? setsJson(input, f.lists, true) : json::array();
  j["lists_without_group"] = f.emptyLists;
  j["list_pairs"] = pairsJson(input, f.listPairs);
  j["largest_g"] = {{"categories", largestJson(input, f.largestCategoryG)},
                    {"lists", largestJson(input, f.largestListG)}};
  j["balance"] = balanceJson(input);
  j["latin_square"] = latinSquareJson(input);
  j["methods"] = methodsParagraph(input, f);
  roundFigures(j);
  return j;
}
