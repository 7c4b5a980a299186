#include "output/result_table.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "words/letters.h"
#include "words/number_text.h"

namespace {

constexpr int kWordColumnLetters = 15;

std::string frequencyText(const WordRecord& r) {
  char buffer[64];
  if (r.wholeFreq) {
    std::snprintf(buffer, sizeof buffer, "%lld", static_cast<long long>(r.freq));
  } else {
    std::snprintf(buffer, sizeof buffer, "%.2f", r.freq);
  }
  return buffer;
}

std::string formatRow(int row, const WordRecord& r) {
  // printf keeps the rounding of the ratings exact; the word is padded by
  // letters so that a Cyrillic or Greek column lines up like an English one.
  char ratings[96];
  std::snprintf(ratings, sizeof ratings, "%.3f\t%.3f\t%d\t", r.valMn, r.aroMn, r.len);
  const int pad = kWordColumnLetters - letterCount(r.word());
  return std::to_string(row) + "\t" + std::string(r.word()) + std::string(pad > 0 ? pad : 0, ' ') +
         "\t" + labelOf(r.category) + "\t" + ratings + frequencyText(r) + "\n";
}

const std::string& describe(int category, const ShortfallTerms& terms) {
  return terms.categories[static_cast<size_t>(category - 1)];
}

}  // namespace

std::string plainNumber(double value, double reference) {
  return decimalText(value, reference);
}

void printList(const WordTable& table, const std::vector<int>& rows, std::ostream& out) {
  out << "\ncount\tWord\t\tVal\tValMn\tAroMn\tLen\tFreq\n";
  int row = 0;
  for (int i : rows) out << formatRow(++row, table.records[static_cast<size_t>(i)]);
}

void printLists(const WordTable& table, const SelectionResult& result, int lists,
                std::ostream& out) {
  if (lists == 1) {
    printList(table, result.chosenInTableOrder(), out);
    return;
  }
  for (int l = 0; l < lists; ++l) {
    std::vector<int> rows;
    for (size_t g = static_cast<size_t>(l); g < result.groups.size();
         g += static_cast<size_t>(lists)) {
      rows.insert(rows.end(), result.groups[g].begin(), result.groups[g].end());
    }
    std::sort(rows.begin(), rows.end());
    out << "\nList " << l + 1 << " of " << lists;
    printList(table, rows, out);
  }
}

void printLeftOut(int groups, int lists, std::ostream& out) {
  if (groups == 0) return;
  out << groups << " more groups were drawn but left out, so that all " << lists
      << " lists hold the same number of words of each category.\n";
}

ShortfallTerms affectShortfallTerms(const std::vector<AffectCategory>& play,
                                    const MatchRules& rules) {
  ShortfallTerms terms;
  for (size_t i = 0; i < play.size(); ++i) {
    terms.categories.push_back("category " + std::to_string(i + 1) + " (label \"" +
                               labelOf(play[i]) + "\")");
  }
  terms.tolerances = "within " + std::to_string(rules.lengthTolerance) + " letters and " +
                     plainNumber(rules.frequencyTolerance) +
                     (rules.zipf ? " in Zipf frequency" : " in frequency");
  terms.matchAll = rules.matchAll;
  terms.maxDrawsPerGroup = rules.maxDrawsPerGroup;
  return terms;
}

void printShortfall(const SelectionResult& result, const std::vector<AffectCategory>& play,
                    const MatchRules& rules, std::ostream& out) {
  printShortfall(result, affectShortfallTerms(play, rules), out);
}

void printShortfall(const SelectionResult& result, const ShortfallTerms& terms, std::ostream& out) {
  if (result.complete()) return;
  out << "Only " << result.matched << " of " << result.wanted << " words could be matched.\n";
  const std::string& which = describe(result.category, terms);
  switch (result.shortfall) {
    case Shortfall::CategoryEmpty:
      out << "No word of " << which << " is left to choose.\n";
      break;
    case Shortfall::NoMatchableAnchor:
      if (terms.matchAll) {
        out << "No word of " << which << " left fits a group whose words all lie "
            << terms.tolerances << " of each other.\n";
      } else {
        out << "No word of " << which << " left has a partner " << terms.tolerances
            << " in every other category.\n";
      }
      break;
    case Shortfall::DrawLimit:
      out << "Gave up on a group anchored in " << which << " after " << terms.maxDrawsPerGroup
          << " draws.\n";
      break;
    case Shortfall::Undecided:
      out << "Could not decide whether a word of " << which
          << " left fits a group: the search for one was cut short.\n";
      break;
    case Shortfall::None:
      break;
  }
}

void printSelectionNotes(const SelectionResult& result, const ShortfallTerms& terms,
                         std::ostream& out) {
  if (result.directGroups == 1) {
    out << "1 group was completed by direct draws after the random draw reached its limit.\n";
  } else if (result.directGroups > 1) {
    out << result.directGroups
        << " groups were completed by direct draws after the random draw reached its limit.\n";
  }
  // An empty category is named before the table already.
  if (result.complete() || result.shortfall == Shortfall::CategoryEmpty) return;
  out << "Of the categories in play, " << describe(result.scarcest, terms)
      << " has the fewest words left: " << result.scarcestLeft << ".\n";
}
