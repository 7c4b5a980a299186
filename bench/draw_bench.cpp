// Nanoseconds per draw of the selection's inner loop on a table of more than
// 32,768 rows, against the plain loop that takes one random.index(n) at a
// time. The work is that of a match-all list with a scarce category: rows of
// six categories, one of them 20 rows, and groups drawn as the selection
// does (an anchor of category 1, then each other category's partner within
// 101 draws, close to every member on length and frequency). Both loops run
// from the same seed and must agree draw for draw; the bench says so. Usage:
//   draw_bench [ROWS [DRAWS_MILLIONS [REPEATS]]]
// Prints the fastest of REPEATS runs of each (CPU time); timings move with
// the machine's load.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <vector>

#include "select/controls.h"
#include "select/draw_loop.h"
#include "select/random_source.h"

namespace {

constexpr int kCategories = 6;

struct Table {
  std::vector<std::uint8_t> categories;
  Controls controls;
};

Table makeTable(int rows) {
  std::mt19937 rng(static_cast<std::uint32_t>(rows));
  std::uniform_int_distribution<int> category(1, kCategories - 1);
  std::uniform_int_distribution<int> length(4, 15);
  std::exponential_distribution<double> frequency(1.0 / 30);
  Table table;
  table.controls.tolerances = {2, 10};
  for (int i = 0; i < rows; ++i) {
    table.categories.push_back(static_cast<std::uint8_t>(category(rng)));
    table.controls.values.push_back(length(rng));
    table.controls.values.push_back(static_cast<int>(frequency(rng)));
  }
  for (int i = 0; i < 20; ++i) {
    const size_t row = static_cast<size_t>(rows) / 20 * static_cast<size_t>(i);
    table.categories[row] = kCategories;
    table.controls.values[2 * row] = 6;
    table.controls.values[2 * row + 1] = 30;
  }
  return table;
}

// The loop the selection had for such tables: one index at a time.
struct PlainLoop {
  RandomSource& random;
  const std::vector<std::uint8_t>& categories;
  template <typename Confirm>
  bool drawUntil(long long most, std::uint8_t wanted, Confirm confirm, int& index,
                 long long& used) {
    const int n = static_cast<int>(categories.size());
    for (long long k = 1; k <= most; ++k) {
      const int i = random.index(n);
      if (categories[static_cast<size_t>(i)] == wanted && confirm(i)) {
        index = i;
        used += k;
        return true;
      }
    }
    used += most;
    return false;
  }
};

// Draws groups until at least `draws` draws are made (counted in `used`);
// returns a digest of the rows accepted and the final state, to compare the
// loops.
template <typename Loop>
std::uint64_t drawGroups(Loop& loop, RandomSource& random, const Controls& controls,
                         long long draws, long long& used) {
  std::uint64_t digest = 0;
  std::vector<int> members;
  while (used < draws) {
    members.assign(1, 0);
    if (!loop.drawUntil(
            draws - used, 1, [](int) { return true; }, members[0], used)) {
      break;
    }
    for (int p = 2; p <= kCategories; ++p) {
      int c = 0;
      const auto close = [&](int i) {
        for (int m : members) {
          if (!controls.rowsClose(i, m)) return false;
        }
        return true;
      };
      if (!loop.drawUntil(101, static_cast<std::uint8_t>(p), close, c, used)) break;
      members.push_back(c);
    }
    for (int m : members) digest = digest * 1000003u + static_cast<std::uint64_t>(m);
  }
  return digest * 31u + random.state() + static_cast<std::uint64_t>(used);
}

double cpuSeconds() {
  return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

}  // namespace

int main(int argc, char** argv) {
  const int rows = argc > 1 ? std::atoi(argv[1]) : 300000;
  const long long draws = (argc > 2 ? std::atoll(argv[2]) : 50) * 1000000LL;
  const int repeats = argc > 3 ? std::atoi(argv[3]) : 5;
  if (rows <= kOneDrawRecords) {
    std::fprintf(stderr, "draw_bench: ROWS must be above %d\n", kOneDrawRecords);
    return 2;
  }
  const Table table = makeTable(rows);
  double plainBest = 1e9;
  double loopBest = 1e9;
  bool agree = true;
  for (int r = 0; r < repeats; ++r) {
    long long plainUsed = 0;
    long long loopUsed = 0;
    RandomSource plainRandom(1);
    PlainLoop plain{plainRandom, table.categories};
    double start = cpuSeconds();
    const std::uint64_t plainDigest =
        drawGroups(plain, plainRandom, table.controls, draws, plainUsed);
    plainBest = std::min(plainBest, (cpuSeconds() - start) / static_cast<double>(plainUsed));

    RandomSource loopRandom(1);
    DrawLoop loop(loopRandom, table.categories);
    start = cpuSeconds();
    const std::uint64_t loopDigest = drawGroups(loop, loopRandom, table.controls, draws, loopUsed);
    loopBest = std::min(loopBest, (cpuSeconds() - start) / static_cast<double>(loopUsed));
    agree = agree && plainDigest == loopDigest && plainUsed == loopUsed;
  }
  std::printf("%d rows, %lld draws a run: one at a time %.2f ns/draw, DrawLoop %.2f ns/draw (%s)\n",
              rows, draws, plainBest * 1e9, loopBest * 1e9, agree ? "same draws" : "DRAWS DIFFER");
  return agree ? 0 : 1;
}
