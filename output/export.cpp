#include "output/export.h"

#include <array>
#include <nlohmann/json.hpp>
#include <vector>

#include "output/number_format.h"
#include "words/ascii_text.h"
#include "words/letters.h"

namespace {

using Json = nlohmann::ordered_json;

constexpr std::array<const char*, 14> kColumns = {
    "list",    "group",      "role",    "category", "category_name", "label", "word",
    "valence", "valence_sd", "arousal", "length",   "frequency",     "pos",   "source_line"};

// One cell of a row: its column, its text in CSV and TSV, its JSON value.
struct Cell {
  const char* column;
  std::string text;
  Json json;
};

Json frequencyJson(const WordRecord& r) {
  return r.wholeFreq ? Json(static_cast<long long>(r.freq)) : Json(r.freq);
}

std::vector<Cell> affectCells(const DrawnList& list, const ListRow& row) {
  const WordRecord& r = list.record(row);
  const AffectCategory c = list.categoryOf(row);
  const bool sd = list.table->hasValenceSd;
  return {{"category_name", snakeName(c), snakeName(c)},
          {"label", labelOf(c), labelOf(c)},
          {"word", std::string(r.word()), std::string(r.word())},
          {"valence", shortestText(r.valMn), asWritten(r.valMn)},
          {"valence_sd", sd ? shortestText(r.valSd) : "", sd ? Json(asWritten(r.valSd)) : Json()},
          {"arousal", shortestText(r.aroMn), asWritten(r.aroMn)},
          {"length", std::to_string(r.len), r.len},
          {"frequency", shortestText(r.freq), frequencyJson(r)}};
}

// A design's own categories: the category's name, then every split and
// control variable under the name the design gave it.
std::vector<Cell> designCells(const DrawnList& list, const ListRow& row) {
  const WordRecord& r = list.record(row);
  const std::string name = list.categoryName(row);
  std::vector<Cell> cells = {{"category_name", name, name},
                             {"word", std::string(r.word()), std::string(r.word())}};
  for (const ShownVariable& variable : list.variables) {
    const double read = variable.values[static_cast<size_t>(row.index)];
    const double value = variable.computed ? dataFigure(read) : read;
    cells.push_back({variable.name.c_str(), shortestText(value), value});
  }
  return cells;
}

// One row's cells in the order of the columns.
std::vector<Cell> cellsOf(const DrawnList& list, const ListRow& row, const std::string& pos) {
  const std::string role = row.anchor ? "anchor" : "partner";
  std::vector<Cell> cells = {{"list", std::to_string(row.list), row.list},
                             {"group", std::to_string(row.group), row.group},
                             {"role", role, role},
                             {"category", std::to_string(row.category), row.category}};
  for (Cell& cell : list.isAffect() ? affectCells(list, row) : designCells(list, row)) {
    cells.push_back(std::move(cell));
  }
  const long long line = list.record(row).sourceLine;
  cells.push_back({"pos", pos, pos});
  cells.push_back({"source_line", std::to_string(line), line});
  return cells;
}

std::vector<std::string> columnsOf(const DrawnList& list) {
  if (list.isAffect()) return {kColumns.begin(), kColumns.end()};
  std::vector<std::string> columns = {"list", "group", "role", "category", "category_name", "word"};
  for (const ShownVariable& variable : list.variables) columns.push_back(variable.name);
  columns.emplace_back("pos");
  columns.emplace_back("source_line");
  return columns;
}

// Quoted when it holds the delimiter, a quote or a line break, so that R,
// Python's csv module and spreadsheets read back the same bytes.
std::string quotedCell(const std::string& cell, char delimiter) {
  if (cell.find_first_of(std::string(1, delimiter) + "\"\r\n") == std::string::npos) return cell;
  std::string quoted = "\"";
  for (char ch : cell) quoted += ch == '"' ? std::string("\"\"") : std::string(1, ch);
  return quoted + "\"";
}

void writeDelimited(const DrawnList& list, const std::string& pos, char delimiter,
                    std::ostream& out) {
  const char* const eol = delimiter == ',' ? "\r\n" : "\n";
  const std::vector<std::string> columns = columnsOf(list);
  for (size_t i = 0; i < columns.size(); ++i) {
    if (i > 0) out << delimiter;
    out << quotedCell(columns[i], delimiter);
  }
  out << eol;
  for (const ListRow& row : list.rows) {
    const std::vector<Cell> cells = cellsOf(list, row, pos);
    for (size_t i = 0; i < cells.size(); ++i) {
      if (i > 0) out << delimiter;
      out << quotedCell(cells[i].text, delimiter);
    }
    out << eol;
  }
}

void writeJson(const DrawnList& list, const std::string& pos, std::ostream& out) {
  Json rows = Json::array();
  for (const ListRow& row : list.rows) {
    Json o;
    for (Cell& cell : cellsOf(list, row, pos)) o[cell.column] = std::move(cell.json);
    rows.push_back(std::move(o));
  }
  // The run refuses words that are not valid UTF-8 before it gets here
  // (firstWordJsonWouldChange); replacing is only the last defence.
  out << rows.dump(2, ' ', false, Json::error_handler_t::replace) << "\n";
}

}  // namespace

std::optional<ExportFormat> exportFormatOf(const std::string& path) {
  if (hasExtension(path, ".csv")) return ExportFormat::Csv;
  if (hasExtension(path, ".tsv")) return ExportFormat::Tsv;
  if (hasExtension(path, ".json")) return ExportFormat::Json;
  return std::nullopt;
}

std::optional<ExportFormat> parseExportFormat(const std::string& name) {
  if (name == "csv") return ExportFormat::Csv;
  if (name == "tsv") return ExportFormat::Tsv;
  if (name == "json") return ExportFormat::Json;
  return std::nullopt;
}

std::optional<ListRow> firstWordJsonWouldChange(const DrawnList& list) {
  for (const ListRow& row : list.rows) {
    if (!isValidUtf8(list.record(row).word())) return row;
  }
  return std::nullopt;
}

int formulaLookingWords(const DrawnList& list) {
  int count = 0;
  for (const ListRow& row : list.rows) {
    const std::string_view word = list.record(row).word();
    count += !word.empty() && std::string_view("=+-@").find(word[0]) != std::string_view::npos;
  }
  return count;
}

void writeExport(const DrawnList& list, const std::string& pos, ExportFormat format,
                 std::ostream& out) {
  switch (format) {
    case ExportFormat::Csv:
      writeDelimited(list, pos, ',', out);
      break;
    case ExportFormat::Tsv:
      writeDelimited(list, pos, '\t', out);
      break;
    case ExportFormat::Json:
      writeJson(list, pos, out);
      break;
  }
}
