#include "words/counted_file.h"

#include <fstream>

#include "words/line_reader.h"
#include "words/number_text.h"

namespace {

// Reads "[blanks][sign]digits" from the start of `line`.
bool parseLeadingCount(const std::string& line, int& count, std::string& problem) {
  size_t pos = line.find_first_not_of(" \t");
  if (pos == std::string::npos) pos = line.size();
  const size_t end = integerEnd(line, pos);
  if (end == pos) {
    problem = "expected the number of entries at the start of the line";
    return false;
  }
  const std::string text = line.substr(pos, end - pos);
  if (!parseInt32(text, count)) {
    problem = "the number of entries " + text + " is out of range";
    return false;
  }
  return true;
}

}  // namespace

Result<CountedFile> readCountedFile(std::istream& in, const std::string& fileName) {
  LineReader reader(in);
  std::string line;
  CountedFile file;
  LineStatus status = reader.next(line);
  if (status == LineStatus::TooLong) return reader.tooLong(fileName);
  if (status == LineStatus::End) {
    return ReadError::at(fileName, 1, "the file is empty; expected the number of entries");
  }
  std::string problem;
  if (!parseLeadingCount(line, file.announced, problem)) {
    return ReadError::at(fileName, 1, problem);
  }
  while (static_cast<int>(file.entries.size()) < file.announced &&
         (status = reader.next(line)) == LineStatus::Line) {
    file.entries.push_back(line);
  }
  while (status != LineStatus::TooLong && file.unreadLines <= kMostUnreadLinesCounted &&
         (status = reader.next(line)) == LineStatus::Line) {
    if (!isBlankLine(line)) ++file.unreadLines;
  }
  if (status == LineStatus::TooLong) return reader.tooLong(fileName);
  return file;
}

Result<CountedFile> loadCountedFile(const std::string& path, const std::string& cannotOpen) {
  std::ifstream in;
  if (!openForReading(path, in)) return ::cannotOpen(path, cannotOpen + path);
  return readCountedFile(in, path);
}

std::string countedFileWarning(const std::string& path, const CountedFile& file) {
  const std::string announced = std::to_string(file.announced);
  const std::string present = std::to_string(file.entries.size());
  if (file.announced < 0) {
    return "Warning: " + path + " announces " + announced + " entries; no entry was read.\n";
  }
  if (static_cast<int>(file.entries.size()) < file.announced) {
    return "Warning: " + path + " announces " + announced + " entries but holds only " + present +
           "; those " + present + " were used.\n";
  }
  if (file.unreadLines > kMostUnreadLinesCounted) {
    return "Warning: " + path + " announces " + announced + " entries but has more than " +
           std::to_string(kMostUnreadLinesCounted) +
           " more non-blank lines after them; those were not read.\n";
  }
  if (file.unreadLines > 0) {
    return "Warning: " + path + " announces " + announced + " entries but has " +
           std::to_string(file.unreadLines) +
           " more non-blank lines after them; those were not read.\n";
  }
  return "";
}
