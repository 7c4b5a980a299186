// Turns the command line into the settings of one run.
#ifndef STIMSEL_APP_COMMAND_LINE_H_
#define STIMSEL_APP_COMMAND_LINE_H_

#include <string>
#include <vector>

#include "app/settings.h"
#include "words/read_error.h"

// Reads the arguments after the program name. Arguments starting with "--"
// are options ("--name value" or "--name=value"; a repeated option: the last
// one counts) and are taken out before the positions are counted: 1 the
// number of words, 2 the list mode (first character "N": no arousal words,
// "V": no neutral words), 3 the exclusion file (a one-character argument
// such as 0 means none), 4 the part of speech. Later positions are ignored.
// An unknown option or a bad value is an error whose message stands alone.
Result<Settings> parseCommandLine(const std::vector<std::string>& args);

// Like atoi: leading white space, an optional sign, then decimal digits up to
// the first other character; no digits gives 0. Saturates at the 32-bit
// limits instead of overflowing.
int parseWordCount(const std::string& text);

#endif  // STIMSEL_APP_COMMAND_LINE_H_
