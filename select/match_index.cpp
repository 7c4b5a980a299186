#include "select/match_index.h"

#include <algorithm>
#include <numeric>

namespace {

// Window corners one search for a group may try when more than two controls
// are matched under matchAll; with two controls the corners are at most the
// distinct lengths within the tolerance, far fewer.
constexpr long long kCornerBudget = 1 << 16;

}  // namespace

MatchIndex::MatchIndex(const std::vector<std::uint8_t>& slot, const Controls& controls, int k,
                       bool matchAll)
    : controls_(controls),
      k_(k),
      matchAll_(matchAll),
      last_(controls.count() - 1),
      slot_(slot),
      categories_(static_cast<size_t>(k) + 1),
      place_(slot.size()),
      left_(static_cast<size_t>(k) + 1, 0),
      pool_(static_cast<size_t>(k) + 1),
      poolPosition_(slot.size(), -1),
      undecided_(static_cast<size_t>(k) + 1) {
  for (std::uint8_t p : slot) ++left_[p];
  left_[0] = 0;
  // Sized first: a large table's pools, grown by doubling, would hold up to
  // twice their rows at once.
  for (int p = 1; p <= k; ++p) pool_[static_cast<size_t>(p)].reserve(static_cast<size_t>(left(p)));
  for (size_t r = 0; r < slot.size(); ++r) {
    const int p = slot[r];
    if (p == 0) continue;
    // Every category may anchor: the affect design's last one never does,
    // but a design of the user's own categories anchors in each in turn.
    poolPosition_[r] = static_cast<int>(pool_[static_cast<size_t>(p)].size());
    pool_[static_cast<size_t>(p)].push_back(static_cast<int>(r));
  }
  // One category's entries at a time: they are needed only while its
  // buckets are built.
  for (int p = 1; p <= k; ++p) {
    std::vector<Entry> entries;
    entries.reserve(pool_[static_cast<size_t>(p)].size());
    for (int row : pool_[static_cast<size_t>(p)]) {
      Entry entry;
      for (int c = 0; c < last_ && c < kEntryLeads; ++c) entry.leads[c] = controls.value(row, c);
      entry.key = key(row);
      entry.row = row;
      entries.push_back(entry);
    }
    addBuckets(p, entries);
  }
}

int MatchIndex::leadOrder(const Entry& a, const Entry& b) const {
  for (int c = 0; c < last_ && c < kEntryLeads; ++c) {
    if (a.leads[c] < b.leads[c]) return -1;
    if (b.leads[c] < a.leads[c]) return 1;
  }
  for (int c = kEntryLeads; c < last_; ++c) {
    const double x = controls_.value(a.row, c);
    const double y = controls_.value(b.row, c);
    if (x < y) return -1;
    if (y < x) return 1;
  }
  return 0;
}

// Buckets in ascending order of their leading values, compared control by
// control; within one, rows by ascending key, equal keys in row order.
void MatchIndex::addBuckets(int p, std::vector<Entry>& entries) {
  const auto keyThenRow = [](const Entry& a, const Entry& b) {
    return a.key != b.key ? a.key < b.key : a.row < b.row;
  };
  if (last_ <= 1) {  // the common case: the first control alone leads
    std::sort(entries.begin(), entries.end(), [&](const Entry& a, const Entry& b) {
      return a.leads[0] != b.leads[0] ? a.leads[0] < b.leads[0] : keyThenRow(a, b);
    });
  } else {
    std::sort(entries.begin(), entries.end(), [&](const Entry& a, const Entry& b) {
      const int order = leadOrder(a, b);
      return order != 0 ? order < 0 : keyThenRow(a, b);
    });
  }
  Category& category = categories_[static_cast<size_t>(p)];
  // Counted first: with continuous leading controls most rows head a bucket
  // of their own, and growing the vectors would move them all many times.
  size_t count = entries.empty() ? 0 : 1;
  for (size_t e = 1; e < entries.size(); ++e) count += leadBefore(entries[e - 1], entries[e]);
  category.buckets.reserve(count);
  category.values.reserve(count * static_cast<size_t>(last_));
  category.keys.reserve(entries.size());
  category.rows.reserve(entries.size());
  category.free.reserve(entries.size());
  for (size_t begin = 0; begin < entries.size();) {
    size_t end = begin + 1;
    int lowest = entries[begin].row;
    while (end < entries.size() && !leadBefore(entries[begin], entries[end])) {
      lowest = std::min(lowest, entries[end].row);
      ++end;
    }
    // Leading values that compare equal but differ (0 and -0) are the
    // first row's.
    for (int c = 0; c < last_; ++c) category.values.push_back(controls_.value(lowest, c));
    for (size_t e = begin; e < end; ++e) {
      place_[static_cast<size_t>(entries[e].row)] = {static_cast<int>(category.buckets.size()),
                                                     static_cast<int>(e - begin)};
      category.keys.push_back(entries[e].key);
      category.rows.push_back(entries[e].row);
    }
    category.buckets.push_back(category.free.add(static_cast<int>(end - begin)));
    begin = end;
  }
}

