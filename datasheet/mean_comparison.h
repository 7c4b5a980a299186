// How closely two samples of one variable (the lengths of two categories'
// words, say) agree in their means: the figures a datasheet gives for every
// pair of categories and of lists. These describe the chosen items
// themselves; they are diagnostics after selection, not tests of a
// hypothesis about a population the items were sampled from.
//
// Everything is a pure function of the two samples, the equivalence bound
// and alpha. A statistic that cannot be computed (fewer than two values in a
// sample, or no spread in either) is marked so with the reason, and the
// figures that can still be given (means, SDs, the raw difference) are.
#ifndef STIMSEL_DATASHEET_MEAN_COMPARISON_H_
#define STIMSEL_DATASHEET_MEAN_COMPARISON_H_

#include <cstddef>
#include <vector>

// The size, mean and SD (with n - 1 in the denominator) of a sample. The
// mean of an empty sample and the SD of one with fewer than two values are 0.
// A sample of equal values has that value as its mean and an SD of exactly 0.
struct SampleSummary {
  std::size_t n = 0;
  double mean = 0;
  double sd = 0;
};
SampleSummary summarizeSample(const std::vector<double>& values);

// Whether a statistic could be computed, and if not, why.
enum class Computability {
  Computable,
  TooFewValues,  // a sample holds fewer than two values
  NoSpread,      // every value of both samples equals its sample's mean
};

// The half-width of the equivalence interval of the mean difference: in
// units of the two samples' pooled SD ("0.5 SD"), or in the variable's own
// units ("0.1 Zipf"). The value is positive.
struct EquivalenceBound {
  enum class Unit { PooledSd, Raw };
  double value = 0.5;
  Unit unit = Unit::PooledSd;
};

// The two one-sided t tests (TOST) of the mean difference a - b against
// -bound and +bound, with Student's df = na + nb - 2 and the pooled SD.
// Equivalence is shown when both tests reject at alpha, that is when the
// larger p is below alpha.
struct EquivalenceTest {
  Computability status = Computability::TooFewValues;
  double lowerBound = 0;  // -bound, in raw units
  double upperBound = 0;  // +bound, in raw units
  double tLower = 0;      // (difference - lowerBound) / SE; tests difference > lowerBound
  double tUpper = 0;      // (difference - upperBound) / SE; tests difference < upperBound
  double df = 0;
  double p = 1;  // the larger of the two one-sided p values
  bool shown = false;
};

// Whether samples of these sizes could show equivalence at the bound at
// all. The best case is a difference of exactly 0, where both t values are
// bound / SE; it succeeds only when that exceeds t(1 - alpha, df).
// `smallestBound` is the bound at which the best case reaches p = alpha
// exactly, t(1 - alpha, df) * sqrt(1/na + 1/nb), in the unit of the bound
// given: for a raw bound it is multiplied by the pooled SD, so it needs some
// spread; for a bound in SDs it depends on the sizes alone and is known
// whenever each sample has two values. Equivalence is possible exactly at
// bounds above it.
struct AttainableEquivalence {
  Computability status = Computability::TooFewValues;
  bool possible = false;
  double smallestBound = 0;
};

// Everything the datasheet says about one pair of samples.
struct MeanComparison {
  SampleSummary a;
  SampleSummary b;
  bool hasDifference = false;  // both samples hold a value
  double difference = 0;       // a.mean - b.mean

  // Hedges' g: (a.mean - b.mean) / pooled SD times the small-sample
  // correction 1 - 3 / (4 (na + nb) - 9), with its central confidence
  // interval at 1 - 2 alpha (90 % at alpha .05, the interval that agrees
  // with the TOST). The interval inverts the noncentral t distribution of
  // the t statistic for the noncentrality at its 1 - alpha and alpha points
  // and scales those to g as the estimate is scaled. `intervalComputed` is
  // false when g is computable but the inversion failed numerically.
  Computability status = Computability::TooFewValues;
  double pooledSd = 0;
  double df = 0;
  double g = 0;
  bool intervalComputed = false;
  double gLower = 0;
  double gUpper = 0;

  // a's variance over b's; needs two values in each sample and some spread
  // in b.
  bool hasVarianceRatio = false;
  double varianceRatio = 0;

  EquivalenceTest equivalence;
  AttainableEquivalence attainable;
};

// Compares samples `a` and `b` at `bound` and `alpha` (0 < alpha < 0.5).
// Without `withInterval` g's interval is left out (intervalComputed false):
// it is the one costly figure, worth its root-finding only where it is shown.
MeanComparison compareSampleMeans(const std::vector<double>& a, const std::vector<double>& b,
                                  EquivalenceBound bound, double alpha = 0.05,
                                  bool withInterval = true);

#endif  // STIMSEL_DATASHEET_MEAN_COMPARISON_H_
