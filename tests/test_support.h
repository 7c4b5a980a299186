// Fixtures shared by the tests: temporary folders, norms files written from
// a few interesting words, and runs of the built binary.
#ifndef STIMSEL_TESTS_TEST_SUPPORT_H_
#define STIMSEL_TESTS_TEST_SUPPORT_H_

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "select/selection.h"
#include "words/word_table.h"

// A folder under the system's temporary folder, removed with its contents.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  // Writes `content` byte for byte to `name` inside the folder; returns its path.
  std::string write(const std::string& name, const std::string& content) const;

 private:
  std::string path_;
};

// The bytes of the file at `path`; "" when it cannot be read.
std::string fileText(const std::string& path);

// One data line of a norms fixture.
struct NormsWord {
  std::string word;
  float valMn;
  float aroMn;
  int freq;
  float valSd = 1.0f;
};

// A complete norms file: 41 header lines, then `words` as the first data
// lines, then unclassed filler words ("filler0041", ...) up to 1030 lines.
std::string normsFileText(const std::vector<NormsWord>& words, const std::string& eol = "\n");

// The data line that normsFileText writes for `w`.
std::string normsLine(const NormsWord& w);

// Six kinds of word, one per category, `copies` distinct words of each in a
// block ("glad00", "glad01", ...; at most 100), all of one length and
// frequency, so that every group a seed draws can be matched.
std::vector<NormsWord> blockFixtureWords(int copies);

// A table built in memory from `words`, classified as the loader would.
WordTable tableOf(const std::vector<NormsWord>& words);

// The category number (0..6) of a record, for comparisons with literals.
inline int categoryNumber(const WordRecord& r) {
  return static_cast<int>(r.category);
}

// The file-reading steps as a run takes them, printing what the run prints:
// on failure the error's text, and false (or nothing).
std::optional<int> loadNormsInto(const std::string& path, WordTable& table, std::ostream& out);
bool markPosFile(const std::string& tag, WordTable& table, const std::string& path,
                 std::ostream& out);
bool markBadWordsFile(const std::string& path, WordTable& table, std::ostream& out);

// The indexes a selection chose, in table order.
std::vector<int> chosenIndexes(const SelectionResult& result);

struct RunResult {
  std::string output;  // standard output
  int status = -1;
  std::string errors;  // standard error, unless `redirect` sends it elsewhere
};

// Runs the stimsel binary inside `dir` with `args`, capturing standard output
// and standard error apart; `redirect` is shell text appended to the command
// (such as "2>&1 >/dev/full"), `before` shell text run first in the same
// shell (such as "ulimit -f 8;").
RunResult runStimsel(const std::string& dir, const std::vector<std::string>& args,
                     const std::string& redirect = "", const std::string& before = "");

#endif  // STIMSEL_TESTS_TEST_SUPPORT_H_
