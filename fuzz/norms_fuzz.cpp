// The norms reader on arbitrary bytes: the whole file, and every line of it
// as a data line.
#include <cstddef>
#include <cstdint>
#include <sstream>

#include "fuzz/fuzz_support.h"
#include "words/norms_loader.h"

namespace {

void checkRecord(const WordRecord& r) {
  FUZZ_CHECK(!r.word.empty());
  FUZZ_CHECK(r.word.size() <= static_cast<size_t>(kMaxWordLength));
  FUZZ_CHECK(r.word.find_first_of(std::string(" \t\n\r\v\f\0", 7)) == std::string::npos);
  FUZZ_CHECK(r.len == static_cast<int>(r.word.size()));
  FUZZ_CHECK(r.category >= 0 && r.category <= 6);
  FUZZ_CHECK(!r.chosen && !r.excluded);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);

  std::istringstream in(text);
  std::ostringstream out;
  WordTable table;
  const std::optional<int> count = readNorms(in, "KOVA.txt", table, out);
  if (count) {
    FUZZ_CHECK(*count == kNormsRecords && table.count() == kNormsRecords);
    for (const WordRecord& r : table.records) checkRecord(r);
    FUZZ_CHECK(out.str().empty());
  } else {
    FUZZ_CHECK(table.count() == 0);
    FUZZ_CHECK(out.str().rfind("KOVA.txt", 0) == 0);
    FUZZ_CHECK(countOf(out.str(), "\n") == 1);
  }

  for (const std::string& line : splitLines(text)) {
    WordRecord r;
    std::string problem;
    if (parseNormsLine(line, r, problem)) {
      classify(r);
      checkRecord(r);
    } else {
      FUZZ_CHECK(!problem.empty());
      FUZZ_CHECK(problem.find('\n') == std::string::npos || line.find('\n') != std::string::npos);
    }
  }
  return 0;
}
