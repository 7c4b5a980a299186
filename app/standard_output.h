// Standard output for the command line, remembering why a write failed, so
// that a list that could not be written is reported as what it is.
#ifndef STIMSEL_APP_STANDARD_OUTPUT_H_
#define STIMSEL_APP_STANDARD_OUTPUT_H_

#include <streambuf>
#include <vector>

class StandardOutput : public std::streambuf {
 public:
  StandardOutput();
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

  std::vector<char> buffer_;
  int error_ = 0;
};

#endif  // STIMSEL_APP_STANDARD_OUTPUT_H_
