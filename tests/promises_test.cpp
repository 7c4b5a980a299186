// The promises a researcher relies on when a list goes straight into an
// experiment and a paper: exports that hold what the table printed and what
// the norms said, a report whose figures are true, a plot that opens and a
// command that draws the same list again, norms read as written, and options
// that refuse what they cannot do. Each case runs the built binary.
#include <gtest/gtest.h>
#include <stdio.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "tests/list_checker.h"
#include "tests/test_support.h"

namespace {

std::string quoted(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

// Runs shell text, returning its standard output and exit status.
RunResult shell(const std::string& command) {
  RunResult result;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return result;
  char buffer[4096];
  size_t got;
  while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, got);
  const int raw = pclose(pipe);
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return result;
}

// Letters as a reader counts them: UTF-8 code points, counted here without
// the tool's own code.
std::string codePoints(const std::string& word) {
  int letters = 0;
  for (unsigned char c : word) letters += (c & 0xC0) != 0x80;
  return std::to_string(letters);
}

std::string sampleDir() {
  return std::string(STIMSEL_SOURCE_DIR) + "/data";
}

std::set<std::string> wordsOf(const ExportRows& rows) {
  std::set<std::string> words;
  for (const auto& row : rows) words.insert(row.at("word"));
  return words;
}

// One norms row as written in the file, and the category it must land in.
struct NormsRow {
  std::string word, valence, valenceSd, arousal, frequency, pos, category;
};

// Four adjectives per category, non-ASCII words among them, decimal ratings
// and frequencies; every two lie within 2 letters and 10 in frequency, so
// any seed draws all 24 adjectives. The nouns must never be drawn.
const std::vector<NormsRow> kMixedNorms = {
    {"café", "7.13", "1.07", "3.31", "12.35", "adj", "calm_positive"},
    {"tree", "7.9", "1.1", "3.05", "10.5", "n", ""},
    {"naïve", "7.5", "0.8", "4.25", "10", "adj", "calm_positive"},
    {"sunny", "8.02", "1.2", "2.9", "7.5", "adj", "calm_positive"},
    {"рада", "7.8", "1.5", "3.3", "14", "adj", "calm_positive"},
    {"grim", "2.11", "1.1", "3.5", "11.25", "adj", "calm_negative"},
    {"mürb", "2.6", "1.05", "4.05", "9", "adj", "calm_negative"},
    {"тоска", "1.9", "0.9", "3.9", "13.5", "adj", "calm_negative"},
    {"ditch", "2.2", "1.3", "3.1", "9.5", "n", ""},
    {"bleak", "2.4", "1.3", "3.2", "6", "adj", "calm_negative"},
    {"desk", "5.05", "1.01", "3.01", "10.5", "adj", "calm_neutral"},
    {"μέλι", "5.5", "1.02", "3.5", "8", "adj", "calm_neutral"},
    {"chair", "4.6", "0.95", "2.75", "12", "adj", "calm_neutral"},
    {"ёлка", "5.9", "1.4", "3.8", "5.5", "adj", "calm_neutral"},
    {"wild", "8.5", "1.03", "7.05", "9.75", "adj", "aroused_positive"},
    {"über", "7.25", "1.9", "6.5", "13", "adj", "aroused_positive"},
    {"thrill", "7.9", "1.1", "6.9", "11", "adj", "aroused_positive"},
    {"жарко", "7.4", "1.6", "6.1", "8.5", "adj", "aroused_positive"},
    {"rage", "2.5", "1.04", "7.15", "12.75", "adj", "aroused_negative"},
    {"panik", "1.8", "1.2", "6.8", "6.5", "adj", "aroused_negative"},
    {"stool", "5.2", "1.1", "4.5", "10", "n", ""},
    {"страх", "2.2", "1.3", "6.4", "10", "adj", "aroused_negative"},
    {"dread", "2.9", "1.7", "6.05", "14.5", "adj", "aroused_negative"},
    {"loud", "5.5", "1.06", "6.5", "9.25", "adj", "aroused_neutral"},
    {"φωνή", "4.5", "1.08", "5.2", "11", "adj", "aroused_neutral"},
    {"siren", "5.8", "1.1", "4.9", "7", "adj", "aroused_neutral"},
    {"büro", "5.1", "0.7", "4.6", "13.25", "adj", "aroused_neutral"},
};

TEST(Promises, EveryExportFormatHoldsThePrintedListsAsTheNormsWroteThem) {
  TempDir dir;
  std::string csv = "word,valence,valence_sd,arousal,frequency,pos\n";
  std::map<std::string, std::pair<NormsRow, int>> byWord;  // the row and its line
  for (const NormsRow& row : kMixedNorms) {
    csv += row.word + "," + row.valence + "," + row.valenceSd + "," + row.arousal + "," +
           row.frequency + "," + row.pos + "\n";
    byWord[row.word] = {row, static_cast<int>(byWord.size()) + 2};
  }
  dir.write("mixed.csv", csv);
  std::map<std::string, ExportRows> exports;
  for (const char* name : {"list.csv", "list.tsv", "list.json"}) {
    // Two lists of two groups: the export's list 1 must be the table's.
    const RunResult r = runChecked(dir.path(), {"12", "YES", "0", "adj", "--norms", "mixed.csv",
                                                "--lists", "2", "--seed", "4", "--out", name});
    ASSERT_EQ(r.status, 0) << name << "\n" << r.output;
    const std::string text = fileText(dir.path() + "/" + name);
    const std::string format = std::string(name).substr(5);
    exports[name] = format == "json" ? readJsonExport(text)
                                     : readDelimitedExport(text, format == "csv" ? ',' : '\t');
  }
  const ExportRows& rows = exports["list.csv"];
  ASSERT_EQ(rows.size(), 24u);
  EXPECT_EQ(exports["list.tsv"], rows) << "TSV and CSV differ";
  EXPECT_EQ(exports["list.json"], rows) << "JSON and CSV differ";
  for (const auto& row : rows) {
    const std::string& word = row.at("word");
    ASSERT_EQ(byWord.count(word), 1u) << "not a norms word: " << word;
    const auto& [norms, line] = byWord.at(word);
    const std::vector<std::pair<const char*, std::string>> expected = {
        {"valence", norms.valence},
        {"valence_sd", norms.valenceSd},
        {"arousal", norms.arousal},
        {"frequency", norms.frequency},
        {"length", codePoints(word)},
        {"category_name", norms.category},
        {"source_line", std::to_string(line)},
        {"pos", "adj"}};
    for (const auto& [column, value] : expected) {
      EXPECT_EQ(row.at(column), value) << word << ": column " << column;
    }
  }
  std::set<std::string> adjectives;
  for (const NormsRow& row : kMixedNorms) {
    if (row.pos == "adj") adjectives.insert(row.word);
  }
  EXPECT_EQ(wordsOf(rows), adjectives);
}

// Three bands of length and frequency, one word of each category in each,
// far enough apart that every seed draws the same three groups. The figures
// below were worked out apart from the tool (Python with SciPy's t
// distribution) from the words themselves.
const char* const kBandNorms =
    "word,valence,arousal,frequency\n"
    "abcde,7.5,3.1,0.004\nbcde,2.5,4.2,0\ncde,5.25,2.5,2.5\n"
    "defghijklm,8.25,4.5,40\nefghijklm,1.75,3.5,48\nfghijklm,4.75,3.75,45\n"
    "ghijklmnopqrstu,7.75,2.25,99\nhijklmnopqrst,2.25,5.5,90\nijklmnopqrstu,5.5,3.25,95\n";

const char* const kBandReport =
    "\nBalance report\n"
    "Per category (mean, SD, minimum - maximum):\n"
    "  1 calm positive (\"+ \"): 3 words\n"
    "    length        10.00  SD    5.00  5.00 - 15.00\n"
    "    frequency     46.33  SD   49.80  0.00 - 99.00\n"
    "    Zipf           3.53  SD    2.20  1.00 - 5.00\n"
    "    valence        7.83  SD    0.38  7.50 - 8.25\n"
    "    arousal        3.28  SD    1.14  2.25 - 4.50\n"
    "  2 calm negative (\"- \"): 3 words\n"
    "    length         8.67  SD    4.51  4.00 - 13.00\n"
    "    frequency     46.00  SD   45.03  0.00 - 90.00\n"
    "    Zipf           3.55  SD    2.21  1.00 - 4.95\n"
    "    valence        2.17  SD    0.38  1.75 - 2.50\n"
    "    arousal        4.40  SD    1.01  3.50 - 5.50\n"
    "  3 calm neutral (\"N \"): 3 words\n"
    "    length         8.00  SD    5.00  3.00 - 13.00\n"
    "    frequency     47.50  SD   46.30  2.50 - 95.00\n"
    "    Zipf           4.34  SD    0.83  3.40 - 4.98\n"
    "    valence        5.17  SD    0.38  4.75 - 5.50\n"
    "    arousal        3.17  SD    0.63  2.50 - 3.75\n"
    "Largest spread inside one group: 2 letters and 9.00 in frequency (tolerances: 2 letters and "
    "10 in frequency from the group's anchor, so at most 4 and 20 between two partners).\n"
    "Length: the largest difference between two categories is calm positive vs calm neutral, "
    "Hedges' g = 0.32.\n"
    "  Equivalence (TOST, bounds -0.5 to +0.5 pooled SD = +-2.50): t(4) = 1.10 and -0.12, "
    "p = 0.454: not shown to be equivalent at alpha = .05.\n"
    "  With 3 and 3 words, equivalence at this bound cannot be shown whatever the means; only "
    "bounds above +-1.74 SD could be.\n"
    "  Equivalence was shown for 0 of the 3 pairs of categories tested (the datasheet gives each "
    "pair).\n"
    "Frequency: the largest difference between two categories is calm negative vs calm neutral, "
    "Hedges' g = -0.03.\n"
    "  Equivalence (TOST, bounds -0.5 to +0.5 pooled SD = +-22.84): t(4) = 0.57 and -0.65, "
    "p = 0.299: not shown to be equivalent at alpha = .05.\n"
    "  With 3 and 3 words, equivalence at this bound cannot be shown whatever the means; only "
    "bounds above +-1.74 SD could be.\n"
    "  Equivalence was shown for 0 of the 3 pairs of categories tested (the datasheet gives each "
    "pair).\n"
    "Zipf frequency is log10 of the frequency per million plus 3; a frequency below 0.01 per "
    "million (0 included) counts as 0.01 (Zipf 1).\n"
    "Seed: 5\n"
    "To draw this list again: stimsel 9 NO --norms bands.csv --report --seed 5\n"
    "Citation: [Please cite the publication of the norms in bands.csv.]\n"
    "Methods: Stimuli were selected with stimsel 1.0.0 from the norms file bands.csv (9 rows; 9 "
    "with every value the design needs). Frequencies were taken from the norms file's column "
    "frequency (as given in the file; unit not stated). Words were sorted by their mean valence "
    "and arousal ratings (scale 1 to 9) into 3 categories: calm positive (valence above 7 and "
    "arousal below 5.67); calm negative (valence below 3 and arousal at most 5.72); calm neutral "
    "(valence above 4 and below 6 and arousal at most 4). Words were removed, in this order: a "
    "missing value in a column the run needs (0); repeats of a word listed earlier in the file "
    "(0); ratings outside every category in play (0); 9 words were eligible. The list consists of "
    "3 matched groups of one word per category (9 words); within each group, every word lies "
    "within 2 letters in length and 10 frequency units in frequency of the group's first word "
    "(its anchor); anchors were taken from categories 1 to 2 in turn, so calm neutral words were "
    "never anchors. Balance was checked on every control for every pair of categories. The "
    "largest difference was in length between calm positive and calm neutral, Hedges' g = 0.32 "
    "(90% CI [-0.79, 1.39]); two one-sided tests (alpha = 0.05) against a bound of ±0.5 pooled SD "
    "showed equivalence for 0 of 6 tested comparisons. With 3 words per category, equivalence at "
    "that bound cannot be shown whatever the means; only bounds above ±1.74 SD could be. The "
    "bound is stimsel's default of half a pooled SD, used because no other was set; it treats a "
    "difference smaller than half the spread of the compared words as negligible. Groups were "
    "drawn at random with seed 5.\n"
    "Done.\n";

TEST(Promises, TheReportPrintsFiguresWorkedOutApart) {
  TempDir dir;
  dir.write("bands.csv", kBandNorms);
  const RunResult r =
      runChecked(dir.path(), {"9", "NO", "--norms", "bands.csv", "--report", "--seed", "5"});
  ASSERT_EQ(r.status, 0) << r.output;
  const size_t report = r.output.find("\nBalance report\n");
  ASSERT_NE(report, std::string::npos) << r.output;
  EXPECT_EQ(r.output.substr(report), kBandReport);
}

// Words and file names holding the characters that XML and the shell treat
// specially: the plot still parses, its tooltips are the words, its title is
// the command, and that command, pasted into a shell, prints the same run.
TEST(Promises, MarkupInWordsAndNamesKeepsThePlotXmlAndTheCommandRunnable) {
  TempDir dir;
  const std::string norms = "it's a&b <\"x\">.csv";
  const std::string plot = "plot &<>\"'.svg";
  dir.write(
      norms,
      "word,valence,arousal,frequency\na&b,8.1,3.2,10\n<i>,2.2,3.3,10\n\"\"\"q\"\"\",5.1,3.1,10\n"
      "it's,7.7,3.4,10\nx>y,2.4,3.5,10\ncafé,4.9,3.6,10\n");
  const std::vector<std::string> args = {"6",  "NO",       "--norms", norms, "--plot",
                                         plot, "--report", "--seed",  "3"};
  const RunResult r = runChecked(dir.path(), args);
  ASSERT_EQ(r.status, 0) << r.output;
  const std::string lead = "To draw this list again: stimsel ";
  const size_t at = r.output.find(lead);
  ASSERT_NE(at, std::string::npos) << r.output;
  const std::string command =
      r.output.substr(at + lead.size() - 8, r.output.find('\n', at) - at - lead.size() + 8);

  // Python's XML parser is the independent reader: the title, then every
  // chosen dot's tooltip, one a line.
  const RunResult parsed = shell(
      "python3 -c 'import sys, xml.etree.ElementTree as E\n"
      "ns = \"{http://www.w3.org/2000/svg}\"\n"
      "r = E.parse(sys.argv[1]).getroot()\n"
      "print(r.find(ns + \"text\").text)\n"
      "for c in sorted(e.find(ns + \"title\").text for e in r.iter(ns + \"circle\") "
      "if e.get(\"class\") == \"chosen\"): print(c)' " +
      quoted(dir.path() + "/" + plot));
  ASSERT_EQ(parsed.status, 0) << "the plot is not XML";
  std::string expected = command + "\n";
  // Each chosen word is a dot in each of the plot's three panels.
  for (const char* word : {"\"q\"", "<i>", "a&b", "café", "it's", "x>y"}) {
    for (int dot = 0; dot < 3; ++dot) expected += std::string(word) + "\n";
  }
  EXPECT_EQ(parsed.output, expected);

  const std::string rest = command.substr(std::string("stimsel").size());
  const RunResult again =
      shell("cd " + quoted(dir.path()) + " && " + quoted(STIMSEL_BINARY) + rest);
  EXPECT_EQ(again.status, 0) << command;
  EXPECT_EQ(again.output, r.output) << command;
}

// A CSV and a frequency file with the quirks of real files, each of which
// once changed the list: a norms word capitalised where the frequency file
// is not, a word listed twice in the frequency file (the first row counts),
// "." for a missing rating, a part-of-speech column with a row that the join
// leaves out before it, and a line break inside a quoted word.
TEST(Promises, NormsAndFrequenciesAreReadAsWritten) {
  TempDir dir;
  dir.write("norms.csv",
            "word,valence,arousal,pos\n"
            "lost,8.1,3.1,adj\nGlad,8.2,3.2,adj\ntree,8.3,3.3,n\nRose,7.9,3.4,adj\n"
            "mud,2.1,3.1,n\ngrim,2.2,3.2,adj\nsour,2.3,3.3,adj\nwall,5.1,3.1,n\n"
            "desk,5.2,3.2,adj\nwell,5.3,3.3,adj\ndotty,.,3.1,adj\n");
  dir.write("freq.csv",
            "Word,SUBTLWF\nglad,11.5\ntree,10\nrose,5\nRose,7\nmud,10\ngrim,12\ngrim,99\n"
            "sour,8\nwall,10\ndesk,10\nwell,9\ndotty,10\n");
  const RunResult r =
      runStimsel(dir.path(), {"6", "NO", "0", "adj", "--norms", "norms.csv", "--frequency",
                              "freq.csv", "--seed", "2", "--out", "list.json"});
  ASSERT_EQ(r.status, 0) << r.output;
  const ExportRows rows = readJsonExport(fileText(dir.path() + "/list.json"));
  EXPECT_TRUE(exportHolds(rows, Tolerances{}));
  std::map<std::string, std::string> frequencies;
  for (const auto& row : rows) frequencies[row.at("word")] = row.at("frequency");
  const std::map<std::string, std::string> expected = {{"Glad", "11.5"}, {"Rose", "7"},
                                                       {"grim", "12"},   {"sour", "8"},
                                                       {"desk", "10"},   {"well", "9"}};
  EXPECT_EQ(frequencies, expected);

  // A word cannot hold a line break, so one inside quotes is refused, not
  // joined to the word around it.
  dir.write("broken.csv",
            "word,valence,arousal,frequency\ngrim,2.2,3.2,10\n\"alarm\r\nclock\",8,3,10\n");
  const RunResult broken = runStimsel(dir.path(), {"3", "NO", "--norms", "broken.csv"});
  EXPECT_EQ(broken.status, 1) << broken.output;
  EXPECT_NE(broken.output.find("broken.csv:3: column word: "), std::string::npos) << broken.output;
}

// Ratings on another scale are classified on that scale, and the SD limit
// of 2 on the 1-9 scale scales with them.
TEST(Promises, RatingsAreClassifiedOnTheirOwnScale) {
  const struct {
    const char* name;
    std::string csv;
    std::vector<std::string> args;
    int status;
    size_t words;
    std::vector<std::string> present, absent;
  } cases[] = {
      {"0 to 1: an SD of 0.3 is 2.4 on 1-9 and bars its word",
       "word,valence,valence_sd,arousal,frequency\nwobbly,0.9,0.3,0.2,10\nsteady,0.9,0.05,0.2,10\n"
       "sad,0.1,0.05,0.2,10\nsour,0.1,0.05,0.2,10\ndesk,0.5,0.05,0.2,10\nwall,0.5,0.05,0.2,10\n",
       {"6", "NO", "--scale", "0:1"},
       3,
       3,
       {"steady"},
       {"wobbly"}},
      {"1 to 7: a valence of 6 is 7.67 on 1-9, positive",
       "word,valence,valence_sd,arousal,frequency\nglad,6.0,1.0,2.0,10\ngrim,1.5,1.0,2.0,10\n"
       "desk,4.0,1.0,2.0,10\n",
       {"3", "NO", "--scale", "1:7"},
       0,
       3,
       {"glad", "grim", "desk"},
       {}},
  };
  for (const auto& c : cases) {
    TempDir dir;
    dir.write("norms.csv", c.csv);
    std::vector<std::string> args = c.args;
    args.insert(args.end(), {"--norms", "norms.csv", "--seed", "1", "--out", "list.csv"});
    const RunResult r = runChecked(dir.path(), args);
    EXPECT_EQ(r.status, c.status) << c.name << "\n" << r.output;
    const std::set<std::string> words =
        wordsOf(readDelimitedExport(fileText(dir.path() + "/list.csv"), ','));
    EXPECT_EQ(words.size(), c.words) << c.name;
    for (const std::string& w : c.present) EXPECT_EQ(words.count(w), 1u) << c.name << ": " << w;
    for (const std::string& w : c.absent) EXPECT_EQ(words.count(w), 0u) << c.name << ": " << w;
  }
}

// Every option that takes a value refuses a bad one before any file is read.
TEST(Promises, EveryOptionRefusesABadValue) {
  const std::pair<const char*, const char*> cases[] = {
      {"seed", "-1"},
      {"seed", "4294967296"},
      {"seed", "1.5"},
      {"norms", ""},
      {"tags", ""},
      {"norms-format", "xls"},
      {"header-lines", "-1"},
      {"header-lines", "1000001"},
      {"column", "word"},
      {"column", "colour=x"},
      {"column", "word="},
      {"frequency", ""},
      {"frequency-column", ""},
      {"scale", "9:1"},
      {"scale", "1:1"},
      {"scale", "1"},
      {"scale", "a:b"},
      {"out", ""},
      {"out-format", "xlsx"},
      {"lists", "0"},
      {"lists", "1001"},
      {"lists", "-1"},
      {"length-tolerance", "-1"},
      {"length-tolerance", "101"},
      {"length-tolerance", "1.5"},
      {"frequency-tolerance", "-1"},
      {"frequency-tolerance", "x"},
      {"zipf-tolerance", "-0.1"},
      {"zipf-tolerance", "inf"},
      {"match", "any"},
      {"plot", ""},
  };
  for (const auto& [name, value] : cases) {
    const std::string option = std::string("--") + name;
    const RunResult r = runStimsel(sampleDir(), {"12", "YES", option + "=" + value});
    EXPECT_EQ(r.status, 2) << option << " " << value << "\n" << r.output;
    const std::string said =
        "stimsel: bad value '" + std::string(value) + "' for " + option + ": expected ";
    EXPECT_EQ(r.output.rfind(said, 0), 0u) << option << " " << value << "\n" << r.output;
  }
  for (const char* name : {"seed", "norms", "lists", "scale", "match", "plot"}) {
    const std::string option = std::string("--") + name;
    const RunResult r = runStimsel(sampleDir(), {"12", option});
    EXPECT_EQ(r.status, 2) << option;
    EXPECT_EQ(r.output.rfind("stimsel: " + option + " needs a value", 0), 0u) << r.output;
  }
}

// The edges of each range are values a researcher may mean, and run.
TEST(Promises, EveryOptionTakesTheEdgesOfItsRange) {
  const std::vector<std::vector<std::string>> cases = {
      {"--seed", "0"},
      {"--seed", "4294967295"},
      {"--lists", "1"},
      {"--lists", "1000", "--frequency-tolerance", "100"},
      {"--length-tolerance", "0"},
      {"--length-tolerance", "100"},
      {"--frequency-tolerance", "0"},
      {"--zipf-tolerance", "0"},
      {"--match", "all"},
      {"--scale", "1:9"},
      {"--norms-format", "classic"},
      {"--header-lines", "41"},
  };
  for (const auto& options : cases) {
    std::vector<std::string> args = {"6", "NO"};
    args.insert(args.end(), options.begin(), options.end());
    const RunResult r = runChecked(sampleDir(), args);
    EXPECT_TRUE(r.status == 0 || r.status == 3) << options[0] << " " << options[1] << "\n"
                                                << r.output;
    EXPECT_EQ(r.output.rfind("filename is KOVA.txt\n", 0), 0u) << options[0] << " " << options[1];
  }
}

// An output that cannot be written is a failure, never a quiet success.
TEST(Promises, AnOutputThatCannotBeWrittenFailsTheRun) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"--out", "no-such-folder/list.csv"},
      {"--out", "/dev/full"},
      {"--plot", "no-such-folder/list.svg"},
  };
  for (const auto& [option, path] : cases) {
    const RunResult r =
        runStimsel(sampleDir(), {"12", "YES", "--seed", "1", "--out-format", "csv", option, path});
    EXPECT_EQ(r.status, 1) << option << " " << path << "\n" << r.output;
    EXPECT_NE(r.output.find("stimsel: "), std::string::npos) << r.output;
    EXPECT_NE(r.output.find(path), std::string::npos) << r.output;
    EXPECT_EQ(r.output.find("Done.\n"), std::string::npos) << r.output;
  }
  EXPECT_FALSE(std::filesystem::exists(sampleDir() + "/no-such-folder"));
}

