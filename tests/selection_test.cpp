#include "select/selection.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "select/random_source.h"
#include "tests/test_support.h"

namespace {

// The categories in play for a group size, as the list modes give them.
std::vector<AffectCategory> playOf(int k) {
  return categoriesInPlay(k == 3   ? ListMode::NoArousalMode
                          : k == 4 ? ListMode::NoNeutralMode
                                   : ListMode::FullMode);
}

SelectionResult choose(const WordTable& table, int wanted, int k, RandomSource& random,
                       long long maxDraws = kMaxDrawsPerGroup) {
  MatchRules rules;
  rules.maxDrawsPerGroup = maxDraws;
  return chooseWords(table, playOf(k), wanted, rules, random);
}

// A table with `perCategory` words in each of the six categories, all of
// length 5 and frequency 20, so that every anchor matches every partner.
WordTable uniformTable(int perCategory) {
  const float valence[] = {8, 2, 5, 8, 2, 5};
  const float arousal[] = {3, 3, 3, 7, 7, 7};
  std::vector<NormsWord> words;
  for (int i = 0; i < perCategory; ++i) {
    for (int c = 0; c < 6; ++c) {
      words.push_back({std::string(1, static_cast<char>('a' + c)) + std::to_string(1000 + i),
                       valence[c], arousal[c], 20});
    }
  }
  return tableOf(words);
}

TEST(ChooseWords, FollowsTheDrawSequenceOfTheSeed) {
  // Seed 1 draws 41 18467 6334 26500 19169 15724 11478 29358 26962 24464 5705;
  // modulo 3 that is 2 2 1 1 2 1 0 | 0 1 | 2 | ...: the anchor (record 0) is
  // found on the 7th draw, the partner of category 2 (record 1) on the 9th
  // and that of category 3 (record 2) on the 10th.
  WordTable table = tableOf({{"pos", 8, 3, 20}, {"neg", 2, 3, 20}, {"neu", 5, 3, 20}});
  RandomSource random(1);
  const SelectionResult result = choose(table, 3, 3, random);
  EXPECT_TRUE(result.complete());
  EXPECT_EQ(result.matched, 3);
  EXPECT_EQ(random.next(), 5705);
}

TEST(ChooseWords, GivesUpAfterOneHundredRetriesAndDrawsAFreshAnchor) {
  // The partner of category 3 is too frequent for anchor "pos" but matches
  // "pos2"; only a fresh anchor can complete the group.
  WordTable table =
      tableOf({{"pos", 8, 3, 20}, {"neg", 2, 3, 25}, {"neu", 5, 3, 40}, {"pos2", 8, 3, 35}});
  RandomSource random(3);
  const SelectionResult result = choose(table, 3, 3, random);
  EXPECT_TRUE(result.complete());
  EXPECT_EQ(chosenIndexes(result), (std::vector<int>{1, 2, 3}));
  // A reference run of the algorithm, written separately, takes 220 draws
  // (two give-ups of 101 candidates each among them); 1740 is the 221st.
  EXPECT_EQ(random.next(), 1740);
}

TEST(ChooseWords, AcceptsPartnersExactlyAtTheMatchingBounds) {
  // Anchor: length 6, frequency 20. Partners at length 4 and 8 and
  // frequency 10 and 30 qualify; one step further does not.
  WordTable table = tableOf({{"anchor", 8, 3, 20},
                             {"negs", 2, 3, 10},
                             {"neutrals", 5, 3, 30},
                             {"neg", 2, 3, 20},
                             {"neutralsx", 5, 3, 20},
                             {"negx", 2, 3, 9},
                             {"neux", 5, 3, 31}});
  RandomSource random(11);
  WordTable onlyFar = table;  // only the partners one step too far remain
  onlyFar.records[1].excluded = onlyFar.records[2].excluded = true;
  const SelectionResult result = choose(table, 3, 3, random);
  ASSERT_TRUE(result.complete());
  EXPECT_EQ(chosenIndexes(result), (std::vector<int>{0, 1, 2}));
  const SelectionResult far = choose(onlyFar, 3, 3, random);
  EXPECT_EQ(far.shortfall, Shortfall::NoMatchableAnchor);
  EXPECT_TRUE(chosenIndexes(far).empty());
}

TEST(ChooseWords, CyclesAnchorCategoriesButNeverAnchorsTheLast) {
  // `bands` frequency bands of one word per category make `bands` groups;
  // one more unmatchable word per category keeps every category non-empty,
  // so the shortfall names the anchor category of the group after them.
  const float valence[] = {8, 2, 5, 8, 2, 5};
  const float arousal[] = {3, 3, 3, 7, 7, 7};
  for (auto [bands, nextAnchor] : {std::pair{4, 5}, {5, 1}, {6, 2}}) {
    std::vector<NormsWord> words;
    for (int band = 0; band <= bands; ++band) {
      for (int c = 0; c < 6; ++c) {
        const int freq = band < bands ? band * 100 : 10000 + c * 100;
        words.push_back(
            {"w" + std::to_string(band) + std::to_string(c), valence[c], arousal[c], freq});
      }
    }
    WordTable table = tableOf(words);
    RandomSource random(5);
    const SelectionResult result = choose(table, 60, 6, random);
    EXPECT_EQ(result.matched, bands * 6);
    EXPECT_EQ(result.shortfall, Shortfall::NoMatchableAnchor);
    EXPECT_EQ(result.category, nextAnchor) << bands << " bands";
  }
}

TEST(ChooseWords, RecordsEachGroupAnchorFirstWithPartnersWithinBounds) {
  // Spread lengths and frequencies so the bounds matter.
  const float valence[] = {8, 2, 5, 8, 2, 5};
  const float arousal[] = {3, 3, 3, 7, 7, 7};
  std::vector<NormsWord> words;
  for (int i = 0; i < 40; ++i) {
    for (int c = 0; c < 6; ++c) {
      words.push_back(
          {std::string(3 + (i * 7 + c) % 6, static_cast<char>('a' + c)) + std::to_string(i),
           valence[c], arousal[c], (i * 13 + c * 5) % 40});
    }
  }
  WordTable table = tableOf(words);
  RandomSource random(31);
  const SelectionResult result = choose(table, 42, 6, random);
  ASSERT_TRUE(result.complete());
  ASSERT_EQ(result.groups.size(), 7u);
  const int anchorCategories[] = {1, 2, 3, 4, 5, 1, 2};
  for (size_t g = 0; g < result.groups.size(); ++g) {
    const std::vector<int>& group = result.groups[g];
    ASSERT_EQ(group.size(), 6u);
    const WordRecord& anchor = table.records[group[0]];
    EXPECT_EQ(categoryNumber(anchor), anchorCategories[g]);
    std::set<int> categories;
    for (int i : group) {
      const WordRecord& r = table.records[i];
      categories.insert(categoryNumber(r));
      EXPECT_LE(std::abs(r.len - anchor.len), 2) << r.word() << " vs " << anchor.word();
      EXPECT_LE(std::abs(r.freq - anchor.freq), 10) << r.word() << " vs " << anchor.word();
    }
    EXPECT_EQ(categories, (std::set<int>{1, 2, 3, 4, 5, 6}));
  }
}

TEST(ChooseWords, RoundsDownToWholeGroups) {
  for (auto [wanted, k, expected] : {std::tuple{12, 6, 12},
                                     {16, 3, 15},
                                     {16, 6, 12},
                                     {5, 6, 0},
                                     {0, 3, 0},
                                     {-1, 3, 0},
                                     {17, 4, 16}}) {
    WordTable table = uniformTable(10);
    RandomSource random(9);
    const SelectionResult result = choose(table, wanted, k, random);
    EXPECT_TRUE(result.complete()) << wanted;
    EXPECT_EQ(result.matched, expected) << wanted;
    EXPECT_EQ(static_cast<int>(chosenIndexes(result).size()), expected) << wanted;
    EXPECT_EQ(result.wanted, expected) << wanted;
  }
}

TEST(ChooseWords, MakesNoDrawWhenNoGroupFits) {
  WordTable table = uniformTable(2);
  RandomSource random(1);
  choose(table, 5, 6, random);
  EXPECT_EQ(random.next(), 41);
}

TEST(ChooseWords, NeverChoosesBarredOrOutOfPlayRecords) {
  WordTable table = uniformTable(20);
  for (int i = 0; i < table.count(); i += 4) table.records[i].excluded = true;
  RandomSource random(77);
  const SelectionResult result = choose(table, 12, 3, random);
  ASSERT_TRUE(result.complete());
  for (int i : chosenIndexes(result)) {
    EXPECT_FALSE(table.records[i].excluded);
    EXPECT_GE(categoryNumber(table.records[i]), 1);
    EXPECT_LE(categoryNumber(table.records[i]), 3);
  }
}

TEST(ChooseWords, EndsPromptlyWithTheShortfallWhenACategoryIsEmpty) {
  WordTable table = uniformTable(3);
  for (WordRecord& r : table.records) {
    if (categoryNumber(r) == 6) r.excluded = true;
  }
  RandomSource random(1);
  const SelectionResult result = choose(table, 12, 6, random);
  EXPECT_EQ(result.shortfall, Shortfall::CategoryEmpty);
  EXPECT_EQ(result.category, 6);
  EXPECT_EQ(result.matched, 0);
  EXPECT_EQ(result.wanted, 12);
  EXPECT_EQ(random.next(), 41) << "the check must not draw";
}

TEST(ChooseWords, StopsWhenTheWordsRunOutAndKeepsOnlyCompleteGroups) {
  WordTable table = uniformTable(4);
  RandomSource random(2);
  const SelectionResult result = choose(table, 2147483647, 6, random);
  EXPECT_EQ(result.shortfall, Shortfall::CategoryEmpty);
  EXPECT_EQ(result.matched, 24);
  EXPECT_EQ(result.wanted, 2147483646);
  EXPECT_EQ(chosenIndexes(result).size(), 24u);
}

TEST(ChooseWords, StopsWhenNoAnchorHasPartnersInEveryCategory) {
  // Positive words are far from every negative word in frequency.
  WordTable table = tableOf({{"pos", 8, 3, 100}, {"neg", 2, 3, 20}, {"neu", 5, 3, 100}});
  const int firstDraw = RandomSource(4).next();
  RandomSource random(4);
  const SelectionResult result = choose(table, 3, 3, random);
  EXPECT_EQ(result.shortfall, Shortfall::NoMatchableAnchor);
  EXPECT_EQ(result.category, 1);
  EXPECT_EQ(random.next(), firstDraw) << "the check must not draw";
}

TEST(ChooseWords, ListsAreReproducibleAndEachRecordIsChosenOnce) {
  WordTable first = uniformTable(30);
  WordTable second = uniformTable(30);
  RandomSource random(123);
  const SelectionResult a = choose(first, 60, 6, random);
  RandomSource again(123);
  const SelectionResult b = choose(second, 60, 6, again);
  EXPECT_EQ(chosenIndexes(a), chosenIndexes(b));
  const std::vector<int> chosen = chosenIndexes(a);
  EXPECT_EQ(std::set<int>(chosen.begin(), chosen.end()).size(), 60u);
}

}  // namespace

namespace {

TEST(ChooseWords, BackstopEndsAGroupThatTakesTooManyDraws) {
  // One word per category among 1030 records: a group needs about 10^8
  // draws on average, far beyond a backstop of 5000.
  std::vector<NormsWord> words = {{"pos", 8, 3, 20}, {"neg", 2, 3, 20}, {"neu", 5, 3, 20},
                                  {"pas", 8, 7, 20}, {"nag", 2, 7, 20}, {"nau", 5, 7, 20}};
  for (int i = 0; i < 1024; ++i) words.push_back({"filler" + std::to_string(i), 3.5, 5, 20});
  WordTable table = tableOf(words);
  RandomSource random(8);
  const SelectionResult result = choose(table, 6, 6, random, 5000);
  EXPECT_EQ(result.shortfall, Shortfall::DrawLimit);
  EXPECT_EQ(result.matched, 0);
  EXPECT_TRUE(chosenIndexes(result).empty()) << "a group cut short is released";
}

}  // namespace
