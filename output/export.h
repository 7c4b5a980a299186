// The list as a table for other programs: CSV, TSV or JSON, one row per word.
#ifndef STIMSEL_OUTPUT_EXPORT_H_
#define STIMSEL_OUTPUT_EXPORT_H_

#include <optional>
#include <ostream>
#include <string>

#include "output/drawn_list.h"

enum class ExportFormat { Csv, Tsv, Json };

// The format of an export file by its extension (".csv", ".tsv", ".json"),
// or nothing for any other name.
std::optional<ExportFormat> exportFormatOf(const std::string& path);

// Parses "csv", "tsv" or "json".
std::optional<ExportFormat> parseExportFormat(const std::string& name);

// Writes one row per word, ordered by list, group, then category in play,
// with the columns list, group, role, category, category_name, label, word,
// valence, valence_sd, arousal, length, frequency, pos, source_line; a
// design of its own categories has list, group, role, category,
// category_name (the design's name of the category), word, one column per
// split and control variable under the name the design gave it, pos and
// source_line. Numbers read back exactly as loaded. CSV is RFC 4180 (quoted only where needed,
// "\r\n" line ends); TSV quotes the same way a cell holding a double quote,
// a tab or a line break, and ends lines with "\n"; both keep a word's bytes.
// JSON is an array of objects: call firstWordJsonWouldChange first. `pos` is
// the tag asked for, or "".
void writeExport(const DrawnList& list, const std::string& pos, ExportFormat format,
                 std::ostream& out);

// The first row whose word JSON cannot hold byte for byte (it is not valid
// UTF-8, so it would be replaced, and distinct words could come out alike),
// or nothing.
std::optional<ListRow> firstWordJsonWouldChange(const DrawnList& list);

// The rows whose word begins with '=', '+', '-' or '@', which a spreadsheet
// opening a CSV or TSV file may take for a formula.
int formulaLookingWords(const DrawnList& list);

#endif  // STIMSEL_OUTPUT_EXPORT_H_
