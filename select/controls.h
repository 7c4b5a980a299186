// What matching compares. Every row has one value per control (today the
// word's length and its frequency key) and every control a tolerance; the
// selection sees these numbers and the rows' categories, never a column.
// Two values are close when |a - b| <= tolerance, computed in double
// precision; two rows are close when they are close on every control.
#ifndef STIMSEL_SELECT_CONTROLS_H_
#define STIMSEL_SELECT_CONTROLS_H_

#include <cmath>
#include <vector>

// True when two values lie within `tolerance`. Every comparison of the
// selection goes through this, so that the draws and the check agree.
inline bool isClose(double a, double b, double tolerance) {
  return std::fabs(a - b) <= tolerance;
}

struct Controls {
  std::vector<double> tolerances;  // one per control
  std::vector<double> values;      // row-major: row r's control c at r * count() + c

  int count() const { return static_cast<int>(tolerances.size()); }
  double value(int row, int control) const {
    return values[static_cast<size_t>(row) * tolerances.size() + static_cast<size_t>(control)];
  }
  // Every control is compared, without a branch on each: the draws ask this
  // of rows at random, whose outcomes no branch predictor could foresee.
  bool rowsClose(int a, int b) const {
    bool close = true;
    for (int c = 0; c < count(); ++c) {
      close &= isClose(value(a, c), value(b, c), tolerances[static_cast<size_t>(c)]);
    }
    return close;
  }
};

// Subtraction rounds monotonically, so "x is close to v" splits into two
// conditions that each hold on one end of a sorted run of values: x is not
// too far below v (true from some point on), and not too far above it (true
// up to some point). Searches use these to find the close run exactly.
inline bool notTooFarBelow(double x, double v, double tolerance) {
  return x >= v || v - x <= tolerance;
}
inline bool notTooFarAbove(double x, double v, double tolerance) {
  return x <= v || x - v <= tolerance;
}

#endif  // STIMSEL_SELECT_CONTROLS_H_
