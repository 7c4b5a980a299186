// The balance report of a design of the user's own categories: how the
// chosen words of each category compare on every split and control
// variable, and a paragraph for a methods section that states the design
// as applied.
#ifndef STIMSEL_OUTPUT_DESIGN_REPORT_H_
#define STIMSEL_OUTPUT_DESIGN_REPORT_H_

#include <ostream>
#include <vector>

#include "datasheet/datasheet.h"
#include "design/design.h"
#include "output/drawn_list.h"

struct DesignReportContext {
  std::vector<Control> controls;  // the controls in force
  long long wantedWords = 0;      // what the list should have held
  bool complete = true;
};

// Writes, for each category, its words and the mean, SD, minimum and
// maximum of every variable the list shows; for each control, the pair of
// categories (and, with several lists, of lists) whose means differ most in
// Hedges' g, with its 90 % confidence interval and the two one-sided tests
// at +-0.5 pooled SD, or why they cannot be computed or cannot succeed at
// these sizes; the seed, the command that reruns the list, and the citation
// request and methods paragraph of `sheet`, the run's datasheet input, so
// that the report and the datasheet say the same. Figures round half away
// from zero.
void writeDesignReport(const DrawnList& list, const DesignReportContext& context,
                       const DatasheetInput& sheet, std::ostream& out);

#endif  // STIMSEL_OUTPUT_DESIGN_REPORT_H_
