#include "balance/balance.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <stdexcept>
#include <string>
#include <utility>

#include "balance/box_index.h"
#include "select/match_index.h"

namespace {

using Groups = std::vector<std::vector<int>>;

// Sums of z and z^2 of one set of words on one control.
struct Moments {
  double sum = 0;
  double sumSq = 0;
  int n = 0;

  void add(double z) {
    sum += z;
    sumSq += z * z;
    ++n;
  }
};

// What a set contributes to the terms it is in: its mean and ln s.
struct SetShape {
  double mean = 0;
  double logSd = 0;
};

double meanOf(const Moments& m) {
  return m.sum / m.n;
}

SetShape shapeOf(const Moments& m) {
  const double mean = meanOf(m);
  const double variance = std::max(0.0, m.sumSq / m.n - mean * mean);
  return {mean, 0.5 * std::log(variance + kSdFloor * kSdFloor)};
}

double pairTerm(const SetShape& a, const SetShape& b) {
  const double dm = a.mean - b.mean;
  const double ds = a.logSd - b.logSd;
  return dm * dm + kLogSdWeight * ds * ds;
}

// The sum of pairTerm over every pair of sets that hold words.
// `shapes` is scratch, kept by the caller to spare an allocation.
double familyCost(const std::vector<Moments>& sets, std::vector<SetShape>& shapes) {
  shapes.clear();
  for (const Moments& m : sets) {
    if (m.n > 0) shapes.push_back(shapeOf(m));
  }
  double cost = 0;
  for (size_t a = 0; a < shapes.size(); ++a) {
    for (size_t b = a + 1; b < shapes.size(); ++b) cost += pairTerm(shapes[a], shapes[b]);
  }
  return cost;
}

// z = (value - mean) / SD over the eligible rows, for every eligible row,
// into z[row * width + c]: a search reads every control of a row at once.
void standardize(const BalanceControl& control, const std::vector<int>& categoryOf, size_t c,
                 size_t width, std::vector<double>& z) {
  const size_t rows = categoryOf.size();
  double sum = 0;
  long long n = 0;
  for (size_t r = 0; r < rows; ++r) {
    if (categoryOf[r] == 0) continue;
    sum += control.values[r];
    ++n;
  }
  const double mean = n > 0 ? sum / static_cast<double>(n) : 0;
  double squares = 0;
  for (size_t r = 0; r < rows; ++r) {
    if (categoryOf[r] == 0) continue;
    const double d = control.values[r] - mean;
    squares += d * d;
  }
  double sd = n > 1 ? std::sqrt(squares / static_cast<double>(n - 1)) : 0;
  if (!(sd > 0) || !std::isfinite(sd)) sd = 1;
  for (size_t r = 0; r < rows; ++r) {
    if (categoryOf[r] != 0) z[r * width + c] = (control.values[r] - mean) / sd;
  }
}

// `what` stays a plain string until it is needed: the checks run once per
// row and control.
void require(bool holds, const char* what) {
  if (!holds) throw std::invalid_argument(std::string("balanceGroups: ") + what);
}

// The state of one balancing: the groups, which rows are chosen, the moments
// of every category and list, and per category its rows in a box index, so
// that the rows close to a group are found by search.
class Balancer {
 public:
  // Only a balancer that will search needs the index of candidate rows.
  enum class Use { Measure, Search };

  Balancer(const BalanceInput& input, const Groups& groups, Use use)
      : in_(input),
        k_(input.categories),
        lists_(input.lists),
        controls_(input.controls.size()),
        groups_(groups),
        chosen_(input.categoryOf.size(), 0) {
    // The searches ask every group's list over and over: no division each time.
    for (size_t g = 0; g < groups_.size(); ++g) listOf_.push_back(g % static_cast<size_t>(lists_));
    z_.assign(input.categoryOf.size() * controls_, 0);
    for (size_t c = 0; c < controls_; ++c) {
      standardize(input.controls[c], input.categoryOf, c, controls_, z_);
    }
    for (const auto& group : groups_) {
      for (int row : group) chosen_[static_cast<size_t>(row)] = 1;
    }
    if (use == Use::Search) {
      buildIndex();
      closeRows_.resize(groups_.size() * static_cast<size_t>(k_));
    }
    recount();
  }

