// The exclusion file reader and the barring of its words on arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <sstream>

#include "fuzz/fuzz_support.h"
#include "words/exclusion_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::istringstream in(text);
  const Result<CountedFile> read = readCountedFile(in, "used.txt");
  if (!read.ok()) {
    FUZZ_CHECK(read.error().text().rfind("used.txt:", 0) == 0);
    return 0;
  }
  const CountedFile& file = read.value();

  WordTable table = smallTable();
  table.records[1].excluded = true;  // barred earlier, by the part-of-speech filter
  std::ostringstream out;
  markBadWords(table, file, "used.txt", out);

  FUZZ_CHECK(table.records[1].excluded);
  size_t barredLines = 0;
  for (int i = 0; i < table.count(); ++i) {
    const WordRecord& r = table.records[i];
    const std::string line =
        "Marking bad word " + std::string(r.word()) + " -- " + std::to_string(i) + "\n";
    const size_t listed = countOf(out.str(), line);
    barredLines += listed;
    FUZZ_CHECK(listed == 0 || r.excluded);
  }
  for (const std::string& line : file.entries) {
    std::istringstream words(line);
    std::string token;
    if (!(words >> token)) continue;
    for (const WordRecord& r : table.records) FUZZ_CHECK(r.word() != token || r.excluded);
  }
  FUZZ_CHECK(barredLines == countOf(out.str(), "Marking bad word "));
  const std::string& o = out.str();
  FUZZ_CHECK(o.rfind("Marking bad words or trying to.", 0) == 0);
  FUZZ_CHECK(o.find("Done Marking\n") != std::string::npos);
  return 0;
}
