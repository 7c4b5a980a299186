#include "output/report.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

#include "datasheet/mean_comparison.h"
#include "output/balance_summary.h"
#include "output/number_format.h"
#include "output/result_table.h"
#include "words/message_text.h"
#include "words/zipf.h"

namespace {

std::string fixed(double value, int decimals = 2) {
  return fixedDecimals(value, decimals);
}

// The measures the report summarizes, by name.
enum class Measure { Length, Frequency, Zipf, Valence, Arousal };
const std::pair<Measure, const char*> kMeasures[] = {{Measure::Length, "length"},
                                                     {Measure::Frequency, "frequency"},
                                                     {Measure::Zipf, "Zipf"},
                                                     {Measure::Valence, "valence"},
                                                     {Measure::Arousal, "arousal"}};

double measureOf(const WordRecord& r, Measure m) {
  switch (m) {
    case Measure::Length:
      return r.len;
    case Measure::Frequency:
      return r.freq;
    case Measure::Zipf:
      return zipfOf(r.freq);
    case Measure::Valence:
      return r.valMn;
    case Measure::Arousal:
      return r.aroMn;
  }
  return 0;
}

// Values of measure `m` of the rows of category `category` (1..K).
std::vector<double> valuesOf(const DrawnList& list, int category, Measure m) {
  std::vector<double> values;
  for (const ListRow& row : list.rows) {
    if (row.category == category) values.push_back(measureOf(list.record(row), m));
  }
  return values;
}

std::vector<double> valuesOfList(const DrawnList& list, int listNumber, Measure m) {
  std::vector<double> values;
  for (const ListRow& row : list.rows) {
    if (row.list == listNumber) values.push_back(measureOf(list.record(row), m));
  }
  return values;
}

void writeCategories(const DrawnList& list, std::ostream& out) {
  out << "Per category (mean, SD, minimum - maximum):\n";
  for (size_t c = 1; c <= list.play.size(); ++c) {
    const int category = static_cast<int>(c);
    const AffectCategory affect = list.play[c - 1];
    const size_t n = valuesOf(list, category, Measure::Length).size();
    out << "  " << category << " " << nameOf(affect) << " (\"" << labelOf(affect)
        << "\"): " << countOf(static_cast<long long>(n), "word", "words") << "\n";
    for (const auto& [measure, name] : kMeasures) {
      const std::vector<double> values = valuesOf(list, category, measure);
      const SampleSummary s = summarizeSample(values);
      const auto [low, high] = std::minmax_element(values.begin(), values.end());
      char line[160];
      std::snprintf(line, sizeof line, "    %-10s %8s  SD %7s  %s - %s\n", name,
                    fixed(s.mean).c_str(), fixed(s.sd).c_str(),
                    fixed(values.empty() ? 0 : *low).c_str(),
                    fixed(values.empty() ? 0 : *high).c_str());
      out << line;
    }
  }
}

// The largest max - min inside one group, over all groups.
double largestSpread(const DrawnList& list, Measure m) {
  std::map<std::pair<int, int>, std::pair<double, double>> ranges;
  for (const ListRow& row : list.rows) {
    const double v = measureOf(list.record(row), m);
    auto [it, fresh] = ranges.try_emplace({row.list, row.group}, v, v);
    if (!fresh) it->second = {std::min(it->second.first, v), std::max(it->second.second, v)};
  }
  double largest = 0;
  for (const auto& [group, range] : ranges) largest = std::max(largest, range.second - range.first);
  return largest;
}

// "10 in frequency" or "0.2 in Zipf frequency".
std::string frequencyTolerance(const MatchRules& rules) {
  return plainNumber(rules.frequencyTolerance) +
         (rules.zipf ? " in Zipf frequency" : " in frequency");
}

void writeSpreads(const DrawnList& list, const ReportContext& context, std::ostream& out) {
  const MatchRules& rules = context.rules;
  const Measure frequency = rules.zipf ? Measure::Zipf : Measure::Frequency;
  out << "Largest spread inside one group: " << plainNumber(largestSpread(list, Measure::Length))
      << " letters and " << fixed(largestSpread(list, frequency))
      << (rules.zipf ? " in Zipf frequency" : " in frequency")
      << " (tolerances: " << rules.lengthTolerance << " letters and " << frequencyTolerance(rules);
  if (rules.matchAll) {
    out << " between any two words of a group).\n";
    return;
  }
  out << " from the group's anchor, so at most " << 2 * rules.lengthTolerance << " and "
      << plainNumber(2 * rules.frequencyTolerance) << " between two partners).\n";
}

bool inSds(const EquivalenceBound& bound) {
  return bound.unit == EquivalenceBound::Unit::PooledSd;
}

std::string categoryName(const DatasheetInput& sheet, int number) {
  return sheet.categories[static_cast<size_t>(number - 1)].name;
}

std::string pairName(const DatasheetInput& sheet, const PairFigures& pair) {
  return categoryName(sheet, pair.a) + " vs " + categoryName(sheet, pair.b);
}

// ".05" for 0.05, as a methods section writes alpha.
std::string alphaText(double alpha) {
  const std::string text = fixed(alpha, 2);
  return text.compare(0, 2, "0.") == 0 ? text.substr(1) : text;
}

std::string capitalized(std::string text) {
  if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') text[0] = static_cast<char>(text[0] - 32);
  return text;
}

// "-0.5 to +0.5 pooled SD = +-0.67" or "-0.1 to +0.1 Zipf units".
std::string boundsText(const SheetControl& control, const EquivalenceTest& e) {
  const std::string value = shortestText(control.bound.value);
  if (!inSds(control.bound)) return "-" + value + " to +" + value + " " + control.unit;
  return "-" + value + " to +" + value + " pooled SD = +-" + fixed(e.upperBound);
}

void writeLargest(const DatasheetInput& sheet, const SheetControl& control, const PairFigures& pair,
                  std::ostream& out) {
  const MeanComparison& c = pair.comparison;
  const EquivalenceTest& e = c.equivalence;
  out << capitalized(control.name) << ": the largest difference between two categories is "
      << pairName(sheet, pair) << ", Hedges' g = " << fixed(c.g) << ".\n"
      << "  Equivalence (TOST, bounds " << boundsText(control, e) << "): t(" << fixed(e.df, 0)
      << ") = " << fixed(e.tLower) << " and " << fixed(e.tUpper) << ", p = " << fixed(e.p, 3)
      << ": " << (e.shown ? "equivalent" : "not shown to be equivalent")
      << " at alpha = " << alphaText(sheet.alpha) << ".\n";
  if (c.attainable.possible) return;
  out << "  With " << c.a.n << " and " << c.b.n
      << " words, equivalence at this bound cannot be shown whatever the means; only bounds "
         "above +-"
      << fixed(c.attainable.smallestBound) << (inSds(control.bound) ? " SD" : " " + control.unit)
      << " could be.\n";
}

// A pair without spread in either category has no g and no test: its raw
// difference is all there is, and against a bound in SDs it cannot be judged.
void writeNoSpread(const DatasheetInput& sheet, const SheetControl& control,
                   const PairFigures& pair, std::ostream& out) {
  const double difference = std::fabs(pair.comparison.difference);
  out << "  No spread in either category: " << pairName(sheet, pair) << " differ by exactly "
      << fixed(difference);
  if (inSds(control.bound)) {
    out << ", untested (no SD to scale the bound).\n";
    return;
  }
  out << ", " << (difference <= control.bound.value ? "within" : "beyond") << " the bound of +-"
      << shortestText(control.bound.value) << ".\n";
}

void writeControl(const DatasheetInput& sheet, const DatasheetFigures& figures, int control,
                  std::ostream& out) {
  const SheetControl& sheetControl = sheet.controls[static_cast<size_t>(control)];
  std::vector<PairFigures> pairs;
  for (const PairFigures& p : figures.categoryPairs) {
    if (p.control == control) pairs.push_back(p);
  }
  const PairFigures* largest = nullptr;
  long long tested = 0;
  long long shown = 0;
  for (const PairFigures& p : pairs) {
    if (p.comparison.status != Computability::Computable) continue;
    ++tested;
    shown += p.comparison.equivalence.shown ? 1 : 0;
    if (largest == nullptr || std::fabs(p.comparison.g) > std::fabs(largest->comparison.g)) {
      largest = &p;
    }
  }
  if (largest == nullptr) {
    out << capitalized(sheetControl.name)
        << ": Hedges' g and the equivalence test need at least two words per category and some "
           "spread.\n";
  } else {
    writeLargest(sheet, sheetControl, *largest, out);
    out << "  Equivalence was shown for " << shown << " of the " << tested
        << " pairs of categories tested (the datasheet gives each pair).\n";
  }
  for (const PairFigures& p : pairs) {
    if (p.comparison.status == Computability::NoSpread) writeNoSpread(sheet, sheetControl, p, out);
  }
}

bool listHasWords(const DrawnList& list, int listNumber) {
  return std::any_of(list.rows.begin(), list.rows.end(),
                     [&](const ListRow& row) { return row.list == listNumber; });
}

void writeLists(const DrawnList& list, std::ostream& out) {
  if (list.lists < 2) return;
  out << "Per list (mean length, frequency, valence, arousal):\n";
  std::map<Measure, std::pair<double, double>> extremes;
  const Measure compared[] = {Measure::Length, Measure::Frequency, Measure::Valence,
                              Measure::Arousal};
  int withWords = 0;
  for (int l = 1; l <= list.lists; ++l) {
    out << "  list " << l << ":";
    if (!listHasWords(list, l)) {
      out << " no complete group\n";
      continue;
    }
    ++withWords;
    for (Measure m : compared) {
      const double mean = summarizeSample(valuesOfList(list, l, m)).mean;
      out << " " << fixed(mean);
      auto [it, fresh] = extremes.try_emplace(m, mean, mean);
      if (!fresh)
        it->second = {std::min(it->second.first, mean), std::max(it->second.second, mean)};
    }
    out << "\n";
  }
  if (withWords < 2) return;
  const auto range = [&](Measure m) { return fixed(extremes[m].second - extremes[m].first); };
  out << "Largest difference between lists in mean length " << range(Measure::Length)
      << ", frequency " << range(Measure::Frequency) << ", valence " << range(Measure::Valence)
      << ", arousal " << range(Measure::Arousal) << ".\n";
}

}  // namespace

