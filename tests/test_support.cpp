#include "tests/test_support.h"

#include <stdio.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include "words/categories.h"
#include "words/exclusion_list.h"
#include "words/letters.h"
#include "words/norms_loader.h"
#include "words/pos_filter.h"

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "stimsel-test-XXXXXX").string();
  if (mkdtemp(&pattern[0]) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::write(const std::string& name, const std::string& content) const {
  std::string file = path_ + "/" + name;
  std::ofstream(file, std::ios::binary) << content;
  return file;
}

std::string normsLine(const NormsWord& w) {
  char buffer[128];
  std::snprintf(buffer, sizeof buffer, "\t7\t%.2f\t%.2f\t%.2f\t1.50\t3.00\t0.50\t%d", w.valMn,
                w.valSd, w.aroMn, w.freq);
  return w.word + buffer;
}

std::string normsFileText(const std::vector<NormsWord>& words, const std::string& eol) {
  std::string text;
  for (int i = 1; i <= kNormsHeaderLines; ++i) text += "header line " + std::to_string(i) + eol;
  for (int i = 0; i < kNormsRecords; ++i) {
    char filler[16];
    std::snprintf(filler, sizeof filler, "filler%04d", i);
    const NormsWord unclassed{filler, 3.5f, 5.0f, 1};
    text += normsLine(i < static_cast<int>(words.size()) ? words[i] : unclassed) + eol;
  }
  return text;
}

std::vector<NormsWord> blockFixtureWords(int copies) {
  const std::vector<NormsWord> kinds = {{"glad", 8.0f, 3.0f, 10}, {"grim", 2.0f, 3.0f, 10},
                                        {"desk", 5.0f, 3.0f, 10}, {"wild", 8.5f, 7.0f, 10},
                                        {"rage", 2.5f, 7.0f, 10}, {"loud", 5.5f, 6.5f, 10}};
  std::vector<NormsWord> words;
  for (const NormsWord& kind : kinds) {
    for (int i = 0; i < copies; ++i) {
      char suffix[16];
      std::snprintf(suffix, sizeof suffix, "%02d", i % 100);
      words.push_back(kind);
      words.back().word += suffix;
    }
  }
  return words;
}

WordTable tableOf(const std::vector<NormsWord>& words) {
  WordTable table;
  for (const NormsWord& w : words) {
    WordRecord r;
    r.setWord(w.word);
    r.len = static_cast<std::uint8_t>(letterCount(w.word));
    r.valMn = w.valMn;
    r.valSd = w.valSd;
    r.aroMn = w.aroMn;
    r.freq = w.freq;
    r.category = classify(r.valMn, r.valSd, r.aroMn);
    r.sourceLine = kNormsHeaderLines + 1 + table.count();
    table.add(r);
  }
  markDuplicates(table);
  return table;
}

std::optional<int> loadNormsInto(const std::string& path, WordTable& table, std::ostream& out) {
  out << "filename is " << path << "\n";
  Result<WordTable> loaded = loadNorms(path);
  if (!loaded.ok()) {
    out << loaded.error().text() << "\n";
    table.records.clear();
    return std::nullopt;
  }
  table = std::move(loaded.value());
  return table.count();
}

bool markPosFile(const std::string& tag, WordTable& table, const std::string& path,
                 std::ostream& out) {
  const Result<CountedFile> file = loadCountedFile(path, kCannotOpenTagFile);
  if (!file.ok()) {
    out << file.error().text() << "\n";
    return false;
  }
  markPos(tag, table, file.value(), path, out);
  return true;
}

bool markBadWordsFile(const std::string& path, WordTable& table, std::ostream& out) {
  const Result<CountedFile> file = loadCountedFile(path, kCannotOpenExclusionFile);
  if (!file.ok()) {
    out << file.error().text() << "\n";
    return false;
  }
  markBadWords(table, file.value(), path, out);
  return true;
}

std::vector<int> chosenIndexes(const SelectionResult& result) {
  return result.chosenInTableOrder();
}

namespace {

std::string shellQuote(const std::string& s) {
  std::string quoted = "'";
  for (char c : s) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

}  // namespace

RunResult runStimsel(const std::string& dir, const std::vector<std::string>& args,
                     const std::string& redirect, const std::string& before) {
  TempDir errors;
  const std::string errorFile = errors.path() + "/stderr";
  std::string command =
      "cd " + shellQuote(dir) + " && " + before + " " + shellQuote(STIMSEL_BINARY);
  for (const std::string& a : args) command += " " + shellQuote(a);
  command += " 2>" + shellQuote(errorFile) + " " + redirect;
  RunResult result;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return result;
  char buffer[4096];
  size_t got;
  while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, got);
  const int raw = pclose(pipe);
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  std::ifstream in(errorFile, std::ios::binary);
  result.errors.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return result;
}

std::string fileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}
