#include "words/norms_loader.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "words/case_fold.h"
#include "words/letters.h"
#include "words/line_reader.h"
#include "words/message_text.h"
#include "words/number_text.h"
#include "words/record_fields.h"

namespace {

constexpr int kFieldCount = 9;
constexpr std::string_view kFieldNames[kFieldCount] = {"word",       "number",       "valence mean",
                                                       "valence SD", "arousal mean", "arousal SD",
                                                       "column 7",   "column 8",     "frequency"};

std::string endOfFileProblem(long long linesRead, const ClassicLayout& layout) {
  const std::string expected = "expected " + std::to_string(layout.headerLines) +
                               " header lines and " + std::to_string(layout.dataLines) +
                               " data lines";
  if (linesRead == 0) return "the file is empty; " + expected;
  return "the file ends after line " + std::to_string(linesRead) + "; " + expected;
}

std::string headerRunsOut(long long linesRead, int headerLines) {
  const std::string where = linesRead == 0
                                ? "the file is empty"
                                : "the file ends after line " + std::to_string(linesRead);
  return where + ", inside its " + countOf(headerLines, "header line", "header lines") +
         "; give the number of header lines with --header-lines N";
}

// The mean ratings of a parsed line on the scale; the tokens are found
// again for the message.
bool meansOnScale(std::string_view line, const WordRecord& record, const RatingScale& scale,
                  std::string& problem) {
  std::string_view t[5];
  splitTokens(line, t, 5);
  const std::pair<float, size_t> means[] = {{record.valMn, 2}, {record.aroMn, 4}};
  for (const auto& [value, field] : means) {
    if (!isOnScale(value, t[field], scale.low, scale.high, problem)) {
      problem.insert(0, std::string(kFieldNames[field]) + " ");
      return false;
    }
  }
  return true;
}

bool parseFrequency(std::string_view token, WordRecord& record, bool decimal,
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

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

void skipBlanks(const char*& p, const char* end) {
  while (p != end && isBlank(*p)) ++p;
}

// "[-]digits" of at most `most` digits, ending at a blank or the end.
bool takeWhole(const char*& p, const char* end, long most, int& value) {
  skipBlanks(p, end);
  const bool negative = p != end && *p == '-';
  const char* q = negative ? p + 1 : p;
  const char* const first = q;
  int magnitude = 0;
  for (; q != end && isDigit(*q) && q - first < most; ++q) magnitude = magnitude * 10 + (*q - '0');
  if (q == first || (q != end && !isBlank(*q))) return false;
  value = negative ? -magnitude : magnitude;
  p = q;
  return true;
}

// A short decimal (see takeShortDecimal) that ends at a blank or the end.
bool takeRating(const char*& p, const char* end, float& value) {
  // Nearly every rating of a classic table is one blank and "d.dd": read as
  // takeShortDecimal reads it, without a call and the blank loops.
  if (end - p >= 5 && isBlank(p[0]) && isDigit(p[1]) && p[2] == '.' && isDigit(p[3]) &&
      isDigit(p[4]) && (end - p == 5 || isBlank(p[5]))) {
    const auto digits =
        static_cast<std::uint32_t>((p[1] - '0') * 100 + (p[3] - '0') * 10 + (p[4] - '0'));
    value = static_cast<float>(digits) / 100.0f;
    p += 5;
    return true;
  }
  skipBlanks(p, end);
  const char* q = p;
  if (!takeShortDecimal(q, end, value) || (q != end && !isBlank(*q))) return false;
  p = q;
  return true;
}

}  // namespace

bool parseCommonNormsLine(std::string_view line, WordRecord& record) {
  const char* p = line.data();
  const char* const end = p + line.size();
  skipBlanks(p, end);
  const char* const word = p;
  while (p != end && *p > ' ' && *p < 0x7F) ++p;
  if (p == word || p - word > kMaxWordLength || (p != end && !isBlank(*p))) return false;
  const auto length = static_cast<size_t>(p - word);
  float unused = 0;
  int number = 0;
  int freq = 0;
  if (!takeWhole(p, end, 9, number) || !takeRating(p, end, record.valMn) ||
      !takeRating(p, end, record.valSd) || !takeRating(p, end, record.aroMn) ||
      !takeRating(p, end, unused) || !takeRating(p, end, unused) || !takeRating(p, end, unused) ||
      !takeWhole(p, end, 6, freq)) {
    return false;
  }
  record.setWord(std::string_view(word, length));
  record.len = static_cast<std::uint8_t>(length);
  record.freq = freq;
  record.wholeFreq = true;
  return true;
}

bool parseNormsLine(std::string_view line, WordRecord& record, std::string& problem,
                    bool decimalFrequency) {
  std::string_view t[kFieldCount];
  const size_t found = splitTokens(line, t, kFieldCount);
  if (found < static_cast<size_t>(kFieldCount)) {
    problem =
        "expected 9 fields (word, number, six ratings, frequency), found " + std::to_string(found);
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
  return readNorms(FileText::read(in), fileName, layout);
}

Result<WordTable> readNorms(FileText text, const std::string& fileName,
                            const ClassicLayout& layout) {
  WordTable table;
  const std::string_view all = text.view();
  TextLines reader(all);
  table.records.reserve(layout.dataLines > 0 ? static_cast<size_t>(layout.dataLines)
                                             : countLines(all));
  const long long lastLine =
      layout.dataLines > 0 ? static_cast<long long>(layout.headerLines) + layout.dataLines : -1;
  std::string_view line;
  while (lastLine < 0 || reader.lineNumber() < lastLine) {
    const LineStatus status = reader.next(line);
    if (status == LineStatus::TooLong) return reader.tooLong(fileName);
    if (status == LineStatus::End) {
      if (lastLine < 0) break;
      return ReadError::at(fileName, 0, endOfFileProblem(reader.lineNumber(), layout));
    }
    if (reader.lineNumber() == 1 && isUtf16(line)) return utf16Error(fileName);
    if (reader.lineNumber() <= layout.headerLines) continue;
    if (lastLine < 0 && isBlankLine(line)) continue;
    if (reader.lineNumber() > kLastSourceLine) {
      return ReadError::at(fileName, reader.lineNumber(), tooManyLines());
    }
    WordRecord record;
    std::string problem;
    if (!parseCommonNormsLine(line, record) &&
        !parseNormsLine(line, record, problem, layout.decimalFrequency)) {
      return ReadError::at(fileName, reader.lineNumber(), problem);
    }
    if (layout.meansOnScale && !meansOnScale(line, record, layout.scale, problem)) {
      return ReadError::at(fileName, reader.lineNumber(), problem);
    }
    record.category = classifyOnScale(record.valMn, record.valSd, record.aroMn, layout.scale);
    record.sourceLine = static_cast<int>(reader.lineNumber());
    table.add(record);
  }
  if (lastLine < 0 && reader.lineNumber() < layout.headerLines) {
    return ReadError::at(fileName, 0, headerRunsOut(reader.lineNumber(), layout.headerLines));
  }
  if (lastLine < 0 && table.records.empty()) {
    return ReadError::at(fileName, 0,
                         "the file has no data lines after its " +
                             countOf(layout.headerLines, "header line", "header lines"));
  }
  table.rows.read = table.count();
  table.reading = countOf(table.count(), "row", "rows") + " after " +
                  countOf(layout.headerLines, "header line", "header lines");
  // The table holds copies of its words: the text can go before the
  // duplicate set is built.
  text = FileText();
  markDuplicates(table);
  return table;
}

ReadError cannotOpenNorms(const std::string& fileName) {
  return cannotOpen(fileName, "Couldn't open norms file " + fileName);
}

Result<WordTable> loadNorms(const std::string& fileName, const ClassicLayout& layout) {
  std::optional<FileText> text = FileText::open(fileName);
  if (!text) return cannotOpenNorms(fileName);
  return readNorms(std::move(*text), fileName, layout);
}

namespace {

// Eight bytes of ASCII with the capitals made small, all at once: a byte
// gets 0x20 added where it is from 'A' to 'Z'. No sum carries into the next
// byte, each being at most 0x7F + 0x3F.
std::uint64_t lowerAscii(std::uint64_t bytes) {
  constexpr std::uint64_t kEach = 0x0101010101010101u;
  const std::uint64_t fromA = bytes + kEach * (0x80 - 'A');
  const std::uint64_t pastZ = bytes + kEach * (0x80 - 'Z' - 1);
  return bytes | ((fromA & ~pastZ & kEach * 0x80) >> 2);
}

// A 64-bit hash of `word` folded (see foldCase), with every bit mixed into
// both halves: the low bits pick a slot, the high ones are its tag. An ASCII
// word is folded on the way, with no copy; `scratch` holds any other.
std::uint64_t foldedHash(std::string_view word, std::string& scratch) {
  const bool ascii = isAscii(word);
  if (!ascii) {
    scratch.assign(word);
    foldCaseInPlace(scratch);
    word = scratch;
  }
  std::uint64_t hash = 0x9E3779B97F4A7C15u ^ word.size();
  const auto mix = [&hash, ascii](std::uint64_t chunk) {
    hash = (hash ^ (ascii ? lowerAscii(chunk) : chunk)) * 0xFF51AFD7ED558CCDu;
    hash ^= hash >> 32;
  };
  size_t i = 0;
  for (; i + 8 <= word.size(); i += 8) {
    std::uint64_t chunk = 0;
    std::memcpy(&chunk, word.data() + i, 8);
    mix(chunk);
  }
  if (i < word.size()) {
    std::uint64_t chunk = 0;
    std::memcpy(&chunk, word.data() + i, word.size() - i);
    mix(chunk);
  }
  hash ^= hash >> 33;
  hash *= 0xC4CEB9FE1A85EC53u;
  return hash ^ (hash >> 33);
}

// Whether two words fold alike; `a` and `b` are scratch buffers.
bool foldAlike(std::string_view x, std::string_view y, std::string& a, std::string& b) {
  if (x.size() != y.size()) return false;  // folding keeps the length
  a.assign(x);
  b.assign(y);
  foldCaseInPlace(a);
  foldCaseInPlace(b);
  return a == b;
}

}  // namespace

void markDuplicates(WordTable& table) {
  // An open-addressing set of record indexes keyed by the hash of the folded
  // word, with 32 more bits of the hash beside each index: the folded words
  // are compared only when those agree, so no folded copy of the table is
  // kept and almost every probe stays within the slots.
  struct Slot {
    std::uint32_t tag = 0;
    int first = -1;
  };
  const size_t n = table.records.size();
  // At most three slots in four taken: probes stay short, and a large table
  // touches half the memory it would at one in two.
  size_t slots = 16;
  while (slots * 3 / 4 <= n) slots *= 2;
  std::vector<Slot> set(slots);
  std::vector<char> counted(n, 0);  // 1: held more than once; 2: also in another case
  std::string folded;               // scratch buffers
  std::string a;
  std::string b;
  table.duplicateWords = 0;
  table.caseVariantWords = 0;
  // The slots of words a little ahead are fetched while this one is probed;
  // their hashes wait in a ring.
  constexpr size_t kAhead = 16;
  std::uint64_t ahead[kAhead];
  for (size_t i = 0; i < n && i < kAhead; ++i)
    ahead[i] = foldedHash(table.records[i].word(), folded);
  for (size_t i = 0; i < n; ++i) {
    const std::uint64_t hash = ahead[i % kAhead];
    if (i + kAhead < n) {
      const std::uint64_t later = foldedHash(table.records[i + kAhead].word(), folded);
      ahead[i % kAhead] = later;
      __builtin_prefetch(&set[later & (slots - 1)]);
    }
    WordRecord& r = table.records[i];
    const auto tag = static_cast<std::uint32_t>(hash >> 32);
    size_t slot = hash & (slots - 1);
    while (
        set[slot].first >= 0 &&
        (set[slot].tag != tag ||
         !foldAlike(table.records[static_cast<size_t>(set[slot].first)].word(), r.word(), a, b))) {
      slot = (slot + 1) & (slots - 1);
    }
    r.duplicate = set[slot].first >= 0;
    if (!r.duplicate) {
      set[slot] = {tag, static_cast<int>(i)};
      continue;
    }
    const auto first = static_cast<size_t>(set[slot].first);
    if (counted[first] == 0) {
      counted[first] = 1;
      ++table.duplicateWords;
    }
    if (counted[first] == 1 && table.records[first].word() != r.word()) {
      counted[first] = 2;
      ++table.caseVariantWords;
    }
  }
}
