// Which positions of a sorted run of records are still free to choose. The
// exact check and the direct draw ask how many free records lie in a range
// of positions and which one is the j-th; a Fenwick tree answers both in
// O(log n), and removing or restoring a position costs the same.
#ifndef STIMSEL_SELECT_ALIVE_SET_H_
#define STIMSEL_SELECT_ALIVE_SET_H_

#include <cstddef>
#include <vector>

class AliveSet {
 public:
  // Positions 0..n-1, all present.
  explicit AliveSet(int n);

  int total() const { return total_; }
  bool present(int i) const { return present_[static_cast<std::size_t>(i)] != 0; }
  void remove(int i) { change(i, -1); }
  void restore(int i) { change(i, +1); }
  // Present positions below i (0 <= i <= n).
  int countBelow(int i) const;
  // The position of the j-th present position, counting from 0 (j < total()).
  int select(int j) const;
  // The first present position at or after i, or -1.
  int firstFrom(int i) const {
    const int below = countBelow(i);
    return below < total_ ? select(below) : -1;
  }

 private:
  void change(int i, int delta);

  std::vector<int> tree_;  // tree_[i] counts positions (i - lowbit(i), i]
  std::vector<char> present_;
  int total_ = 0;
  int topBit_ = 1;  // the highest power of two not above n
};

#endif  // STIMSEL_SELECT_ALIVE_SET_H_
