#include "output/number_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

// Expected texts from Python: Decimal('%.14e' % value).quantize(10**-decimals,
// rounding=ROUND_HALF_UP), a minus sign dropped from a zero. The comments
// give what printf's "%.*f" prints where it differs.
TEST(FixedDecimals, RoundsTheDecimalValueHalfAwayFromZero) {
  const struct {
    const char* name;
    double value;
    int decimals;
    const char* text;
  } cases[] = {
      {"tie stored below", 4.715, 2, "4.72"},  // printf: 4.71
      {"tie stored above", 7.405, 2, "7.41"},
      {"another tie stored below", 1.005, 2, "1.01"},  // printf: 1.00
      {"exact binary tie", 0.125, 2, "0.13"},          // printf: 0.12
      {"tie carried into a new digit", 9.995, 2, "10.00"},
      {"carry through every digit", 999.9995, 3, "1000.000"},
      {"negative tie", -0.005, 2, "-0.01"},
      {"tie to a whole number", 2.5, 0, "3"},  // printf: 2
      {"negative tie to a whole number", -2.5, 0, "-3"},
      {"whole number tie", 1234.5, 0, "1235"},
      {"noise in the 17th digit", 0.1 + 0.2, 2, "0.30"},
      {"large value", 1e20, 2, "100000000000000000000.00"},
      {"first digit just dropped rounds up", 0.0005, 3, "0.001"},
      {"first digit just dropped rounds down", 0.00049, 3, "0.000"},
      {"far below the last place", 0.000004, 3, "0.000"},
      {"p value", 0.04851559594142726, 3, "0.049"},
      {"negative g", -10.040874246776099, 2, "-10.04"},
      {"beyond 15 digits pads with zeros", 1.0 / 3, 17, "0.33333333333333300"},
      {"negative decimals count as none", 5.0, -1, "5"},
  };
  for (const auto& c : cases) EXPECT_EQ(fixedDecimals(c.value, c.decimals), c.text) << c.name;
}

TEST(FixedDecimals, NeverWritesANegativeZeroOrHidesANonNumber) {
  const struct {
    const char* name;
    double value;
    const char* text;
  } cases[] = {
      {"small negative", -0.001, "0.00"},  // printf: -0.00
      {"negative zero", -0.0, "0.00"},     // printf: -0.00
      {"zero", 0.0, "0.00"},
      {"not a number", std::nan(""), "nan"},
      {"infinity", std::numeric_limits<double>::infinity(), "inf"},
      {"minus infinity", -std::numeric_limits<double>::infinity(), "-inf"},
  };
  for (const auto& c : cases) EXPECT_EQ(fixedDecimals(c.value, 2), c.text) << c.name;
}

// The two builds' log10 of 600 per million (the last bit apart) write alike.
TEST(DataFigure, KeepsTenSignificantDigits) {
  const struct {
    const char* name;
    double value;
    const char* text;
  } cases[] = {
      {"the system's log10", 2.778151250383644, "2.77815125"},
      {"the browser's log10", 2.7781512503836434, "2.77815125"},
      {"a tenth digit rounded up", 0.6153116653774884, "0.6153116654"},
      {"a small value", 0.000123456789012345, "0.000123456789"},
      {"a whole number", 6.0, "6"},
      {"infinity", std::numeric_limits<double>::infinity(), "inf"},
  };
  for (const auto& c : cases) EXPECT_EQ(shortestText(dataFigure(c.value)), c.text) << c.name;
  EXPECT_TRUE(std::isnan(dataFigure(std::nan(""))));
}

}  // namespace
