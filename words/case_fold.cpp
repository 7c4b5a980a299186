#include "words/case_fold.h"

namespace {

// Blocks where capital and small letters alternate: the capital on the
// even (or odd) code point, its small letter right after it.
bool isPairedCapital(unsigned c, unsigned first, unsigned last, unsigned parity) {
  return c >= first && c <= last && c % 2 == parity;
}

unsigned foldLatin(unsigned c) {
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
  if (c == 0x130) return c;  // dotted capital I has no one small form
  if (isPairedCapital(c, 0x100, 0x137, 0) || isPairedCapital(c, 0x139, 0x148, 1) ||
      isPairedCapital(c, 0x14A, 0x177, 0) || isPairedCapital(c, 0x179, 0x17E, 1)) {
    return c + 1;
  }
  if (c == 0x178) return 0xFF;
  return c;
}

unsigned foldGreek(unsigned c) {
  if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 0x20;
  if (c == 0x386) return 0x3AC;
  if (c >= 0x388 && c <= 0x38A) return c + 0x25;
  if (c == 0x38C) return 0x3CC;
  if (c == 0x38E || c == 0x38F) return c + 0x3F;
  if (c == 0x3C2) return 0x3C3;  // final sigma
  // Archaic and Coptic letters.
  if (c == 0x370 || c == 0x372 || c == 0x376 || c == 0x3F7 || c == 0x3FA ||
      isPairedCapital(c, 0x3D8, 0x3EF, 0)) {
    return c + 1;
  }
  switch (c) {
    case 0x37F:
      return 0x3F3;
    case 0x3CF:
      return 0x3D7;
    case 0x3F4:
      return 0x3B8;
    case 0x3F9:
      return 0x3F2;
    case 0x3FD:
      return 0x37B;
    case 0x3FE:
      return 0x37C;
    case 0x3FF:
      return 0x37D;
    default:
      return c;
  }
}

unsigned foldCyrillic(unsigned c) {
  if (c >= 0x410 && c <= 0x42F) return c + 0x20;
  if (c >= 0x400 && c <= 0x40F) return c + 0x50;
  if (c == 0x4C0) return 0x4CF;
  if (isPairedCapital(c, 0x460, 0x481, 0) || isPairedCapital(c, 0x48A, 0x4BF, 0) ||
      isPairedCapital(c, 0x4C1, 0x4CE, 1) || isPairedCapital(c, 0x4D0, 0x52F, 0)) {
    return c + 1;
  }
  return c;
}

// The folded code point of one in the two-byte range of UTF-8.
unsigned foldTwoByte(unsigned c) {
  if (c < 0x180) return foldLatin(c);
  if (c >= 0x370 && c < 0x400) return foldGreek(c);
  if (c >= 0x400 && c < 0x530) return foldCyrillic(c);
  return c;
}

bool isContinuation(unsigned char byte) {
  return (byte & 0xC0) == 0x80;
}

}  // namespace

void foldCaseInPlace(std::string& folded) {
  for (size_t i = 0; i < folded.size(); ++i) {
    const auto lead = static_cast<unsigned char>(folded[i]);
    if (lead >= 'A' && lead <= 'Z') {
      folded[i] = static_cast<char>(lead - 'A' + 'a');
      continue;
    }
    // Two-byte sequences, C2..DF then a continuation byte (C0 and C1 are
    // overlong forms and never valid).
    if (lead < 0xC2 || lead > 0xDF || i + 1 >= folded.size()) continue;
    const auto next = static_cast<unsigned char>(folded[i + 1]);
    if (!isContinuation(next)) continue;
    const unsigned code = ((lead & 0x1Fu) << 6) | (next & 0x3Fu);
    const unsigned small = foldTwoByte(code);
    folded[i] = static_cast<char>(0xC0 | (small >> 6));
    folded[i + 1] = static_cast<char>(0x80 | (small & 0x3F));
    ++i;
  }
}

std::string foldCase(std::string_view word) {
  std::string folded(word);
  foldCaseInPlace(folded);
  return folded;
}
