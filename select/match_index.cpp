#include "select/match_index.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace {

bool byLengthThenKey(const Candidate& a, const Candidate& b) {
  return a.len != b.len ? a.len < b.len : a.key < b.key;
}

// The entries of length `len` whose key is at least `lowKey`. Keys of one
// length are sorted, so both ends are found by binary search.
std::vector<Candidate>::const_iterator firstAtLeast(const std::vector<Candidate>& entries, int len,
                                                    double lowKey) {
  return std::lower_bound(entries.begin(), entries.end(), Candidate{len, lowKey, 0},
                          byLengthThenKey);
}

// Below this no key is close to `key`: |x - key| rounds up by at most a few
// units in the last place, far less than this margin.
double belowAllClose(double key, double tolerance) {
  return key - tolerance - 1e-9 * (std::fabs(key) + tolerance + 1);
}

}  // namespace

template <typename Visit>
void MatchIndex::forEachClose(int p, const Candidate& anchor, const MatchRules& rules,
                              Visit visit) const {
  const Entries& entries = byCategory_[static_cast<size_t>(p)];
  const double tolerance = rules.frequencyTolerance;
  for (int len = anchor.len - rules.lengthTolerance; len <= anchor.len + rules.lengthTolerance;
       ++len) {
    // |key - anchor| <= tolerance holds on one contiguous run of sorted keys;
    // start just below it and let isClose decide.
    for (auto it = firstAtLeast(entries, len, belowAllClose(anchor.key, tolerance));
         it != entries.end() && it->len == len; ++it) {
      if (!isClose(it->key, anchor.key, tolerance)) {
        if (it->key > anchor.key) break;
        continue;
      }
      if (!visit(*it)) return;
    }
  }
}

void MatchIndex::build(const std::vector<Candidate>& candidates,
                       const std::vector<std::uint8_t>& slot, int k) {
  byCategory_.assign(static_cast<size_t>(k) + 1, {});
  left_.assign(static_cast<size_t>(k) + 1, 0);
  for (std::uint8_t p : slot) ++left_[p];
  for (int p = 1; p <= k; ++p)
    byCategory_[static_cast<size_t>(p)].reserve(static_cast<size_t>(left_[p]));
  left_[0] = 0;
  for (size_t i = 0; i < candidates.size(); ++i) {
    if (slot[i] != 0) byCategory_[slot[i]].push_back(candidates[i]);
  }
  for (Entries& entries : byCategory_) {
    std::sort(entries.begin(), entries.end(), byLengthThenKey);
  }
}

bool MatchIndex::hasPartner(int p, const Candidate& anchor, const std::vector<char>& chosen,
                            const MatchRules& rules) const {
  bool found = false;
  forEachClose(p, anchor, rules, [&](const Candidate& c) {
    found = !chosen[static_cast<size_t>(c.index)];
    return !found;
  });
  return found;
}

bool MatchIndex::hasWordInWindow(int p, int lowLen, double lowKey, const std::vector<char>& chosen,
                                 const MatchRules& rules) const {
  const Entries& entries = byCategory_[static_cast<size_t>(p)];
  for (int len = lowLen; len <= lowLen + rules.lengthTolerance; ++len) {
    for (auto it = firstAtLeast(entries, len, lowKey);
         it != entries.end() && it->len == len &&
         isClose(it->key, lowKey, rules.frequencyTolerance);
         ++it) {
      if (!chosen[static_cast<size_t>(it->index)]) return true;
    }
  }
  return false;
}

// Under matchAll a group fits when its words lie in one window: lengths in
// [L, L + D] and keys in [F, F + T]. Floating subtraction is monotone, so
// words are pairwise close exactly when the largest and the smallest are;
// the window is therefore anchored at the group's smallest length L (one of
// anchor.len - D .. anchor.len) and smallest key F, which is the key of an
// unchosen word close below the anchor's (the anchor's own included). For
// each such window every other category needs one unchosen word inside.
bool MatchIndex::fitsWindow(int s, const Candidate& anchor, const std::vector<char>& chosen,
                            const MatchRules& rules) const {
  const int k = static_cast<int>(byCategory_.size()) - 1;
  // Unchosen words close to the anchor with a key at most its own: the
  // possible smallest keys of a group.
  std::vector<Candidate> below;
  for (int q = 1; q <= k; ++q) {
    forEachClose(q, anchor, rules, [&](const Candidate& c) {
      if (c.key <= anchor.key && !chosen[static_cast<size_t>(c.index)]) below.push_back(c);
      return true;
    });
  }
  for (int lowLen = anchor.len - rules.lengthTolerance; lowLen <= anchor.len; ++lowLen) {
    std::set<double> lowKeys = {anchor.key};
    for (const Candidate& c : below) {
      if (c.len >= lowLen && c.len <= lowLen + rules.lengthTolerance) lowKeys.insert(c.key);
    }
    for (double lowKey : lowKeys) {
      bool all = true;
      for (int p = 1; p <= k && all; ++p) {
        if (p != s) all = hasWordInWindow(p, lowLen, lowKey, chosen, rules);
      }
      if (all) return true;
    }
  }
  return false;
}

bool MatchIndex::someGroupFits(int s, const std::vector<char>& chosen,
                               const MatchRules& rules) const {
  const int k = static_cast<int>(byCategory_.size()) - 1;
  for (const Candidate& anchor : byCategory_[static_cast<size_t>(s)]) {
    if (chosen[static_cast<size_t>(anchor.index)]) continue;
    if (rules.matchAll) {
      if (fitsWindow(s, anchor, chosen, rules)) return true;
      continue;
    }
    bool all = true;
    for (int p = 1; p <= k && all; ++p) {
      if (p != s) all = hasPartner(p, anchor, chosen, rules);
    }
    if (all) return true;
  }
  return false;
}