  double cost() const { return cost_; }

  // Takes the best replacement at every position of every group; true when
  // some replacement was made.
  bool replacementSweep(BalanceResult& result) {
    bool improved = false;
    for (size_t g = 0; g < groups_.size(); ++g) {
      for (size_t m = 0; m < groups_[g].size(); ++m) {
        if (atBound(result)) return improved;
        if (unlessUnchanged(noReplacement_, memberSlot(g, m), [&] { return replaceBest(g, m); })) {
          ++result.replacements;
          improved = true;
        }
      }
    }
    return improved;
  }

  // Takes, for every group in order, the best swap with a group of another
  // list, then for each of its words in order the best trade with a group
  // of another list; true when some exchange was made.
  bool swapSweep(BalanceResult& result) {
    bool improved = false;
    for (size_t g = 0; g < groups_.size(); ++g) {
      if (atBound(result)) return improved;
      if (unlessUnchanged(noSwap_, g, [&] { return swapBest(g); })) {
        ++result.groupSwaps;
        improved = true;
      }
      for (size_t m = 0; m < groups_[g].size(); ++m) {
        if (atBound(result)) return improved;
        if (unlessUnchanged(noTrade_, memberSlot(g, m), [&] { return tradeBest(g, m); })) {
          ++result.wordTrades;
          improved = true;
        }
      }
    }
    return improved;
  }

  const Groups& groups() const { return groups_; }

 private:
  size_t memberSlot(size_t g, size_t m) const { return g * static_cast<size_t>(k_) + m; }

  // Runs `search` (one search for an exchange) unless it found none at
  // this slot when the groups were as they are now: a search depends on
  // nothing but the groups, so it would find none again. `none` holds per
  // slot the count of exchanges made when the search there last found none.
  template <typename Search>
  bool unlessUnchanged(std::vector<long long>& none, size_t slot, Search search) {
    if (slot >= none.size()) none.resize(slot + 1, -1);
    if (none[slot] == exchangesMade_) return false;
    if (search()) return true;
    none[slot] = exchangesMade_;
    return false;
  }

  bool atBound(BalanceResult& result) const {
    if (result.exchanges() < in_.maxExchanges) return false;
    result.reachedBound = true;
    return true;
  }

  double zOf(size_t c, int row) const { return z_[static_cast<size_t>(row) * controls_ + c]; }
  double valueOf(size_t c, int row) const {
    return in_.controls[c].values[static_cast<size_t>(row)];
  }
  int categoryOf(int row) const { return in_.categoryOf[static_cast<size_t>(row)]; }
  size_t listOf(size_t g) const { return listOf_[g]; }

  // Splits weigh a control's spread in tolerances; a tolerance of 0 or one
  // that is not a finite positive number weighs as 1.
  void buildIndex() {
    std::vector<std::vector<int>> rows(static_cast<size_t>(k_) + 1);
    for (size_t r = 0; r < in_.categoryOf.size(); ++r) {
      if (in_.categoryOf[r] != 0)
        rows[static_cast<size_t>(in_.categoryOf[r])].push_back(static_cast<int>(r));
    }
    std::vector<const std::vector<double>*> values;
    std::vector<double> scales;
    for (const BalanceControl& c : in_.controls) {
      values.push_back(&c.values);
      scales.push_back(c.tolerance > 0 && std::isfinite(c.tolerance) ? c.tolerance : 1);
    }
    for (std::vector<int>& inCategory : rows)
      index_.emplace_back(std::move(inCategory), values, scales);
  }

