#include "app/equivalence_bounds.h"

#include "words/ascii_text.h"
#include "words/message_text.h"
#include "words/number_text.h"

namespace {

const char* const kForms =
    "expected NUMBERsd (in pooled SDs, such as 0.5sd) or VARIABLE=VALUE in the variable's own "
    "units (such as zipf=0.1 or length=1), with VARIABLE one of length, frequency, zipf";

// A bound above 0 and at most kLargestMagnitude, written as a plain decimal.
bool parseBound(const std::string& text, double& bound) {
  return parseDecimal(text, bound) == NumberStatus::Ok && bound > 0;
}

std::string spelledRaw(const std::string& variable, double bound) {
  return variable + "=" + decimalText(bound);
}

std::string addPooledSd(EquivalenceBounds& bounds, const std::string& number) {
  double bound = 0;
  if (!parseBound(number, bound)) return "expected a bound above 0 and at most 1000000";
  if (bounds.pooledSdGiven) {
    return "a bound in pooled SDs was already given (" + decimalText(bounds.pooledSd) +
           "sd); give one";
  }
  bounds.pooledSd = bound;
  bounds.pooledSdGiven = true;
  return "";
}

std::string addRaw(EquivalenceBounds& bounds, const std::string& variable,
                   const std::string& number) {
  if (variable != "length" && variable != "frequency" && variable != "zipf") return kForms;
  double bound = 0;
  if (!parseBound(number, bound)) return "expected a bound above 0 and at most 1000000";
  for (const auto& [held, value] : bounds.raw) {
    const bool frequencyScales = held != "length" && variable != "length";
    if (held == variable || frequencyScales) {
      return spelledRaw(held, value) + " already bounds " +
             (held == "length" ? "length" : "frequency") + "; give one bound per variable";
    }
  }
  bounds.raw[variable] = bound;
  return "";
}

}  // namespace

std::string addEquivalenceBound(EquivalenceBounds& bounds, const std::string& value) {
  const size_t equals = value.find('=');
  if (equals != std::string::npos) {
    return addRaw(bounds, asciiLower(value.substr(0, equals)), value.substr(equals + 1));
  }
  const std::string lower = asciiLower(value);
  if (lower.size() > 2 && lower.compare(lower.size() - 2, 2, "sd") == 0) {
    return addPooledSd(bounds, value.substr(0, value.size() - 2));
  }
  return kForms;
}

Result<ControlBounds> boundsInForce(const EquivalenceBounds& bounds, const MatchRules& rules) {
  ControlBounds inForce;
  inForce.pooledSd = bounds.pooledSd;
  inForce.pooledSdGiven = bounds.pooledSdGiven;
  for (const auto& [variable, bound] : bounds.raw) {
    if (variable == "length") {
      inForce.length = bound;
      continue;
    }
    const bool zipf = variable == "zipf";
    if (zipf != rules.zipf) {
      return ReadError::command(
          "stimsel: --equivalence-bound " + spelledRaw(variable, bound) + " bounds " +
          (zipf ? "Zipf frequency" : "frequency in its own units") +
          ", but this run matches frequency " +
          (rules.zipf ? "on the Zipf scale; give zipf=VALUE"
                      : "in its own units; give frequency=VALUE, or match on Zipf with "
                        "--zipf-tolerance"));
    }
    inForce.frequency = bound;
  }
  return inForce;
}
