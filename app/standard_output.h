// Standard output (or standard error) for the command line, remembering why
// a write failed, so that a list that could not be written is reported as
// what it is.
#ifndef STIMSEL_APP_STANDARD_OUTPUT_H_
#define STIMSEL_APP_STANDARD_OUTPUT_H_

#include <memory>
#include <streambuf>

class StandardOutput : public std::streambuf {
 public:
  explicit StandardOutput(int fd);
  ~StandardOutput() override;
  StandardOutput(const StandardOutput&) = delete;
  StandardOutput& operator=(const StandardOutput&) = delete;

  // The errno of the first write that failed, or 0.
  int error() const { return error_; }

 protected:
  int_type overflow(int_type c) override;
  int sync() override;

 private:
  bool flushBuffer();

  int fd_;
  std::unique_ptr<char[]> buffer_;  // not zeroed: only written bytes are flushed
  int error_ = 0;
};

#endif  // STIMSEL_APP_STANDARD_OUTPUT_H_
