#include "tables/norms_file.h"

#include <algorithm>
#include <fstream>

#include "tables/delimited_norms.h"
#include "tables/frequency_join.h"
#include "words/ascii_text.h"
#include "words/line_reader.h"

namespace {

// The classic layout has fixed fields: a design can use its ratings (read
// from the records), nothing else.
std::optional<ReadError> classicDesignColumns(const NormsSource& source) {
  for (const std::string& variable : source.designColumns) {
    const std::string name = asciiLower(variable);
    if (name == "valence" || name == "arousal" || name == "valence_sd") continue;
    return ReadError::at(source.path, 0,
                         "the classic layout has no column \"" + variable +
                             "\" for the design; it offers valence, valence_sd, arousal, "
                             "frequency, length and zipf (use a CSV or TSV file for others)");
  }
  return std::nullopt;
}

Result<WordTable> readInLayout(FileText text, const NormsSource& source) {
  const NormsFormat format = formatOf(source);
  if (format == NormsFormat::Classic) {
    if (std::optional<ReadError> error = classicDesignColumns(source)) return *error;
    ClassicLayout classic = source.classic;
    classic.scale = source.scale;
    classic.meansOnScale = source.named;
    return readNorms(std::move(text), source.path, classic);
  }
  DelimitedLayout layout;
  layout.delimiter = format == NormsFormat::Csv ? ',' : '\t';
  layout.columns = source.columns;
  layout.needsFrequency = !source.frequencyFile && source.frequencies;
  layout.scale = source.scale;
  layout.keptColumns = source.designColumns;
  layout.affectRatings = source.affectRatings;
  return readDelimitedNorms(std::move(text), source.path, layout);
}

// The delimiter of a frequency file: by its extension when that settles it,
// else the one of tab, comma and semicolon its first line holds most often
// (tab on a tie), so that a comma-separated ".txt" reads as it is.
char frequencyDelimiter(const std::string& path, std::ifstream& in) {
  if (hasExtension(path, ".csv")) return ',';
  if (hasExtension(path, ".tsv") || hasExtension(path, ".tab")) return '\t';
  std::string header;
  LineReader lines(in);
  lines.next(header);
  in.clear();
  in.seekg(0);
  char best = '\t';
  long most = 0;
  for (char delimiter : {'\t', ',', ';'}) {
    const auto count = std::count(header.begin(), header.end(), delimiter);
    if (count > most) {
      best = delimiter;
      most = count;
    }
  }
  return best;
}

std::optional<ReadError> joinFrequencyFile(WordTable& table, const NormsSource& source) {
  const std::string& path = *source.frequencyFile;
  std::ifstream in;
  if (!openForReading(path, in)) {
    return cannotOpen(path, "Couldn't open frequency file " + path);
  }
  const char delimiter = frequencyDelimiter(path, in);
  const Result<FrequencyTable> frequencies =
      readFrequencyTable(in, path, delimiter, source.frequencyColumn);
  if (!frequencies.ok()) return frequencies.error();
  joinFrequencies(table, frequencies.value(), path);
  return std::nullopt;
}

}  // namespace

NormsFormat formatOf(const NormsSource& source) {
  if (source.format) return *source.format;
  if (hasExtension(source.path, ".csv")) return NormsFormat::Csv;
  if (hasExtension(source.path, ".tsv") || hasExtension(source.path, ".tab")) {
    return NormsFormat::Tsv;
  }
  return NormsFormat::Classic;
}

Result<WordTable> loadNormsFile(const NormsSource& source) {
  std::optional<FileText> text = FileText::open(source.path);
  if (!text) return cannotOpenNorms(source.path);
  Result<WordTable> table = readInLayout(std::move(*text), source);
  if (!table.ok() || !source.frequencyFile) return table;
  if (std::optional<ReadError> error = joinFrequencyFile(table.value(), source)) return *error;
  return table;
}
