#include "tables/frequency_join.h"

#include <algorithm>
#include <cctype>

#include "tables/column_roles.h"
#include "tables/delimited_norms.h"
#include "tables/delimited_reader.h"
#include "words/ascii_text.h"
#include "words/norms_loader.h"
#include "words/record_fields.h"

namespace {

const FrequencyTable::Entry* lookUp(const FrequencyTable& frequencies, const std::string& word) {
  const auto exact = frequencies.exact.find(word);
  if (exact != frequencies.exact.end()) return &exact->second;
  const auto lower = frequencies.lowerCased.find(asciiLower(word));
  return lower != frequencies.lowerCased.end() ? &lower->second : nullptr;
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
  const Result<ColumnMap> columns =
      findColumns(header, given, {Role::Word, Role::Frequency}, fileName, [](Role role) {
        return std::string(role == Role::Frequency ? "--frequency-column NAME"
                                                   : "a column named Word");
      });
  if (!columns.ok()) return columns.error();
  const auto wordColumn = static_cast<size_t>(columnOf(columns.value(), Role::Word));
  const auto freqColumn = static_cast<size_t>(columnOf(columns.value(), Role::Frequency));

  FrequencyTable table;
  std::vector<std::string_view> fields;
  while (reader.next(fields)) {
    const std::string word(wordColumn < fields.size() ? trimmed(fields[wordColumn]) : "");
    const std::string_view text = freqColumn < fields.size() ? trimmed(fields[freqColumn]) : "";
    if (isMissingValue(word) || isMissingValue(text)) continue;
    WordRecord parsed;
    std::string problem;
    if (!parseFrequencyValue(text, "value", parsed, problem)) {
      return ReadError::at(fileName, reader.recordLine(),
                           "column " + header[freqColumn] + ": " + problem);
    }
    const FrequencyTable::Entry entry{parsed.freq, parsed.wholeFreq};
    table.exact.emplace(word, entry);
    table.lowerCased.emplace(asciiLower(word), entry);
  }
  if (reader.error()) return *reader.error();
  return table;
}

void joinFrequencies(WordTable& table, const FrequencyTable& frequencies,
                     const std::string& fileName) {
  const size_t before = table.records.size();
  size_t kept = 0;
  for (size_t i = 0; i < before; ++i) {
    WordRecord& r = table.records[i];
    const FrequencyTable::Entry* entry = lookUp(frequencies, r.word);
    if (entry == nullptr) continue;
    r.freq = entry->freq;
    r.wholeFreq = entry->whole;
    // A move onto itself would empty the word.
    if (kept != i) {
      if (!table.partOfSpeech.empty()) table.partOfSpeech[kept] = std::move(table.partOfSpeech[i]);
      table.records[kept] = std::move(r);
    }
    ++kept;
  }
  table.records.resize(kept);
  if (!table.partOfSpeech.empty()) table.partOfSpeech.resize(kept);
  const size_t missing = before - table.records.size();
  if (missing > 0) {
    table.warnings.push_back("Warning: " + std::to_string(missing) + " of " +
                             std::to_string(before) + " norms words have no frequency in " +
                             fileName + "; they are left out of the selection.\n");
  }
  markDuplicates(table);
}
