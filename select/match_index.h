// The records of each category in play, sorted by length and match key, so
// that the check before each group finds partners by search instead of
// comparing every anchor with every record.
#ifndef STIMSEL_SELECT_MATCH_INDEX_H_
#define STIMSEL_SELECT_MATCH_INDEX_H_

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "select/selection.h"

// One record as matching sees it.
struct Candidate {
  int len = 0;
  double key = 0;  // frequency, or Zipf frequency
  int index = 0;
};

// True when two values lie within `tolerance`. Every comparison of the
// selection goes through this, so that the draws and the check agree.
inline bool isClose(double a, double b, double tolerance) {
  return std::fabs(a - b) <= tolerance;
}

inline bool isClose(const Candidate& a, const Candidate& b, const MatchRules& rules) {
  return std::abs(a.len - b.len) <= rules.lengthTolerance &&
         isClose(a.key, b.key, rules.frequencyTolerance);
}

class MatchIndex {
 public:
  // Indexes every candidate whose slot (category in play) is 1..k.
  void build(const std::vector<Candidate>& candidates, const std::vector<std::uint8_t>& slot,
             int k);

  // Records of category p not chosen yet.
  int left(int p) const { return left_[static_cast<size_t>(p)]; }
  // One record of category p has been chosen for good.
  void take(int p) { --left_[static_cast<size_t>(p)]; }

  // True when some unchosen record of category s can anchor a group: under
  // the anchor rule, it has an unchosen close partner in every other
  // category; under matchAll, it and one unchosen word of every other
  // category are all close to each other.
  bool someGroupFits(int s, const std::vector<char>& chosen, const MatchRules& rules) const;

 private:
  using Entries = std::vector<Candidate>;
  // Calls visit(candidate) for every record of category p, chosen or not,
  // whose length and key are close to the anchor's, until visit returns false.
  template <typename Visit>
  void forEachClose(int p, const Candidate& anchor, const MatchRules& rules, Visit visit) const;
  bool hasPartner(int p, const Candidate& anchor, const std::vector<char>& chosen,
                  const MatchRules& rules) const;
  bool fitsWindow(int s, const Candidate& anchor, const std::vector<char>& chosen,
                  const MatchRules& rules) const;
  bool hasWordInWindow(int p, int lowLen, double lowKey, const std::vector<char>& chosen,
                       const MatchRules& rules) const;

  std::vector<Entries> byCategory_;  // sorted by length, then key
  std::vector<int> left_;
};

#endif  // STIMSEL_SELECT_MATCH_INDEX_H_
