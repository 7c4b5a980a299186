#include "select/alive_set.h"

void AliveRuns::reserve(std::size_t positions) {
  tree_.reserve(positions);
  present_.reserve(positions);
}

AliveRuns::Run AliveRuns::add(int n) {
  Run run;
  run.begin = static_cast<int>(tree_.size());
  run.size = n;
  run.total = n;
  // Every position present: node k covers lowbit(k) positions.
  for (int k = 1; k <= n; ++k) tree_.push_back(k & -k);
  present_.insert(present_.end(), static_cast<std::size_t>(n), 1);
  while (run.topBit * 2 <= n) run.topBit *= 2;
  return run;
}

void AliveRuns::change(Run& run, int i, int delta) {
  const char now = delta > 0 ? 1 : 0;
  char& at = present_[static_cast<std::size_t>(run.begin) + static_cast<std::size_t>(i)];
  if (at == now) return;
  at = now;
  run.total += delta;
  int* const nodes = tree_.data() + run.begin;  // nodes[k - 1] is node k
  for (int k = i + 1; k <= run.size; k += k & -k) nodes[k - 1] += delta;
}

int AliveRuns::countBelow(const Run& run, int i) const {
  const int* const nodes = tree_.data() + run.begin;
  int count = 0;
  for (int k = i; k > 0; k -= k & -k) count += nodes[k - 1];
  return count;
}

int AliveRuns::select(const Run& run, int j) const {
  // Descend from the top bit: the largest prefix holding at most j present
  // positions ends just before the one wanted.
  const int* const nodes = tree_.data() + run.begin;
  int position = 0;
  for (int step = run.topBit; step > 0; step /= 2) {
    const int next = position + step;
    if (next <= run.size && nodes[next - 1] <= j) {
      position = next;
      j -= nodes[next - 1];
    }
  }
  return position;
}
