#include "select/result_table.h"

#include <cstdio>
#include <string>

namespace {

std::string formatRow(int row, const WordRecord& r, const std::string& label) {
  // printf keeps the column widths and the rounding of the ratings exact.
  const char* const kRow = "%d\t%-15s\t%s\t%.3f\t%.3f\t%d\t%d\n";
  const int size = std::snprintf(nullptr, 0, kRow, row, r.word.c_str(), label.c_str(), r.valMn,
                                 r.aroMn, r.len, r.freq);
  std::string text(static_cast<size_t>(size) + 1, '\0');
  std::snprintf(&text[0], text.size(), kRow, row, r.word.c_str(), label.c_str(), r.valMn, r.aroMn,
                r.len, r.freq);
  text.resize(static_cast<size_t>(size));
  return text;
}

std::string describe(int category, const LabelTable& labels) {
  return "category " + std::to_string(category) + " (label \"" + labelOf(labels, category) + "\")";
}

}  // namespace

void printList(const WordTable& table, int n, std::ostream& out) {
  out << "\ncount\tWord\t\tVal\tValMn\tAroMn\tLen\tFreq\n";
  int row = 0;
  for (int i = 0; i < n; ++i) {
    const WordRecord& r = table.records[i];
    if (r.chosen) out << formatRow(++row, r, labelOf(table.labels, r.category));
  }
}

void printShortfall(const SelectionResult& result, const LabelTable& labels, std::ostream& out) {
  if (result.complete()) return;
  out << "Only " << result.matched << " of " << result.wanted << " words could be matched.\n";
  const std::string which = describe(result.category, labels);
  switch (result.shortfall) {
    case Shortfall::CategoryEmpty:
      out << "No word of " << which << " is left to choose.\n";
      break;
    case Shortfall::NoMatchableAnchor:
      out << "No word of " << which << " left has a partner within " << kLengthTolerance
          << " letters and " << kFrequencyTolerance << " in frequency in every other category.\n";
      break;
    case Shortfall::DrawLimit:
      out << "Gave up on a group anchored in " << which << " after " << result.drawLimit
          << " draws.\n";
      break;
    case Shortfall::None:
      break;
  }
}
