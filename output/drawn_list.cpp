#include "output/drawn_list.h"

#include <algorithm>
#include <tuple>

DrawnList dealList(const WordTable& table, const std::vector<AffectCategory>& play,
                   const SelectionResult& result, int lists) {
  DrawnList drawn{&table, play, lists, {}};
  for (size_t g = 0; g < result.groups.size(); ++g) {
    const int list = static_cast<int>(g % static_cast<size_t>(lists)) + 1;
    const int group = static_cast<int>(g / static_cast<size_t>(lists)) + 1;
    const std::vector<int>& members = result.groups[g];
    for (size_t m = 0; m < members.size(); ++m) {
      const WordRecord& r = table.records[static_cast<size_t>(members[m])];
      const int category =
          static_cast<int>(std::find(play.begin(), play.end(), r.category) - play.begin()) + 1;
      drawn.rows.push_back({list, group, m == 0, category, members[m]});
    }
  }
  std::sort(drawn.rows.begin(), drawn.rows.end(), [](const ListRow& a, const ListRow& b) {
    return std::tie(a.list, a.group, a.category) < std::tie(b.list, b.group, b.category);
  });
  return drawn;
}

std::string snakeName(AffectCategory category) {
  std::string name = nameOf(category);
  std::replace(name.begin(), name.end(), ' ', '_');
  return name;
}
