#include "design/design_rows.h"

#include <algorithm>

#include "output/number_format.h"
#include "words/ascii_text.h"
#include "words/zipf.h"

namespace {

template <typename Field>
void fill(const WordTable& table, std::vector<double>& values, Field field) {
  values.resize(table.records.size());
  for (size_t i = 0; i < table.records.size(); ++i) values[i] = field(table.records[i]);
}

const NumericColumn* keptColumn(const WordTable& table, const std::string& name) {
  for (const NumericColumn& column : table.columns) {
    if (column.name == name) return &column;
  }
  for (const NumericColumn& column : table.columns) {
    if (asciiLower(column.name) == asciiLower(name)) return &column;
  }
  return nullptr;
}

// Per row, whether every filter holds.
std::vector<char> passesFilters(const Design& design, const WordTable& table) {
  std::vector<char> passes(table.records.size(), 1);
  std::vector<double> values;
  for (const Condition& filter : design.filters) {
    variableValues(table, filter.variable, values);
    for (size_t i = 0; i < values.size(); ++i) {
      if (!filter.holds(values[i])) passes[i] = 0;
    }
  }
  return passes;
}

std::vector<std::uint8_t> affectSlots(const std::vector<AffectCategory>& play,
                                      const WordTable& table) {
  std::vector<std::uint8_t> slot(table.records.size(), 0);
  for (size_t i = 0; i < table.records.size(); ++i) {
    const auto p = std::find(play.begin(), play.end(), table.records[i].category);
    if (p != play.end()) slot[i] = static_cast<std::uint8_t>(p - play.begin() + 1);
  }
  return slot;
}

std::vector<std::uint8_t> splitSlots(const Design& design, const WordTable& table) {
  std::vector<std::vector<int>> bands(table.records.size(),
                                      std::vector<int>(design.splits.size(), -1));
  std::vector<double> values;
  for (size_t s = 0; s < design.splits.size(); ++s) {
    variableValues(table, design.splits[s].variable, values);
    for (size_t i = 0; i < values.size(); ++i) bands[i][s] = design.splits[s].bandOf(values[i]);
  }
  std::vector<std::uint8_t> slot(table.records.size(), 0);
  for (size_t i = 0; i < slot.size(); ++i) {
    slot[i] = static_cast<std::uint8_t>(design.categoryOf(bands[i]));
  }
  return slot;
}

}  // namespace

bool variableValues(const WordTable& table, const std::string& variable,
                    std::vector<double>& values) {
  // Computed variables first: the frequency may come from a joined file,
  // never from a column of the same name.
  const std::string name = asciiLower(variable);
  if (name == "length") {
    fill(table, values, [](const WordRecord& r) { return r.len; });
  } else if (name == "frequency") {
    fill(table, values, [](const WordRecord& r) { return r.freq; });
  } else if (name == "zipf") {
    fill(table, values, [](const WordRecord& r) { return zipfOf(r.freq); });
  } else if (const NumericColumn* column = keptColumn(table, variable)) {
    values = column->values;
  } else if (name == "valence") {
    fill(table, values, [](const WordRecord& r) { return asWritten(r.valMn); });
  } else if (name == "arousal") {
    fill(table, values, [](const WordRecord& r) { return asWritten(r.aroMn); });
  } else if (name == "valence_sd" && table.hasValenceSd) {
    fill(table, values, [](const WordRecord& r) { return asWritten(r.valSd); });
  } else {
    return false;
  }
  return true;
}

DesignRows applyDesign(const Design& design, const std::vector<Control>& controls,
                       const std::vector<AffectCategory>& play, const WordTable& table) {
  DesignRows rows;
  rows.categories = design.isAffect() ? static_cast<int>(play.size()) : design.categoryCount();
  rows.slot = design.isAffect() ? affectSlots(play, table) : splitSlots(design, table);
  rows.category = rows.slot;
  rows.barredByFilter.assign(rows.slot.size(), 0);
  const std::vector<char> passes = passesFilters(design, table);
  for (size_t i = 0; i < rows.slot.size(); ++i) {
    if (rows.slot[i] == 0) continue;
    if (!table.records[i].canBeChosen()) {
      rows.slot[i] = 0;
    } else if (!passes[i]) {
      rows.slot[i] = 0;
      rows.barredByFilter[i] = 1;
      ++rows.filteredOut;
    }
  }
  const size_t n = table.records.size();
  rows.controls.values.assign(n * controls.size(), 0);
  std::vector<double> values;
  for (size_t c = 0; c < controls.size(); ++c) {
    rows.controls.tolerances.push_back(controls[c].tolerance);
    variableValues(table, controls[c].variable, values);
    for (size_t i = 0; i < n; ++i) rows.controls.values[i * controls.size() + c] = values[i];
  }
  return rows;
}
