// The one error type of every reader, and the result a reader returns.
#ifndef STIMSEL_WORDS_READ_ERROR_H_
#define STIMSEL_WORDS_READ_ERROR_H_

#include <optional>
#include <string>
#include <utility>

// What went wrong in which input, and where. `text()` is what the user sees:
// "FILE:LINE: message", "FILE: message" when no line applies, or the message
// alone when it names the file itself (the fixed "Couldn't open ..." texts
// and command-line errors). Control bytes of the file name are shown
// escaped; whoever puts text from a file into `message` escapes it there.
struct ReadError {
  std::string file;
  long long line = 0;  // 1-based; 0 when no line applies
  std::string message;
  bool standsAlone = false;
  // The inputs are fine but the command line cannot be run as given (a part
  // of speech with nowhere to read it from): the run ends as for a bad option.
  bool badCommand = false;

  std::string text() const;

  static ReadError at(std::string file, long long line, std::string message) {
    return {std::move(file), line, std::move(message), false, false};
  }
  static ReadError alone(std::string file, std::string message) {
    return {std::move(file), 0, std::move(message), true, false};
  }
  static ReadError command(std::string message) { return {"", 0, std::move(message), true, true}; }
};

// A value or the error that stopped a reader from producing it.
template <typename T>
class Result {
 public:
  Result(T value) : value_(std::move(value)) {}          // NOLINT: implicit by design
  Result(ReadError error) : error_(std::move(error)) {}  // NOLINT: implicit by design

  bool ok() const { return value_.has_value(); }
  T& value() { return *value_; }
  const T& value() const { return *value_; }
  const ReadError& error() const { return error_; }

 private:
  std::optional<T> value_;
  ReadError error_;
};

#endif  // STIMSEL_WORDS_READ_ERROR_H_
