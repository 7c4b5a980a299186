#include "app/run.h"

#include "app/usage.h"
#include "select/random_source.h"
#include "select/result_table.h"
#include "select/selection.h"
#include "words/exclusion_list.h"
#include "words/norms_loader.h"
#include "words/pos_filter.h"

namespace {

// Bars what the optional filters bar: part of speech first, so that the
// exclusion list has the last word whatever the filter re-admitted.
bool applyFilters(const Settings& settings, WordTable& table, int n, std::ostream& out) {
  if (settings.partOfSpeech && !markPos(*settings.partOfSpeech, table, n, settings.tagFile, out)) {
    return false;
  }
  return !settings.excludeFile || markBadWords(*settings.excludeFile, table, n, out);
}

}  // namespace

int runList(const Settings& settings, std::ostream& out) {
  if (settings.positionalCount == 0) printUsage(out);
  if (settings.seed) {
    seedRandomWith(*settings.seed);
  } else {
    seedRandom();
  }
  WordTable table;
  const std::optional<int> n = prepareWords(settings, table, out);
  if (!n) return kExitInputError;
  const SelectionResult result = chooseWords(table, *n, settings.wanted, groupSize(settings.mode));
  return finishList(table, *n, result, out);
}

std::optional<int> prepareWords(const Settings& settings, WordTable& table, std::ostream& out) {
  const std::optional<int> n = loadNorms(settings.normsFile, table, out);
  if (!n || !applyFilters(settings, table, *n, out)) return std::nullopt;
  if (settings.mode == ListMode::NoNeutralMode) dropNeutral(table, *n);
  return n;
}

int finishList(WordTable& table, int n, const SelectionResult& result, std::ostream& out) {
  printShortfall(result, table.labels, out);
  printList(table, n, out);
  table.records.clear();
  out << "Done.\n";
  return result.complete() ? kExitComplete : kExitShortfall;
}

int runCommandLine(const std::vector<std::string>& args, std::ostream& out) {
  const CommandLine cl = parseCommandLine(args);
  if (!cl.error.empty()) {
    out << cl.error << "\n";
    return kExitBadOption;
  }
  if (cl.settings.showHelp) {
    printHelp(out);
    return kExitComplete;
  }
  if (cl.settings.showVersion) {
    printVersion(out);
    return kExitComplete;
  }
  return runList(cl.settings, out);
}
