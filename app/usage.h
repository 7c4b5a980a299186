// The texts the tool prints about itself.
#ifndef STIMSEL_APP_USAGE_H_
#define STIMSEL_APP_USAGE_H_

#include <ostream>

// The 20-line usage text, printed when the command line has no argument.
void printUsage(std::ostream& out);

// The usage text followed by the options and the exit statuses (--help).
void printHelp(std::ostream& out);

// "stimsel <version>" (--version).
void printVersion(std::ostream& out);

#endif  // STIMSEL_APP_USAGE_H_
