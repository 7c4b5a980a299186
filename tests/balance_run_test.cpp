// --balance and --latin-square through the binary: what a balanced list
// promises (every group within its tolerances, the imbalance never raised,
// the groups' shape and the lists' make-up kept, the same bytes for the same
// seed), the figures it prints, and the schedule file.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "tests/list_checker.h"
#include "tests/test_support.h"

namespace {

struct Tolerance {
  std::string variable;  // an export column, or "zipf" of the frequency column
  double most;
};

struct Design {
  const char* name;
  const char* folder;  // under the source tree
  std::vector<std::string> args;
  std::vector<Tolerance> tolerances;
  bool all;  // --match all
};

const std::vector<std::string> kWarriner = {"--norms", "warriner-style.csv", "--frequency",
                                            "subtlex-style.txt"};

std::vector<std::string> with(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

std::vector<Design> designs() {
  return {
      {"sample full mode", "data", {"36", "YES"}, {{"length", 2}, {"frequency", 10}}, false},
      {"sample no arousal 3 lists",
       "data",
       {"18", "NO", "--lists", "3"},
       {{"length", 2}, {"frequency", 10}},
       false},
      {"sample all pairs Zipf 2 lists",
       "data",
       {"24", "YES", "--lists", "2", "--match", "all", "--zipf-tolerance", "0.3"},
       {{"length", 2}, {"zipf", 0.3}},
       true},
      {"split design 2 lists",
       "data/examples",
       with(kWarriner, {"24", "--split", "valence=neg:[1,4) pos:[6,9]", "--lists", "2"}),
       {{"length", 2}, {"zipf", 0.2}},
       false},
      {"two splits all pairs",
       "data/examples",
       with(kWarriner, {"16", "--split", "valence=neg:[1,4) pos:[6,9]", "--split",
                        "arousal=calm:[1,4.5) hi:[4.5,9]", "--control", "length=1", "--control",
                        "zipf=0.3", "--match", "all"}),
       {{"length", 1}, {"zipf", 0.3}},
       true},
  };
}

struct DesignRun {
  RunResult result;
  std::string exportText;
  ExportRows rows;
};

DesignRun runDesign(const Design& design, int seed, bool balance) {
  TempDir out;
  std::vector<std::string> args =
      with(design.args, {"--seed", std::to_string(seed), "--out", out.path() + "/list.csv"});
  if (balance) args.emplace_back("--balance");
  DesignRun run{runStimsel(std::string(STIMSEL_SOURCE_DIR) + "/" + design.folder, args), "", {}};
  run.exportText = fileText(out.path() + "/list.csv");
  run.rows = readDelimitedExport(run.exportText, ',');
  return run;
}

double valueOf(const std::map<std::string, std::string>& row, const std::string& variable) {
  const auto cell = row.find(variable);
  if (cell != row.end()) return std::stod(cell->second);
  return std::log10(std::max(std::stod(row.at("frequency")), 0.01)) + 3;  // Zipf of the frequency
}

using Groups = std::map<std::pair<std::string, std::string>, ExportRows>;  // (list, group)

Groups groupsOf(const ExportRows& rows) {
  Groups groups;
  for (const auto& row : rows) groups[{row.at("list"), row.at("group")}].push_back(row);
  return groups;
}

// Every two words the rule compares lie within every tolerance.
::testing::AssertionResult withinTolerances(const Design& design, const ExportRows& rows) {
  for (const auto& [key, group] : groupsOf(rows)) {
    for (const auto& a : group) {
      for (const auto& b : group) {
        if (&a == &b || (!design.all && a.at("role") != "anchor")) continue;
        for (const Tolerance& t : design.tolerances) {
          if (std::fabs(valueOf(a, t.variable) - valueOf(b, t.variable)) > t.most) {
            return ::testing::AssertionFailure()
                   << "list " << key.first << " group " << key.second << ": " << a.at("word")
                   << " and " << b.at("word") << " differ by more than " << t.most << " in "
                   << t.variable;
          }
        }
      }
    }
  }
  return ::testing::AssertionSuccess();
}

// The imbalance before and after, as the balancing line prints them.
std::pair<double, double> imbalances(const std::string& output) {
  double before = -1;
  double after = -1;
  const size_t from = output.find("lowered the imbalance from ");
  if (from != std::string::npos) {
    std::sscanf(output.c_str() + from, "lowered the imbalance from %lf to %lf", &before, &after);
  } else if (const size_t same = output.find("no exchange lowers the imbalance (");
             same != std::string::npos) {
    std::sscanf(output.c_str() + same, "no exchange lowers the imbalance (%lf", &before);
    after = before;
  }
  return {before, after};
}

// Per list, the words of each category; per (list, group), its anchor's category.
std::map<std::string, std::map<std::string, int>> makeUp(const ExportRows& rows) {
  std::map<std::string, std::map<std::string, int>> counts;
  for (const auto& row : rows) ++counts[row.at("list")][row.at("category")];
  return counts;
}

std::map<std::pair<std::string, std::string>, std::string> anchors(const ExportRows& rows) {
  std::map<std::pair<std::string, std::string>, std::string> categories;
  for (const auto& row : rows) {
    if (row.at("role") == "anchor")
      categories[{row.at("list"), row.at("group")}] = row.at("category");
  }
  return categories;
}

void PrintTo(const Design& design, std::ostream* os) {
  *os << design.name;
}

class Balanced : public ::testing::TestWithParam<Design> {};

TEST_P(Balanced, KeepsEveryPromiseOfTheDraw) {
  const Design& design = GetParam();
  for (int seed = 1; seed <= 3; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    const DesignRun drawn = runDesign(design, seed, false);
    const DesignRun balanced = runDesign(design, seed, true);
    ASSERT_EQ(balanced.result.status, 0) << balanced.result.output;
    EXPECT_TRUE(withinTolerances(design, balanced.rows)) << balanced.result.output;
    std::set<std::string> words;
    for (const auto& row : balanced.rows) words.insert(row.at("word"));
    EXPECT_EQ(words.size(), balanced.rows.size()) << "a word chosen twice";

    const auto [before, after] = imbalances(balanced.result.output);
    ASSERT_GE(before, 0) << balanced.result.output;
    EXPECT_LE(after, before);

    // The groups keep their shape: as many, in the same lists, each with the
    // anchor category it was drawn with; so every list keeps its make-up.
    EXPECT_EQ(anchors(balanced.rows), anchors(drawn.rows));
    const auto counts = makeUp(balanced.rows);
    for (const auto& [list, perCategory] : counts) EXPECT_EQ(perCategory, counts.begin()->second);
    EXPECT_EQ(counts, makeUp(drawn.rows));

    const DesignRun again = runDesign(design, seed, true);
    EXPECT_EQ(again.result.output, balanced.result.output);
    EXPECT_EQ(again.exportText, balanced.exportText);
  }
}

std::string designName(const ::testing::TestParamInfo<Design>& info) {
  std::string name;
  for (const char* c = info.param.name; *c != '\0'; ++c) name += std::isalnum(*c) ? *c : '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(Designs, Balanced, ::testing::ValuesIn(designs()), designName);

// The figures were computed apart from the program by
// tests/balance_reference.py (Hedges' g with numpy and scipy, the imbalance
// from the eligible pool it classifies itself) from the exports of the same
// runs without and with --balance.
TEST(BalancingLines, AgreeWithAnIndependentComputation) {
  struct Case {
    const char* folder;
    std::vector<std::string> args;
    std::vector<std::string> lines;
  };
  const std::vector<Case> cases = {
      {"data",
       {"36", "YES", "--seed", "7"},
       {"Balancing: 28 exchanges (28 words replaced) lowered the imbalance from 1.1537 to 0.0116; "
        "no single exchange lowers it further.",
        "Largest |Hedges' g| as drawn -> balanced:", "  length: between categories 0.57 -> 0.00",
        "  frequency: between categories 0.58 -> 0.34"}},
      {"data",
       {"24", "YES", "--lists", "2", "--seed", "3"},
       {"  length: between categories 0.52 -> 0.00, between lists 0.25 -> 0.00",
        "  frequency: between categories 0.94 -> 0.32, between lists 0.14 -> 0.15"}},
      {"data",
       {"18", "YES", "--lists", "3", "--match", "all", "--seed", "11"},
       {"  length: between categories 0.31 -> 0.00, between lists 1.03 -> 0.00",
        "  frequency: between categories 0.66 -> 0.21, between lists 0.45 -> 0.16"}},
      {"data/examples",
       with(kWarriner,
            {"24", "--split", "valence=neg:[1,4) pos:[6,9]", "--lists", "2", "--seed", "5"}),
       {"  length: between categories 0.05 -> 0.00, between lists 0.30 -> 0.00",
        "  Zipf frequency: between categories 0.00 -> 0.00, between lists 0.66 -> 0.00"}},
      {"data/examples",
       with(kWarriner, {"100", "--split", "valence=neg:[1,4) pos:[6,9]", "--seed", "5"}),
       {"  length: between categories 0.15 -> 0.00",
        "  Zipf frequency: between categories 0.02 -> 0.00"}},
  };
  const std::vector<std::string> imbalanceFigures = {
      "from 1.1537 to 0.0116;", "from 1.3621 to 0.0320;", "from 1.0147 to 0.0103;",
      "from 0.6754 to 0.000445;", "from 0.0177 to 0.0000501;"};
  for (size_t i = 0; i < cases.size(); ++i) {
    const RunResult r = runStimsel(std::string(STIMSEL_SOURCE_DIR) + "/" + cases[i].folder,
                                   with(cases[i].args, {"--balance"}));
    EXPECT_EQ(r.status, 0);
    for (const std::string& line : cases[i].lines) {
      EXPECT_NE(r.output.find("\n" + line + "\n"), std::string::npos) << line << "\n" << r.output;
    }
    EXPECT_NE(r.output.find(imbalanceFigures[i]), std::string::npos) << r.output;
  }
}

// With --report the lines go into the report, after its methods paragraph,
// and are not printed twice.
TEST(BalancingLines, StandInTheReportOnce) {
  const RunResult r = runStimsel(std::string(STIMSEL_SOURCE_DIR) + "/data",
                                 {"36", "YES", "--seed", "7", "--balance", "--report"});
  EXPECT_EQ(r.status, 0);
  const size_t methods = r.output.find("\nMethods: ");
  const size_t line = r.output.find("\nBalancing: 28 exchanges");
  ASSERT_NE(line, std::string::npos) << r.output;
  EXPECT_LT(methods, line);
  EXPECT_EQ(r.output.find("\nBalancing: ", line + 1), std::string::npos);
  EXPECT_NE(r.output.find("\nMethods, continued: The drawn groups were then balanced"),
            std::string::npos);
}

// The schedule read back from its file: participant group -> list per condition.
std::vector<std::vector<int>> scheduleOf(const std::string& text, const std::string& format) {
  const ExportRows rows = format == "json"
                              ? readJsonExport(text)
                              : readDelimitedExport(text, format == "tsv" ? '\t' : ',');
  std::vector<std::vector<int>> schedule;
  for (const auto& row : rows) {
    const size_t p = std::stoul(row.at("participant_group"));
    if (schedule.size() < p) schedule.resize(p);
    EXPECT_EQ(std::stoul(row.at("condition")), schedule[p - 1].size() + 1) << "out of order";
    schedule[p - 1].push_back(std::stoi(row.at("list")));
  }
  return schedule;
}

TEST(LatinSquare, FileIsACounterbalancedSchedule) {
  const std::vector<std::pair<int, std::string>> cases = {
      {2, "csv"}, {3, "tsv"}, {4, "json"}, {5, "csv"}, {6, "tsv"}};
  for (const auto& [lists, format] : cases) {
    SCOPED_TRACE(std::to_string(lists) + " lists, " + format);
    TempDir out;
    const RunResult r = runStimsel(std::string(STIMSEL_SOURCE_DIR) + "/data",
                                   {"6", "NO", "--lists", std::to_string(lists), "--latin-square",
                                    "--seed", "1", "--out", out.path() + "/list." + format});
    ASSERT_EQ(r.status, 0) << r.output;
    const auto schedule = scheduleOf(fileText(out.path() + "/list-schedule." + format), format);
    const size_t sequences = lists % 2 == 0 ? lists : 2 * lists;
    ASSERT_EQ(schedule.size(), sequences);
    std::map<std::pair<int, int>, int> inColumn;  // (condition, list) -> groups
    std::map<std::pair<int, int>, int> followed;  // (list, next list) -> groups
    for (size_t p = 0; p < schedule.size(); ++p) {
      std::string printed = "\n" + std::to_string(p + 1);
      EXPECT_EQ(std::set<int>(schedule[p].begin(), schedule[p].end()).size(), size_t(lists));
      for (int t = 0; t < lists; ++t) {
        printed += "\tlist " + std::to_string(schedule[p][t]);
        ++inColumn[{t, schedule[p][t]}];
        if (t > 0) ++followed[{schedule[p][t - 1], schedule[p][t]}];
      }
      EXPECT_NE(r.output.find(printed + "\n"), std::string::npos) << "not printed: " << printed;
    }
    const int times = static_cast<int>(sequences) / lists;
    EXPECT_EQ(inColumn.size(), size_t(lists * lists));
    for (const auto& [at, count] : inColumn) EXPECT_EQ(count, times);
    EXPECT_EQ(followed.size(), size_t(lists * (lists - 1)));
    for (const auto& [pair, count] : followed) EXPECT_EQ(count, times);
  }
}

// The schedule is opt-in: the rest of the run is the run without it.
TEST(LatinSquare, AddsOnlyTheSchedule) {
  const std::string data = std::string(STIMSEL_SOURCE_DIR) + "/data";
  const RunResult plain = runStimsel(data, {"24", "YES", "--lists", "4", "--seed", "2"});
  const RunResult scheduled =
      runStimsel(data, {"24", "YES", "--lists", "4", "--seed", "2", "--latin-square"});
  const size_t from = scheduled.output.find("\nCounterbalancing schedule: ");
  const size_t to = scheduled.output.find("Done.\n");
  ASSERT_NE(from, std::string::npos);
  EXPECT_EQ(scheduled.output.substr(0, from) + scheduled.output.substr(to), plain.output);
}

// All files or none: a folder where the schedule goes leaves the export unwritten.
TEST(LatinSquare, ScheduleThatCannotBeWrittenWritesNothing) {
  TempDir out;
  std::filesystem::create_directory(out.path() + "/list-schedule.csv");
  const RunResult r = runStimsel(
      std::string(STIMSEL_SOURCE_DIR) + "/data",
      {"12", "--lists", "2", "--latin-square", "--seed", "1", "--out", out.path() + "/list.csv"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.output.find("list-schedule.csv: it is a folder, not a regular file"),
            std::string::npos)
      << r.output;
  EXPECT_FALSE(std::filesystem::exists(out.path() + "/list.csv"));
}

}  // namespace
