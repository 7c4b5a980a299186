#include "output/plot_data.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <utility>

#include "words/categories.h"

namespace {

// The value at fraction `p` of sorted values, interpolated linearly
// between the two order statistics around it.
double quantile(const std::vector<double>& sorted, double p) {
  const double at = p * static_cast<double>(sorted.size() - 1);
  const auto below = static_cast<size_t>(std::floor(at));
  const size_t above = std::min(below + 1, sorted.size() - 1);
  return sorted[below] + (at - static_cast<double>(below)) * (sorted[above] - sorted[below]);
}

// Every row's group numbered 0.. in the order the groups appear.
std::vector<int> groupNumbers(const DrawnList& list) {
  std::map<std::pair<int, int>, int> numbers;
  std::vector<int> groups;
  for (const ListRow& row : list.rows) {
    const auto found =
        numbers.emplace(std::make_pair(row.list, row.group), static_cast<int>(numbers.size()));
    groups.push_back(found.first->second);
  }
  return groups;
}

template <typename Value>
ControlPanel controlPanel(const DrawnList& list, std::string axisLabel, bool logScale,
                          Value value) {
  ControlPanel panel;
  panel.axisLabel = std::move(axisLabel);
  panel.logScale = logScale;
  panel.chosen.resize(list.play.size());
  panel.pool.resize(list.play.size());
  const std::vector<int> groups = groupNumbers(list);
  for (size_t i = 0; i < list.rows.size(); ++i) {
    const ListRow& row = list.rows[i];
    const WordRecord& r = list.record(row);
    panel.chosen[static_cast<size_t>(row.category - 1)].push_back({value(r), r.word, groups[i]});
  }
  for (const WordRecord& r : list.table->records) {
    const auto in = std::find(list.play.begin(), list.play.end(), r.category);
    if (in == list.play.end() || !r.canBeChosen()) continue;
    panel.pool[static_cast<size_t>(in - list.play.begin())].push_back(value(r));
  }
  return panel;
}

// The affect bands as segments on `scale`: the valence cuts across the
// whole arousal range, each arousal cut across its valence band.
std::vector<Segment> affectBands(const RatingScale& scale) {
  const auto on = [&scale](double rating) { return scale.fromNinePoint(rating); };
  std::vector<Segment> bands;
  for (double v : {kNegativeBelow, kNeutralAbove, kNeutralBelow, kPositiveAbove}) {
    bands.push_back({on(v), scale.low, on(v), scale.high});
  }
  bands.push_back({scale.low, on(kNegArousalCut), on(kNegativeBelow), on(kNegArousalCut)});
  bands.push_back({on(kNeutralAbove), on(kNeuArousalCut), on(kNeutralBelow), on(kNeuArousalCut)});
  bands.push_back({on(kPositiveAbove), on(kPosArousalCut), scale.high, on(kPosArousalCut)});
  return bands;
}

std::string scaleText(const RatingScale& scale) {
  char text[64];
  std::snprintf(text, sizeof text, "%g to %g", scale.low, scale.high);
  return text;
}

ScatterPanel ratingsPanel(const DrawnList& list, const RatingScale& scale) {
  ScatterPanel panel;
  panel.xLabel = "valence (rating, " + scaleText(scale) + ")";
  panel.yLabel = "arousal (rating, " + scaleText(scale) + ")";
  panel.xLow = panel.yLow = scale.low;
  panel.xHigh = panel.yHigh = scale.high;
  for (const WordRecord& r : list.table->records) {
    if (r.category != AffectCategory::Unclassed) panel.background.emplace_back(r.valMn, r.aroMn);
  }
  panel.chosen.resize(list.play.size());
  for (const ListRow& row : list.rows) {
    const WordRecord& r = list.record(row);
    panel.chosen[static_cast<size_t>(row.category - 1)].push_back({r.valMn, r.aroMn, r.word});
  }
  panel.bands = affectBands(scale);
  return panel;
}

}  // namespace

PlotData affectPlotData(const DrawnList& list, const RatingScale& scale, const MatchRules& rules,
                        const std::string& title) {
  PlotData data;
  data.title = title;
  for (AffectCategory c : list.play)
    data.categories.push_back({nameOf(c), static_cast<int>(c) - 1});
  data.controls.push_back(controlPanel(list, "length (letters)", false,
                                       [](const WordRecord& r) { return double(r.len); }));
  if (rules.zipf) {
    data.controls.push_back(
        controlPanel(list, "Zipf frequency (log10 per million + 3)", false,
                     [&rules](const WordRecord& r) { return matchKey(r, rules); }));
  } else {
    data.controls.push_back(controlPanel(list, "frequency (per million, log scale)", true,
                                         [](const WordRecord& r) { return r.freq; }));
  }
  data.ratings = ratingsPanel(list, scale);
  return data;
}

BoxSummary boxSummary(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  BoxSummary box;
  box.lowerQuartile = quantile(values, 0.25);
  box.median = quantile(values, 0.5);
  box.upperQuartile = quantile(values, 0.75);
  const double reach = 1.5 * (box.upperQuartile - box.lowerQuartile);
  box.lowWhisker = *std::lower_bound(values.begin(), values.end(), box.lowerQuartile - reach);
  box.highWhisker =
      *(std::upper_bound(values.begin(), values.end(), box.upperQuartile + reach) - 1);
  return box;
}

MeanSd meanSd(const std::vector<double>& values) {
  MeanSd m;
  if (values.empty()) return m;
  double sum = 0;
  for (double v : values) sum += v;
  m.mean = sum / static_cast<double>(values.size());
  if (values.size() < 2) return m;
  double squares = 0;
  for (double v : values) squares += (v - m.mean) * (v - m.mean);
  m.sd = std::sqrt(squares / static_cast<double>(values.size() - 1));
  return m;
}
