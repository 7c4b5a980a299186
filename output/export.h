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
// valence, valence_sd, arousal, length, frequency, pos, source_line. Numbers
// read back exactly as loaded. CSV is RFC 4180 (quoted only where needed,
// "\r\n" line ends), TSV has no quoting (words hold no tabs or line breaks),
// JSON is an array of objects. `pos` is the tag asked for, or "".
void writeExport(const DrawnList& list, const std::string& pos, ExportFormat format,
                 std::ostream& out);

#endif  // STIMSEL_OUTPUT_EXPORT_H_
