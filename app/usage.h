// The texts the tool prints about itself.
#ifndef STIMSEL_APP_USAGE_H_
#define STIMSEL_APP_USAGE_H_

#include <ostream>
#include <string>

// The 20-line usage text, printed when the command line has no argument.
void printUsage(std::ostream& out);

// The usage text followed by the options and the exit statuses (--help).
void printHelp(std::ostream& out);

// "stimsel <version>" (--version).
void printVersion(std::ostream& out);

// The version alone, as --version prints it after "stimsel ": "1.0.0".
std::string versionText();

#endif  // STIMSEL_APP_USAGE_H_
