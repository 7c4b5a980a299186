#include "words/norms_loader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <sstream>

#include "tests/test_support.h"
#include "words/number_text.h"

namespace {

struct Loaded {
  std::optional<int> count;
  std::string output;
  WordTable table;
};

Loaded loadText(const std::string& text) {
  TempDir dir;
  const std::string path = dir.write("KOVA.txt", text);
  Loaded loaded;
  std::ostringstream out;
  loaded.count = loadNormsInto(path, loaded.table, out);
  loaded.output = out.str();
  return loaded;
}

// The message that follows the "filename is" line, when the load failed.
std::string problemOf(const Loaded& loaded) {
  EXPECT_FALSE(loaded.count.has_value());
  const size_t firstLineEnd = loaded.output.find('\n');
  return loaded.output.substr(firstLineEnd + 1);
}

TEST(LoadNorms, ReadsRecordsInFileOrderAndClassifiesThem) {
  const Loaded loaded =
      loadText(normsFileText({{"joy", 8.21f, 5.5f, 33}, {"grief", 1.5f, 6.0f, 4}}));
  ASSERT_EQ(loaded.count, 1030);
  EXPECT_EQ(loaded.table.count(), 1030);
  const WordRecord& joy = loaded.table.records[0];
  EXPECT_EQ(joy.word(), "joy");
  EXPECT_FLOAT_EQ(joy.valMn, 8.21f);
  EXPECT_EQ(joy.freq, 33);
  EXPECT_EQ(joy.len, 3);
  EXPECT_EQ(categoryNumber(joy), 1);
  EXPECT_EQ(joy.sourceLine, 42);
  EXPECT_FALSE(joy.excluded || joy.duplicate);
  EXPECT_EQ(categoryNumber(loaded.table.records[1]), 5);
  EXPECT_EQ(loaded.table.records[1029].word(), "filler1029");
  EXPECT_NE(loaded.output.find("filename is "), std::string::npos);
}

TEST(LoadNorms, IgnoresLinesAfterTheLastRecordAndTokensAfterTheNinth) {
  std::string text = normsFileText({{"calm", 8, 3, 20}});
  text.insert(text.find("calm") + normsLine({"calm", 8, 3, 20}).size(), " extra tokens");
  const Loaded loaded = loadText(text + "this line is never read\n");
  ASSERT_EQ(loaded.count, 1030);
  EXPECT_EQ(loaded.table.records[0].freq, 20);
}

TEST(LoadNorms, AcceptsCrlfLineEndingsAByteOrderMarkAndLongHeaderLines) {
  std::string text = "\xEF\xBB\xBF" + std::string(5000, 'h') + "\r\n";
  text +=
      normsFileText({{"calm", 8, 3, 20}}, "\r\n").substr(std::string("header line 1\r\n").size());
  const Loaded loaded = loadText(text);
  ASSERT_EQ(loaded.count, 1030) << loaded.output;
  EXPECT_EQ(loaded.table.records[0].word(), "calm");
  EXPECT_EQ(loaded.table.records[1029].freq, 1);
}

TEST(LoadNorms, RefusesAMissingFile) {
  WordTable table;
  std::ostringstream out;
  EXPECT_FALSE(loadNormsInto("/nonexistent/KOVA.txt", table, out));
  EXPECT_EQ(out.str(),
            "filename is /nonexistent/KOVA.txt\nCouldn't open norms file /nonexistent/KOVA.txt\n");
}

TEST(LoadNorms, RefusesAFileCutShort) {
  std::string text = normsFileText({});
  text.resize(text.rfind("filler1029"));
  const Loaded loaded = loadText(text);
  EXPECT_NE(problemOf(loaded).find("ends after line 1070"), std::string::npos) << loaded.output;
  EXPECT_EQ(loaded.table.count(), 0);
}

// Each malformed data line is refused with its 1-based line number.
// A record counts its word's bytes in one byte: the longest words a file
// may hold, of one-byte and of four-byte letters, must come back whole.
TEST(LoadNorms, KeepsTheLongestWordsWhole) {
  const std::string one(31, 'w');
  std::string four;  // 31 letters of four bytes each
  for (int i = 0; i < 31; ++i) four += "\xF0\x9F\x98\x80";
  std::string text = normsFileText({});
  const std::pair<const char*, const std::string*> places[] = {{"filler0008", &one},
                                                               {"filler0009", &four}};
  for (const auto& [filler, word] : places) {
    const size_t at = text.find(filler);
    text.replace(at, text.find('\n', at) - at, *word + " 1 8 1 3 1 1 1 20");
  }
  const Loaded loaded = loadText(text);
  ASSERT_EQ(loaded.count, 1030) << loaded.output;
  // Lines 50 and 51 of the file.
  const WordRecord& a = loaded.table.records[50 - kNormsHeaderLines - 1];
  const WordRecord& b = loaded.table.records[51 - kNormsHeaderLines - 1];
  EXPECT_EQ(a.word(), one);
  EXPECT_EQ(a.len, 31);
  EXPECT_EQ(b.word(), four);
  EXPECT_EQ(b.word().size(), 124u);
  EXPECT_EQ(b.len, 31);
}

TEST(LoadNorms, RefusesMalformedDataLinesNamingFileAndLine) {
  const struct {
    std::string line;
    std::string expected;
  } cases[] = {
      {"calm 1 8.0 1.0 3.0 1.0 1.0 1.0", "expected 9 fields"},
      {"", "found 0"},
      {"calm 1 8.0 1.0 high 1.0 1.0 1.0 20", "arousal mean \"high\" is not a decimal number"},
      {"calm 1 8,5 1.0 3.0 1.0 1.0 1.0 20", "valence mean \"8,5\""},
      {"calm 1 nan 1.0 3.0 1.0 1.0 1.0 20", "valence mean \"nan\""},
      {"calm 1 8.0 1.0 3.0 1.0 1.0 1.0 12.5", "frequency \"12.5\" is not a 32-bit whole number"},
      {"calm 1 8.0 1.0 3.0 1.0 1.0 1.0 2147483648", "frequency \"2147483648\""},
      {"calm x1 8.0 1.0 3.0 1.0 1.0 1.0 20", "number \"x1\""},
      {std::string(32, 'w') + " 1 8 1 3 1 1 1 20", "longer than 31 characters"},
      {std::string("ca\0lm", 5) + " 1 8 1 3 1 1 1 20", "NUL byte"},
  };
  for (const auto& c : cases) {
    std::string text = normsFileText({});
    const size_t line50 = text.find("filler0008");
    text.replace(line50, text.find('\n', line50) - line50, c.line);
    const std::string problem = problemOf(loadText(text));
    EXPECT_NE(problem.find("KOVA.txt:50: "), std::string::npos) << problem;
    EXPECT_NE(problem.find(c.expected), std::string::npos) << problem;
  }
}

TEST(ParseNormsLine, AcceptsTheNumberFormsAScanWouldRead) {
  WordRecord r;
  std::string problem;
  ASSERT_TRUE(parseNormsLine("  w\t-3 +7. .5 1e0 2.5E-1 0 -0 -1000000 trailing", r, problem))
      << problem;
  EXPECT_FLOAT_EQ(r.valMn, 7.0f);
  EXPECT_FLOAT_EQ(r.valSd, 0.5f);
  EXPECT_FLOAT_EQ(r.aroMn, 1.0f);
  EXPECT_EQ(r.freq, -1000000);
  EXPECT_EQ(r.len, 1);
}

}  // namespace

