#include "words/exclusion_list.h"

#include <string_view>
#include <unordered_map>
#include <vector>

#include "words/case_fold.h"
#include "words/line_reader.h"
#include "words/message_text.h"

namespace {

constexpr size_t kMostNamedMisses = 5;

// Every record of each word, not only the first, and its spellings in other
// letter cases: a norms file that holds a word twice must not let an
// excluded word into the list, and of "Love" and "love" only the first can
// be chosen, whichever of them the list names.
std::unordered_map<std::string_view, std::vector<int>> recordsOfEachWord(const WordTable& table) {
  std::unordered_map<std::string, std::vector<int>> byFolded;
  for (int i = 0; i < table.count(); ++i) {
    byFolded[foldCase(table.records[static_cast<size_t>(i)].word())].push_back(i);
  }
  std::unordered_map<std::string_view, std::vector<int>> records;
  records.reserve(table.records.size());
  for (const auto& [folded, indexes] : byFolded) {
    for (int i : indexes) records[table.records[static_cast<size_t>(i)].word()] = indexes;
  }
  return records;
}

// The word an entry line names: the whole trimmed line when a record holds
// it ("ice cream"), else its first token, as lines always were read.
std::string_view listedWord(const std::string& line,
                            const std::unordered_map<std::string_view, std::vector<int>>& records) {
  std::string_view whole = line;
  const size_t first = whole.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  whole = whole.substr(first, whole.find_last_not_of(" \t") - first + 1);
  if (records.count(whole) > 0) return whole;
  std::string_view token[1];
  return splitTokens(line, token, 1) == 0 ? std::string_view() : token[0];
}

std::string missesWarning(const std::vector<std::string>& named, int misses,
                          const std::string& fileName) {
  std::string list;
  for (const std::string& word : named) list += (list.empty() ? "" : ", ") + shownText(word);
  const int more = misses - static_cast<int>(named.size());
  if (more > 0) list += " and " + std::to_string(more) + " more";
  return "Warning: " + shownText(fileName) + ": " +
         (misses == 1 ? std::string("1 listed word is")
                      : std::to_string(misses) + " listed words are") +
         " not in the norms file: " + list + ".\n";
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
    const std::string_view word = listedWord(line, records);
    if (word.empty()) continue;
    const auto found = records.find(word);
    if (found == records.end()) {
      if (++misses <= static_cast<int>(kMostNamedMisses)) named.emplace_back(word);
      continue;
    }
    for (int i : found->second) {
      progress << "Marking bad word " << shownText(word) << " -- " << i << "\n";
      table.records[static_cast<size_t>(i)].excluded = true;
    }
  }
  progress << "Done Marking\n" << countedFileWarning(fileName, file);
  if (misses > 0) progress << missesWarning(named, misses, fileName);
}