void MatchIndex::hide(int row) {
  const Place& at = place_[static_cast<size_t>(row)];
  Category& category = categories_[slot_[static_cast<size_t>(row)]];
  category.free.remove(category.buckets[static_cast<size_t>(at.bucket)], at.position);
}

void MatchIndex::unhide(int row) {
  const Place& at = place_[static_cast<size_t>(row)];
  Category& category = categories_[slot_[static_cast<size_t>(row)]];
  category.free.restore(category.buckets[static_cast<size_t>(at.bucket)], at.position);
}

void MatchIndex::take(int row) {
  hide(row);
  --left_[slot_[static_cast<size_t>(row)]];
  dropFromPool(row);
}

void MatchIndex::dropFromPool(int row) {
  const int at = poolPosition_[static_cast<size_t>(row)];
  if (at < 0) return;
  std::vector<int>& pool = pool_[slot_[static_cast<size_t>(row)]];
  const int moved = pool.back();
  pool[static_cast<size_t>(at)] = moved;
  poolPosition_[static_cast<size_t>(moved)] = at;
  pool.pop_back();
  poolPosition_[static_cast<size_t>(row)] = -1;
}

namespace {

// The first index of lo..hi-1 at which `pred`, true up to some index and
// false from there on, is false.
template <typename Pred>
size_t partitionIndex(size_t lo, size_t hi, Pred pred) {
  while (lo < hi) {
    const size_t mid = lo + (hi - lo) / 2;
    if (pred(mid)) {
      lo = mid + 1;
    } else {
      hi = mid;
    }
  }
  return lo;
}

}  // namespace

// The buckets are in ascending order of their leading values, control by
// control, so the buckets close on control c form one run of those that
// agree on the controls before it, found by two binary searches; within the
// run, each stretch of one value of c is searched on c + 1 in turn. With a
// continuous control among the leading ones, most buckets hold one row, and
// this visits only the few near the members instead of every bucket.
template <typename Found>
void MatchIndex::closeBuckets(int p, size_t lo, size_t hi, int c, const std::vector<int>& members,
                              size_t compared, Found& found) const {
  if (c == last_) {
    for (size_t b = lo; b < hi; ++b) found(b);
    return;
  }
  const Category& category = categories_[static_cast<size_t>(p)];
  const double tolerance = controls_.tolerances[static_cast<size_t>(c)];
  const auto value = [&](size_t b) { return category.value(b, c, last_); };
  const size_t first = partitionIndex(lo, hi, [&](size_t b) {
    for (size_t m = 0; m < compared; ++m) {
      if (!notTooFarBelow(value(b), controls_.value(members[m], c), tolerance)) return true;
    }
    return false;
  });
  const size_t last = partitionIndex(first, hi, [&](size_t b) {
    for (size_t m = 0; m < compared; ++m) {
      if (!notTooFarAbove(value(b), controls_.value(members[m], c), tolerance)) return false;
    }
    return true;
  });
  for (size_t run = first; run < last;) {
    const double here = value(run);
    const size_t next = partitionIndex(run, last, [&](size_t b) { return !(here < value(b)); });
    closeBuckets(p, run, next, c + 1, members, compared, found);
    run = next;
  }
}

