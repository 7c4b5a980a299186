#include "output/result_table.h"

#include <gtest/gtest.h>

#include <sstream>

#include "tests/test_support.h"

namespace {

const char* const kHeader = "\ncount\tWord\t\tVal\tValMn\tAroMn\tLen\tFreq\n";

TEST(PrintList, PrintsChosenRecordsInTableOrderWithPaddingAndThreeDecimals) {
  WordTable table = tableOf({{"delight", 7.25f, 5.5f, 12},
                             {"skipped", 2, 3, 5},
                             {"extraordinarily", 2.125f, 6.0f, 3},
                             {"unbelievablenesses", 5, 3, 1}});
  std::ostringstream out;
  printList(table, {0, 2, 3}, out);
  EXPECT_EQ(out.str(), std::string(kHeader) +
                           "1\tdelight        \t+ \t7.250\t5.500\t7\t12\n"
                           "2\textraordinarily\t-a\t2.125\t6.000\t15\t3\n"
                           "3\tunbelievablenesses\tN \t5.000\t3.000\t18\t1\n");
}

TEST(PrintList, PadsWordsByLettersAndPrintsDecimalFrequenciesWithTwoPlaces) {
  // "\xD0\xB4\xD0\xBE\xD0\xBC" is a three-letter Cyrillic word of six bytes.
  WordTable table = tableOf({{"\xD0\xB4\xD0\xBE\xD0\xBC", 8, 3, 12}, {"caf\xE9", 2, 3, 5}});
  table.records[1].freq = 12.345;
  table.records[1].wholeFreq = false;
  std::ostringstream out;
  printList(table, {0, 1}, out);
  EXPECT_EQ(out.str(), std::string(kHeader) +
                           "1\t\xD0\xB4\xD0\xBE\xD0\xBC            \t+ \t8.000\t3.000\t3\t12\n"
                           "2\tcaf\xE9           \t- \t2.000\t3.000\t4\t12.35\n");
}

TEST(PrintList, EmptyListPrintsTheHeaderOnly) {
  WordTable table = tableOf({{"calm", 8, 3, 1}});
  std::ostringstream out;
  printList(table, {}, out);
  EXPECT_EQ(out.str(), kHeader);
}

TEST(PrintList, UsesTheLabelsOfTheListWithoutNeutralWords) {
  WordTable table = tableOf({{"thrill", 8, 7, 1}, {"panic", 2, 7, 1}, {"mild", 8, 3, 1}});
  std::ostringstream out;
  printList(table, {0, 1, 2}, out);
  EXPECT_NE(out.str().find("thrill         \t+a\t"), std::string::npos);
  EXPECT_NE(out.str().find("panic          \t-a\t"), std::string::npos);
  EXPECT_NE(out.str().find("mild           \t+ \t"), std::string::npos);
}

TEST(PrintShortfall, NamesTheCountsAndTheCategoryThatRanShort) {
  SelectionResult result;
  result.wanted = 36;
  result.matched = 12;
  result.shortfall = Shortfall::CategoryEmpty;
  result.category = 3;
  std::ostringstream out;
  printShortfall(result, categoriesInPlay(ListMode::FullMode), MatchRules{}, out);
  EXPECT_EQ(out.str(),
            "Only 12 of 36 words could be matched.\n"
            "No word of category 3 (label \"N \") is left to choose.\n");
  std::ostringstream none;
  printShortfall(SelectionResult{}, categoriesInPlay(ListMode::FullMode), MatchRules{}, none);
  EXPECT_EQ(none.str(), "");
}

}  // namespace
