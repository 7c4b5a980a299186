#include "select/selection.h"

#include <algorithm>
#include <cstdint>

#include "select/direct_draw.h"
#include "select/draw_loop.h"
#include "select/match_index.h"
#include "words/zipf.h"

namespace {

// The state of one selection: which rows are in play, which are chosen.
class Draw {
 public:
  Draw(const std::vector<std::uint8_t>& slot, const Controls& controls, int k,
       const MatchRules& rules, RandomSource& random)
      : rules_(rules),
        k_(k),
        controls_(controls),
        random_(random),
        loop_(random, slot),
        index_(slot, controls_, k, rules.matchAll) {}

  // Checks, without drawing, whether a group anchored in category s can
  // still be built; when it cannot, records why in `result`.
  Fit canBuildGroup(int s, SelectionResult& result) {
    for (int p = 1; p <= k_; ++p) {
      if (index_.left(p) == 0) {
        result.shortfall = Shortfall::CategoryEmpty;
        result.category = p;
        return Fit::No;
      }
    }
    const Fit fit = index_.someGroupFits(s);
    if (fit == Fit::No) {
      result.shortfall = Shortfall::NoMatchableAnchor;
      result.category = s;
    }
    return fit;
  }

  // More groups are still wanted than some category has words left.
  bool cannotComplete(long long groupsWanted) const {
    for (int p = 1; p <= k_; ++p) {
      if (index_.left(p) < groupsWanted) return true;
    }
    return false;
  }

  enum class Outcome { Done, GaveUp, OutOfBudget, AtLimit };

  // Draws one group anchored in category s at random within `budget` draws
  // and the rules' hard limit.
  Outcome buildGroup(int s, long long budget, std::vector<int>& members) {
    const bool limitFirst = rules_.maxDrawsPerGroup <= budget;
    left_ = std::min(budget, rules_.maxDrawsPerGroup);
    for (;;) {
      const Outcome outcome = tryGroup(s, members);
      if (outcome == Outcome::Done) {
        for (int i : members) choose(i);
        return outcome;
      }
      if (outcome != Outcome::GaveUp) return limitFirst ? Outcome::AtLimit : Outcome::OutOfBudget;
    }
  }

  // Draws one group anchored in category s directly; false when none was found.
  bool drawDirectly(int s, std::vector<int>& members) {
    members = drawGroupDirectly(index_, s, random_);
    for (int i : members) choose(i);
    return !members.empty();
  }

  void noteScarcest(SelectionResult& result) const {
    result.scarcest = 1;
    for (int p = 2; p <= k_; ++p) {
      if (index_.left(p) < index_.left(result.scarcest)) result.scarcest = p;
    }
    result.scarcestLeft = index_.left(result.scarcest);
  }

 private:
  // Without a branch per member, as rowsClose: the outcome of a random row
  // cannot be foreseen, and a wrong guess costs more than the comparisons.
  bool isCloseToGroup(int i, const std::vector<int>& members) const {
    const size_t compared = rules_.matchAll ? members.size() : 1;
    bool close = true;
    for (size_t m = 0; m < compared; ++m) close &= controls_.rowsClose(i, members[m]);
    return close;
  }

  void choose(int i) {
    loop_.setCategory(i, 0);
    index_.take(i);
  }

  Outcome drawAnchor(int s, int& a) {
    long long used = 0;
    const bool found = loop_.drawUntil(
        left_, static_cast<std::uint8_t>(s), [](int) { return true; }, a, used);
    left_ -= used;
    return found ? Outcome::Done : Outcome::OutOfBudget;
  }

  // The first draw and up to kPartnerRetries more; running out of the
  // budget first ends the group.
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
    // Fewer draws than a full step were left: the budget ended it.
    return most < kPartnerRetries + 1 ? Outcome::OutOfBudget : Outcome::GaveUp;
  }

