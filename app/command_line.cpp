#include "app/command_line.h"

#include <climits>

#include "words/number_text.h"

namespace {

bool isSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

// A seed is a plain unsigned 32-bit decimal: no sign, no spaces, no suffix.
bool parseSeed(const std::string& text, std::uint32_t& seed) {
  if (text.empty() || text.size() > 10) return false;
  unsigned long long value = 0;
  for (char c : text) {
    if (!isDigit(c)) return false;
    value = value * 10 + static_cast<unsigned>(c - '0');
  }
  if (value > UINT32_MAX) return false;
  seed = static_cast<std::uint32_t>(value);
  return true;
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

std::string badSeed(const std::string& value) {
  return "stimsel: bad value '" + value +
         "' for --seed: expected a whole number from 0 to 4294967295";
}

// Reads the option at args[i]; may consume the next argument as its value.
void applyOption(const std::vector<std::string>& args, size_t& i, CommandLine& cl) {
  const std::string& arg = args[i];
  if (arg == "--help") {
    cl.settings.showHelp = true;
  } else if (arg == "--version") {
    cl.settings.showVersion = true;
  } else if (arg == "--seed" || arg.compare(0, 7, "--seed=") == 0) {
    std::string value;
    if (arg == "--seed") {
      if (i + 1 >= args.size()) {
        cl.error = "stimsel: --seed needs a value, a whole number from 0 to 4294967295";
        return;
      }
      value = args[++i];
    } else {
      value = arg.substr(7);
    }
    std::uint32_t seed = 0;
    if (!parseSeed(value, seed)) {
      cl.error = badSeed(value);
      return;
    }
    cl.settings.seed = seed;
  } else {
    cl.error = "stimsel: unknown option '" + arg + "' (try --help)";
  }
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

CommandLine parseCommandLine(const std::vector<std::string>& args) {
  CommandLine cl;
  for (size_t i = 0; i < args.size() && cl.error.empty(); ++i) {
    if (args[i].compare(0, 2, "--") == 0) {
      applyOption(args, i, cl);
    } else {
      applyPosition(cl.settings, ++cl.settings.positionalCount, args[i]);
    }
  }
  return cl;
}
