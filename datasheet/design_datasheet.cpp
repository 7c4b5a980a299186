#include "datasheet/design_datasheet.h"

#include <algorithm>

#include "words/ascii_text.h"

namespace {

SheetControl sheetControl(const Control& control, const AffectRunFacts& facts) {
  const std::string name = asciiLower(control.variable);
  const EquivalenceBound pooled{facts.pooledSdBound, EquivalenceBound::Unit::PooledSd};
  if (name == "length") {
    return {"length", "letters", control.tolerance, 0,
            boundOf(facts.lengthBound, facts.pooledSdBound)};
  }
  if (name == "zipf") {
    return {"Zipf frequency", "Zipf units", control.tolerance, 2,
            boundOf(facts.frequencyBound, facts.pooledSdBound)};
  }
  if (name == "frequency") {
    return {"frequency", facts.frequencyPerMillion ? "per million" : "frequency units",
            control.tolerance, 2, boundOf(facts.frequencyBound, facts.pooledSdBound)};
  }
  return {control.variable, "units", control.tolerance, 2, pooled};
}

GroupCapacity capacityOf(const DesignRows& rows, bool matchAll, bool everyCategoryAnchors) {
  CapacityInput input;
  input.categories = rows.categories;
  input.matchAll = matchAll;
  input.categoryOf.assign(rows.slot.begin(), rows.slot.end());
  const auto n = static_cast<int>(rows.slot.size());
  for (int c = 0; c < rows.controls.count(); ++c) {
    CapacityControl control{{}, rows.controls.tolerances[static_cast<size_t>(c)]};
    control.values.reserve(rows.slot.size());
    for (int r = 0; r < n; ++r) control.values.push_back(rows.controls.value(r, c));
    input.controls.push_back(std::move(control));
  }
  const int anchors = everyCategoryAnchors ? rows.categories : rows.categories - 1;
  for (int c = 1; c <= anchors; ++c) input.anchorCycle.push_back(c);
  if (input.anchorCycle.empty()) input.anchorCycle.push_back(1);
  return greedyGroupCapacity(input);
}

// "valence in [1,4) and concreteness in [3.5,5]": a category's bands.
std::string categoryRule(const Design& design, int category) {
  const std::vector<int> bands = design.bandsOf(category);
  std::string rule;
  for (size_t s = 0; s < design.splits.size(); ++s) {
    const Split& split = design.splits[s];
    rule += (s == 0 ? "" : " and ") + split.variable + " in " +
            split.bands[static_cast<size_t>(bands[s])].interval.text();
  }
  return rule;
}

std::vector<Removal> removals(const WordTable& table, const Design& design, const DesignRows& rows,
                              const AffectRunFacts& facts) {
  long long repeated = 0;
  long long outside = 0;
  long long partOfSpeech = 0;
  long long exclusion = 0;
  long long filtered = 0;
  const bool known = facts.barredByPartOfSpeech.size() == table.records.size();
  for (size_t i = 0; i < table.records.size(); ++i) {
    const WordRecord& r = table.records[i];
    if (r.duplicate) {
      ++repeated;
    } else if (rows.category[i] == 0) {
      ++outside;
    } else if (r.excluded) {
      ++((known ? facts.barredByPartOfSpeech[i] : facts.partOfSpeechFilter) ? partOfSpeech
                                                                            : exclusion);
    } else if (rows.barredByFilter[i] != 0) {
      ++filtered;
    }
  }
  std::vector<Removal> removed = facts.removedWhileLoading;
  removed.push_back({"repeats of a word listed earlier in the file", repeated});
  removed.push_back({"outside every category of the design", outside});
  if (facts.partOfSpeechFilter)
    removed.push_back({"not of the part of speech asked for", partOfSpeech});
  if (facts.exclusionList) removed.push_back({"on the exclusion list", exclusion});
  if (!design.filters.empty()) removed.push_back({"not meeting " + design.filtersText(), filtered});
  return removed;
}

}  // namespace

void addFilterRemoval(DatasheetInput& input, const Design& design, const DesignRows& rows) {
  if (design.filters.empty()) return;
  input.removed.push_back({"not meeting " + design.filtersText(), rows.filteredOut});
}

void useDesignControls(DatasheetInput& input, const DrawnList& list, const DesignRows& rows,
                       const std::vector<Control>& controls, bool everyCategoryAnchors,
                       const AffectRunFacts& facts) {
  input.controls.clear();
  for (const Control& control : controls) input.controls.push_back(sheetControl(control, facts));
  input.capacity = capacityOf(rows, input.matchAll, everyCategoryAnchors);
  for (size_t c = 0; c < input.categories.size(); ++c) {
    long long eligible = 0;
    for (std::uint8_t slot : rows.slot) eligible += slot == c + 1;
    input.categories[c].eligible = eligible;
  }
  input.words.clear();
  for (const ListRow& row : list.rows) {
    std::vector<double> values;
    values.reserve(static_cast<size_t>(rows.controls.count()));
    for (int c = 0; c < rows.controls.count(); ++c)
      values.push_back(rows.controls.value(row.index, c));
    input.words.push_back({std::string(list.record(row).word()), row.list, row.group, row.category,
                           row.anchor, std::move(values)});
  }
}

DatasheetInput splitDatasheetInput(const WordTable& table, const DrawnList& list,
                                   const Design& design, const DesignRows& rows,
                                   const std::vector<Control>& controls, bool matchAll,
                                   long long wantedWords, const AffectRunFacts& facts) {
  const bool zipf = std::any_of(controls.begin(), controls.end(),
                                [](const Control& c) { return asciiLower(c.variable) == "zipf"; });
  DatasheetInput input = datasheetOfRun(table, facts, zipf);
  std::string splits;
  for (size_t i = 0; i < design.splits.size(); ++i) {
    const char* joint = i == 0 ? "" : i + 1 == design.splits.size() ? " and " : ", ";
    splits += joint + design.splits[i].text();
  }
  input.sortedBy =
      (design.splits.size() > 1 ? "by the combinations of the bands of " : "by the bands of ") +
      splits + " (a square bracket includes its bound, a parenthesis excludes it)";
  input.removed = removals(table, design, rows, facts);
  for (int c = 1; c <= rows.categories; ++c) {
    input.categories.push_back({design.categoryName(c), categoryRule(design, c), 0});
  }
  input.boundsGiven = facts.boundsGiven;
  input.matchAll = matchAll;
  input.anchorRule = "anchors were taken from every category in turn";
  input.lists = list.lists;
  input.wantedWords = wantedWords;
  useDesignControls(input, list, rows, controls, true, facts);
  if (facts.balance) input.balance = sheetBalanceOf(*facts.balance);
  input.latinSquare = facts.latinSquare;
  return input;
}
