// The draw loop on tables of more than 32,768 records against the plain loop
// of one random.index(n) at a time: the same acceptance, the same draws
// counted, the same state left behind, and confirm asked of the same rows in
// the same order, whatever the budget (block-sized or not, 0, 1), the
// categories, the predicate, and the draws and choices between calls.
#include "select/draw_loop.h"

#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kK = 4;  // categories in play

struct Plain {
  RandomSource& random;
  std::vector<std::uint8_t> category;
  bool drawUntil(long long most, std::uint8_t wanted, const std::function<bool(int)>& confirm,
                 int& index, long long& used) {
    const int n = static_cast<int>(category.size());
    for (long long k = 1; k <= most; ++k) {
      const int i = random.index(n);
      if (category[static_cast<size_t>(i)] == wanted && confirm(i)) {
        index = i;
        used += k;
        return true;
      }
    }
    used += most;
    return false;
  }
};

enum class Layout { Mixed, Scarce, Absent, AllWanted, FirstRowsOnly };
enum class Predicate { Always, Never, ByRow, FourthAsked };

std::vector<std::uint8_t> categoriesOf(Layout layout, int n, std::mt19937& rng) {
  std::vector<std::uint8_t> category(static_cast<size_t>(n));
  for (size_t i = 0; i < category.size(); ++i) {
    const auto mixed = static_cast<std::uint8_t>(rng() % (kK + 1));
    switch (layout) {
      case Layout::Mixed:
        category[i] = mixed;
        break;
      case Layout::AllWanted:
        category[i] = 1;
        break;
      // Rows a sum past n also draws: taking them out of play must hold
      // for both ways of drawing them.
      case Layout::FirstRowsOnly:
        category[i] = i < 32768 ? mixed : 0;
        break;
      default:
        category[i] = 2;
    }
  }
  if (layout == Layout::Scarce) {
    // A few of category 1, some where a sum past n lands (below 32,768),
    // and the last row.
    for (int i = 0; i < 12; ++i) category[rng() % static_cast<unsigned>(n)] = 1;
    for (int i = 0; i < 6; ++i) category[rng() % 32768u] = 1;
    category.back() = 1;
  }
  return category;
}

bool asks(Predicate predicate, int row, int asked) {
  switch (predicate) {
    case Predicate::Always:
      return true;
    case Predicate::Never:
      return false;
    case Predicate::ByRow:
      return (static_cast<unsigned>(row) * 2654435761u >> 7) % 5 == 0;
    case Predicate::FourthAsked:
      return asked == 4;
  }
  return false;
}

struct Case {
  const char* name;
  int n;
  Layout layout;
  Predicate predicate;
};

const Case kCases[] = {
    {"smallest wide table, mixed, by row", 32769, Layout::Mixed, Predicate::ByRow},
    {"mixed, every hit accepted", 100003, Layout::Mixed, Predicate::Always},
    {"mixed, fourth hit accepted", 100003, Layout::Mixed, Predicate::FourthAsked},
    {"mixed, nothing accepted", 65537, Layout::Mixed, Predicate::Never},
    {"scarce, every hit accepted", 300000, Layout::Scarce, Predicate::Always},
    {"only rows below 32,768 in play, every hit accepted", 40000, Layout::FirstRowsOnly,
     Predicate::Always},
    {"one category only, the others absent", 40000, Layout::Absent, Predicate::Always},
    {"every row wanted, by row", 1 << 20, Layout::AllWanted, Predicate::ByRow},
};

const long long kBudgets[] = {0, 1, 2, 15, 16, 17, 31, 33, 101, 1000, 20000};

TEST(DrawLoop, WideTablesDrawAsOneIndexAtATime) {
  for (const Case& c : kCases) {
    std::mt19937 rng(static_cast<std::uint32_t>(c.n));
    const std::vector<std::uint8_t> category = categoriesOf(c.layout, c.n, rng);
    for (std::uint32_t seed : {1u, 2u, 12345u, 0xFFFFFFFFu, 0x80000000u}) {
      RandomSource plainRandom(seed);
      RandomSource loopRandom(seed);
      Plain plain{plainRandom, category};
      DrawLoop loop(loopRandom, category);
      // One run of calls, as the selection makes: budgets in turn, accepted
      // rows taken out of play, and now and then a draw made elsewhere.
      for (int call = 0; call < 400; ++call) {
        const long long most = kBudgets[static_cast<size_t>(call) % std::size(kBudgets)];
        const auto wanted = static_cast<std::uint8_t>(1 + call % kK);
        std::vector<int> plainAsked;
        std::vector<int> loopAsked;
        const auto confirmInto = [&](std::vector<int>& asked) {
          return [&, predicate = c.predicate](int row) {
            asked.push_back(row);
            return asks(predicate, row, static_cast<int>(asked.size()));
          };
        };
        int plainIndex = -1;
        int loopIndex = -1;
        long long plainUsed = 0;
        long long loopUsed = 0;
        const bool plainFound =
            plain.drawUntil(most, wanted, confirmInto(plainAsked), plainIndex, plainUsed);
        const bool loopFound =
            loop.drawUntil(most, wanted, confirmInto(loopAsked), loopIndex, loopUsed);
        const std::string where = std::string(c.name) + ", seed " + std::to_string(seed) +
                                  ", call " + std::to_string(call) + ", budget " +
                                  std::to_string(most);
        ASSERT_EQ(loopFound, plainFound) << where;
        ASSERT_EQ(loopUsed, plainUsed) << where;
        ASSERT_EQ(loopRandom.state(), plainRandom.state()) << where;
        ASSERT_EQ(loopAsked, plainAsked) << where;
        if (plainFound) {
          ASSERT_EQ(loopIndex, plainIndex) << where;
          plain.category[static_cast<size_t>(plainIndex)] = 0;
          loop.setCategory(loopIndex, 0);
        }
        if (call % 7 == 3) {
          plainRandom.next();
          loopRandom.next();
        }
      }
    }
  }
}

}  // namespace
