#include "select/selection.h"

#include <algorithm>
#include <cstdint>

#include "select/draw_loop.h"
#include "select/match_index.h"
#include "words/zipf.h"

namespace {

// The state of one selection: which records are in play, which are chosen.
class Draw {
 public:
  Draw(const WordTable& table, const std::vector<AffectCategory>& play, const MatchRules& rules,
       RandomSource& random)
      : rules_(rules),
        k_(static_cast<int>(play.size())),
        candidates_(table.records.size()),
        slot_(table.records.size(), 0),
        chosen_(table.records.size(), 0),
        loop_(random, std::vector<std::uint8_t>(table.records.size(), 0)) {
    for (size_t i = 0; i < table.records.size(); ++i) {
      const WordRecord& r = table.records[i];
      candidates_[i] = {r.len, matchKey(r, rules), static_cast<int>(i)};
      if (!r.canBeChosen()) continue;
      const auto p = std::find(play.begin(), play.end(), r.category);
      if (p != play.end()) slot_[i] = static_cast<std::uint8_t>(p - play.begin() + 1);
    }
    for (size_t i = 0; i < slot_.size(); ++i) loop_.setCategory(static_cast<int>(i), slot_[i]);
    index_.build(candidates_, slot_, k_);
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
    if (index_.someGroupFits(s, chosen_, rules_)) return true;
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
        for (int i : members) {
          choose(i);
          index_.take(slot_[static_cast<size_t>(i)]);
        }
        return true;
      }
      if (outcome == Outcome::OutOfDraws) return false;
    }
  }

 private:
  enum class Outcome { Done, GaveUp, OutOfDraws };

  // A partner must be in category p, unchosen, close to the anchor (the
  // first of `members`) and under matchAll to every partner accepted before it.
  bool isEligiblePartner(int i, int p, const std::vector<int>& members) const {
    return loop_.category(i) == p && isCloseToGroup(i, members);
  }

  bool isCloseToGroup(int i, const std::vector<int>& members) const {
    const Candidate& c = candidates_[static_cast<size_t>(i)];
    const size_t compared = rules_.matchAll ? members.size() : 1;
    for (size_t m = 0; m < compared; ++m) {
      if (!isClose(c, candidates_[static_cast<size_t>(members[m])], rules_)) return false;
    }
    return true;
  }

  void choose(int i) {
    chosen_[static_cast<size_t>(i)] = 1;
    loop_.setCategory(i, 0);
  }

  Outcome drawAnchor(int s, int& a) {
    long long used = 0;
    const bool found = loop_.drawUntil(
        left_, static_cast<std::uint8_t>(s), [](int) { return true; }, a, used);
    left_ -= used;
    return found ? Outcome::Done : Outcome::OutOfDraws;
  }

  // The first draw and up to kPartnerRetries more; running out of the
  // backstop first ends the group.
  Outcome drawPartner(int p, const std::vector<int>& members, int& c) {
    const long long most = std::min<long long>(left_, kPartnerRetries + 1);
    long long used = 0;
    // Most draws miss the category, which one byte tells; only hits are
    // compared with the group.
    const bool found = loop_.drawUntil(
        most, static_cast<std::uint8_t>(p), [&](int i) { return isCloseToGroup(i, members); }, c,
        used);
    left_ -= used;
    if (found) return Outcome::Done;
    // Fewer draws than a full step were left: the backstop ended it.
    return most < kPartnerRetries + 1 ? Outcome::OutOfDraws : Outcome::GaveUp;
  }

  // One attempt with a fresh anchor of category s. The members of an
  // attempt are of different categories, and each step draws one category,
  // so no step can draw a member of the same attempt: members are marked
  // chosen only once the group is complete.
  Outcome tryGroup(int s, std::vector<int>& members) {
    members.assign(1, 0);
    if (drawAnchor(s, members[0]) != Outcome::Done) return Outcome::OutOfDraws;
    for (int p = 1; p <= k_; ++p) {
      if (p == s) continue;
      int c = 0;
      const Outcome outcome = drawPartner(p, members, c);
      if (outcome != Outcome::Done) return outcome;
      members.push_back(c);
    }
    return Outcome::Done;
  }

  const MatchRules& rules_;
  int k_;
  std::vector<Candidate> candidates_;
  std::vector<std::uint8_t> slot_;  // 1..K: the category in play; 0: never chosen
  std::vector<char> chosen_;
  DrawLoop loop_;
  MatchIndex index_;
  long long left_ = 0;  // draws left to the group being built
};

}  // namespace

int keepWholeRounds(SelectionResult& result, int lists) {
  const size_t kept =
      result.groups.size() / static_cast<size_t>(lists) * static_cast<size_t>(lists);
  const int dropped = static_cast<int>(result.groups.size() - kept);
  if (dropped > 0) {
    result.matched -=
        static_cast<long long>(dropped) * static_cast<long long>(result.groups[0].size());
    result.groups.resize(kept);
  }
  return dropped;
}

double matchKey(const WordRecord& record, const MatchRules& rules) {
  return rules.zipf ? zipfOf(record.freq) : record.freq;
}

std::vector<int> SelectionResult::chosenInTableOrder() const {
  std::vector<int> chosen;
  for (const std::vector<int>& group : groups)
    chosen.insert(chosen.end(), group.begin(), group.end());
  std::sort(chosen.begin(), chosen.end());
  return chosen;
}

SelectionResult chooseWords(const WordTable& table, const std::vector<AffectCategory>& play,
                            long long wanted, const MatchRules& rules, RandomSource& random) {
  SelectionResult result;
  const int k = static_cast<int>(play.size());
  result.wanted = wanted < k ? 0 : wanted / k * k;
  if (k < 2) return result;  // no anchor category: nothing could ever be drawn
  Draw draw(table, play, rules, random);
  const long long limit = wanted - k + 1;
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
