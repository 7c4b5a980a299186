#include "select/selection.h"

#include <algorithm>
#include <cstdint>

#include "select/match_index.h"

namespace {

// The state of one selection: which records are in play, which are chosen.
class Draw {
 public:
  Draw(const WordTable& table, const std::vector<AffectCategory>& play, const MatchRules& rules,
       RandomSource& random)
      : table_(table),
        rules_(rules),
        random_(random),
        k_(static_cast<int>(play.size())),
        slot_(table.records.size(), 0),
        chosen_(table.records.size(), 0) {
    for (size_t i = 0; i < table.records.size(); ++i) {
      const WordRecord& r = table.records[i];
      if (!r.canBeChosen()) continue;
      const auto p = std::find(play.begin(), play.end(), r.category);
      if (p != play.end()) slot_[i] = static_cast<std::uint8_t>(p - play.begin() + 1);
    }
    index_.build(table, slot_, k_);
  }

  // Checks, without drawing, whether a group anchored in category s can
  // still be built; when it cannot, records why in `result`.
  bool canBuildGroup(int s, SelectionResult& result) const {
    for (int p = 1; p <= k_; ++p) {
      if (index_.left(p) == 0) {
        result.shortfall = Shortfall::CategoryEmpty;
        result.category = p;
        return false;
      }
    }
    if (index_.someAnchorHasPartners(s, table_, chosen_, rules_)) return true;
    result.shortfall = Shortfall::NoMatchableAnchor;
    result.category = s;
    return false;
  }

  // Draws one group anchored in category s within the backstop.
  bool buildGroup(int s, std::vector<int>& members) {
    left_ = rules_.maxDrawsPerGroup;
    for (;;) {
      const Outcome outcome = tryGroup(s, members);
      if (outcome == Outcome::Done) {
        for (int i : members) index_.take(slot_[static_cast<size_t>(i)]);
        return true;
      }
      if (outcome == Outcome::OutOfDraws) return false;
    }
  }

 private:
  enum class Outcome { Done, GaveUp, OutOfDraws };

  bool draw(int& index) {
    if (left_ == 0) return false;
    --left_;
    index = random_.index(table_.count());
    return true;
  }

  bool isEligible(int i, int p) const {
    return slot_[static_cast<size_t>(i)] == p && !chosen_[static_cast<size_t>(i)];
  }

  bool isEligiblePartner(int i, int p, const WordRecord& anchor) const {
    if (!isEligible(i, p)) return false;
    const WordRecord& r = table_.records[static_cast<size_t>(i)];
    return withinTolerance(r, anchor, rules_);
  }

  Outcome drawAnchor(int s, int& a) {
    do {
      if (!draw(a)) return Outcome::OutOfDraws;
    } while (!isEligible(a, s));
    return Outcome::Done;
  }

  Outcome drawPartner(int p, const WordRecord& anchor, int& c) {
    if (!draw(c)) return Outcome::OutOfDraws;
    for (int tries = 0; !isEligiblePartner(c, p, anchor); ++tries) {
      if (tries == kPartnerRetries) return Outcome::GaveUp;
      if (!draw(c)) return Outcome::OutOfDraws;
    }
    return Outcome::Done;
  }

  void setChosen(const std::vector<int>& members, bool chosen) {
    for (int i : members) chosen_[static_cast<size_t>(i)] = chosen ? 1 : 0;
  }

  // One attempt with a fresh anchor of category s. Anything but Done leaves
  // the attempt's records unchosen again.
  Outcome tryGroup(int s, std::vector<int>& members) {
    members.assign(1, 0);
    if (drawAnchor(s, members[0]) != Outcome::Done) return Outcome::OutOfDraws;
    const WordRecord& anchor = table_.records[static_cast<size_t>(members[0])];
    chosen_[static_cast<size_t>(members[0])] = 1;
    for (int p = 1; p <= k_; ++p) {
      if (p == s) continue;
      int c = 0;
      const Outcome outcome = drawPartner(p, anchor, c);
      if (outcome != Outcome::Done) {
        setChosen(members, false);
        return outcome;
      }
      chosen_[static_cast<size_t>(c)] = 1;
      members.push_back(c);
    }
    return Outcome::Done;
  }

  const WordTable& table_;
  const MatchRules& rules_;
  RandomSource& random_;
  int k_;
  std::vector<std::uint8_t> slot_;  // 1..K: the category in play; 0: never chosen
  std::vector<char> chosen_;
  MatchIndex index_;
  long long left_ = 0;  // draws left to the group being built
};

}  // namespace

std::vector<int> SelectionResult::chosenInTableOrder() const {
  std::vector<int> chosen;
  for (const std::vector<int>& group : groups)
    chosen.insert(chosen.end(), group.begin(), group.end());
  std::sort(chosen.begin(), chosen.end());
  return chosen;
}

SelectionResult chooseWords(const WordTable& table, const std::vector<AffectCategory>& play,
                            int wanted, const MatchRules& rules, RandomSource& random) {
  SelectionResult result;
  const int k = static_cast<int>(play.size());
  result.wanted = wanted < k ? 0 : wanted / k * k;
  if (k < 2) return result;  // no anchor category: nothing could ever be drawn
  Draw draw(table, play, rules, random);
  // In 64 bits: wanted - k + 1 must not overflow for the largest wanted.
  const long long limit = static_cast<long long>(wanted) - k + 1;
  while (result.matched < limit) {
    for (int s = 1; s < k && result.matched < limit; ++s) {
      if (!draw.canBuildGroup(s, result)) return result;
      std::vector<int> members;
      if (!draw.buildGroup(s, members)) {
        result.shortfall = Shortfall::DrawLimit;
        result.category = s;
        return result;
      }
      result.groups.push_back(std::move(members));
      result.matched += k;
    }
  }
  return result;
}
