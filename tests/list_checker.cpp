#include "tests/list_checker.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <sstream>

#include "tables/delimited_reader.h"

namespace {

const std::string kTableHeader = "count\tWord\t\tVal\tValMn\tAroMn\tLen\tFreq";

std::vector<std::string> split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::string part;
  std::istringstream in(text);
  while (std::getline(in, part, separator)) parts.push_back(part);
  if (!text.empty() && text.back() == separator) parts.emplace_back();
  return parts;
}

bool isNumber(const std::string& text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

// The value of option `name` in `args` ("--name V" or "--name=V"), if given;
// the last one counts, as on the command line.
std::optional<std::string> optionValue(const std::vector<std::string>& args,
                                       const std::string& name) {
  std::optional<std::string> value;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--" + name && i + 1 < args.size()) value = args[i + 1];
    if (args[i].rfind("--" + name + "=", 0) == 0) value = args[i].substr(name.size() + 3);
  }
  return value;
}

bool hasOption(const std::vector<std::string>& args, const std::string& name) {
  return std::any_of(args.begin(), args.end(), [&name](const std::string& a) {
    return a == "--" + name || a.rfind("--" + name + "=", 0) == 0;
  });
}

double zipf(double perMillion) {
  return std::log10(std::max(perMillion, 0.01)) + 3;
}

// Within `rules` of each other; the slack only absorbs rounding in log10.
bool close(const std::map<std::string, std::string>& a, const std::map<std::string, std::string>& b,
           const Tolerances& rules) {
  const int lengths = std::abs(std::stoi(a.at("length")) - std::stoi(b.at("length")));
  double fa = std::stod(a.at("frequency"));
  double fb = std::stod(b.at("frequency"));
  if (rules.zipf) {
    fa = zipf(fa);
    fb = zipf(fb);
  }
  return lengths <= rules.length && std::fabs(fa - fb) <= rules.frequency + 1e-9;
}

std::string threeDecimals(const std::string& value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.3f", static_cast<double>(std::stof(value)));
  return buffer;
}

// The table prints a whole frequency as it is and any other with two decimals.
std::string printedFrequency(const std::string& exported, const std::string& printed) {
  if (printed.find('.') == std::string::npos) return exported;
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.2f", std::stod(exported));
  return buffer;
}

// The export a run wrote, with its format, or nothing.
std::optional<ExportRows> exportOf(const std::string& dir, const std::vector<std::string>& args,
                                   const std::string& output) {
  const std::optional<std::string> out = optionValue(args, "out");
  if (!out) return std::nullopt;
  std::string format = optionValue(args, "out-format").value_or("");
  const auto endsWith = [&out](const char* ending) {
    const std::string e = ending;
    return out->size() >= e.size() && out->compare(out->size() - e.size(), e.size(), e) == 0;
  };
  if (format.empty()) format = endsWith(".json") ? "json" : endsWith(".tsv") ? "tsv" : "csv";
  std::string text = output;
  if (*out != "-") {
    const std::string path = out->front() == '/' ? *out : dir + "/" + *out;
    std::ifstream probe(path);
    if (!probe) return std::nullopt;
    text = fileText(path);
  }
  if (format == "json") return readJsonExport(text);
  return readDelimitedExport(text, format == "tsv" ? '\t' : ',');
}

}  // namespace

std::vector<PrintedRow> printedRows(const std::string& output) {
  std::vector<PrintedRow> rows;
  int list = 1;
  bool inTable = false;
  for (const std::string& line : split(output, '\n')) {
    int heading = 0;
    int of = 0;
    if (std::sscanf(line.c_str(), "List %d of %d", &heading, &of) == 2) list = heading;
    if (line == kTableHeader) {
      inTable = true;
      continue;
    }
    const std::vector<std::string> cells = split(line, '\t');
    if (!inTable || cells.size() != 7 || !isNumber(cells[0])) {
      inTable = false;
      continue;
    }
    std::string word = cells[1];
    word.erase(word.find_last_not_of(' ') + 1);
    rows.push_back({list, word, cells[2], cells[3], cells[4], cells[5], cells[6]});
  }
  return rows;
}

ExportRows readDelimitedExport(const std::string& text, char delimiter) {
  std::istringstream in(text);
  DelimitedReader reader(in, delimiter, "export");
  std::vector<std::string> header;
  std::vector<std::string> fields;
  ExportRows rows;
  if (!reader.next(header)) return rows;
  while (reader.next(fields)) {
    auto& row = rows.emplace_back();
    for (size_t i = 0; i < header.size() && i < fields.size(); ++i) row[header[i]] = fields[i];
    if (fields.size() != header.size()) row["(cells)"] = std::to_string(fields.size());
  }
  if (reader.error()) rows.push_back({{"(error)", reader.error()->text()}});
  return rows;
}

ExportRows readJsonExport(const std::string& text) {
  ExportRows rows;
  const nlohmann::json parsed = nlohmann::json::parse(text, nullptr, false);
  if (!parsed.is_array()) return {{{"(error)", "not a JSON array"}}};
  for (const auto& object : parsed) {
    auto& row = rows.emplace_back();
    for (const auto& [key, value] : object.items()) {
      row[key] = value.is_string() ? value.get<std::string>() : value.is_null() ? "" : value.dump();
    }
  }
  return rows;
}