  // Moments of every category and list from the groups, and the cost from
  // them: recomputed after every exchange so that no rounding accumulates.
  void recount() {
    // Refilled in place: a balancing recounts after every exchange.
    byCategory_.resize(controls_);
    byList_.resize(controls_);
    for (size_t c = 0; c < controls_; ++c) {
      byCategory_[c].assign(static_cast<size_t>(k_) + 1, Moments{});
      byList_[c].assign(static_cast<size_t>(lists_), Moments{});
    }
    for (size_t g = 0; g < groups_.size(); ++g) {
      for (int row : groups_[g]) {
        for (size_t c = 0; c < controls_; ++c) {
          byCategory_[c][static_cast<size_t>(categoryOf(row))].add(zOf(c, row));
          byList_[c][listOf(g)].add(zOf(c, row));
        }
      }
    }
    cost_ = 0;
    listShapes_.resize(controls_);
    listCost_.assign(controls_, 0);
    for (size_t c = 0; c < controls_; ++c) {
      listShapes_[c].assign(static_cast<size_t>(lists_), SetShape{});
      cost_ += familyCost(byCategory_[c], shapesAfter_);
      if (lists_ > 1) {
        listCost_[c] = familyCost(byList_[c], shapesAfter_);
        cost_ += listCost_[c];
      }
      for (size_t l = 0; l < static_cast<size_t>(lists_); ++l) {
        if (byList_[c][l].n > 0) listShapes_[c][l] = shapeOf(byList_[c][l]);
      }
    }
    keepListMeans();
    if (lists_ > 1) keepMembers();
  }

  // The lists that hold words (every control counts the same words), each
  // one's place among them, and their means side by side per control, for
  // meanTermsChange.
  void keepListMeans() {
    filledLists_.clear();
    placeOf_.assign(static_cast<size_t>(lists_), 0);
    for (size_t l = 0; l < static_cast<size_t>(lists_); ++l) {
      if (controls_ == 0 || byList_[0][l].n == 0) continue;
      placeOf_[l] = filledLists_.size();
      filledLists_.push_back(l);
    }
    listMeans_.clear();
    for (size_t c = 0; c < controls_; ++c) {
      for (size_t l : filledLists_) listMeans_.push_back(listShapes_[c][l].mean);
    }
  }

  // The searches for swaps and trades compare every group with every other
  // in each sweep: they read their members from here, beside one another,
  // instead of from rows all over the table.
  void keepMembers() {
    const auto k = static_cast<size_t>(k_);
    memberCategory_.assign(groups_.size() * k, 0);
    memberValue_.assign(groups_.size() * k * controls_, 0);
    groupMoments_.assign(groups_.size() * controls_, Moments{});
    for (size_t g = 0; g < groups_.size(); ++g) {
      for (size_t m = 0; m < k; ++m) {
        const int row = groups_[g][m];
        memberCategory_[g * k + m] = categoryOf(row);
        for (size_t c = 0; c < controls_; ++c) {
          memberValue_[(g * k + m) * controls_ + c] = valueOf(c, row);
        }
      }
      momentsOf(groups_[g], fromA_);
      std::copy(fromA_.begin(), fromA_.end(),
                groupMoments_.begin() + static_cast<long>(g * controls_));
    }
  }

  const double* memberValues(size_t g, size_t m) const {
    return memberValue_.data() + (g * static_cast<size_t>(k_) + m) * controls_;
  }

  // Whether the word at position m of group g is close on every control to
  // the members of group h that a word at position at must be near:
  // closeToAll(groups_[g][m], mustBeNear(h, at)), from the kept members.
  bool fitsAmong(size_t g, size_t m, size_t h, size_t at) const {
    const double* word = memberValues(g, m);
    for (size_t i = 0; i < static_cast<size_t>(k_); ++i) {
      if (i == at || !(in_.rule == BalanceRule::All || at == 0 || i == 0)) continue;
      const double* other = memberValues(h, i);
      for (size_t c = 0; c < controls_; ++c) {
        if (!isClose(word[c], other[c], in_.controls[c].tolerance)) return false;
      }
    }
    return true;
  }

