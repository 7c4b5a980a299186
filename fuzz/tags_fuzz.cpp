// The tag file reader and the part-of-speech filter on arbitrary bytes.
// The first line of the input is the requested tag; the rest is the file.
#include <cstddef>
#include <cstdint>
#include <set>
#include <sstream>

#include "fuzz/fuzz_support.h"
#include "words/pos_filter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const size_t split = input.find('\n');
  const std::string tag = input.substr(0, split);
  const std::string text = split == std::string::npos ? "" : input.substr(split + 1);

  std::istringstream in(text);
  const Result<CountedFile> read = readCountedFile(in, "kovatags.txt");
  if (!read.ok()) {
    FUZZ_CHECK(read.error().text().rfind("kovatags.txt:", 0) == 0);
    return 0;
  }
  const CountedFile& file = read.value();
  FUZZ_CHECK(file.entries.size() <= static_cast<size_t>(std::max(file.announced, 0)));

  WordTable table = smallTable();
  std::ostringstream out;
  markPos(tag, table, file, "kovatags.txt", out);

  std::set<std::string> listed;
  for (const std::string& line : file.entries) {
    const PosEntry entry = parsePosEntry(line);
    FUZZ_CHECK(entry.tag.size() + entry.word.size() < line.size() || line.size() <= 1);
    if (entry.tag != tag) continue;
    // A tag word counts as spelled, or without the blanks around it.
    listed.insert(entry.word);
    const size_t first = entry.word.find_first_not_of(" \t");
    const size_t last = entry.word.find_last_not_of(" \t");
    if (first != std::string::npos) listed.insert(entry.word.substr(first, last - first + 1));
  }
  std::set<std::string> admitted;
  for (const WordRecord& r : table.records) {
    if (r.excluded) continue;
    FUZZ_CHECK(listed.count(std::string(r.word())) == 1);
    FUZZ_CHECK(admitted.emplace(r.word()).second);  // only the first record of a word
  }

  const std::string& o = out.str();
  const std::string opening = "Marking pos: " + tag + "'s.";
  FUZZ_CHECK(o.rfind(opening, 0) == 0);
  const size_t dots = (file.entries.size() + 49) / 50;
  FUZZ_CHECK(o.compare(opening.size(), dots + 17, std::string(dots, '.') + "Done Marking pos\n") ==
             0);
  return 0;
}