Tolerances tolerancesOf(const std::vector<std::string>& args) {
  Tolerances rules;
  if (auto v = optionValue(args, "length-tolerance")) rules.length = std::stoi(*v);
  // The last of the two frequency rules counts.
  for (size_t i = 0; i < args.size(); ++i) {
    for (const std::string name : {"frequency-tolerance", "zipf-tolerance"}) {
      std::optional<std::string> value;
      if (args[i] == "--" + name && i + 1 < args.size()) value = args[i + 1];
      if (args[i].rfind("--" + name + "=", 0) == 0) value = args[i].substr(name.size() + 3);
      if (!value) continue;
      rules.frequency = std::stod(*value);
      rules.zipf = name == "zipf-tolerance";
    }
  }
  rules.all = optionValue(args, "match").value_or("anchor") == "all";
  return rules;
}

::testing::AssertionResult printedListHolds(const std::string& output) {
  const std::vector<PrintedRow> rows = printedRows(output);
  std::set<std::string> seen;
  for (const PrintedRow& row : rows) {
    if (!seen.insert(row.word).second) {
      return ::testing::AssertionFailure() << "the word '" << row.word << "' is printed twice";
    }
  }
  long long matched = 0;
  long long wanted = 0;
  const size_t only = output.find("Only ");
  if (only != std::string::npos && output.find(kTableHeader) != std::string::npos &&
      std::sscanf(output.c_str() + only, "Only %lld of %lld words", &matched, &wanted) == 2 &&
      matched != static_cast<long long>(rows.size())) {
    return ::testing::AssertionFailure()
           << "the shortfall says " << matched << " words but " << rows.size() << " are printed";
  }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult exportHolds(const ExportRows& rows, const Tolerances& rules) {
  std::set<std::string> names;
  std::set<std::string> words;
  std::map<std::pair<int, int>, ExportRows> groups;
  for (const auto& row : rows) {
    if (row.count("(error)") || row.count("(cells)") || !row.count("word")) {
      return ::testing::AssertionFailure() << "an export row does not read back";
    }
    names.insert(row.at("category_name"));
    if (!words.insert(row.at("word")).second) {
      return ::testing::AssertionFailure()
             << "the word '" << row.at("word") << "' is exported twice";
    }
    groups[{std::stoi(row.at("list")), std::stoi(row.at("group"))}].push_back(row);
  }
  for (const auto& [key, group] : groups) {
    const std::string where =
        "list " + std::to_string(key.first) + " group " + std::to_string(key.second);
    std::set<std::string> categories;
    int anchors = 0;
    for (const auto& row : group) {
      categories.insert(row.at("category"));
      anchors += row.at("role") == "anchor";
    }
    if (group.size() != names.size() || categories.size() != names.size() || anchors != 1) {
      return ::testing::AssertionFailure()
             << where << " is not one word of each of " << names.size() << " categories";
    }
    const auto anchor = std::find_if(group.begin(), group.end(),
                                     [](const auto& r) { return r.at("role") == "anchor"; });
    for (size_t i = 0; i < group.size(); ++i) {
      for (size_t j = i + 1; j < group.size(); ++j) {
        const bool compared = rules.all || &group[i] == &*anchor || &group[j] == &*anchor;
        if (compared && !close(group[i], group[j], rules)) {
          return ::testing::AssertionFailure() << where << ": " << group[i].at("word") << " and "
                                               << group[j].at("word") << " are not within the "
                                               << "tolerances";
        }
      }
    }
  }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult exportMatchesTable(const ExportRows& rows,
                                              const std::vector<PrintedRow>& printed) {
  ExportRows ordered = rows;
  std::stable_sort(ordered.begin(), ordered.end(), [](const auto& a, const auto& b) {
    return std::make_pair(std::stoi(a.at("list")), std::stoi(a.at("source_line"))) <
           std::make_pair(std::stoi(b.at("list")), std::stoi(b.at("source_line")));
  });
  if (ordered.size() != printed.size()) {
    return ::testing::AssertionFailure()
           << "the export holds " << ordered.size() << " words, the table " << printed.size();
  }
  for (size_t i = 0; i < printed.size(); ++i) {
    const auto& e = ordered[i];
    const PrintedRow& p = printed[i];
    const std::vector<std::pair<std::string, std::string>> cells = {
        {std::to_string(p.list), e.at("list")},
        {p.word, e.at("word")},
        {p.label, e.at("label")},
        {p.valence, threeDecimals(e.at("valence"))},
        {p.arousal, threeDecimals(e.at("arousal"))},
        {p.length, e.at("length")},
        {p.frequency, printedFrequency(e.at("frequency"), p.frequency)}};
    for (const auto& [inTable, inExport] : cells) {
      if (inTable != inExport) {
        return ::testing::AssertionFailure()
               << "row " << i + 1 << " (" << p.word << "): the table "
               << "prints '" << inTable << "', the export holds '" << inExport << "'";
      }
    }
  }
  return ::testing::AssertionSuccess();
}

RunResult runChecked(const std::string& dir, const std::vector<std::string>& args,
                     const std::string& redirect) {
  // The report and the plot print the command line, so an added export
  // would show there; such runs are checked on what they name themselves.
  const bool addExport =
      !hasOption(args, "out") && !hasOption(args, "report") && !hasOption(args, "plot");
  TempDir scratch;
  std::vector<std::string> checkedArgs = args;
  if (addExport) {
    checkedArgs.insert(checkedArgs.begin(), {"--out", scratch.path() + "/checked-list.csv"});
  }
  RunResult r = runStimsel(dir, checkedArgs, redirect);
  EXPECT_TRUE(printedListHolds(r.output)) << r.output;
  if (r.status != 0 && r.status != 3) return r;
  const std::optional<ExportRows> exported = exportOf(dir, checkedArgs, r.output);
  if (!exported) return r;
  EXPECT_TRUE(exportHolds(*exported, tolerancesOf(args)));
  if (optionValue(checkedArgs, "out") != "-") {
    EXPECT_TRUE(exportMatchesTable(*exported, printedRows(r.output)));
  }
  return r;
}
