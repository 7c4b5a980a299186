// A whole run from fuzzed files, arguments and seed: load, filters, mode,
// selection and the printed table, checking the list's invariants.
//
// Input layout (FuzzedDataProvider): seed, the list arguments, the tag and
// exclusion file texts, then records. The norms file is written from the
// records (cycled to 1030 lines) so that most inputs get past the loader;
// one fuzzed raw line may replace a data line to reach the error paths.
#include <fuzzer/FuzzedDataProvider.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

#include "app/command_line.h"
#include "app/equivalence_bounds.h"
#include "app/run.h"
#include "app/stimsel.h"
#include "fuzz/fuzz_support.h"
#include "select/random_source.h"
#include "words/norms_loader.h"

namespace {

// Small, so that a fuzzed table that can hardly be matched stays fast and
// its groups go through the direct draw.
constexpr long long kFuzzDrawsPerGroup = 200'000;

const std::string& folder() {
  static const std::string path = [] {
    char pattern[] = "/tmp/stimsel-fuzz-XXXXXX";
    const char* made = mkdtemp(pattern);
    FUZZ_CHECK(made != nullptr);
    return std::string(made);
  }();
  return path;
}

std::string write(const std::string& name, const std::string& text) {
  const std::string path = folder() + "/" + name;
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
  return path;
}

std::string normsText(FuzzedDataProvider& fdp) {
  const size_t badLine = fdp.ConsumeIntegralInRange<size_t>(0, 4000);
  const std::string rawLine = fdp.ConsumeRandomLengthString(64);
  std::vector<std::string> lines;
  while (fdp.remaining_bytes() > 0 && lines.size() < 64) {
    std::string word = fdp.ConsumeRandomLengthString(12);
    if (word.empty() || word.find_first_of(std::string(" \t\n\r\v\f\0", 7)) != std::string::npos) {
      word = "w" + std::to_string(lines.size());
    }
    char numbers[128];
    std::snprintf(numbers, sizeof numbers, "\t1\t%.2f\t%.2f\t%.2f\t1.00\t1.00\t1.00\t%d",
                  1 + fdp.ConsumeIntegral<uint8_t>() / 32.0, fdp.ConsumeIntegral<uint8_t>() / 100.0,
                  1 + fdp.ConsumeIntegral<uint8_t>() / 32.0, fdp.ConsumeIntegralInRange(-5, 80));
    lines.push_back(word + numbers);
  }
  if (lines.empty()) lines.push_back("w\t1\t5\t1\t3\t1\t1\t1\t10");
  std::string text;
  for (int i = 0; i < kNormsHeaderLines; ++i) text += "header\n";
  for (size_t i = 0; i < kNormsRecords; ++i) {
    text += (i == badLine ? rawLine : lines[i % lines.size()]) + "\n";
  }
  return text;
}

// Two words of a group as the rules compare them.
bool close(const WordRecord& a, const WordRecord& b, const MatchRules& rules) {
  return std::abs(a.len - b.len) <= rules.lengthTolerance &&
         std::fabs(matchKey(a, rules) - matchKey(b, rules)) <= rules.frequencyTolerance;
}

void checkList(const WordTable& table, const Settings& settings, long long wanted,
               const SelectionResult& result) {
  const std::vector<AffectCategory> play = categoriesInPlay(settings.mode);
  const int k = static_cast<int>(play.size());
  std::set<int> seen;
  std::set<std::string> words;
  for (const std::vector<int>& group : result.groups) {
    FUZZ_CHECK(static_cast<int>(group.size()) == k);
    const WordRecord& anchor = table.records[static_cast<size_t>(group[0])];
    std::set<AffectCategory> categories;
    for (int i : group) {
      FUZZ_CHECK(i >= 0 && i < table.count());
      const WordRecord& r = table.records[static_cast<size_t>(i)];
      FUZZ_CHECK(seen.insert(i).second);
      FUZZ_CHECK(words.emplace(r.word()).second);  // no word twice in a list
      FUZZ_CHECK(r.canBeChosen());
      FUZZ_CHECK(std::find(play.begin(), play.end(), r.category) != play.end());
      FUZZ_CHECK(categories.insert(r.category).second);
      FUZZ_CHECK(close(r, anchor, settings.rules));
      for (int j : group) {
        FUZZ_CHECK(!settings.rules.matchAll ||
                   close(r, table.records[static_cast<size_t>(j)], settings.rules));
      }
    }
  }
  FUZZ_CHECK(result.groups.size() % static_cast<size_t>(settings.lists) == 0);
  FUZZ_CHECK(static_cast<long long>(seen.size()) == result.matched);
  const long long most = wanted < k ? 0 : wanted / k * k;
  FUZZ_CHECK(result.wanted == most && result.matched <= most);
  FUZZ_CHECK(result.complete() == (result.matched == most));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider fdp(data, size);
  const uint32_t seed = fdp.ConsumeIntegral<uint32_t>();
  std::vector<std::string> args = {fdp.ConsumeRandomLengthString(12),
                                   fdp.ConsumeRandomLengthString(4)};
  const int files = fdp.ConsumeIntegralInRange(0, 3);  // bit 0: exclusion, bit 1: tag
  args.push_back(files & 1 ? "used.txt" : "0");
  const std::string tag = fdp.ConsumeRandomLengthString(6);
  if (files & 2) args.push_back(tag);
  const std::string tags = fdp.ConsumeRandomLengthString(400);
  const std::string used = fdp.ConsumeRandomLengthString(200);
  // bits: lists, tolerances, zipf, all, balance
  const int design = fdp.ConsumeIntegralInRange(0, 31);
  if (design & 1)
    args.insert(args.end(), {"--lists", std::to_string(fdp.ConsumeIntegralInRange(1, 4))});
  if (design & 2) {
    args.insert(args.end(),
                {"--length-tolerance", std::to_string(fdp.ConsumeIntegralInRange(0, 3)),
                 "--frequency-tolerance", std::to_string(fdp.ConsumeIntegralInRange(0, 30))});
  }
  if (design & 4) args.insert(args.end(), {"--zipf-tolerance", "0.3"});
  if (design & 8) args.insert(args.end(), {"--match", "all"});
  if (design & 16) args.emplace_back("--balance");

  Result<Settings> parsed = parseCommandLine(args);
  if (!parsed.ok()) return 0;
  Settings settings = parsed.value();
  settings.norms.path = write("KOVA.txt", normsText(fdp));
  settings.tagFile = write("kovatags.txt", tags);
  if (settings.excludeFile) settings.excludeFile = write("used.txt", used);
  settings.rules.randomDrawsPerGroup = kFuzzDrawsPerGroup;
  // Fuzzed arguments may name output files; this target writes none.
  settings.outFile.reset();
  settings.plotFile.reset();
  settings.datasheetFile.reset();

  std::ostringstream out;
  const Result<PreparedWords> words = prepareWords(settings, out);
  if (!words.ok()) {
    FUZZ_CHECK(out.str().find("count\t") == std::string::npos);
    return 0;
  }
  // The run stops here, before drawing, on a bound for the scale not in force.
  if (!boundsInForce(settings.bounds, settings.rules).ok()) return 0;
  const WordTable& table = words.value().table;
  const DrawnGroups drawn = drawGroups(settings, table, seed);
  const SelectionResult& result = drawn.result;
  checkList(table, settings, wordsWanted(settings), result);
  FUZZ_CHECK(!drawn.balance ||
             drawn.balance->result.imbalanceAfter <= drawn.balance->result.imbalanceBefore);
  const int status = finishList(settings, words.value(), drawn, {out, out, out});
  FUZZ_CHECK(status == (result.complete() ? kExitComplete : kExitShortfall));
  const std::string& o = out.str();
  const size_t header = o.find("\ncount\tWord\t\tVal\tValMn\tAroMn\tLen\tFreq\n");
  FUZZ_CHECK(header != std::string::npos);
  FUZZ_CHECK(o.size() >= 6 && o.compare(o.size() - 6, 6, "Done.\n") == 0);
  // Table rows start with their number and a tab; lists bring headings.
  size_t rows = 0;
  for (size_t at = o.find('\n', header + 1); at + 1 < o.size(); at = o.find('\n', at + 1)) {
    const size_t tab = o.find('\t', at + 1);
    rows += tab != std::string::npos && tab > at + 1 && o.find('\n', at + 1) > tab &&
            o.find_first_not_of("0123456789", at + 1) == tab;
  }
  FUZZ_CHECK(rows == static_cast<size_t>(result.matched));
  for (int l = 1; settings.lists > 1 && l <= settings.lists; ++l) {
    const std::string heading =
        "\nList " + std::to_string(l) + " of " + std::to_string(settings.lists) + "\ncount\t";
    FUZZ_CHECK(o.find(heading) != std::string::npos);
  }
  return 0;
}
