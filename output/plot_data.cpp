#include "output/plot_data.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <utility>

#include "words/ascii_text.h"
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
    panel.chosen[static_cast<size_t>(row.category - 1)].push_back({value(r), r.word(), groups[i]});
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
    panel.chosen[static_cast<size_t>(row.category - 1)].push_back({r.valMn, r.aroMn, r.word()});
  }
  panel.bands = affectBands(scale);
  return panel;
}

std::string axisLabel(const std::string& variable) {
  const std::string name = asciiLower(variable);
  if (name == "length") return "length (letters)";
  if (name == "zipf") return "Zipf frequency (log10 per million + 3)";
  if (name == "frequency") return "frequency (as read, log scale)";
  return variable + " (as in the norms file)";
}

ControlPanel designPanel(const DrawnList& list, const ShownVariable& variable,
                         const std::vector<std::uint8_t>& slot) {
  ControlPanel panel;
  panel.axisLabel = axisLabel(variable.name);
  panel.logScale = asciiLower(variable.name) == "frequency";
  const size_t k = list.categoryNames.size();
  panel.chosen.resize(k);
  panel.pool.resize(k);
  const std::vector<int> groups = groupNumbers(list);
  for (size_t i = 0; i < list.rows.size(); ++i) {
    const ListRow& row = list.rows[i];
    panel.chosen[static_cast<size_t>(row.category - 1)].push_back(
        {variable.values[static_cast<size_t>(row.index)], list.record(row).word(), groups[i]});
  }
  for (size_t r = 0; r < slot.size(); ++r) {
    if (slot[r] != 0) panel.pool[slot[r] - 1U].push_back(variable.values[r]);
  }
  return panel;
}

// The finite bounds of a split's bands, each once, inside [low, high].
std::vector<double> cutsOf(const Split& split, double low, double high) {
  std::vector<double> cuts;
  for (const Band& band : split.bands) {
    for (double bound : {band.interval.low, band.interval.high}) {
      if (std::isfinite(bound) && bound >= low && bound <= high &&
          std::find(cuts.begin(), cuts.end(), bound) == cuts.end()) {
        cuts.push_back(bound);
      }
    }
  }
  return cuts;
}

// The first two split variables against each other, on the range of the
// words in some category.
std::optional<ScatterPanel> splitsPanel(const DrawnList& list, const Design& design,
                                        const std::vector<std::uint8_t>& slot) {
  if (design.splits.size() < 2) return std::nullopt;
  const ShownVariable* x = list.variable(design.splits[0].variable);
  const ShownVariable* y = list.variable(design.splits[1].variable);
  if (x == nullptr || y == nullptr) return std::nullopt;
  ScatterPanel panel;
  panel.xLabel = axisLabel(x->name);
  panel.yLabel = axisLabel(y->name);
  bool first = true;
  for (size_t r = 0; r < slot.size(); ++r) {
    if (slot[r] == 0) continue;
    const double vx = x->values[r];
    const double vy = y->values[r];
    panel.background.emplace_back(vx, vy);
    panel.xLow = first ? vx : std::min(panel.xLow, vx);
    panel.xHigh = first ? vx : std::max(panel.xHigh, vx);
    panel.yLow = first ? vy : std::min(panel.yLow, vy);
    panel.yHigh = first ? vy : std::max(panel.yHigh, vy);
    first = false;
  }
  if (first || panel.xLow == panel.xHigh || panel.yLow == panel.yHigh) return std::nullopt;
  panel.chosen.resize(list.categoryNames.size());
  for (const ListRow& row : list.rows) {
    const auto i = static_cast<size_t>(row.index);
    panel.chosen[static_cast<size_t>(row.category - 1)].push_back(
        {x->values[i], y->values[i], list.record(row).word()});
  }
  for (double cut : cutsOf(design.splits[0], panel.xLow, panel.xHigh)) {
    panel.bands.push_back({cut, panel.yLow, cut, panel.yHigh});
  }
  for (double cut : cutsOf(design.splits[1], panel.yLow, panel.yHigh)) {
    panel.bands.push_back({panel.xLow, cut, panel.xHigh, cut});
  }
  return panel;
}

}  // namespace

PlotData designPlotData(const DrawnList& list, const Design& design,
                        const std::vector<Control>& controls, const std::vector<std::uint8_t>& slot,
                        const std::string& title) {
  PlotData data;
  data.title = title;
  for (size_t c = 0; c < list.categoryNames.size(); ++c) {
    data.categories.push_back({list.categoryNames[c], static_cast<int>(c)});
  }
  for (const Control& control : controls) {
    if (const ShownVariable* variable = list.variable(control.variable)) {
      data.controls.push_back(designPanel(list, *variable, slot));
    }
  }
  data.ratings = splitsPanel(list, design, slot);
  return data;
}

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
