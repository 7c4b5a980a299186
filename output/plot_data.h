// What the plot shows, as plain values. The figure knows nothing of a
// design: whatever names its categories and hands over, per control, the
// values of the chosen words and of the pool they were drawn from gets the
// same figure. affectPlotData() fills it for the affect design.
#ifndef STIMSEL_OUTPUT_PLOT_DATA_H_
#define STIMSEL_OUTPUT_PLOT_DATA_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "design/design.h"
#include "output/drawn_list.h"
#include "select/selection.h"
#include "words/rating_scale.h"

struct PlotCategory {
  std::string name;  // as the legend and the column labels show it
  int colour = 0;    // index into the figure's palette; cycles past its end
};

// A chosen word as a dot: its value, its text for the tooltip, and the
// group it was drawn in (0.., or -1), by which a short list's groups are
// joined.
struct PlotWord {
  double value = 0;
  std::string_view word;  // the table's
  int group = -1;
};

// One control variable. `chosen` and `pool` hold one entry per category of
// PlotData::categories, in that order; the pool is every word that could
// have been chosen for the category, the chosen ones included. On a log
// scale a value below `logFloor` is drawn at it.
struct ControlPanel {
  std::string axisLabel;  // with its unit: "length (letters)"
  bool logScale = false;
  double logFloor = 0.01;
  std::vector<std::vector<PlotWord>> chosen;
  std::vector<std::vector<double>> pool;
};

struct ScatterWord {
  double x = 0;
  double y = 0;
  std::string_view word;  // the table's
};

struct Segment {
  double x1 = 0;
  double y1 = 0;
  double x2 = 0;
  double y2 = 0;
};

// Two ratings against each other on fixed ranges: every classified word
// faint in the background, the chosen words by category (as `chosen` of a
// ControlPanel), the design's band boundaries as dashed segments.
struct ScatterPanel {
  std::string xLabel;
  std::string yLabel;
  double xLow = 1;
  double xHigh = 9;
  double yLow = 1;
  double yHigh = 9;
  std::vector<std::pair<double, double>> background;
  std::vector<std::vector<ScatterWord>> chosen;
  std::vector<Segment> bands;
};

struct PlotData {
  std::string title;  // the command that draws the same list, seed included
  std::vector<PlotCategory> categories;
  std::vector<ControlPanel> controls;
  std::optional<ScatterPanel> ratings;
};

// The affect design's figure: a length panel and a frequency panel (Zipf
// frequency when `rules` match on Zipf, otherwise the frequency as read on a
// log axis), and valence against arousal on `scale` with the category
// bands. Categories are those in play, coloured by their affect category so
// that a category keeps its colour in every list mode.
PlotData affectPlotData(const DrawnList& list, const RatingScale& scale, const MatchRules& rules,
                        const std::string& title);

// The figure of a design of the user's own categories: one panel per
// control (`controls`, each a variable the list shows, the frequency as
// read on a log axis), the pool of each category being the records whose
// `slot` is its number; with two splits or more, the first two split
// variables against each other with the bands' bounds.
PlotData designPlotData(const DrawnList& list, const Design& design,
                        const std::vector<Control>& controls, const std::vector<std::uint8_t>& slot,
                        const std::string& title);

// Tukey's box of a non-empty set of values: quartiles by linear
// interpolation between order statistics (the default of R and NumPy);
// whiskers at the furthest values within 1.5 interquartile ranges of the
// box.
struct BoxSummary {
  double lowWhisker = 0;
  double lowerQuartile = 0;
  double median = 0;
  double upperQuartile = 0;
  double highWhisker = 0;
};
BoxSummary boxSummary(std::vector<double> values);

// The mean and the sample SD (n - 1; 0 for fewer than two values).
struct MeanSd {
  double mean = 0;
  double sd = 0;
};
MeanSd meanSd(const std::vector<double>& values);

#endif  // STIMSEL_OUTPUT_PLOT_DATA_H_
