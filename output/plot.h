// The list drawn as an SVG figure for a paper's supplement.
#ifndef STIMSEL_OUTPUT_PLOT_H_
#define STIMSEL_OUTPUT_PLOT_H_

#include <ostream>
#include <string>

#include "output/drawn_list.h"
#include "words/rating_scale.h"

// Writes an SVG 1.1 document of two panels. Left: valence (x) against
// arousal (y) of the classified words as small grey dots (at most 5,000,
// every n-th word of a larger table), the category bands as dashed lines,
// and the chosen words coloured by category (Okabe-Ito palette) with a
// legend. Right: length against frequency (log axis) of the chosen words,
// each partner joined to its anchor by a thin line. Every chosen word's dot
// holds a <title> with the word. `title` heads the figure.
void writePlot(const DrawnList& list, const RatingScale& scale, const std::string& title,
               std::ostream& out);

#endif  // STIMSEL_OUTPUT_PLOT_H_
