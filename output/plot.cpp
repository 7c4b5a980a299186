#include "output/plot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <vector>

#include "words/letters.h"

namespace {

constexpr int kMargin = 20;
constexpr int kCellWidth = 410;  // one panel with its axis labels
constexpr int kCellHeight = 410;
constexpr int kPlotLeft = 64;  // the plotting area within its cell
constexpr int kPlotTop = 14;
constexpr int kPlotSize = 320;  // the plotting area is square
constexpr int kPanelsPerRow = 3;
constexpr int kLegendItemWidth = 400;
// A generous average width of a sans-serif character, in font sizes: what
// lines are wrapped by, so that no text runs off the canvas.
constexpr double kCharWidth = 0.6;
constexpr size_t kMostBackgroundDots = 5000;
constexpr size_t kFewestWordsWithoutGroupLines = 40;

// Okabe & Ito (2008): told apart by colour-blind readers too.
const char* colourOf(int index) {
  static const char* const kPalette[] = {"#E69F00", "#56B4E9", "#009E73", "#D55E00",
                                         "#0072B2", "#CC79A7", "#F0E442", "#000000"};
  const int n = static_cast<int>(sizeof kPalette / sizeof kPalette[0]);
  return kPalette[((index % n) + n) % n];
}

std::string xmlText(std::string_view text) {
  std::string escaped;
  for (char c : validUtf8(text)) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      case '\'':
        escaped += "&apos;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

std::string num(double value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.1f", value);
  return buffer;
}

std::string tickLabel(double value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%g", std::abs(value) < 1e-9 ? 0.0 : value);
  return buffer;
}

// `text` broken at spaces into lines of at most `width` characters (a
// longer word keeps a line of its own).
std::vector<std::string> wrapped(const std::string& text, size_t width) {
  std::vector<std::string> lines(1);
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(' ', start);
    if (end == std::string::npos) end = text.size();
    const std::string word = text.substr(start, end - start);
    if (!lines.back().empty() && lines.back().size() + 1 + word.size() > width)
      lines.emplace_back();
    lines.back() += (lines.back().empty() ? "" : " ") + word;
    start = end + 1;
  }
  return lines;
}

// How many characters of `fontSize` fit in `pixels`.
size_t charsIn(double pixels, double fontSize) {
  return static_cast<size_t>(pixels / (fontSize * kCharWidth));
}

// Maps values of [low, high] onto pixels [from, to].
struct Axis {
  double low;
  double high;
  double from;
  double to;
  double at(double v) const {
    const double clamped = std::min(std::max(v, low), high);
    return from + (clamped - low) / (high - low) * (to - from);
  }
};

void line(std::ostream& out, double x1, double y1, double x2, double y2, const char* style) {
  out << "<line x1=\"" << num(x1) << "\" y1=\"" << num(y1) << "\" x2=\"" << num(x2) << "\" y2=\""
      << num(y2) << "\" " << style << "/>\n";
}

void text(std::ostream& out, double x, double y, const std::string& content,
          const char* attributes = "") {
  out << "<text x=\"" << num(x) << "\" y=\"" << num(y) << "\" " << attributes << ">"
      << xmlText(content) << "</text>\n";
}

void verticalText(std::ostream& out, double x, double y, const std::string& content) {
  out << "<text transform=\"translate(" << num(x) << "," << num(y) << ") rotate(-90)\" "
      << "text-anchor=\"middle\">" << xmlText(content) << "</text>\n";
}

// A step of 1, 2 or 5 times a power of ten that gives four to nine ticks.
double niceStep(double span) {
  const double rough = span / 8;
  const double power = std::pow(10.0, std::floor(std::log10(rough)));
  for (double m : {1.0, 2.0, 5.0}) {
    if (m * power >= rough) return m * power;
  }
  return 10 * power;
}

// Ticks as (position on the axis, label). On a log axis positions are
// log10 of the value: the decades, and 2 and 5 times them when the axis
// spans less than two decades.
std::vector<std::pair<double, std::string>> ticksOf(const Axis& axis, bool logScale) {
  std::vector<std::pair<double, std::string>> ticks;
  const double eps = 1e-9 * (axis.high - axis.low);
  if (!logScale) {
    const double step = niceStep(axis.high - axis.low);
    const auto first = static_cast<long long>(std::ceil(axis.low / step - 1e-9));
    for (long long i = first; static_cast<double>(i) * step <= axis.high + eps; ++i) {
      const double at = static_cast<double>(i) * step;
      ticks.emplace_back(at, tickLabel(at));
    }
    return ticks;
  }
  const bool fine = axis.high - axis.low < 2;
  for (auto e = static_cast<long long>(std::floor(axis.low)); static_cast<double>(e) <= axis.high;
       ++e) {
    for (double m : {1.0, 2.0, 5.0}) {
      if (m != 1.0 && !fine) continue;
      const double at = static_cast<double>(e) + std::log10(m);
      if (at >= axis.low - eps && at <= axis.high + eps)
        ticks.emplace_back(at, tickLabel(std::pow(10.0, at)));
    }
  }
  return ticks;
}

// Where a panel's plotting area lies on the canvas.
struct Place {
  double left;
  double top;
  double right() const { return left + kPlotSize; }
  double bottom() const { return top + kPlotSize; }
};

void frame(std::ostream& out, const Place& at) {
  out << "<rect x=\"" << num(at.left) << "\" y=\"" << num(at.top) << "\" width=\"" << kPlotSize
      << "\" height=\"" << kPlotSize << "\" fill=\"none\" stroke=\"#333333\"/>\n";
}

void verticalTicks(std::ostream& out, const Place& at, const Axis& y, bool logScale) {
  for (const auto& [value, label] : ticksOf(y, logScale)) {
    const double p = y.at(value);
    line(out, at.left, p, at.right(), p, "stroke=\"#EEEEEE\"");
    line(out, at.left - 5, p, at.left, p, "stroke=\"#333333\"");
    text(out, at.left - 8, p + 4, label, "text-anchor=\"end\" font-size=\"11\"");
  }
}

void horizontalTicks(std::ostream& out, const Place& at, const Axis& x) {
  for (const auto& [value, label] : ticksOf(x, false)) {
    const double p = x.at(value);
    line(out, p, at.bottom(), p, at.bottom() + 5, "stroke=\"#333333\"");
    text(out, p, at.bottom() + 18, label, "text-anchor=\"middle\" font-size=\"11\"");
  }
}

// A control panel's values as its axis runs: log10 on a log axis.
struct Shown {
  const ControlPanel& panel;
  double operator()(double v) const {
    return panel.logScale ? std::log10(std::max(v, panel.logFloor)) : v;
  }
};

std::vector<double> shownValues(const Shown& shown, const std::vector<double>& values) {
  std::vector<double> result;
  result.reserve(values.size());
  for (double v : values) result.push_back(shown(v));
  return result;
}

// Every chosen word and the pool's whiskers, with a little room.
Axis valueAxis(const ControlPanel& panel, const Place& at) {
  const Shown shown{panel};
  double low = std::numeric_limits<double>::infinity();
  double high = -low;
  for (size_t k = 0; k < panel.chosen.size(); ++k) {
    for (const PlotWord& w : panel.chosen[k]) {
      low = std::min(low, shown(w.value));
      high = std::max(high, shown(w.value));
    }
    if (panel.pool[k].empty()) continue;
    const BoxSummary box = boxSummary(shownValues(shown, panel.pool[k]));
    low = std::min(low, box.lowWhisker);
    high = std::max(high, box.highWhisker);
  }
  if (!(low <= high)) low = 0, high = 1;
  if (high - low < 1e-9) low -= 0.5, high += 0.5;
  const double room = 0.05 * (high - low);
  return {low - room, high + room, at.bottom(), at.top};
}

bool anyBelowFloor(const ControlPanel& panel) {
  if (!panel.logScale) return false;
  for (size_t k = 0; k < panel.chosen.size(); ++k) {
    for (const PlotWord& w : panel.chosen[k]) {
      if (w.value < panel.logFloor) return true;
    }
    for (double v : panel.pool[k]) {
      if (v < panel.logFloor) return true;
    }
  }
  return false;
}

void poolBox(std::ostream& out, const BoxSummary& box, const Axis& y, double left, double right) {
  const double middle = (left + right) / 2;
  const char* faint = "stroke=\"#9A9A9A\" stroke-width=\"1\"";
  line(out, middle, y.at(box.lowWhisker), middle, y.at(box.lowerQuartile), faint);
  line(out, middle, y.at(box.upperQuartile), middle, y.at(box.highWhisker), faint);
  line(out, middle - 6, y.at(box.lowWhisker), middle + 6, y.at(box.lowWhisker), faint);
  line(out, middle - 6, y.at(box.highWhisker), middle + 6, y.at(box.highWhisker), faint);
  out << "<rect x=\"" << num(left) << "\" y=\"" << num(y.at(box.upperQuartile)) << "\" width=\""
      << num(right - left) << "\" height=\""
      << num(y.at(box.lowerQuartile) - y.at(box.upperQuartile))
      << "\" fill=\"#DDDDDD\" fill-opacity=\"0.6\" " << faint << "/>\n";
  line(out, left, y.at(box.median), right, y.at(box.median),
       "stroke=\"#8A8A8A\" stroke-width=\"2\"");
}

// The chosen words' mean as a bar and +-1 SD as a line with caps; an end
// beyond the axis stops at it without a cap.
void meanAndSd(std::ostream& out, const ControlPanel& panel, const std::vector<PlotWord>& words,
               const Axis& y, double x) {
  std::vector<double> values;
  values.reserve(words.size());
  for (const PlotWord& w : words) values.push_back(w.value);
  const MeanSd m = meanSd(values);
  const Shown shown{panel};
  const double lowValue = m.mean - m.sd;
  const bool lowShown = !(panel.logScale && lowValue < panel.logFloor) && shown(lowValue) >= y.low;
  const bool highShown = shown(m.mean + m.sd) <= y.high;
  const double low = lowShown ? y.at(shown(lowValue)) : y.from;
  const double high = y.at(shown(m.mean + m.sd));
  const char* ink = "stroke=\"#000000\" stroke-width=\"1.5\"";
  line(out, x, low, x, high, ink);
  if (lowShown) line(out, x - 4, low, x + 4, low, ink);
  if (highShown) line(out, x - 4, high, x + 4, high, ink);
  line(out, x - 8, y.at(shown(m.mean)), x + 8, y.at(shown(m.mean)),
       "stroke=\"#000000\" stroke-width=\"3\"");
}

double dotRadius(size_t mostInAColumn) {
  if (mostInAColumn <= 12) return 4.5;
  if (mostInAColumn <= 40) return 3.5;
  if (mostInAColumn <= 100) return 2.6;
  return 2;
}

// Column k's layout: the dots' band, the mean's place, the box's sides.
struct Column {
  double centre;
  double width;
  double dotsLeft() const { return centre - 0.34 * width; }
  double dotsRight() const { return centre + 0.14 * width; }
  double meanAt() const { return centre + 0.30 * width; }
};

// Where each dot of a column goes sideways. Dots whose heights fall in one
// band of a dot's diameter sit side by side, packed about the middle of the
// column while they fit and spread over it evenly when they do not; the
// same values always give the same places.
std::vector<double> sidewaysPlaces(const Column& column, const std::vector<double>& heights,
                                   double radius) {
  std::map<long long, std::vector<size_t>> rows;
  for (size_t i = 0; i < heights.size(); ++i)
    rows[static_cast<long long>(std::floor(heights[i] / (2 * radius)))].push_back(i);
  std::vector<double> places(heights.size());
  const double band = column.dotsRight() - column.dotsLeft();
  const double middle = (column.dotsLeft() + column.dotsRight()) / 2;
  for (const auto& row : rows) {
    const std::vector<size_t>& members = row.second;
    const auto m = static_cast<double>(members.size());
    const double step = std::min(2.2 * radius, band / m);
    for (size_t j = 0; j < members.size(); ++j)
      places[members[j]] = middle + (static_cast<double>(j) - (m - 1) / 2) * step;
  }
  return places;
}

void columnLabel(std::ostream& out, const PlotCategory& category, const Column& column,
                 double top) {
  const auto lines = wrapped(category.name, std::max<size_t>(4, charsIn(column.width, 10)));
  for (size_t i = 0; i < lines.size() && i < 3; ++i) {
    text(out, column.centre, top + 14 + 12 * static_cast<double>(i), lines[i],
         "text-anchor=\"middle\" font-size=\"10\"");
  }
}

void groupLines(std::ostream& out, const ControlPanel& panel,
                const std::vector<std::vector<double>>& places, const Axis& y, const Shown& shown) {
  std::vector<std::vector<std::pair<double, double>>> groups;
  for (size_t k = 0; k < places.size(); ++k) {
    for (size_t i = 0; i < panel.chosen[k].size(); ++i) {
      const PlotWord& w = panel.chosen[k][i];
      if (w.group < 0) continue;
      if (static_cast<size_t>(w.group) >= groups.size()) groups.resize(w.group + 1);
      groups[w.group].emplace_back(places[k][i], y.at(shown(w.value)));
    }
  }
  for (const auto& points : groups) {
    if (points.size() < 2) continue;
    out << "<polyline fill=\"none\" stroke=\"#777777\" stroke-width=\"0.7\" "
           "stroke-opacity=\"0.6\" points=\"";
    for (size_t i = 0; i < points.size(); ++i)
      out << (i ? " " : "") << num(points[i].first) << "," << num(points[i].second);
    out << "\"/>\n";
  }
}

void chosenDot(std::ostream& out, double x, double y, double r, int colour, std::string_view word) {
  out << "<circle class=\"chosen\" cx=\"" << num(x) << "\" cy=\"" << num(y) << "\" r=\"" << r
      << "\" fill=\"" << colourOf(colour) << "\" stroke=\"#222222\" stroke-width=\"0.5\"><title>"
      << xmlText(word) << "</title></circle>\n";
}

template <typename Word>
size_t chosenCount(const std::vector<std::vector<Word>>& chosen) {
  size_t n = 0;
  for (const auto& words : chosen) n += words.size();
  return n;
}

void drawControl(std::ostream& out, const PlotData& data, const ControlPanel& panel,
                 const Place& at) {
  out << "<g class=\"panel\">\n";
  const Axis y = valueAxis(panel, at);
  const Shown shown{panel};
  verticalTicks(out, at, y, panel.logScale);
  verticalText(out, at.left - 46, at.top + kPlotSize / 2.0, panel.axisLabel);
  const size_t k = std::max<size_t>(1, data.categories.size());
  std::vector<Column> columns;
  size_t mostInAColumn = 0;
  for (size_t c = 0; c < k; ++c) {
    const double width = kPlotSize / static_cast<double>(k);
    columns.push_back({at.left + (static_cast<double>(c) + 0.5) * width, width});
    if (c < panel.chosen.size()) mostInAColumn = std::max(mostInAColumn, panel.chosen[c].size());
  }
  for (size_t c = 0; c < data.categories.size(); ++c) {
    if (c < panel.pool.size() && !panel.pool[c].empty()) {
      poolBox(out, boxSummary(shownValues(shown, panel.pool[c])), y,
              columns[c].dotsLeft() - 0.04 * columns[c].width,
              columns[c].dotsRight() + 0.04 * columns[c].width);
    }
    columnLabel(out, data.categories[c], columns[c], at.bottom());
  }
  const double r = dotRadius(mostInAColumn);
  std::vector<std::vector<double>> places;
  for (size_t c = 0; c < panel.chosen.size() && c < data.categories.size(); ++c) {
    std::vector<double> heights;
    for (const PlotWord& w : panel.chosen[c]) heights.push_back(y.at(shown(w.value)));
    places.push_back(sidewaysPlaces(columns[c], heights, r));
  }
  if (chosenCount(panel.chosen) < kFewestWordsWithoutGroupLines)
    groupLines(out, panel, places, y, shown);
  for (size_t c = 0; c < places.size(); ++c) {
    for (size_t i = 0; i < panel.chosen[c].size(); ++i) {
      const PlotWord& w = panel.chosen[c][i];
      chosenDot(out, places[c][i], y.at(shown(w.value)), r, data.categories[c].colour, w.word);
    }
    if (panel.chosen[c].size() > 1) meanAndSd(out, panel, panel.chosen[c], y, columns[c].meanAt());
  }
  if (anyBelowFloor(panel)) {
    text(out, at.left + 4, at.top + 12,
         "values below " + tickLabel(panel.logFloor) + " drawn at " + tickLabel(panel.logFloor),
         "font-size=\"10\"");
  }
  frame(out, at);
  out << "</g>\n";
}

size_t backgroundStep(const ScatterPanel& panel) {
  return panel.background.size() / kMostBackgroundDots + 1;
}

void drawRatings(std::ostream& out, const PlotData& data, const ScatterPanel& panel,
                 const Place& at) {
  out << "<g class=\"panel\">\n";
  const Axis x{panel.xLow, panel.xHigh, at.left, at.right()};
  const Axis y{panel.yLow, panel.yHigh, at.bottom(), at.top};
  verticalTicks(out, at, y, false);
  horizontalTicks(out, at, x);
  verticalText(out, at.left - 46, at.top + kPlotSize / 2.0, panel.yLabel);
  text(out, (at.left + at.right()) / 2, at.bottom() + 40, panel.xLabel, "text-anchor=\"middle\"");
  const size_t every = backgroundStep(panel);
  out << "<g fill=\"#BBBBBB\">\n";
  for (size_t i = 0; i < panel.background.size(); i += every) {
    out << "<circle cx=\"" << num(x.at(panel.background[i].first)) << "\" cy=\""
        << num(y.at(panel.background[i].second)) << "\" r=\"1.3\"/>\n";
  }
  out << "</g>\n";
  for (const Segment& s : panel.bands) {
    line(out, x.at(s.x1), y.at(s.y1), x.at(s.x2), y.at(s.y2),
         "stroke=\"#555555\" stroke-dasharray=\"4 3\"");
  }
  const size_t total = chosenCount(panel.chosen);
  const double r = total <= 60 ? 4 : total <= 200 ? 3 : 2.4;
  for (size_t c = 0; c < panel.chosen.size() && c < data.categories.size(); ++c) {
    for (const ScatterWord& w : panel.chosen[c])
      chosenDot(out, x.at(w.x), y.at(w.y), r, data.categories[c].colour, w.word);
  }
  frame(out, at);
  out << "</g>\n";
}

// What the legend says of category c: how many words were chosen of how
// many eligible, from the first control (every control holds the same).
std::string legendText(const PlotData& data, size_t c) {
  std::string entry = data.categories[c].name;
  if (data.controls.empty()) return entry;
  const ControlPanel& first = data.controls.front();
  const size_t chosen = c < first.chosen.size() ? first.chosen[c].size() : 0;
  const size_t pool = c < first.pool.size() ? first.pool[c].size() : 0;
  return entry + ": " + std::to_string(chosen) + " chosen of " + std::to_string(pool) + " eligible";
}

// "valence" of "valence (rating, 1 to 9)".
std::string firstWord(const std::string& label) {
  return label.substr(0, label.find(' '));
}

std::vector<std::string> captionLines(const PlotData& data, size_t width) {
  std::vector<std::string> paragraphs;
  if (!data.controls.empty()) {
    paragraphs.push_back(
        "Dots: the chosen words, spread sideways within their category's column. Black bar and "
        "line: the chosen words' mean and \xC2\xB1"
        "1 SD. Grey box: the eligible pool's median "
        "and quartiles, whiskers to its furthest value within 1.5 interquartile ranges of the "
        "box.");
    if (chosenCount(data.controls.front().chosen) < kFewestWordsWithoutGroupLines)
      paragraphs.push_back("Thin grey lines join the words of one matched group.");
  }
  if (data.ratings) {
    const ScatterPanel& ratings = *data.ratings;
    const size_t every = backgroundStep(ratings);
    const std::string classified = std::to_string(ratings.background.size()) + " classified words";
    std::string name = firstWord(ratings.xLabel);
    if (!name.empty() && name[0] >= 'a' && name[0] <= 'z') name[0] = char(name[0] - 'a' + 'A');
    paragraphs.push_back(
        name + " against " + firstWord(ratings.yLabel) + ": grey, " +
        (every == 1 ? "all " + classified
                    : "every " + ordinal(static_cast<long long>(every)) + " of the " + classified) +
        "; dashed, the category bands; coloured, the chosen words.");
  }
  std::vector<std::string> lines;
  for (const std::string& p : paragraphs) {
    for (const std::string& l : wrapped(p, width)) lines.push_back(l);
  }
  return lines;
}

}  // namespace