// Words are bytes, and a JSON export of bytes that are not UTF-8 ends with
// a status and a message or a file that parses, never with an abort.
TEST(Promises, AJsonExportOfBytesThatAreNotUtf8IsRefused) {
  TempDir dir;
  dir.write("norms.csv",
            "word,valence,arousal,frequency\ncaf\xE9,8,3,10\ngrim,2,3,10\ndesk,5,3,10\n");
  const RunResult r = runStimsel(
      dir.path(), {"3", "NO", "--norms", "norms.csv", "--seed", "1", "--out", "list.json"});
  // The word would change in JSON, so the export is refused, never written
  // with a replacement character.
  EXPECT_EQ(r.status, 1) << r.output;
  EXPECT_FALSE(std::filesystem::exists(dir.path() + "/list.json"))
      << "a refused export was written";
}

// Counterbalanced lists that fall short keep whole rounds, and say how
// many words they print.
TEST(Promises, AShortRunOfListsCountsOnlyTheWordsItKeeps) {
  TempDir dir;
  dir.write("KOVA.txt", normsFileText(blockFixtureWords(3)));
  // Three groups can be built; two lists of two groups were asked for, so
  // one round of two groups is kept.
  const RunResult r = runChecked(dir.path(), {"6", "NO", "--lists", "2", "--seed", "1"});
  EXPECT_EQ(r.status, 3) << r.output;
  EXPECT_NE(r.output.find("Only 6 of 12 words could be matched.\n"), std::string::npos) << r.output;
  EXPECT_EQ(printedRows(r.output).size(), 6u) << r.output;
}

}  // namespace
