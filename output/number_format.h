// Numbers as text: written so that they read back exactly as they were
// loaded, or to a fixed number of decimals for statistics.
#ifndef STIMSEL_OUTPUT_NUMBER_FORMAT_H_
#define STIMSEL_OUTPUT_NUMBER_FORMAT_H_

#include <string>

// The shortest text that reads back as the same float ("5.67", not
// "5.670000076").
std::string shortestText(float value);

// The same for a double; a whole value prints without a decimal point.
std::string shortestText(double value);

// The double whose shortest text is that of `value`: what a reader of the
// exported text gets, for writers that hold numbers as doubles (JSON).
double asWritten(float value);

// Computed figures that files hold as data (a design's zipf, the JSON
// datasheet's statistics) keep this many significant digits: far more than
// any use of them needs, and few enough that the system's build and the
// browser's, whose log10 and Boost.Math differ in the last bits of a double,
// write the same text.
constexpr int kDataFigureDigits = 10;

// `value` rounded to kDataFigureDigits significant digits, as the double
// nearest that decimal; not-a-number and infinities stay as they are.
double dataFigure(double value);

// `value` with exactly `decimals` digits after the point (none, and no
// point, for 0), by one rule for every printed statistic: the value is first
// taken to 15 significant digits, which sheds the binary noise of a double
// (4.715 is stored as 4.71499999999999985...), and that decimal is rounded
// half away from zero: 4.715 -> "4.72", 7.405 -> "7.41", -2.5 -> "-3". A
// result that rounds to zero never carries a minus sign: -0.001 -> "0.00".
// Not-a-number and infinities print as "nan", "inf" and "-inf". `decimals`
// below 0 counts as 0.
std::string fixedDecimals(double value, int decimals);

#endif  // STIMSEL_OUTPUT_NUMBER_FORMAT_H_