std::vector<Span> MatchIndex::closeSpans(int p, const std::vector<int>& members) const {
  const size_t compared = matchAll_ ? members.size() : 1;
  const double tolerance = controls_.tolerances[static_cast<size_t>(last_)];
  std::vector<Span> spans;
  const Category& category = categories_[static_cast<size_t>(p)];
  const auto found = [&](size_t b) {
    const Bucket& bucket = category.buckets[b];
    if (bucket.total == 0) return;
    const auto keys = category.keys.begin() + bucket.begin;
    const auto lo = std::partition_point(keys, keys + bucket.size, [&](double x) {
      for (size_t m = 0; m < compared; ++m) {
        if (!notTooFarBelow(x, key(members[m]), tolerance)) return true;
      }
      return false;
    });
    const auto hi = std::partition_point(lo, keys + bucket.size, [&](double x) {
      for (size_t m = 0; m < compared; ++m) {
        if (!notTooFarAbove(x, key(members[m]), tolerance)) return false;
      }
      return true;
    });
    if (lo == hi) return;
    spans.push_back(
        {p, static_cast<int>(b), static_cast<int>(lo - keys), static_cast<int>(hi - keys)});
  };
  closeBuckets(p, 0, category.buckets.size(), 0, members, compared, found);
  return spans;
}

long long MatchIndex::freeIn(const std::vector<Span>& spans) const {
  long long count = 0;
  for (const Span& span : spans) {
    const Category& category = categories_[static_cast<size_t>(span.category)];
    const Bucket& bucket = category.buckets[static_cast<size_t>(span.bucket)];
    count += category.free.countBelow(bucket, span.hi) - category.free.countBelow(bucket, span.lo);
  }
  return count;
}

int MatchIndex::rowAt(const std::vector<Span>& spans, long long j) const {
  for (const Span& span : spans) {
    const Category& category = categories_[static_cast<size_t>(span.category)];
    const Bucket& bucket = category.buckets[static_cast<size_t>(span.bucket)];
    const int before = category.free.countBelow(bucket, span.lo);
    const long long here = category.free.countBelow(bucket, span.hi) - before;
    if (j < here) {
      const int at = category.free.select(bucket, before + static_cast<int>(j));
      return category.rows[static_cast<size_t>(bucket.begin) + static_cast<size_t>(at)];
    }
    j -= here;
  }
  return -1;
}

bool MatchIndex::isFree(int row) const {
  const Place& at = place_[static_cast<size_t>(row)];
  const Category& category = categories_[slot_[static_cast<size_t>(row)]];
  return category.free.present(category.buckets[static_cast<size_t>(at.bucket)], at.position);
}

Fit MatchIndex::anchorFits(int a) const {
  const int s = slot_[static_cast<size_t>(a)];
  std::vector<int> rest;
  for (int p = 1; p <= k_; ++p) {
    if (p != s) rest.push_back(p);
  }
  if (matchAll_) return completes({a}, rest);
  for (int p : rest) {
    if (freeIn(closeSpans(p, {a})) == 0) return Fit::No;
  }
  return Fit::Yes;
}

Fit MatchIndex::someGroupFits(int s) {
  // Any anchor that fits will do; one that does not is dropped for good.
  std::vector<int>& pool = pool_[static_cast<size_t>(s)];
  while (!pool.empty()) {
    const int a = pool.back();
    const Fit fit = anchorFits(a);
    if (fit == Fit::Yes) return fit;
    if (fit == Fit::Undecided) undecided_[static_cast<size_t>(s)].push_back(a);
    dropFromPool(a);
  }
  for (int a : undecided_[static_cast<size_t>(s)]) {
    if (isFree(a)) return Fit::Undecided;
  }
  return Fit::No;
}

// Words are pairwise close on a control exactly when its largest and its
// smallest value are, subtraction being monotone. So a group fits when, for
// each control, some low value L has every member's value v >= L with
// v - L within the tolerance. On the leading controls L is tried among the
// values present (the corners); on the last one a sweep finds it.
Fit MatchIndex::completes(const std::vector<int>& members, const std::vector<int>& rest) const {
  std::vector<std::vector<double>> choices(static_cast<size_t>(last_));
  for (int c = 0; c < last_; ++c) {
    const double tolerance = controls_.tolerances[static_cast<size_t>(c)];
    double low = controls_.value(members[0], c);
    double high = low;
    for (int m : members) {
      low = std::min(low, controls_.value(m, c));
      high = std::max(high, controls_.value(m, c));
    }
    std::vector<double>& values = choices[static_cast<size_t>(c)];
    values.push_back(low);
    for (int p : rest) {
      const Category& category = categories_[static_cast<size_t>(p)];
      for (size_t b = 0; b < category.buckets.size(); ++b) {
        const double v = category.value(b, c, last_);
        if (category.buckets[b].total > 0 && v < low && notTooFarBelow(v, high, tolerance)) {
          values.push_back(v);
        }
      }
    }
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
  }
  // Every combination of low values, as a mixed-radix counter.
  std::vector<size_t> digit(static_cast<size_t>(last_), 0);
  std::vector<double> corner(static_cast<size_t>(last_));
  for (long long tried = 0;; ++tried) {
    if (tried == kCornerBudget) return Fit::Undecided;
    for (int c = 0; c < last_; ++c) {
      corner[static_cast<size_t>(c)] =
          choices[static_cast<size_t>(c)][digit[static_cast<size_t>(c)]];
    }
    if (completesInCorner(members, rest, corner) == Fit::Yes) return Fit::Yes;
    int c = 0;
    while (c < last_ && ++digit[static_cast<size_t>(c)] == choices[static_cast<size_t>(c)].size()) {
      digit[static_cast<size_t>(c)] = 0;
      ++c;
    }
    if (c == last_) return Fit::No;
  }
}

