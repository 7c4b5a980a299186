#include "words/norms_loader.h"

#include <fstream>
#include <vector>

#include "words/line_reader.h"
#include "words/number_text.h"

namespace {

constexpr int kFieldCount = 9;
const char* const kFieldNames[kFieldCount] = {"word",       "number",       "valence mean",
                                              "valence SD", "arousal mean", "arousal SD",
                                              "column 7",   "column 8",     "frequency"};

// A token as shown in a message: quoted, and cut short when it is long.
std::string quoted(const std::string& token) {
  constexpr size_t kShown = 40;
  if (token.size() <= kShown) return "\"" + token + "\"";
  return "\"" + token.substr(0, kShown) + "...\"";
}

bool parseWord(const std::string& token, std::string& word, std::string& problem) {
  if (token.size() > static_cast<size_t>(kMaxWordLength)) {
    problem = "word " + quoted(token) + " is longer than " + std::to_string(kMaxWordLength) +
              " characters";
    return false;
  }
  if (token.find('\0') != std::string::npos) {
    problem = "word contains a NUL byte";
    return false;
  }
  word = token;
  return true;
}

std::string endOfFileProblem(int linesRead) {
  const std::string expected = "expected " + std::to_string(kNormsHeaderLines) +
                               " header lines and " + std::to_string(kNormsRecords) + " data lines";
  if (linesRead == 0) return "the file is empty; " + expected;
  return "the file ends after line " + std::to_string(linesRead) + "; " + expected;
}

}  // namespace

bool parseNormsLine(const std::string& line, WordRecord& record, std::string& problem) {
  const std::vector<std::string> t = firstTokens(line, kFieldCount);
  if (t.size() < static_cast<size_t>(kFieldCount)) {
    problem = "expected 9 fields (word, number, six ratings, frequency), found " +
              std::to_string(t.size());
    return false;
  }
  if (!parseWord(t[0], record.word, problem)) return false;
  float* const ratings[] = {&record.valMn, &record.valSd, &record.aroMn,
                            &record.aroSd, &record.col7,  &record.col8};
  for (int i = 0; i < 6; ++i) {
    if (!parseDecimal(t[i + 2], *ratings[i])) {
      problem =
          std::string(kFieldNames[i + 2]) + " " + quoted(t[i + 2]) + " is not a decimal number";
      return false;
    }
  }
  for (int i : {1, 8}) {
    if (!parseInt32(t[i], i == 1 ? record.number : record.freq)) {
      problem = std::string(kFieldNames[i]) + " " + quoted(t[i]) + " is not a 32-bit whole number";
      return false;
    }
  }
  record.len = static_cast<int>(record.word.size());
  return true;
}

std::optional<int> loadNorms(const std::string& fileName, WordTable& table, std::ostream& out) {
  out << "filename is " << fileName << "\n";
  std::ifstream in;
  if (!openForReading(fileName, in)) {
    out << "Couldn't open norms file " << fileName << "\n";
    return std::nullopt;
  }
  return readNorms(in, fileName, table, out);
}

std::optional<int> readNorms(std::istream& in, const std::string& fileName, WordTable& table,
                             std::ostream& out) {
  LineReader reader(in);
  table.records.clear();
  table.records.reserve(kNormsRecords);
  std::string line;
  const int lastLine = kNormsHeaderLines + kNormsRecords;
  while (reader.lineNumber() < lastLine) {
    if (!reader.next(line)) {
      out << fileName << ": " << endOfFileProblem(reader.lineNumber()) << "\n";
      table.records.clear();
      return std::nullopt;
    }
    if (reader.lineNumber() <= kNormsHeaderLines) continue;
    WordRecord record;
    std::string problem;
    if (!parseNormsLine(line, record, problem)) {
      out << fileName << " line " << reader.lineNumber() << ": " << problem << "\n";
      table.records.clear();
      return std::nullopt;
    }
    classify(record);
    table.records.push_back(std::move(record));
  }
  return table.count();
}
