#include "output/drawn_list.h"

#include <algorithm>
#include <tuple>

#include "words/ascii_text.h"

namespace {

// Deals the groups in turn; `categoryOf` gives a record's category 1..K.
template <typename CategoryOf>
void deal(const SelectionResult& result, DrawnList& drawn, CategoryOf categoryOf) {
  const auto lists = static_cast<size_t>(drawn.lists);
  for (size_t g = 0; g < result.groups.size(); ++g) {
    const int list = static_cast<int>(g % lists) + 1;
    const int group = static_cast<int>(g / lists) + 1;
    const std::vector<int>& members = result.groups[g];
    for (size_t m = 0; m < members.size(); ++m) {
      drawn.rows.push_back({list, group, m == 0, categoryOf(members[m]), members[m]});
    }
  }
  std::sort(drawn.rows.begin(), drawn.rows.end(), [](const ListRow& a, const ListRow& b) {
    return std::tie(a.list, a.group, a.category) < std::tie(b.list, b.group, b.category);
  });
}

}  // namespace

const ShownVariable* DrawnList::variable(const std::string& name) const {
  for (const ShownVariable& shown : variables) {
    if (asciiLower(shown.name) == asciiLower(name)) return &shown;
  }
  return nullptr;
}

DrawnList dealList(const WordTable& table, const std::vector<AffectCategory>& play,
                   const SelectionResult& result, int lists) {
  DrawnList drawn;
  drawn.table = &table;
  drawn.play = play;
  drawn.lists = lists;
  deal(result, drawn, [&](int index) {
    const AffectCategory c = table.records[static_cast<size_t>(index)].category;
    return static_cast<int>(std::find(play.begin(), play.end(), c) - play.begin()) + 1;
  });
  return drawn;
}

DrawnList dealDesignList(const WordTable& table, const std::vector<std::uint8_t>& slot,
                         const SelectionResult& result, int lists) {
  DrawnList drawn;
  drawn.table = &table;
  drawn.lists = lists;
  deal(result, drawn,
       [&](int index) { return static_cast<int>(slot[static_cast<size_t>(index)]); });
  return drawn;
}

std::string snakeName(AffectCategory category) {
  std::string name = nameOf(category);
  std::replace(name.begin(), name.end(), ' ', '_');
  return name;
}