  // The pair terms of a set against the other sets of its family (those
  // with words), for any moments the set may take: the others' sums of means
  // and of ln s, and of their squares, make each evaluation O(1).
  struct SetAgainstRest {
    Moments moments;
    double others = 0;
    double sumMean = 0;
    double sumMeanSq = 0;
    double sumLog = 0;
    double sumLogSq = 0;
    double termsNow = 0;

    double meanTerms(double mean) const {
      return others * mean * mean - 2 * mean * sumMean + sumMeanSq;
    }
    double logTerms(double logSd) const {
      return kLogSdWeight * (others * logSd * logSd - 2 * logSd * sumLog + sumLogSq);
    }
  };

  static SetAgainstRest againstRest(const std::vector<Moments>& sets, size_t changed) {
    SetAgainstRest rest;
    rest.moments = sets[changed];
    for (size_t s = 0; s < sets.size(); ++s) {
      if (s == changed || sets[s].n == 0) continue;
      const SetShape other = shapeOf(sets[s]);
      rest.others += 1;
      rest.sumMean += other.mean;
      rest.sumMeanSq += other.mean * other.mean;
      rest.sumLog += other.logSd;
      rest.sumLogSq += other.logSd * other.logSd;
    }
    const SetShape now = shapeOf(rest.moments);
    rest.termsNow = rest.meanTerms(now.mean) + rest.logTerms(now.logSd);
    return rest;
  }

  // The sets one replacement in group g changes, per control: the
  // category's and (with lists) the list's.
  struct Affected {
    std::vector<SetAgainstRest> sets;  // per control: category, then list when L > 1
    double termsNow = 0;
  };

  Affected affectedBy(size_t g, size_t k) const {
    Affected affected;
    for (size_t c = 0; c < controls_; ++c) {
      affected.sets.push_back(againstRest(byCategory_[c], k));
      if (lists_ > 1) affected.sets.push_back(againstRest(byList_[c], listOf(g)));
    }
    for (const SetAgainstRest& set : affected.sets) affected.termsNow += set.termsNow;
    return affected;
  }

  // The change of the imbalance if `newRow` replaced `oldRow`, or a value
  // above `bound` when the mean terms alone show it cannot come below it.
  double replacementChange(const Affected& affected, int oldRow, int newRow, double bound) const {
    const size_t perControl = lists_ > 1 ? 2 : 1;
    double meanTerms = 0;
    for (size_t i = 0; i < affected.sets.size(); ++i) {
      const size_t c = i / perControl;
      const Moments& m = affected.sets[i].moments;
      meanTerms += affected.sets[i].meanTerms((m.sum + zOf(c, newRow) - zOf(c, oldRow)) / m.n);
    }
    // The log terms are sums of squares: never below 0.
    if (meanTerms - affected.termsNow > bound) return meanTerms - affected.termsNow;
    double logTerms = 0;
    for (size_t i = 0; i < affected.sets.size(); ++i) {
      const size_t c = i / perControl;
      const double in = zOf(c, newRow);
      const double out = zOf(c, oldRow);
      Moments m = affected.sets[i].moments;
      m.sum += in - out;
      m.sumSq += in * in - out * out;
      logTerms += affected.sets[i].logTerms(shapeOf(m).logSd);
    }
    return meanTerms + logTerms - affected.termsNow;
  }

  // The members a word at position m of group g must be close to.
  std::vector<int> mustBeNear(size_t g, size_t m) const {
    const std::vector<int>& group = groups_[g];
    std::vector<int> near;
    for (size_t i = 0; i < group.size(); ++i) {
      if (i == m) continue;
      if (in_.rule == BalanceRule::All || m == 0 || i == 0) near.push_back(group[i]);
    }
    return near;
  }

