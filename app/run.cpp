#include "app/run.h"

#include <new>

#include "app/command_line.h"
#include "app/stimsel.h"
#include "app/usage.h"
#include "output/result_table.h"
#include "words/exclusion_list.h"
#include "words/pos_filter.h"

namespace {

std::string duplicateWarning(const std::string& fileName, int words) {
  return "Warning: " + fileName + ": " + std::to_string(words) +
         " words appear more than once; only the first record of each can be chosen.\n";
}

// Part of speech first, so that the exclusion list has the last word
// whatever the filter re-admitted.
std::optional<ReadError> applyFilters(const Settings& settings, WordTable& table,
                                      std::ostream& out) {
  if (settings.partOfSpeech && !table.posColumn.empty()) {
    markPosByColumn(*settings.partOfSpeech, table, settings.norms.path, out);
  } else if (settings.partOfSpeech) {
    Result<CountedFile> tags = loadCountedFile(settings.tagFile, kCannotOpenTagFile);
    if (!tags.ok()) return tags.error();
    markPos(*settings.partOfSpeech, table, tags.value(), settings.tagFile, out);
  }
  if (settings.excludeFile) {
    Result<CountedFile> used = loadCountedFile(*settings.excludeFile, kCannotOpenExclusionFile);
    if (!used.ok()) return used.error();
    markBadWords(table, used.value(), *settings.excludeFile, out);
  }
  return std::nullopt;
}

int runList(const Settings& settings, std::ostream& out, std::uint32_t clockSeed) {
  if (settings.positionalCount == 0) printUsage(out);
  Result<WordTable> words = prepareWords(settings, out);
  if (!words.ok()) {
    out << words.error().text() << "\n";
    return kExitInputError;
  }
  RandomSource random(settings.seed ? *settings.seed : clockSeed);
  const SelectionResult result = chooseWords(words.value(), categoriesInPlay(settings.mode),
                                             settings.wanted, settings.rules, random);
  return finishList(settings, words.value(), result, out);
}

int runParsed(const std::vector<std::string>& args, std::ostream& out, std::uint32_t clockSeed) {
  const Result<Settings> parsed = parseCommandLine(args);
  if (!parsed.ok()) {
    out << parsed.error().text() << "\n";
    return kExitBadOption;
  }
  const Settings& settings = parsed.value();
  if (settings.showHelp) {
    printHelp(out);
    return kExitComplete;
  }
  if (settings.showVersion) {
    printVersion(out);
    return kExitComplete;
  }
  return runList(settings, out, clockSeed);
}

}  // namespace

Result<WordTable> prepareWords(const Settings& settings, std::ostream& out) {
  const std::string& fileName = settings.norms.path;
  out << "filename is " << fileName << "\n";
  Result<WordTable> words = loadNormsFile(settings.norms);
  if (!words.ok()) return words;
  WordTable& table = words.value();
  if (table.duplicateWords > 0) out << duplicateWarning(fileName, table.duplicateWords);
  for (const std::string& warning : table.warnings) out << warning;
  if (std::optional<ReadError> error = applyFilters(settings, table, out)) return *error;
  return words;
}

int finishList(const Settings& settings, const WordTable& table, const SelectionResult& result,
               std::ostream& out) {
  printShortfall(result, categoriesInPlay(settings.mode), settings.rules, out);
  printList(table, result.chosenInTableOrder(), out);
  out << "Done.\n";
  return result.complete() ? kExitComplete : kExitShortfall;
}

int runStimsel(const std::vector<std::string>& args, std::ostream& out, std::uint32_t clockSeed) {
  // Memory runs out only on inputs far beyond any norms table; say so rather
  // than let it pass for some other fault.
  try {
    return runParsed(args, out, clockSeed);
  } catch (const std::bad_alloc&) {
    out << "stimsel: out of memory while reading the input files\n";
    return kExitInputError;
  }
}
