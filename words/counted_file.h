// The layout shared by the tag file and the exclusion file: a first line
// holding the number of entries, then one entry per line.
#ifndef STIMSEL_WORDS_COUNTED_FILE_H_
#define STIMSEL_WORDS_COUNTED_FILE_H_

#include <istream>
#include <string>
#include <vector>

#include "words/read_error.h"

// Non-blank lines after the announced entries are counted up to this many,
// for the warning; a never-ending stream must not be read forever.
constexpr int kMostUnreadLinesCounted = 1'000'000;

struct CountedFile {
  // The number the first line announces; may be negative.
  int announced = 0;
  // The entry lines read: the first `announced` lines after the first, or
  // fewer when the file ends early.
  std::vector<std::string> entries;
  // Non-blank lines after the announced entries, up to
  // kMostUnreadLinesCounted + 1; they are never used.
  int unreadLines = 0;
};

// Reads the file. The count is the first number on the first line, after any
// blanks; the rest of that line is ignored. A first line without a number, or
// with one beyond the 32-bit range, is an error on line 1; so is an empty
// file. `fileName` names the file in errors.
Result<CountedFile> readCountedFile(std::istream& in, const std::string& fileName);

// Opens `path` and reads it; when it cannot be opened the error is
// `cannotOpen` followed by the path.
Result<CountedFile> loadCountedFile(const std::string& path, const std::string& cannotOpen);

// A line starting "Warning: " when the entry lines do not match the count
// (too few, unread extra lines, or a negative count); otherwise "".
std::string countedFileWarning(const std::string& path, const CountedFile& file);

#endif  // STIMSEL_WORDS_COUNTED_FILE_H_
