// Measures the balancing on a norms table: for seeds 1..S, draws six affect
// categories x 20 words matched on length (2 letters) and Zipf frequency
// (0.2) under the anchor rule, then balances them; prints per seed the
// largest |Hedges' g| between two categories (and between two lists) for
// length and Zipf before and after, the imbalance, the exchanges and the
// time the balancing took. Usage:
//   balance_bench NORMS.csv [LISTS [SEEDS [WORDS [DUMP]]]]
// With a DUMP file, writes every seed's groups before and after (one line
// per group: seed, "before" or "after", then WORD:CATEGORY of its words) for a
// check of the figures by another program.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "balance/balance.h"
#include "output/report.h"
#include "select/selection.h"
#include "tables/norms_file.h"

namespace {

struct Gaps {
  double categories[2] = {0, 0};  // length, Zipf
  double lists[2] = {0, 0};
};

double largestG(const std::vector<std::vector<double>>& sets) {
  double largest = 0;
  for (size_t a = 0; a < sets.size(); ++a) {
    for (size_t b = a + 1; b < sets.size(); ++b) {
      largest = std::max(largest, std::fabs(compareMeans(sets[a], sets[b], 0.5).g));
    }
  }
  return largest;
}

Gaps gapsOf(const BalanceInput& input, const std::vector<std::vector<int>>& groups) {
  Gaps gaps;
  for (size_t c = 0; c < 2; ++c) {
    std::vector<std::vector<double>> byCategory(static_cast<size_t>(input.categories));
    std::vector<std::vector<double>> byList(static_cast<size_t>(input.lists));
    for (size_t g = 0; g < groups.size(); ++g) {
      for (int row : groups[g]) {
        const double v = input.controls[c].values[static_cast<size_t>(row)];
        byCategory[static_cast<size_t>(input.categoryOf[static_cast<size_t>(row)] - 1)].push_back(
            v);
        byList[g % static_cast<size_t>(input.lists)].push_back(v);
      }
    }
    gaps.categories[c] = largestG(byCategory);
    gaps.lists[c] = input.lists > 1 ? largestG(byList) : 0;
  }
  return gaps;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: balance_bench NORMS.csv [LISTS [SEEDS [WORDS [DUMP]]]]\n");
    return 2;
  }
  const int lists = argc > 2 ? std::atoi(argv[2]) : 1;
  const int seeds = argc > 3 ? std::atoi(argv[3]) : 20;
  const long long words = argc > 4 ? std::atoll(argv[4]) : 120;
  FILE* dump = argc > 5 ? std::fopen(argv[5], "w") : nullptr;
  NormsSource source;
  source.path = argv[1];
  source.format = NormsFormat::Csv;
  const auto t0 = std::chrono::steady_clock::now();
  Result<WordTable> loaded = loadNormsFile(source);
  if (!loaded.ok()) {
    std::fprintf(stderr, "%s\n", loaded.error().text().c_str());
    return 1;
  }
  const WordTable& table = loaded.value();
  const double loadSeconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();

  const std::vector<AffectCategory> play = categoriesInPlay(ListMode::FullMode);
  MatchRules rules;
  rules.lengthTolerance = 2;
  rules.frequencyTolerance = 0.2;
  rules.zipf = true;

  BalanceInput input;
  input.categories = static_cast<int>(play.size());
  input.lists = lists;
  input.categoryOf.assign(table.records.size(), 0);
  input.controls.resize(2);
  input.controls[0].tolerance = rules.lengthTolerance;
  input.controls[1].tolerance = rules.frequencyTolerance;
  for (size_t r = 0; r < table.records.size(); ++r) {
    const WordRecord& record = table.records[r];
    input.controls[0].values.push_back(record.len);
    input.controls[1].values.push_back(matchKey(record, rules));
    const auto p = std::find(play.begin(), play.end(), record.category);
    if (record.canBeChosen() && p != play.end()) {
      input.categoryOf[r] = static_cast<int>(p - play.begin()) + 1;
    }
  }
  std::printf("%s: %d rows, loaded in %.3f s; %lld words, %d list(s)\n", argv[1], table.count(),
              loadSeconds, words, lists);
  std::printf("%4s %8s %8s %8s %8s | %8s %8s %8s %8s | %9s %9s %6s %8s\n", "seed", "catLen0",
              "catZipf0", "lstLen0", "lstZipf0", "catLen", "catZipf", "lstLen", "lstZipf", "cost0",
              "cost", "exch", "seconds");
  int met = 0;
  double worstSeconds = 0;
  double worstCpuSeconds = 0;
  double worstBefore = 0;
  double worstAfter = 0;
  for (int seed = 1; seed <= seeds; ++seed) {
    RandomSource random(static_cast<std::uint32_t>(seed));
    SelectionResult drawn = chooseWords(table, play, words, rules, random);
    if (lists > 1) keepWholeRounds(drawn, lists);
    input.groups = drawn.groups;
    const Gaps before = gapsOf(input, input.groups);
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t cpuStart = std::clock();
    const BalanceResult balanced = balanceGroups(input);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double cpuSeconds = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    worstCpuSeconds = std::max(worstCpuSeconds, cpuSeconds);
    const Gaps after = gapsOf(input, balanced.groups);
    if (dump != nullptr) {
      const std::vector<std::vector<int>>* both[] = {&input.groups, &balanced.groups};
      for (const auto* which : both) {
        for (const auto& group : *which) {
          std::fprintf(dump, "%d %s", seed, which == &input.groups ? "before" : "after");
          for (int row : group) {
            std::fprintf(dump, " %s:%d",
                         std::string(table.records[static_cast<size_t>(row)].word()).c_str(),
                         input.categoryOf[static_cast<size_t>(row)]);
          }
          std::fprintf(dump, "\n");
        }
      }
    }
    const double largestAfter =
        std::max({after.categories[0], after.categories[1], after.lists[0], after.lists[1]});
    const double largestBefore =
        std::max({before.categories[0], before.categories[1], before.lists[0], before.lists[1]});
    if (largestAfter <= 0.10) ++met;
    worstSeconds = std::max(worstSeconds, seconds);
    worstBefore = std::max(worstBefore, largestBefore);
    worstAfter = std::max(worstAfter, largestAfter);
    std::printf(
        "%4d %8.3f %8.3f %8.3f %8.3f | %8.3f %8.3f %8.3f %8.3f | %9.4f %9.4f %6lld %8.3f%s\n", seed,
        before.categories[0], before.categories[1], before.lists[0], before.lists[1],
        after.categories[0], after.categories[1], after.lists[0], after.lists[1],
        balanced.imbalanceBefore, balanced.imbalanceAfter, balanced.exchanges(), seconds,
        drawn.complete() ? "" : " (short)");
  }
  std::printf("seeds with every largest |g| <= 0.10 after balancing: %d of %d\n", met, seeds);
  std::printf("largest |g| over all seeds: %.3f before, %.3f after\n", worstBefore, worstAfter);
  std::printf("slowest balancing: %.3f s wall, %.3f s processor\n", worstSeconds, worstCpuSeconds);
  if (dump != nullptr) std::fclose(dump);
  return 0;
}
