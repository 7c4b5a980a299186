#include "words/pos_filter.h"

#include <gtest/gtest.h>

#include <sstream>

#include "tests/test_support.h"

namespace {

WordTable sampleTable() {
  return tableOf({{"calm", 8, 3, 10}, {"run", 5, 7, 10}, {"calm", 8, 3, 12}, {"fast", 5, 6, 9}});
}

std::vector<bool> admitted(const WordTable& table) {
  std::vector<bool> flags;
  for (const WordRecord& r : table.records) flags.push_back(!r.excluded);
  return flags;
}

struct Marked {
  bool ok;
  std::string output;
  WordTable table = sampleTable();
};

Marked mark(const std::string& tag, const std::string& tagFileText) {
  TempDir dir;
  const std::string path = dir.write("kovatags.txt", tagFileText);
  Marked m;
  std::ostringstream out;
  m.ok = markPosFile(tag, m.table, path, out);
  m.output = out.str();
  return m;
}

TEST(ParsePosEntry, SplitsTagAndWordWithoutTruncating) {
  EXPECT_EQ(parsePosEntry("<adj>calm</adj>").tag, "adj");
  EXPECT_EQ(parsePosEntry("<adj>calm</adj>").word, "calm");
  EXPECT_EQ(parsePosEntry("xadj>calm").word, "calm");
  EXPECT_EQ(parsePosEntry("<adj>calm<anything at all").word, "calm");
  EXPECT_EQ(parsePosEntry("<adjective>" + std::string(40, 'w') + "<").tag, "adjective");
  EXPECT_EQ(parsePosEntry("<adjective>" + std::string(40, 'w') + "<").word, std::string(40, 'w'));
  EXPECT_EQ(parsePosEntry("<adj calm").tag, "adj calm");
  EXPECT_EQ(parsePosEntry("<adj calm").word, "");
  EXPECT_EQ(parsePosEntry("").tag, "");
  EXPECT_EQ(parsePosEntry("<").tag, "");
}

TEST(MarkPos, ReadmitsOnlyTheFirstRecordOfEachWordListedUnderTheTag) {
  const Marked m =
      mark("adj", "4\n<adj>calm</adj>\n<v>run</v>\n<adj>fast</adj>\n<adv>fast</adv>\n");
  ASSERT_TRUE(m.ok);
  EXPECT_EQ(admitted(m.table), (std::vector<bool>{true, false, false, true}));
  EXPECT_EQ(m.output, "Marking pos: adj's..Done Marking pos\n");
}

TEST(MarkPos, ComparesTagsExactlyAndCaseSensitively) {
  EXPECT_EQ(admitted(mark("adj", "2\n<Adj>calm</Adj>\n<adjective>fast<\n").table),
            (std::vector<bool>{false, false, false, false}));
  EXPECT_EQ(admitted(mark("n", "1\n<n>Calm</n>\n").table),
            (std::vector<bool>{false, false, false, false}));
}

TEST(MarkPos, EntriesWithoutAClosingTagAndCrlfLinesStillMatch) {
  const Marked m = mark("v", "3\r\n<v>run\r\n<v>fast</v>\r\n<v>calm");
  EXPECT_EQ(admitted(m.table), (std::vector<bool>{true, true, false, true}));
}

TEST(MarkPos, PrintsADotForEveryFiftiethEntry) {
  std::string text = "120\n";
  for (int i = 0; i < 120; ++i) text += "<n>noun" + std::to_string(i) + "</n>\n";
  EXPECT_EQ(mark("n", text).output.rfind("Marking pos: n's....Done Marking pos\n", 0), 0u);
}

TEST(MarkPos, CountZeroBarsEveryWord) {
  const Marked m = mark("adj", "0\n");
  EXPECT_EQ(admitted(m.table), (std::vector<bool>{false, false, false, false}));
  EXPECT_EQ(m.output.rfind("Marking pos: adj's.Done Marking pos\nWarning: ", 0), 0u);
  EXPECT_NE(m.output.find("kovatags.txt lists no word under the tag 'adj'; it holds no tags.\n"),
            std::string::npos);
}

TEST(MarkPos, WarnsAfterTheClosingMessageWhenTheCountIsWrong) {
  const Marked m = mark("adj", "3\n<adj>calm</adj>\n");
  EXPECT_EQ(admitted(m.table), (std::vector<bool>{true, false, false, false}));
  EXPECT_EQ(m.output.find("Marking pos: adj's..Done Marking pos\nWarning: "), 0u) << m.output;
  EXPECT_NE(m.output.find("announces 3 entries but holds only 1"), std::string::npos);
}

TEST(MarkPos, RefusesMissingFilesAndFirstLinesWithoutACount) {
  WordTable table = sampleTable();
  std::ostringstream out;
  EXPECT_FALSE(markPosFile("adj", table, "/nonexistent/kovatags.txt", out));
  EXPECT_EQ(out.str(), "Couldn't open part-of-speech word file /nonexistent/kovatags.txt\n");
  const Marked m = mark("adj", "<adj>calm</adj>\n");
  EXPECT_FALSE(m.ok);
  EXPECT_NE(m.output.find("kovatags.txt:1: "), std::string::npos) << m.output;
  EXPECT_EQ(admitted(m.table), (std::vector<bool>{true, true, true, true}));
}

}  // namespace
