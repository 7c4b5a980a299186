#include "app/controls_in_force.h"

#include "words/ascii_text.h"
#include "words/message_text.h"
#include "words/number_text.h"

namespace {

constexpr double kDefaultZipfTolerance = 0.2;

std::string controlText(const Control& control) {
  const std::string name = asciiLower(control.variable);
  const std::string tolerance = decimalText(control.tolerance);
  if (name == "length") {
    return "length within " + tolerance + (control.tolerance == 1 ? " letter" : " letters");
  }
  if (name == "zipf") return "Zipf frequency within " + tolerance;
  return shownText(control.variable) + " within " + tolerance;
}

}  // namespace

bool frequencyIsPerMillion(const Settings& settings, const WordTable& table) {
  if (settings.perMillion) return *settings.perMillion;
  return asciiLower(table.frequencyColumn) == "subtlwf";
}

std::vector<Control> controlsInForce(const Settings& settings, bool perMillion) {
  if (settings.controlGiven) return settings.design.controls;
  const MatchRules& rules = settings.rules;
  std::vector<Control> controls = {{"length", static_cast<double>(rules.lengthTolerance)}};
  if (settings.zipfToleranceGiven) {
    controls.push_back({"zipf", rules.frequencyTolerance});
  } else if (settings.frequencyToleranceGiven || !perMillion) {
    controls.push_back({"frequency", rules.frequencyTolerance});
  } else {
    controls.push_back({"zipf", kDefaultZipfTolerance});
  }
  return controls;
}

MatchRules rulesInForce(const Settings& settings, const std::vector<Control>& controls) {
  MatchRules rules = settings.rules;
  for (const Control& control : controls) {
    const std::string name = asciiLower(control.variable);
    if (name == "length" && control.tolerance <= 1e6 &&
        control.tolerance == static_cast<int>(control.tolerance)) {
      rules.lengthTolerance = static_cast<int>(control.tolerance);
    }
    if (name == "zipf" || name == "frequency") {
      rules.zipf = name == "zipf";
      rules.frequencyTolerance = control.tolerance;
    }
  }
  return rules;
}

std::string controlsText(const std::vector<Control>& controls) {
  std::string text;
  for (size_t i = 0; i < controls.size(); ++i) {
    const char* joint = i == 0 ? "" : i + 1 == controls.size() ? " and " : ", ";
    text += joint + controlText(controls[i]);
  }
  return text;
}

bool isLengthAndFrequency(const std::vector<Control>& controls) {
  if (controls.size() != 2 || asciiLower(controls[0].variable) != "length") return false;
  const std::string second = asciiLower(controls[1].variable);
  return second == "frequency" || second == "zipf";
}

std::string matchingLine(const std::vector<Control>& controls, bool matchAll) {
  if (controls.empty()) return "Matching: none; the words of a group are not matched.\n";
  return "Matching: " + controlsText(controls) +
         (matchAll ? " of each other.\n" : " of the group's anchor.\n");
}
