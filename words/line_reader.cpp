#include "words/line_reader.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "words/message_text.h"

namespace {

const std::string kUtf8Bom = "\xEF\xBB\xBF";
constexpr size_t kBlockBytes = 1 << 16;

ReadError lineTooLong(const std::string& file, long long line) {
  return ReadError::at(file, line, "line longer than " + std::to_string(kMaxLineBytes) + " bytes");
}

}  // namespace

LineReader::LineReader(std::istream& in) : in_(in), buffer_(new char[kBlockBytes]) {}

bool LineReader::fill() {
  if (!in_) return false;
  in_.read(buffer_.get(), static_cast<std::streamsize>(kBlockBytes));
  pos_ = 0;
  end_ = static_cast<size_t>(in_.gcount());
  return end_ > 0;
}

LineStatus LineReader::next(std::string& line) {
  line.clear();
  bool any = false;
  for (;;) {
    if (pos_ == end_ && !fill()) {
      if (!any) return LineStatus::End;
      break;
    }
    any = true;
    const char* start = buffer_.get() + pos_;
    const void* found = std::memchr(start, '\n', end_ - pos_);
    const size_t take = found ? static_cast<const char*>(found) - start : end_ - pos_;
    if (line.size() + take > kMaxLineBytes + 1) {  // one more for a "\r"
      ++lineNumber_;
      return LineStatus::TooLong;
    }
    line.append(start, take);
    pos_ += take;
    if (found) {
      ++pos_;
      break;
    }
  }
  ++lineNumber_;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (line.size() > kMaxLineBytes) return LineStatus::TooLong;
  if (lineNumber_ == 1 && line.compare(0, kUtf8Bom.size(), kUtf8Bom) == 0) {
    line.erase(0, kUtf8Bom.size());
  }
  return LineStatus::Line;
}

ReadError LineReader::tooLong(const std::string& file) const {
  return lineTooLong(file, lineNumber_);
}

LineStatus TextLines::next(std::string_view& line) {
  if (pos_ == text_.size()) return LineStatus::End;
  const char* const start = text_.data() + pos_;
  const size_t left = text_.size() - pos_;
  const void* found = std::memchr(start, '\n', left);
  const size_t take = found ? static_cast<size_t>(static_cast<const char*>(found) - start) : left;
  pos_ += found ? take + 1 : take;
  ++lineNumber_;
  line = std::string_view(start, take);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (line.size() > kMaxLineBytes) return LineStatus::TooLong;
  if (lineNumber_ == 1 && line.compare(0, kUtf8Bom.size(), kUtf8Bom) == 0) {
    line.remove_prefix(kUtf8Bom.size());
  }
  return LineStatus::Line;
}

ReadError TextLines::tooLong(const std::string& file) const {
  return lineTooLong(file, lineNumber_);
}

size_t countLines(std::string_view text) {
  size_t lines = 1;
  if (text.empty()) return lines;
  const char* p = text.data();
  const char* const end = p + text.size();
  while ((p = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p))))) {
    ++lines;
    ++p;
  }
  return lines;
}

bool openForReading(const std::string& path, std::ifstream& in) {
  std::error_code ignored;
  if (!std::filesystem::is_regular_file(path, ignored)) return false;
  in.open(path, std::ios::binary);
  return in.is_open();
}

ReadError cannotOpen(const std::string& path, const std::string& text) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(path, error);
  std::string reason;
  if (error) {
    const bool missing =
        error == std::errc::no_such_file_or_directory || error == std::errc::not_a_directory;
    if (!missing) reason = error.message();
  } else if (std::filesystem::is_directory(status)) {
    reason = std::strerror(EISDIR);
  } else if (!std::filesystem::is_regular_file(status)) {
    reason = "not a regular file";
  } else if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
    std::fclose(file);  // readable now: it changed since the first attempt
  } else {
    reason = std::strerror(errno);
  }
  if (reason.empty()) return ReadError::alone(path, text);
  return ReadError::alone(path, text + "\nstimsel: " + shownText(path) + ": " + reason);
}

namespace {

bool isWhiteSpace(char c) {
  return c == ' ' || static_cast<unsigned char>(c - '\t') <= '\r' - '\t';
}

}  // namespace

size_t splitTokens(std::string_view line, std::string_view* tokens, size_t most) {
  size_t count = 0;
  const char* p = line.data();
  const char* const end = p + line.size();
  while (count < most) {
    while (p != end && isWhiteSpace(*p)) ++p;
    if (p == end) break;
    const char* const start = p;
    while (p != end && !isWhiteSpace(*p)) ++p;
    tokens[count++] = std::string_view(start, static_cast<size_t>(p - start));
  }
  return count;
}

bool isUtf16(std::string_view firstLine) {
  return firstLine.compare(0, 2, "\xFF\xFE") == 0 || firstLine.compare(0, 2, "\xFE\xFF") == 0;
}

ReadError utf16Error(const std::string& fileName) {
  return ReadError::at(fileName, 0, "the file is UTF-16; save it as UTF-8");
}

bool isBlankLine(std::string_view line) {
  return line.find_first_not_of(" \t") == std::string_view::npos;
}
