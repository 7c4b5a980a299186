#include "words/counted_file.h"

#include <gtest/gtest.h>

#include "tests/test_support.h"

namespace {

struct Read {
  bool ok;
  CountedFile file;
  std::string problem;
  std::string warning;
};

Read readText(const std::string& text) {
  TempDir dir;
  const std::string path = dir.write("list.txt", text);
  const Result<CountedFile> result = loadCountedFile(path, "Couldn't open ");
  Read read{result.ok(), result.ok() ? result.value() : CountedFile{}, result.error().message, ""};
  read.warning = countedFileWarning("list.txt", read.file);
  return read;
}

TEST(ReadCountedFile, DiscardsTheWholeRestOfTheFirstLine) {
  const Read r =
      readText("\xEF\xBB\xBF  \t2 entries follow, and this comment is long\r\nfirst\r\nsecond");
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.file.announced, 2);
  EXPECT_EQ(r.file.entries, (std::vector<std::string>{"first", "second"}));
  EXPECT_EQ(r.warning, "");
}

TEST(ReadCountedFile, RefusesAFirstLineWithoutANumber) {
  for (const char* text : {"", "\n3\na\n", "words\n", "-\n", "99999999999\n"}) {
    const Read r = readText(text);
    EXPECT_FALSE(r.ok) << text;
    EXPECT_NE(r.problem, "") << text;
  }
}

TEST(ReadCountedFile, WarnsWhenLinesAndCountDisagree) {
  const Read shortFile = readText("5\na\nb\n");
  EXPECT_EQ(shortFile.file.entries.size(), 2u);
  EXPECT_EQ(shortFile.warning,
            "Warning: list.txt announces 5 entries but holds only 2; those 2 were used.\n");

  const Read longFile = readText("1\na\n\n  \nb\nc\n");
  EXPECT_EQ(longFile.file.entries, std::vector<std::string>{"a"});
  EXPECT_EQ(longFile.warning,
            "Warning: list.txt announces 1 entries but has 2 more non-blank lines after them; "
            "those were not read.\n");

  const Read negative = readText("-3\na\n");
  EXPECT_TRUE(negative.file.entries.empty());
  EXPECT_EQ(negative.warning, "Warning: list.txt announces -3 entries; no entry was read.\n");

  EXPECT_EQ(readText("2\na\n\n\n").warning, "") << "a blank entry line still counts";
}

}  // namespace
