#include "output/export.h"

#include <array>
#include <nlohmann/json.hpp>
#include <vector>

#include "output/number_format.h"
#include "words/ascii_text.h"
#include "words/letters.h"

namespace {

constexpr std::array<const char*, 14> kColumns = {
    "list",    "group",      "role",    "category", "category_name", "label", "word",
    "valence", "valence_sd", "arousal", "length",   "frequency",     "pos",   "source_line"};

// One row's cells as text, in the order of kColumns.
std::vector<std::string> cellsOf(const DrawnList& list, const ListRow& row,
                                 const std::string& pos) {
  const WordRecord& r = list.record(row);
  const AffectCategory c = list.categoryOf(row);
  return {std::to_string(row.list),
          std::to_string(row.group),
          row.anchor ? "anchor" : "partner",
          std::to_string(row.category),
          snakeName(c),
          labelOf(c),
          r.word,
          shortestText(r.valMn),
          list.table->hasValenceSd ? shortestText(r.valSd) : "",
          shortestText(r.aroMn),
          std::to_string(r.len),
          shortestText(r.freq),
          pos,
          std::to_string(r.sourceLine)};
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
  for (size_t i = 0; i < kColumns.size(); ++i) {
    if (i > 0) out << delimiter;
    out << kColumns[i];
  }
  out << eol;
  for (const ListRow& row : list.rows) {
    const std::vector<std::string> cells = cellsOf(list, row, pos);
    for (size_t i = 0; i < cells.size(); ++i) {
      if (i > 0) out << delimiter;
      out << quotedCell(cells[i], delimiter);
    }
    out << eol;
  }
}

void writeJson(const DrawnList& list, const std::string& pos, std::ostream& out) {
  nlohmann::ordered_json rows = nlohmann::ordered_json::array();
  for (const ListRow& row : list.rows) {
    const WordRecord& r = list.record(row);
    const AffectCategory c = list.categoryOf(row);
    nlohmann::ordered_json o;
    o["list"] = row.list;
    o["group"] = row.group;
    o["role"] = row.anchor ? "anchor" : "partner";
    o["category"] = row.category;
    o["category_name"] = snakeName(c);
    o["label"] = labelOf(c);
    o["word"] = r.word;
    o["valence"] = asWritten(r.valMn);
    o["valence_sd"] = list.table->hasValenceSd ? nlohmann::ordered_json(asWritten(r.valSd))
                                               : nlohmann::ordered_json(nullptr);
    o["arousal"] = asWritten(r.aroMn);
    o["length"] = r.len;
    o["frequency"] = r.wholeFreq ? nlohmann::ordered_json(static_cast<long long>(r.freq))
                                 : nlohmann::ordered_json(r.freq);
    o["pos"] = pos;
    o["source_line"] = r.sourceLine;
    rows.push_back(std::move(o));
  }
  // The run refuses words that are not valid UTF-8 before it gets here
  // (firstWordJsonWouldChange); replacing is only the last defence.
  out << rows.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << "\n";
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
    if (!isValidUtf8(list.record(row).word)) return row;
  }
  return std::nullopt;
}

int formulaLookingWords(const DrawnList& list) {
  int count = 0;
  for (const ListRow& row : list.rows) {
    const std::string& word = list.record(row).word;
    count += !word.empty() && std::string("=+-@").find(word[0]) != std::string::npos;
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
