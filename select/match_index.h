// The records of each category in play, sorted by length and frequency, so
// that the check before each group finds a partner by search instead of
// comparing every anchor with every record.
#ifndef STIMSEL_SELECT_MATCH_INDEX_H_
#define STIMSEL_SELECT_MATCH_INDEX_H_

#include <cstdint>
#include <vector>

#include "select/selection.h"
#include "words/word_table.h"

// True when `r` lies within the tolerances of `anchor`, bounds included.
bool withinTolerance(const WordRecord& r, const WordRecord& anchor, const MatchRules& rules);

class MatchIndex {
 public:
  // Indexes every record whose slot is 1..k.
  void build(const WordTable& table, const std::vector<std::uint8_t>& slot, int k);

  // Records of category p not chosen yet.
  int left(int p) const { return left_[static_cast<size_t>(p)]; }
  // One record of category p has been chosen for good.
  void take(int p) { --left_[static_cast<size_t>(p)]; }

  // True when some unchosen record of category s has an unchosen partner
  // within tolerance in every other category.
  bool someAnchorHasPartners(int s, const WordTable& table, const std::vector<char>& chosen,
                             const MatchRules& rules) const;

 private:
  struct Entry {
    int len;
    double freq;
    int index;
  };
  bool hasPartner(int p, const WordRecord& anchor, const std::vector<char>& chosen,
                  const MatchRules& rules) const;

  std::vector<std::vector<Entry>> byCategory_;  // sorted by length, then frequency
  std::vector<int> left_;
};

#endif  // STIMSEL_SELECT_MATCH_INDEX_H_
