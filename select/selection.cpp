#include "select/selection.h"

#include <vector>

#include "select/random_source.h"

namespace {

bool isEligibleAnchor(const WordRecord& r, int category) {
  return !r.chosen && !r.excluded && r.category == category;
}

bool isEligiblePartner(const WordRecord& r, int category, const WordRecord& anchor) {
  const long long freq = r.freq;
  return isEligibleAnchor(r, category) && r.len >= anchor.len - kLengthTolerance &&
         r.len <= anchor.len + kLengthTolerance &&
         freq >= static_cast<long long>(anchor.freq) - kFrequencyTolerance &&
         freq <= static_cast<long long>(anchor.freq) + kFrequencyTolerance;
}

// The draws left to the group being built.
class DrawBudget {
 public:
  DrawBudget(int n, long long draws) : n_(n), left_(draws) {}
  bool draw(int& index) {
    if (left_ == 0) return false;
    --left_;
    index = randomIndex(n_);
    return true;
  }

 private:
  int n_;
  long long left_;
};

enum class Outcome { Done, GaveUp, OutOfDraws };

Outcome drawAnchor(const WordTable& table, int category, DrawBudget& budget, int& a) {
  do {
    if (!budget.draw(a)) return Outcome::OutOfDraws;
  } while (!isEligibleAnchor(table.records[a], category));
  return Outcome::Done;
}

Outcome drawPartner(const WordTable& table, int category, const WordRecord& anchor,
                    DrawBudget& budget, int& c) {
  if (!budget.draw(c)) return Outcome::OutOfDraws;
  for (int tries = 0; !isEligiblePartner(table.records[c], category, anchor); ++tries) {
    if (tries == kPartnerRetries) return Outcome::GaveUp;
    if (!budget.draw(c)) return Outcome::OutOfDraws;
  }
  return Outcome::Done;
}

void release(WordTable& table, const std::vector<int>& members) {
  for (int i : members) table.records[i].chosen = false;
}

// One attempt with a fresh anchor of category s. Anything but Done leaves
// the attempt's records unchosen again.
Outcome tryGroup(WordTable& table, int s, int k, DrawBudget& budget, std::vector<int>& members) {
  members.assign(1, 0);
  if (drawAnchor(table, s, budget, members[0]) != Outcome::Done) return Outcome::OutOfDraws;
  const WordRecord& anchor = table.records[members[0]];
  table.records[members[0]].chosen = true;
  for (int p = 1; p <= k; ++p) {
    if (p == s) continue;
    int c = 0;
    const Outcome outcome = drawPartner(table, p, anchor, budget, c);
    if (outcome != Outcome::Done) {
      release(table, members);
      return outcome;
    }
    table.records[c].chosen = true;
    members.push_back(c);
  }
  return Outcome::Done;
}

bool buildGroup(WordTable& table, int n, int s, int k, long long maxDraws,
                std::vector<int>& members) {
  DrawBudget budget(n, maxDraws);
  for (;;) {
    const Outcome outcome = tryGroup(table, s, k, budget, members);
    if (outcome != Outcome::GaveUp) return outcome == Outcome::Done;
  }
}

// The indexes of the records that could still be chosen, by category 1..k.
std::vector<std::vector<int>> eligibleByCategory(const WordTable& table, int n, int k) {
  std::vector<std::vector<int>> byCategory(k + 1);
  for (int i = 0; i < n; ++i) {
    const WordRecord& r = table.records[i];
    if (!r.chosen && !r.excluded && r.category >= 1 && r.category <= k) {
      byCategory[r.category].push_back(i);
    }
  }
  return byCategory;
}

bool hasPartnerInEveryCategory(const WordTable& table, const std::vector<std::vector<int>>& by,
                               int s, const WordRecord& anchor) {
  for (size_t p = 1; p < by.size(); ++p) {
    if (static_cast<int>(p) == s) continue;
    bool found = false;
    for (int i : by[p]) {
      if (isEligiblePartner(table.records[i], static_cast<int>(p), anchor)) {
        found = true;
        break;
      }
    }
    if (!found) return false;
  }
  return true;
}

// Checks, without drawing, whether a group with anchor category s can still
// be built; when it cannot, records why in `result`.
bool canBuildGroup(const WordTable& table, int n, int s, int k, SelectionResult& result) {
  const std::vector<std::vector<int>> by = eligibleByCategory(table, n, k);
  for (int p = 1; p <= k; ++p) {
    if (by[p].empty()) {
      result.shortfall = Shortfall::CategoryEmpty;
      result.category = p;
      return false;
    }
  }
  for (int a : by[s]) {
    if (hasPartnerInEveryCategory(table, by, s, table.records[a])) return true;
  }
  result.shortfall = Shortfall::NoMatchableAnchor;
  result.category = s;
  return false;
}

}  // namespace

SelectionResult chooseWords(WordTable& table, int n, int wanted, int k,
                            long long maxDrawsPerGroup) {
  SelectionResult result;
  result.wanted = wanted < k ? 0 : wanted / k * k;
  if (k < 2) return result;  // no anchor category: nothing could ever be drawn
  // In 64 bits: wanted - k + 1 must not overflow for the largest wanted.
  const long long limit = static_cast<long long>(wanted) - k + 1;
  while (result.matched < limit) {
    for (int s = 1; s < k && result.matched < limit; ++s) {
      if (!canBuildGroup(table, n, s, k, result)) return result;
      std::vector<int> members;
      if (!buildGroup(table, n, s, k, maxDrawsPerGroup, members)) {
        result.shortfall = Shortfall::DrawLimit;
        result.category = s;
        result.drawLimit = maxDrawsPerGroup;
        return result;
      }
      result.groups.push_back(std::move(members));
      result.matched += k;
    }
  }
  return result;
}
