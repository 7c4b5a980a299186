#include "words/pos_filter.h"

namespace {

constexpr size_t kEntriesPerDot = 50;

void readmitFirst(WordTable& table, int count, const std::string& word) {
  for (int i = 0; i < count; ++i) {
    if (table.records[i].word == word) {
      table.records[i].excluded = false;
      return;
    }
  }
}

}  // namespace

PosEntry parsePosEntry(const std::string& line) {
  PosEntry entry;
  if (line.empty()) return entry;
  const size_t close = line.find('>', 1);
  if (close == std::string::npos) {
    entry.tag = line.substr(1);
    return entry;
  }
  entry.tag = line.substr(1, close - 1);
  const size_t end = line.find('<', close + 1);
  entry.word = line.substr(close + 1, end == std::string::npos ? end : end - close - 1);
  return entry;
}

bool markPos(const std::string& tag, WordTable& table, int count, const std::string& tagFileName,
             std::ostream& out) {
  CountedFile file;
  if (!readCountedFileOrReport(tagFileName, "Couldn't open part-of-speech word file ", file, out)) {
    return false;
  }
  markPosEntries(tag, table, count, file, tagFileName, out);
  return true;
}

void markPosEntries(const std::string& tag, WordTable& table, int count, const CountedFile& file,
                    const std::string& tagFileName, std::ostream& out) {
  out << "Marking pos: " << tag << "'s.";
  for (int i = 0; i < count; ++i) table.records[i].excluded = true;
  for (size_t j = 0; j < file.entries.size(); ++j) {
    const PosEntry entry = parsePosEntry(file.entries[j]);
    if (j % kEntriesPerDot == 0) out << ".";
    if (entry.tag == tag) readmitFirst(table, count, entry.word);
  }
  out << "Done Marking pos\n" << countedFileWarning(tagFileName, file);
}
