// Reads text one physical line at a time.
#ifndef STIMSEL_WORDS_LINE_READER_H_
#define STIMSEL_WORDS_LINE_READER_H_

#include <fstream>
#include <istream>
#include <string>
#include <vector>

// Lines may be of any length. "\r\n" and "\n" both end a line and neither is
// part of the line; a final line without a newline still counts. A UTF-8
// byte-order mark at the very start of the file is skipped, because files
// saved from spreadsheets often carry one.
class LineReader {
 public:
  // Reads from `in`, which must outlive the reader. Open files in binary
  // mode: the reader itself removes the "\r" of a "\r\n".
  explicit LineReader(std::istream& in) : in_(in) {}

  // Reads the next line into `line`; false at the end of the file.
  bool next(std::string& line);

  // 1-based number of the line last returned by next().
  int lineNumber() const { return lineNumber_; }

 private:
  std::istream& in_;
  int lineNumber_ = 0;
};

// Opens `path` for a LineReader. A folder is refused like a missing file:
// some systems let it be opened but never read.
bool openForReading(const std::string& path, std::ifstream& in);

// The first `most` runs of characters without white space in `line`.
std::vector<std::string> firstTokens(const std::string& line, size_t most);

// True when `line` holds nothing but spaces and tabs.
bool isBlankLine(const std::string& line);

#endif  // STIMSEL_WORDS_LINE_READER_H_
