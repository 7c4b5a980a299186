#include "select/match_index.h"

#include <algorithm>

bool withinTolerance(const WordRecord& r, const WordRecord& anchor, const MatchRules& rules) {
  return r.len >= anchor.len - rules.lengthTolerance &&
         r.len <= anchor.len + rules.lengthTolerance &&
         r.freq >= anchor.freq - rules.frequencyTolerance &&
         r.freq <= anchor.freq + rules.frequencyTolerance;
}

void MatchIndex::build(const WordTable& table, const std::vector<std::uint8_t>& slot, int k) {
  byCategory_.assign(static_cast<size_t>(k) + 1, {});
  left_.assign(static_cast<size_t>(k) + 1, 0);
  for (int i = 0; i < table.count(); ++i) {
    const int p = slot[static_cast<size_t>(i)];
    if (p == 0) continue;
    const WordRecord& r = table.records[static_cast<size_t>(i)];
    byCategory_[static_cast<size_t>(p)].push_back({r.len, r.freq, i});
    ++left_[static_cast<size_t>(p)];
  }
  for (std::vector<Entry>& entries : byCategory_) {
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
      return a.len != b.len ? a.len < b.len : a.freq < b.freq;
    });
  }
}

bool MatchIndex::hasPartner(int p, const WordRecord& anchor, const std::vector<char>& chosen,
                            const MatchRules& rules) const {
  const std::vector<Entry>& entries = byCategory_[static_cast<size_t>(p)];
  // The same expressions as withinTolerance, so that both agree to the bit.
  const double lowest = anchor.freq - rules.frequencyTolerance;
  const double highest = anchor.freq + rules.frequencyTolerance;
  for (int len = anchor.len - rules.lengthTolerance; len <= anchor.len + rules.lengthTolerance;
       ++len) {
    auto it = std::lower_bound(entries.begin(), entries.end(), Entry{len, lowest, 0},
                               [](const Entry& a, const Entry& b) {
                                 return a.len != b.len ? a.len < b.len : a.freq < b.freq;
                               });
    for (; it != entries.end() && it->len == len && it->freq <= highest; ++it) {
      if (!chosen[static_cast<size_t>(it->index)]) return true;
    }
  }
  return false;
}

bool MatchIndex::someAnchorHasPartners(int s, const WordTable& table,
                                       const std::vector<char>& chosen,
                                       const MatchRules& rules) const {
  for (const Entry& a : byCategory_[static_cast<size_t>(s)]) {
    if (chosen[static_cast<size_t>(a.index)]) continue;
    const WordRecord& anchor = table.records[static_cast<size_t>(a.index)];
    bool all = true;
    for (size_t p = 1; p < byCategory_.size() && all; ++p) {
      if (static_cast<int>(p) != s) all = hasPartner(static_cast<int>(p), anchor, chosen, rules);
    }
    if (all) return true;
  }
  return false;
}
