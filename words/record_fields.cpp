#include "words/record_fields.h"

#include <cmath>

#include "words/letters.h"
#include "words/message_text.h"
#include "words/number_text.h"

std::string quoted(std::string_view token) {
  constexpr size_t kShown = 40;
  if (token.size() <= kShown) return "\"" + shownText(token) + "\"";
  return "\"" + shownText(token.substr(0, kShown)) + "...\"";
}

std::string outOfRange(std::string_view what, std::string_view token) {
  return std::string(what) + " " + quoted(token) + " is out of range (-1000000 to 1000000)";
}

namespace {

// Bytes a word may not hold: NUL, and the tab and line breaks that exports
// put between words.
bool hasForbiddenByte(std::string_view token, char& which) {
  for (char c : token) {
    if (c == '\0' || c == '\t' || c == '\r' || c == '\n') {
      which = c;
      return true;
    }
  }
  return false;
}

}  // namespace

bool parseWord(std::string_view token, WordRecord& record, std::string& problem) {
  if (token.empty()) {
    problem = "the word is empty";
    return false;
  }
  // One pass settles the common word: ASCII, one letter a byte, and no byte
  // below 14, where NUL, tab and the line breaks are.
  unsigned char high = 0;
  bool low = false;
  for (char c : token) {
    high |= static_cast<unsigned char>(c);
    low |= static_cast<unsigned char>(c) < 14;
  }
  const int letters = high < 0x80 ? static_cast<int>(token.size()) : letterCount(token);
  if (letters > kMaxWordLength) {
    problem = "word " + quoted(token) + " is longer than " + std::to_string(kMaxWordLength) +
              " characters";
    return false;
  }
  char which = 0;
  if (low && hasForbiddenByte(token, which)) {
    problem = which == '\0' ? "word contains a NUL byte"
                            : "word " + quoted(token) + " holds a tab or a line break";
    return false;
  }
  record.setWord(token);
  record.len = static_cast<std::uint8_t>(letters);
  return true;
}

namespace {

// True when `status` says `token` is a number; otherwise says why not.
bool isNumber(NumberStatus status, std::string_view what, std::string_view token,
              std::string& problem) {
  if (status == NumberStatus::Ok) return true;
  problem = status == NumberStatus::OutOfRange
                ? outOfRange(what, token)
                : std::string(what) + " " + quoted(token) + " is not a decimal number";
  return false;
}

}  // namespace

bool parseRating(std::string_view token, std::string_view what, float& value,
                 std::string& problem) {
  return isNumber(parseDecimal(token, value), what, token, problem);
}

bool parseFrequencyValue(std::string_view token, std::string_view what, WordRecord& record,
                         std::string& problem) {
  double value = 0;
  if (!isNumber(parseDecimal(token, value), what, token, problem)) return false;
  record.freq = value;
  record.wholeFreq = value == std::floor(value);
  return true;
}

bool parseTableFrequency(std::string_view token, std::string_view what, WordRecord& record,
                         std::string& problem) {
  double value = 0;
  const NumberStatus status = parseDecimal(token, value, kLargestFrequency);
  if (status == NumberStatus::OutOfRange) {
    problem = std::string(what) + " " + quoted(token) + " is out of range (0 to 1000000000000)";
    return false;
  }
  if (!isNumber(status, what, token, problem)) return false;
  if (value < 0) {
    problem = std::string(what) + " " + quoted(token) + " is negative; a frequency is 0 or more";
    return false;
  }
  record.freq = value == 0 ? 0 : value;  // "-0" counts as 0
  record.wholeFreq = value == std::floor(value);
  return true;
}

std::string offScale(std::string_view token, double low, double high) {
  return shownText(token) + " is outside the scale " + decimalText(low) + " to " +
         decimalText(high);
}
