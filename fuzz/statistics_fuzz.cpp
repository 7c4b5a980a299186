// The datasheet's number work on arbitrary input: two samples compared
// (the figures must agree with each other), the decimal formatter (its
// text must read back within half a unit of the last place), and SHA-256
// fed in pieces (the pieces must not change the digest).
//
// Layout: byte 0 sizes sample a (2..33 values), byte 1 sample b, byte 2
// picks the bound (0.1 to 1.6; in SDs, or raw units when bit 0x10 is set)
// and the decimals (0 to 4); then two bytes per value, a signed
// number of hundredths, so that ties and zero spread are common. The whole
// input is also the message for SHA-256, split where byte 2 says.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "datasheet/mean_comparison.h"
#include "datasheet/sha256.h"
#include "fuzz/fuzz_support.h"
#include "output/number_format.h"

namespace {

void checkComparison(const MeanComparison& m, EquivalenceBound bound) {
  FUZZ_CHECK(m.equivalence.p >= 0 && m.equivalence.p <= 1);
  if (m.status != Computability::Computable) {
    FUZZ_CHECK(!m.equivalence.shown && !m.intervalComputed);
    return;
  }
  FUZZ_CHECK(std::isfinite(m.g) && m.pooledSd > 0);
  if (m.intervalComputed) FUZZ_CHECK(m.gLower <= m.g && m.g <= m.gUpper);
  // A test that succeeded must have been possible at these sizes.
  if (m.equivalence.shown) FUZZ_CHECK(m.attainable.possible);
  if (bound.unit == EquivalenceBound::Unit::PooledSd) {
    FUZZ_CHECK(m.attainable.possible == (bound.value > m.attainable.smallestBound));
  }
}

void checkFormat(double value, int decimals) {
  const std::string text = fixedDecimals(value, decimals);
  // No negative zero: a minus sign comes with a digit other than 0.
  if (text[0] == '-') FUZZ_CHECK(text.find_first_not_of("-0.") != std::string::npos);
  const double back = std::strtod(text.c_str(), nullptr);
  const double halfUnit = 0.5 * std::pow(10.0, -decimals);
  FUZZ_CHECK(std::fabs(back - value) <= halfUnit * (1 + 1e-9) + std::fabs(value) * 1e-14);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string message(reinterpret_cast<const char*>(data), size);
  if (size < 3) return 0;
  const size_t na = 2 + data[0] % 32;
  const size_t nb = 2 + data[1] % 32;
  const auto unit =
      (data[2] & 0x10) != 0 ? EquivalenceBound::Unit::Raw : EquivalenceBound::Unit::PooledSd;
  const EquivalenceBound bound{0.1 * (1 + data[2] % 16), unit};
  std::vector<double> a;
  std::vector<double> b;
  for (size_t at = 3; at + 1 < size && a.size() + b.size() < na + nb; at += 2) {
    const auto hundredths = static_cast<int16_t>(data[at] | (data[at + 1] << 8));
    (a.size() < na ? a : b).push_back(hundredths / 100.0);
  }
  const MeanComparison m = compareSampleMeans(a, b, bound);
  checkComparison(m, bound);

  const int decimals = data[2] % 5;
  for (double v : a) checkFormat(v / 7, decimals);
  if (m.status == Computability::Computable) checkFormat(m.g, decimals);

  Sha256 pieces;
  const size_t split = data[2] % size;
  pieces.add(std::string_view(message).substr(0, split));
  pieces.add(std::string_view(message).substr(split));
  FUZZ_CHECK(pieces.hex() == sha256Hex(message));
  return 0;
}
