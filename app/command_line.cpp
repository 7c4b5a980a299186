#include "app/command_line.h"

#include <climits>

#include "design/design_text.h"
#include "words/ascii_text.h"
#include "words/message_text.h"
#include "words/number_text.h"

namespace {

bool isSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

// A plain unsigned decimal: no sign, no spaces, no suffix.
bool parseUnsigned(const std::string& text, unsigned long long most, unsigned long long& value) {
  if (text.empty() || text.size() > 19) return false;
  value = 0;
  for (char c : text) {
    if (!isDigit(c)) return false;
    value = value * 10 + static_cast<unsigned>(c - '0');
  }
  return value <= most;
}

bool setSeed(Settings& s, const std::string& value) {
  unsigned long long seed = 0;
  if (!parseUnsigned(value, UINT32_MAX, seed)) return false;
  s.seed = static_cast<std::uint32_t>(seed);
  return true;
}

// A named norms file is read to its end and may hold decimal frequencies.
bool setNorms(Settings& s, const std::string& value) {
  if (value.empty()) return false;
  s.norms.path = value;
  s.norms.named = true;
  s.norms.classic.dataLines = 0;
  s.norms.classic.decimalFrequency = true;
  return true;
}

bool setFileName(std::string& name, const std::string& value) {
  name = value;
  return !value.empty();
}

bool setOptionalFileName(std::optional<std::string>& name, const std::string& value) {
  name = value;
  return !value.empty();
}

bool setNormsFormat(Settings& s, const std::string& value) {
  const std::pair<const char*, NormsFormat> kFormats[] = {
      {"classic", NormsFormat::Classic}, {"csv", NormsFormat::Csv}, {"tsv", NormsFormat::Tsv}};
  for (const auto& [name, format] : kFormats) {
    if (value != name) continue;
    s.norms.format = format;
    return true;
  }
  return false;
}

bool setHeaderLines(Settings& s, const std::string& value) {
  unsigned long long lines = 0;
  if (!parseUnsigned(value, 1'000'000, lines)) return false;
  s.norms.classic.headerLines = static_cast<int>(lines);
  s.norms.classic.dataLines = 0;
  s.norms.headerLinesGiven = true;
  return true;
}

bool setColumn(Settings& s, const std::string& value) {
  const size_t equals = value.find('=');
  Role role = Role::Word;
  if (equals == std::string::npos || equals + 1 == value.size() ||
      !parseRole(value.substr(0, equals), role)) {
    return false;
  }
  s.norms.columns[role] = value.substr(equals + 1);
  return true;
}

// The variable a control matches on, as one slot: frequency and its Zipf
// value are two scales of one variable.
std::string controlSlot(const std::string& variable) {
  const std::string name = asciiLower(variable);
  return name == "zipf" ? "frequency" : name;
}

// A control of any spelling: a later one of the same slot and option
// replaces the earlier (the last one counts); checkControls refuses two
// options that disagree.
void addControl(Settings& s, const Control& control, const char* option) {
  std::vector<Control>& controls = s.design.controls;
  for (size_t i = 0; i < controls.size(); ++i) {
    if (controlSlot(controls[i].variable) == controlSlot(control.variable) &&
        s.controlSpellings[i] == option) {
      controls[i] = control;
      return;
    }
  }
  controls.push_back(control);
  s.controlSpellings.emplace_back(option);
}

bool setWhole(int& target, const std::string& value, unsigned long long least,
              unsigned long long most) {
  unsigned long long parsed = 0;
  if (!parseUnsigned(value, most, parsed) || parsed < least) return false;
  target = static_cast<int>(parsed);
  return true;
}

// A tolerance: a plain decimal number from 0 to kLargestMagnitude.
bool setTolerance(Settings& s, const std::string& value, bool zipf) {
  double tolerance = 0;
  if (parseDecimal(value, tolerance) != NumberStatus::Ok || tolerance < 0) return false;
  s.rules.frequencyTolerance = tolerance;
  s.rules.zipf = zipf;
  (zipf ? s.zipfToleranceGiven : s.frequencyToleranceGiven) = true;
  addControl(s, {zipf ? "zipf" : "frequency", tolerance},
             zipf ? "--zipf-tolerance" : "--frequency-tolerance");
  return true;
}

bool setLengthTolerance(Settings& s, const std::string& value) {
  if (!setWhole(s.rules.lengthTolerance, value, 0, 100)) return false;
  addControl(s, {"length", static_cast<double>(s.rules.lengthTolerance)}, "--length-tolerance");
  return true;
}

std::string setControl(Settings& s, const std::string& value) {
  Result<Control> control = parseControl(value);
  if (!control.ok()) return control.error().message;
  s.controlGiven = true;
  addControl(s, control.value(), "--control");
  return "";
}

std::string setSplit(Settings& s, const std::string& value) {
  Result<Split> split = parseSplit(value);
  if (!split.ok()) return split.error().message;
  s.design.splits.push_back(std::move(split.value()));
  return "";
}

std::string setWhere(Settings& s, const std::string& value) {
  Result<Condition> condition = parseCondition(value);
  if (!condition.ok()) return condition.error().message;
  s.design.filters.push_back(std::move(condition.value()));
  return "";
}

bool setFrequencyUnit(Settings& s, const std::string& value) {
  if (value != "per-million" && value != "other") return false;
  s.perMillion = value == "per-million";
  return true;
}

bool setMatch(Settings& s, const std::string& value) {
  if (value != "anchor" && value != "all") return false;
  s.rules.matchAll = value == "all";
  return true;
}

bool setScale(Settings& s, const std::string& value) {
  const size_t colon = value.find(':', 1);
  if (colon == std::string::npos) return false;
  double low = 0;
  double high = 0;
  if (parseDecimal(value.substr(0, colon), low) != NumberStatus::Ok ||
      parseDecimal(value.substr(colon + 1), high) != NumberStatus::Ok || !(low < high)) {
    return false;
  }
  s.norms.scale = {low, high};
  return true;
}

bool endsWith(const std::string& text, const std::string& end) {
  return text.size() > end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The Markdown datasheet; its JSON twin is named from it, so the name must
// end ".md".
std::string setDatasheet(Settings& s, const std::string& value) {
  if (!endsWith(value, ".md")) {
    return "expected a file name ending .md (the JSON datasheet is written beside it, ending "
           ".json)";
  }
  s.datasheetFile = value;
  return "";
}

// One option: its name without "--", what its value must be (for messages),
// and how it changes the settings. Options without `expected` take no value.
struct Option {
  const char* name;
  const char* expected;
  bool (*apply)(Settings&, const std::string&);
  // For values with a grammar of their own: returns why a value is bad, or "".
  std::string (*explain)(Settings&, const std::string&) = nullptr;
};

const Option kOptions[] = {
    {"help", nullptr, [](Settings& s, const std::string&) { return s.showHelp = true; }},
    {"version", nullptr, [](Settings& s, const std::string&) { return s.showVersion = true; }},
    {"seed", "a whole number from 0 to 4294967295", setSeed},
    {"norms", "a file name", setNorms},
    {"tags", "a file name",
     [](Settings& s, const std::string& v) { return s.tagsGiven = setFileName(s.tagFile, v); }},
    {"norms-format", "classic, csv or tsv", setNormsFormat},
    {"header-lines", "a whole number from 0 to 1000000", setHeaderLines},
    {"column", "ROLE=NAME, with ROLE one of word, valence, valence_sd, arousal, frequency, pos",
     setColumn},
    {"frequency", "a file name",
     [](Settings& s, const std::string& v) {
       return setOptionalFileName(s.norms.frequencyFile, v);
     }},
    {"frequency-column", "a column name",
     [](Settings& s, const std::string& v) {
       return setOptionalFileName(s.norms.frequencyColumn, v);
     }},
    {"scale",
     "LOW:HIGH, two numbers from -1000000 to 1000000 with LOW below HIGH (such as 0:1 or -3:3)",
     setScale},
    {"out", "a file name ending .csv, .tsv or .json, or - for standard output",
     [](Settings& s, const std::string& v) { return setOptionalFileName(s.outFile, v); }},
    {"out-format", "csv, tsv or json",
     [](Settings& s, const std::string& v) {
       return (s.outFormat = parseExportFormat(v)) != std::nullopt;
     }},
    {"lists", "a whole number from 1 to 1000",
     [](Settings& s, const std::string& v) { return setWhole(s.lists, v, 1, 1000); }},
    {"length-tolerance", "a whole number from 0 to 100", setLengthTolerance},
    {"frequency-tolerance", "a number from 0 to 1000000",
     [](Settings& s, const std::string& v) { return setTolerance(s, v, false); }},
    {"zipf-tolerance", "a number from 0 to 1000000 (such as 0.2)",
     [](Settings& s, const std::string& v) { return setTolerance(s, v, true); }},
    {"match", "anchor or all", setMatch},
    {"design", "affect (the built-in design; --split gives others)",
     [](Settings&, const std::string& v) { return v == "affect"; }},
    {"split", "VARIABLE=BAND BAND ...", nullptr, setSplit},
    {"control", "VARIABLE=TOLERANCE", nullptr, setControl},
    {"where", "'VARIABLE OP NUMBER'", nullptr, setWhere},
    {"frequency-unit", "per-million or other", setFrequencyUnit},
    {"exclude", "a file name",
     [](Settings& s, const std::string& v) {
       return s.excludeOptionGiven = setOptionalFileName(s.excludeFile, v);
     }},
    {"pos", "a part of speech",
     [](Settings& s, const std::string& v) {
       return s.posOptionGiven = setOptionalFileName(s.partOfSpeech, v);
     }},
    {"report", nullptr, [](Settings& s, const std::string&) { return s.report = true; }},
    {"balance", nullptr, [](Settings& s, const std::string&) { return s.balance = true; }},
    {"latin-square", nullptr, [](Settings& s, const std::string&) { return s.latinSquare = true; }},
    {"plot", "a file name",
     [](Settings& s, const std::string& v) { return setOptionalFileName(s.plotFile, v); }},
    {"datasheet", "a file name ending .md", nullptr, setDatasheet},
    {"equivalence-bound", "NUMBERsd or VARIABLE=VALUE", nullptr,
     [](Settings& s, const std::string& v) { return addEquivalenceBound(s.bounds, v); }},
};

const Option* findOption(const std::string& name) {
  for (const Option& option : kOptions) {
    if (name == option.name) return &option;
  }
  return nullptr;
}

void applyPosition(Settings& s, int position, const std::string& arg) {
  switch (position) {
    case 1:
      s.wanted = parseWordCount(arg);
      break;
    case 2:
      s.modeArgument = arg;
      if (!arg.empty() && arg[0] == 'N') s.mode = ListMode::NoArousalMode;
      if (!arg.empty() && arg[0] == 'V') s.mode = ListMode::NoNeutralMode;
      break;
    case 3:
      if (arg.size() >= 2) s.excludeFile = arg;
      break;
    case 4:
      s.partOfSpeech = arg;
      break;
    default:
      break;
  }
}

ReadError commandLineError(const std::string& message) {
  return ReadError::alone("", "stimsel: " + message);
}

// Reads the option at args[i]; may consume the next argument as its value.
// Returns the message of an error, or "".
std::string applyOption(const std::vector<std::string>& args, size_t& i, Settings& s) {
  const std::string& arg = args[i];
  const size_t equals = arg.find('=');
  const std::string name = arg.substr(2, equals == std::string::npos ? equals : equals - 2);
  const Option* option = findOption(name);
  if (option == nullptr || (option->expected == nullptr && equals != std::string::npos)) {
    return "unknown option '" + shownText(arg) + "' (try --help)";
  }
  std::string value;
  if (option->expected != nullptr && equals != std::string::npos) {
    value = arg.substr(equals + 1);
  } else if (option->expected != nullptr) {
    if (i + 1 >= args.size()) return "--" + name + " needs a value, " + option->expected;
    value = args[++i];
  }
  // A forgotten value must not swallow the next option ("--plot --seed 7"
  // would write the plot to a file named --seed).
  if (option->expected != nullptr && value.compare(0, 2, "--") == 0) {
    return "--" + name + " needs a value, " + option->expected + "; '" + shownText(value) +
           "' is an option, not a value";
  }
  if (option->explain != nullptr) {
    const std::string why = option->explain(s, value);
    if (!why.empty()) return "bad value '" + shownText(value) + "' for --" + name + ": " + why;
    return "";
  }
  if (!option->apply(s, value)) {
    return "bad value '" + shownText(value) + "' for --" + name + ": expected " + option->expected;
  }
  return "";
}

// A control as the user gave it: "--control zipf=0.2", "--length-tolerance".
std::string spelled(const Settings& s, size_t i) {
  const Control& control = s.design.controls[i];
  if (s.controlSpellings[i] != "--control") return s.controlSpellings[i];
  return "--control " + shownText(control.variable) + "=" + decimalText(control.tolerance);
}

// Two spellings of one control disagree ("--control zipf=0.2" and
// "--frequency-tolerance 5"); the message names both options.
std::string checkControls(const Settings& s) {
  const std::vector<Control>& controls = s.design.controls;
  for (size_t a = 0; a < controls.size(); ++a) {
    for (size_t b = 0; b < a; ++b) {
      if (controlSlot(controls[a].variable) != controlSlot(controls[b].variable)) continue;
      if (s.controlSpellings[a] == "--control" && s.controlSpellings[b] == "--control" &&
          asciiLower(controls[a].variable) == asciiLower(controls[b].variable)) {
        continue;
      }
      return spelled(s, b) + " and " + spelled(s, a) +
             " cannot go together: each says how close the words must be on " +
             controlSlot(controls[a].variable) + "; give only one";
    }
  }
  return "";
}

// What the design's options ask of the rest of the command line.
std::string checkDesignOptions(const Settings& s) {
  std::string bad = checkDesign(s.design);
  if (!bad.empty()) return bad;
  if (!s.design.splits.empty() && s.positionalCount >= 2 && asciiLower(s.modeArgument) != "yes") {
    return "--split makes its own categories: the second position must be YES or left out, not '" +
           shownText(s.modeArgument) + "'";
  }
  if (s.excludeOptionGiven && s.positionalCount >= 3) {
    return "--exclude and the third position both name an exclusion file; give only one";
  }
  if (s.posOptionGiven && s.positionalCount >= 4) {
    return "--pos and the fourth position both name a part of speech; give only one";
  }
  return checkControls(s);
}

// A schedule says which list each group of participants gets in each
// condition, so it needs lists; it is written beside the export file, which
// standard output cannot have.
std::string checkLatinSquare(const Settings& s) {
  if (!s.latinSquare) return "";
  if (s.lists < 2) {
    return "--latin-square needs --lists L with L at least 2: the schedule says which list "
           "each group of participants gets in each of the L conditions";
  }
  if (s.outFile && *s.outFile == "-") {
    return "--latin-square writes its schedule beside the export file, and --out - has none; "
           "name an export file, or leave --out out to see the schedule printed";
  }
  return "";
}

// Options that cannot go together, or an export whose format is unknown.
std::string checkCombination(const Settings& s) {
  if (s.outFile && *s.outFile == "-" && s.report) {
    return "--report cannot go with --out - (standard output then holds the export alone)";
  }
  std::string schedule = checkLatinSquare(s);
  if (!schedule.empty()) return schedule;
  if (s.zipfToleranceGiven && s.frequencyToleranceGiven) {
    return "--zipf-tolerance and --frequency-tolerance cannot go together: groups are matched "
           "on one of them; give only one";
  }
  std::string design = checkDesignOptions(s);
  if (!design.empty()) return design;
  if (s.norms.headerLinesGiven && formatOf(s.norms) != NormsFormat::Classic) {
    return "--header-lines applies to the classic layout only; " + shownText(s.norms.path) +
           " is read as a table whose first row names the columns";
  }
  if (s.outFile && *s.outFile != "-" && !s.outFormat && !exportFormatOf(*s.outFile)) {
    return "cannot tell the format of --out " + *s.outFile +
           ": name it .csv, .tsv or .json, or give --out-format";
  }
  return "";
}

// Whether the run looks at frequencies: the affect design and the default
// controls always do; a design with its own controls only if it names them.
bool usesFrequencies(const Settings& s) {
  if (s.design.isAffect() || !s.controlGiven) return true;
  for (const std::string& variable : s.design.variables()) {
    if (controlSlot(variable) == "frequency") return true;
  }
  return false;
}

}  // namespace

int parseWordCount(const std::string& text) {
  size_t pos = 0;
  while (pos < text.size() && isSpace(text[pos])) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
  long long value = 0;
  for (; pos < text.size() && isDigit(text[pos]); ++pos) {
    value = value * 10 + (text[pos] - '0');
    if (value > INT_MAX) return negative ? INT_MIN : INT_MAX;
  }
  return static_cast<int>(negative ? -value : value);
}

Result<Settings> parseCommandLine(const std::vector<std::string>& args) {
  Settings settings;
  settings.arguments = args;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i].compare(0, 2, "--") != 0) {
      applyPosition(settings, ++settings.positionalCount, args[i]);
      continue;
    }
    const std::string error = applyOption(args, i, settings);
    if (!error.empty()) return commandLineError(error);
  }
  const std::string error = checkCombination(settings);
  if (!error.empty()) return commandLineError(error);
  settings.norms.designColumns = settings.design.fileVariables();
  settings.norms.affectRatings = settings.design.isAffect();
  settings.norms.frequencies = usesFrequencies(settings);
  return settings;
}
