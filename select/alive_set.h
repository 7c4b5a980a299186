// Which positions of a sorted run of records are still free to choose. The
// exact check and the direct draw ask how many free records lie in a range
// of positions and which one is the j-th; a Fenwick tree answers both in
// O(log n), and removing or restoring a position costs the same.
#ifndef STIMSEL_SELECT_ALIVE_SET_H_
#define STIMSEL_SELECT_ALIVE_SET_H_

#include <cstddef>
#include <vector>

// The Fenwick trees of many runs, laid side by side in one pair of arrays:
// an index of a few hundred thousand runs of one or two positions then
// costs two array slots a position instead of two allocations a run.
// A run's positions are 0..size-1; its node k (1..size) sits at begin + k - 1.
// Runs are only ever added.
class AliveRuns {
 public:
  struct Run {
    int begin = 0;
    int size = 0;
    int total = 0;   // positions present
    int topBit = 1;  // the highest power of two not above size
  };

  // Room for `positions` positions in all, so that adding runs does not move them.
  void reserve(std::size_t positions);
  // A new run of n positions, all present.
  Run add(int n);

  bool present(const Run& run, int i) const {
    return present_[static_cast<std::size_t>(run.begin) + static_cast<std::size_t>(i)] != 0;
  }
  void remove(Run& run, int i) { change(run, i, -1); }
  void restore(Run& run, int i) { change(run, i, +1); }
  // Present positions of `run` below i (0 <= i <= size).
  int countBelow(const Run& run, int i) const;
  // The j-th present position of `run`, counting from 0 (j < total).
  int select(const Run& run, int j) const;
  // The first present position of `run` at or after i, or -1.
  int firstFrom(const Run& run, int i) const {
    const int below = countBelow(run, i);
    return below < run.total ? select(run, below) : -1;
  }

 private:
  void change(Run& run, int i, int delta);

  std::vector<int> tree_;
  std::vector<char> present_;
};

class AliveSet {
 public:
  // Positions 0..n-1, all present.
  explicit AliveSet(int n) : run_(runs_.add(n)) {}

  int total() const { return run_.total; }
  bool present(int i) const { return runs_.present(run_, i); }
  void remove(int i) { runs_.remove(run_, i); }
  void restore(int i) { runs_.restore(run_, i); }
  // Present positions below i (0 <= i <= n).
  int countBelow(int i) const { return runs_.countBelow(run_, i); }
  // The position of the j-th present position, counting from 0 (j < total()).
  int select(int j) const { return runs_.select(run_, j); }
  // The first present position at or after i, or -1.
  int firstFrom(int i) const { return runs_.firstFrom(run_, i); }

 private:
  AliveRuns runs_;
  AliveRuns::Run run_;
};

#endif  // STIMSEL_SELECT_ALIVE_SET_H_
