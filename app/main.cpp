// stimsel: draws balanced word lists from rated norms.
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <ostream>
#include <string>
#include <vector>

#include "app/heap_pages.h"
#include "app/standard_output.h"
#include "app/stimsel.h"

int main(int argc, char** argv) {
  useLargeHeapPages();
  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  // Over a file size limit (ulimit -f) a write then fails with EFBIG, which
  // the run reports, instead of the signal killing it halfway.
  std::signal(SIGXFSZ, SIG_IGN);
  StandardOutput buffer(STDOUT_FILENO);
  StandardOutput errorBuffer(STDERR_FILENO);
  std::ostream out(&buffer);
  std::ostream err(&errorBuffer);
  const int status = runStimsel(args, out, err, static_cast<std::uint32_t>(std::time(nullptr)));
  err.flush();
  out.flush();
  // Standard output is broken, so say it on standard error. A closed pipe
  // never gets here: SIGPIPE ends the process quietly, as Unix tools do.
  if (buffer.error() != 0) {
    std::fprintf(stderr, "stimsel: cannot write the list: %s\n", std::strerror(buffer.error()));
    return kExitInputError;
  }
  return status;
}
