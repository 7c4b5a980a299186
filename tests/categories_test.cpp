#include "words/categories.h"

#include <gtest/gtest.h>

#include "tests/test_support.h"
#include "words/norms_loader.h"

namespace {

// Classifies a record parsed from text, so the ratings are the floats the
// loader would hold.
int categoryOfLine(const std::string& valMn, const std::string& valSd, const std::string& aroMn) {
  WordRecord r;
  std::string problem;
  const std::string line = "w 1 " + valMn + " " + valSd + " " + aroMn + " 1 1 1 10";
  EXPECT_TRUE(parseNormsLine(line, r, problem)) << problem;
  return static_cast<int>(classify(r.valMn, r.valSd, r.aroMn));
}

TEST(Classify, ArousalCutOffsCompareFloatRatingsWithDoubleConstants) {
  // 5.67f lies above 5.67; 5.72f lies below 5.72.
  EXPECT_EQ(categoryOfLine("7.5", "1.0", "5.67"), 4);
  EXPECT_EQ(categoryOfLine("7.5", "1.0", "5.66"), 1);
  EXPECT_EQ(categoryOfLine("2.0", "1.0", "5.72"), 2);
  EXPECT_EQ(categoryOfLine("2.0", "1.0", "5.73"), 5);
  EXPECT_EQ(categoryOfLine("5.0", "1.0", "4.0"), 3);
  EXPECT_EQ(categoryOfLine("5.0", "1.0", "4.01"), 6);
}

TEST(Classify, ValenceBandsExcludeTheirBounds) {
  for (const char* valence : {"3.0", "4.0", "6.0", "7.0", "3.5", "6.5"}) {
    EXPECT_EQ(categoryOfLine(valence, "1.0", "3.0"), 0) << valence;
  }
  EXPECT_EQ(categoryOfLine("2.99", "1.0", "3.0"), 2);
  EXPECT_EQ(categoryOfLine("7.01", "1.0", "3.0"), 1);
  EXPECT_EQ(categoryOfLine("4.01", "1.0", "3.0"), 3);
  EXPECT_EQ(categoryOfLine("5.99", "1.0", "3.0"), 3);
}

TEST(Classify, ValenceSpreadAboveTwoLeavesTheWordUnclassed) {
  EXPECT_EQ(categoryOfLine("8.0", "2.0", "3.0"), 1);
  EXPECT_EQ(categoryOfLine("8.0", "2.01", "3.0"), 0);
  EXPECT_EQ(categoryOfLine("1.0", "2.01", "8.0"), 0);
}

TEST(CategoriesInPlay, ModesNumberTheirCategoriesAndKeepTheirLabels) {
  using C = AffectCategory;
  EXPECT_EQ(categoriesInPlay(ListMode::FullMode),
            (std::vector<C>{C::PosCalm, C::NegCalm, C::NeuCalm, C::PosAroused, C::NegAroused,
                            C::NeuAroused}));
  EXPECT_EQ(categoriesInPlay(ListMode::NoArousalMode),
            (std::vector<C>{C::PosCalm, C::NegCalm, C::NeuCalm}));
  // Without neutral words, aroused positive is the third category in play
  // and still prints "+a".
  EXPECT_EQ(categoriesInPlay(ListMode::NoNeutralMode),
            (std::vector<C>{C::PosCalm, C::NegCalm, C::PosAroused, C::NegAroused}));
  EXPECT_STREQ(labelOf(C::PosCalm), "+ ");
  EXPECT_STREQ(labelOf(C::NeuCalm), "N ");
  EXPECT_STREQ(labelOf(C::PosAroused), "+a");
  EXPECT_STREQ(labelOf(C::NegAroused), "-a");
  EXPECT_STREQ(labelOf(C::NeuAroused), "Na");
  EXPECT_STREQ(labelOf(C::Unclassed), "");
}

}  // namespace
