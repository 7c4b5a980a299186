// The layout shared by the tag file and the exclusion file: a first line
// holding the number of entries, then one entry per line.
#ifndef STIMSEL_WORDS_COUNTED_FILE_H_
#define STIMSEL_WORDS_COUNTED_FILE_H_

#include <istream>
#include <ostream>
#include <string>
#include <vector>

struct CountedFile {
  // The number the first line announces; may be negative.
  int announced = 0;
  // The entry lines read: the first `announced` lines after the first, or
  // fewer when the file ends early.
  std::vector<std::string> entries;
  // Non-blank lines after the announced entries; they are never used.
  int unreadLines = 0;
  // Why the first line was refused, when readCountedFile returns NoCount.
  std::string problem;
};

enum class CountedFileStatus { Ok, CannotOpen, NoCount };

// Reads the whole file. The count is the first number on the first line,
// after any blanks; the rest of that line is ignored. A first line without a
// number, or with one beyond the 32-bit range, gives NoCount and a problem.
CountedFileStatus readCountedFile(const std::string& path, CountedFile& file);

// The same for text already open; never gives CannotOpen.
CountedFileStatus readCountedFile(std::istream& in, CountedFile& file);

// readCountedFile for a run: on failure prints one line naming the file,
// `cannotOpen` followed by the path when it cannot be opened, and returns
// false.
bool readCountedFileOrReport(const std::string& path, const std::string& cannotOpen,
                             CountedFile& file, std::ostream& out);

// A line starting "Warning: " when the entry lines do not match the count
// (too few, unread extra lines, or a negative count); otherwise "".
std::string countedFileWarning(const std::string& path, const CountedFile& file);

#endif  // STIMSEL_WORDS_COUNTED_FILE_H_
