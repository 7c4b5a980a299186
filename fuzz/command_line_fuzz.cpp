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
  // A one-character third position means "none"; --exclude names a file.
  FUZZ_CHECK(!s.excludeFile || s.excludeFile->size() >= 2 || s.excludeOptionGiven);
  // A file name changes only through the option that names it.
  const auto given = [&args](const std::string& option) {
    for (const std::string& a : args) {
      if (a == option || a.rfind(option + "=", 0) == 0) return true;
    }
    return false;
  };
  FUZZ_CHECK(s.norms.path == "KOVA.txt" || given("--norms"));
  FUZZ_CHECK(s.tagFile == "kovatags.txt" || given("--tags"));
  FUZZ_CHECK(!s.outFile || given("--out"));
  FUZZ_CHECK(!(s.outFile && *s.outFile == "-" && s.report));
  FUZZ_CHECK(s.lists >= 1 && s.rules.lengthTolerance >= 0 && s.rules.frequencyTolerance >= 0);
  for (const std::string& a : args) {
    const int n = parseWordCount(a);
    FUZZ_CHECK(a.find_first_of("0123456789") != std::string::npos || n == 0);
  }
  return 0;
}
