// The checks every norms layout applies to the fields of one record.
#ifndef STIMSEL_WORDS_RECORD_FIELDS_H_
#define STIMSEL_WORDS_RECORD_FIELDS_H_

#include <string>
#include <string_view>

#include "words/word_table.h"

// A token as shown in a message: quoted, and cut short when it is long.
std::string quoted(std::string_view token);

// "<what> <token> is out of range (-1000000 to 1000000)".
std::string outOfRange(std::string_view what, std::string_view token);

// Takes `token` as the record's word and length: not empty, at most
// kMaxWordLength letters, no NUL byte.
bool parseWord(std::string_view token, WordRecord& record, std::string& problem);

// A rating: plain decimal notation, finite, within kLargestMagnitude.
// `what` names the field in the problem.
bool parseRating(std::string_view token, std::string_view what, float& value, std::string& problem);

// A frequency that may be a decimal number; whole values print as today.
bool parseFrequencyValue(std::string_view token, std::string_view what, WordRecord& record,
                         std::string& problem);

// Frequencies of a table with a header row (counts or per-million values of
// a large corpus) may run to this; ratings keep kLargestMagnitude.
constexpr double kLargestFrequency = 1e12;

// A frequency of such a table: a decimal number from 0 to kLargestFrequency.
bool parseTableFrequency(std::string_view token, std::string_view what, WordRecord& record,
                         std::string& problem);

// Refuses a mean rating outside `low`..`high` (compared as floats, the
// precision ratings are read in): "<token> is outside the scale LOW to HIGH".
// Inline: every rating of a large table passes through it.
std::string offScale(std::string_view token, double low, double high);
inline bool isOnScale(float value, std::string_view token, double low, double high,
                      std::string& problem) {
  if (value >= static_cast<float>(low) && value <= static_cast<float>(high)) return true;
  problem = offScale(token, low, high);
  return false;
}

#endif  // STIMSEL_WORDS_RECORD_FIELDS_H_
