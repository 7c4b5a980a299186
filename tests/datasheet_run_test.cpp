// The datasheet a run writes, and the report beside it: runs of the binary
// that check what a reviewer reads. The sample's datasheet is stated whole
// and true (every figure of it was checked against SciPy by
// tests/datasheet_sample_check.py); its JSON holds the Markdown's numbers;
// the report says the same; and the provenance names the very files read
// and what each rule removed.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "output/number_format.h"
#include "tests/test_support.h"

namespace {

namespace fs = std::filesystem;
using json = nlohmann::json;

const std::string kData = std::string(STIMSEL_SOURCE_DIR) + "/data";

// sha256sum's digest of a file: the tool's own digest is not asked.
std::string digestBySha256sum(const std::string& path) {
  FILE* pipe = popen(("sha256sum '" + path + "'").c_str(), "r");
  char digest[65] = {0};
  const size_t got = pipe == nullptr ? 0 : fread(digest, 1, 64, pipe);
  if (pipe != nullptr) pclose(pipe);
  return std::string(digest, got);
}

std::string f2(const json& v, int decimals = 2) {
  return fixedDecimals(v.get<double>(), decimals);
}

const char* const kSampleMethods =
    "Stimuli were selected with stimsel 1.0.0 from the norms file KOVA.txt (1,030 rows; 1,030 "
    "with every value the design needs). Frequencies were taken from the norms file's frequency "
    "column (as given in the file; unit not stated). Words were sorted by their mean valence and "
    "arousal ratings (scale 1 to 9) into 6 categories: calm positive (valence above 7 and arousal "
    "below 5.67); calm negative (valence below 3 and arousal at most 5.72); calm neutral (valence "
    "above 4 and below 6 and arousal at most 4); aroused positive (valence above 7 and arousal of "
    "5.67 or more); aroused negative (valence below 3 and arousal above 5.72); aroused neutral "
    "(valence above 4 and below 6 and arousal above 4). Words were removed, in this order: "
    "repeats of a word listed earlier in the file (0); valence SD above 2 (16); ratings outside "
    "every category in play (74); 940 words were eligible. The list consists of 6 matched groups "
    "of one word per category (36 words); within each group, every word lies within 2 letters in "
    "length and 10 frequency units in frequency of the group's first word (its anchor); anchors "
    "were taken from categories 1 to 5 in turn, so aroused neutral words were never anchors. "
    "Balance was checked on every control for every pair of categories. The largest difference "
    "was in frequency between calm positive and calm negative, Hedges' g = 0.58 (90% CI [-0.33, "
    "1.47]); two one-sided tests (alpha = 0.05) against a bound of ±0.5 pooled SD showed "
    "equivalence for 0 of 30 tested comparisons. With 6 words per category, equivalence at that "
    "bound cannot be shown whatever the means; only bounds above ±1.05 SD could be. The bound is "
    "stimsel's default of half a pooled SD, used because no other was set; it treats a difference "
    "smaller than half the spread of the compared words as negligible. Groups were drawn at "
    "random with seed 7. [Please cite the publication of the norms in KOVA.txt.]";

TEST(DatasheetRun, TheSampleDatasheetIsTrueWholeAndChangesNothingPrinted) {
  TempDir dir;
  const std::string sheet = dir.path() + "/sheet.md";
  const RunResult plain = runStimsel(kData, {"36", "YES", "--seed", "7"});
  const RunResult r = runStimsel(kData, {"36", "YES", "--seed", "7", "--datasheet", sheet});
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_EQ(r.output, plain.output);
  const std::string md = fileText(sheet);
  const json j = json::parse(fileText(dir.path() + "/sheet.json"));
  EXPECT_NE(md.find(std::string("## Methods\n\n") + kSampleMethods + "\n\n"), std::string::npos);
  EXPECT_EQ(j["methods"], kSampleMethods);

  const std::string norms = kData + "/KOVA.txt";
  const json file = {{"role", "norms"},
                     {"name", "KOVA.txt"},
                     {"bytes", fs::file_size(norms)},
                     {"rows", 1030},
                     {"sha256", digestBySha256sum(norms)}};
  EXPECT_EQ(j["provenance"]["files"], json::array({file}));
  EXPECT_EQ(j["provenance"]["command"], "stimsel 36 YES --datasheet " + sheet + " --seed 7");
  EXPECT_EQ("stimsel " + j["provenance"]["version"].get<std::string>() + "\n",
            runStimsel(kData, {"--version"}).output);
  EXPECT_EQ(j["rows"].dump(),
            R"({"eligible":940,"loaded":1030,"norms_file":"KOVA.txt","read":1030})");
}

// Every pair the JSON holds is a row of the Markdown with the same numbers,
// and the report's lines are the datasheet's figures.
TEST(DatasheetRun, TheJsonAndTheReportHoldTheMarkdownNumbers) {
  TempDir dir;
  const std::string sheet = dir.path() + "/sheet.md";
  const RunResult r =
      runStimsel(kData, {"36", "YES", "--seed", "7", "--report", "--datasheet", sheet});
  ASSERT_EQ(r.status, 0) << r.output;
  const std::string md = fileText(sheet);
  const json j = json::parse(fileText(dir.path() + "/sheet.json"));
  const json& categories = j["design"]["categories"];
  const auto name = [&](const json& n) { return categories[n.get<int>() - 1]["name"]; };
  ASSERT_EQ(j["category_pairs"].size(), 30u);
  std::map<std::string, json> largest;  // per control, the pair of largest |g|
  for (const json& pair : j["category_pairs"]) {
    const json& c = pair["comparison"];
    const json& t = c["tost"];
    const std::string row =
        "| " + pair["control"].get<std::string>() + " | " + name(pair["a"]).get<std::string>() +
        " vs " + name(pair["b"]).get<std::string>() + " | " + f2(c["a"]["mean"]) + " (" +
        f2(c["a"]["sd"]) + ") | " + f2(c["b"]["mean"]) + " (" + f2(c["b"]["sd"]) + ") | " +
        f2(c["difference"]) + " | " + f2(c["g"]) + " [" + f2(c["g_ci90"][0]) + ", " +
        f2(c["g_ci90"][1]) + "] | " + f2(c["variance_ratio"]) + " | ±0.5 SD (±" +
        f2(t["upper_bound"]) + ") | t(" + f2(t["df"], 0) + ") = " + f2(t["t_lower"]) + ", " +
        f2(t["t_upper"]) + "; p = " + f2(t["p"], 3) + " | ";
    EXPECT_NE(md.find(row), std::string::npos) << row;
    json& best = largest[pair["control"]];
    if (best.is_null() ||
        std::fabs(c["g"].get<double>()) > std::fabs(best["comparison"]["g"].get<double>())) {
      best = pair;
    }
  }
  for (const auto& [control, pair] : largest) {
    const std::string line = std::string(control == "length" ? "Length" : "Frequency") +
                             ": the largest difference between two categories is " +
                             name(pair["a"]).get<std::string>() + " vs " +
                             name(pair["b"]).get<std::string>() +
                             ", Hedges' g = " + f2(pair["comparison"]["g"]) + ".\n";
    EXPECT_NE(r.output.find(line), std::string::npos) << line;
  }
  const std::string methods = j["methods"];
  const size_t citation = methods.rfind(" [Please cite");
  EXPECT_NE(r.output.find("\nCitation: " + methods.substr(citation + 1) +
                          "\nMethods: " + methods.substr(0, citation) + "\nDone.\n"),
            std::string::npos);
}

// What each rule removed and which files were read, on a table with one
// word for each rule; the counts add up to the eligible words.
TEST(DatasheetRun, ProvenanceNamesEveryFileReadAndWhatEachRuleRemoved) {
  TempDir dir;
  dir.write("norms.csv",
            "word,valence,valence_sd,arousal\nglad,8,1,3\njoy,8.2,1,3.1\nhappy,8.1,1,3\n"
            "Glad,8,1,3\ngone,NA,1,3\ngrim,2,1,3\nsad,2.2,1,3.1\nwobbly,2,2.5,3\nmeh,3.5,1,3\n"
            "desk,5,1,3\nwall,5.1,1,3.2\nlamp,5.2,1,3\nnofreq,5,1,3\n");
  dir.write("freq.csv",
            "Word,SUBTLWF\nglad,10\njoy,10\nhappy,10\ngone,10\ngrim,10\n\nsad,10\nwobbly,10\n"
            "meh,10\ndesk,10\nwall,10\nlamp,10\nextra,10\n");
  dir.write("tags.txt",
            "7\n<adj>glad</adj>\n<adj>joy</adj>\n<adj>grim</adj>\n<adj>sad</adj>\n"
            "<adj>desk</adj>\n<adj>wall</adj>\n<adj>lamp</adj>\n");
  dir.write("used.txt", "1\nlamp\n");
  const RunResult r = runStimsel(
      dir.path(), {"6", "NO", "used.txt", "adj", "--norms", "norms.csv", "--frequency", "freq.csv",
                   "--tags", "tags.txt", "--seed", "1", "--datasheet", "s.md"});
  ASSERT_EQ(r.status, 0) << r.output;
  const json j = json::parse(fileText(dir.path() + "/s.json"));
  json files = json::array();
  for (const auto& [role, name, rows] : {std::tuple{"norms", "norms.csv", 13},
                                         {"frequency", "freq.csv", 12},
                                         {"part-of-speech tags", "tags.txt", 7},
                                         {"exclusion list", "used.txt", 1}}) {
    const std::string path = dir.path() + "/" + name;
    files.push_back({{"role", role},
                     {"name", name},
                     {"bytes", fs::file_size(path)},
                     {"rows", rows},
                     {"sha256", digestBySha256sum(path)}});
  }
  EXPECT_EQ(j["provenance"]["files"], files);
  json removed = json::array();
  for (const char* rule : {"a missing value in a column the run needs", "no frequency in freq.csv",
                           "repeats of a word listed earlier in the file", "valence SD above 2",
                           "ratings outside every category in play",
                           "not of the part of speech asked for", "on the exclusion list"}) {
    removed.push_back({{"rule", rule}, {"words", 1}});
  }
  EXPECT_EQ(j["removed"], removed);
  EXPECT_EQ(j["rows"].dump(), R"({"eligible":6,"loaded":11,"norms_file":"norms.csv","read":13})");
  EXPECT_NE(j["methods"].get<std::string>().find(
                "Frequencies were taken from freq.csv, column SUBTLWF (per million)."),
            std::string::npos);
}

// The bound in force is the one given, per variable in its own units, and
// frequency matched on Zipf is compared on Zipf.
TEST(DatasheetRun, BoundsAndScalesAreTheOnesInForce) {
  TempDir dir;
  const RunResult bounded =
      runStimsel(kData, {"36", "YES", "--seed", "7", "--equivalence-bound", "length=1",
                         "--equivalence-bound", "0.3sd", "--datasheet", dir.path() + "/b.md"});
  ASSERT_EQ(bounded.status, 0) << bounded.output;
  const json b = json::parse(fileText(dir.path() + "/b.json"));
  EXPECT_EQ(b["design"]["controls"][0]["equivalence_bound"].dump(),
            R"({"unit":"raw","value":1.0})");
  EXPECT_EQ(b["design"]["controls"][1]["equivalence_bound"].dump(),
            R"({"unit":"pooled_sd","value":0.3})");
  for (const json& pair : b["category_pairs"]) {
    const json& c = pair["comparison"];
    const double half = pair["control"] == "length" ? 1 : 0.3 * c["pooled_sd"].get<double>();
    // Both figures are written to 10 significant digits.
    EXPECT_NEAR(c["tost"]["upper_bound"].get<double>(), half, 1e-9 * half) << pair.dump();
  }
  const std::string methods = b["methods"];
  EXPECT_NE(methods.find("against bounds of ±1 letters (length), ±0.3 pooled SD (frequency)"),
            std::string::npos);
  EXPECT_NE(methods.find("The bounds were set for this selection"), std::string::npos);

  const std::string examples = kData + "/examples";
  const RunResult zipf =
      runStimsel(examples, {"24", "YES", "--norms", "warriner-style.csv", "--frequency",
                            "subtlex-style.txt", "--seed", "1", "--report", "--out",
                            dir.path() + "/z.csv", "--datasheet", dir.path() + "/z.md"});
  ASSERT_EQ(zipf.status, 0) << zipf.output;
  const json z = json::parse(fileText(dir.path() + "/z.json"));
  EXPECT_EQ(z["design"]["controls"][1]["name"], "Zipf frequency");
  std::map<std::string, double> perMillion;
  std::istringstream exported(fileText(dir.path() + "/z.csv"));
  std::string line;
  std::getline(exported, line);
  while (std::getline(exported, line)) {
    std::vector<std::string> cells;
    std::istringstream row(line);
    for (std::string cell; std::getline(row, cell, ',');) cells.push_back(cell);
    perMillion[cells.at(6)] = std::stod(cells.at(11));
  }
  ASSERT_EQ(perMillion.size(), z["words"].size());
  for (const json& w : z["words"]) {
    const double expected = std::log10(std::max(perMillion.at(w["word"]), 0.01)) + 3;
    EXPECT_NEAR(w["values"]["Zipf frequency"].get<double>(), expected, 1e-9) << w.dump();
  }
  EXPECT_NE(zipf.output.find("\nZipf frequency: the largest difference between two categories"),
            std::string::npos);
  EXPECT_EQ(zipf.output.find("\nFrequency: the largest difference"), std::string::npos);
}

// The faults a reviewer would meet in the report, on tables made to show
// them.
TEST(DatasheetRun, TheReportShowsWhatTheOldOneHid) {
  std::string noSpread = "word,valence,arousal,frequency\n";
  for (int i = 1; i <= 4; ++i) {
    noSpread += "pos" + std::to_string(i) + ",8,3,100\nneg" + std::to_string(i) + ",2,3,110\nneu" +
                std::to_string(i) + ",5,3," + std::to_string(100 + i) + "\n";
  }
  const struct {
    const char* name;
    std::string csv;
    std::vector<std::string> args;
    std::vector<std::string> present, absent;
  } cases[] = {
      {"a pair without spread is named by its raw difference, not passed over",
       noSpread,
       {"12", "NO", "--equivalence-bound", "frequency=5"},
       {"  Equivalence was shown for 1 of the 2 pairs of categories tested (the datasheet gives "
        "each pair).\n  No spread in either category: calm positive vs calm negative differ by "
        "exactly 10.00, beyond the bound of +-5.\n"},
       {}},
      {"a mean ending in 5 rounds half away from zero",
       "word,valence,arousal,frequency\nposa,8,3,4.71\nposb,8,3,4.72\nnega,2,3,7.40\n"
       "negb,2,3,7.41\nneua,5,3,10\nneub,5,3,10\n",
       {"6", "NO"},
       {"    frequency      4.72  SD    0.01  4.71 - 4.72\n",
        "    frequency      7.41  SD    0.01  7.40 - 7.41\n"},
       {}},
      {"a list without a complete group has no statistics",
       "word,valence,arousal,frequency\nglad,8,3,10\ngrim,2,3,10\n",
       {"3", "NO"},
       {"No complete group was drawn, so there are no statistics.\n"},
       {"0 words", "largest difference", "0.00", "Hedges"}},
  };
  for (const auto& c : cases) {
    TempDir dir;
    dir.write("norms.csv", c.csv);
    std::vector<std::string> args = c.args;
    args.insert(args.end(), {"--norms", "norms.csv", "--report", "--seed", "1"});
    const RunResult r = runStimsel(dir.path(), args);
    const size_t at = r.output.find("\nBalance report\n");
    ASSERT_NE(at, std::string::npos) << c.name << "\n" << r.output;
    const std::string report = r.output.substr(at);
    for (const std::string& text : c.present) {
      EXPECT_NE(report.find(text), std::string::npos) << c.name << "\n" << report;
    }
    for (const std::string& text : c.absent) {
      EXPECT_EQ(report.find(text), std::string::npos) << c.name << ": " << text << "\n" << report;
    }
  }
}

}  // namespace
