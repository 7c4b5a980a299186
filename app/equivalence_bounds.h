// The equivalence bounds a run tests its balance against (--equivalence-bound):
// half a pooled SD unless the command line says otherwise, either in pooled
// SDs for every control ("0.3sd") or per variable in its own units
// ("zipf=0.1", "length=1"). Which frequency scale a run matches on is known
// only once the norms are read, so a bound is checked against it then.
#ifndef STIMSEL_APP_EQUIVALENCE_BOUNDS_H_
#define STIMSEL_APP_EQUIVALENCE_BOUNDS_H_

#include <map>
#include <optional>
#include <string>

#include "select/selection.h"
#include "words/read_error.h"

struct EquivalenceBounds {
  double pooledSd = 0.5;  // for every control without a bound of its own
  bool pooledSdGiven = false;
  std::map<std::string, double> raw;  // "length", "frequency" or "zipf" -> bound
};

// Adds one --equivalence-bound value: "NUMBERsd" or "VARIABLE=VALUE", the
// number above 0 and at most 1000000. Returns why the value is bad (a form
// not understood, a bound out of range, a second bound for one variable or
// for the pooled SD, frequency and zipf both), or "" when it was taken.
std::string addEquivalenceBound(EquivalenceBounds& bounds, const std::string& value);

// The bounds per control under `rules`: length, and frequency on the scale
// it is matched on. A bound for the other frequency scale is an error that
// stops the run (its ReadError is a bad command).
struct ControlBounds {
  double pooledSd = 0.5;
  bool pooledSdGiven = false;
  std::optional<double> length;
  std::optional<double> frequency;  // on the Zipf scale under rules.zipf
};
Result<ControlBounds> boundsInForce(const EquivalenceBounds& bounds, const MatchRules& rules);

#endif  // STIMSEL_APP_EQUIVALENCE_BOUNDS_H_
