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
  classify(r);
  return r.category;
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

TEST(DropNeutral, RenumbersInOrderAndRelabels) {
  WordTable table = tableOf({{"pc", 8, 3, 1},
                             {"nc", 2, 3, 1},
                             {"uc", 5, 3, 1},
                             {"pa", 8, 7, 1},
                             {"na", 2, 7, 1},
                             {"ua", 5, 7, 1},
                             {"gap", 3.5, 3, 1}});
  dropNeutral(table, table.count());
  std::vector<int> categories;
  for (const WordRecord& r : table.records) categories.push_back(r.category);
  EXPECT_EQ(categories, (std::vector<int>{1, 2, 7, 3, 4, 6, 0}));
  EXPECT_EQ(labelOf(table.labels, 3), "+a");
  EXPECT_EQ(labelOf(table.labels, 4), "-a");
  EXPECT_EQ(labelOf(table.labels, 5), "-a");
  EXPECT_EQ(labelOf(table.labels, 6), "Na");
  EXPECT_EQ(labelOf(table.labels, 7), "");
}

TEST(DropNeutral, LeavesRecordsBeyondTheCountAlone) {
  WordTable table = tableOf({{"uc", 5, 3, 1}, {"pa", 8, 7, 1}});
  dropNeutral(table, 1);
  EXPECT_EQ(table.records[0].category, 7);
  EXPECT_EQ(table.records[1].category, 4);
}

TEST(Labels, DefaultsAndGroupSizes) {
  const LabelTable labels = defaultLabelTable();
  EXPECT_EQ(labelOf(labels, 1), "+ ");
  EXPECT_EQ(labelOf(labels, 3), "N ");
  EXPECT_EQ(labelOf(labels, 6), "Na");
  EXPECT_EQ(labelOf(labels, 0), "");
  EXPECT_EQ(labelOf(labels, 8), "");
  EXPECT_EQ(groupSize(ListMode::FullMode), 6);
  EXPECT_EQ(groupSize(ListMode::NoArousalMode), 3);
  EXPECT_EQ(groupSize(ListMode::NoNeutralMode), 4);
}

}  // namespace
