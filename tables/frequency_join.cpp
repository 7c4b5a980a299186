#include "tables/frequency_join.h"

#include <algorithm>
#include <cctype>

#include "tables/column_roles.h"
#include "tables/delimited_norms.h"
#include "tables/delimited_reader.h"
#include "words/case_fold.h"
#include "words/message_text.h"
#include "words/norms_loader.h"
#include "words/number_text.h"
#include "words/record_fields.h"

namespace {

const FrequencyTable::Entry* lookUp(const FrequencyTable& frequencies, const std::string& word) {
  const auto exact = frequencies.exact.find(word);
  if (exact != frequencies.exact.end()) return &exact->second;
  const std::string lower = foldCase(word);
  const auto lowerExact = frequencies.exact.find(lower);
  if (lowerExact != frequencies.exact.end()) return &lowerExact->second;
  const auto variant = frequencies.folded.find(lower);
  return variant != frequencies.folded.end() ? &variant->second : nullptr;
}

std::string disagreementWarning(const std::string& fileName, const std::vector<std::string>& named,
                                size_t words) {
  const size_t more = words - named.size();
  std::string text = nameList(named);
  if (more > 0) text += " and " + std::to_string(more) + " more";
  return "Warning: " + shownText(fileName) + ": " +
         (words == 1 ? std::string("1 norms word has")
                     : std::to_string(words) + " norms words have") +
         " rows that disagree; the first row of each is used: " + text + ".\n";
}

}  // namespace

Result<FrequencyTable> readFrequencyTable(std::istream& in, const std::string& fileName,
                                          char delimiter,
                                          const std::optional<std::string>& column) {
  DelimitedReader reader(in, delimiter, fileName);
  const Result<std::vector<std::string>> names = readColumnNames(reader, fileName);
  if (!names.ok()) return names.error();
  const std::vector<std::string>& header = names.value();
  ColumnNames given;
  if (column) given[Role::Frequency] = *column;
  const Result<ColumnMap> columns = findColumns(
      header, given, {Role::Word, Role::Frequency}, {}, fileName, [](Role role, bool several) {
        if (role == Role::Frequency) {
          return std::string(several ? "choose one with" : "name it with") +
                 " --frequency-column NAME";
        }
        return std::string(several ? "rename all but one of them"
                                   : "name it with a column named Word");
      });
  if (!columns.ok()) return columns.error();
  const auto wordColumn = static_cast<size_t>(columnOf(columns.value(), Role::Word));
  const auto freqColumn = static_cast<size_t>(columnOf(columns.value(), Role::Frequency));

  FrequencyTable table;
  table.wordColumn = header[wordColumn];
  table.freqColumn = header[freqColumn];
  std::vector<std::string_view> fields;
  while (reader.next(fields)) {
    if (std::all_of(fields.begin(), fields.end(),
                    [](std::string_view f) { return trimmed(f).empty(); })) {
      continue;
    }
    ++table.rows;
    // "nan", "na" and "null" are words; only an empty cell names none.
    const std::string word(wordColumn < fields.size() ? trimmed(fields[wordColumn]) : "");
    const std::string_view text = freqColumn < fields.size() ? trimmed(fields[freqColumn]) : "";
    if (word.empty() || isMissingValue(text)) continue;
    WordRecord parsed;
    std::string problem;
    if (!parseTableFrequency(text, "value", parsed, problem)) {
      return ReadError::at(fileName, reader.recordLine(),
                           "column " + shownText(header[freqColumn]) + ": " + problem);
    }
    const FrequencyTable::Entry entry{parsed.freq, parsed.wholeFreq, false};
    const auto [held, added] = table.exact.emplace(word, entry);
    if (!added && held->second.freq != entry.freq) held->second.disagrees = true;
    if (added) table.folded.emplace(foldCase(word), entry);
  }
  if (reader.error()) return *reader.error();
  return table;
}

void joinFrequencies(WordTable& table, const FrequencyTable& frequencies,
                     const std::string& fileName) {
  const size_t before = table.records.size();
  size_t kept = 0;
  std::vector<std::string> disagreeing;  // the first few, with the value used
  size_t disagreements = 0;
  for (size_t i = 0; i < before; ++i) {
    WordRecord& r = table.records[i];
    const FrequencyTable::Entry* entry = lookUp(frequencies, std::string(r.word()));
    if (entry == nullptr) continue;
    if (entry->disagrees && ++disagreements <= 5) {
      disagreeing.push_back(std::string(r.word()) + " (" + decimalText(entry->freq) + ")");
    }
    r.freq = entry->freq;
    r.wholeFreq = entry->whole;
    if (kept != i) {
      if (!table.partOfSpeech.empty()) table.partOfSpeech[kept] = table.partOfSpeech[i];
      for (NumericColumn& column : table.columns) column.values[kept] = column.values[i];
      table.records[kept] = r;
    }
    ++kept;
  }
  table.records.resize(kept);
  if (!table.partOfSpeech.empty()) table.partOfSpeech.resize(kept);
  for (NumericColumn& column : table.columns) column.values.resize(kept);
  const size_t missing = before - table.records.size();
  table.rows.noFrequency += static_cast<long long>(missing);
  table.rows.frequencyFileRows = frequencies.rows;
  if (missing > 0) {
    table.warnings.push_back("Warning: " + std::to_string(missing) + " of " +
                             std::to_string(before) + " norms words have no frequency in " +
                             shownText(fileName) + "; they are left out of the selection.\n");
  }
  if (disagreements > 0) {
    table.warnings.push_back(disagreementWarning(fileName, disagreeing, disagreements));
  }
  table.frequencyColumn = frequencies.freqColumn;
  table.reading += "; frequency from " + shownText(fileName) + " (" +
                   shownText(frequencies.wordColumn) + ", " + shownText(frequencies.freqColumn) +
                   ")";
  markDuplicates(table);
}
