// The controls a run matches on, settled once the norms are read: the
// defaults depend on whether the frequencies are known to be per million.
#ifndef STIMSEL_APP_CONTROLS_IN_FORCE_H_
#define STIMSEL_APP_CONTROLS_IN_FORCE_H_

#include <string>
#include <vector>

#include "app/settings.h"
#include "design/design.h"
#include "select/selection.h"
#include "words/word_table.h"

// True when the table's frequencies are per million: --frequency-unit says
// so, or else the frequency column is SUBTLWF (the default column of a
// --frequency join).
bool frequencyIsPerMillion(const Settings& settings, const WordTable& table);

// With --control, the controls given (every spelling, in order). Without
// it, length and frequency: the length tolerance in force (2 unless
// --length-tolerance), and the frequency as --zipf-tolerance or
// --frequency-tolerance says, else Zipf within 0.2 for per-million
// frequencies and frequency within 10 for any other.
std::vector<Control> controlsInForce(const Settings& settings, bool perMillion);

// The match rules the run's report, plot and messages describe: the
// settings' rules with the frequency control in force.
MatchRules rulesInForce(const Settings& settings, const std::vector<Control>& controls);

// "length within 2 letters and Zipf frequency within 0.2": every control
// in words, joined by commas and a last "and".
std::string controlsText(const std::vector<Control>& controls);

// True for the two controls of the affect design's defaults: length, then
// frequency or Zipf frequency.
bool isLengthAndFrequency(const std::vector<Control>& controls);

// "Matching: length within 2 letters and Zipf frequency within 0.2 of the
// group's anchor." (or "of each other." under --match all).
std::string matchingLine(const std::vector<Control>& controls, bool matchAll);

#endif  // STIMSEL_APP_CONTROLS_IN_FORCE_H_
