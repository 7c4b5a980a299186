#include "words/pos_filter.h"

#include <set>
#include <string_view>
#include <unordered_map>

#include "words/message_text.h"

namespace {

constexpr size_t kEntriesPerDot = 50;

std::unordered_map<std::string_view, int> firstRecordOfEachWord(const WordTable& table) {
  std::unordered_map<std::string_view, int> first;
  first.reserve(table.records.size());
  for (int i = 0; i < table.count(); ++i) first.emplace(table.records[i].word(), i);
  return first;
}

std::string joined(const std::set<std::string>& items) {
  std::string text;
  for (const std::string& item : items) text += (text.empty() ? "" : ", ") + shownText(item);
  return text;
}

std::string_view trimmedWord(std::string_view word) {
  const size_t first = word.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return word.substr(first, word.find_last_not_of(" \t") - first + 1);
}

// Why nothing was admitted: the tag is absent, or its words are not norms words.
std::string nothingAdmittedWarning(const std::string& tag, int listed,
                                   const std::set<std::string>& tags, const std::string& fileName) {
  if (listed > 0) {
    return "Warning: " + shownText(fileName) + " lists " + countOf(listed, "word", "words") +
           " under the tag '" + shownText(tag) + "', but none of them is in the norms file.\n";
  }
  const std::string known = tags.empty() ? "it holds no tags" : "its tags are: " + joined(tags);
  return "Warning: " + shownText(fileName) + " lists no word under the tag '" + shownText(tag) +
         "'; " + known + ".\n";
}

}  // namespace

void markPosByColumn(const std::string& tag, WordTable& table, const std::string& fileName,
                     std::ostream& progress) {
  progress << "Marking pos: " << tag << "'s.";
  std::set<std::string> tags;
  int admitted = 0;
  for (size_t i = 0; i < table.records.size(); ++i) {
    const std::string_view pos = table.partOfSpeech[i];
    table.records[i].excluded = pos != tag;
    admitted += pos == tag ? 1 : 0;
    if (!pos.empty()) tags.emplace(pos);
  }
  progress << "Done Marking pos\n";
  if (admitted > 0) return;
  const std::string known = tags.empty() ? "it holds none" : "its values are: " + joined(tags);
  progress << "Warning: " << fileName << " has no word whose " << table.posColumn << " is '" << tag
           << "'; " << known << ".\n";
}

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

void markPos(const std::string& tag, WordTable& table, const CountedFile& file,
             const std::string& fileName, std::ostream& progress) {
  progress << "Marking pos: " << tag << "'s.";
  for (WordRecord& r : table.records) r.excluded = true;
  const auto first = firstRecordOfEachWord(table);
  std::set<std::string> tags;
  int unreadable = 0;
  int listed = 0;
  int admitted = 0;
  for (size_t j = 0; j < file.entries.size(); ++j) {
    const PosEntry entry = parsePosEntry(file.entries[j]);
    if (j % kEntriesPerDot == 0) progress << ".";
    if (!entry.readable()) {
      ++unreadable;
      continue;
    }
    tags.insert(entry.tag);
    if (entry.tag != tag) continue;
    ++listed;
    // The word as the tag file spells it, else without the blanks around it.
    auto found = first.find(entry.word);
    if (found == first.end()) found = first.find(trimmedWord(entry.word));
    if (found == first.end()) continue;
    WordRecord& r = table.records[static_cast<size_t>(found->second)];
    admitted += r.excluded ? 1 : 0;
    r.excluded = false;
  }
  progress << "Done Marking pos\n" << countedFileWarning(fileName, file);
  if (unreadable > 0) {
    progress << "Warning: " << fileName << ": " << unreadable
             << " entry lines are not of the form <tag>word</tag>; they were skipped.\n";
  }
  if (admitted == 0) progress << nothingAdmittedWarning(tag, listed, tags, fileName);
}
