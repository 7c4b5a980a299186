// Fixtures shared by the tests: temporary folders, norms files written from
// a few interesting words, and runs of the built binary.
#ifndef STIMSEL_TESTS_TEST_SUPPORT_H_
#define STIMSEL_TESTS_TEST_SUPPORT_H_

#include <string>
#include <vector>

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

// Six words, one per category, each `copies` times in a block, all of one
// length and frequency: any list drawn from them names the same words in
// the same order, whatever the seed.
std::vector<NormsWord> blockFixtureWords(int copies);

// A table built in memory from `words`, classified as the loader would.
WordTable tableOf(const std::vector<NormsWord>& words);

struct RunResult {
  std::string output;
  int status = -1;
};

// Runs the stimsel binary inside `dir` with `args`, capturing standard output.
RunResult runStimsel(const std::string& dir, const std::vector<std::string>& args);

#endif  // STIMSEL_TESTS_TEST_SUPPORT_H_
