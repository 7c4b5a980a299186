// Case-insensitive text for names the tool matches: file extensions, column
// names and words looked up in a frequency table. ASCII letters only: other
// bytes are compared as they are.
#ifndef STIMSEL_WORDS_ASCII_TEXT_H_
#define STIMSEL_WORDS_ASCII_TEXT_H_

#include <string>
#include <string_view>

inline std::string asciiLower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

// True when `path` ends in `extension` (given in lower case), in any case.
inline bool hasExtension(std::string_view path, std::string_view extension) {
  return path.size() >= extension.size() &&
         asciiLower(path.substr(path.size() - extension.size())) == extension;
}

#endif  // STIMSEL_WORDS_ASCII_TEXT_H_
