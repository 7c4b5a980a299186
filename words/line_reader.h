// Reads text one physical line at a time, never holding more than one
// bounded line in memory.
#ifndef STIMSEL_WORDS_LINE_READER_H_
#define STIMSEL_WORDS_LINE_READER_H_

#include <fstream>
#include <istream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "words/read_error.h"

// Longest line any reader accepts, in bytes. A file without line breaks
// (or a device that never ends) must fail here rather than fill memory.
constexpr size_t kMaxLineBytes = 1 << 20;

enum class LineStatus { Line, End, TooLong };

// "\r\n" and "\n" both end a line and neither is part of the line; a final
// line without a newline still counts. A UTF-8 byte-order mark at the very
// start is skipped, because files saved from spreadsheets often carry one.
class LineReader {
 public:
  // Reads from `in`, which must outlive the reader. Open files in binary
  // mode: the reader itself removes the "\r" of a "\r\n".
  explicit LineReader(std::istream& in);

  // Reads the next line into `line`. TooLong when it exceeds kMaxLineBytes;
  // the reader must not be used after that.
  LineStatus next(std::string& line);

  // 1-based number of the line last returned (or refused) by next().
  long long lineNumber() const { return lineNumber_; }

  // The error for a TooLong line of `file`.
  ReadError tooLong(const std::string& file) const;

 private:
  bool fill();

  std::istream& in_;
  std::unique_ptr<char[]> buffer_;  // not zeroed: every byte is read before use
  size_t pos_ = 0;
  size_t end_ = 0;
  long long lineNumber_ = 0;
};

// The same lines, as views into a text held whole (see FileText), with the
// same numbering, bound and byte-order mark.
class TextLines {
 public:
  explicit TextLines(std::string_view text) : text_(text) {}

  // Sets `line` to the next line (valid as long as the text).
  LineStatus next(std::string_view& line);

  long long lineNumber() const { return lineNumber_; }
  ReadError tooLong(const std::string& file) const;

 private:
  std::string_view text_;
  size_t pos_ = 0;
  long long lineNumber_ = 0;
};

// The lines of `text`: one more than its line feeds, room enough for its
// rows.
size_t countLines(std::string_view text);

// Opens `path` for a LineReader. Only regular files (or links to one) are
// opened: a folder reads as nothing, and a FIFO or device may block in open
// or never end.
bool openForReading(const std::string& path, std::ifstream& in);

// The error for a file openForReading could not open: `text` alone when the
// file does not exist, else `text` and a second line "stimsel: PATH: REASON"
// with the system's reason (no permission, a loop of links, a folder).
ReadError cannotOpen(const std::string& path, const std::string& text);

// Puts the first `most` runs of characters without white space in `line`
// into `tokens` (at most `most`; views into `line`) and returns how many.
size_t splitTokens(std::string_view line, std::string_view* tokens, size_t most);

// True when the first line of a file starts with a UTF-16 byte-order mark
// (FF FE or FE FF): the tool reads UTF-8 only.
bool isUtf16(std::string_view firstLine);

// The error for such a file: "FILE: the file is UTF-16; save it as UTF-8".
ReadError utf16Error(const std::string& fileName);

// True when `line` holds nothing but spaces and tabs.
bool isBlankLine(std::string_view line);

#endif  // STIMSEL_WORDS_LINE_READER_H_
