// stimsel: draws balanced word lists from rated norms.
#include <string>
#include <vector>

#include "app/run.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  const int status = runCommandLine(args, std::cout);
  // A list that could not be written (a full disk, a closed pipe) must not
  // end with the status of a complete run.
  std::cout.flush();
  return std::cout ? status : kExitInputError;
}
