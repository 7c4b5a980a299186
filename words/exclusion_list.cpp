#include "words/exclusion_list.h"

#include <string_view>
#include <unordered_map>
#include <vector>

#include "words/line_reader.h"

namespace {

constexpr size_t kMostNamedMisses = 5;

// Every record of each word, not only the first: a norms file that holds a
// word twice must not let an excluded word into the list.
std::unordered_map<std::string_view, std::vector<int>> recordsOfEachWord(const WordTable& table) {
  std::unordered_map<std::string_view, std::vector<int>> records;
  records.reserve(table.records.size());
  for (int i = 0; i < table.count(); ++i) records[table.records[i].word].push_back(i);
  return records;
}

std::string missesWarning(const std::vector<std::string>& named, int misses,
                          const std::string& fileName) {
  std::string list;
  for (const std::string& word : named) list += (list.empty() ? "" : ", ") + word;
  const int more = misses - static_cast<int>(named.size());
  if (more > 0) list += " and " + std::to_string(more) + " more";
  return "Warning: " + fileName + ": " + std::to_string(misses) +
         " listed words are not in the norms file: " + list + ".\n";
}

}  // namespace

void markBadWords(WordTable& table, const CountedFile& file, const std::string& fileName,
                  std::ostream& progress) {
  const auto records = recordsOfEachWord(table);
  std::vector<std::string> named;  // the first few listed words no record holds
  int misses = 0;
  progress << "Marking bad words or trying to.";
  for (const std::string& line : file.entries) {
    progress << ".";
    std::string_view token[1];
    if (splitTokens(line, token, 1) == 0) continue;
    const auto found = records.find(token[0]);
    if (found == records.end()) {
      if (++misses <= static_cast<int>(kMostNamedMisses)) named.emplace_back(token[0]);
      continue;
    }
    for (int i : found->second) {
      progress << "Marking bad word " << token[0] << " -- " << i << "\n";
      table.records[static_cast<size_t>(i)].excluded = true;
    }
  }
  progress << "Done Marking\n" << countedFileWarning(fileName, file);
  if (misses > 0) progress << missesWarning(named, misses, fileName);
}
