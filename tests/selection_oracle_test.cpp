// The selection against a plain loop written the obvious way: one draw at a
// time from a local LCG, every eligibility rule checked on every draw, every
// anchor tried against every combination in the check before each group.
// Any optimisation of the draws must keep every chosen index the same.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>

#include "select/selection.h"
#include "tests/test_support.h"

namespace {

struct Reference {
  const WordTable& table;
  std::vector<int> slot;  // category in play 1..K, or 0
  int k;
  MatchRules rules;
  std::uint32_t state;
  std::vector<char> chosen;

  int draw() {
    const auto next = [this] {
      state = state * 214013u + 2531011u;
      return static_cast<int>((state >> 16) & 0x7FFF);
    };
    const int n = table.count();
    if (n <= 32768) return next() % n;
    const int first = next();
    return ((first << 15) | next()) % n;
  }
  bool close(int a, int b) const {
    const WordRecord& x = table.records[static_cast<size_t>(a)];
    const WordRecord& y = table.records[static_cast<size_t>(b)];
    return std::abs(x.len - y.len) <= rules.lengthTolerance &&
           std::fabs(matchKey(x, rules) - matchKey(y, rules)) <= rules.frequencyTolerance;
  }
  bool eligible(int i, int p) const {
    return slot[static_cast<size_t>(i)] == p && !chosen[static_cast<size_t>(i)];
  }
  bool fits(int i, int p, const std::vector<int>& members) const {
    if (!eligible(i, p)) return false;
    for (size_t m = 0; m < (rules.matchAll ? members.size() : 1); ++m) {
      if (!close(i, members[m])) return false;
    }
    return true;
  }
  // Tries every partner for every other category in turn (depth first).
  bool completes(std::vector<int>& members, int s, int p) const {
    if (p > k) return true;
    if (p == s) return completes(members, s, p + 1);
    for (int i = 0; i < table.count(); ++i) {
      if (!fits(i, p, members)) continue;
      members.push_back(i);
      const bool done = completes(members, s, p + 1);
      members.pop_back();
      if (done) return true;
    }
    return false;
  }
  std::vector<std::vector<int>> choose(long long wanted) {
    std::vector<std::vector<int>> groups;
    const long long limit = (wanted < k ? 0 : wanted / k * k) - k + 1;
    long long matched = 0;
    while (matched < limit) {
      for (int s = 1; s < k && matched < limit; ++s) {
        bool possible = false;
        for (int a = 0; a < table.count() && !possible; ++a) {
          std::vector<int> members = {a};
          possible = eligible(a, s) && completes(members, s, 1);
        }
        if (!possible) return groups;
        long long left = rules.maxDrawsPerGroup;
        std::vector<int> members;
        for (bool done = false; !done;) {
          members.clear();
          int a = -1;
          while (a < 0 || !eligible(a, s)) {
            if (left-- == 0) return groups;
            a = draw();
          }
          members.push_back(a);
          chosen[static_cast<size_t>(a)] = 1;
          done = true;
          for (int p = 1; p <= k && done; ++p) {
            if (p == s) continue;
            int tries = 0;
            int c = -1;
            for (;;) {
              if (left-- == 0) return groups;
              c = draw();
              if (fits(c, p, members)) break;
              if (tries++ == kPartnerRetries) break;
            }
            if (!fits(c, p, members)) {
              done = false;
            } else {
              members.push_back(c);
              chosen[static_cast<size_t>(c)] = 1;
            }
          }
          if (!done) {
            for (int i : members) chosen[static_cast<size_t>(i)] = 0;
          }
        }
        groups.push_back(members);
        matched += k;
      }
    }
    return groups;
  }
};

TEST(SelectionOracle, DrawsTheSameIndexesAsThePlainLoop) {
  std::mt19937 random(7);
  const ListMode modes[] = {ListMode::FullMode, ListMode::NoArousalMode, ListMode::NoNeutralMode};
  const float valence[] = {8, 2, 5, 8, 2, 5, 3.5f};
  const float arousal[] = {3, 3, 3, 7, 7, 7, 5};
  for (int trial = 0; trial < 300; ++trial) {
    std::vector<NormsWord> words;
    const int n = 6 + static_cast<int>(random() % 60);
    for (int i = 0; i < n; ++i) {
      const int c = static_cast<int>(random() % 7);
      words.push_back({std::string(3 + random() % 5, 'a') + std::to_string(random() % (n + 5)),
                       valence[c], arousal[c], static_cast<int>(random() % 40)});
    }
    WordTable table = tableOf(words);
    for (WordRecord& r : table.records) r.excluded = random() % 9 == 0;
    const std::vector<AffectCategory> play = categoriesInPlay(modes[trial % 3]);
    MatchRules rules;
    rules.lengthTolerance = static_cast<int>(random() % 3);
    rules.frequencyTolerance = static_cast<double>(random() % 15);
    rules.matchAll = trial % 4 == 1;
    rules.zipf = trial % 5 == 2;
    if (rules.zipf) rules.frequencyTolerance = 0.1 * static_cast<double>(random() % 4);
    // Long searches switch the draws to lookup tables; some trials go there.
    rules.maxDrawsPerGroup = trial % 3 == 0 ? 400000 : 3000;
    const std::uint32_t seed = static_cast<std::uint32_t>(random());
    const long long wanted = static_cast<long long>(random() % 40);

    Reference reference{table, {},   static_cast<int>(play.size()),
                        rules, seed, std::vector<char>(table.records.size(), 0)};
    for (const WordRecord& r : table.records) {
      const auto p = std::find(play.begin(), play.end(), r.category);
      reference.slot.push_back(
          r.canBeChosen() && p != play.end() ? static_cast<int>(p - play.begin()) + 1 : 0);
    }
    RandomSource source(seed);
    const SelectionResult result = chooseWords(table, play, wanted, rules, source);
    EXPECT_EQ(result.groups, reference.choose(wanted)) << "trial " << trial;
    if (result.complete()) {
      EXPECT_EQ(source.state(), reference.state) << "trial " << trial << ": draws differ";
    }
  }
}

// A table of more than 32,768 rows whose words in play all lie above row
// 32,768, and a search long enough to reach the draw loop's lookup tables:
// every row must stay reachable, draw for draw as the plain loop draws.
TEST(SelectionOracle, LargeTablesDrawEveryRowAsThePlainLoopDoes) {
  std::mt19937 random(3);
  const float valence[] = {8, 2, 5};
  std::vector<NormsWord> words;
  for (int i = 0; i < 40000; ++i) {
    const int c = i % 3;
    if (i < 32768) {
      words.push_back({"f" + std::to_string(i), 3.5f, 5, 1});
    } else {
      words.push_back(
          {std::string(3 + random() % 18, 'a' + static_cast<char>(c)) + std::to_string(i),
           valence[c], 3, static_cast<int>(random() % 1000)});
    }
  }
  const WordTable table = tableOf(words);
  const std::vector<AffectCategory> play = categoriesInPlay(ListMode::NoArousalMode);
  const MatchRules rules;
  Reference reference{table, {}, 3, rules, 11, std::vector<char>(table.records.size(), 0)};
  for (const WordRecord& r : table.records) {
    const auto p = std::find(play.begin(), play.end(), r.category);
    reference.slot.push_back(p != play.end() ? static_cast<int>(p - play.begin()) + 1 : 0);
  }
  RandomSource source(11);
  const SelectionResult result = chooseWords(table, play, 12, rules, source);
  EXPECT_TRUE(result.complete());
  EXPECT_EQ(result.groups, reference.choose(12));
  EXPECT_EQ(source.state(), reference.state) << "draws differ";
}

// Every word has exactly one partner in each other category: a group needs
// about 16 million draws on average, which the backstop must allow.
TEST(SelectionOracle, PerfectlyMatchedGroupsCompleteWithinTheBackstop) {
  const float valence[] = {8, 2, 5, 8, 2, 5};
  const float arousal[] = {3, 3, 3, 7, 7, 7};
  std::vector<NormsWord> words;
  for (int g = 0; g < 171; ++g) {
    for (int c = 0; c < 6; ++c) {
      words.push_back({std::string{static_cast<char>('a' + g / 26), static_cast<char>('a' + g % 26),
                                   static_cast<char>('a' + c), 'x'},
                       valence[c], arousal[c], 100 * g + 5});
    }
  }
  TempDir dir;
  dir.write("KOVA.txt", normsFileText(words));
  for (const char* seed : {"1", "2", "3"}) {
    const RunResult r = runStimsel(dir.path(), {"36", "YES", "--seed", seed});
    EXPECT_EQ(r.status, 0) << "seed " << seed << "\n" << r.output.substr(0, 300);
  }
}

}  // namespace