namespace {

// The short-decimal fast paths must give the float strtof and the double
// strtod give, for every form the norms hold: ratings, frequencies with
// many decimals, values with a sign or no integer part.
TEST(ParseDecimal, AgreesWithStrtofAndStrtodOnAMillionDecimals) {
  std::uint32_t state = 12345;
  const auto next = [&state] { return state = state * 1664525u + 1013904223u; };
  const char* const signs[] = {"", "", "-", "+"};
  for (int i = 0; i < 1000000; ++i) {
    std::string text = signs[next() % 4];
    if (next() % 8 != 0) text += std::to_string(next() % (i % 2 == 0 ? 10000 : 100000000));
    const int decimals = static_cast<int>(next() % (i % 2 == 0 ? 6 : 12));
    if (decimals > 0 || text.empty() || text == "-" || text == "+") text += ".";
    for (int d = 1; d < decimals || text.back() == '.'; ++d) {
      text += static_cast<char>('0' + next() % 10);
    }
    float parsedFloat = 0;
    double parsedDouble = 0;
    ASSERT_EQ(parseDecimal(text, parsedDouble, 1e12), NumberStatus::Ok) << text;
    ASSERT_EQ(parsedDouble, std::strtod(text.c_str(), nullptr)) << text;
    if (std::fabs(parsedDouble) >= 1e6) continue;
    ASSERT_EQ(parseDecimal(text, parsedFloat), NumberStatus::Ok) << text;
    ASSERT_EQ(parsedFloat, std::strtof(text.c_str(), nullptr)) << text;
  }
  // Every rating of the commonest form, "d.dd", and of the forms its quick
  // reading must leave to the loop.
  for (int n = 0; n < 10000; ++n) {
    const std::string digits = std::to_string(10000 + n).substr(1);
    for (const std::string& text : {digits.substr(0, 1) + "." + digits.substr(1, 2),
                                    digits.substr(0, 1) + "." + digits.substr(1),
                                    "-" + digits.substr(0, 1) + "." + digits.substr(1, 2)}) {
      float parsed = 0;
      ASSERT_EQ(parseDecimal(text, parsed), NumberStatus::Ok) << text;
      ASSERT_EQ(parsed, std::strtof(text.c_str(), nullptr)) << text;
    }
  }
  double beyond = 0;
  EXPECT_EQ(parseDecimal("5000001", beyond, 5000000), NumberStatus::OutOfRange);
  float big = 0;
  EXPECT_EQ(parseDecimal("9999999", big), NumberStatus::OutOfRange);
}

}  // namespace
