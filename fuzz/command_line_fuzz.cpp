// The command line on arbitrary arguments: NUL bytes separate them.
#include <cstddef>
#include <cstdint>
#include <sstream>

#include "app/command_line.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> args(1);
  for (size_t i = 0; i < size && args.size() <= 16; ++i) {
    if (data[i] == 0) {
      args.emplace_back();
    } else {
      args.back() += static_cast<char>(data[i]);
    }
  }
  const Result<Settings> cl = parseCommandLine(args);
  if (!cl.ok()) {
    FUZZ_CHECK(cl.error().text().rfind("stimsel: ", 0) == 0);
    return 0;
  }
  const Settings& s = cl.value();
  int positional = 0;
  for (const std::string& a : args) positional += a.compare(0, 2, "--") != 0;
  FUZZ_CHECK(s.positionalCount <= positional);
  FUZZ_CHECK(!s.excludeFile || s.excludeFile->size() >= 2);
  FUZZ_CHECK(s.norms.path == "KOVA.txt" && s.tagFile == "kovatags.txt");
  for (const std::string& a : args) {
    const int n = parseWordCount(a);
    FUZZ_CHECK(a.find_first_of("0123456789") != std::string::npos || n == 0);
  }
  return 0;
}
