#include "words/exclusion_list.h"

#include <gtest/gtest.h>

#include <sstream>

#include "tests/test_support.h"
#include "words/pos_filter.h"

namespace {

WordTable sampleTable() {
  return tableOf({{"w0", 8, 3, 1},
                  {"w1", 8, 3, 1},
                  {"w2", 8, 3, 1},
                  {"w3", 8, 3, 1},
                  {"w4", 8, 3, 1},
                  {"dread", 2, 7, 1},
                  {"hope", 8, 3, 1},
                  {"hope", 8, 3, 2}});
}

std::vector<int> barred(const WordTable& table) {
  std::vector<int> indexes;
  for (int i = 0; i < table.count(); ++i) {
    if (table.records[i].excluded) indexes.push_back(i);
  }
  return indexes;
}

struct Marked {
  bool ok;
  std::string output;
  WordTable table = sampleTable();
};

Marked mark(const std::string& text) {
  TempDir dir;
  const std::string path = dir.write("used.txt", text);
  Marked m;
  std::ostringstream out;
  m.ok = markBadWordsFile(path, m.table, out);
  m.output = out.str();
  return m;
}

TEST(MarkBadWords, PrintsADotPerEntryAndALinePerRecordBarred) {
  const Marked m = mark("2\ndread and a comment\nzebra\n");
  ASSERT_TRUE(m.ok);
  EXPECT_EQ(
      m.output.rfind("Marking bad words or trying to..Marking bad word dread -- 5\n.Done Marking\n"
                     "Warning: ",
                     0),
      0u);
  EXPECT_NE(m.output.find("used.txt: 1 listed word is not in the norms file: zebra.\n"),
            std::string::npos);
  EXPECT_EQ(barred(m.table), std::vector<int>{5});
}

TEST(MarkBadWords, BarsEveryRecordOfAWordHeldTwice) {
  const Marked m = mark("1\r\nhope\r\n");
  EXPECT_EQ(barred(m.table), (std::vector<int>{6, 7}));
  EXPECT_EQ(m.output,
            "Marking bad words or trying to..Marking bad word hope -- 6\n"
            "Marking bad word hope -- 7\nDone Marking\n");
}

TEST(MarkBadWords, CountZeroBlankLinesAndLongTokensBarNothing) {
  EXPECT_EQ(mark("0\nhope\n").output.substr(0, 44),
            "Marking bad words or trying to.Done Marking\n");
  const Marked m = mark("3\n\n   \n" + std::string(300, 'h') + "\n");
  EXPECT_TRUE(barred(m.table).empty());
  EXPECT_EQ(m.output.substr(0, 47), "Marking bad words or trying to....Done Marking\n");
}

TEST(MarkBadWords, BarsAWordThePartOfSpeechFilterReadmitted) {
  TempDir dir;
  const std::string tags = dir.write("kovatags.txt", "2\n<adj>hope</adj>\n<adj>dread</adj>\n");
  const std::string used = dir.write("used.txt", "1\ndread\n");
  WordTable table = sampleTable();
  std::ostringstream out;
  ASSERT_TRUE(markPosFile("adj", table, tags, out));
  ASSERT_TRUE(markBadWordsFile(used, table, out));
  EXPECT_EQ(barred(table), (std::vector<int>{0, 1, 2, 3, 4, 5, 7}));
}

TEST(MarkBadWords, WarnsAboutAShortFileAndRefusesBadOnes) {
  const Marked shortFile = mark("4\nhope\n");
  EXPECT_EQ(barred(shortFile.table), (std::vector<int>{6, 7}));
  EXPECT_NE(shortFile.output.find("Done Marking\nWarning: "), std::string::npos);
  EXPECT_NE(shortFile.output.find("announces 4 entries but holds only 1"), std::string::npos);

  WordTable table = sampleTable();
  std::ostringstream out;
  EXPECT_FALSE(markBadWordsFile("/nonexistent/used.txt", table, out));
  EXPECT_EQ(out.str(), "Couldn't open bad word file /nonexistent/used.txt\n");
  const Marked noCount = mark("hope\n");
  EXPECT_FALSE(noCount.ok);
  EXPECT_NE(noCount.output.find("used.txt:1: "), std::string::npos);
}

}  // namespace
