#include "app/command_line.h"

#include <climits>

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

// One option: its name without "--", what its value must be (for messages),
// and how it changes the settings. Options without `expected` take no value.
struct Option {
  const char* name;
  const char* expected;
  bool (*apply)(Settings&, const std::string&);
};

const Option kOptions[] = {
    {"help", nullptr, [](Settings& s, const std::string&) { return s.showHelp = true; }},
    {"version", nullptr, [](Settings& s, const std::string&) { return s.showVersion = true; }},
    {"seed", "a whole number from 0 to 4294967295", setSeed},
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
    return "unknown option '" + arg + "' (try --help)";
  }
  std::string value;
  if (option->expected != nullptr && equals != std::string::npos) {
    value = arg.substr(equals + 1);
  } else if (option->expected != nullptr) {
    if (i + 1 >= args.size()) return "--" + name + " needs a value, " + option->expected;
    value = args[++i];
  }
  if (!option->apply(s, value)) {
    return "bad value '" + value + "' for --" + name + ": expected " + option->expected;
  }
  return "";
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
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i].compare(0, 2, "--") != 0) {
      applyPosition(settings, ++settings.positionalCount, args[i]);
      continue;
    }
    const std::string error = applyOption(args, i, settings);
    if (!error.empty()) return commandLineError(error);
  }
  return settings;
}
