#include "design/design_text.h"

#include <limits>
#include <string>

#include "words/ascii_text.h"
#include "words/number_text.h"

namespace {

ReadError problem(const std::string& message) {
  return ReadError::alone("", message);
}

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view trim(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool isNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || isDigit(c) || c == '_' || c == '-' ||
         c == '.' || static_cast<unsigned char>(c) >= 0x80;
}

// A decimal number, or -inf/inf where `infinite` allows it.
bool parseBound(std::string_view text, double& value, std::string& why) {
  text = trim(text);
  const std::string lower = asciiLower(text);
  if (lower == "inf" || lower == "+inf" || lower == "-inf") {
    value = lower[0] == '-' ? -std::numeric_limits<double>::infinity()
                            : std::numeric_limits<double>::infinity();
    return true;
  }
  switch (parseDecimal(text, value)) {
    case NumberStatus::Ok:
      return true;
    case NumberStatus::OutOfRange:
      why = "\"" + std::string(text) + "\" is out of range (-1000000 to 1000000; -inf and inf " +
            "are allowed as bounds)";
      return false;
    case NumberStatus::NotANumber:
      break;
  }
  why = "\"" + std::string(text) + "\" is not a number (write a decimal number, -inf or inf)";
  return false;
}

// Reads one band starting at `pos` (white space skipped); advances `pos`
// past it.
Result<Band> parseBand(std::string_view text, size_t& pos) {
  Band band;
  const size_t start = pos;
  size_t open = pos;
  while (open < text.size() && text[open] != '[' && text[open] != '(' && !isBlank(text[open])) {
    ++open;
  }
  if (open < text.size() && open > start) {
    if (text[open - 1] != ':') {
      return problem("band \"" + std::string(text.substr(start, open - start)) +
                     "\" must be an interval such as [1,3] or name:[1,3]");
    }
    band.name = std::string(text.substr(start, open - 1 - start));
    for (char c : band.name) {
      if (!isNameChar(c)) {
        return problem("band name \"" + band.name +
                       "\" may hold only letters, digits, \"_\", \"-\" and \".\"");
      }
    }
    if (band.name.empty()) return problem("a band name is empty before \":\"");
  }
  if (open >= text.size() || (text[open] != '[' && text[open] != '(')) {
    return problem("band \"" + std::string(text.substr(start, open - start)) +
                   "\" has no interval; write it as [LOW,HIGH], with ( or ) for an open end");
  }
  const size_t close = text.find_first_of("])", open);
  const size_t comma = text.find(',', open);
  if (close == std::string_view::npos || comma == std::string_view::npos || comma > close) {
    return problem("interval \"" + std::string(text.substr(open)) +
                   "\" is not of the form [LOW,HIGH]");
  }
  std::string why;
  Interval& in = band.interval;
  in.lowClosed = text[open] == '[';
  in.highClosed = text[close] == ']';
  if (!parseBound(text.substr(open + 1, comma - open - 1), in.low, why) ||
      !parseBound(text.substr(comma + 1, close - comma - 1), in.high, why)) {
    return problem("interval " + std::string(text.substr(open, close + 1 - open)) + ": " + why);
  }
  if (!in.overlaps(in)) {
    return problem("interval " + std::string(text.substr(open, close + 1 - open)) +
                   " holds no value (its low bound must lie below its high bound)");
  }
  pos = close + 1;
  if (pos < text.size() && !isBlank(text[pos])) {
    return problem("put white space between bands (after " +
                   std::string(text.substr(start, pos - start)) + ")");
  }
  return band;
}

std::string bandText(const Band& band) {
  return band.name.empty() ? band.interval.text() : band.name + ":" + band.interval.text();
}

std::string checkBands(const Split& split) {
  for (size_t a = 0; a < split.bands.size(); ++a) {
    for (size_t b = a + 1; b < split.bands.size(); ++b) {
      const Band& first = split.bands[a];
      const Band& second = split.bands[b];
      if (first.interval.overlaps(second.interval)) {
        return "bands " + bandText(first) + " and " + bandText(second) + " overlap";
      }
      if (!first.name.empty() && first.name == second.name) {
        return "two bands are named \"" + first.name + "\"";
      }
    }
  }
  return "";
}

// "VARIABLE=REST": the trimmed variable and the rest.
bool splitAtEquals(std::string_view text, std::string& variable, std::string_view& rest) {
  const size_t equals = text.find('=');
  if (equals == std::string_view::npos) return false;
  variable = std::string(trim(text.substr(0, equals)));
  rest = text.substr(equals + 1);
  return !variable.empty();
}

struct Operator {
  const char* text;
  Relation op;
};
// Two-character operators first, so that "<=" is not read as "<".
constexpr Operator kOperators[] = {
    {"<=", Relation::LessOrEqual}, {">=", Relation::GreaterOrEqual},
    {"!=", Relation::NotEqual},    {"<", Relation::Less},
    {">", Relation::Greater},      {"=", Relation::Equal}};

}  // namespace

