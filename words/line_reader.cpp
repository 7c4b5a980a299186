#include "words/line_reader.h"

#include <filesystem>

namespace {
const std::string kUtf8Bom = "\xEF\xBB\xBF";
}

bool LineReader::next(std::string& line) {
  if (!std::getline(in_, line)) return false;
  ++lineNumber_;
  if (lineNumber_ == 1 && line.compare(0, kUtf8Bom.size(), kUtf8Bom) == 0) {
    line.erase(0, kUtf8Bom.size());
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

bool openForReading(const std::string& path, std::ifstream& in) {
  std::error_code ignored;
  if (std::filesystem::is_directory(path, ignored)) return false;
  in.open(path, std::ios::binary);
  return in.is_open();
}

std::vector<std::string> firstTokens(const std::string& line, size_t most) {
  const char* const kWhiteSpace = " \t\r\n\v\f";
  std::vector<std::string> tokens;
  size_t pos = line.find_first_not_of(kWhiteSpace);
  while (pos != std::string::npos && tokens.size() < most) {
    const size_t end = line.find_first_of(kWhiteSpace, pos);
    tokens.push_back(line.substr(pos, end == std::string::npos ? end : end - pos));
    pos = end == std::string::npos ? end : line.find_first_not_of(kWhiteSpace, end);
  }
  return tokens;
}

bool isBlankLine(const std::string& line) {
  return line.find_first_not_of(" \t") == std::string::npos;
}
