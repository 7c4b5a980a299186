#include "words/exclusion_list.h"

#include <vector>

#include "words/line_reader.h"

namespace {

// Bars every record of the word, not only the first: a norms file that holds
// a word twice must not let an excluded word into the list.
void barAll(WordTable& table, int count, const std::string& word, std::ostream& out) {
  if (word.empty()) return;
  for (int i = 0; i < count; ++i) {
    if (table.records[i].word != word) continue;
    out << "Marking bad word " << word << " -- " << i << "\n";
    table.records[i].excluded = true;
  }
}

}  // namespace

bool markBadWords(const std::string& fileName, WordTable& table, int count, std::ostream& out) {
  CountedFile file;
  if (!readCountedFileOrReport(fileName, "Couldn't open bad word file ", file, out)) return false;
  markBadWordEntries(table, count, file, fileName, out);
  return true;
}

void markBadWordEntries(WordTable& table, int count, const CountedFile& file,
                        const std::string& fileName, std::ostream& out) {
  out << "Marking bad words or trying to.";
  for (const std::string& line : file.entries) {
    out << ".";
    const std::vector<std::string> token = firstTokens(line, 1);
    barAll(table, count, token.empty() ? "" : token[0], out);
  }
  out << "Done Marking\n" << countedFileWarning(fileName, file);
}
