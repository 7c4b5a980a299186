#include "fuzz/fuzz_support.h"

#include <sstream>

#include "words/line_reader.h"
#include "words/norms_loader.h"

WordTable smallTable() {
  WordTable table;
  const char* const words[] = {"calm", "run", "calm", "fast", "a", "adj", "n", "dread", "joy"};
  for (const char* w : words) {
    WordRecord r;
    r.setWord(w);
    r.len = static_cast<std::uint8_t>(r.word().size());
    table.records.push_back(r);
  }
  markDuplicates(table);
  return table;
}

std::vector<std::string> splitLines(const std::string& text) {
  std::istringstream in(text);
  LineReader reader(in);
  std::vector<std::string> lines;
  std::string line;
  while (reader.next(line) == LineStatus::Line) lines.push_back(line);
  return lines;
}

size_t countOf(const std::string& text, const std::string& piece) {
  size_t count = 0;
  for (size_t pos = text.find(piece); pos != std::string::npos; pos = text.find(piece, pos + 1)) {
    ++count;
  }
  return count;
}
