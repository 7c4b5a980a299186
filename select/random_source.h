// The random source of one run: a 32-bit linear congruential generator. The
// same seed and the same inputs must give the same list, so every draw of a
// run comes from this one sequence, in a fixed order.
#ifndef STIMSEL_SELECT_RANDOM_SOURCE_H_
#define STIMSEL_SELECT_RANDOM_SOURCE_H_

#include <cstdint>

// Tables up to this many records take one draw per index.
constexpr int kOneDrawRecords = 32768;

class RandomSource {
 public:
  // The clock (whole seconds) and --seed only choose this start value.
  explicit RandomSource(std::uint32_t seed) : state_(seed) {}

  // One draw: state = state * 214013 + 2531011 (mod 2^32), and the value is
  // bits 16..30 of the new state, 0 to 32767. Seeded with 1, the first is 41.
  int next() {
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int>((state_ >> 16) & 0x7FFFu);
  }

  // An index from 0 to n - 1 (n > 0): one draw modulo n when n is at most
  // 32768; otherwise two draws, ((first << 15) | second) % n, so that every
  // record of a large table can be reached.
  int index(int n) {
    if (n <= kOneDrawRecords) return next() % n;
    const int first = next();
    return ((first << 15) | next()) % n;
  }

  // An index from 0 to n - 1 (0 < n <= 2^30), each exactly as likely: one draw, or
  // two for n above 32768, and drawn again while the value falls in the top
  // part of the range that does not hold a whole multiple of n. The direct
  // draw uses this, so that "uniformly among the eligible" is true as said.
  int uniform(int n) {
    const bool one = n <= kOneDrawRecords;
    const std::uint32_t range = one ? 1u << 15 : 1u << 30;
    const std::uint32_t limit = range - range % static_cast<std::uint32_t>(n);
    for (;;) {
      std::uint32_t value = static_cast<std::uint32_t>(next());
      if (!one) value = value << 15 | static_cast<std::uint32_t>(next());
      if (value < limit) return static_cast<int>(value % static_cast<std::uint32_t>(n));
    }
  }

  std::uint32_t state() const { return state_; }
  // For draw loops that step the generator themselves (see select/draw_loop).
  void setState(std::uint32_t state) { state_ = state; }

 private:
  std::uint32_t state_;
};

// k steps of the generator in one, for 0 <= k <= kSteps: the state after them
// is state * a[k] + c[k] (mod 2^32), with a[k] = A^k and c[k] = C (A^(k-1) +
// ... + A + 1). Draw loops compute several states from one this way, so that
// the multiplications do not wait on each other.
struct GeneratorJumps {
  static constexpr int kSteps = 32;
  std::uint32_t a[kSteps + 1];
  std::uint32_t c[kSteps + 1];
};

constexpr GeneratorJumps makeGeneratorJumps() {
  GeneratorJumps jumps{};
  jumps.a[0] = 1;
  for (int k = 1; k <= GeneratorJumps::kSteps; ++k) {
    jumps.a[k] = jumps.a[k - 1] * 214013u;
    jumps.c[k] = jumps.c[k - 1] * 214013u + 2531011u;
  }
  return jumps;
}

inline constexpr GeneratorJumps kGeneratorJumps = makeGeneratorJumps();

#endif  // STIMSEL_SELECT_RANDOM_SOURCE_H_
