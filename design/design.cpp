#include "design/design.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "words/ascii_text.h"
#include "words/number_text.h"

namespace {

// The shortest text that reads back as `value`, "inf" and "-inf" for the
// infinite bounds: what the user wrote, in most cases.
std::string boundText(double value) {
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  // Plain decimals where they read back exactly; the full form otherwise,
  // so that a band's text names the very bound it compares with.
  std::string plain = decimalText(value);
  if (std::strtod(plain.c_str(), nullptr) == value) return plain;
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.17g", value);
  return buffer;
}

const char* operatorText(Relation op) {
  switch (op) {
    case Relation::Less:
      return "<";
    case Relation::LessOrEqual:
      return "<=";
    case Relation::Greater:
      return ">";
    case Relation::GreaterOrEqual:
      return ">=";
    case Relation::Equal:
      return "=";
    case Relation::NotEqual:
      return "!=";
  }
  return "?";
}

}  // namespace

bool Interval::contains(double value) const {
  const bool aboveLow = lowClosed ? value >= low : value > low;
  const bool belowHigh = highClosed ? value <= high : value < high;
  return aboveLow && belowHigh;
}

bool Interval::overlaps(const Interval& other) const {
  // The larger low bound and the smaller high bound: the intersection.
  const bool thisLowIsLarger = low > other.low || (low == other.low && !lowClosed);
  const double from = thisLowIsLarger ? low : other.low;
  const bool fromClosed = thisLowIsLarger ? lowClosed : other.lowClosed;
  const bool thisHighIsSmaller = high < other.high || (high == other.high && !highClosed);
  const double to = thisHighIsSmaller ? high : other.high;
  const bool toClosed = thisHighIsSmaller ? highClosed : other.highClosed;
  return from < to || (from == to && fromClosed && toClosed);
}

std::string Interval::text() const {
  return std::string(lowClosed ? "[" : "(") + boundText(low) + "," + boundText(high) +
         (highClosed ? "]" : ")");
}

std::string Band::label() const {
  return name.empty() ? interval.text() : name;
}

int Split::bandOf(double value) const {
  for (size_t b = 0; b < bands.size(); ++b) {
    if (bands[b].interval.contains(value)) return static_cast<int>(b);
  }
  return -1;
}

bool Condition::holds(double x) const {
  switch (op) {
    case Relation::Less:
      return x < value;
    case Relation::LessOrEqual:
      return x <= value;
    case Relation::Greater:
      return x > value;
    case Relation::GreaterOrEqual:
      return x >= value;
    case Relation::Equal:
      return x == value;
    case Relation::NotEqual:
      return x != value;
  }
  return false;
}

std::string Condition::text() const {
  return variable + " " + operatorText(op) + " " + boundText(value);
}

int Design::categoryCount() const {
  if (splits.empty()) return 0;
  int count = 1;
  for (const Split& split : splits) count *= static_cast<int>(split.bands.size());
  return count;
}

int Design::categoryOf(const std::vector<int>& bands) const {
  int category = 0;
  for (size_t s = 0; s < splits.size(); ++s) {
    if (bands[s] < 0) return 0;
    category = category * static_cast<int>(splits[s].bands.size()) + bands[s];
  }
  return category + 1;
}

std::vector<int> Design::bandsOf(int category) const {
  std::vector<int> bands(splits.size(), 0);
  int rest = category - 1;
  for (size_t s = splits.size(); s-- > 0;) {
    const int count = static_cast<int>(splits[s].bands.size());
    bands[s] = rest % count;
    rest /= count;
  }
  return bands;
}

std::string Design::filtersText() const {
  std::string text;
  for (size_t i = 0; i < filters.size(); ++i) text += (i == 0 ? "" : " and ") + filters[i].text();
  return text;
}

std::string Split::text() const {
  std::string list;
  for (size_t i = 0; i < bands.size(); ++i) {
    const Band& band = bands[i];
    list += (i == 0 ? "" : ", ") +
            (band.name.empty() ? band.interval.text() : band.name + " " + band.interval.text());
  }
  return variable + " (" + list + ")";
}

std::string Design::categoryName(int category) const {
  const std::vector<int> bands = bandsOf(category);
  std::string name;
  for (size_t s = 0; s < splits.size(); ++s) {
    name += (s == 0 ? "" : "/") + splits[s].bands[static_cast<size_t>(bands[s])].label();
  }
  return name;
}

std::vector<std::string> Design::variables() const {
  std::vector<std::string> names;
  const auto add = [&names](const std::string& variable) {
    for (const std::string& known : names) {
      if (asciiLower(known) == asciiLower(variable)) return;
    }
    names.push_back(variable);
  };
  for (const Split& split : splits) add(split.variable);
  for (const Control& control : controls) add(control.variable);
  for (const Condition& filter : filters) add(filter.variable);
  return names;
}

std::vector<std::string> Design::fileVariables() const {
  std::vector<std::string> names = variables();
  names.erase(std::remove_if(names.begin(), names.end(), isComputedVariable), names.end());
  return names;
}

bool isComputedVariable(const std::string& variable) {
  const std::string name = asciiLower(variable);
  return name == "length" || name == "frequency" || name == "zipf";
}