std::string ordinal(long long n) {
  const long long lastTwo = n % 100;
  const char* suffix = "th";
  if (lastTwo < 11 || lastTwo > 13) {
    if (n % 10 == 1) suffix = "st";
    if (n % 10 == 2) suffix = "nd";
    if (n % 10 == 3) suffix = "rd";
  }
  return std::to_string(n) + suffix;
}

void writePlot(const PlotData& data, std::ostream& out) {
  const size_t panels = data.controls.size() + (data.ratings ? 1 : 0);
  const size_t perRow = std::max<size_t>(1, std::min<size_t>(panels, kPanelsPerRow));
  const size_t rows = (panels + perRow - 1) / perRow;
  const int width = 2 * kMargin + static_cast<int>(perRow) * kCellWidth;
  const auto titleLines = wrapped(data.title, charsIn(width - 2 * kMargin, 14));
  const int gridTop = 28 + 20 * static_cast<int>(titleLines.size());
  const size_t legendPerRow = std::max(1, (width - 2 * kMargin) / kLegendItemWidth);
  const size_t legendRows = (data.categories.size() + legendPerRow - 1) / legendPerRow;
  const int legendTop = gridTop + static_cast<int>(rows) * kCellHeight;
  const auto caption = captionLines(data, charsIn(width - 2 * kMargin, 11));
  const int captionTop = legendTop + 22 * static_cast<int>(legendRows) + 8;
  const int height = captionTop + 16 * static_cast<int>(caption.size()) + kMargin;

  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" << width
      << "\" height=\"" << height << "\" viewBox=\"0 0 " << width << " " << height
      << "\" font-family=\"sans-serif\" font-size=\"13\">\n"
      << "<rect width=\"100%\" height=\"100%\" fill=\"#FFFFFF\"/>\n";
  for (size_t i = 0; i < titleLines.size(); ++i) {
    text(out, width / 2.0, 30 + 20 * static_cast<double>(i), titleLines[i],
         "text-anchor=\"middle\" font-size=\"14\"");
  }
  for (size_t p = 0; p < panels; ++p) {
    const size_t row = p / perRow;
    const Place at{kMargin + static_cast<double>(p % perRow) * kCellWidth + kPlotLeft,
                   gridTop + static_cast<double>(row) * kCellHeight + kPlotTop};
    if (p < data.controls.size()) {
      drawControl(out, data, data.controls[p], at);
    } else {
      drawRatings(out, data, *data.ratings, at);
    }
  }
  for (size_t c = 0; c < data.categories.size(); ++c) {
    const double x = kMargin + static_cast<double>(c % legendPerRow) * kLegendItemWidth;
    const size_t row = c / legendPerRow;
    const double y = legendTop + 22 * static_cast<double>(row) + 14;
    out << "<circle cx=\"" << num(x + 6) << "\" cy=\"" << num(y - 4) << "\" r=\"5\" fill=\""
        << colourOf(data.categories[c].colour) << "\" stroke=\"#222222\" stroke-width=\"0.5\"/>\n";
    text(out, x + 16, y, legendText(data, c), "font-size=\"12\"");
  }
  for (size_t i = 0; i < caption.size(); ++i) {
    text(out, kMargin, captionTop + 12 + 16 * static_cast<double>(i), caption[i],
         "font-size=\"11\"");
  }
  out << "</svg>\n";
}
