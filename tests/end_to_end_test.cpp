// Runs of the built binary in a folder holding fixture files. The fixture's
// list is the same whatever the seed, so the whole output can be written out.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <ctime>
#include <fstream>
#include <iterator>

#include "tests/list_checker.h"
#include "tests/test_support.h"

namespace {

constexpr int kCopies = 100;

const std::string kHeader = "\ncount\tWord\t\tVal\tValMn\tAroMn\tLen\tFreq\n";

// Seed 7 of the fixture; the draws were checked against an independent
// build of the selection.
const std::string kFullList =
    "1\tglad61         \t+ \t8.000\t3.000\t6\t10\n"
    "2\tglad81         \t+ \t8.000\t3.000\t6\t10\n"
    "3\tgrim00         \t- \t2.000\t3.000\t6\t10\n"
    "4\tgrim47         \t- \t2.000\t3.000\t6\t10\n"
    "5\tdesk09         \tN \t5.000\t3.000\t6\t10\n"
    "6\tdesk30         \tN \t5.000\t3.000\t6\t10\n"
    "7\twild24         \t+a\t8.500\t7.000\t6\t10\n"
    "8\twild64         \t+a\t8.500\t7.000\t6\t10\n"
    "9\trage10         \t-a\t2.500\t7.000\t6\t10\n"
    "10\trage82         \t-a\t2.500\t7.000\t6\t10\n"
    "11\tloud45         \tNa\t5.500\t6.500\t6\t10\n"
    "12\tloud74         \tNa\t5.500\t6.500\t6\t10\n";

// The tag file lists one word of each calm category as an adjective.
const std::string kAdjectives =
    "1\tglad00         \t+ \t8.000\t3.000\t6\t10\n"
    "2\tgrim00         \t- \t2.000\t3.000\t6\t10\n"
    "3\tdesk00         \tN \t5.000\t3.000\t6\t10\n";

const std::string kTags =
    "4 pairs of tag and word\n<adj>glad00</adj>\n<adj>grim00</adj>\n<adj>desk00</adj>\n"
    "<n>wild00</n>\n";

size_t countOf(const std::string& text, const std::string& piece) {
  size_t count = 0;
  for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1))
    ++count;
  return count;
}

// The rows of a printed table, without the header.
std::vector<std::string> tableRows(const std::string& output) {
  std::vector<std::string> rows;
  size_t pos = output.find(kHeader);
  if (pos == std::string::npos) return rows;
  pos += kHeader.size();
  for (size_t end; (end = output.find('\n', pos)) != std::string::npos; pos = end + 1) {
    if (output.compare(pos, end - pos, "Done.") != 0) rows.push_back(output.substr(pos, end - pos));
  }
  return rows;
}

class EndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_.write("KOVA.txt", normsFileText(blockFixtureWords(kCopies)));
    dir_.write("kovatags.txt", kTags);
  }
  RunResult run(const std::vector<std::string>& args) { return runChecked(dir_.path(), args); }

  TempDir dir_;
};

TEST_F(EndToEnd, NoArgumentsPrintsUsageThenTwelveWords) {
  const RunResult r = run({});
  EXPECT_EQ(r.status, 0);
  ASSERT_EQ(r.output.find("Usage: stimsel #words [YES/NO arousewords] [exclude filename] [pos]\n"
                          "To run the stimpick program you must type\n"),
            0u);
  const std::string tail =
      "positive, negative, and neutral adjectives.\nfilename is KOVA.txt\n" + kHeader;
  EXPECT_NE(r.output.find(tail), std::string::npos);
  const std::vector<std::string> rows = tableRows(r.output);
  ASSERT_EQ(rows.size(), 12u) << r.output;
  // Clock-seeded, so which words is open; two of each kind, in table order.
  const char* const kinds[] = {"glad", "grim", "desk", "wild", "rage", "loud"};
  for (size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].rfind(std::to_string(i + 1) + "\t" + kinds[i / 2], 0), 0u) << rows[i];
  }
  EXPECT_EQ(r.output.substr(r.output.size() - 6), "Done.\n");
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
                          "1\tglad48         \t+ \t8.000\t3.000\t6\t10\n"
                          "2\tglad87         \t+ \t8.000\t3.000\t6\t10\n"
                          "3\tgrim34         \t- \t2.000\t3.000\t6\t10\n"
                          "4\tgrim92         \t- \t2.000\t3.000\t6\t10\n"
                          "5\twild32         \t+a\t8.500\t7.000\t6\t10\n"
                          "6\twild39         \t+a\t8.500\t7.000\t6\t10\n"
                          "7\trage38         \t-a\t2.500\t7.000\t6\t10\n"
                          "8\trage41         \t-a\t2.500\t7.000\t6\t10\n"
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
  dir_.write("used.txt", "1\nglad00\n");
  const std::string marked = "Marking bad word glad00 -- 0\n";
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
  EXPECT_NE(badTags.output.find("kovatags.txt:1: "), std::string::npos);

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