Result<Split> parseSplit(std::string_view text) {
  Split split;
  std::string_view rest;
  if (!splitAtEquals(text, split.variable, rest)) {
    return problem("expected VARIABLE=BAND BAND ..., such as 'valence=neg:[1,3) pos:(7,9]'");
  }
  size_t pos = 0;
  for (;;) {
    while (pos < rest.size() && isBlank(rest[pos])) ++pos;
    if (pos == rest.size()) break;
    Result<Band> band = parseBand(rest, pos);
    if (!band.ok()) return band.error();
    split.bands.push_back(std::move(band.value()));
  }
  if (split.bands.empty()) return problem("no band given for " + split.variable);
  const std::string bad = checkBands(split);
  if (!bad.empty()) return problem(bad);
  return split;
}

Result<Control> parseControl(std::string_view text) {
  Control control;
  std::string_view rest;
  if (!splitAtEquals(text, control.variable, rest)) {
    return problem("expected VARIABLE=TOLERANCE, such as 'zipf=0.2' or 'concreteness=0.5'");
  }
  const std::string_view value = trim(rest);
  if (parseDecimal(value, control.tolerance) != NumberStatus::Ok || control.tolerance < 0) {
    return problem("tolerance \"" + std::string(value) + "\" is not a number from 0 to 1000000");
  }
  return control;
}

Result<Condition> parseCondition(std::string_view text) {
  const size_t at = text.find_first_of("<>=!");
  Condition condition;
  condition.variable = std::string(trim(text.substr(0, at == std::string_view::npos ? 0 : at)));
  if (at == std::string_view::npos || condition.variable.empty()) {
    return problem("expected VARIABLE OP NUMBER with OP one of <, <=, >, >=, =, != (such as " +
                   std::string("'valence_sd<=2')"));
  }
  for (const Operator& o : kOperators) {
    const std::string_view op(o.text);
    if (text.compare(at, op.size(), op) != 0) continue;
    const std::string_view number = trim(text.substr(at + op.size()));
    std::string why;
    if (number.empty() || number.find_first_of("<>=!") == 0) break;
    if (!parseBound(number, condition.value, why)) return problem(why);
    condition.op = o.op;
    return condition;
  }
  return problem("unknown operator in \"" + std::string(text) +
                 "\": use one of <, <=, >, >=, =, !=");
}

std::string checkDesign(const Design& design) {
  long long categories = 1;
  for (size_t a = 0; a < design.splits.size(); ++a) {
    categories *= static_cast<long long>(design.splits[a].bands.size());
    if (categories > kMostCategories) {
      return "the splits make more than " + std::to_string(kMostCategories) +
             " categories; a group holds one word of each";
    }
    for (size_t b = 0; b < a; ++b) {
      if (asciiLower(design.splits[a].variable) == asciiLower(design.splits[b].variable)) {
        return design.splits[a].variable + " is split twice; give all its bands in one --split";
      }
    }
  }
  if (!design.splits.empty() && categories < 2) {
    return "the splits make only one category; a matched group needs at least two";
  }
  return "";
}
