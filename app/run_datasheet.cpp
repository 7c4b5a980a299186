#include "app/run_datasheet.h"

#include <filesystem>

#include "app/controls_in_force.h"
#include "app/equivalence_bounds.h"
#include "app/usage.h"
#include "datasheet/affect_datasheet.h"
#include "datasheet/design_datasheet.h"
#include "datasheet/design_datasheet.h"
#include "datasheet/sha256.h"

namespace {

// Each file's size and digest, read now: the inputs are regular files the
// run has just read in full.
std::optional<ReadError> addDigests(std::vector<SourceFile>& files) {
  for (SourceFile& file : files) {
    Result<std::string> digest = sha256OfFile(file.name);
    if (!digest.ok()) return digest.error();
    file.sha256 = digest.value();
    std::error_code error;
    file.bytes = std::filesystem::file_size(file.name, error);
    if (error) {
      return ReadError::alone(file.name,
                              "Couldn't read the size of " + file.name + ": " + error.message());
    }
  }
  return std::nullopt;
}

std::string frequencySource(const Settings& settings, const WordTable& table) {
  if (settings.norms.frequencyFile) {
    return *settings.norms.frequencyFile + ", column " + table.frequencyColumn;
  }
  if (table.frequencyColumn.empty()) return "the norms file's frequency column";
  return "the norms file's column " + table.frequencyColumn;
}

// The rows the readers left out, in the order they did.
std::vector<Removal> removedWhileLoading(const Settings& settings, const WordTable& table) {
  std::vector<Removal> removed;
  if (formatOf(settings.norms) != NormsFormat::Classic) {
    removed.push_back({"a missing value in a column the run needs", table.rows.missingValues});
  }
  if (settings.norms.frequencyFile) {
    removed.push_back({"no frequency in " + *settings.norms.frequencyFile, table.rows.noFrequency});
  }
  return removed;
}

Result<AffectRunFacts> affectRunFacts(const Settings& settings, const PreparedWords& words,
                                      const Provenance& provenance, const LaterSteps& later) {
  const Result<ControlBounds> bounds = boundsInForce(settings.bounds, settings.rules);
  if (!bounds.ok()) return bounds.error();
  const WordTable& table = words.table;
  AffectRunFacts facts;
  facts.provenance = provenance;
  facts.normsName = settings.norms.path;
  facts.rowsRead = table.rows.read;
  facts.removedWhileLoading = removedWhileLoading(settings, table);
  facts.frequencySource = frequencySource(settings, table);
  facts.frequencyPerMillion = frequencyIsPerMillion(settings, table);
  facts.partOfSpeechFilter = settings.partOfSpeech.has_value();
  facts.exclusionList = settings.excludeFile.has_value();
  facts.barredByPartOfSpeech = words.barredByPartOfSpeech;
  facts.lengthBound = bounds.value().length;
  facts.frequencyBound = bounds.value().frequency;
  facts.pooledSdBound = bounds.value().pooledSd;
  facts.boundsGiven = !settings.bounds.raw.empty() || settings.bounds.pooledSdGiven;
  facts.balance = later.balance;
  facts.latinSquare = later.latinSquare;
  return facts;
}

}  // namespace

Result<DatasheetInput> runDatasheetInput(const Settings& settings, const PreparedWords& words,
                                         const DrawnList& list, const DesignRows& rows,
                                         const std::vector<Control>& controls,
                                         const std::string& command, std::uint32_t seed,
                                         bool digests, const LaterSteps& later) {
  Provenance provenance{versionText(), command, seed, words.inputs};
  if (digests) {
    if (std::optional<ReadError> error = addDigests(provenance.files)) return *error;
  }
  const Result<AffectRunFacts> facts = affectRunFacts(settings, words, provenance, later);
  if (!facts.ok()) return facts.error();
  if (!settings.design.isAffect()) {
    return splitDatasheetInput(words.table, list, settings.design, rows, controls,
                               settings.rules.matchAll, wordsWanted(settings), facts.value());
  }
  DatasheetInput input =
      affectDatasheetInput(words.table, list, settings.rules, settings.norms.scale,
                           wordsWanted(settings), facts.value());
  addFilterRemoval(input, settings.design, rows);
  // Controls other than the default length and frequency pair, or words a
  // filter barred, change what was matched and what was eligible.
  const bool defaults =
      isLengthAndFrequency(controls) && controls[0].tolerance == settings.rules.lengthTolerance;
  if (!defaults || !settings.design.filters.empty()) {
    useDesignControls(input, list, rows, controls, false, facts.value());
  }
  return input;
}