// Runs on the sample data in data/.
RunResult runOnSample(const std::vector<std::string>& args, const std::string& redirect = "") {
  return runChecked(std::string(STIMSEL_SOURCE_DIR) + "/data", args, redirect);
}

TEST(Seeding, TheSeedChoosesTheListAndTheClockChoosesTheSeed) {
  const RunResult one = runOnSample({"36", "YES", "--seed", "1"});
  const RunResult two = runOnSample({"36", "YES", "--seed", "2"});
  EXPECT_NE(one.output, two.output) << "different seeds must give different lists";
  EXPECT_EQ(runOnSample({"36", "YES", "--seed=1"}).output, one.output);

  // A clock-seeded run is the --seed run of the second it started in.
  const long before = static_cast<long>(std::time(nullptr));
  const RunResult clocked = runOnSample({"36", "YES"});
  const long after = static_cast<long>(std::time(nullptr));
  bool matched = false;
  for (long t = before; t <= after && !matched; ++t) {
    matched = runOnSample({"36", "YES", "--seed", std::to_string(t)}).output == clocked.output;
  }
  EXPECT_TRUE(matched) << "no seed from " << before << " to " << after << " gives that list";
}

// Each reason a list falls short, with the category numbered as in play and
// labelled as in the table.
TEST(Shortfall, EachReasonIsNamedExactly) {
  const std::vector<NormsWord> band = {
      {"pos1", 8, 3, 10},  {"neg1", 2, 3, 10},  {"hot1", 8.5, 7, 10},  {"mad1", 2.5, 7, 10},
      {"pos2", 8, 3, 100}, {"neg2", 2, 3, 100}, {"hot2", 8.5, 7, 100}, {"mad2", 2.5, 7, 100}};
  std::vector<NormsWord> twoBandsThenStuck = band;
  for (const NormsWord& far : {NormsWord{"pos3", 8, 3, 2000}, NormsWord{"neg3", 2, 3, 3000},
                               NormsWord{"hot3", 8.5, 7, 1000}, NormsWord{"mad3", 2.5, 7, 4000}}) {
    twoBandsThenStuck.push_back(far);
  }
  std::vector<NormsWord> noAngryWords;
  for (const NormsWord& w : band) {
    if (w.word.compare(0, 3, "mad") != 0) noAngryWords.push_back(w);
  }
  // Aroused positive is the scarcest category, but the list stops because no
  // calm positive word has an aroused negative partner.
  std::vector<NormsWord> scarceElsewhere = {{"hot1", 8.5, 7, 20}, {"hot2", 8.5, 7, 20}};
  for (int i = 0; i < 3; ++i) {
    const std::string n = std::to_string(i);
    for (const NormsWord& w : {NormsWord{"pos" + n, 8, 3, 20}, NormsWord{"neg" + n, 2, 3, 20},
                               NormsWord{"mad" + n, 2.5, 7, 500}}) {
      scarceElsewhere.push_back(w);
    }
  }
  const struct {
    const char* name;
    std::vector<NormsWord> words;
    std::vector<std::string> args;
    std::string lines;
    std::string after;  // what follows the table, before "Done."
  } cases[] = {
      {"no partner, no-neutral label",
       twoBandsThenStuck,
       {"12", "V", "--seed=3"},
       "Only 8 of 12 words could be matched.\nNo word of category 3 (label \"+a\") left has a "
       "partner within 2 letters and 10 in frequency in every other category.\n",
       "Of the categories in play, category 1 (label \"+ \") has the fewest words left: 1.\n"},
      {"no partner, another category scarcest",
       scarceElsewhere,
       {"8", "V", "--seed=3"},
       "Only 0 of 8 words could be matched.\nNo word of category 1 (label \"+ \") left has a "
       "partner within 2 letters and 10 in frequency in every other category.\n",
       "Of the categories in play, category 3 (label \"+a\") has the fewest words left: 2.\n"},
      {"empty category, no-neutral label",
       noAngryWords,
       {"4", "V", "--seed=3"},
       "Only 0 of 4 words could be matched.\n"
       "No word of category 4 (label \"-a\") is left to choose.\n",
       ""},
  };
  for (const auto& c : cases) {
    TempDir dir;
    dir.write("KOVA.txt", normsFileText(c.words));
    const RunResult r = runChecked(dir.path(), c.args);
    EXPECT_EQ(r.status, 3) << c.name;
    EXPECT_EQ(r.output.rfind("filename is KOVA.txt\n" + c.lines + kHeader, 0), 0u) << c.name << "\n"
                                                                                   << r.output;
    const size_t tableEnd = r.output.rfind('\t');
    EXPECT_EQ(r.output.substr(r.output.find('\n', tableEnd) + 1), c.after + "Done.\n")
        << c.name << "\n"
        << r.output;
  }
}

