// The export, the balance report and the plot, read back the way the
// programs researchers load them into would read them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>

#include "output/report.h"
#include "tables/delimited_reader.h"
#include "tests/list_checker.h"
#include "tests/test_support.h"

namespace {

// An exported list as rows of named cells.
using Rows = std::vector<std::map<std::string, std::string>>;

Rows readDelimited(const std::string& text, char delimiter) {
  std::istringstream in(text);
  DelimitedReader reader(in, delimiter, "export");
  std::vector<std::string> header;
  std::vector<std::string> fields;
  EXPECT_TRUE(reader.next(header));
  Rows rows;
  while (reader.next(fields)) {
    EXPECT_EQ(fields.size(), header.size());
    std::map<std::string, std::string>& row = rows.emplace_back();
    for (size_t i = 0; i < header.size() && i < fields.size(); ++i) row[header[i]] = fields[i];
  }
  EXPECT_FALSE(reader.error().has_value());
  return rows;
}

Rows readJson(const std::string& text) {
  Rows rows;
  for (const auto& object : nlohmann::json::parse(text)) {
    std::map<std::string, std::string>& row = rows.emplace_back();
    for (const auto& [key, value] : object.items()) {
      row[key] = value.is_string() ? value.get<std::string>() : value.dump();
    }
  }
  return rows;
}

// Every group: one word per category in play, partners within the
// tolerances of the anchor, the anchor first in role.
void checkGroups(const Rows& rows, size_t groupSize) {
  std::map<std::string, Rows> groups;
  for (const auto& row : rows) groups[row.at("list") + "/" + row.at("group")].push_back(row);
  for (const auto& [key, group] : groups) {
    ASSERT_EQ(group.size(), groupSize) << key;
    const auto anchor = std::find_if(group.begin(), group.end(),
                                     [](const auto& r) { return r.at("role") == "anchor"; });
    ASSERT_NE(anchor, group.end()) << key;
    for (size_t i = 0; i < group.size(); ++i) {
      EXPECT_EQ(group[i].at("category"), std::to_string(i + 1)) << key;
      EXPECT_LE(std::abs(std::stoi(group[i].at("length")) - std::stoi(anchor->at("length"))), 2);
      EXPECT_LE(std::fabs(std::stod(group[i].at("frequency")) - std::stod(anchor->at("frequency"))),
                10);
    }
  }
}

std::string sample() {
  return std::string(STIMSEL_SOURCE_DIR) + "/data";
}

TEST(Export, EveryFormatReadsBackAsTheListThatWasPrinted) {
  TempDir dir;
  const std::string csv = dir.path() + "/list.csv";
  const std::string tsv = dir.path() + "/list.tsv";
  const std::string json = dir.path() + "/list.json";
  const RunResult r = runChecked(sample(), {"36", "YES", "--seed", "7", "--out", csv});
  ASSERT_EQ(r.status, 0) << r.output;
  runChecked(sample(), {"36", "YES", "--seed", "7", "--out", tsv});
  runChecked(sample(), {"36", "YES", "--seed", "7", "--out", json});
  const Rows fromCsv = readDelimited(fileText(csv), ',');
  const Rows fromTsv = readDelimited(fileText(tsv), '\t');
  const Rows fromJson = readJson(fileText(json));
  ASSERT_EQ(fromCsv.size(), 36u);
  EXPECT_EQ(fromTsv, fromCsv);
  checkGroups(fromCsv, 6);
  for (size_t i = 0; i < fromCsv.size(); ++i) {
    EXPECT_EQ(fromJson[i].at("word"), fromCsv[i].at("word"));
    EXPECT_EQ(std::stod(fromJson[i].at("valence")), std::stod(fromCsv[i].at("valence")));
    // The exported word is printed in the table with the same ratings.
    const std::string word = fromCsv[i].at("word");
    const size_t at = r.output.find("\t" + word + " ");
    ASSERT_NE(at, std::string::npos) << word;
    char ratings[64];
    std::snprintf(ratings, sizeof ratings, "\t%.3f\t%.3f\t", std::stof(fromCsv[i].at("valence")),
                  std::stof(fromCsv[i].at("arousal")));
    EXPECT_EQ(
        r.output.compare(r.output.find('\t', at + 1) + 3, std::string(ratings).size(), ratings), 0)
        << word;
  }
}

TEST(Export, StandardOutputHoldsTheExportAlone) {
  const RunResult r = runChecked(sample(), {"12", "NO", "0", "adj", "--seed", "3", "--out", "-"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.output.rfind("list,group,role,category,category_name,label,word,valence,valence_sd,"
                           "arousal,length,frequency,pos,source_line\r\n",
                           0),
            0u)
      << r.output;
  const Rows rows = readDelimited(r.output, ',');
  ASSERT_EQ(rows.size(), 12u);
  checkGroups(rows, 3);
  EXPECT_EQ(rows[0].at("pos"), "adj");
  const RunResult missing = runChecked(sample(), {"12", "--norms", "nothere.csv", "--out", "-"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.output, "");
  EXPECT_EQ(missing.errors, "Couldn't open norms file nothere.csv\n");
}

TEST(Export, CsvQuotesWhatNeedsQuotingAndKeepsDecimalValues) {
  TempDir dir;
  dir.write("norms.csv",
            "word,valence,arousal,frequency\n\"a, \"\"b\"\"\",8,3,12.35\ngrim,2,3,12.25\n"
            "desk,5,3,12.5\n");
  const RunResult r =
      runStimsel(dir.path(), {"3", "NO", "--norms", "norms.csv", "--seed", "1", "--out", "-"});
  const Rows rows = readDelimited(r.output, ',');
  ASSERT_EQ(rows.size(), 3u) << r.output;
  EXPECT_EQ(rows[0].at("word"), "a, \"b\"");
  EXPECT_EQ(rows[0].at("frequency"), "12.35");
  EXPECT_EQ(rows[0].at("valence_sd"), "");
}

TEST(Report, CompareMeansMatchesValuesWorkedOutByHand) {
  // a = 1 2 3, b = 2 3 4: pooled SD 1, d = -1, J = 1 - 3 / (4 * 6 - 9) = 0.8;
  // se = sqrt(2/3); t = (-1 +- 0.5) / se on 4 df; p from numeric integration
  // of the t density.
  const Comparison c = compareMeans({1, 2, 3}, {2, 3, 4}, 0.5);
  ASSERT_TRUE(c.computable);
  EXPECT_NEAR(c.g, -0.8, 1e-12);
  EXPECT_NEAR(c.pooledSd, 1, 1e-12);
  EXPECT_EQ(c.df, 4);
  EXPECT_NEAR(c.tLower, -0.6123724357, 1e-9);
  EXPECT_NEAR(c.tUpper, -1.8371173071, 1e-9);
  EXPECT_NEAR(c.p, 0.7133041041, 1e-6);
  EXPECT_FALSE(compareMeans({1}, {2, 3}, 0.5).computable);
  EXPECT_FALSE(compareMeans({2, 2}, {3, 3}, 0.5).computable);
  EXPECT_NEAR(zipfOf(1), 3, 1e-12);
  EXPECT_NEAR(zipfOf(0), 1, 1e-12);
}

TEST(Report, SummarisesEachCategoryAndSaysHowToDrawTheListAgain) {
  // Two words per category, all matchable: any 12-word list holds them all.
  TempDir dir;
  dir.write("norms.csv",
            "word,valence,arousal,frequency\naaaa,7.5,3,10\naaaaa,8.5,4,12\nbbbb,2,3,10\n"
            "bbbbb,2,3,10\ncccc,5,3,10\nccccc,5,3,10\ndddd,8,7,10\nddddd,8,7,10\n"
            "eeee,2,7,10\neeeee,2,7,10\nffff,5,6,10\nfffff,5,6,10\n");
  const RunResult r =
      runStimsel(dir.path(), {"12", "--norms", "norms.csv", "--report", "--seed", "5"});
  ASSERT_EQ(r.status, 0) << r.output;
  for (const char* line :
       {"  1 calm positive (\"+ \"): 2 words\n"
        "    length         4.50  SD    0.71  4.00 - 5.00\n"
        "    frequency     11.00  SD    1.41  10.00 - 12.00\n",
        "    valence        8.00  SD    0.71  7.50 - 8.50\n"
        "    arousal        3.50  SD    0.71  3.00 - 4.00\n",
        "Seed: 5\nTo draw this list again: stimsel 12 --norms norms.csv --report --seed 5\n",
        "Groups were drawn at random with seed 5.\nDone.\n"}) {
    EXPECT_NE(r.output.find(line), std::string::npos) << line << "\n" << r.output;
  }
  EXPECT_LT(r.output.find("\nBalance report\n"), r.output.find("Done.\n"));
}

TEST(Report, AShortListSaysSo) {
  const RunResult r =
      runChecked(sample(), {"2147483647", "NO", "0", "prep", "--seed", "1", "--report"});
  EXPECT_EQ(r.status, 3);
  EXPECT_NE(r.output.find("\nBalance report\nThe list is short: 0 of 2147483646 words were "
                          "matched; the report covers the complete groups.\n"),
            std::string::npos)
      << r.output;
}

TEST(Plot, IsXmlWithOneColouredDotPerChosenWordInEachPanel) {
  TempDir dir;
  const std::string svg = dir.path() + "/list.svg";
  ASSERT_EQ(runChecked(sample(), {"36", "YES", "--seed", "7", "--plot", svg}).status, 0);
  // Python's XML parser is the independent reader here.
  FILE* pipe = popen(("python3 -c 'import sys, xml.etree.ElementTree as E\n"
                      "r = E.parse(sys.argv[1]).getroot()\n"
                      "ns = \"{http://www.w3.org/2000/svg}\"\n"
                      "c = [e for e in r.iter(ns + \"circle\") if e.get(\"class\") == \"chosen\"]\n"
                      "p = [g for g in r.iter(ns + \"g\") if g.get(\"class\") == \"panel\"]\n"
                      "print(len(c) // len(p), len({e.find(ns + \"title\").text for e in c}))' " +
                      svg)
                         .c_str(),
                     "r");
  ASSERT_NE(pipe, nullptr);
  char buffer[64] = {0};
  const size_t got = fread(buffer, 1, sizeof buffer - 1, pipe);
  EXPECT_EQ(pclose(pipe), 0);
  EXPECT_EQ(std::string(buffer, got), "36 36\n");
}

}  // namespace
