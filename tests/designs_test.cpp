// Counterbalanced lists and the matching rules: runs of the binary read back
// through the export, and the check before each group against brute force.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <random>
#include <set>
#include <sstream>

#include "select/match_index.h"
#include "tables/delimited_reader.h"
#include "tests/list_checker.h"
#include "tests/test_support.h"

namespace {

struct Word {
  std::string list, group, category, word;
  int length;
  double frequency;
};

std::vector<Word> exported(const std::string& csv) {
  std::istringstream in(csv);
  DelimitedReader reader(in, ',', "export");
  std::vector<std::string> f;
  reader.next(f);  // header
  std::vector<Word> words;
  while (reader.next(f))
    words.push_back({f[0], f[1], f[3], f[6], std::stoi(f[10]), std::stod(f[11])});
  return words;
}

RunResult onSample(std::vector<std::string> args) {
  return runChecked(std::string(STIMSEL_SOURCE_DIR) + "/data", args);
}

TEST(Lists, AreDisjointWithTheSameMakeUp) {
  const RunResult r = onSample({"36", "YES", "--lists", "3", "--seed", "11", "--out", "-"});
  ASSERT_EQ(r.status, 0) << r.output;
  const std::vector<Word> words = exported(r.output);
  ASSERT_EQ(words.size(), 108u);
  std::set<std::string> distinct;
  std::map<std::string, std::map<std::string, int>> makeUp;  // list -> category -> words
  for (const Word& w : words) {
    distinct.insert(w.word);
    ++makeUp[w.list][w.category];
  }
  EXPECT_EQ(distinct.size(), 108u) << "a word in two lists";
  ASSERT_EQ(makeUp.size(), 3u);
  for (const auto& [list, counts] : makeUp) {
    EXPECT_EQ(counts, makeUp["1"]) << "list " << list;
  }
}

TEST(Lists, OneListAndDefaultTolerancesAreAPlainRun) {
  const RunResult plain = onSample({"36", "YES", "--seed", "4"});
  const RunResult spelled =
      onSample({"36", "YES", "--seed", "4", "--lists", "1", "--length-tolerance", "2",
                "--frequency-tolerance", "10", "--match", "anchor"});
  EXPECT_EQ(spelled.output, plain.output);
}

TEST(Lists, TablePrintsEachListUnderItsHeading) {
  const RunResult r = onSample({"6", "NO", "--lists", "2", "--seed", "2"});
  ASSERT_EQ(r.status, 0);
  const size_t first = r.output.find("\nList 1 of 2\ncount\tWord");
  const size_t second = r.output.find("\nList 2 of 2\ncount\tWord");
  ASSERT_NE(first, std::string::npos) << r.output;
  ASSERT_NE(second, std::string::npos) << r.output;
  EXPECT_LT(first, second);
}

// Under --match all every two words of a group are within the tolerances;
// under the anchor rule the same seeds give pairs 3 or 4 letters apart.
TEST(Matching, AllPairsOfAGroupAreClose) {
  int widestUnderAnchor = 0;
  for (int seed = 1; seed <= 8; ++seed) {
    for (bool all : {true, false}) {
      std::vector<std::string> args = {"36", "YES", "--seed", std::to_string(seed), "--out", "-"};
      if (all) args.insert(args.end(), {"--match", "all"});
      const RunResult r = onSample(args);
      ASSERT_EQ(r.status, 0) << r.output;
      std::map<std::string, std::vector<Word>> groups;
      for (const Word& w : exported(r.output)) groups[w.group].push_back(w);
      for (const auto& [group, members] : groups) {
        for (const Word& a : members) {
          for (const Word& b : members) {
            const int apart = std::abs(a.length - b.length);
            if (!all) widestUnderAnchor = std::max(widestUnderAnchor, apart);
            if (!all) continue;
            EXPECT_LE(apart, 2) << a.word << " " << b.word;
            EXPECT_LE(std::abs(a.frequency - b.frequency), 10) << a.word << " " << b.word;
          }
        }
      }
    }
  }
  EXPECT_GT(widestUnderAnchor, 2) << "the fixture does not tell the two rules apart";
}

TEST(Matching, ZipfMatchesRareAndCommonWordsAlike) {
  // Rare: 1, 1.2 and 1.1 per million are within 0.2 Zipf; 5 is not.
  // Common: 1000, 1100 and 950 are within 0.2 Zipf but not within 10.
  TempDir dir;
  dir.write("norms.csv",
            "word,valence,arousal,frequency\nrarep,8,3,1\ncommp,8,3,1000\nraren,2,3,5\n"
            "rarer,2,3,1.2\ncommn,2,3,1100\nrareu,5,3,1.1\ncommu,5,3,950\n");
  const RunResult zipf = runChecked(
      dir.path(),
      {"6", "NO", "--norms", "norms.csv", "--zipf-tolerance", "0.2", "--seed", "3", "--out", "-"});
  ASSERT_EQ(zipf.status, 0) << zipf.output;
  std::set<std::string> words;
  for (const Word& w : exported(zipf.output)) words.insert(w.word);
  EXPECT_EQ(words, (std::set<std::string>{"rarep", "rarer", "rareu", "commp", "commn", "commu"}));
  const RunResult raw = runChecked(dir.path(), {"6", "NO", "--norms", "norms.csv", "--seed", "3"});
  EXPECT_EQ(raw.status, 3) << raw.output;
}

TEST(Matching, AllRuleEndsPromptlyWhenNoWindowHoldsAGroup) {
  // Each partner is within 2 letters of the anchor, but 4 from the other.
  TempDir dir;
  dir.write("norms.csv",
            "word,valence,arousal,frequency\nanchor,8,3,10\nneg4,2,3,10\nneutral8,5,3,10\n");
  const RunResult anchorRule =
      runChecked(dir.path(), {"3", "NO", "--norms", "norms.csv", "--seed", "1"});
  EXPECT_EQ(anchorRule.status, 0) << anchorRule.output;
  const RunResult all =
      runChecked(dir.path(), {"3", "NO", "--norms", "norms.csv", "--match", "all", "--seed", "1"});
  EXPECT_EQ(all.status, 3);
  EXPECT_NE(all.output.find("Only 0 of 3 words could be matched.\nNo word of category 1 (label "
                            "\"+ \") left fits a group whose words all lie within 2 letters and 10 "
                            "in frequency of each other.\n"),
            std::string::npos)
      << all.output;
}

// The exact check against trying every combination, on random small tables
// whose keys sit on and just off the tolerance bounds.
TEST(Matching, CheckBeforeEachGroupAgreesWithBruteForce) {
  std::mt19937 random(20261208);
  const double keys[] = {0.1, 0.3, 0.30000000000000004, 0.5, 0.6, 1.0, 10.0, 20.0, 20.1};
  int fits = 0;
  int checks = 0;
  for (int trial = 0; trial < 400; ++trial) {
    MatchRules rules;
    rules.matchAll = trial % 2 == 0;
    rules.lengthTolerance = static_cast<int>(random() % 3);
    rules.frequencyTolerance = trial % 3 == 0 ? 0.2 : 10;
    const int k = 3;
    struct Candidate {
      int len;
      double key;
    };
    std::vector<Candidate> candidates;
    std::vector<std::uint8_t> slot;
    std::vector<char> chosen;
    Controls controls;
    controls.tolerances = {static_cast<double>(rules.lengthTolerance), rules.frequencyTolerance};
    const int n = 6 + static_cast<int>(random() % 9);
    for (int i = 0; i < n; ++i) {
      candidates.push_back({3 + static_cast<int>(random() % 4), keys[random() % 9]});
      slot.push_back(static_cast<std::uint8_t>(random() % 6 == 0 ? 0 : 1 + random() % k));
      chosen.push_back(random() % 5 == 0 ? 1 : 0);
      controls.values.insert(controls.values.end(),
                             {static_cast<double>(candidates.back().len), candidates.back().key});
    }
    const auto isNear = [&](int x, int y) {
      return std::abs(candidates[x].len - candidates[y].len) <= rules.lengthTolerance &&
             std::fabs(candidates[x].key - candidates[y].key) <= rules.frequencyTolerance;
    };
    MatchIndex index(slot, controls, k, rules.matchAll);
    for (int i = 0; i < n; ++i) {
      if (chosen[i] && slot[i] != 0) index.take(i);
    }
    for (int s = 1; s < k; ++s) {
      bool brute = false;
      for (int a = 0; a < n && !brute; ++a) {
        if (slot[a] != s || chosen[a]) continue;
        std::vector<std::vector<int>> options(k + 1);
        for (int i = 0; i < n; ++i) {
          if (slot[i] != 0 && slot[i] != s && !chosen[i]) options[slot[i]].push_back(i);
        }
        const std::vector<int> others = s == 1 ? std::vector<int>{2, 3} : std::vector<int>{1, 3};
        for (int x : options[others[0]]) {
          for (int y : options[others[1]]) {
            const bool withAnchor = isNear(x, a) && isNear(y, a);
            const bool pair = !rules.matchAll || isNear(x, y);
            brute = brute || (withAnchor && pair);
          }
        }
      }
      EXPECT_EQ(index.someGroupFits(s) == Fit::Yes, brute) << "trial " << trial << " s " << s;
      fits += brute ? 1 : 0;
      ++checks;
    }
  }
  EXPECT_GT(fits, checks / 10);
  EXPECT_LT(fits, checks - checks / 10);
}

}  // namespace
