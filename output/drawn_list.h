// The drawn groups as the exports, the report and the plot see them: dealt
// into lists, each group's words in the order of the categories in play.
#ifndef STIMSEL_OUTPUT_DRAWN_LIST_H_
#define STIMSEL_OUTPUT_DRAWN_LIST_H_

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

struct DrawnList {
  const WordTable* table = nullptr;
  std::vector<AffectCategory> play;
  int lists = 1;
  std::vector<ListRow> rows;  // by list, group, category in play

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

// "calm_positive" ... "aroused_neutral": the category's name as a column value.
std::string snakeName(AffectCategory category);

#endif  // STIMSEL_OUTPUT_DRAWN_LIST_H_
