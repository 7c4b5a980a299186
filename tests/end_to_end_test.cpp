// Runs of the built binary in a folder holding fixture files. The fixture's
// list is the same whatever the seed, so the whole output can be written out.
#include <gtest/gtest.h>

#include "tests/test_support.h"

namespace {

constexpr int kCopies = 100;

const std::string kHeader = "\ncount\tWord\t\tVal\tValMn\tAroMn\tLen\tFreq\n";

const std::string kFullList =
    "1\tglad           \t+ \t8.000\t3.000\t4\t10\n"
    "2\tglad           \t+ \t8.000\t3.000\t4\t10\n"
    "3\tgrim           \t- \t2.000\t3.000\t4\t10\n"
    "4\tgrim           \t- \t2.000\t3.000\t4\t10\n"
    "5\tdesk           \tN \t5.000\t3.000\t4\t10\n"
    "6\tdesk           \tN \t5.000\t3.000\t4\t10\n"
    "7\twild           \t+a\t8.500\t7.000\t4\t10\n"
    "8\twild           \t+a\t8.500\t7.000\t4\t10\n"
    "9\trage           \t-a\t2.500\t7.000\t4\t10\n"
    "10\trage           \t-a\t2.500\t7.000\t4\t10\n"
    "11\tloud           \tNa\t5.500\t6.500\t4\t10\n"
    "12\tloud           \tNa\t5.500\t6.500\t4\t10\n";

// The part-of-speech filter re-admits only the first record of each word.
const std::string kAdjectives =
    "1\tglad           \t+ \t8.000\t3.000\t4\t10\n"
    "2\tgrim           \t- \t2.000\t3.000\t4\t10\n"
    "3\tdesk           \tN \t5.000\t3.000\t4\t10\n";

const std::string kTags =
    "4 pairs of tag and word\n<adj>glad</adj>\n<adj>grim</adj>\n<adj>desk</adj>\n<n>wild</n>\n";

class EndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_.write("KOVA.txt", normsFileText(blockFixtureWords(kCopies)));
    dir_.write("kovatags.txt", kTags);
  }
  RunResult run(const std::vector<std::string>& args) { return runStimsel(dir_.path(), args); }

  TempDir dir_;
};

TEST_F(EndToEnd, NoArgumentsPrintsUsageThenTwelveWords) {
  const RunResult r = run({});
  EXPECT_EQ(r.status, 0);
  ASSERT_EQ(r.output.find("Usage: stimsel #words [YES/NO arousewords] [exclude filename] [pos]\n"
                          "To run the stimpick program you must type\n"),
            0u);
  const std::string tail = "positive, negative, and neutral adjectives.\nfilename is KOVA.txt\n" +
                           kHeader + kFullList + "Done.\n";
  EXPECT_EQ(r.output.substr(r.output.size() - tail.size()), tail);
}