  bool closeToAll(int row, const std::vector<int>& near) const {
    for (size_t c = 0; c < controls_; ++c) {
      const double tolerance = in_.controls[c].tolerance;
      for (int other : near) {
        if (!isClose(valueOf(c, row), valueOf(c, other), tolerance)) return false;
      }
    }
    return true;
  }

  // The box every member of `near` allows a word: per control, the range
  // within its tolerance of each of them, widened a little so that rounding
  // of the bounds loses no row; closeToAll decides. With no member, every
  // row of the category.
  void windowOf(const std::vector<int>& near) {
    low_.assign(controls_, -std::numeric_limits<double>::infinity());
    high_.assign(controls_, std::numeric_limits<double>::infinity());
    if (near.empty()) return;
    for (size_t c = 0; c < controls_; ++c) {
      const double tolerance = in_.controls[c].tolerance;
      double low = -std::numeric_limits<double>::infinity();
      double high = std::numeric_limits<double>::infinity();
      for (int other : near) {
        low = std::max(low, valueOf(c, other) - tolerance);
        high = std::min(high, valueOf(c, other) + tolerance);
      }
      const double margin = 1e-9 * (std::fabs(low) + std::fabs(high) + tolerance + 1);
      low_[c] = low - margin;
      high_[c] = high + margin;
    }
  }

  // The rows of category k close to every member of `near`, chosen or not.
  // Most positions keep their members from one sweep to the next, so the
  // rows found for a position are kept with the members they were found
  // for, under `slot`, and searched again only when those change.
  const std::vector<int>& rowsCloseTo(const std::vector<int>& near, size_t k, size_t slot) {
    CloseRows& kept = closeRows_[slot];
    if (kept.found && kept.near == near) return kept.rows;
    kept.rows.clear();
    windowOf(near);
    index_[k].forEachIn(low_, high_, [&](int row) {
      if (closeToAll(row, near)) kept.rows.push_back(row);
    });
    kept.near = near;
    kept.found = true;
    return kept.rows;
  }

  // Replaces the member at position m of group g by the unchosen row that
  // lowers the imbalance most; false when none lowers it.
  bool replaceBest(size_t g, size_t m) {
    const int oldRow = groups_[g][m];
    const std::vector<int> near = mustBeNear(g, m);
    const auto k = static_cast<size_t>(categoryOf(oldRow));
    const Affected affected = affectedBy(g, k);
    // The least change, ties to the row first in table order, whatever
    // order the rows come in.
    double bestChange = 0;
    int bestRow = -1;
    for (int row : rowsCloseTo(near, k, g * static_cast<size_t>(k_) + m)) {
      if (chosen_[static_cast<size_t>(row)] != 0) continue;
      const double change = replacementChange(affected, oldRow, row, bestChange);
      if (change < bestChange || (bestRow >= 0 && change == bestChange && row < bestRow)) {
        bestChange = change;
        bestRow = row;
      }
    }
    if (bestRow < 0) return false;
    groups_[g][m] = bestRow;
    return commitOrUndo([&] { groups_[g][m] = oldRow; },
                        [&] {
                          chosen_[static_cast<size_t>(oldRow)] = 0;
                          chosen_[static_cast<size_t>(bestRow)] = 1;
                        });
  }

  // The moments of group g on control c.
  Moments groupMoments(size_t g, size_t c) const {
    Moments m;
    for (int row : groups_[g]) m.add(zOf(c, row));
    return m;
  }

  // The moments of a set after words of moments `out` left it and words of
  // moments `in` joined it (as many as left).
  static Moments traded(const Moments& now, const Moments& in, const Moments& out) {
    Moments after = now;
    after.sum += in.sum - out.sum;
    after.sumSq += in.sumSq - out.sumSq;
    return after;
  }

