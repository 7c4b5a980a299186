// A catalogue of the inputs researchers actually feed the tool: files edited
// in spreadsheets, saved on other systems, cut short, or typed by hand, and
// odd command lines. Each row runs the binary and states the exit status,
// what the message must name, and whether a table may be printed.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>

#include "tests/test_support.h"
#include "words/norms_loader.h"

namespace {

std::string normsWith(int dataLine, const std::string& line) {
  std::string text = normsFileText(blockFixtureWords(100));
  size_t start = 0;
  for (int i = 1; i < kNormsHeaderLines + dataLine + 1; ++i) start = text.find('\n', start) + 1;
  text.replace(start, text.find('\n', start) - start, line);
  return text;
}

std::string cutAfterLines(const std::string& text, int lines) {
  size_t end = 0;
  for (int i = 0; i < lines; ++i) end = text.find('\n', end) + 1;
  return text.substr(0, end);
}

const std::string kGood = normsFileText(blockFixtureWords(100));
const std::string kTags = "3\n<adj>glad</adj>\n<adj>grim</adj>\n<adj>desk</adj>\n";
const std::string kRow = "1\tglad           \t+ \t8.000\t3.000\t4\t10\n";

struct Row {
  const char* name;
  // Written over the good fixture; nullopt removes the file.
  std::map<std::string, std::optional<std::string>> files;
  std::vector<std::string> args;
  int status;
  std::string message;  // must appear in the output ("" for none)
  bool table;           // whether the result table is printed
};

std::vector<Row> catalogue() {
  const std::vector<std::string> kAdj = {"3", "NO", "0", "adj"};
  const std::vector<std::string> kUsed = {"3", "NO", "used.txt"};
  std::string crOnly = kGood;
  for (char& c : crOnly) c = c == '\n' ? '\r' : c;
  // clang-format off
  return {
      {"missing norms file", {{"KOVA.txt", std::nullopt}},
       {"12", "--seed=1"}, 1, "Couldn't open norms file KOVA.txt", false},
      {"missing tag file", {{"kovatags.txt", std::nullopt}},
       kAdj, 1, "Couldn't open part-of-speech word file kovatags.txt", false},
      {"missing exclusion file", {},
       {"3", "NO", "nothere.txt"}, 1, "Couldn't open bad word file nothere.txt", false},
      {"folder named as the exclusion file", {},
       {"3", "NO", "sub"}, 1, "Couldn't open bad word file sub", false},
      {"empty norms file", {{"KOVA.txt", ""}}, {"12"}, 1, "KOVA.txt: the file is empty", false},
      {"empty tag file", {{"kovatags.txt", ""}}, kAdj, 1, "kovatags.txt line 1: ", false},
      {"empty exclusion file", {{"used.txt", ""}}, kUsed, 1, "used.txt line 1: ", false},
      {"norms cut in the header", {{"KOVA.txt", cutAfterLines(kGood, 10)}},
       {"12"}, 1, "KOVA.txt: the file ends after line 10", false},
      {"norms cut in the data", {{"KOVA.txt", cutAfterLines(kGood, 500)}},
       {"12"}, 1, "KOVA.txt: the file ends after line 500", false},
      {"data line with eight fields", {{"KOVA.txt", normsWith(8, "w 1 8 1 3 1 1 1")}},
       {"12"}, 1, "KOVA.txt line 50: expected 9 fields", false},
      {"non-numeric rating", {{"KOVA.txt", normsWith(0, "w 1 8 1 high 1 1 1 10")}},
       {"12"}, 1, "KOVA.txt line 42: arousal mean \"high\"", false},
      {"40-character word",
       {{"KOVA.txt", normsWith(1029, std::string(40, 'w') + " 1 8 1 3 1 1 1 10")}},
       {"12"}, 1, "KOVA.txt line 1071: word", false},
      {"integer beyond 32 bits", {{"KOVA.txt", normsWith(3, "w 1 8 1 3 1 1 1 4294967296")}},
       {"12"}, 1, "KOVA.txt line 45: frequency \"4294967296\"", false},
      {"NUL byte in a word",
       {{"KOVA.txt", normsWith(3, std::string("w\0x 1 8 1 3 1 1 1 10", 20))}},
       {"12"}, 1, "KOVA.txt line 45: word contains a NUL byte", false},
      {"invalid UTF-8 in a word is kept as bytes",
       {{"KOVA.txt", normsWith(1000, "caf\xE9\xFF 1 5 1 3 1 1 1 10")}},
       {"12", "--seed=1"}, 0, "", true},
      {"single 1 MB header line", {{"KOVA.txt", std::string(1 << 20, 'h') + kGood}},
       {"12"}, 0, "", true},
      {"single 1 MB data line", {{"KOVA.txt", normsWith(5, std::string(1 << 20, 'w'))}},
       {"12"}, 1, "KOVA.txt line 47: expected 9 fields", false},
      {"CR-only line endings", {{"KOVA.txt", crOnly}},
       {"12"}, 1, "KOVA.txt: the file ends after line 1", false},
      {"tag file without a count", {{"kovatags.txt", "<adj>glad</adj>\n"}},
       kAdj, 1, "kovatags.txt line 1: expected the number of entries", false},
      {"exclusion file without a count", {{"used.txt", "glad\n"}},
       kUsed, 1, "used.txt line 1: expected the number of entries", false},
      {"tag count larger than its lines", {{"kovatags.txt", "9" + kTags.substr(1)}},
       kAdj, 0, "Warning: kovatags.txt announces 9 entries but holds only 3", true},
      {"tag count smaller than its lines", {{"kovatags.txt", "2" + kTags.substr(1)}},
       kAdj, 3, "Warning: kovatags.txt announces 2 entries but has 1 more", true},
      {"negative tag count", {{"kovatags.txt", "-2" + kTags.substr(1)}},
       kAdj, 3, "Warning: kovatags.txt announces -2 entries", true},
      {"exclusion count larger than its lines", {{"used.txt", "5\nrage\n"}},
       kUsed, 0, "Warning: used.txt announces 5 entries but holds only 1", true},
      {"exclusion count smaller than its lines", {{"used.txt", "1\nrage\nglad\n"}},
       kUsed, 0, "Warning: used.txt announces 1 entries but has 1 more", true},
      {"negative exclusion count", {{"used.txt", "-1\nglad\n"}},
       kUsed, 0, "Warning: used.txt announces -1 entries", true},
      {"tag count 0 bars every word", {{"kovatags.txt", "0\n"}},
       kAdj, 3, "Only 0 of 3 words could be matched.", true},
      {"over-long exclusion words",
       {{"used.txt", "2\n" + std::string(300, 'g') + "\nglad" + std::string(40, 'x') + "\n"}},
       kUsed, 0, "Marking bad words or trying to...Done Marking\n", true},
      {"over-long tags and words",
       {{"kovatags.txt", "2\n<adjective-phrase>glad</adjective-phrase>\n<adj>" +
                         std::string(300, 'g') + "</adj>\n"}},
       kAdj, 3, "No word of category 1", true},
      {"unknown option", {}, {"12", "--colour"}, 2, "unknown option '--colour'", false},
      {"malformed seed", {}, {"12", "--seed=1e3"}, 2, "bad value '1e3' for --seed", false},
      {"N of -1", {}, {"-1"}, 0, "", true},
      {"N of 0", {}, {"0"}, 0, "", true},
      {"N of 2147483647", {},
       {"2147483647", "NO", "--seed=1"}, 3, "Only 300 of 2147483646 words", true},
      {"N of 99999999999 saturates", {},
       {"99999999999", "NO", "--seed=1"}, 3, "Only 300 of 2147483646 words", true},
      {"N of 12abc reads 12", {}, {"12abc", "--seed=1"}, 0, "12\tloud", true},
  };
  // clang-format on
}

TEST(BadInput, EveryRowEndsAsStated) {
  for (const Row& row : catalogue()) {
    TempDir dir;
    dir.write("KOVA.txt", kGood);
    dir.write("kovatags.txt", kTags);
    for (const auto& [name, content] : row.files) {
      if (content) {
        dir.write(name, *content);
      } else {
        std::remove((dir.path() + "/" + name).c_str());
      }
    }
    std::filesystem::create_directory(dir.path() + "/sub");
    const RunResult r = runStimsel(dir.path(), row.args);
    EXPECT_EQ(r.status, row.status) << row.name << "\n" << r.output.substr(0, 2000);
    EXPECT_NE(r.output.find(row.message), std::string::npos) << row.name << "\n"
                                                             << r.output.substr(0, 2000);
    const bool table = r.output.find("\ncount\tWord\t\tVal") != std::string::npos;
    EXPECT_EQ(table, row.table) << row.name;
    EXPECT_EQ(r.output.find("Done.\n") != std::string::npos, row.table) << row.name;
  }
}

}  // namespace
