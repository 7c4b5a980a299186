// The plot as a reader and a renderer meet it: well-formed XML with the
// words read back exactly, one dot per chosen word in every panel, every
// mark on the canvas at 6 and at 300 words, and the figures it marks.
#include "output/plot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "tests/test_support.h"

namespace {

// Python's XML parser reads the figure (it fails on any malformed byte) and
// reports, as JSON, the chosen dots of each panel, their words, the first
// line of the title, and every mark whose extent leaves the canvas; text
// is measured at 0.6 of its font size a character.
const char* const kChecker = R"py(
import json, re, sys, xml.etree.ElementTree as E
ns = "{http://www.w3.org/2000/svg}"
root = E.parse(sys.argv[1]).getroot()
W, H = float(root.get("width")), float(root.get("height"))
out = []
def check(tag, x0, y0, x1, y1):
    if x0 < 0 or y0 < 0 or x1 > W or y1 > H:
        out.append("%s %.1f,%.1f-%.1f,%.1f" % (tag, x0, y0, x1, y1))
def f(e, a): return float(e.get(a))
for e in root.iter():
    tag = e.tag[len(ns):]
    if tag == "circle":
        r = f(e, "r"); check(tag, f(e, "cx") - r, f(e, "cy") - r, f(e, "cx") + r, f(e, "cy") + r)
    elif tag == "line":
        xs, ys = sorted([f(e, "x1"), f(e, "x2")]), sorted([f(e, "y1"), f(e, "y2")])
        check(tag, xs[0], ys[0], xs[1], ys[1])
    elif tag == "rect" and e.get("x") is not None:
        check(tag, f(e, "x"), f(e, "y"), f(e, "x") + f(e, "width"), f(e, "y") + f(e, "height"))
    elif tag == "polyline":
        for p in e.get("points").split():
            x, y = map(float, p.split(",")); check(tag, x, y, x, y)
    elif tag == "text":
        size = float(e.get("font-size") or 13); length = 0.6 * size * len(e.text or "")
        anchor = e.get("text-anchor") or "start"
        shift = {"start": 0, "middle": length / 2, "end": length}[anchor]
        m = re.match(r"translate\(([-\d.]+),([-\d.]+)\) rotate\(-90\)", e.get("transform") or "")
        if m:
            x, y = float(m.group(1)), float(m.group(2))
            check(tag, x - size, y - length + shift, x, y + shift)
        else:
            x, y = f(e, "x"), f(e, "y")
            check(tag, x - shift, y - size, x - shift + length, y)
panels = [[c.find(ns + "title").text for c in g.iter(ns + "circle") if c.get("class") == "chosen"]
          for g in root.iter(ns + "g") if g.get("class") == "panel"]
title = root.find(ns + "text").text
print(json.dumps({"panels": panels, "outside": out, "title": title}))
)py";

