// The rule a run matches on, as every own-norms run states it, and the
// columns a design keeps from a table.
#include <gtest/gtest.h>

#include <sstream>

#include "tables/delimited_norms.h"
#include "tests/test_support.h"
#include "words/number_text.h"

namespace {

// Six words, one per affect category, of one length and frequency.
std::string normsWith(const std::string& frequencyColumn) {
  return "word,valence,arousal," + frequencyColumn +
         "\nglad,8,3,10\ngrim,2,3,10\ndesk,5,3,10\nwild,8.5,7,10\nrage,2.5,7,10\nloud,5.5,6.5,10\n";
}

std::string matchingLineOf(const std::string& output) {
  const size_t at = output.find("Matching: ");
  return at == std::string::npos ? "" : output.substr(at, output.find('\n', at) - at);
}

TEST(MatchingRule, EveryOwnNormsRunStatesTheRuleInForce) {
  struct Row {
    const char* name;
    const char* column;  // the frequency column's name
    std::vector<std::string> options;
    const char* line;
  };
  const Row rows[] = {
      {"frequency of unknown unit",
       "frequency",
       {},
       "Matching: length within 2 letters and frequency within 10 of the group's anchor."},
      {"per-million column",
       "SUBTLWF",
       {},
       "Matching: length within 2 letters and Zipf frequency within 0.2 of the group's anchor."},
      {"unit declared per million",
       "fpm",
       {"--frequency-unit", "per-million"},
       "Matching: length within 2 letters and Zipf frequency within 0.2 of the group's anchor."},
      {"unit declared other",
       "SUBTLWF",
       {"--frequency-unit", "other"},
       "Matching: length within 2 letters and frequency within 10 of the group's anchor."},
      {"tolerances given",
       "SUBTLWF",
       {"--zipf-tolerance", "0.35", "--length-tolerance", "1"},
       "Matching: length within 1 letter and Zipf frequency within 0.35 of the group's anchor."},
      {"frequency tolerance on per-million data",
       "SUBTLWF",
       {"--frequency-tolerance", "5"},
       "Matching: length within 2 letters and frequency within 5 of the group's anchor."},
      {"every pair",
       "SUBTLWF",
       {"--match", "all"},
       "Matching: length within 2 letters and Zipf frequency within 0.2 of each other."},
  };
  for (const Row& row : rows) {
    TempDir dir;
    dir.write("norms.csv", normsWith(row.column));
    std::vector<std::string> args = {"6", "YES", "--norms", "norms.csv", "--seed", "1"};
    args.insert(args.end(), row.options.begin(), row.options.end());
    const RunResult r = runStimsel(dir.path(), args);
    EXPECT_EQ(r.status, 0) << row.name << "\n" << r.output;
    EXPECT_EQ(matchingLineOf(r.output), row.line) << row.name;
  }
  // The default run on the classic file states nothing new.
  TempDir dir;
  dir.write("KOVA.txt", normsFileText(blockFixtureWords(2)));
  EXPECT_EQ(matchingLineOf(runStimsel(dir.path(), {"6", "--seed", "1"}).output), "");
}

TEST(MatchingRule, OptionSpellingsOfThePositions) {
  TempDir dir;
  dir.write("KOVA.txt", normsFileText(blockFixtureWords(3)));
  dir.write("kovatags.txt", "1\n<adj>glad00</adj>\n");
  dir.write("used.txt", "1\nglad01\n");
  const RunResult spelled =
      runStimsel(dir.path(), {"3", "NO", "--exclude", "used.txt", "--pos", "adj", "--seed", "1"});
  const RunResult positional =
      runStimsel(dir.path(), {"3", "NO", "used.txt", "adj", "--seed", "1"});
  EXPECT_EQ(spelled.output, positional.output);
  EXPECT_EQ(spelled.status, positional.status);
  struct Row {
    const char* name;
    std::vector<std::string> args;
    const char* message;
  };
  const Row rows[] = {
      {"exclusion twice",
       {"3", "NO", "used.txt", "--exclude", "used.txt"},
       "stimsel: --exclude and the third position both name an exclusion file; give only one\n"},
      {"part of speech twice",
       {"3", "NO", "0", "adj", "--pos", "n"},
       "stimsel: --pos and the fourth position both name a part of speech; give only one\n"},
      {"unknown design",
       {"3", "--design", "bands"},
       "stimsel: bad value 'bands' for --design: expected affect (the built-in design; --split "
       "gives others)\n"},
      {"unknown unit",
       {"3", "--frequency-unit", "percent"},
       "stimsel: bad value 'percent' for --frequency-unit: expected per-million or other\n"},
  };
  for (const Row& row : rows) {
    const RunResult r = runStimsel(dir.path(), row.args);
    EXPECT_EQ(r.status, 2) << row.name;
    EXPECT_EQ(r.output, row.message) << row.name;
  }
}

TEST(DesignColumns, ATableKeepsTheColumnsADesignNames) {
  struct Row {
    const char* name;
    std::vector<std::string> kept;
    const char* result;  // the kept values, or the error
  };
  const std::string csv =
      "Word,Valence,Arousal,Frequency,Conc.M,AoA\n"
      "glad,8,3,10,4.5,3\ngrim,2,3,10,NA,4\ndesk,5,3,10,2,5.25\n";
  const Row rows[] = {
      {"by name, any case", {"conc.m", "AoA"}, "conc.m 4.5 2; AoA 3 5.25; 2 records"},
      {"a rating role as read", {"valence"}, "valence 8 2 5; 3 records"},
      {"unknown column",
       {"concreteness"},
       "t.csv:1: no column named \"concreteness\" for the design; the columns are: Word, "
       "Valence, Arousal, Frequency, Conc.M, AoA"},
      {"word column",
       {"word"},
       "t.csv:1: the word column holds no numbers; a design cannot use it"},
  };
  for (const Row& row : rows) {
    DelimitedLayout layout;
    layout.keptColumns = row.kept;
    std::istringstream in(csv);
    const Result<WordTable> table = readDelimitedNorms(in, "t.csv", layout);
    std::string got;
    if (!table.ok()) {
      got = table.error().text();
    } else {
      for (const NumericColumn& column : table.value().columns) {
        got += column.name;
        for (double v : column.values) got += " " + decimalText(v);
        got += "; ";
      }
      got += std::to_string(table.value().records.size()) + " records";
    }
    EXPECT_EQ(got, row.result) << row.name;
  }
  std::istringstream text("Word,Valence,Arousal,Frequency,Conc\nglad,8,3,10,high\n");
  DelimitedLayout layout;
  layout.keptColumns = {"Conc"};
  EXPECT_EQ(
      readDelimitedNorms(text, "t.csv", layout).error().text(),
      "t.csv:2: column Conc: \"high\" is not a number (a design needs this column's numbers)");
}

}  // namespace
