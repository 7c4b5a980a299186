#include "words/message_text.h"

std::string shownText(std::string_view text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string shown;
  shown.reserve(text.size());
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte != 0x7F) {
      shown += c;
      continue;
    }
    shown += "\\x";
    shown += kHex[byte >> 4];
    shown += kHex[byte & 0xF];
  }
  return shown;
}

std::string countOf(long long count, std::string_view one, std::string_view many) {
  return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

std::string nameList(const std::vector<std::string>& names, size_t most) {
  std::string list;
  for (size_t i = 0; i < names.size() && i < most; ++i) {
    list += (i == 0 ? "" : ", ") + shownText(names[i]);
  }
  if (names.size() > most) list += " and " + std::to_string(names.size() - most) + " more";
  return list;
}
