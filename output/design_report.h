// The balance report of a design of the user's own categories: how the
// chosen words of each category compare on every split and control
// variable, and a paragraph for a methods section that states the design
// as applied.
#ifndef STIMSEL_OUTPUT_DESIGN_REPORT_H_
#define STIMSEL_OUTPUT_DESIGN_REPORT_H_

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "design/design.h"
#include "output/drawn_list.h"

struct DesignReportContext {
  std::string command;  // the command line that reruns the list, --seed included
  std::uint32_t seed = 0;
  std::string normsFile;
  int normsRows = 0;
  const Design* design = nullptr;
  std::vector<Control> controls;  // the controls in force
  std::string controlsText;       // "length within 2 letters and concreteness within 0.5"
  bool matchAll = false;
  long long wantedWords = 0;  // what the list should have held
  bool complete = true;
};

// Writes, for each category, its words and the mean, SD, minimum and
// maximum of every variable the list shows; for each control, the pair of
// categories (and, with several lists, of lists) whose means differ most in
// Hedges' g, with its 90 % confidence interval and the two one-sided tests
// at +-0.5 pooled SD, or why they cannot be computed or cannot succeed at
// these sizes; the seed, the command that reruns the list, and the methods
// paragraph. Figures round half away from zero.
void writeDesignReport(const DrawnList& list, const DesignReportContext& context,
                       std::ostream& out);

#endif  // STIMSEL_OUTPUT_DESIGN_REPORT_H_
