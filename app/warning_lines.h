// The progress of a run whose standard output holds an export or a plot:
// the progress itself goes nowhere, but every line starting "Warning:" is
// passed on whole to the stream the user reads, since a warning is never
// optional to see.
#ifndef STIMSEL_APP_WARNING_LINES_H_
#define STIMSEL_APP_WARNING_LINES_H_

#include <ostream>
#include <streambuf>
#include <string>

class WarningLines : public std::streambuf {
 public:
  // `warnings` must outlive the buffer.
  explicit WarningLines(std::ostream& warnings) : warnings_(warnings) {}

 protected:
  int_type overflow(int_type c) override;

 private:
  std::ostream& warnings_;
  std::string line_;  // the line being written, up to its '\n'
};

#endif  // STIMSEL_APP_WARNING_LINES_H_
