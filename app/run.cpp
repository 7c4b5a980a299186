#include "app/run.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <new>
#include <sstream>

#include "app/command_line.h"
#include "app/stimsel.h"
#include "app/usage.h"
#include "output/drawn_list.h"
#include "output/export.h"
#include "output/plot.h"
#include "output/report.h"
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

std::string shellWord(const std::string& word) {
  const char* const kPlain =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_./=:,+-";
  if (!word.empty() && word.find_first_not_of(kPlain) == std::string::npos) return word;
  std::string quoted = "'";
  for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// The command line that draws the same list: the arguments as given, with
// the seed in force instead of any --seed.
std::string rerunCommand(const Settings& settings, std::uint32_t seed) {
  std::string command = "stimsel";
  const std::vector<std::string>& args = settings.arguments;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--seed") {
      ++i;
      continue;
    }
    if (args[i].rfind("--seed=", 0) == 0) continue;
    command += " " + shellWord(args[i]);
  }
  return command + " --seed " + std::to_string(seed);
}

// Writes `write`'s output to `path`; on failure returns the message.
template <typename Write>
std::optional<std::string> writeFile(const std::string& path, Write write) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (file) write(file);
  if (file) file.close();
  if (!file) return "stimsel: cannot write " + path + ": " + std::strerror(errno);
  return std::nullopt;
}

// The files the run was asked for, besides the table. Returns the message
// of a file that could not be written.
std::optional<std::string> writeFiles(const Settings& settings, const DrawnList& list,
                                      std::uint32_t seed, std::ostream& out) {
  const std::string pos = settings.partOfSpeech.value_or("");
  if (settings.outFile) {
    const ExportFormat format =
        settings.outFormat.value_or(exportFormatOf(*settings.outFile).value_or(ExportFormat::Csv));
    if (*settings.outFile == "-") {
      writeExport(list, pos, format, out);
    } else if (auto error = writeFile(*settings.outFile, [&](std::ostream& file) {
                 writeExport(list, pos, format, file);
               })) {
      return error;
    }
  }
  if (settings.plotFile) {
    const std::string title = rerunCommand(settings, seed);
    return writeFile(*settings.plotFile, [&](std::ostream& file) {
      writePlot(affectPlotData(list, settings.norms.scale, settings.rules, title), file);
    });
  }
  return std::nullopt;
}

#ifndef STIMSEL_DATA_DIR
#define STIMSEL_DATA_DIR ""
#endif

// Where the installed sample is, when the default norms file is missing and
// the sample is there: said, never read silently.
std::string installedSampleHint(const Settings& settings, const ReadError& error) {
  const std::string sample = std::string(STIMSEL_DATA_DIR) + "/KOVA.txt";
  std::error_code ignored;
  if (!error.standsAlone || settings.norms.path != "KOVA.txt" || *STIMSEL_DATA_DIR == '\0' ||
      !std::filesystem::is_regular_file(sample, ignored)) {
    return "";
  }
  return "The sample norms are installed in " + std::string(STIMSEL_DATA_DIR) +
         "; to draw from them: --norms " + sample + " --tags " + STIMSEL_DATA_DIR +
         "/kovatags.txt\n";
}

int runList(const Settings& settings, std::ostream& out, std::uint32_t clockSeed) {
  // With "--out -" standard output holds the export alone: progress and the
  // table go nowhere, but a message that stops the run still goes out.
  const bool exportOnly = settings.outFile && *settings.outFile == "-";
  std::ostream nowhere(nullptr);
  std::ostream& progress = exportOnly ? nowhere : out;
  if (settings.positionalCount == 0) printUsage(progress);
  Result<WordTable> words = prepareWords(settings, progress);
  if (!words.ok()) {
    out << words.error().text() << "\n" << installedSampleHint(settings, words.error());
    return kExitInputError;
  }
  const DrawnGroups drawn = drawGroups(settings, words.value(), settings.seed.value_or(clockSeed));
  return finishList(settings, words.value(), drawn, progress, out);
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

long long wordsWanted(const Settings& settings) {
  const auto k = static_cast<long long>(categoriesInPlay(settings.mode).size());
  const long long perList = settings.wanted < k ? 0 : settings.wanted / k * k;
  return perList * settings.lists;
}

DrawnGroups drawGroups(const Settings& settings, const WordTable& table, std::uint32_t seed) {
  RandomSource random(seed);
  DrawnGroups drawn{chooseWords(table, categoriesInPlay(settings.mode), wordsWanted(settings),
                                settings.rules, random),
                    0, seed};
  drawn.leftOut = keepWholeRounds(drawn.result, settings.lists);
  return drawn;
}

int finishList(const Settings& settings, const WordTable& table, const DrawnGroups& drawn,
               std::ostream& progress, std::ostream& out) {
  const std::vector<AffectCategory> play = categoriesInPlay(settings.mode);
  const SelectionResult& result = drawn.result;
  const DrawnList list = dealList(table, play, result, settings.lists);
  printShortfall(result, play, settings.rules, progress);
  printLeftOut(drawn.leftOut, settings.lists, progress);
  printLists(table, result, settings.lists, progress);
  if (settings.report) {
    const ReportContext context{rerunCommand(settings, drawn.seed),
                                drawn.seed,
                                settings.norms.path,
                                table.count(),
                                settings.rules,
                                settings.norms.scale,
                                result.wanted,
                                result.complete()};
    writeReport(list, context, progress);
  }
  if (const auto error = writeFiles(settings, list, drawn.seed, out)) {
    out << *error << "\n";
    return kExitInputError;
  }
  progress << "Done.\n";
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
