// The delimited norms reader and the frequency join on arbitrary bytes.
// Byte 0 picks the delimiter and whether frequencies are joined; the rest is
// the norms table, then (after a NUL byte, when joining) the frequency table.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <sstream>

#include "fuzz/fuzz_support.h"
#include "tables/delimited_norms.h"
#include "tables/delimited_reader.h"
#include "tables/frequency_join.h"
#include "words/letters.h"

namespace {

void checkRecord(const WordRecord& r) {
  FUZZ_CHECK(!r.word().empty() && letterCount(r.word()) <= kMaxWordLength);
  FUZZ_CHECK(r.len == letterCount(r.word()));
  FUZZ_CHECK(std::isfinite(r.valMn) && std::isfinite(r.aroMn) && std::isfinite(r.freq));
  FUZZ_CHECK(r.sourceLine >= 2);
}

// Reading records never loses or invents fields: each record rejoined with
// the delimiter is at least as long as its fields together.
void checkReader(const std::string& text, char delimiter) {
  std::istringstream in(text);
  DelimitedReader reader(in, delimiter, "t.csv");
  std::vector<std::string> fields;
  long long lastLine = 0;
  while (reader.next(fields)) {
    FUZZ_CHECK(!fields.empty());
    FUZZ_CHECK(reader.recordLine() > lastLine);
    lastLine = reader.recordLine();
  }
  if (reader.error()) FUZZ_CHECK(reader.error()->text().rfind("t.csv:", 0) == 0);
}

// The quick pass over common rows reads what the full rules read: the same
// records, or the same error.
void checkQuickRows(const std::string& text, DelimitedLayout layout) {
  layout.quickRows = false;
  const Result<WordTable> full = readDelimitedNorms(FileText::of(text), "norms.csv", layout);
  layout.quickRows = true;
  const Result<WordTable> quick = readDelimitedNorms(FileText::of(text), "norms.csv", layout);
  FUZZ_CHECK(quick.ok() == full.ok());
  if (!full.ok()) {
    FUZZ_CHECK(quick.error().text() == full.error().text());
    return;
  }
  const WordTable& a = quick.value();
  const WordTable& b = full.value();
  FUZZ_CHECK(a.count() == b.count() && a.warnings == b.warnings && a.reading == b.reading);
  FUZZ_CHECK(a.partOfSpeech == b.partOfSpeech);
  for (int i = 0; i < a.count(); ++i) {
    const WordRecord& x = a.records[static_cast<size_t>(i)];
    const WordRecord& y = b.records[static_cast<size_t>(i)];
    FUZZ_CHECK(x.word() == y.word() && x.len == y.len && x.sourceLine == y.sourceLine);
    FUZZ_CHECK(x.valMn == y.valMn && x.valSd == y.valSd && x.aroMn == y.aroMn);
    FUZZ_CHECK(x.freq == y.freq && x.wholeFreq == y.wholeFreq && x.category == y.category);
    FUZZ_CHECK(x.duplicate == y.duplicate);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const char delimiter = (data[0] & 1) != 0 ? '\t' : ',';
  const bool join = (data[0] & 2) != 0;
  const std::string input(reinterpret_cast<const char*>(data + 1), size - 1);
  const size_t split = join ? input.find('\0') : std::string::npos;
  const std::string norms = input.substr(0, split);
  checkReader(norms, delimiter);

  DelimitedLayout layout;
  layout.delimiter = delimiter;
  layout.needsFrequency = !join;
  if ((data[0] & 4) != 0) layout.scale = {0, 1};
  checkQuickRows(norms, layout);
  std::istringstream in(norms);
  Result<WordTable> table = readDelimitedNorms(in, "norms.csv", layout);
  if (!table.ok()) {
    FUZZ_CHECK(table.error().text().rfind("norms.csv:", 0) == 0);
    return 0;
  }
  for (const WordRecord& r : table.value().records) checkRecord(r);
  if (!join || split == std::string::npos) return 0;

  std::istringstream freqIn(input.substr(split + 1));
  const Result<FrequencyTable> frequencies =
      readFrequencyTable(freqIn, "freq.tsv", delimiter, std::nullopt);
  if (!frequencies.ok()) return 0;
  const size_t before = table.value().records.size();
  const size_t warnings = table.value().warnings.size();
  joinFrequencies(table.value(), frequencies.value(), "freq.tsv");
  const size_t after = table.value().records.size();
  FUZZ_CHECK(after <= before);
  // Rows left out are said in one warning; rows that disagree may add another.
  size_t noFrequency = 0;
  for (size_t w = warnings; w < table.value().warnings.size(); ++w) {
    noFrequency += table.value().warnings[w].find("have no frequency in") != std::string::npos;
  }
  FUZZ_CHECK((after < before) == (noFrequency == 1));
  for (const WordRecord& r : table.value().records) checkRecord(r);
  return 0;
}