  // The change of the imbalance if words of moments `fromA` (per control)
  // moved from list a to list b and words of moments `fromB` from b to a;
  // or, when the mean terms alone show that the change cannot come below
  // `bound`, a figure not below it. Only lists a and b change shape, so the
  // others come from the shapes recount() kept; the terms are summed in the
  // order familyCost sums them, which keeps the figure the same to the last
  // bit.
  double tradeChange(size_t a, size_t b, const Moments* fromA, const Moments* fromB, double bound) {
    const double floor = meanTermsChange(a, b, fromA, fromB);
    if (floor >= bound) return floor;
    double change = 0;
    for (size_t c = 0; c < controls_; ++c) {
      const std::vector<Moments>& now = byList_[c];
      const Moments afterA = traded(now[a], fromB[c], fromA[c]);
      const Moments afterB = traded(now[b], fromA[c], fromB[c]);
      shapesAfter_ = listShapes_[c];
      if (afterA.n > 0) shapesAfter_[a] = shapeOf(afterA);
      if (afterB.n > 0) shapesAfter_[b] = shapeOf(afterB);
      change += pairSum(shapesAfter_, now) - listCost_[c];
    }
    return change;
  }

  // tradeChange's sums with the log terms left out, so without a logarithm:
  // most exchanges a search weighs already lose on the means. Each pair term
  // is its mean term plus a term never below 0, and rounding keeps the order
  // of two sums, so the same sums in the same order never come out above
  // tradeChange's figure.
  double meanTermsChange(size_t a, size_t b, const Moments* fromA, const Moments* fromB) {
    const size_t filled = filledLists_.size();
    meansAfter_.resize(filled);
    double change = 0;
    for (size_t c = 0; c < controls_; ++c) {
      const std::vector<Moments>& now = byList_[c];
      const double* kept = listMeans_.data() + c * filled;
      std::copy(kept, kept + filled, meansAfter_.begin());
      meansAfter_[placeOf_[a]] = meanOf(traded(now[a], fromB[c], fromA[c]));
      meansAfter_[placeOf_[b]] = meanOf(traded(now[b], fromA[c], fromB[c]));
      double cost = 0;
      for (size_t x = 0; x < filled; ++x) {
        for (size_t y = x + 1; y < filled; ++y) {
          const double dm = meansAfter_[x] - meansAfter_[y];
          cost += dm * dm;
        }
      }
      change += cost - listCost_[c];
    }
    return change;
  }

  // The sum of pairTerm over every pair of lists that hold words, lists in
  // order: familyCost's sum, on shapes already taken.
  static double pairSum(const std::vector<SetShape>& shapes, const std::vector<Moments>& sets) {
    double cost = 0;
    for (size_t a = 0; a < shapes.size(); ++a) {
      if (sets[a].n == 0) continue;
      for (size_t b = a + 1; b < shapes.size(); ++b) {
        if (sets[b].n > 0) cost += pairTerm(shapes[a], shapes[b]);
      }
    }
    return cost;
  }

  // The moments of `rows` on every control, into `byControl`.
  void momentsOf(const std::vector<int>& rows, std::vector<Moments>& byControl) const {
    byControl.assign(controls_, Moments{});
    for (size_t c = 0; c < controls_; ++c) {
      for (int row : rows) byControl[c].add(zOf(c, row));
    }
  }

  void momentsOf(int row, std::vector<Moments>& byControl) const {
    byControl.assign(controls_, Moments{});
    for (size_t c = 0; c < controls_; ++c) byControl[c].add(zOf(c, row));
  }

  double swapChange(size_t g, size_t h, double bound) {
    return tradeChange(listOf(g), listOf(h), groupMoments_.data() + g * controls_,
                       groupMoments_.data() + h * controls_, bound);
  }

