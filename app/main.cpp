// stimsel: draws balanced word lists from rated norms.
#include <cstdio>
#include <cstring>
#include <ctime>
#include <ostream>
#include <string>
#include <vector>

#include "app/standard_output.h"
#include "app/stimsel.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  StandardOutput buffer;
  std::ostream out(&buffer);
  const int status = runStimsel(args, out, static_cast<std::uint32_t>(std::time(nullptr)));
  out.flush();
  // Standard output is broken, so say it on standard error. A closed pipe
  // never gets here: SIGPIPE ends the process quietly, as Unix tools do.
  if (buffer.error() != 0) {
    std::fprintf(stderr, "stimsel: cannot write the list: %s\n", std::strerror(buffer.error()));
    return kExitInputError;
  }
  return status;
}
