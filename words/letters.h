// Word length as a reader sees it: letters, not bytes.
#ifndef STIMSEL_WORDS_LETTERS_H_
#define STIMSEL_WORDS_LETTERS_H_

#include <string>
#include <string_view>

// Whether every byte of `text` is ASCII, as nearly every word of an English
// table is: the cheap test before a byte-by-byte UTF-8 walk.
inline bool isAscii(std::string_view text) {
  unsigned char any = 0;
  for (char c : text) any |= static_cast<unsigned char>(c);
  return any < 0x80;
}

// The number of UTF-8 code points in `text`. A byte that does not start a
// valid UTF-8 sequence counts as one letter, so Latin-1 and ASCII files keep
// the byte lengths they always had.
int letterCount(std::string_view text);

// `text` with every byte that does not start a valid UTF-8 sequence, and
// every control character but tab, replaced by U+FFFD: text that XML and
// JSON accept.
std::string validUtf8(std::string_view text);

// Whether every byte of `text` belongs to a valid UTF-8 sequence (no
// overlong forms, no surrogates, nothing above U+10FFFF).
bool isValidUtf8(std::string_view text);

#endif  // STIMSEL_WORDS_LETTERS_H_