  // Trades the word at position m of group g with the word of its category
  // in a group of another list, when both groups still meet the rule and
  // the trade lowers the imbalance most; false when none does. Categories
  // keep their words, so only the list terms change.
  bool tradeBest(size_t g, size_t m) {
    if (lists_ < 2) return false;
    const int x = groups_[g][m];
    momentsOf(x, fromA_);
    double bestChange = 0;
    size_t best = groups_.size();
    size_t bestAt = 0;
    for (size_t h = 0; h < groups_.size(); ++h) {
      if (listOf(h) == listOf(g)) continue;
      const size_t at = positionOf(h, categoryOf(x));
      const int y = groups_[h][at];
      if (!fitsAmong(h, at, g, m) || !fitsAmong(g, m, h, at)) continue;
      momentsOf(y, fromB_);
      const double change =
          tradeChange(listOf(g), listOf(h), fromA_.data(), fromB_.data(), bestChange);
      if (change < bestChange) {
        bestChange = change;
        best = h;
        bestAt = at;
      }
    }
    if (best == groups_.size()) return false;
    std::swap(groups_[g][m], groups_[best][bestAt]);
    return commitOrUndo([&] { std::swap(groups_[g][m], groups_[best][bestAt]); }, [] {});
  }

  // True when groups g and h hold the same category at every position.
  bool sameCategories(size_t g, size_t h) const {
    const auto k = static_cast<size_t>(k_);
    return std::equal(memberCategory_.data() + g * k, memberCategory_.data() + g * k + k,
                      memberCategory_.data() + h * k);
  }

  size_t positionOf(size_t g, int category) const {
    const int* categories = memberCategory_.data() + g * static_cast<size_t>(k_);
    size_t at = 0;
    while (categories[at] != category) ++at;
    return at;
  }

  // Swaps group g with the group of another list, with the same category at
  // every position (so the same anchor category), whose swap lowers the
  // imbalance most; false when none does.
  bool swapBest(size_t g) {
    if (lists_ < 2) return false;
    double bestChange = 0;
    size_t best = groups_.size();
    for (size_t h = 0; h < groups_.size(); ++h) {
      if (listOf(h) == listOf(g) || !sameCategories(g, h)) continue;
      const double change = swapChange(g, h, bestChange);
      if (change < bestChange) {
        bestChange = change;
        best = h;
      }
    }
    if (best == groups_.size()) return false;
    std::swap(groups_[g], groups_[best]);
    return commitOrUndo([&] { std::swap(groups_[g], groups_[best]); }, [] {});
  }

  // Keeps an exchange already made in groups_ only when the imbalance,
  // recomputed from the groups, fell; the estimate from moments could be off
  // by rounding in the last bits.
  template <typename Undo, typename Keep>
  bool commitOrUndo(Undo undo, Keep keep) {
    const double before = cost_;
    recount();
    if (cost_ < before) {
      keep();
      ++exchangesMade_;
      return true;
    }
    undo();
    recount();
    return false;
  }

