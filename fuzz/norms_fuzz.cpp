// The norms reader on arbitrary bytes: the whole file, and every line of it
// as a data line.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <set>
#include <sstream>

#include "fuzz/fuzz_support.h"
#include "words/case_fold.h"
#include "words/letters.h"
#include "words/norms_loader.h"

namespace {

void checkRecord(const WordRecord& r) {
  FUZZ_CHECK(!r.word().empty());
  FUZZ_CHECK(letterCount(r.word()) <= kMaxWordLength);
  FUZZ_CHECK(r.word().find_first_of(std::string(" \t\n\r\v\f\0", 7)) == std::string::npos);
  FUZZ_CHECK(r.len == letterCount(r.word()) && r.len >= 1);
  FUZZ_CHECK(!r.excluded);
  FUZZ_CHECK(std::isfinite(r.valMn) && std::fabs(r.valMn) <= 1e6);
  FUZZ_CHECK(std::isfinite(r.freq) && std::fabs(r.freq) <= 1e6);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);

  ClassicLayout toEnd;  // as --norms reads a classic file: to its end, decimal frequencies
  toEnd.headerLines = 2;
  toEnd.dataLines = 0;
  toEnd.decimalFrequency = true;
  for (const ClassicLayout& layout : {ClassicLayout{}, toEnd}) {
    std::istringstream in(text);
    const Result<WordTable> loaded = readNorms(in, "KOVA.txt", layout);
    if (loaded.ok()) {
      const WordTable& table = loaded.value();
      FUZZ_CHECK(layout.dataLines == 0 || table.count() == kNormsRecords);
      std::set<std::string> firsts;
      for (const WordRecord& r : table.records) {
        checkRecord(r);
        // A repeat in any letter case is a duplicate ("Love" after "love").
        FUZZ_CHECK(firsts.insert(foldCase(r.word())).second != r.duplicate);
      }
    } else {
      FUZZ_CHECK(loaded.error().text().rfind("KOVA.txt:", 0) == 0);
      FUZZ_CHECK(loaded.error().text().find('\n') == std::string::npos ||
                 text.find('\n') != std::string::npos);
    }
  }

  for (const std::string& line : splitLines(text)) {
    WordRecord r;
    std::string problem;
    WordRecord fast;
    const bool common = parseCommonNormsLine(line, fast);
    if (parseNormsLine(line, r, problem)) {
      checkRecord(r);
      // The one-pass reading of common lines must agree with the full one.
      FUZZ_CHECK(!common ||
                 (fast.word() == r.word() && fast.len == r.len && fast.freq == r.freq &&
                  fast.valMn == r.valMn && fast.valSd == r.valSd && fast.aroMn == r.aroMn));
    } else {
      FUZZ_CHECK(!common);
      FUZZ_CHECK(!problem.empty());
      FUZZ_CHECK(problem.find('\n') == std::string::npos || line.find('\n') != std::string::npos);
    }
  }
  return 0;
}