Fit MatchIndex::completesInCorner(const std::vector<int>& members, const std::vector<int>& rest,
                                  const std::vector<double>& low) const {
  // The buckets of each category whose leading values lie in the corner,
  // with the category they belong to.
  struct InCorner {
    const Category* category;
    std::vector<size_t> buckets;
  };
  std::vector<InCorner> inCorner;
  for (int p : rest) {
    const Category& category = categories_[static_cast<size_t>(p)];
    InCorner found{&category, {}};
    for (size_t b = 0; b < category.buckets.size(); ++b) {
      bool inside = category.buckets[b].total > 0;
      for (int c = 0; c < last_ && inside; ++c) {
        const double v = category.value(b, c, last_);
        const double l = low[static_cast<size_t>(c)];
        inside = v >= l && v - l <= controls_.tolerances[static_cast<size_t>(c)];
      }
      if (inside) found.buckets.push_back(b);
    }
    if (found.buckets.empty()) return Fit::No;
    inCorner.push_back(std::move(found));
  }
  const double tolerance = controls_.tolerances[static_cast<size_t>(last_)];
  double lowest = key(members[0]);
  double highest = lowest;
  for (int m : members) {
    lowest = std::min(lowest, key(m));
    highest = std::max(highest, key(m));
  }
  constexpr double kNone = HUGE_VAL;
  // The smallest free key of the corner's buckets of one category at or
  // after the position `from(keys begin, keys end)` gives in each.
  const auto smallest = [](const InCorner& corner, auto from) {
    double best = kNone;
    const Category& category = *corner.category;
    for (size_t b : corner.buckets) {
      const Bucket& bucket = category.buckets[b];
      const auto keys = category.keys.begin() + bucket.begin;
      const int at = category.free.firstFrom(bucket, from(keys, keys + bucket.size));
      if (at >= 0) best = std::min(best, keys[at]);
    }
    return best;
  };
  // The smallest value that may be the group's lowest key: above `after`
  // (when `strict`), not too far below `high`, the members' lowest key or a
  // free key of a category to fill.
  const auto nextLow = [&](double after, bool strict, double high) {
    double best = kNone;
    if ((!strict || lowest > after) && notTooFarBelow(lowest, high, tolerance)) best = lowest;
    for (const InCorner& corner : inCorner) {
      best = std::min(best, smallest(corner, [&](auto begin, auto end) {
                        const auto first = std::partition_point(begin, end, [&](double x) {
                          return !notTooFarBelow(x, high, tolerance);
                        });
                        const auto above = strict ? std::upper_bound(begin, end, after) : begin;
                        return static_cast<int>(std::max(first, above) - begin);
                      }));
    }
    return best;
  };
  // Each category's nearest free key at or above the low value is its best
  // choice. When the group is too wide, the low value must rise to where the
  // top is within reach; the top only grows as it rises, and each category
  // can raise it once (its new key then stays within reach), so the sweep
  // takes at most one step per category.
  for (double l = nextLow(0, false, highest); l != kNone && l <= lowest;
       l = nextLow(l, true, highest)) {
    for (const InCorner& corner : inCorner) {
      highest = std::max(highest, smallest(corner, [&](auto begin, auto end) {
                           return static_cast<int>(std::lower_bound(begin, end, l) - begin);
                         }));
    }
    if (highest == kNone) return Fit::No;
    if (highest - l <= tolerance) return Fit::Yes;
  }
  return Fit::No;
}
