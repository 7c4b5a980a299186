// The drawn groups as the exports, the report and the plot see them: dealt
// into lists, each group's words in the order of the categories in play.
#ifndef STIMSEL_OUTPUT_DRAWN_LIST_H_
#define STIMSEL_OUTPUT_DRAWN_LIST_H_

#include <cstdint>
#include <string>
#include <vector>

#include "select/selection.h"
#include "words/word_table.h"

struct ListRow {
  int list = 1;   // 1..L
  int group = 1;  // 1.. within its list
  bool anchor = false;
  int category = 1;  // 1..K, as in play
  int index = 0;     // the record in the table
};

// A variable of a design shown beside the words: its name as the user wrote
// it and its value for every record of the table. Computed Zipf values are
// printed rounded; every other value as it was read.
struct ShownVariable {
  std::string name;
  std::vector<double> values;
  bool computed = false;  // zipf: not a value of the file
};

struct DrawnList {
  const WordTable* table = nullptr;
  std::vector<AffectCategory> play;  // the affect design's categories in play
  // A design of the user's own categories: the name of category 1..K at
  // 0..K-1 ("neg/calm"), and the split and control variables shown with
  // every word. Both empty for the affect design.
  std::vector<std::string> categoryNames;
  std::vector<ShownVariable> variables;
  int lists = 1;
  std::vector<ListRow> rows;  // by list, group, category in play

  bool isAffect() const { return categoryNames.empty(); }
  // The shown variable of that name, in any letter case; null when none.
  const ShownVariable* variable(const std::string& name) const;
  // The category's name: "calm positive", or the design's "neg/calm".
  std::string categoryName(const ListRow& row) const {
    return isAffect() ? nameOf(categoryOf(row))
                      : categoryNames[static_cast<size_t>(row.category - 1)];
  }

  const WordRecord& record(const ListRow& row) const {
    return table->records[static_cast<size_t>(row.index)];
  }
  AffectCategory categoryOf(const ListRow& row) const {
    return play[static_cast<size_t>(row.category - 1)];
  }
};

// Deals the groups of `result` in turn to `lists` lists: group 1 to list 1,
// group 2 to list 2, ..., group L + 1 to list 1 again.
DrawnList dealList(const WordTable& table, const std::vector<AffectCategory>& play,
                   const SelectionResult& result, int lists);

// The same for rows given as their category number (`slot`: 1..K per
// record), the form every design has.
DrawnList dealDesignList(const WordTable& table, const std::vector<std::uint8_t>& slot,
                         const SelectionResult& result, int lists);

// "calm_positive" ... "aroused_neutral": the category's name as a column value.
std::string snakeName(AffectCategory category);

#endif  // STIMSEL_OUTPUT_DRAWN_LIST_H_
