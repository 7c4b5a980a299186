// Runs of the binary on norms in other layouts: the tables researchers bring.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>

#include "tests/list_checker.h"
#include "tests/test_support.h"

namespace {

// Warriner et al. (2013) header, as published: first column unnamed.
const std::string kWarrinerHeader =
    ",Word,V.Mean.Sum,V.SD.Sum,V.Rat.Sum,A.Mean.Sum,A.SD.Sum,A.Rat.Sum,D.Mean.Sum";

std::string warrinerRow(int n, const std::string& word, double valence, double arousal) {
  char row[160];
  std::snprintf(row, sizeof row, "%d,%s,%.2f,1.10,20,%.2f,2.00,20,5.00\r\n", n, word.c_str(),
                valence, arousal);
  return row;
}

// Rows of the table a run printed, without the header.
std::vector<std::string> rowsOf(const std::string& output) {
  const std::string header = "\ncount\tWord\t\tVal\tValMn\tAroMn\tLen\tFreq\n";
  std::vector<std::string> rows;
  size_t pos = output.find(header);
  if (pos == std::string::npos) return rows;
  for (pos += header.size(); output.compare(pos, 6, "Done.\n") != 0;) {
    const size_t end = output.find('\n', pos);
    rows.push_back(output.substr(pos, end - pos));
    pos = end + 1;
  }
  return rows;
}

TEST(OwnNorms, WarrinerCsvWithAFrequencyFileGivesAWholeList) {
  TempDir dir;
  // A byte-order mark, CRLF, a quoted word holding a comma, a multi-word
  // entry; six categories of five words, all of length 5 or so.
  std::string csv = "\xEF\xBB\xBF" + kWarrinerHeader + "\r\n";
  const char* const kinds[] = {"glad", "grim", "desk", "wild", "rage", "loud"};
  const double valence[] = {8, 2, 5, 8.5, 2.5, 5.5};
  const double arousal[] = {3, 3, 3, 7, 7, 6.5};
  int n = 0;
  std::string frequencies = "Word\tFREQcount\tCDcount\tFREQlow\tCdlow\tSUBTLWF\n";
  for (int k = 0; k < 6; ++k) {
    for (int i = 0; i < 5; ++i) {
      const std::string word = std::string(kinds[k]) + static_cast<char>('a' + i);
      csv += warrinerRow(++n, word, valence[k], arousal[k]);
      // Capitalised in the frequency file: joined through the lower-cased form.
      if (i < 4)
        frequencies +=
            (i == 0 ? std::string(1, static_cast<char>(word[0] - 'a' + 'A')) + word.substr(1)
                    : word) +
            "\t9\t9\t9\t9\t12.5\n";
    }
  }
  csv += warrinerRow(31, "\"alarm clock\"", 8, 3);
  csv += warrinerRow(32, "\"yes, no\"", 5, 3);
  frequencies += "alarm clock\t1\t1\t1\t1\t3\n";
  dir.write("norms.csv", csv);
  dir.write("subtlex.txt", frequencies);
  const RunResult r = runChecked(dir.path(), {"24", "YES", "--norms", "norms.csv", "--frequency",
                                              "subtlex.txt", "--seed", "4"});
  EXPECT_EQ(r.status, 0) << r.output;
  EXPECT_EQ(
      r.output.rfind(
          "filename is norms.csv\nReading: 32 rows; word=Word, valence=V.Mean.Sum, "
          "valence_sd=V.SD.Sum, arousal=A.Mean.Sum; frequency from subtlex.txt "
          "(Word, SUBTLWF).\nMatching: length within 2 letters and Zipf frequency within 0.2 of "
          "the group's anchor.\nWarning: 7 of 32 norms words have no frequency "
          "in subtlex.txt; they are left out of the selection.\n",
          0),
      0u)
      << r.output;
  const std::vector<std::string> rows = rowsOf(r.output);
  ASSERT_EQ(rows.size(), 24u);
  for (const std::string& row : rows) EXPECT_NE(row.find("\t12.50"), std::string::npos) << row;
}

TEST(OwnNorms, NrcTsvOnZeroToOneClassifiesOnItsScaleAndPrintsItsOwnValues) {
  TempDir dir;
  std::string tsv = "Word\tValence\tArousal\tDominance\tfrequency\n";
  const char* const kinds[] = {"glad", "grim", "desk", "wild", "rage", "loud"};
  // 0.9 maps to 8.2, 0.1 to 1.8, 0.5 to 5; arousal 0.2 to 2.6, 0.8 to 7.4.
  const char* const ratings[] = {"0.900\t0.200", "0.100\t0.200", "0.500\t0.200",
                                 "0.900\t0.800", "0.100\t0.800", "0.500\t0.800"};
  for (int k = 0; k < 6; ++k) {
    for (int i = 0; i < 3; ++i) {
      tsv += std::string(kinds[k]) + std::to_string(i) + "\t" + ratings[k] + "\t0.5\t7\n";
    }
  }
  dir.write("nrc.tsv", tsv);
  const RunResult onScale =
      runChecked(dir.path(), {"6", "--norms", "nrc.tsv", "--scale", "0:1", "--seed", "1"});
  EXPECT_EQ(onScale.status, 0) << onScale.output;
  const std::vector<std::string> rows = rowsOf(onScale.output);
  ASSERT_EQ(rows.size(), 6u) << onScale.output;
  EXPECT_NE(rows[0].find("\t+ \t0.900\t0.200\t5\t7"), std::string::npos) << rows[0];
  // Without --scale the ratings must lie on 1-9: 0-1 ratings are refused,
  // not classified as unclassed words.
  const RunResult unscaled = runStimsel(dir.path(), {"6", "--norms", "nrc.tsv", "--seed", "1"});
  EXPECT_EQ(unscaled.status, 1);
  EXPECT_NE(unscaled.output.find("nrc.tsv:2: column Valence: 0.900 is outside the scale 1 to 9\n"),
            std::string::npos)
      << unscaled.output;
}

TEST(OwnNorms, ClassicFileOfAnotherLengthIsReadToItsEnd) {
  TempDir dir;
  std::string text = "two header\nlines\n";
  for (const NormsWord& w : blockFixtureWords(3)) text += normsLine(w) + "\n\n";
  text += "decimal\t7\t8.00\t1.00\t3.00\t1.50\t3.00\t0.50\t10.25\n";
  dir.write("mine.txt", text);
  const RunResult r =
      runChecked(dir.path(), {"18", "--norms", "mine.txt", "--header-lines", "2", "--seed", "5"});
  EXPECT_EQ(r.status, 0) << r.output;
  EXPECT_EQ(rowsOf(r.output).size(), 18u);
}

TEST(OwnNorms, LargeTablesReachRecordsBeyond32768) {
  // 40,000 rows; only the last 6,000 are classified, so every chosen word
  // lies beyond row 32,768.
  TempDir dir;
  std::string csv = "word,valence,arousal,frequency\n";
  const char* const ratings[] = {"8,3", "2,3", "5,3", "8.5,7", "2.5,7", "5.5,6.5"};
  for (int i = 0; i < 40000; ++i) {
    const std::string r = i < 34000 ? "3.5,5" : ratings[i % 6];
    csv += "w" + std::to_string(100000 + i) + "," + r + ",10\n";
  }
  dir.write("big.csv", csv);
  const RunResult r = runChecked(dir.path(), {"60", "--norms", "big.csv", "--seed", "9"});
  EXPECT_EQ(r.status, 0) << r.output.substr(0, 500);
  const std::vector<std::string> rows = rowsOf(r.output);
  ASSERT_EQ(rows.size(), 60u);
  std::set<std::string> words;
  for (const std::string& row : rows) {
    const std::string word = row.substr(row.find('\t') + 1, 7);
    EXPECT_GE(std::stoi(word.substr(1)), 134000) << row;
    words.insert(word);
  }
  EXPECT_EQ(words.size(), 60u);
}

}  // namespace