nlohmann::json readFigure(const TempDir& dir, const std::string& svg) {
  const std::string checker = dir.write("check_plot.py", kChecker);
  FILE* pipe = popen(("python3 " + checker + " " + svg + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return nullptr;
  std::string text;
  char buffer[4096];
  size_t got;
  while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) text.append(buffer, got);
  if (pclose(pipe) != 0) {
    ADD_FAILURE() << "the XML parser refused " << svg << ":\n" << text;
    return nullptr;
  }
  return nlohmann::json::parse(text);
}

// 3000 words of varied length, frequency and ratings as a CSV, from which
// 300 can be matched.
std::string largeTable() {
  std::string csv = "word,valence,valence_sd,arousal,frequency\n";
  for (int i = 0; i < 3000; ++i) {
    std::string word;
    for (int n = i; n > 0 || word.empty(); n /= 26) word += static_cast<char>('a' + n % 26);
    word.append(static_cast<size_t>(i % 8), 'x');
    char line[128];
    std::snprintf(line, sizeof line, "%s,%.2f,1.00,%.2f,%d\n", word.c_str(),
                  1 + (i * 37 % 801) / 100.0, 1 + (i * 53 % 801) / 100.0, i * 7 % 60);
    csv += line;
  }
  return csv;
}

// One word of every category, each holding characters XML must escape or
// bytes that are not UTF-8: the only group the sample can draw.
std::vector<NormsWord> awkwardWords() {
  return {{"salt&pe", 8.0f, 4.0f, 20},   {"<gloom>", 2.0f, 4.0f, 20},
          {"\"plain\"", 5.0f, 3.0f, 20}, {"it's!ok", 8.0f, 7.0f, 20},
          {"r\377gexx", 2.0f, 7.0f, 20}, {"a\001bcdef", 5.0f, 6.0f, 20}};
}

TEST(Plot, EveryRunDrawsOneDotPerChosenWordInEveryPanelWithinTheCanvas) {
  struct Case {
    const char* name;
    std::vector<std::string> args;  // the run's, before --plot
    size_t panels;
    size_t words;
    std::vector<std::string> titles;  // the dots' words, when they are known
  };
  const std::vector<Case> cases = {
      {"six words of the sample", {"6", "YES", "--seed", "7"}, 3, 6, {}},
      {"the sample on the Zipf scale",
       {"36", "NO", "--zipf-tolerance", "0.3", "--seed", "2"},
       3,
       36,
       {}},
      {"three hundred words of a large table",
       {"300", "YES", "--norms", "large.csv", "--seed", "3"},
       3,
       300,
       {}},
      {"words holding XML's special characters and bad bytes",
       {"6", "YES", "--norms", "awkward.txt", "--seed", "1"},
       3,
       6,
       {"salt&pe", "<gloom>", "\"plain\"", "it's!ok", "r\357\277\275gexx", "a\357\277\275bcdef"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    dir.write("large.csv", largeTable());
    dir.write("awkward.txt", normsFileText(awkwardWords()));
    const std::string data = c.args[3] == "large.csv" || c.args[3] == "awkward.txt"
                                 ? dir.path()
                                 : std::string(STIMSEL_SOURCE_DIR) + "/data";
    std::vector<std::string> args = c.args;
    args.insert(args.end(), {"--plot", dir.path() + "/list.svg"});
    const RunResult run = runStimsel(data, args);
    ASSERT_EQ(run.status, 0) << run.output;
    const nlohmann::json figure = readFigure(dir, dir.path() + "/list.svg");
    ASSERT_TRUE(figure.is_object());
    EXPECT_EQ(figure["outside"], nlohmann::json::array());
    ASSERT_EQ(figure["panels"].size(), c.panels);
    for (const auto& panel : figure["panels"]) EXPECT_EQ(panel.size(), c.words);
    if (!c.titles.empty()) {
      std::vector<std::string> words = figure["panels"][0];
      std::vector<std::string> expected = c.titles;
      std::sort(words.begin(), words.end());
      std::sort(expected.begin(), expected.end());
      EXPECT_EQ(words, expected);
    }
    const std::string seed = args[std::find(args.begin(), args.end(), "--seed") - args.begin() + 1];
    EXPECT_NE(figure["title"].get<std::string>().find("--seed " + seed), std::string::npos);
  }
}

// A design the affect one is not: four categories, three controls (one
// with negative values, one with a single value), no ratings panel, and a
// command long enough to wrap.
TEST(Plot, AnyDesignGetsAPanelPerControlOnTheCanvas) {
  PlotData data;
  data.title = "stimsel 8";
  for (int i = 0; i < 30; ++i) data.title += " --control concreteness=0.5 --where 'aoa<=9'";
  data.title += " --seed 11";
  for (int c = 0; c < 4; ++c) data.categories.push_back({"band " + std::to_string(c), c});
  for (int k = 0; k < 3; ++k) {
    ControlPanel panel;
    panel.axisLabel = "control " + std::to_string(k) + " (units)";
    for (int c = 0; c < 4; ++c) {
      panel.chosen.emplace_back();
      panel.pool.emplace_back();
      for (int i = 0; i < 2; ++i)
        panel.chosen.back().push_back({k == 2 ? 5.0 : -c - i * 0.5, "w", i});
      for (int i = 0; i < 20; ++i) panel.pool.back().push_back(k == 2 ? 5.0 : -i * 0.3);
    }
    data.controls.push_back(panel);
  }
  TempDir dir;
  std::ostringstream svg;
  writePlot(data, svg);
  const nlohmann::json figure = readFigure(dir, dir.write("design.svg", svg.str()));
  ASSERT_TRUE(figure.is_object());
  EXPECT_EQ(figure["outside"], nlohmann::json::array());
  ASSERT_EQ(figure["panels"].size(), 3U);
  for (const auto& panel : figure["panels"]) EXPECT_EQ(panel.size(), 8U);
}

// Expected figures from Python's statistics.quantiles (method "inclusive")
// and statistics.stdev.
TEST(Plot, BoxesAndMeansAreTheFiguresAnIndependentComputationGives) {
  struct Case {
    const char* name;
    std::vector<double> values;
    BoxSummary box;
  };
  const std::vector<Case> cases = {
      {"four values", {4, 2, 3, 1}, {1, 1.75, 2.5, 3.25, 4}},
      {"one far value beyond the whisker", {1, 2, 3, 4, 100}, {1, 2, 3, 4, 4}},
      {"a far value below", {-3, 0, 0, 1, 2, 2, 2, 9, -20}, {-3, 0, 1, 2, 2}},
      {"a single value", {5}, {5, 5, 5, 5, 5}},
      {"interpolated quartiles", {2.5, 0.1, 7.25, 3.3, 3.3, 1e6}, {0.1, 2.7, 3.3, 6.2625, 7.25}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const BoxSummary got = boxSummary(c.values);
    EXPECT_DOUBLE_EQ(got.lowWhisker, c.box.lowWhisker);
    EXPECT_DOUBLE_EQ(got.lowerQuartile, c.box.lowerQuartile);
    EXPECT_DOUBLE_EQ(got.median, c.box.median);
    EXPECT_DOUBLE_EQ(got.upperQuartile, c.box.upperQuartile);
    EXPECT_DOUBLE_EQ(got.highWhisker, c.box.highWhisker);
  }
  EXPECT_DOUBLE_EQ(meanSd({2, 4, 4, 4, 5, 5, 7, 9}).sd, 2.138089935299395);
  EXPECT_DOUBLE_EQ(meanSd({0.1, 0.2, 0.7}).mean, 0.3333333333333333);
  EXPECT_DOUBLE_EQ(meanSd({5}).sd, 0);
}

TEST(Plot, OrdinalsReadAsEnglish) {
  const std::vector<std::pair<long long, const char*>> cases = {
      {1, "1st"},   {2, "2nd"},   {3, "3rd"},   {4, "4th"},     {11, "11th"},
      {12, "12th"}, {13, "13th"}, {21, "21st"}, {102, "102nd"}, {112, "112th"},
  };
  for (const auto& [n, text] : cases) EXPECT_EQ(ordinal(n), text) << n;
}

}  // namespace
