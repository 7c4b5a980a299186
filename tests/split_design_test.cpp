// Designs of the user's own categories, run end to end: every chosen word
// lies in the bands of its category and within every tolerance of its
// group, the categories are named as the bands are, and every bad form of
// the design options is refused with a message a user can act on.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "tests/list_checker.h"  // readDelimitedExport
#include "tests/test_support.h"

namespace {

// A norms table of `rows` words with two-decimal ratings spread over 1..9,
// concreteness over 1..5, age of acquisition over 2..16 and per-million
// frequencies, from a fixed linear congruential sequence.
std::string generatedNorms(int rows) {
  std::ostringstream out;
  out << "Word,Valence,Valence_SD,Arousal,Concreteness,AoA,SUBTLWF\n";
  unsigned long long state = 12345;
  const auto next = [&state](int most) {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<int>((state >> 33) % static_cast<unsigned long long>(most));
  };
  for (int i = 0; i < rows; ++i) {
    std::string word;
    for (int letters = 3 + next(8); letters > 0; --letters)
      word += static_cast<char>('a' + next(26));
    out << word << i << "," << 1 + next(801) / 100.0 << "," << 0.5 + next(200) / 100.0 << ","
        << 1 + next(801) / 100.0 << "," << 1 + next(401) / 100.0 << "," << 2 + next(1401) / 100.0
        << "," << next(100000) / 100.0 << "\n";
  }
  return out.str();
}

struct Band {
  double low, high;
  bool lowClosed, highClosed;
  bool holds(double v) const {
    return (lowClosed ? v >= low : v > low) && (highClosed ? v <= high : v < high);
  }
};

// One design run over many seeds: for each exported word, the value of each
// split variable in its category's band and every control within tolerance.
struct DesignCase {
  const char* name;
  std::vector<std::string> options;
  // Per category name, the band of each split column (by export column).
  std::map<std::string, std::map<std::string, Band>> bands;
  std::map<std::string, double> tolerances;  // by export column
  bool all = false;
};

void expectDesignHolds(const ExportRows& rows, const DesignCase& design) {
  std::map<std::string, std::vector<const std::map<std::string, std::string>*>> groups;
  std::map<std::string, int> perCategory;
  std::set<std::string> words;
  for (const auto& row : rows) {
    EXPECT_TRUE(words.insert(row.at("word")).second) << row.at("word") << " twice";
    const auto category = design.bands.find(row.at("category_name"));
    ASSERT_NE(category, design.bands.end()) << row.at("category_name");
    for (const auto& [column, band] : category->second) {
      EXPECT_TRUE(band.holds(std::stod(row.at(column)))) << row.at("word") << " " << column;
    }
    groups[row.at("list") + "/" + row.at("group")].push_back(&row);
    ++perCategory[row.at("category_name")];
  }
  for (const auto& [name, count] : perCategory) EXPECT_EQ(count, perCategory.begin()->second);
  for (const auto& [key, members] : groups) {
    ASSERT_EQ(members.size(), design.bands.size()) << key;
    for (size_t a = 0; a < members.size(); ++a) {
      for (size_t b = a + 1; b < members.size(); ++b) {
        if (!design.all && members[a]->at("role") != "anchor") continue;
        for (const auto& [column, tolerance] : design.tolerances) {
          double x = std::stod(members[a]->at(column));
          double y = std::stod(members[b]->at(column));
          EXPECT_LE(std::fabs(x - y), tolerance + 1e-9) << key << " " << column;
        }
      }
    }
  }
}

TEST(SplitDesign, EveryWordInItsBandsAndEveryGroupWithinTolerance) {
  TempDir dir;
  dir.write("norms.csv", generatedNorms(3000));
  const Band neg{1, 3, true, false}, neu{4, 6, false, false}, pos{7, 9, false, true};
  const Band calm{1, 5, true, false}, aroused{5, 9, true, true};
  const Band abstract{1, 3, true, true}, concrete{3, 5, false, true};
  const DesignCase cases[] = {
      {"affect bands with a single arousal cut",
       {"--split", "valence=neg:[1,3) neu:(4,6) pos:(7,9]", "--split",
        "arousal=calm:[1,5) aroused:[5,9]", "--where", "valence_sd<=2"},
       {{"neg/calm", {{"valence", neg}, {"arousal", calm}}},
        {"neg/aroused", {{"valence", neg}, {"arousal", aroused}}},
        {"neu/calm", {{"valence", neu}, {"arousal", calm}}},
        {"neu/aroused", {{"valence", neu}, {"arousal", aroused}}},
        {"pos/calm", {{"valence", pos}, {"arousal", calm}}},
        {"pos/aroused", {{"valence", pos}, {"arousal", aroused}}}},
       {{"length", 2}, {"zipf", 0.2}}},
      {"valence by concreteness on three controls, every pair",
       {"--split", "valence=neg:[1,3) neu:(4,6) pos:(7,9]", "--split",
        "Concreteness=abstract:[1,3] concrete:(3,5]", "--control", "length=1", "--control",
        "zipf=0.5", "--control", "aoa=2", "--match", "all"},
       {{"neg/abstract", {{"valence", neg}, {"Concreteness", abstract}}},
        {"neg/concrete", {{"valence", neg}, {"Concreteness", concrete}}},
        {"neu/abstract", {{"valence", neu}, {"Concreteness", abstract}}},
        {"neu/concrete", {{"valence", neu}, {"Concreteness", concrete}}},
        {"pos/abstract", {{"valence", pos}, {"Concreteness", abstract}}},
        {"pos/concrete", {{"valence", pos}, {"Concreteness", concrete}}}},
       {{"length", 1}, {"zipf", 0.5}, {"aoa", 2}},
       true},
  };
  for (const DesignCase& design : cases) {
    SCOPED_TRACE(design.name);
    for (int seed = 1; seed <= 8; ++seed) {
      std::vector<std::string> args = {"60",    "--norms",  "norms.csv",
                                       "--out", "list.csv", "--lists",
                                       "2",     "--seed",   std::to_string(seed)};
      args.insert(args.end(), design.options.begin(), design.options.end());
      const RunResult run = runStimsel(dir.path(), args);
      ASSERT_EQ(run.status, 0) << run.output;
      std::ifstream in(dir.path() + "/list.csv", std::ios::binary);
      const std::string text((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
      const ExportRows rows = readDelimitedExport(text, ',');
      EXPECT_EQ(rows.size(), 120U);
      expectDesignHolds(rows, design);
    }
  }
}

TEST(SplitDesign, TableAndShortfallNameTheCategories) {
  TempDir dir;
  dir.write("norms.csv",
            "word,valence,concreteness\nrose,8,4.5\ngrief,2,2.1\nhope,7.5,1.5\nmud,2.5,4.9\n"
            "sun,8.2,4.8\nrot,1.5,3.9\n");
  const RunResult run =
      runStimsel(dir.path(), {"8", "--norms", "norms.csv", "--split", "valence=neg:[1,5) pos:[5,9]",
                              "--split", "concreteness=abstract:[1,3) concrete:[3,5]", "--control",
                              "length=9", "--seed", "1"});
  EXPECT_EQ(run.status, 3);
  EXPECT_NE(run.output.find("Reading: 6 rows; word=word, valence=valence.\n"
                            "Matching: length within 9 letters of the group's anchor.\n"
                            "Only 4 of 8 words could be matched.\n"
                            "No word of category 1 (\"neg/abstract\") is left to choose.\n"
                            "\ncount\tWord\t\tCategory\tvalence\tconcreteness\tlength\n"),
            std::string::npos)
      << run.output;
  EXPECT_NE(run.output.find("\tgrief          \tneg/abstract\t2\t2.1\t5\n"), std::string::npos);
  EXPECT_NE(run.output.find("\thope           \tpos/abstract\t7.5\t1.5\t4\n"), std::string::npos);
}

// The datasheet of a design accounts for every word read (the removals and
// the categories' pools add up) and describes the words the export holds,
// with the values they were matched on.
TEST(SplitDesign, DatasheetAccountsForEveryWordAndMatchesTheExport) {
  TempDir dir;
  dir.write("norms.csv", generatedNorms(3000));
  const RunResult run = runStimsel(dir.path(), {"24",
                                                "--norms",
                                                "norms.csv",
                                                "--split",
                                                "valence=neg:[1,4) pos:(6,9]",
                                                "--split",
                                                "Concreteness=abstract:[1,3] concrete:(3,5]",
                                                "--control",
                                                "length=1",
                                                "--control",
                                                "zipf=0.3",
                                                "--control",
                                                "aoa=2",
                                                "--where",
                                                "valence_sd<=2",
                                                "--lists",
                                                "2",
                                                "--datasheet",
                                                "sheet.md",
                                                "--out",
                                                "list.csv",
                                                "--seed",
                                                "4"});
  ASSERT_EQ(run.status, 0) << run.output;
  const auto sheet = nlohmann::json::parse(fileText(dir.path() + "/sheet.json"));
  long long removed = 0;
  for (const auto& removal : sheet["removed"]) removed += removal["words"].get<long long>();
  long long eligible = 0;
  for (const auto& category : sheet["design"]["categories"]) {
    eligible += category["eligible"].get<long long>();
  }
  EXPECT_EQ(sheet["rows"]["loaded"].get<long long>() - removed, eligible);
  EXPECT_EQ(sheet["rows"]["eligible"].get<long long>(), eligible);
  EXPECT_EQ(sheet["removed"].back()["rule"], "not meeting valence_sd <= 2");
  std::vector<std::string> controls;
  for (const auto& control : sheet["design"]["controls"]) controls.push_back(control["name"]);
  EXPECT_EQ(controls, (std::vector<std::string>{"length", "Zipf frequency", "aoa"}));
  const ExportRows rows = readDelimitedExport(fileText(dir.path() + "/list.csv"), ',');
  ASSERT_EQ(sheet["words"].size(), rows.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    const auto& word = sheet["words"][i];
    EXPECT_EQ(word["word"], rows[i].at("word"));
    EXPECT_EQ(word["values"]["aoa"].get<double>(), std::stod(rows[i].at("aoa")));
    EXPECT_EQ(word["values"]["Zipf frequency"].get<double>(), std::stod(rows[i].at("zipf")));
  }
}

TEST(SplitDesign, BadFormsAreRefused) {
  TempDir dir;
  dir.write("norms.csv", "word,valence,arousal,frequency,note\nrose,8,4,10,red\ngrief,2,6,10,x\n");
  struct Row {
    const char* name;
    std::vector<std::string> options;
    int status;
    const char* message;
  };
  const Row rows[] = {
      {"overlapping bands",
       {"--split", "valence=a:[1,5] b:[5,9]"},
       2,
       "stimsel: bad value 'valence=a:[1,5] b:[5,9]' for --split: bands a:[1,5] and b:[5,9] "
       "overlap\n"},
      {"a bad interval",
       {"--split", "valence=[1,5"},
       2,
       "stimsel: bad value 'valence=[1,5' for --split: interval \"[1,5\" is not of the form "
       "[LOW,HIGH]\n"},
      {"an unknown column",
       {"--split", "warmth=[1,5) [5,9]"},
       1,
       "norms.csv:1: no column named \"warmth\" for the design; the columns are: word, valence, "
       "arousal, frequency, note"},
      {"a column of text",
       {"--control", "note=1"},
       1,
       "norms.csv:2: column note: \"red\" is not a number (a design needs this column's numbers)"},
      {"the word column",
       {"--where", "word>1"},
       1,
       "norms.csv:1: the word column holds no numbers; a design cannot use it"},
      {"a split with list mode NO",
       {"NO", "--split", "valence=[1,5) [5,9]"},
       2,
       "stimsel: --split makes its own categories: the second position must be YES or left out, "
       "not 'NO'"},
      {"a bad operator",
       {"--where", "valence=<2"},
       2,
       "stimsel: bad value 'valence=<2' for --where: unknown operator in \"valence=<2\": use one "
       "of <, <=, >, >=, =, !=\n"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    std::vector<std::string> args = {"12"};
    args.insert(args.end(), row.options.begin(), row.options.end());
    args.insert(args.end(), {"--norms", "norms.csv", "--seed", "1"});
    const RunResult run = runStimsel(dir.path(), args);
    EXPECT_EQ(run.status, row.status);
    EXPECT_NE(run.output.find(row.message), std::string::npos) << run.output;
  }
}

}  // namespace