Comparison compareMeans(const std::vector<double>& a, const std::vector<double>& b, double bound) {
  const MeanComparison m = compareSampleMeans(a, b, {bound, EquivalenceBound::Unit::PooledSd});
  Comparison c;
  c.computable = m.status == Computability::Computable;
  if (!c.computable) return c;
  c.g = m.g;
  c.pooledSd = m.pooledSd;
  c.df = m.df;
  c.tLower = m.equivalence.tLower;
  c.tUpper = m.equivalence.tUpper;
  c.p = m.equivalence.p;
  return c;
}

void writeReport(const DrawnList& list, const ReportContext& context, const DatasheetInput& sheet,
                 std::ostream& out) {
  out << "\nBalance report\n";
  if (!context.complete) {
    out << "The list is short: " << list.rows.size() << " of " << context.wantedWords
        << " words were matched; the report covers the complete groups.\n";
  }
  const DatasheetFigures figures = datasheetFigures(sheet, FigureScope::Summary);
  if (list.rows.empty()) {
    out << "No complete group was drawn, so there are no statistics.\n";
  } else {
    writeCategories(list, out);
    writeSpreads(list, context, out);
    for (size_t c = 0; c < sheet.controls.size(); ++c) {
      writeControl(sheet, figures, static_cast<int>(c), out);
    }
    writeLists(list, out);
  }
  out << "Zipf frequency is log10 of the frequency per million plus 3; a frequency below "
      << plainNumber(kZipfFloorPerMillion) << " per million (0 included) counts as "
      << plainNumber(kZipfFloorPerMillion) << " (Zipf 1).\n";
  out << "Seed: " << sheet.provenance.seed << "\n";
  out << "To draw this list again: " << sheet.provenance.command << "\n";
  out << "Citation: " << citationRequest(sheet) << "\n";
  out << "Methods: " << methodsSentences(sheet, figures) << "\n";
  if (context.balance != nullptr) writeBalanceSection(*context.balance, out);
}