TEST_F(EndToEnd, SeededRunsPrintTheWholeListAndRepeat) {
  const RunResult r = run({"12", "YES", "--seed", "7"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.output, "filename is KOVA.txt\n" + kHeader + kFullList + "Done.\n");
  EXPECT_EQ(run({"--seed=7", "12", "YES"}).output, r.output);
}

TEST_F(EndToEnd, ListWithoutNeutralWordsRelabelsAroused) {
  const RunResult r = run({"8", "V", "--seed", "3"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.output, "filename is KOVA.txt\n" + kHeader +
                          "1\tglad           \t+ \t8.000\t3.000\t4\t10\n"
                          "2\tglad           \t+ \t8.000\t3.000\t4\t10\n"
                          "3\tgrim           \t- \t2.000\t3.000\t4\t10\n"
                          "4\tgrim           \t- \t2.000\t3.000\t4\t10\n"
                          "5\twild           \t+a\t8.500\t7.000\t4\t10\n"
                          "6\twild           \t+a\t8.500\t7.000\t4\t10\n"
                          "7\trage           \t-a\t2.500\t7.000\t4\t10\n"
                          "8\trage           \t-a\t2.500\t7.000\t4\t10\n"
                          "Done.\n");
}

TEST_F(EndToEnd, NonNumericCountGivesAnEmptyList) {
  const RunResult r = run({"abc", "YES", "x"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.output, "filename is KOVA.txt\n" + kHeader + "Done.\n");
}

TEST_F(EndToEnd, PartOfSpeechFilterKeepsTheTaggedWords) {
  const RunResult r = run({"3", "NO", "0", "adj", "--seed", "5"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.output, "filename is KOVA.txt\nMarking pos: adj's..Done Marking pos\n" + kHeader +
                          kAdjectives + "Done.\n");
}

TEST_F(EndToEnd, ImpossibleRequestEndsWithTheShortfall) {
  const RunResult r = run({"2147483647", "NO", "0", "adj", "--seed", "1"});
  EXPECT_EQ(r.status, 3);
  EXPECT_EQ(r.output,
            "filename is KOVA.txt\nMarking pos: adj's..Done Marking pos\n"
            "Only 3 of 2147483646 words could be matched.\n"
            "No word of category 1 (label \"+ \") is left to choose.\n" +
                kHeader + kAdjectives + "Done.\n");
}

TEST_F(EndToEnd, ExclusionListBarsEveryRecordOfItsWords) {
  dir_.write("used.txt", "1\nglad\n");
  std::string marked;
  for (int i = 0; i < kCopies; ++i)
    marked += "Marking bad word glad -- " + std::to_string(i) + "\n";
  const RunResult r = run({"3", "NO", "used.txt", "adj", "--seed", "5"});
  EXPECT_EQ(r.status, 3);
  EXPECT_EQ(r.output,
            "filename is KOVA.txt\nMarking pos: adj's..Done Marking pos\n"
            "Marking bad words or trying to.." +
                marked +
                "Done Marking\n"
                "Only 0 of 3 words could be matched.\n"
                "No word of category 1 (label \"+ \") is left to choose.\n" +
                kHeader + "Done.\n");
}

TEST_F(EndToEnd, InputErrorsStopBeforeTheTableWithStatusOne) {
  const RunResult noExclusion = run({"20", "YES", "missing.txt"});
  EXPECT_EQ(noExclusion.status, 1);
  EXPECT_EQ(noExclusion.output, "filename is KOVA.txt\nCouldn't open bad word file missing.txt\n");

  dir_.write("kovatags.txt", "no count here\n");
  const RunResult badTags = run({"3", "NO", "0", "adj"});
  EXPECT_EQ(badTags.status, 1);
  EXPECT_EQ(badTags.output.find("count\t"), std::string::npos);
  EXPECT_NE(badTags.output.find("kovatags.txt line 1: "), std::string::npos);

  dir_.write("KOVA.txt", "too short\n");
  const RunResult badNorms = run({"12"});
  EXPECT_EQ(badNorms.status, 1);
  EXPECT_EQ(badNorms.output,
            "filename is KOVA.txt\nKOVA.txt: the file ends after line 1; expected 41 header lines "
            "and 1030 data lines\n");

  TempDir empty;
  const RunResult noNorms = runStimsel(empty.path(), {"12"});
  EXPECT_EQ(noNorms.status, 1);
  EXPECT_EQ(noNorms.output, "filename is KOVA.txt\nCouldn't open norms file KOVA.txt\n");
}

TEST_F(EndToEnd, OptionsThatStopBeforeARun) {
  const RunResult help = run({"12", "--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.output.find("--seed N"), std::string::npos);
  EXPECT_NE(help.output.find("Exit status:"), std::string::npos);
  EXPECT_EQ(help.output.find("filename is"), std::string::npos);

  const RunResult version = run({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.output.rfind("stimsel ", 0), 0u);

  const RunResult unknown = run({"12", "--verbose"});
  EXPECT_EQ(unknown.status, 2);
  EXPECT_EQ(unknown.output, "stimsel: unknown option '--verbose' (try --help)\n");

  const RunResult badSeed = run({"12", "--seed", "x"});
  EXPECT_EQ(badSeed.status, 2);
  EXPECT_EQ(badSeed.output.find("filename is"), std::string::npos);
}

}  // namespace
