// Numbers, bytes and words as messages and matches show them: numbers that
// read back as given, control bytes made visible, and case variants folded
// alike.
#include <gtest/gtest.h>

#include <string>

#include "output/result_table.h"
#include "words/case_fold.h"
#include "words/message_text.h"

namespace {

TEST(PlainNumber, PrintsWhatReadsBackWithoutExponentOrMinusZero) {
  struct Case {
    const char* name;
    double value;
    double reference;
    const char* text;
  };
  const Case cases[] = {
      {"whole", 10, 0, "10"},
      {"short decimal", 2.5, 0, "2.5"},
      {"tolerance below a millionth", 0.0000004, 0, "0.0000004"},
      {"scale end of a ten-millionth", 0.0000001, 0, "0.0000001"},
      {"more than six decimals", 1.2345678, 0, "1.2345678"},
      {"negative zero", -0.0, 0, "0"},
      {"rounding noise of a computed value", 0.1 + 0.2, 0, "0.3"},
      {"noise around zero on a scale of 3", -3 + 3 * (1 - 1e-17), 3, "0"},
      {"a million", 1e6, 0, "1000000"},
  };
  for (const Case& c : cases) EXPECT_EQ(plainNumber(c.value, c.reference), c.text) << c.name;
}

TEST(ShownText, EscapesControlBytesOnly) {
  EXPECT_EQ(shownText(std::string("a\0b\nc\x1b[2Jd\x7f\t", 12)),
            "a\\x00b\\x0Ac\\x1B[2Jd\\x7F\\x09");
  EXPECT_EQ(shownText("caf\xC3\xA9 \xFF"), "caf\xC3\xA9 \xFF");
}

TEST(NameList, NamesTwentyThenCountsTheRest) {
  std::vector<std::string> names;
  for (int i = 0; i < 100004; ++i) names.push_back("c" + std::to_string(i));
  const std::string list = nameList(names);
  EXPECT_EQ(list.substr(0, 12), "c0, c1, c2, ");
  EXPECT_EQ(list.substr(list.size() - 23), "c18, c19 and 99984 more");
}

TEST(FoldCase, FoldsCapitalsOfLatinGreekAndCyrillicOnly) {
  struct Case {
    const char* name;
    const char* word;
    const char* folded;
  };
  const Case cases[] = {
      {"ASCII", "LoVe", "love"},
      {"Latin-1", "\xC3\x89T\xC3\x89", "\xC3\xA9t\xC3\xA9"},  // ÉTÉ
      {"Latin Extended-A",
       "\xC5\x81\xC3\x93"
       "D\xC5\xB9",
       "\xC5\x82\xC3\xB3"
       "d\xC5\xBA"},  // ŁÓDŹ
      {"Greek with tonos and final sigma", "\xCE\x8C\xCE\xA3\xCE\x9F\xCF\x82",
       "\xCF\x8C\xCF\x83\xCE\xBF\xCF\x83"},                                  // ΌΣΟς
      {"Cyrillic", "\xD0\x9C\xD0\x81\xD0\xB4", "\xD0\xBC\xD1\x91\xD0\xB4"},  // МЁд
      {"multiplication sign stays", "\xC3\x97", "\xC3\x97"},
      {"invalid bytes stay", "\xC3\x28\xFF", "\xC3\x28\xFF"},
  };
  for (const Case& c : cases) EXPECT_EQ(foldCase(c.word), c.folded) << c.name;
}

}  // namespace