// One word per category among 1030 records: a group takes about 10^8 random
// draws on average, so seed 12 reaches the random draw's limit; the group
// is then drawn directly and the list completes.
TEST(DirectDraw, AGroupTheRandomDrawCannotFindIsDrawnDirectly) {
  const std::vector<NormsWord> needles = {{"pos", 8, 3, 20}, {"neg", 2, 3, 20}, {"neu", 5, 3, 20},
                                          {"pas", 8, 7, 20}, {"nag", 2, 7, 20}, {"nau", 5, 7, 20}};
  TempDir dir;
  dir.write("KOVA.txt", normsFileText(needles));
  const RunResult r = runStimsel(dir.path(), {"6", "YES", "--seed=12"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.output,
            "filename is KOVA.txt\n" + kHeader +
                "1\tpos            \t+ \t8.000\t3.000\t3\t20\n"
                "2\tneg            \t- \t2.000\t3.000\t3\t20\n"
                "3\tneu            \tN \t5.000\t3.000\t3\t20\n"
                "4\tpas            \t+a\t8.000\t7.000\t3\t20\n"
                "5\tnag            \t-a\t2.000\t7.000\t3\t20\n"
                "6\tnau            \tNa\t5.000\t7.000\t3\t20\n"
                "1 group was completed by direct draws after the random draw reached its limit.\n"
                "Done.\n");
}

TEST(Output, AListThatCannotBeWrittenIsAFailureSaidOnStandardError) {
  // Standard error comes back through the pipe; standard output is the full device.
  const RunResult full = runOnSample({"36", "YES", "--seed", "7"}, "2>&1 >/dev/full");
  EXPECT_EQ(full.status, 1);
  EXPECT_EQ(full.output, "stimsel: cannot write the list: No space left on device\n");
}

TEST(OwnNormsPartOfSpeech, TheSampleTagFileIsNeverReadForOwnNorms) {
  TempDir dir;
  dir.write("kovatags.txt", kTags);
  dir.write("own.csv",
            "Word,Valence,Arousal,Frequency\nglad00,8,3,10\ngrim00,2,3,10\n"
            "desk00,5,3,10\nglad01,8,3,10\n");
  const RunResult own = runStimsel(dir.path(), {"3", "NO", "0", "adj", "--norms", "own.csv"});
  EXPECT_EQ(own.status, 2) << own.output;
  EXPECT_NE(own.output.find("stimsel: own.csv has no pos column, so the part of speech 'adj' "
                            "needs a tag file: give it with --tags FILE, or name the column with "
                            "--column pos=NAME\n"),
            std::string::npos)
      << own.output;
  EXPECT_EQ(own.output.find("Marking pos"), std::string::npos) << own.output;
  // Named with --tags, the same file is read and admits its adjectives.
  const RunResult tagged = runStimsel(
      dir.path(), {"3", "NO", "0", "adj", "--norms", "own.csv", "--tags", "kovatags.txt"});
  EXPECT_EQ(tagged.status, 0) << tagged.output;
  EXPECT_EQ(tableRows(tagged.output),
            (std::vector<std::string>{"1\tglad00         \t+ \t8.000\t3.000\t6\t10",
                                      "2\tgrim00         \t- \t2.000\t3.000\t6\t10",
                                      "3\tdesk00         \tN \t5.000\t3.000\t6\t10"}));
}

TEST(OpenFailure, APermissionProblemIsNamedOnASecondLine) {
  TempDir dir;
  const std::string path = dir.write("KOVA.txt", normsFileText(blockFixtureWords(1)));
  ASSERT_EQ(chmod(path.c_str(), 0), 0);
  if (std::ifstream(path).is_open()) GTEST_SKIP() << "running as root: the file stays readable";
  const RunResult r = runStimsel(dir.path(), {"12"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(
      r.output.find("Couldn't open norms file KOVA.txt\nstimsel: KOVA.txt: Permission denied\n"),
      0u)
      << r.output;
}

TEST(Duplicates, AWordHeldTwiceIsNeverChosenTwice) {
  // The sample with its last line replaced by a second "adoring".
  std::ifstream sample(std::string(STIMSEL_SOURCE_DIR) + "/data/KOVA.txt", std::ios::binary);
  std::string norms((std::istreambuf_iterator<char>(sample)), std::istreambuf_iterator<char>());
  const size_t last = norms.rfind('\n', norms.size() - 2) + 1;
  norms.replace(last, std::string::npos, "adoring\t20\t7.57\t1.91\t6.12\t1.99\t5.36\t2.44\t1\n");
  TempDir dir;
  dir.write("KOVA.txt", norms);
  const RunResult r = runChecked(dir.path(), {"1000", "YES", "--seed", "1"});
  EXPECT_EQ(r.output.rfind("filename is KOVA.txt\nWarning: KOVA.txt: 1 word appears more than "
                           "once; only the first record of each can be chosen.\n",
                           0),
            0u);
  EXPECT_EQ(countOf(r.output, "\tadoring "), 1u) << r.output;
}

}  // namespace
