// The design options as a user types them: what each accepts, and the
// message for each mistake a user makes.
#include "design/design_text.h"

#include <gtest/gtest.h>

namespace {

struct SplitRow {
  const char* name;
  const char* text;
  const char* bands;  // each band's label and interval, or "" when refused
  const char* error;  // the message, or "" when accepted
};

std::string describe(const Split& split) {
  std::string text = split.variable + ":";
  for (const Band& band : split.bands) text += " " + band.label() + "=" + band.interval.text();
  return text;
}

TEST(DesignText, SplitsAsTyped) {
  const SplitRow rows[] = {
      {"named bands", "valence=neg:[1,3) pos:(7,9]", "valence: neg=[1,3) pos=(7,9]", ""},
      {"unnamed bands label by interval", "Conc.M=[1,2.5] (2.5,5]",
       "Conc.M: [1,2.5]=[1,2.5] (2.5,5]=(2.5,5]", ""},
      {"infinite bounds", "zipf = low:(-inf,3) high:[3,inf)", "zipf: low=(-inf,3) high=[3,inf)",
       ""},
      {"spaces inside an interval", "aoa=young:[ 2 , 7 ] old:(7,17]", "aoa: young=[2,7] old=(7,17]",
       ""},
      {"overlapping bands", "valence=neg:[1,3] mid:[3,5]", "",
       "bands neg:[1,3] and mid:[3,5] overlap"},
      {"nested bands", "valence=[1,9] [2,3]", "", "bands [1,9] and [2,3] overlap"},
      {"touching open bands do not overlap", "v=(1,3) [3,5]", "v: (1,3)=(1,3) [3,5]=[3,5]", ""},
      {"empty interval", "valence=[5,3]", "",
       "interval [5,3] holds no value (its low bound must lie below its high bound)"},
      {"point open interval", "valence=(3,3]", "",
       "interval (3,3] holds no value (its low bound must lie below its high bound)"},
      {"no variable", "=[1,2]", "",
       "expected VARIABLE=BAND BAND ..., such as 'valence=neg:[1,3) pos:(7,9]'"},
      {"no bands", "valence=", "", "no band given for valence"},
      {"bad bound", "valence=[a,3]", "",
       "interval [a,3]: \"a\" is not a number (write a decimal number, -inf or inf)"},
      {"comma decimal", "valence=[1,5,67]", "",
       "interval [1,5,67]: \"5,67\" is not a number (write a decimal number, -inf or inf)"},
      {"missing bracket", "valence=[1,3", "", "interval \"[1,3\" is not of the form [LOW,HIGH]"},
      {"band without interval", "valence=neg", "",
       "band \"neg\" has no interval; write it as [LOW,HIGH], with ( or ) for an open end"},
      {"bands run together", "valence=[1,2][3,4]", "",
       "put white space between bands (after [1,2])"},
      {"duplicate names", "valence=a:[1,2] a:[3,4]", "", "two bands are named \"a\""},
      {"bad name", "valence=n/g:[1,2]", "",
       "band name \"n/g\" may hold only letters, digits, \"_\", \"-\" and \".\""},
  };
  for (const SplitRow& row : rows) {
    const Result<Split> split = parseSplit(row.text);
    if (*row.error == '\0') {
      ASSERT_TRUE(split.ok()) << row.name << ": " << split.error().text();
      EXPECT_EQ(describe(split.value()), row.bands) << row.name;
    } else {
      ASSERT_FALSE(split.ok()) << row.name;
      EXPECT_EQ(split.error().text(), row.error) << row.name;
    }
  }
}

TEST(DesignText, ControlsAsTyped) {
  struct Row {
    const char* name;
    const char* text;
    const char* variable;  // "" when refused
    double tolerance;
    const char* error;
  };
  const Row rows[] = {
      {"control", "concreteness=0.5", "concreteness", 0.5, ""},
      {"spaced control of zero", "length = 0", "length", 0, ""},
      {"negative tolerance", "zipf=-1", "", 0,
       "tolerance \"-1\" is not a number from 0 to 1000000"},
      {"control without a value", "zipf", "", 0,
       "expected VARIABLE=TOLERANCE, such as 'zipf=0.2' or 'concreteness=0.5'"},
  };
  for (const Row& row : rows) {
    const Result<Control> c = parseControl(row.text);
    if (*row.error != '\0') {
      ASSERT_FALSE(c.ok()) << row.name;
      EXPECT_EQ(c.error().text(), row.error) << row.name;
      continue;
    }
    ASSERT_TRUE(c.ok()) << row.name << ": " << c.error().text();
    EXPECT_EQ(c.value().variable, row.variable) << row.name;
    EXPECT_EQ(c.value().tolerance, row.tolerance) << row.name;
  }
}

TEST(DesignText, ConditionsAsTyped) {
  struct Row {
    const char* name;
    const char* text;
    const char* result;  // the condition as printed, or the error
  };
  const Row rows[] = {
      {"at most", "valence_sd<=2", "valence_sd <= 2"},
      {"spaced", "aoa > 3.5", "aoa > 3.5"},
      {"not equal", "V.Rat.Sum != 20", "V.Rat.Sum != 20"},
      {"equal", "syllables=2", "syllables = 2"},
      {"no operator", "valence 5",
       "expected VARIABLE OP NUMBER with OP one of <, <=, >, >=, =, != (such as "
       "'valence_sd<=2')"},
      {"reversed operator", "valence=>5",
       "unknown operator in \"valence=>5\": use one of <, <=, >, >=, =, !="},
      {"double equals", "valence==5",
       "unknown operator in \"valence==5\": use one of <, <=, >, >=, =, !="},
      {"missing number", "valence<",
       "unknown operator in \"valence<\": use one of <, <=, >, >=, =, !="},
      {"bad number", "valence<five",
       "\"five\" is not a number (write a decimal number, -inf or inf)"},
  };
  for (const Row& row : rows) {
    const Result<Condition> c = parseCondition(row.text);
    EXPECT_EQ(c.ok() ? c.value().text() : c.error().text(), row.result) << row.name;
  }
}

TEST(DesignText, CategoriesAreTheCrossProductInSplitOrder) {
  Design design;
  design.splits.push_back(parseSplit("valence=neg:[1,3) neu:[4,6] pos:(7,9]").value());
  design.splits.push_back(parseSplit("concreteness=[1,2.5] (2.5,5]").value());
  ASSERT_EQ(design.categoryCount(), 6);
  EXPECT_EQ(design.categoryName(1), "neg/[1,2.5]");
  EXPECT_EQ(design.categoryName(2), "neg/(2.5,5]");
  EXPECT_EQ(design.categoryName(6), "pos/(2.5,5]");
  for (int c = 1; c <= 6; ++c) EXPECT_EQ(design.categoryOf(design.bandsOf(c)), c);
  EXPECT_EQ(design.categoryOf({1, -1}), 0);
  // A value on an open bound, or between bands, is in no band.
  EXPECT_EQ(design.splits[0].bandOf(3.0), -1);
  EXPECT_EQ(design.splits[0].bandOf(7.0), -1);
  EXPECT_EQ(design.splits[0].bandOf(6.5), -1);
  EXPECT_EQ(design.splits[0].bandOf(4.0), 1);
  EXPECT_EQ(design.splits[1].bandOf(2.5), 0);
}

TEST(DesignText, WholeDesignChecks) {
  Design design;
  design.splits.push_back(parseSplit("valence=[1,2] [2.5,3] (3,4] (4,5]").value());
  EXPECT_EQ(checkDesign(design), "");
  design.splits.push_back(parseSplit("VALENCE=[1,2] [3,4]").value());
  EXPECT_EQ(checkDesign(design), "VALENCE is split twice; give all its bands in one --split");
  design.splits.pop_back();
  for (int i = 0; i < 3; ++i)
    design.splits.push_back(
        parseSplit("x" + std::to_string(i) + "=[1,2] (2,3] (3,4] (4,5]").value());
  EXPECT_EQ(checkDesign(design),
            "the splits make more than 64 categories; a group holds one word of each");
  Design single;
  single.splits.push_back(parseSplit("valence=[1,9]").value());
  EXPECT_EQ(checkDesign(single),
            "the splits make only one category; a matched group needs at least two");
}

}  // namespace
