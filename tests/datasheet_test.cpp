#include "datasheet/datasheet.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "datasheet/affect_datasheet.h"
#include "output/number_format.h"
#include "words/norms_loader.h"

namespace {

using Unit = EquivalenceBound::Unit;

struct Series {
  std::vector<double> a, b;  // a control's values in categories 1 and 2
};

// Two categories, one group per position of the series, all in `lists`
// lists dealt in turn as the program deals them.
DatasheetInput twoCategories(const std::vector<SheetControl>& controls,
                             const std::vector<Series>& series, int lists = 1) {
  DatasheetInput in;
  in.provenance = {"1.0.0", "stimsel 12 YES --seed 3", 3, {{"norms", "n.csv", 120, 14, "ab12"}}};
  in.normsName = "n.csv";
  in.rowsRead = 14;
  in.rowsLoaded = 13;
  in.frequencySource = "the norms file's frequency column";
  in.frequencyUnit = "per million";
  in.sortedBy = "by x";
  in.removed = {{"missing values", 1}};
  in.categories = {{"alpha", "x below 3", 6}, {"beta", "x above 7", 7}};
  in.capacity = {6, 6};
  in.controls = controls;
  in.lists = lists;
  const size_t groups = series.empty() ? 0 : series[0].a.size();
  in.wantedWords = 2 * static_cast<long long>(groups);
  for (size_t g = 0; g < groups; ++g) {
    for (int c = 1; c <= 2; ++c) {
      SheetWord w{"w" + std::to_string(g) + (c == 1 ? "a" : "b"),
                  static_cast<int>(g % static_cast<size_t>(lists)) + 1,
                  static_cast<int>(g / static_cast<size_t>(lists)) + 1,
                  c,
                  c == 1,
                  {}};
      for (const Series& s : series) w.values.push_back(c == 1 ? s.a[g] : s.b[g]);
      in.words.push_back(w);
    }
  }
  return in;
}

const SheetControl kLength{"length", "letters", 2, 0, {0.5, Unit::PooledSd}};
const SheetControl kZipf{"Zipf frequency", "Zipf units", 0.2, 2, {0.1, Unit::Raw}};
const SheetControl kFamiliarity{"familiarity", "points", 10, 0, {5, Unit::Raw}};

const Series kLengths{{5, 6, 7, 6, 8, 5}, {6, 7, 7, 5, 9, 6}};
const Series kZipfs{{3.1, 3.4, 2.9, 3.8, 3.3, 3.0}, {3.2, 3.5, 3.0, 3.6, 3.4, 3.1}};
const Series kFamiliarities{std::vector<double>(6, 100), std::vector<double>(6, 110)};

std::vector<double> longSeries(bool reversed) {
  std::vector<double> v(23);
  for (int i = 0; i < 23; ++i) v[static_cast<size_t>(i)] = (reversed ? 22 - i : i) % 7;
  return v;
}

std::string markdown(const DatasheetInput& in) {
  std::ostringstream out;
  writeDatasheetMarkdown(in, out);
  return out.str();
}

// The expected rows were computed by tests/datasheet_reference.py, which
// takes g, its interval and the TOST from an integration of the noncentral
// t independent of Boost and rounds half away from zero with Python's
// decimal module. Inputs: the series above (six words per category; 23 with
// equal means for the last row).
TEST(Datasheet, PairRowsMatchAnIndependentComputation) {
  const DatasheetInput six =
      twoCategories({kLength, kZipf, kFamiliarity}, {kLengths, kZipfs, kFamiliarities});
  const DatasheetInput many = twoCategories({kLength}, {{longSeries(false), longSeries(true)}});
  const struct {
    const char* name;
    const DatasheetInput& input;
    std::string row;
  } cases[] = {
      {"n = 6 at 0.5 SD: equivalence impossible, smallest bound given", six,
       "| length | alpha vs beta | 6.17 (1.17) | 6.67 (1.37) | -0.50 | -0.36 [-1.24, 0.53] | 0.73 "
       "| ±0.5 SD (±0.64) | t(10) = 0.18, -1.55; p = 0.428 | cannot be shown at this bound with 6 "
       "and 6 words; only bounds above ±1.05 SD could be shown |"},
      {"bound in the variable's own units", six,
       "| Zipf frequency | alpha vs beta | 3.25 (0.33) | 3.30 (0.24) | -0.05 | -0.16 [-1.04, 0.72] "
       "| 1.91 | ±0.1 | t(10) = 0.30, -0.91; p = 0.384 | cannot be shown at this bound with 6 and "
       "6 "
       "words; only bounds above ±0.30 Zipf units could be shown |"},
      {"zero-spread pair reported by its raw difference", six,
       "| familiarity | alpha vs beta | 100.00 (0.00) | 110.00 (0.00) | -10.00 | not defined | not "
       "defined | ±5 | not defined | no spread in either set: the means differ by exactly 10.00, "
       "beyond the bound of ±5 |"},
      {"n = 23 with equal means: equivalence shown", many,
       "| length | alpha vs beta | 2.78 (2.09) | 2.78 (2.09) | 0.00 | 0.00 [-0.48, 0.48] | 1.00 | "
       "±0.5 SD (±1.04) | t(44) = 1.70, -1.70; p = 0.049 | equivalent |"},
  };
  for (const auto& c : cases) {
    EXPECT_NE(markdown(c.input).find(c.row + "\n"), std::string::npos) << c.name;
  }
}

// Every figure of a pair row, rebuilt from the JSON as a program would read
// it, is the one the Markdown shows.
TEST(Datasheet, JsonReadBackGivesTheMarkdownNumbers) {
  const DatasheetInput in =
      twoCategories({kLength, kZipf, kFamiliarity}, {kLengths, kZipfs, kFamiliarities}, 2);
  const std::string md = markdown(in);
  const nlohmann::json j = nlohmann::json::parse(datasheetJson(in).dump());
  auto f = [](const nlohmann::json& v, int d = 2) { return fixedDecimals(v.get<double>(), d); };
  for (const char* member : {"category_pairs", "list_pairs"}) {
    ASSERT_EQ(j[member].size(), 3u) << member;
    for (const nlohmann::json& pair : j[member]) {
      const nlohmann::json& c = pair["comparison"];
      std::string cells = "| " + f(c["a"]["mean"]) + " (" + f(c["a"]["sd"]) + ") | " +
                          f(c["b"]["mean"]) + " (" + f(c["b"]["sd"]) + ") | " + f(c["difference"]);
      if (c["g"].is_number()) {
        cells += " | " + f(c["g"]) + " [" + f(c["g_ci90"][0]) + ", " + f(c["g_ci90"][1]) + "] | " +
                 f(c["variance_ratio"]) + " | ";
      }
      const size_t at = md.find(cells);
      ASSERT_NE(at, std::string::npos) << member << " " << pair["control"] << cells;
      const std::string row = md.substr(at, md.find('\n', at) - at);
      if (c["tost"].is_object()) {
        const nlohmann::json& t = c["tost"];
        const std::string tost = "t(" + f(t["df"], 0) + ") = " + f(t["t_lower"]) + ", " +
                                 f(t["t_upper"]) + "; p = " + f(t["p"], 3) + " |";
        EXPECT_NE(row.find(tost), std::string::npos) << row;
      }
    }
  }
  EXPECT_EQ(j["words"].size(), 12u);
  EXPECT_EQ(j["words"][0]["values"]["Zipf frequency"].get<double>(), 3.1);
  EXPECT_EQ(j["category_pairs"][2]["comparison"]["status"], "no_spread");
  EXPECT_NE(md.find("## Methods\n\n" + j["methods"].get<std::string>() + "\n"), std::string::npos);
}

TEST(Datasheet, ListsWithoutACompleteGroupGetNoStatistics) {
  DatasheetInput in = twoCategories({kLength}, {{{5, 6, 7, 6}, {6, 7, 7, 5}}}, 3);
  for (SheetWord& w : in.words) w.list = w.list == 3 ? 1 : w.list;  // list 3 got none
  in.wantedWords = 18;
  const std::string md = markdown(in);
  EXPECT_NE(md.find("Without a complete group, so without statistics: list 3.\n"),
            std::string::npos);
  EXPECT_EQ(md.find("| list 3 |"), std::string::npos);
  EXPECT_EQ(md.find("list 3 vs"), std::string::npos);
  EXPECT_NE(md.find("| length | list 1 vs list 2 |"), std::string::npos);
  const nlohmann::ordered_json j = datasheetJson(in);
  EXPECT_EQ(j["lists_without_group"].dump(), "[3]");
  EXPECT_EQ(j["lists"].size(), 2u);
  EXPECT_NE(j["methods"].get<std::string>().find(
                "The list is short: 8 of the 18 words wanted could be matched."),
            std::string::npos);

  DatasheetInput empty = twoCategories({kLength}, {{{}, {}}}, 2);
  empty.wantedWords = 12;
  const std::string none = markdown(empty);
  EXPECT_NE(none.find("No complete group was drawn, so there are no statistics.\n"),
            std::string::npos);
  EXPECT_NE(none.find("Without a complete group, so without statistics: lists 1, 2.\n"),
            std::string::npos);
  EXPECT_EQ(none.find("0 words"), std::string::npos);
  EXPECT_EQ(none.find("largest difference"), std::string::npos);
  EXPECT_EQ(none.find("0.00"), std::string::npos);
  EXPECT_NE(none.find("No complete group could be drawn, so the list holds no words (12 wanted)."),
            std::string::npos);
}

// The boundary words follow the classification's own float comparisons; the
// side each written cut falls on was checked in tests/datasheet_reference.py
// with numpy's float32 (the rating read as 5.67 is aroused, 5.72 calm; on
// -3..3 the rating read as 0.54 is aroused negative).
TEST(AffectDatasheet, RulesSayWhereTheCutsFall) {
  const struct {
    const char* name;
    AffectCategory category;
    RatingScale scale;
    const char* rule;
  } cases[] = {
      {"calm positive", AffectCategory::PosCalm, {}, "valence above 7 and arousal below 5.67"},
      {"aroused positive",
       AffectCategory::PosAroused,
       {},
       "valence above 7 and arousal of 5.67 or more"},
      {"calm negative", AffectCategory::NegCalm, {}, "valence below 3 and arousal at most 5.72"},
      {"aroused negative",
       AffectCategory::NegAroused,
       {},
       "valence below 3 and arousal above 5.72"},
      {"calm neutral",
       AffectCategory::NeuCalm,
       {},
       "valence above 4 and below 6 and arousal at most 4"},
      {"aroused positive on 0-1",
       AffectCategory::PosAroused,
       {0, 1},
       "valence above 0.75 and arousal of 0.58375 or more"},
      {"calm negative on -3..3",
       AffectCategory::NegCalm,
       {-3, 3},
       "valence below -1.5 and arousal below 0.54"},
  };
  for (const auto& c : cases) EXPECT_EQ(affectRuleText(c.category, c.scale), c.rule) << c.name;
}

// The sample's `36 YES --seed 7`. Independently: 16 rows with valence SD
// above 2 and 74 outside every band (float32 in tests/datasheet_reference.py),
// and for frequency, calm positive {7, 10, 2, 1, 6, 5} against calm negative
// {1, 1, 2, 7, 1, 7}: g = 0.58, 90 % CI [-0.33, 1.47], smallest bound 1.05 SD.
TEST(AffectDatasheet, SampleMethodsParagraph) {
  Result<WordTable> loaded = loadNorms(std::string(STIMSEL_SOURCE_DIR) + "/data/KOVA.txt");
  ASSERT_TRUE(loaded.ok());
  const WordTable& table = loaded.value();
  const MatchRules rules;
  const std::vector<AffectCategory> play = categoriesInPlay(ListMode::FullMode);
  RandomSource random(7);
  const SelectionResult result = chooseWords(table, play, 36, rules, random);
  AffectRunFacts facts;
  facts.provenance = {"1.0.0", "stimsel 36 YES --seed 7", 7, {}};
  facts.normsName = "KOVA.txt";
  facts.rowsRead = 1030;
  const DatasheetInput in =
      affectDatasheetInput(table, dealList(table, play, result, 1), rules, {}, 36, facts);
  EXPECT_EQ(
      methodsParagraph(in, datasheetFigures(in)),
      "Stimuli were selected with stimsel 1.0.0 from the norms file KOVA.txt (1,030 rows; 1,030 "
      "with every value the design needs). Frequencies were taken from the norms file's "
      "frequency column (as given in the file; unit not stated). Words were sorted by their mean "
      "valence and arousal ratings (scale 1 to 9) into 6 categories: calm positive (valence above "
      "7 and arousal below 5.67); calm negative (valence below 3 and arousal at most 5.72); calm "
      "neutral (valence above 4 and below 6 and arousal at most 4); aroused positive (valence "
      "above 7 and arousal of 5.67 or more); aroused negative (valence below 3 and arousal above "
      "5.72); aroused neutral (valence above 4 and below 6 and arousal above 4). Words were "
      "removed, in this order: repeats of a word listed earlier in the file (0); valence SD above "
      "2 (16); ratings outside every category in play (74); 940 words were eligible. The list "
      "consists of 6 matched groups of one word per category (36 words); within each group, "
      "every word lies within 2 letters in length and 10 frequency units in frequency of the "
      "group's first word (its anchor); anchors were taken from categories 1 to 5 in turn, so "
      "aroused neutral words were never anchors. Balance was checked on every "
      "control for every pair of categories. The largest difference was in frequency between "
      "calm positive and calm negative, Hedges' g = 0.58 (90% CI [-0.33, 1.47]); two one-sided "
      "tests (alpha = 0.05) against a bound of ±0.5 pooled SD showed equivalence for 0 of 30 "
      "tested comparisons. With 6 words per category, equivalence at that bound cannot be shown "
      "whatever the means; only bounds above ±1.05 SD could be. The bound is stimsel's default of "
      "half a pooled SD, used because no other was set; it treats a difference smaller than half "
      "the spread of the compared words as negligible. Groups were drawn at random with seed 7. "
      "[Please cite the publication of the norms in KOVA.txt.]");
}

TEST(GroupCapacity, GreedyGroupsAndThePoolBound) {
  const struct {
    const char* name;
    std::vector<int> categoryOf;
    std::vector<double> values;
    bool matchAll;
    long long greedy, smallest;
  } cases[] = {
      {"every word close: the smallest pool", {1, 2, 1, 2, 2}, {5, 5, 6, 6, 7}, false, 2, 2},
      {"an anchor without a partner in tolerance is passed over",
       {1, 1, 2},
       {1, 9, 8},
       false,
       1,
       1},
      {"partners close to the anchor but not to each other", {1, 2, 3}, {5, 3, 7}, true, 0, 1},
      {"the same under the anchor rule", {1, 2, 3}, {5, 3, 7}, false, 1, 1},
      {"an empty category", {1, 1, 0}, {5, 5, 5}, false, 0, 0},
  };
  for (const auto& c : cases) {
    CapacityInput in;
    in.categories = *std::max_element(c.categoryOf.begin(), c.categoryOf.end()) == 3 ? 3 : 2;
    in.categoryOf = c.categoryOf;
    in.controls = {{c.values, 2}};
    in.matchAll = c.matchAll;
    in.anchorCycle = {1};
    const GroupCapacity got = greedyGroupCapacity(in);
    EXPECT_EQ(got.greedyGroups, c.greedy) << c.name;
    EXPECT_EQ(got.smallestPool, c.smallest) << c.name;
  }
}

}  // namespace
