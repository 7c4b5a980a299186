#include "words/norms_loader.h"

#include <fstream>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "words/letters.h"
#include "words/line_reader.h"
#include "words/number_text.h"
#include "words/record_fields.h"

namespace {

constexpr int kFieldCount = 9;
const char* const kFieldNames[kFieldCount] = {"word",       "number",       "valence mean",
                                              "valence SD", "arousal mean", "arousal SD",
                                              "column 7",   "column 8",     "frequency"};

std::string endOfFileProblem(long long linesRead, const ClassicLayout& layout) {
  const std::string expected = "expected " + std::to_string(layout.headerLines) +
                               " header lines and " + std::to_string(layout.dataLines) +
                               " data lines";
  if (linesRead == 0) return "the file is empty; " + expected;
  return "the file ends after line " + std::to_string(linesRead) + "; " + expected;
}

bool parseFrequency(const std::string& token, WordRecord& record, bool decimal,
                    std::string& problem) {
  int whole = 0;
  if (parseInt32(token, whole)) {
    if (whole < -kLargestMagnitude || whole > kLargestMagnitude) {
      problem = outOfRange("frequency", token);
      return false;
    }
    record.freq = whole;
    record.wholeFreq = true;
    return true;
  }
  if (decimal) return parseFrequencyValue(token, "frequency", record, problem);
  problem = "frequency " + quoted(token) + " is not a 32-bit whole number";
  return false;
}

}  // namespace

bool parseNormsLine(const std::string& line, WordRecord& record, std::string& problem,
                    bool decimalFrequency) {
  const std::vector<std::string> t = firstTokens(line, kFieldCount);
  if (t.size() < static_cast<size_t>(kFieldCount)) {
    problem = "expected 9 fields (word, number, six ratings, frequency), found " +
              std::to_string(t.size());
    return false;
  }
  if (!parseWord(t[0], record, problem)) return false;
  int number = 0;
  if (!parseInt32(t[1], number)) {
    problem = std::string(kFieldNames[1]) + " " + quoted(t[1]) + " is not a 32-bit whole number";
    return false;
  }
  float unused = 0;
  float* const ratings[] = {&record.valMn, &record.valSd, &record.aroMn, &unused, &unused, &unused};
  for (int i = 0; i < 6; ++i) {
    if (!parseRating(t[i + 2], kFieldNames[i + 2], *ratings[i], problem)) return false;
  }
  return parseFrequency(t[8], record, decimalFrequency, problem);
}

Result<WordTable> readNorms(std::istream& in, const std::string& fileName,
                            const ClassicLayout& layout) {
  LineReader reader(in);
  WordTable table;
  if (layout.dataLines > 0) table.records.reserve(static_cast<size_t>(layout.dataLines));
  const long long lastLine =
      layout.dataLines > 0 ? static_cast<long long>(layout.headerLines) + layout.dataLines : -1;
  std::string line;
  while (lastLine < 0 || reader.lineNumber() < lastLine) {
    const LineStatus status = reader.next(line);
    if (status == LineStatus::TooLong) return reader.tooLong(fileName);
    if (status == LineStatus::End) {
      if (lastLine < 0) break;
      return ReadError::at(fileName, 0, endOfFileProblem(reader.lineNumber(), layout));
    }
    if (reader.lineNumber() <= layout.headerLines) continue;
    if (lastLine < 0 && isBlankLine(line)) continue;
    WordRecord record;
    std::string problem;
    if (!parseNormsLine(line, record, problem, layout.decimalFrequency)) {
      return ReadError::at(fileName, reader.lineNumber(), problem);
    }
    record.category = classify(record.valMn, record.valSd, record.aroMn);
    record.sourceLine = reader.lineNumber();
    table.records.push_back(std::move(record));
  }
  markDuplicates(table);
  return table;
}

ReadError cannotOpenNorms(const std::string& fileName) {
  return ReadError::alone(fileName, "Couldn't open norms file " + fileName);
}

Result<WordTable> loadNorms(const std::string& fileName, const ClassicLayout& layout) {
  std::ifstream in;
  if (!openForReading(fileName, in)) return cannotOpenNorms(fileName);
  return readNorms(in, fileName, layout);
}

void markDuplicates(WordTable& table) {
  // Counts per word: 1 once seen, 2 once counted as held more than once.
  std::unordered_map<std::string_view, int> seen;
  seen.reserve(table.records.size());
  table.duplicateWords = 0;
  for (WordRecord& r : table.records) {
    int& times = seen[r.word];
    r.duplicate = times > 0;
    if (times == 1) ++table.duplicateWords;
    if (times < 2) ++times;
  }
}
