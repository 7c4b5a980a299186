// The list drawn as an SVG figure for a paper's supplement.
#ifndef STIMSEL_OUTPUT_PLOT_H_
#define STIMSEL_OUTPUT_PLOT_H_

#include <ostream>
#include <string>

#include "output/plot_data.h"

// Writes an SVG 1.1 document: the title (wrapped to the canvas), then one
// panel per control and, when `data` has one, the ratings panel, three to a
// row; a legend with each category's chosen and eligible counts; a caption
// that says what every mark means.
//
// A control panel gives each category a column: the chosen words as dots,
// those of about one height side by side (no random source: the same data
// give the same figure); beside them, for two or more words, the mean and
// +-1 SD of the chosen words; and behind them, faint, the pool's box
// (BoxSummary). On a log axis the mean and SD are of the values as read.
// Below 40 chosen words in all, thin lines join the words of each group.
// The axis covers every chosen word and the pool's whiskers. The ratings
// panel draws at most 5,000 background words (every n-th of more, said in
// the caption).
//
// Every chosen word's dot is a <circle class="chosen"> holding a <title>
// with the word; each panel is a <g class="panel">. All text is valid UTF-8
// (invalid bytes become U+FFFD) and XML-escaped, and every mark lies inside
// the canvas.
void writePlot(const PlotData& data, std::ostream& out);

// "1st", "2nd", "3rd", "4th", "11th", "12th", "13th", "21st", "112th".
std::string ordinal(long long n);

#endif  // STIMSEL_OUTPUT_PLOT_H_