  const BalanceInput& in_;
  int k_;
  int lists_;
  size_t controls_;
  Groups groups_;
  std::vector<char> chosen_;
  std::vector<double> z_;  // [row * controls_ + control]
  struct CloseRows {
    bool found = false;
    std::vector<int> near;
    std::vector<int> rows;
  };
  std::vector<CloseRows> closeRows_;  // [g * K + m]: what rowsCloseTo found last
  long long exchangesMade_ = 0;
  // Per slot of a search, exchangesMade_ when it last found nothing; -1 before.
  std::vector<long long> noReplacement_;  // [g * K + m]
  std::vector<long long> noSwap_;         // [g]
  std::vector<long long> noTrade_;        // [g * K + m]
  std::vector<BoxIndex> index_;           // [category]: its rows on the controls
  std::vector<double> low_;               // the box of the last windowOf
  std::vector<double> high_;
  std::vector<std::vector<Moments>> byCategory_;   // [control][category]
  std::vector<std::vector<Moments>> byList_;       // [control][list]
  std::vector<std::vector<SetShape>> listShapes_;  // [control][list], of lists with words
  std::vector<double> listCost_;                   // [control]: familyCost of its lists
  std::vector<size_t> listOf_;                     // [g]: g % L
  std::vector<size_t> filledLists_;                // the lists with words, in order
  std::vector<size_t> placeOf_;                    // [list]: its place in filledLists_
  std::vector<double> listMeans_;  // [control * filledLists_.size() + place]: the list's mean
  // With lists, of every group: [g * K + m], [(g * K + m) * controls + c]
  // and [g * controls + c].
  std::vector<int> memberCategory_;
  std::vector<double> memberValue_;
  std::vector<Moments> groupMoments_;
  double cost_ = 0;
  // Scratch of the search for a trade, kept to spare an allocation per candidate.
  std::vector<SetShape> shapesAfter_;
  std::vector<double> meansAfter_;
  std::vector<Moments> fromA_;
  std::vector<Moments> fromB_;
};

void checkShape(const BalanceInput& input, const Groups& groups) {
  require(input.categories >= 1, "at least one category is needed");
  require(input.lists >= 1, "at least one list is needed");
  const size_t rows = input.categoryOf.size();
  for (int k : input.categoryOf) {
    require(k >= 0 && k <= input.categories, "a row's category is not 0 to K");
  }
  for (const BalanceControl& c : input.controls) {
    require(c.values.size() == rows, "a control needs one value per row");
    for (size_t r = 0; r < rows; ++r) {
      require(input.categoryOf[r] == 0 || std::isfinite(c.values[r]),
              "an eligible row has a value that is not a finite number");
    }
  }
  std::vector<char> seen(rows, 0);
  for (const auto& group : groups) {
    require(group.size() == static_cast<size_t>(input.categories),
            "every group needs one word of every category");
    std::vector<char> has(static_cast<size_t>(input.categories) + 1, 0);
    for (int row : group) {
      require(row >= 0 && static_cast<size_t>(row) < rows, "a group names a row out of range");
      const int k = input.categoryOf[static_cast<size_t>(row)];
      require(k >= 1 && k <= input.categories, "a group holds a row of no category");
      require(has[static_cast<size_t>(k)] == 0, "a group holds two words of one category");
      require(seen[static_cast<size_t>(row)] == 0, "a row is in two groups");
      has[static_cast<size_t>(k)] = seen[static_cast<size_t>(row)] = 1;
    }
  }
}

// Every row the rule compares in each group is close on every control.
void checkTolerances(const BalanceInput& input) {
  for (const auto& group : input.groups) {
    for (size_t a = 0; a < group.size(); ++a) {
      for (size_t b = a + 1; b < group.size(); ++b) {
        if (input.rule == BalanceRule::Anchor && a != 0) continue;
        for (const BalanceControl& c : input.controls) {
          require(isClose(c.values[static_cast<size_t>(group[a])],
                          c.values[static_cast<size_t>(group[b])], c.tolerance),
                  "a group is outside a tolerance of its rule");
        }
      }
    }
  }
}

}  // namespace

double imbalanceOf(const BalanceInput& input, const Groups& groups) {
  checkShape(input, groups);
  return Balancer(input, groups, Balancer::Use::Measure).cost();
}

BalanceResult balanceGroups(const BalanceInput& input) {
  checkShape(input, input.groups);
  checkTolerances(input);
  BalanceResult result;
  result.groups = input.groups;
  if (input.controls.empty() || input.groups.empty()) return result;
  Balancer balancer(input, input.groups, Balancer::Use::Search);
  result.imbalanceBefore = balancer.cost();
  for (;;) {
    const bool replaced = balancer.replacementSweep(result);
    const bool swapped = balancer.swapSweep(result);
    if (result.reachedBound || (!replaced && !swapped)) break;
  }
  result.groups = balancer.groups();
  result.imbalanceAfter = balancer.cost();
  return result;
}
