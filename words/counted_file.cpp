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

CountedFileStatus readCountedFile(const std::string& path, CountedFile& file) {
  std::ifstream in;
  if (!openForReading(path, in)) return CountedFileStatus::CannotOpen;
  return readCountedFile(in, file);
}

CountedFileStatus readCountedFile(std::istream& in, CountedFile& file) {
  LineReader reader(in);
  std::string line;
  if (!reader.next(line)) {
    file.problem = "the file is empty; expected the number of entries";
    return CountedFileStatus::NoCount;
  }
  if (!parseLeadingCount(line, file.announced, file.problem)) return CountedFileStatus::NoCount;
  while (static_cast<int>(file.entries.size()) < file.announced && reader.next(line)) {
    file.entries.push_back(line);
  }
  while (reader.next(line)) {
    if (!isBlankLine(line)) ++file.unreadLines;
  }
  return CountedFileStatus::Ok;
}

bool readCountedFileOrReport(const std::string& path, const std::string& cannotOpen,
                             CountedFile& file, std::ostream& out) {
  switch (readCountedFile(path, file)) {
    case CountedFileStatus::CannotOpen:
      out << cannotOpen << path << "\n";
      return false;
    case CountedFileStatus::NoCount:
      out << path << " line 1: " << file.problem << "\n";
      return false;
    case CountedFileStatus::Ok:
      break;
  }
  return true;
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
  if (file.unreadLines > 0) {
    return "Warning: " + path + " announces " + announced + " entries but has " +
           std::to_string(file.unreadLines) +
           " more non-blank lines after them; those were not read.\n";
  }
  return "";
}
