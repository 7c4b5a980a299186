// Checks the sample norms and tag files in data/, so that a broken
// regeneration of them is caught.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>

#include "select/random_source.h"
#include "select/selection.h"
#include "tests/test_support.h"
#include "words/norms_loader.h"
#include "words/pos_filter.h"

namespace {

const std::string kNorms = std::string(STIMSEL_SOURCE_DIR) + "/data/KOVA.txt";
const std::string kTags = std::string(STIMSEL_SOURCE_DIR) + "/data/kovatags.txt";

class SampleData : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::ostringstream out;
    table_ = new WordTable;
    ASSERT_TRUE(loadNormsInto(kNorms, *table_, out)) << out.str();
  }
  static void TearDownTestSuite() { delete table_; }

  // Category counts of the words the tag file lists under `tag`.
  static std::map<int, int> countsFor(const std::string& tag) {
    WordTable filtered = *table_;
    std::ostringstream out;
    EXPECT_TRUE(markPosFile(tag, filtered, kTags, out));
    EXPECT_EQ(out.str().find("Warning"), std::string::npos) << out.str();
    std::map<int, int> counts;
    for (const WordRecord& r : filtered.records) {
      if (!r.excluded) ++counts[categoryNumber(r)];
    }
    return counts;
  }

  static WordTable* table_;
};

WordTable* SampleData::table_ = nullptr;

TEST_F(SampleData, EveryCategoryHoldsAtLeastEightyWords) {
  std::map<int, int> counts;
  for (const WordRecord& r : table_->records) ++counts[categoryNumber(r)];
  for (int c = 1; c <= 6; ++c) EXPECT_GE(counts[c], 80) << "category " << c;
  EXPECT_GE(counts[0], 12) << "unclassed";
}

TEST_F(SampleData, WordsAreDistinctLowerCaseAndShort) {
  std::set<std::string> seen;
  for (const WordRecord& r : table_->records) {
    EXPECT_TRUE(seen.emplace(r.word()).second) << r.word();
    EXPECT_LE(r.len, 15) << r.word();
    EXPECT_EQ(r.word().find_first_not_of("abcdefghijklmnopqrstuvwxyz"), std::string::npos)
        << r.word();
  }
}

TEST_F(SampleData, TagsCoverTheCategoriesTheyPlausiblyCan) {
  for (const char* tag : {"n", "v", "adj", "adv"}) {
    const std::map<int, int> counts = countsFor(tag);
    for (int c = 1; c <= 6; ++c) EXPECT_GT(counts.count(c), 0u) << tag << " category " << c;
  }
  for (const char* tag : {"prep", "conj"}) {
    const std::map<int, int> counts = countsFor(tag);
    EXPECT_GT(counts.count(3) + counts.count(6), 0u) << tag;
  }
}

// The sample must support the lists a newcomer tries first.
TEST_F(SampleData, TypicalListsCompleteForAlmostEverySeed) {
  const struct {
    int wanted;
    ListMode mode;
    const char* tag;
  } requests[] = {{36, ListMode::FullMode, nullptr},
                  {48, ListMode::NoArousalMode, "adj"},
                  {40, ListMode::NoNeutralMode, "n"},
                  {12, ListMode::FullMode, "v"}};
  for (const auto& request : requests) {
    WordTable prepared = *table_;
    std::ostringstream out;
    if (request.tag) markPosFile(request.tag, prepared, kTags, out);
    int complete = 0;
    for (std::uint32_t seed = 1; seed <= 100; ++seed) {
      RandomSource random(seed);
      complete += chooseWords(prepared, categoriesInPlay(request.mode), request.wanted,
                              MatchRules{}, random)
                      .complete();
    }
    EXPECT_GE(complete, 95) << request.wanted << " words, tag "
                            << (request.tag ? request.tag : "-");
  }
}

}  // namespace
