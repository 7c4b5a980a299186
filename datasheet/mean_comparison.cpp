#include "datasheet/mean_comparison.h"

#include <algorithm>
#include <boost/math/distributions/non_central_t.hpp>
#include <boost/math/distributions/students_t.hpp>
#include <boost/math/tools/roots.hpp>
#include <cmath>
#include <cstdint>
#include <exception>
#include <optional>

namespace {

// The noncentrality at which a t statistic of `t` on `df` degrees of
// freedom has a cumulative probability of `target`. The cumulative
// probability falls as the noncentrality rises, so the root is bracketed by
// stepping out from t until the sign changes, then closed in on.
std::optional<double> noncentralityAt(double t, double df, double target) {
  auto missing = [&](double ncp) {
    return boost::math::cdf(boost::math::non_central_t(df, ncp), t) - target;
  };
  double step = 1 + std::fabs(t) / std::sqrt(df);
  double low = t - step;
  double high = t + step;
  constexpr int kMostSteps = 60;
  for (int i = 0; i < kMostSteps && missing(low) < 0; ++i) low -= (step *= 2);
  step = 1 + std::fabs(t) / std::sqrt(df);
  for (int i = 0; i < kMostSteps && missing(high) > 0; ++i) high += (step *= 2);
  if (missing(low) < 0 || missing(high) > 0) return std::nullopt;
  std::uintmax_t iterations = 200;
  const auto [left, right] = boost::math::tools::toms748_solve(
      missing, low, high, boost::math::tools::eps_tolerance<double>(48), iterations);
  return (left + right) / 2;
}

void addHedgesG(MeanComparison& c, double alpha, bool withInterval) {
  const auto na = static_cast<double>(c.a.n);
  const auto nb = static_cast<double>(c.b.n);
  const double correction = 1 - 3 / (4 * (na + nb) - 9);
  const double d = c.difference / c.pooledSd;
  c.g = d * correction;
  if (!withInterval) return;
  const double unitSe = std::sqrt(1 / na + 1 / nb);
  const double t = d / unitSe;
  try {
    const std::optional<double> low = noncentralityAt(t, c.df, 1 - alpha);
    const std::optional<double> high = noncentralityAt(t, c.df, alpha);
    if (!low || !high) return;
    c.gLower = *low * unitSe * correction;
    c.gUpper = *high * unitSe * correction;
    c.intervalComputed = true;
  } catch (const std::exception&) {
    // Boost reports a failed evaluation by throwing; the interval is then
    // marked as not computed rather than given wrong.
  }
}

void addEquivalence(MeanComparison& c, EquivalenceBound bound, double alpha) {
  const auto na = static_cast<double>(c.a.n);
  const auto nb = static_cast<double>(c.b.n);
  const double unitSe = std::sqrt(1 / na + 1 / nb);
  const boost::math::students_t t(c.df);
  const double critical = boost::math::quantile(t, 1 - alpha);
  const bool inSds = bound.unit == EquivalenceBound::Unit::PooledSd;

  AttainableEquivalence& a = c.attainable;
  if (inSds || c.status == Computability::Computable) {
    a.status = Computability::Computable;
    a.smallestBound = critical * unitSe * (inSds ? 1 : c.pooledSd);
    a.possible = bound.value > a.smallestBound;
  } else {
    a.status = c.status;
  }

  EquivalenceTest& e = c.equivalence;
  e.status = c.status;
  if (e.status != Computability::Computable) return;
  const double half = inSds ? bound.value * c.pooledSd : bound.value;
  const double se = c.pooledSd * unitSe;
  e.lowerBound = -half;
  e.upperBound = half;
  e.df = c.df;
  e.tLower = (c.difference - e.lowerBound) / se;
  e.tUpper = (c.difference - e.upperBound) / se;
  const double pLower = boost::math::cdf(boost::math::complement(t, e.tLower));
  const double pUpper = boost::math::cdf(t, e.tUpper);
  e.p = std::max(pLower, pUpper);
  e.shown = e.p < alpha;
}

}  // namespace

SampleSummary summarizeSample(const std::vector<double>& values) {
  SampleSummary s;
  s.n = values.size();
  if (s.n == 0) return s;
  // Equal values have a mean of that value and no spread, exactly: a sum
  // of three 0.1s divided by 3 is not 0.1, and an SD of 1e-17 from that
  // rounding would make g and the TOST of a zero-spread pair absurd.
  if (std::all_of(values.begin(), values.end(), [&](double v) { return v == values[0]; })) {
    s.mean = values[0];
    return s;
  }
  for (double v : values) s.mean += v;
  s.mean /= static_cast<double>(s.n);
  if (s.n < 2) return s;
  double squares = 0;
  for (double v : values) squares += (v - s.mean) * (v - s.mean);
  s.sd = std::sqrt(squares / static_cast<double>(s.n - 1));
  return s;
}

MeanComparison compareSampleMeans(const std::vector<double>& a, const std::vector<double>& b,
                                  EquivalenceBound bound, double alpha, bool withInterval) {
  MeanComparison c;
  c.a = summarizeSample(a);
  c.b = summarizeSample(b);
  c.hasDifference = c.a.n > 0 && c.b.n > 0;
  if (c.hasDifference) c.difference = c.a.mean - c.b.mean;
  if (c.a.n < 2 || c.b.n < 2) return c;

  c.hasVarianceRatio = c.b.sd > 0;
  if (c.hasVarianceRatio) c.varianceRatio = (c.a.sd * c.a.sd) / (c.b.sd * c.b.sd);

  const auto na = static_cast<double>(c.a.n);
  const auto nb = static_cast<double>(c.b.n);
  c.df = na + nb - 2;
  c.pooledSd = std::sqrt(((na - 1) * c.a.sd * c.a.sd + (nb - 1) * c.b.sd * c.b.sd) / c.df);
  c.status = c.pooledSd > 0 ? Computability::Computable : Computability::NoSpread;
  if (c.status == Computability::Computable) addHedgesG(c, alpha, withInterval);
  addEquivalence(c, bound, alpha);
  return c;
}
