#include "output/report.h"

#include <algorithm>
#include <boost/math/distributions/students_t.hpp>
#include <cmath>
#include <cstdio>
#include <map>

#include "output/balance_summary.h"
#include "output/result_table.h"
#include "words/message_text.h"

#ifndef STIMSEL_VERSION
#define STIMSEL_VERSION "unknown"
#endif

namespace {

constexpr double kEquivalenceBound = 0.5;  // in pooled SDs
constexpr double kAlpha = 0.05;

struct Summary {
  size_t n = 0;
  double mean = 0;
  double sd = 0;
  double min = 0;
  double max = 0;
};

Summary summarize(const std::vector<double>& values) {
  Summary s;
  s.n = values.size();
  if (s.n == 0) return s;
  s.min = *std::min_element(values.begin(), values.end());
  s.max = *std::max_element(values.begin(), values.end());
  for (double v : values) s.mean += v;
  s.mean /= static_cast<double>(s.n);
  if (s.n < 2) return s;
  double squares = 0;
  for (double v : values) squares += (v - s.mean) * (v - s.mean);
  s.sd = std::sqrt(squares / static_cast<double>(s.n - 1));
  return s;
}

std::string fixed(double value, int decimals = 2) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
  // A value that rounds to zero reads "0.00" whatever its sign.
  std::string text = buffer;
  if (text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
  return text;
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

// Values of measure `m` of the rows of category `category` (1..K) in list
// `listNumber` (0: every list).
std::vector<double> valuesOf(const DrawnList& list, int category, int listNumber, Measure m) {
  std::vector<double> values;
  for (const ListRow& row : list.rows) {
    if (row.category != category || (listNumber != 0 && row.list != listNumber)) continue;
    values.push_back(measureOf(list.record(row), m));
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
    const size_t n = valuesOf(list, category, 0, Measure::Length).size();
    out << "  " << category << " " << nameOf(affect) << " (\"" << labelOf(affect)
        << "\"): " << countOf(static_cast<long long>(n), "word", "words") << "\n";
    for (const auto& [measure, name] : kMeasures) {
      const Summary s = summarize(valuesOf(list, category, 0, measure));
      char line[160];
      std::snprintf(line, sizeof line, "    %-10s %8s  SD %7s  %s - %s\n", name,
                    fixed(s.mean).c_str(), fixed(s.sd).c_str(), fixed(s.min).c_str(),
                    fixed(s.max).c_str());
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

void writeComparison(const DrawnList& list, Measure m, const char* name, std::ostream& out) {
  Comparison best;
  std::pair<int, int> pair{0, 0};
  const int k = static_cast<int>(list.play.size());
  for (int a = 1; a <= k; ++a) {
    for (int b = a + 1; b <= k; ++b) {
      const Comparison c =
          compareMeans(valuesOf(list, a, 0, m), valuesOf(list, b, 0, m), kEquivalenceBound);
      if (pair.first == 0 || std::fabs(c.g) > std::fabs(best.g)) {
        best = c;
        pair = {a, b};
      }
    }
  }
  out << name << ": the largest difference between two categories is "
      << nameOf(list.play[static_cast<size_t>(pair.first - 1)]) << " vs "
      << nameOf(list.play[static_cast<size_t>(pair.second - 1)]);
  if (!best.computable) {
    out << "; Hedges' g and the equivalence test need at least two words per category and "
           "some spread.\n";
    return;
  }
  out << ", Hedges' g = " << fixed(best.g) << ".\n  Equivalence (TOST, bounds -0.5 to +0.5 "
      << "pooled SD = +-" << fixed(kEquivalenceBound * best.pooledSd) << "): t("
      << fixed(best.df, 0) << ") = " << fixed(best.tLower) << " and " << fixed(best.tUpper)
      << ", p = " << fixed(best.p, 3) << ": "
      << (best.p < kAlpha ? "equivalent" : "not shown to be equivalent") << " at alpha = .05.\n";
}

void writeLists(const DrawnList& list, std::ostream& out) {
  if (list.lists < 2) return;
  out << "Per list (mean length, frequency, valence, arousal):\n";
  std::map<Measure, std::pair<double, double>> extremes;
  const Measure compared[] = {Measure::Length, Measure::Frequency, Measure::Valence,
                              Measure::Arousal};
  for (int l = 1; l <= list.lists; ++l) {
    out << "  list " << l << ":";
    for (Measure m : compared) {
      const double mean = summarize(valuesOfList(list, l, m)).mean;
      out << " " << fixed(mean);
      auto [it, fresh] = extremes.try_emplace(m, mean, mean);
      if (!fresh)
        it->second = {std::min(it->second.first, mean), std::max(it->second.second, mean)};
    }
    out << "\n";
  }
  out << "Largest difference between lists in mean length "
      << fixed(extremes[Measure::Length].second - extremes[Measure::Length].first) << ", frequency "
      << fixed(extremes[Measure::Frequency].second - extremes[Measure::Frequency].first)
      << ", valence " << fixed(extremes[Measure::Valence].second - extremes[Measure::Valence].first)
      << ", arousal " << fixed(extremes[Measure::Arousal].second - extremes[Measure::Arousal].first)
      << ".\n";
}

// The size of the numbers a value on `scale` is computed from.
double scaleMagnitude(const RatingScale& scale) {
  return std::max(std::fabs(scale.low), std::fabs(scale.high));
}

// A threshold of the 1-9 bands on the file's own scale, as written.
std::string onScale(double threshold, const RatingScale& scale) {
  return plainNumber(scale.fromNinePoint(threshold), scaleMagnitude(scale));
}

std::string bandsOf(AffectCategory c, const RatingScale& s) {
  const std::string neutral =
      "valence above " + onScale(kNeutralAbove, s) + " and below " + onScale(kNeutralBelow, s);
  switch (c) {
    case AffectCategory::PosCalm:
      return "valence above " + onScale(kPositiveAbove, s) + ", arousal at most " +
             onScale(kPosArousalCut, s);
    case AffectCategory::NegCalm:
      return "valence below " + onScale(kNegativeBelow, s) + ", arousal at most " +
             onScale(kNegArousalCut, s);
    case AffectCategory::NeuCalm:
      return neutral + ", arousal at most " + onScale(kNeuArousalCut, s);
    case AffectCategory::PosAroused:
      return "valence above " + onScale(kPositiveAbove, s) + ", arousal above " +
             onScale(kPosArousalCut, s);
    case AffectCategory::NegAroused:
      return "valence below " + onScale(kNegativeBelow, s) + ", arousal above " +
             onScale(kNegArousalCut, s);
    case AffectCategory::NeuAroused:
      return neutral + ", arousal above " + onScale(kNeuArousalCut, s);
    case AffectCategory::Unclassed:
      break;
  }
  return "";
}

void writeMethods(const DrawnList& list, const ReportContext& context, std::ostream& out) {
  const RatingScale& scale = context.scale;
  const size_t k = std::max<size_t>(list.play.size(), 1);
  const size_t groups = list.rows.size() / k;
  std::string categories;
  for (size_t c = 0; c < list.play.size(); ++c) {
    categories += std::string(c == 0 ? "" : "; ") + nameOf(list.play[c]) + " (" +
                  bandsOf(list.play[c], scale) + ")";
  }
  const MatchRules& rules = context.rules;
  std::string design = std::to_string(groups) + " matched groups of one word per category (" +
                       countOf(static_cast<long long>(list.rows.size()), "word", "words") + ")";
  if (list.lists > 1) {
    design += ", dealt in turn into " + std::to_string(list.lists) +
              " lists with no word in common and the same number of words per category";
  }
  out << "Methods: Stimuli were selected with stimsel " << STIMSEL_VERSION
      << " from the norms file " << context.normsFile << " (" << context.normsRows
      << " rows). Words were sorted by their mean valence and arousal ratings (scale "
      << plainNumber(scale.low) << " to " << plainNumber(scale.high) << ") into "
      << list.play.size() << " categories: " << categories << ". Words whose valence SD exceeded "
      << plainNumber(scale.spreadFromNinePoint(kMaxValenceSpread), scaleMagnitude(scale))
      << " were not used. The list consists of " << design << "; within each group, "
      << (rules.matchAll ? "every two words lie within " : "every word lies within ")
      << rules.lengthTolerance << " letters and " << plainNumber(rules.frequencyTolerance)
      << (rules.zipf ? " Zipf units (log10 frequency per million + 3)" : " frequency units")
      << (rules.matchAll ? " of each other" : " of the group's first word (its anchor)")
      << ". Groups were drawn at random with seed " << context.seed << ".\n";
}

}  // namespace

Comparison compareMeans(const std::vector<double>& a, const std::vector<double>& b, double bound) {
  Comparison c;
  const Summary sa = summarize(a);
  const Summary sb = summarize(b);
  if (sa.n < 2 || sb.n < 2) return c;
  c.df = static_cast<double>(sa.n + sb.n - 2);
  const auto na = static_cast<double>(sa.n);
  const auto nb = static_cast<double>(sb.n);
  c.pooledSd = std::sqrt(((na - 1) * sa.sd * sa.sd + (nb - 1) * sb.sd * sb.sd) / c.df);
  if (c.pooledSd == 0) return c;
  const double correction = 1 - 3 / (4 * (na + nb) - 9);
  c.g = (sa.mean - sb.mean) / c.pooledSd * correction;
  const double se = c.pooledSd * std::sqrt(1.0 / na + 1.0 / nb);
  const double diff = sa.mean - sb.mean;
  c.tLower = (diff + bound * c.pooledSd) / se;
  c.tUpper = (diff - bound * c.pooledSd) / se;
  const boost::math::students_t t(c.df);
  const double pLower = boost::math::cdf(boost::math::complement(t, c.tLower));
  const double pUpper = boost::math::cdf(t, c.tUpper);
  c.p = std::max(pLower, pUpper);
  c.computable = true;
  return c;
}

void writeReport(const DrawnList& list, const ReportContext& context, std::ostream& out) {
  out << "\nBalance report\n";
  if (!context.complete) {
    out << "The list is short: " << list.rows.size() << " of " << context.wantedWords
        << " words were matched; the report covers the complete groups.\n";
  }
  writeCategories(list, out);
  writeSpreads(list, context, out);
  writeComparison(list, Measure::Length, "Length", out);
  writeComparison(list, Measure::Frequency, "Frequency", out);
  writeLists(list, out);
  out << "Zipf frequency is log10 of the frequency per million plus 3; a frequency below "
      << plainNumber(kZipfFloorPerMillion) << " per million (0 included) counts as "
      << plainNumber(kZipfFloorPerMillion) << " (Zipf 1).\n";
  out << "Seed: " << context.seed << "\n";
  out << "To draw this list again: " << context.command << "\n";
  writeMethods(list, context, out);
  if (context.balance != nullptr) writeBalanceSection(*context.balance, out);
}