  // One attempt with a fresh anchor of category s. The members of an
  // attempt are of different categories, and each step draws one category,
  // so no step can draw a member of the same attempt: members are marked
  // chosen only once the group is complete.
  Outcome tryGroup(int s, std::vector<int>& members) {
    members.assign(1, 0);
    if (drawAnchor(s, members[0]) != Outcome::Done) return Outcome::OutOfBudget;
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
  const Controls& controls_;
  RandomSource& random_;
  DrawLoop loop_;
  MatchIndex index_;
  long long left_ = 0;  // draws left to the group being built
};

// Per record its category in play (1..K), 0 when it cannot be chosen.
std::vector<std::uint8_t> slotsOf(const WordTable& table, const std::vector<AffectCategory>& play) {
  std::vector<std::uint8_t> slot(table.records.size(), 0);
  for (size_t i = 0; i < table.records.size(); ++i) {
    const WordRecord& r = table.records[i];
    if (!r.canBeChosen()) continue;
    const auto p = std::find(play.begin(), play.end(), r.category);
    if (p != play.end()) slot[i] = static_cast<std::uint8_t>(p - play.begin() + 1);
  }
  return slot;
}

// The two controls of a word: its length, then its match key.
Controls controlsOf(const WordTable& table, const MatchRules& rules) {
  Controls controls;
  controls.tolerances = {static_cast<double>(rules.lengthTolerance), rules.frequencyTolerance};
  controls.values.reserve(table.records.size() * 2);
  for (const WordRecord& r : table.records) {
    controls.values.push_back(r.len);
    controls.values.push_back(matchKey(r, rules));
  }
  return controls;
}

}  // namespace

int keepWholeRounds(SelectionResult& result, int lists) {
  const size_t kept =
      result.groups.size() / static_cast<size_t>(lists) * static_cast<size_t>(lists);
  const int dropped = static_cast<int>(result.groups.size() - kept);
  if (dropped > 0) {
    result.matched -=
        static_cast<long long>(dropped) * static_cast<long long>(result.groups[0].size());
    result.groups.resize(kept);
    result.directGroups = std::max(0LL, result.directGroups - dropped);
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
  return chooseGroups(slotsOf(table, play), controlsOf(table, rules), static_cast<int>(play.size()),
                      wanted, rules, random);
}

SelectionResult chooseGroups(const std::vector<std::uint8_t>& slot, const Controls& controls, int k,
                             long long wanted, const MatchRules& rules, RandomSource& random) {
  SelectionResult result;
  result.wanted = wanted < k ? 0 : wanted / k * k;
  const int anchorsEnd = rules.everyCategoryAnchors ? k + 1 : k;
  if (anchorsEnd < 2) return result;  // no anchor category: nothing could ever be drawn
  Draw draw(slot, controls, k, rules, random);
  const long long limit = wanted - k + 1;
  bool direct = rules.directFromTheStart;  // once a group is drawn directly, every later one is
  const auto stop = [&](Shortfall why, int category) {
    result.shortfall = why;
    result.category = category;
    draw.noteScarcest(result);
    return result;
  };
  while (result.matched < limit) {
    for (int s = 1; s < anchorsEnd && result.matched < limit; ++s) {
      const Fit fit = draw.canBuildGroup(s, result);
      if (fit == Fit::No) return stop(result.shortfall, result.category);
      std::vector<int> members;
      if (!direct) {
        const long long budget = draw.cannotComplete((result.wanted - result.matched) / k)
                                     ? std::min(rules.randomDrawsPerGroup, kShortListDrawsPerGroup)
                                     : rules.randomDrawsPerGroup;
        const Draw::Outcome outcome = draw.buildGroup(s, budget, members);
        if (outcome == Draw::Outcome::AtLimit) return stop(Shortfall::DrawLimit, s);
        // The random draw could not find a group the check did not prove.
        if (outcome != Draw::Outcome::Done && fit == Fit::Undecided) {
          return stop(Shortfall::Undecided, s);
        }
        direct = outcome != Draw::Outcome::Done;
      }
      if (direct) {
        if (fit == Fit::Undecided || !draw.drawDirectly(s, members)) {
          return stop(Shortfall::Undecided, s);
        }
        if (!rules.directFromTheStart) ++result.directGroups;
      }
      result.groups.push_back(std::move(members));
      result.matched += k;
    }
  }
  return result;
}
