#include "output/design_table.h"

#include <algorithm>

#include "output/number_format.h"
#include "words/letters.h"

namespace {

constexpr int kWordColumnLetters = 15;

std::string valueText(const ShownVariable& variable, int index) {
  const double value = variable.values[static_cast<size_t>(index)];
  return variable.computed ? fixedDecimals(value, 2) : shortestText(value);
}

void printOneList(const DrawnList& list, std::vector<const ListRow*> rows, std::ostream& out) {
  std::sort(rows.begin(), rows.end(),
            [](const ListRow* a, const ListRow* b) { return a->index < b->index; });
  out << "\ncount\tWord\t\tCategory";
  for (const ShownVariable& variable : list.variables) out << "\t" << variable.name;
  out << "\n";
  int count = 0;
  for (const ListRow* row : rows) {
    const std::string_view word = list.record(*row).word();
    const int pad = kWordColumnLetters - letterCount(word);
    out << ++count << "\t" << word << std::string(pad > 0 ? pad : 0, ' ') << "\t"
        << list.categoryName(*row);
    for (const ShownVariable& variable : list.variables)
      out << "\t" << valueText(variable, row->index);
    out << "\n";
  }
}

}  // namespace

void printDesignLists(const DrawnList& list, std::ostream& out) {
  for (int l = 1; l <= list.lists; ++l) {
    std::vector<const ListRow*> rows;
    for (const ListRow& row : list.rows) {
      if (row.list == l) rows.push_back(&row);
    }
    if (list.lists > 1) out << "\nList " << l << " of " << list.lists;
    printOneList(list, rows, out);
  }
}
