// The design options on arbitrary text: the first byte picks the parser.
// Whatever the text, a parser returns a value that keeps its promises or an
// error with a message; an accepted split reads back from its own labels.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "design/design_text.h"
#include "fuzz/fuzz_support.h"

namespace {

void checkSplit(const Split& split) {
  FUZZ_CHECK(!split.variable.empty() && !split.bands.empty());
  for (size_t a = 0; a < split.bands.size(); ++a) {
    const Interval& in = split.bands[a].interval;
    FUZZ_CHECK(in.overlaps(in));
    for (size_t b = 0; b < a; ++b) FUZZ_CHECK(!in.overlaps(split.bands[b].interval));
    // A band's own bounds fall in it exactly when they are closed.
    if (!std::isinf(in.low)) FUZZ_CHECK(in.contains(in.low) == in.lowClosed);
    if (!std::isinf(in.high)) FUZZ_CHECK(in.contains(in.high) == in.highClosed);
  }
  std::string again = split.variable + "=";
  for (const Band& band : split.bands) {
    again += (band.name.empty() ? "" : band.name + ":") + band.interval.text() + " ";
  }
  const Result<Split> reread = parseSplit(again);
  FUZZ_CHECK(reread.ok());
  FUZZ_CHECK(reread.value().bands.size() == split.bands.size());
  for (size_t b = 0; b < split.bands.size(); ++b) {
    FUZZ_CHECK(reread.value().bands[b].interval.text() == split.bands[b].interval.text());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  switch (data[0] % 3) {
    case 0: {
      const Result<Split> split = parseSplit(text);
      if (split.ok())
        checkSplit(split.value());
      else
        FUZZ_CHECK(!split.error().text().empty());
      break;
    }
    case 1: {
      const Result<Control> control = parseControl(text);
      FUZZ_CHECK(!control.ok() || control.value().tolerance >= 0);
      break;
    }
    default: {
      const Result<Condition> condition = parseCondition(text);
      if (condition.ok()) FUZZ_CHECK(parseCondition(condition.value().text()).ok());
      break;
    }
  }
  return 0;
}
