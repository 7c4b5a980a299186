#include "select/alive_set.h"

AliveSet::AliveSet(int n)
    : tree_(static_cast<std::size_t>(n) + 1), present_(static_cast<std::size_t>(n), 1), total_(n) {
  // Every position present: node i covers lowbit(i) positions.
  for (int i = 1; i <= n; ++i) tree_[static_cast<std::size_t>(i)] = i & -i;
  while (topBit_ * 2 <= n) topBit_ *= 2;
}

void AliveSet::change(int i, int delta) {
  const char now = delta > 0 ? 1 : 0;
  if (present_[static_cast<std::size_t>(i)] == now) return;
  present_[static_cast<std::size_t>(i)] = now;
  total_ += delta;
  const int n = static_cast<int>(present_.size());
  for (int node = i + 1; node <= n; node += node & -node)
    tree_[static_cast<std::size_t>(node)] += delta;
}

int AliveSet::countBelow(int i) const {
  int count = 0;
  for (int node = i; node > 0; node -= node & -node) count += tree_[static_cast<std::size_t>(node)];
  return count;
}

int AliveSet::select(int j) const {
  // Descend from the top bit: the largest prefix holding at most j present
  // positions ends just before the one wanted.
  int position = 0;
  const int n = static_cast<int>(present_.size());
  for (int step = topBit_; step > 0; step /= 2) {
    const int next = position + step;
    if (next <= n && tree_[static_cast<std::size_t>(next)] <= j) {
      position = next;
      j -= tree_[static_cast<std::size_t>(next)];
    }
  }
  return position;
}
