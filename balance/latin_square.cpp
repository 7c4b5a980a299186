#include "balance/latin_square.h"

#include <algorithm>
#include <stdexcept>

namespace {

// 0, 1, L-1, 2, L-2, ...: successive differences 1, -2, 3, -4, ... (mod L)
// are all different, which is what balances carry-over when L is even.
std::vector<int> williamsFirstRow(int lists) {
  std::vector<int> row(static_cast<size_t>(lists));
  for (int j = 0; j < lists; ++j) {
    const int step = (j + 1) / 2;
    row[static_cast<size_t>(j)] = j % 2 == 1 ? step : (lists - step) % lists;
  }
  return row;
}

}  // namespace

Schedule counterbalancingSchedule(int lists) {
  if (lists < 1) throw std::invalid_argument("counterbalancingSchedule: at least one list");
  const std::vector<int> first = williamsFirstRow(lists);
  Schedule schedule;
  for (int p = 0; p < lists; ++p) {
    std::vector<int> row = first;
    for (int& list : row) list = (list + p) % lists;
    schedule.push_back(row);
  }
  if (lists % 2 == 1 && lists > 1) {
    for (int p = 0; p < lists; ++p) {
      std::vector<int> mirrored = schedule[static_cast<size_t>(p)];
      std::reverse(mirrored.begin(), mirrored.end());
      schedule.push_back(mirrored);
    }
  }
  return schedule;
}
