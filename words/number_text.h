// Reading numbers from the text of the input files.
#ifndef STIMSEL_WORDS_NUMBER_TEXT_H_
#define STIMSEL_WORDS_NUMBER_TEXT_H_

#include <cstddef>
#include <string>
#include <string_view>

inline bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// Ratings and frequencies must lie within plus or minus this; anything
// larger is a typing or export fault, not a rating.
constexpr double kLargestMagnitude = 1e6;

// The end of "[sign]digits" starting at `pos`, or `pos` itself when no digit
// follows the optional sign.
size_t integerEnd(std::string_view text, size_t pos);

// Parses `token` whole as "[sign]digits" in the 32-bit range; anything else
// ("12.5", "12abc", "", "4294967296") gives false.
bool parseInt32(std::string_view token, int& value);

// Reads "[sign]digits[.digits]" of at most seven digits starting at `p`,
// stopping at the first other character, into the float parseDecimal gives.
// On success advances `p`; false (nothing changed) for no digits, more than
// seven, or a value beyond kLargestMagnitude, which the full parse handles.
bool takeShortDecimal(const char*& p, const char* end, float& value);

enum class NumberStatus { Ok, NotANumber, OutOfRange };

// Parses `token` whole as plain decimal notation,
// [sign]digits[.digits][e[sign]digits], into the nearest float (or double).
// This refuses what a spreadsheet may write in a number column ("5,67",
// "n/a", "inf") instead of reading a prefix of it. A value that overflows,
// underflows to zero or lies beyond kLargestMagnitude is OutOfRange.
NumberStatus parseDecimal(std::string_view token, float& value);
NumberStatus parseDecimal(std::string_view token, double& value);

// The same with another bound on the magnitude, for values that may run
// larger than any rating (counts of a frequency table).
NumberStatus parseDecimal(std::string_view token, double& value, double largest);

// `value` in plain decimal notation (never an exponent, never "-0") with the
// fewest decimals that read back as it to 14 significant digits of the
// larger of |value| and |reference|: a number the user typed ("0.0000004")
// prints as typed, and one computed from typed numbers prints without the
// rounding noise of the computation.
std::string decimalText(double value, double reference = 0);

#endif  // STIMSEL_WORDS_NUMBER_TEXT_H_
