// Reading numbers from the text of the input files.
#ifndef STIMSEL_WORDS_NUMBER_TEXT_H_
#define STIMSEL_WORDS_NUMBER_TEXT_H_

#include <cstddef>
#include <string>

inline bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// The end of "[sign]digits" starting at `pos`, or `pos` itself when no digit
// follows the optional sign.
size_t integerEnd(const std::string& text, size_t pos);

// Parses `token` whole as "[sign]digits" in the 32-bit range; anything else
// ("12.5", "12abc", "", "4294967296") gives false.
bool parseInt32(const std::string& token, int& value);

// Parses `token` whole as plain decimal notation,
// [sign]digits[.digits][e[sign]digits], into the nearest float. This refuses
// what a spreadsheet may write in a number column ("5,67", "n/a", "inf")
// instead of reading a prefix of it.
bool parseDecimal(const std::string& token, float& value);

#endif  // STIMSEL_WORDS_NUMBER_TEXT_H_
