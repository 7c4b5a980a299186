#include "words/letters.h"

namespace {

bool isContinuation(unsigned char c) {
  return (c & 0xC0) == 0x80;
}

// Bytes taken by a valid sequence starting at `i`, or 1 when there is none.
size_t sequenceLength(std::string_view s, size_t i) {
  const auto lead = static_cast<unsigned char>(s[i]);
  size_t want = 1;
  unsigned int low = 0x80;  // the smallest code point of that length
  if (lead >= 0xC2 && lead <= 0xDF) {
    want = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    want = 3;
    low = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    want = 4;
    low = 0x10000;
  }
  if (want == 1 || i + want > s.size()) return 1;
  unsigned int code = lead & (0x7F >> want);
  for (size_t k = 1; k < want; ++k) {
    const auto c = static_cast<unsigned char>(s[i + k]);
    if (!isContinuation(c)) return 1;
    code = (code << 6) | (c & 0x3F);
  }
  const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
  return code < low || code > 0x10FFFF || surrogate ? 1 : want;
}

}  // namespace

std::string validUtf8(std::string_view text) {
  std::string valid;
  for (size_t i = 0; i < text.size();) {
    const size_t length = sequenceLength(text, i);
    const auto c = static_cast<unsigned char>(text[i]);
    const bool control = length == 1 && (c < 0x20 || c == 0x7F) && c != '\t';
    if ((length == 1 && c >= 0x80) || control) {
      valid += "\xEF\xBF\xBD";
    } else {
      valid.append(text, i, length);
    }
    i += length;
  }
  return valid;
}

int letterCount(std::string_view text) {
  if (isAscii(text)) return static_cast<int>(text.size());
  int letters = 0;
  for (size_t i = 0; i < text.size(); ++letters) {
    // ASCII, the common case, is one byte a letter.
    i += static_cast<unsigned char>(text[i]) < 0x80 ? 1 : sequenceLength(text, i);
  }
  return letters;
}

bool isValidUtf8(std::string_view text) {
  if (isAscii(text)) return true;
  for (size_t i = 0; i < text.size();) {
    if (static_cast<unsigned char>(text[i]) < 0x80) {  // most words are ASCII
      ++i;
      continue;
    }
    const size_t length = sequenceLength(text, i);
    if (length == 1 && static_cast<unsigned char>(text[i]) >= 0x80) return false;
    i += length;
  }
  return true;
}
