#include "output/plot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

#include "words/letters.h"
#include "words/zipf.h"

namespace {

constexpr int kWidth = 1000;
constexpr int kHeight = 560;
constexpr int kPanel = 400;  // each panel's plotting area is kPanel x kPanel
constexpr int kTop = 70;
constexpr int kLeftPanelX = 70;
constexpr int kRightPanelX = 560;
constexpr size_t kMostGreyDots = 5000;

// Okabe & Ito (2008), colour-blind safe, by category number 1..6.
const char* colourOf(AffectCategory c) {
  switch (c) {
    case AffectCategory::PosCalm:
      return "#E69F00";
    case AffectCategory::NegCalm:
      return "#56B4E9";
    case AffectCategory::NeuCalm:
      return "#009E73";
    case AffectCategory::PosAroused:
      return "#D55E00";
    case AffectCategory::NegAroused:
      return "#0072B2";
    case AffectCategory::NeuAroused:
      return "#CC79A7";
    case AffectCategory::Unclassed:
      break;
  }
  return "#999999";
}

std::string xmlText(const std::string& text) {
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

// Maps values of [low, high] onto a panel's pixels.
struct Axis {
  double low;
  double high;
  double from;  // pixel of `low`
  double to;    // pixel of `high`
  double at(double v) const { return from + (v - low) / (high - low) * (to - from); }
};

double logFrequency(double freq) {
  return std::log10(std::max(freq, kZipfFloorPerMillion));
}

void line(std::ostream& out, double x1, double y1, double x2, double y2, const char* style) {
  out << "<line x1=\"" << num(x1) << "\" y1=\"" << num(y1) << "\" x2=\"" << num(x2) << "\" y2=\""
      << num(y2) << "\" " << style << "/>\n";
}

void text(std::ostream& out, double x, double y, const std::string& content,
          const char* attributes = "") {
  out << "<text x=\"" << num(x) << "\" y=\"" << num(y) << "\" " << attributes << ">"
      << xmlText(content) << "</text>\n";
}

void frame(std::ostream& out, int x, const std::string& xLabel, const std::string& yLabel) {
  out << "<rect x=\"" << x << "\" y=\"" << kTop << "\" width=\"" << kPanel << "\" height=\""
      << kPanel << "\" fill=\"none\" stroke=\"#333333\"/>\n";
  text(out, x + kPanel / 2.0, kTop + kPanel + 40, xLabel, "text-anchor=\"middle\"");
  out << "<text transform=\"translate(" << x - 45 << "," << kTop + kPanel / 2 << ") rotate(-90)\" "
      << "text-anchor=\"middle\">" << xmlText(yLabel) << "</text>\n";
}

void ticks(std::ostream& out, const Axis& axis, bool horizontal, int panelX,
           const std::vector<std::pair<double, std::string>>& marks) {
  for (const auto& [value, label] : marks) {
    const double p = axis.at(value);
    if (horizontal) {
      line(out, p, kTop + kPanel, p, kTop + kPanel + 5, "stroke=\"#333333\"");
      text(out, p, kTop + kPanel + 18, label, "text-anchor=\"middle\" font-size=\"11\"");
    } else {
      line(out, panelX - 5, p, panelX, p, "stroke=\"#333333\"");
      text(out, panelX - 8, p + 4, label, "text-anchor=\"end\" font-size=\"11\"");
    }
  }
}

std::vector<std::pair<double, std::string>> scaleMarks(const RatingScale& scale) {
  std::vector<std::pair<double, std::string>> marks;
  for (int i = 0; i <= 4; ++i) {
    const double v = scale.low + (scale.high - scale.low) * i / 4;
    char label[32];
    std::snprintf(label, sizeof label, "%g", v);
    marks.emplace_back(v, label);
  }
  return marks;
}

void leftPanel(const DrawnList& list, const RatingScale& scale, std::ostream& out) {
  const Axis x{scale.low, scale.high, kLeftPanelX, kLeftPanelX + kPanel};
  const Axis y{scale.low, scale.high, kTop + kPanel, kTop};
  frame(out, kLeftPanelX, "Valence", "Arousal");
  ticks(out, x, true, kLeftPanelX, scaleMarks(scale));
  ticks(out, y, false, kLeftPanelX, scaleMarks(scale));
  size_t classified = 0;
  for (const WordRecord& r : list.table->records)
    classified += r.category != AffectCategory::Unclassed;
  const size_t every = classified / kMostGreyDots + 1;
  out << "<g fill=\"#BBBBBB\">\n";
  size_t seen = 0;
  for (const WordRecord& r : list.table->records) {
    if (r.category == AffectCategory::Unclassed || seen++ % every != 0) continue;
    out << "<circle cx=\"" << num(x.at(r.valMn)) << "\" cy=\"" << num(y.at(r.aroMn))
        << "\" r=\"1.5\"/>\n";
  }
  out << "</g>\n";
  const char* dashed = "stroke=\"#555555\" stroke-dasharray=\"4 3\"";
  const auto on = [&scale](double rating) { return scale.fromNinePoint(rating); };
  for (double v : {kNegativeBelow, kNeutralAbove, kNeutralBelow, kPositiveAbove}) {
    line(out, x.at(on(v)), kTop, x.at(on(v)), kTop + kPanel, dashed);
  }
  line(out, x.at(scale.low), y.at(on(kNegArousalCut)), x.at(on(kNegativeBelow)),
       y.at(on(kNegArousalCut)), dashed);
  line(out, x.at(on(kNeutralAbove)), y.at(on(kNeuArousalCut)), x.at(on(kNeutralBelow)),
       y.at(on(kNeuArousalCut)), dashed);
  line(out, x.at(on(kPositiveAbove)), y.at(on(kPosArousalCut)), x.at(scale.high),
       y.at(on(kPosArousalCut)), dashed);
  for (const ListRow& row : list.rows) {
    const WordRecord& r = list.record(row);
    out << "<circle class=\"chosen\" cx=\"" << num(x.at(r.valMn)) << "\" cy=\""
        << num(y.at(r.aroMn)) << "\" r=\"4\" fill=\"" << colourOf(list.categoryOf(row))
        << "\" stroke=\"#000000\" stroke-width=\"0.5\"><title>" << xmlText(r.word)
        << "</title></circle>\n";
  }
  if (every > 1) {
    text(out, kLeftPanelX + 4, kTop + 14,
         "grey: every " + std::to_string(every) + "th classified word", "font-size=\"11\"");
  }
}

void rightPanel(const DrawnList& list, std::ostream& out) {
  int shortest = 1;
  int longest = 2;
  double rarest = 0;
  double commonest = 1;
  for (size_t i = 0; i < list.rows.size(); ++i) {
    const WordRecord& r = list.record(list.rows[i]);
    shortest = i == 0 ? r.len : std::min(shortest, r.len);
    longest = i == 0 ? r.len : std::max(longest, r.len);
    rarest = i == 0 ? logFrequency(r.freq) : std::min(rarest, logFrequency(r.freq));
    commonest = i == 0 ? logFrequency(r.freq) : std::max(commonest, logFrequency(r.freq));
  }
  const Axis x{shortest - 1.0, longest + 1.0, kRightPanelX, kRightPanelX + kPanel};
  const Axis y{std::floor(rarest), std::max(std::ceil(commonest), std::floor(rarest) + 1),
               kTop + kPanel, kTop};
  frame(out, kRightPanelX, "Length (letters)", "Frequency (log scale)");
  std::vector<std::pair<double, std::string>> lengthMarks;
  for (int len = shortest - 1; len <= longest + 1; ++len) {
    if ((longest - shortest) <= 12 || len % 2 == 0)
      lengthMarks.emplace_back(len, std::to_string(len));
  }
  ticks(out, x, true, kRightPanelX, lengthMarks);
  std::vector<std::pair<double, std::string>> frequencyMarks;
  for (int e = static_cast<int>(y.low); e <= static_cast<int>(y.high); ++e) {
    char label[32];
    std::snprintf(label, sizeof label, "%g", std::pow(10.0, e));
    frequencyMarks.emplace_back(e, label);
  }
  ticks(out, y, false, kRightPanelX, frequencyMarks);
  std::map<std::pair<int, int>, const WordRecord*> anchors;
  for (const ListRow& row : list.rows) {
    if (row.anchor) anchors[{row.list, row.group}] = &list.record(row);
  }
  // Words of one length share a column; each category keeps its own lane in
  // it, so that dots of different categories do not hide each other.
  const double lane = 0.09;
  const double middle = (static_cast<double>(list.play.size()) + 1) / 2;
  const auto xOf = [&](const WordRecord& r, int category) {
    return x.at(r.len + (category - middle) * lane);
  };
  for (const ListRow& row : list.rows) {
    const WordRecord& r = list.record(row);
    const WordRecord& a = *anchors[{row.list, row.group}];
    if (!row.anchor) {
      const int anchorCategory = static_cast<int>(
          std::find(list.play.begin(), list.play.end(), a.category) - list.play.begin() + 1);
      line(out, xOf(a, anchorCategory), y.at(logFrequency(a.freq)), xOf(r, row.category),
           y.at(logFrequency(r.freq)), "stroke=\"#999999\" stroke-width=\"0.6\"");
    }
  }
  for (const ListRow& row : list.rows) {
    const WordRecord& r = list.record(row);
    out << "<circle class=\"chosen\" cx=\"" << num(xOf(r, row.category)) << "\" cy=\""
        << num(y.at(logFrequency(r.freq))) << "\" r=\"" << (row.anchor ? "5" : "3.5")
        << "\" fill=\"" << colourOf(list.categoryOf(row))
        << "\" stroke=\"#000000\" stroke-width=\"0.5\"><title>" << xmlText(r.word)
        << "</title></circle>\n";
  }
}

void legend(const DrawnList& list, std::ostream& out) {
  double x = kLeftPanelX;
  const double y = kHeight - 34;
  for (AffectCategory c : list.play) {
    out << "<circle cx=\"" << num(x + 5) << "\" cy=\"" << num(y - 4) << "\" r=\"5\" fill=\""
        << colourOf(c) << "\"/>\n";
    text(out, x + 14, y, std::string(nameOf(c)) + " (" + labelOf(c) + ")", "font-size=\"12\"");
    x += 150;
  }
  text(out, kLeftPanelX, kHeight - 12,
       "Right panel: large dot, a group's anchor; thin line, a partner to its anchor.",
       "font-size=\"11\"");
}

}  // namespace

void writePlot(const DrawnList& list, const RatingScale& scale, const std::string& title,
               std::ostream& out) {
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" << kWidth
      << "\" height=\"" << kHeight << "\" viewBox=\"0 0 " << kWidth << " " << kHeight
      << "\" font-family=\"sans-serif\" font-size=\"13\">\n"
      << "<rect width=\"100%\" height=\"100%\" fill=\"#FFFFFF\"/>\n";
  text(out, kWidth / 2.0, 30, title, "text-anchor=\"middle\" font-size=\"15\"");
  leftPanel(list, scale, out);
  rightPanel(list, out);
  legend(list, out);
  out << "</svg>\n";
}
