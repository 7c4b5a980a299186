// The balance report: a summary, printed after the table, of how closely the
// categories of a list agree in length and frequency. Its statistics and its
// methods paragraph are the datasheet's (the same input, the same
// computations, the same rounding), so the two never disagree.
#ifndef STIMSEL_OUTPUT_REPORT_H_
#define STIMSEL_OUTPUT_REPORT_H_

#include <ostream>
#include <vector>

#include "datasheet/datasheet.h"
#include "output/drawn_list.h"
#include "select/selection.h"
#include "words/zipf.h"

struct BalanceSummary;

// What the report says about the run besides the list and its datasheet input.
struct ReportContext {
  MatchRules rules;
  long long wantedWords = 0;  // what the list should have held
  bool complete = true;
  const BalanceSummary* balance = nullptr;  // with --balance: what balancing did
};

// Hedges' g of two samples and the two one-sided tests (TOST) of their mean
// difference against bounds of plus or minus `bound` pooled SDs, as
// compareSampleMeans works them out, for callers that need no more.
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

// Writes the report of `list`, whose datasheet input is `sheet`: per
// category in play, the count and the mean, SD, minimum and maximum of
// length, frequency, Zipf frequency, valence and arousal; the largest spread
// inside a group against the tolerances; for each control (frequency on the
// scale it is matched on) the pair of categories with the largest |g| and
// its TOST at the bound in force, whether that bound can be reached at all
// with these sizes, how many pairs showed equivalence, and every pair
// without spread by its raw difference; per list and between lists when
// there are several; the seed, the command that reruns the list, the norms
// to cite and the methods paragraph. A list without a complete group has no
// statistics, and says so.
void writeReport(const DrawnList& list, const ReportContext& context, const DatasheetInput& sheet,
                 std::ostream& out);

#endif  // STIMSEL_OUTPUT_REPORT_H_
