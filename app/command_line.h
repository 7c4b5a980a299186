// Turns the command line into the settings of one run.
#ifndef STIMSEL_APP_COMMAND_LINE_H_
#define STIMSEL_APP_COMMAND_LINE_H_

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "words/categories.h"

struct Settings {
  int wanted = 12;  // N, the number of words wanted
  ListMode mode = ListMode::FullMode;
  std::string normsFile = "KOVA.txt";
  std::string tagFile = "kovatags.txt";
  std::optional<std::string> excludeFile;
  std::optional<std::string> partOfSpeech;
  std::optional<std::uint32_t> seed;  // none: seed from the clock
  int positionalCount = 0;            // arguments that are not options
  bool showHelp = false;
  bool showVersion = false;
};

struct CommandLine {
  Settings settings;
  std::string error;  // set when an option is unknown or malformed
};

// Reads the arguments after the program name. Arguments starting with "--"
// are options (--seed N, --seed=N, --help, --version) and are taken out
// before the positions are counted: 1 the number of words, 2 the list mode
// (first character "N": no arousal words, "V": no neutral words), 3 the
// exclusion file (a one-character argument such as 0 means none), 4 the part
// of speech. Later positions are ignored.
CommandLine parseCommandLine(const std::vector<std::string>& args);

// Like atoi: leading white space, an optional sign, then decimal digits up to
// the first other character; no digits gives 0. Saturates at the 32-bit
// limits instead of overflowing.
int parseWordCount(const std::string& text);

#endif  // STIMSEL_APP_COMMAND_LINE_H_
