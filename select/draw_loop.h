// The inner loop of the selection: draw indexes until one is accepted. A
// list draws tens to millions of indexes, so each draw is kept to the LCG
// step and one byte test: the category in play of the record drawn, unless
// it is chosen. Only a draw of the wanted category looks further.
#ifndef STIMSEL_SELECT_DRAW_LOOP_H_
#define STIMSEL_SELECT_DRAW_LOOP_H_

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "select/random_source.h"

class DrawLoop {
 public:
  // `categories`: per record, its category in play (1..K), 0 for none.
  DrawLoop(RandomSource& random, std::vector<std::uint8_t> categories);

  std::uint8_t category(int i) const { return category_[static_cast<size_t>(i)]; }
  // Sets record i's category as the draws see it: 0 while it is chosen.
  void setCategory(int i, std::uint8_t category);

  // Draws up to `most` indexes (exactly as random.index(n) would) until one
  // of category `wanted` for which confirm(index) holds. On acceptance sets
  // `index` and returns true; either way adds the draws made to `used`.
  template <typename Confirm>
  bool drawUntil(long long most, std::uint8_t wanted, Confirm confirm, int& index, long long& used);

 private:
  // After this many draws in one run, draws go through tables of the 65,536
  // possible top halves of the state (tables of up to 32,768 records): one
  // byte for the category instead of a division and two loads. Worth its
  // setup only for long searches.
  static constexpr long long kDrawsBeforeTables = 1 << 17;

  // Tables of more than 32,768 records: a block of kBlock draws is computed
  // at once, each state straight from the block's start (A^k s + C_k), so
  // that the multiplications do not wait on each other, each row without
  // dividing, and their categories tested into a bit mask without a branch.
  // Only the block's hits are then looked at, in draw order, so that what is
  // accepted, the draws counted and the state left behind are those of
  // drawing one index at a time.
  static constexpr int kBlock = 16;
  static_assert(2 * kBlock <= GeneratorJumps::kSteps, "a block's states are one jump away");
  struct Block {
    std::uint32_t sums[kBlock];  // draw j's row is rowOf(sums[j])
    std::uint32_t hits;          // bit j: draw j is of the wanted category
  };
  // The state k steps after `state`.
  static std::uint32_t jump(std::uint32_t state, int k) {
    return state * kGeneratorJumps.a[k] + kGeneratorJumps.c[k];
  }
  // The row of a draw whose sum is (first << 15) % n + second.
  std::uint32_t rowOf(std::uint32_t sum) const {
    return sum >= static_cast<std::uint32_t>(n_) ? sum - static_cast<std::uint32_t>(n_) : sum;
  }
  // The block of draws after `state`.
  void fillBlock(std::uint32_t state, std::uint8_t wanted, Block& block) const;
  template <typename Confirm>
  bool drawWideUntil(long long most, std::uint8_t wanted, Confirm& confirm, int& index,
                     long long& used);

  void buildTables();
  void buildWideTables();

  RandomSource& random_;
  int n_;
  long long drawn_ = 0;
  std::vector<std::uint8_t> category_;
  std::unique_ptr<std::uint16_t[]> indexOfTop_;
  std::unique_ptr<std::uint8_t[]> categoryOfTop_;
  // Tables of more than 32,768 records: (first << 15) % n for each first
  // draw; category_ then goes on past n with those of the first 32,768
  // records, so that a sum below n + 32,768 finds its category directly.
  std::unique_ptr<std::uint32_t[]> firstPart_;
};

template <typename Confirm>
bool DrawLoop::drawUntil(long long most, std::uint8_t wanted, Confirm confirm, int& index,
                         long long& used) {
  if (n_ > kOneDrawRecords) return drawWideUntil(most, wanted, confirm, index, used);
  long long budget = most;
  if (!indexOfTop_) {
    // One draw at a time until the run has drawn enough to pay for the
    // tables.
    const long long slow = std::min(budget, std::max(0LL, kDrawsBeforeTables - drawn_));
    for (long long k = 1; k <= slow; ++k) {
      const int i = random_.index(n_);
      if (category_[static_cast<size_t>(i)] == wanted && confirm(i)) {
        index = i;
        used += k;
        drawn_ += k;
        return true;
      }
    }
    used += slow;
    drawn_ += slow;
    budget -= slow;
    if (budget == 0) return false;
    buildTables();
  }
  // Two draws a turn. The second state comes straight from the first one's
  // predecessor (A^2 s + AC + C), so the two multiplications do not wait on
  // each other.
  constexpr std::uint32_t kA = 214013u;
  constexpr std::uint32_t kC = 2531011u;
  constexpr std::uint32_t kA2 = kA * kA;
  constexpr std::uint32_t kC2 = kA * kC + kC;
  std::uint32_t state = random_.state();
  const std::uint8_t* const categories = categoryOfTop_.get();
  const auto accept = [&](std::uint32_t drawn, long long draws) {
    const int i = indexOfTop_[drawn >> 16];
    if (!confirm(i)) return false;
    random_.setState(drawn);
    index = i;
    used += draws;
    return true;
  };
  long long left = budget;
  for (; left >= 2; left -= 2) {
    const std::uint32_t first = state * kA + kC;
    const std::uint32_t second = state * kA2 + kC2;
    if (categories[first >> 16] == wanted && accept(first, budget - left + 1)) return true;
    if (categories[second >> 16] == wanted && accept(second, budget - left + 2)) return true;
    state = second;
  }
  if (left == 1) {
    state = state * kA + kC;
    if (categories[state >> 16] == wanted && accept(state, budget)) return true;
  }
  random_.setState(state);
  used += budget;
  return false;
}

template <typename Confirm>
bool DrawLoop::drawWideUntil(long long most, std::uint8_t wanted, Confirm& confirm, int& index,
                             long long& used) {
  std::uint32_t state = random_.state();
  for (long long done = 0; done < most; done += kBlock) {
    // The last block of a budget may be cut short: its later draws are
    // computed but neither looked at nor counted.
    const int take = static_cast<int>(std::min<long long>(kBlock, most - done));
    Block block;
    fillBlock(state, wanted, block);
    for (std::uint32_t hits = block.hits & ((std::uint32_t{2} << (take - 1)) - 1); hits != 0;
         hits &= hits - 1) {
      const int j = __builtin_ctz(hits);
      const int row = static_cast<int>(rowOf(block.sums[j]));
      if (!confirm(row)) continue;
      random_.setState(jump(state, 2 * j + 2));
      index = row;
      used += done + j + 1;
      drawn_ += done + j + 1;
      return true;
    }
    state = jump(state, 2 * take);
  }
  random_.setState(state);
  used += most;
  drawn_ += most;
  return false;
}

#endif  // STIMSEL_SELECT_DRAW_LOOP_H_
