#include "output/design_report.h"

#include <algorithm>
#include <cmath>

#include "datasheet/datasheet.h"
#include "datasheet/mean_comparison.h"
#include "output/number_format.h"
#include "words/message_text.h"

namespace {

std::string fixed(double value) {
  return fixedDecimals(value, 2);
}

// The values of `variable` of the rows that pass `keep`.
template <typename Keep>
std::vector<double> valuesOf(const DrawnList& list, const ShownVariable& variable, Keep keep) {
  std::vector<double> values;
  for (const ListRow& row : list.rows) {
    if (keep(row)) values.push_back(variable.values[static_cast<size_t>(row.index)]);
  }
  return values;
}

std::vector<double> ofCategory(const DrawnList& list, const ShownVariable& v, int category) {
  return valuesOf(list, v, [&](const ListRow& row) { return row.category == category; });
}

std::vector<double> ofList(const DrawnList& list, const ShownVariable& v, int number) {
  return valuesOf(list, v, [&](const ListRow& row) { return row.list == number; });
}

std::string padded(const std::string& name) {
  return name.size() >= 14 ? name + " " : name + std::string(15 - name.size(), ' ');
}

void writeCategories(const DrawnList& list, std::ostream& out) {
  out << "Per category (mean, SD, minimum - maximum):\n";
  for (size_t c = 1; c <= list.categoryNames.size(); ++c) {
    const auto category = static_cast<int>(c);
    const auto words = std::count_if(list.rows.begin(), list.rows.end(),
                                     [&](const ListRow& row) { return row.category == category; });
    out << "  " << c << " " << shownText(list.categoryNames[c - 1]) << ": "
        << countOf(static_cast<long long>(words), "word", "words") << "\n";
    if (words == 0) continue;
    for (const ShownVariable& variable : list.variables) {
      const std::vector<double> values = ofCategory(list, variable, category);
      const SampleSummary s = summarizeSample(values);
      out << "    " << padded(shownText(variable.name)) << fixed(s.mean) << "  SD  " << fixed(s.sd)
          << "  " << fixed(*std::min_element(values.begin(), values.end())) << " - "
          << fixed(*std::max_element(values.begin(), values.end())) << "\n";
    }
  }
}

// The pair (of categories or of lists, numbered 1..count) with the largest
// |g|; a pair whose g cannot be computed counts by its raw difference only
// when no pair has a g.
struct WidestPair {
  int a = 0;
  int b = 0;
  MeanComparison comparison;
};

template <typename Sample>
WidestPair widestPair(int count, Sample sample) {
  WidestPair widest;
  double most = -1;
  bool haveG = false;
  for (int a = 1; a <= count; ++a) {
    for (int b = a + 1; b <= count; ++b) {
      const MeanComparison c = compareSampleMeans(sample(a), sample(b), EquivalenceBound{});
      const bool hasG = c.status == Computability::Computable;
      if (!c.hasDifference || (haveG && !hasG)) continue;
      const double size = hasG ? std::fabs(c.g) : std::fabs(c.difference);
      if ((hasG && !haveG) || size > most) {
        widest = {a, b, c};
        most = size;
        haveG = haveG || hasG;
      }
    }
  }
  return widest;
}

void writeEquivalence(const MeanComparison& c, std::ostream& out) {
  if (c.attainable.status == Computability::Computable && !c.attainable.possible) {
    out << "    Equivalence within 0.5 pooled SD cannot be shown at alpha = .05 with " << c.a.n
        << " and " << c.b.n << " words; the smallest bound these sizes allow is "
        << fixed(c.attainable.smallestBound) << " SD.\n";
    return;
  }
  const EquivalenceTest& t = c.equivalence;
  out << "    Equivalence (TOST, bounds -0.5 to +0.5 pooled SD = +-" << fixed(t.upperBound)
      << "): t(" << fixedDecimals(t.df, 0) << ") = " << fixed(t.tLower) << " and "
      << fixed(t.tUpper) << ", p = " << fixedDecimals(t.p, 3) << ": "
      << (t.shown ? "equivalent at alpha = .05.\n"
                  : "not shown to be equivalent at alpha = .05.\n");
}

void writePair(const std::string& what, const std::string& a, const std::string& b,
               const MeanComparison& c, std::ostream& out) {
  out << "  " << what << ": " << a << " vs " << b << ", difference " << fixed(c.difference);
  if (c.status == Computability::NoSpread) {
    out << " (no spread in either: every word of each has the same value).\n";
    return;
  }
  if (c.status != Computability::Computable) {
    out << " (too few words for Hedges' g).\n";
    return;
  }
  out << ", Hedges' g = " << fixed(c.g);
  if (c.intervalComputed)
    out << " (90 % CI " << fixed(c.gLower) << " to " << fixed(c.gUpper) << ")";
  out << ".\n";
  writeEquivalence(c, out);
}

void writeComparisons(const DrawnList& list, const DesignReportContext& context,
                      std::ostream& out) {
  const auto k = static_cast<int>(list.categoryNames.size());
  out << "For each control, the two categories whose means differ most:\n";
  for (const Control& control : context.controls) {
    const ShownVariable* variable = list.variable(control.variable);
    if (variable == nullptr) continue;
    const WidestPair pair = widestPair(k, [&](int c) { return ofCategory(list, *variable, c); });
    if (pair.a == 0) continue;
    writePair(shownText(variable->name), shownText(list.categoryNames[pair.a - 1]),
              shownText(list.categoryNames[pair.b - 1]), pair.comparison, out);
  }
  if (list.lists < 2) return;
  out << "For each control, the two lists whose means differ most:\n";
  for (const Control& control : context.controls) {
    const ShownVariable* variable = list.variable(control.variable);
    if (variable == nullptr) continue;
    const WidestPair pair =
        widestPair(list.lists, [&](int l) { return ofList(list, *variable, l); });
    if (pair.a == 0) continue;
    writePair(shownText(variable->name), "list " + std::to_string(pair.a),
              "list " + std::to_string(pair.b), pair.comparison, out);
  }
}

}  // namespace

void writeDesignReport(const DrawnList& list, const DesignReportContext& context,
                       const DatasheetInput& sheet, std::ostream& out) {
  out << "\nBalance report\n";
  if (!context.complete) {
    out << "The list is short: " << list.rows.size() << " of " << context.wantedWords
        << " words were matched; the report covers the complete groups.\n";
  }
  writeCategories(list, out);
  if (!list.rows.empty()) writeComparisons(list, context, out);
  out << "Seed: " << sheet.provenance.seed << "\n";
  out << "To draw this list again: " << sheet.provenance.command << "\n";
  out << "Citation: " << citationRequest(sheet) << "\n";
  out << "Methods: " << methodsSentences(sheet, datasheetFigures(sheet, FigureScope::Summary))
      << "\n";
}
