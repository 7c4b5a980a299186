#include "app/run.h"

#include <algorithm>
#include <filesystem>
#include <new>
#include <sstream>

#include "app/balance_step.h"
#include "app/command_line.h"
#include "app/controls_in_force.h"
#include "app/output_check.h"
#include "app/run_datasheet.h"
#include "app/stimsel.h"
#include "app/usage.h"
#include "app/warning_lines.h"
#include "datasheet/datasheet.h"
#include "output/design_report.h"
#include "output/design_table.h"
#include "output/drawn_list.h"
#include "output/export.h"
#include "output/output_files.h"
#include "output/plot.h"
#include "output/report.h"
#include "output/result_table.h"
#include "output/schedule_file.h"
#include "words/ascii_text.h"
#include "words/exclusion_list.h"
#include "words/letters.h"
#include "words/message_text.h"
#include "words/pos_filter.h"

namespace {

std::string duplicateWarning(const std::string& fileName, const WordTable& table) {
  const int words = table.duplicateWords;
  std::string why;
  if (table.caseVariantWords > 0 && words == 1) why = " (its records differ only in case)";
  if (table.caseVariantWords > 0 && words > 1) {
    why = " (" + std::to_string(table.caseVariantWords) + " of them differ only in case)";
  }
  return "Warning: " + shownText(fileName) + ": " +
         (words == 1 ? std::string("1 word appears") : std::to_string(words) + " words appear") +
         " more than once" + why + "; only the first record of each can be chosen.\n";
}

std::vector<bool> excludedNow(const WordTable& table) {
  std::vector<bool> excluded(table.records.size());
  for (size_t i = 0; i < excluded.size(); ++i) excluded[i] = table.records[i].excluded;
  return excluded;
}

long long entriesOf(const CountedFile& file) {
  return static_cast<long long>(file.entries.size());
}

// Part of speech first, so that the exclusion list has the last word
// whatever the filter re-admitted.
std::optional<ReadError> applyFilters(const Settings& settings, PreparedWords& words,
                                      std::ostream& out) {
  WordTable& table = words.table;
  if (settings.partOfSpeech && !table.posColumn.empty()) {
    markPosByColumn(*settings.partOfSpeech, table, settings.norms.path, out);
  } else if (settings.partOfSpeech && settings.norms.named && !settings.tagsGiven) {
    // The tag file beside the sample tags the sample's words, not the user's.
    return ReadError::command("stimsel: " + shownText(settings.norms.path) +
                              " has no pos column, so the part of speech '" +
                              shownText(*settings.partOfSpeech) +
                              "' needs a tag file: give it with --tags FILE, or name the column "
                              "with --column pos=NAME");
  } else if (settings.partOfSpeech) {
    Result<CountedFile> tags = loadCountedFile(settings.tagFile, kCannotOpenTagFile);
    if (!tags.ok()) return tags.error();
    markPos(*settings.partOfSpeech, table, tags.value(), settings.tagFile, out);
    words.inputs.push_back(
        {"part-of-speech tags", settings.tagFile, 0, entriesOf(tags.value()), ""});
  }
  if (settings.partOfSpeech) words.barredByPartOfSpeech = excludedNow(table);
  if (settings.excludeFile) {
    Result<CountedFile> used = loadCountedFile(*settings.excludeFile, kCannotOpenExclusionFile);
    if (!used.ok()) return used.error();
    markBadWords(table, used.value(), *settings.excludeFile, out);
    words.inputs.push_back(
        {"exclusion list", *settings.excludeFile, 0, entriesOf(used.value()), ""});
  }
  return std::nullopt;
}

// The files the table was read from, before the filters add theirs.
std::vector<SourceFile> tableInputs(const Settings& settings, const WordTable& table) {
  std::vector<SourceFile> inputs = {{"norms", settings.norms.path, 0, table.rows.read, ""}};
  if (settings.norms.frequencyFile) {
    inputs.push_back(
        {"frequency", *settings.norms.frequencyFile, 0, table.rows.frequencyFileRows, ""});
  }
  return inputs;
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

ExportFormat exportFormat(const Settings& settings) {
  return settings.outFormat.value_or(
      exportFormatOf(settings.outFile.value_or("")).value_or(ExportFormat::Csv));
}

// A JSON export would replace bytes that are not UTF-8, and distinct words
// could come out alike: refused, naming the first such word's line.
std::optional<std::string> jsonRefusal(const Settings& settings, const DrawnList& list) {
  if (!settings.outFile || exportFormat(settings) != ExportFormat::Json) return std::nullopt;
  const std::optional<ListRow> row = firstWordJsonWouldChange(list);
  if (!row) return std::nullopt;
  return ReadError::at(settings.norms.path, list.record(*row).sourceLine,
                       "the word is not valid UTF-8, so a JSON export would change it; "
                       "export CSV or TSV, which keep its bytes")
      .text();
}

template <typename Write>
std::string textOf(Write write) {
  std::ostringstream text;
  write(text);
  return text.str();
}

// JSON holds only valid UTF-8: a word of the list names its line, any other
// text (a file name, an argument) the file.
std::optional<std::string> datasheetJsonText(const Settings& settings, const DrawnList& list,
                                             const DatasheetInput& sheet,
                                             const DatasheetFigures& figures, std::string& text) {
  const std::string path = jsonBeside(*settings.datasheetFile);
  if (const std::optional<ListRow> row = firstWordJsonWouldChange(list)) {
    return ReadError::at(settings.norms.path, list.record(*row).sourceLine,
                         "the word is not valid UTF-8, so the JSON datasheet " + path +
                             " would change it; convert the norms to UTF-8 (iconv -f latin1 -t "
                             "utf-8)")
        .text();
  }
  try {
    text = datasheetJson(sheet, figures).dump(2) + "\n";
  } catch (const nlohmann::json::type_error&) {
    return "stimsel: cannot write " + shownText(path) +
           ": a file name or argument is not valid UTF-8, which JSON cannot hold";
  }
  return std::nullopt;
}

// Every output the run was asked for, besides the table: the files are
// replaced together or not at all, and only then does standard output get
// the one named "-". `sheet` is there when a datasheet was asked for.
// Returns the message of a failure.
std::optional<std::string> writeOutputs(const Settings& settings, const DrawnList& list,
                                        const DrawnGroups& drawn, const DatasheetInput* sheet,
                                        std::ostream& data) {
  if (auto refusal = jsonRefusal(settings, list)) return refusal;
  std::vector<OutputFile> files;
  std::string toData;
  const auto add = [&](const std::string& path, std::string contents) {
    if (path == "-") {
      toData = std::move(contents);
    } else {
      files.push_back({path, std::move(contents)});
    }
  };
  const std::string pos = settings.partOfSpeech.value_or("");
  if (settings.outFile) {
    add(*settings.outFile,
        textOf([&](std::ostream& out) { writeExport(list, pos, exportFormat(settings), out); }));
  }
  if (settings.latinSquare && settings.outFile) {
    add(schedulePath(*settings.outFile), textOf([&](std::ostream& out) {
          writeScheduleExport(counterbalancingSchedule(settings.lists), exportFormat(settings),
                              out);
        }));
  }
  if (settings.plotFile) {
    add(*settings.plotFile, textOf([&](std::ostream& out) {
      const std::string title = rerunCommand(settings, drawn.seed);
      writePlot(list.isAffect()
                    ? affectPlotData(list, settings.norms.scale, settings.rules, title)
                    : designPlotData(list, settings.design, drawn.controls, drawn.rows.slot, title),
                out);
    }));
  }
  if (settings.datasheetFile && sheet != nullptr) {
    // The figures are the costly part of both forms, so they are computed once.
    const DatasheetFigures figures = datasheetFigures(*sheet);
    std::string json;
    if (auto refusal = datasheetJsonText(settings, list, *sheet, figures, json)) return refusal;
    add(*settings.datasheetFile,
        textOf([&](std::ostream& out) { writeDatasheetMarkdown(*sheet, figures, out); }));
    add(jsonBeside(*settings.datasheetFile), std::move(json));
  }
  if (auto error = writeOutputFiles(files)) return error;
  data << toData;
  return std::nullopt;
}

std::string formulaWarning(const Settings& settings, const DrawnList& list) {
  if (!settings.outFile || exportFormat(settings) == ExportFormat::Json) return "";
  const int words = formulaLookingWords(list);
  if (words == 0) return "";
  return "Warning: " + countOf(words, "exported word begins", "exported words begin") +
         " with =, +, - or @, which a spreadsheet may read as a formula; "
         "import the word column as text.\n";
}

std::string invalidUtf8Warning(const std::string& fileName, const WordTable& table) {
  int words = 0;
  long long firstLine = 0;
  for (const WordRecord& r : table.records) {
    if (isValidUtf8(r.word())) continue;
    if (words++ == 0) firstLine = r.sourceLine;
  }
  if (words == 0) return "";
  return "Warning: " + fileName + ": " + std::to_string(words) +
         " words are not valid UTF-8 (first on line " + std::to_string(firstLine) + ")\n";
}

// Whether the raw arguments send an export or a plot to standard output:
// judged before they are parsed, so that even a command line that cannot be
// parsed keeps its message out of the data stream.
bool namesStandardOutput(const std::vector<std::string>& args) {
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--out=-" || args[i] == "--plot=-") return true;
    if ((args[i] == "--out" || args[i] == "--plot") && i + 1 < args.size() && args[i + 1] == "-") {
      return true;
    }
  }
  return false;
}

// What the datasheet hears of the steps after the draw.
LaterSteps laterSteps(const Settings& settings, const DrawnGroups& drawn) {
  LaterSteps later;
  if (drawn.balance) later.balance = drawn.balance->result;
  if (settings.latinSquare) later.latinSquare = counterbalancingSchedule(settings.lists);
  return later;
}

// The list as the outputs see it: the affect categories in play, or the
// design's own with its split and control variables beside the words.
DrawnList listOf(const Settings& settings, const WordTable& table, const DrawnGroups& drawn) {
  const Design& design = settings.design;
  if (design.isAffect()) {
    return dealList(table, categoriesInPlay(settings.mode), drawn.result, settings.lists);
  }
  DrawnList list = dealDesignList(table, drawn.rows.slot, drawn.result, settings.lists);
  for (int c = 1; c <= design.categoryCount(); ++c)
    list.categoryNames.push_back(design.categoryName(c));
  std::vector<std::string> shown;
  for (const Split& split : design.splits) shown.push_back(split.variable);
  for (const Control& control : drawn.controls) shown.push_back(control.variable);
  for (const std::string& name : shown) {
    const bool seen =
        std::any_of(list.variables.begin(), list.variables.end(),
                    [&](const ShownVariable& v) { return asciiLower(v.name) == asciiLower(name); });
    if (seen) continue;
    ShownVariable variable{name, {}, asciiLower(name) == "zipf"};
    variableValues(table, name, variable.values);
    list.variables.push_back(std::move(variable));
  }
  return list;
}

// The words of the shortfall lines: the affect categories' labels and the
// tolerances of length and frequency, or the design's category names and
// every control in force.
ShortfallTerms shortfallTerms(const Settings& settings, const DrawnGroups& drawn) {
  ShortfallTerms terms = affectShortfallTerms(categoriesInPlay(settings.mode), settings.rules);
  if (settings.design.isAffect() && isLengthAndFrequency(drawn.controls) &&
      drawn.controls[0].tolerance == settings.rules.lengthTolerance) {
    return terms;
  }
  terms.tolerances = "within the tolerances (" + controlsText(drawn.controls) + ")";
  if (settings.design.isAffect()) return terms;
  terms.categories.clear();
  for (int c = 1; c <= settings.design.categoryCount(); ++c) {
    terms.categories.push_back("category " + std::to_string(c) + " (\"" +
                               shownText(settings.design.categoryName(c)) + "\")");
  }
  return terms;
}

// How many words in a category the --where conditions keep from being
// chosen; nothing without conditions.
std::string filterNote(const Design& design, const DesignRows& rows) {
  if (design.filters.empty()) return "";
  return "Where: " + countOf(rows.filteredOut, "word", "words") +
         " of the categories do not meet " + design.filtersText() + ", so they cannot be chosen.\n";
}

#ifndef STIMSEL_DATA_DIR
#define STIMSEL_DATA_DIR ""
#endif

// Where the installed sample is, when the default norms file is missing and
// the sample is there: said, never read silently.
std::string installedSampleHint(const Settings& settings, const ReadError& error) {
  const std::string sample = std::string(STIMSEL_DATA_DIR) + "/KOVA.txt";
  std::error_code ignored;
  if (!error.standsAlone || error.badCommand || settings.norms.path != "KOVA.txt" ||
      *STIMSEL_DATA_DIR == '\0' || !std::filesystem::is_regular_file(sample, ignored)) {
    return "";
  }
  return "The sample norms are installed in " + std::string(STIMSEL_DATA_DIR) +
         "; to draw from them: --norms " + sample + " --tags " + STIMSEL_DATA_DIR +
         "/kovatags.txt\n";
}

int runList(const Settings& settings, std::ostream& out, std::ostream& err,
            std::uint32_t clockSeed) {
  // With an output on standard output ("-"), standard output holds it alone:
  // progress and the table go nowhere, and what a user must see (warnings,
  // the shortfall, errors) goes to standard error.
  const bool dataOnly = (settings.outFile && *settings.outFile == "-") ||
                        (settings.plotFile && *settings.plotFile == "-");
  std::ostream& notices = dataOnly ? err : out;
  WarningLines warningsOnly(err);
  std::ostream filtered(&warningsOnly);
  std::ostream& progress = dataOnly ? filtered : out;
  if (const std::optional<OutputProblem> problem = checkOutputs(settings)) {
    notices << problem->message << "\n";
    return problem->status;
  }
  if (settings.positionalCount == 0) printUsage(progress);
  Result<PreparedWords> words = prepareWords(settings, progress);
  if (!words.ok()) {
    notices << words.error().text() << "\n" << installedSampleHint(settings, words.error());
    return words.error().badCommand ? kExitBadOption : kExitInputError;
  }
  // The frequency control depends on the frequencies' unit, known only now.
  const WordTable& table = words.value().table;
  Settings settled = settings;
  settled.rules =
      rulesInForce(settings, controlsInForce(settings, frequencyIsPerMillion(settings, table)));
  const Result<ControlBounds> bounds = boundsInForce(settled.bounds, settled.rules);
  if (!bounds.ok()) {
    notices << bounds.error().text() << "\n";
    return kExitBadOption;
  }
  const DrawnGroups drawn = drawGroups(settled, table, settled.seed.value_or(clockSeed));
  return finishList(settled, words.value(), drawn, {progress, notices, out});
}

int runParsed(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
              std::uint32_t clockSeed) {
  const Result<Settings> parsed = parseCommandLine(args);
  if (!parsed.ok()) {
    (namesStandardOutput(args) ? err : out) << parsed.error().text() << "\n";
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
  return runList(settings, out, err, clockSeed);
}

}  // namespace

Result<PreparedWords> prepareWords(const Settings& settings, std::ostream& out) {
  const std::string& fileName = settings.norms.path;
  out << "filename is " << fileName << "\n";
  Result<WordTable> loaded = loadNormsFile(settings.norms);
  if (!loaded.ok()) return loaded.error();
  PreparedWords words{std::move(loaded.value()), {}, {}};
  WordTable& table = words.table;
  words.inputs = tableInputs(settings, table);
  if (settings.norms.named) {
    const std::vector<Control> controls =
        controlsInForce(settings, frequencyIsPerMillion(settings, table));
    out << "Reading: " << table.reading << ".\n" << matchingLine(controls, settings.rules.matchAll);
  }
  if (table.duplicateWords > 0) out << duplicateWarning(fileName, table);
  for (const std::string& warning : table.warnings) out << warning;
  out << invalidUtf8Warning(fileName, table);
  if (std::optional<ReadError> error = applyFilters(settings, words, out)) return *error;
  return words;
}

long long wordsWanted(const Settings& settings) {
  const long long k = settings.design.isAffect()
                          ? static_cast<long long>(categoriesInPlay(settings.mode).size())
                          : settings.design.categoryCount();
  const long long perList = settings.wanted < k ? 0 : settings.wanted / k * k;
  return perList * settings.lists;
}

DrawnGroups drawGroups(const Settings& settings, const WordTable& table, std::uint32_t seed) {
  RandomSource random(seed);
  DrawnGroups drawn;
  drawn.seed = seed;
  drawn.controls = controlsInForce(settings, frequencyIsPerMillion(settings, table));
  drawn.rows = applyDesign(settings.design, drawn.controls, categoriesInPlay(settings.mode), table);
  MatchRules rules = settings.rules;
  // The affect design draws as it always has; a design of the user's own
  // categories has no earlier lists to reproduce and draws every group
  // directly, which is exact and quick however tight its controls.
  rules.everyCategoryAnchors = !settings.design.isAffect();
  rules.directFromTheStart = !settings.design.isAffect();
  drawn.result = chooseGroups(drawn.rows.slot, drawn.rows.controls, drawn.rows.categories,
                              wordsWanted(settings), rules, random);
  drawn.leftOut = keepWholeRounds(drawn.result, settings.lists);
  if (settings.balance) {
    drawn.balance = balanceSelection(drawn.rows, drawn.controls, settings.lists,
                                     settings.rules.matchAll, drawn.result);
  }
  return drawn;
}

int finishList(const Settings& settings, const PreparedWords& words, const DrawnGroups& drawn,
               const RunStreams& streams) {
  std::ostream& progress = streams.progress;
  const WordTable& table = words.table;
  const SelectionResult& result = drawn.result;
  const DrawnList list = listOf(settings, table, drawn);
  const ShortfallTerms terms = shortfallTerms(settings, drawn);
  std::optional<DatasheetInput> sheet;
  if (settings.report || settings.datasheetFile) {
    Result<DatasheetInput> built = runDatasheetInput(
        settings, words, list, drawn.rows, drawn.controls, rerunCommand(settings, drawn.seed),
        drawn.seed, settings.datasheetFile.has_value(), laterSteps(settings, drawn));
    if (!built.ok()) {
      streams.notices << built.error().text() << "\n";
      return built.error().badCommand ? kExitBadOption : kExitInputError;
    }
    sheet = std::move(built.value());
  }
  progress << filterNote(settings.design, drawn.rows);
  printShortfall(result, terms, streams.notices);
  printLeftOut(drawn.leftOut, settings.lists, streams.notices);
  if (list.isAffect()) {
    printLists(table, result, settings.lists, progress);
  } else {
    printDesignLists(list, progress);
  }
  printSelectionNotes(result, terms, streams.notices);
  if (drawn.balance && !settings.report) writeBalanceSummary(*drawn.balance, progress);
  if (settings.latinSquare) printSchedule(counterbalancingSchedule(settings.lists), progress);
  const BalanceSummary* balance = drawn.balance ? &*drawn.balance : nullptr;
  if (settings.report && list.isAffect()) {
    writeReport(list, {settings.rules, result.wanted, result.complete(), balance}, *sheet,
                progress);
  } else if (settings.report) {
    writeDesignReport(list, {drawn.controls, result.wanted, result.complete()}, *sheet, progress);
    if (balance != nullptr) writeBalanceSection(*balance, progress);
  }
  const DatasheetInput* forFiles = sheet ? &*sheet : nullptr;
  if (const auto error = writeOutputs(settings, list, drawn, forFiles, streams.data)) {
    streams.notices << *error << "\n";
    return kExitInputError;
  }
  streams.notices << formulaWarning(settings, list);
  progress << "Done.\n";
  return result.complete() ? kExitComplete : kExitShortfall;
}

int runStimsel(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               std::uint32_t clockSeed) {
  // Memory runs out only on inputs far beyond any norms table; say so rather
  // than let it pass for some other fault.
  try {
    return runParsed(args, out, err, clockSeed);
  } catch (const std::bad_alloc&) {
    (namesStandardOutput(args) ? err : out)
        << "stimsel: out of memory while reading the input files\n";
    return kExitInputError;
  }
}
