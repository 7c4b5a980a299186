// The balance report: evidence for a methods section that the categories
// of a list are matched in length and frequency.
#ifndef STIMSEL_OUTPUT_REPORT_H_
#define STIMSEL_OUTPUT_REPORT_H_

#include <cstdint>
#include <ostream>
#include <string>

#include "output/drawn_list.h"
#include "words/rating_scale.h"
#include "words/zipf.h"

struct BalanceSummary;

// What the report says about the run besides the list itself.
struct ReportContext {
  std::string command;  // the command line that reruns the list, --seed included
  std::uint32_t seed = 0;
  std::string normsFile;
  int normsRows = 0;
  MatchRules rules;
  RatingScale scale;
  long long wantedWords = 0;  // what the list should have held
  bool complete = true;
  const BalanceSummary* balance = nullptr;  // with --balance: what balancing did
};

// Hedges' g of two samples and the two one-sided tests (TOST) of their mean
// difference against bounds of plus or minus `bound` pooled SDs.
struct Comparison {
  double g = 0;  // (mean a - mean b) / pooled SD, small-sample corrected
  double pooledSd = 0;
  double df = 0;
  double tLower = 0;        // against -bound
  double tUpper = 0;        // against +bound
  double p = 1;             // the larger one-sided p
  bool computable = false;  // false with fewer than 2 per sample or no spread
};
Comparison compareMeans(const std::vector<double>& a, const std::vector<double>& b, double bound);

// Writes the report: per category in play, the count and the mean, SD,
// minimum and maximum of length, frequency, Zipf frequency, valence and
// arousal; the largest spread inside a group against the tolerances; for
// length and frequency the pair of categories with the largest |g| and its
// TOST at +-0.5 SD; per list and between lists when there are several; the
// seed, the command that reruns the list and a paragraph for a methods
// section.
void writeReport(const DrawnList& list, const ReportContext& context, std::ostream& out);

#endif  // STIMSEL_OUTPUT_REPORT_H_
