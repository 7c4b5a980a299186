// The design of a study as a value: how words fall into categories, what
// the words of a group are matched on, and which words may be chosen at all.
//
// A design names variables, never columns: a variable is a role of the norms
// (valence, arousal, valence_sd, frequency), a value computed from a record
// (length in letters, zipf from a per-million frequency) or any column of a
// CSV/TSV table, matched case-insensitively when the table is read. The
// design is settled from the command line before any file is read and never
// changes afterwards; the table turns it into a category number per row and
// control values per row, which is all that selection sees.
//
// The built-in affect design (the six valence x arousal categories, the list
// modes and the SD rule) is the default; a design with splits replaces its
// categories by the cross product of the splits' bands.
#ifndef STIMSEL_DESIGN_DESIGN_H_
#define STIMSEL_DESIGN_DESIGN_H_

#include <string>
#include <vector>

// An interval of the real line. Bounds may be infinite; a bound is included
// when its side is closed. Values are compared as read, in double precision.
struct Interval {
  double low = 0;
  double high = 0;
  bool lowClosed = true;
  bool highClosed = true;

  bool contains(double value) const;
  // True when some value lies in both intervals.
  bool overlaps(const Interval& other) const;
  // "[1,3)", "(-inf,0)": the interval as the user writes it.
  std::string text() const;
};

// One band of a split: an interval and an optional name ("neg").
struct Band {
  std::string name;
  Interval interval;

  // The name, or the interval's text when the band has none.
  std::string label() const;
};

// A variable cut into bands that do not overlap. A value in no band puts
// its word in no category.
struct Split {
  std::string variable;
  std::vector<Band> bands;

  // The 0-based band holding `value`, or -1.
  int bandOf(double value) const;
  // "valence (neg [1,4), pos (6,9])": the variable and its bands.
  std::string text() const;
};

// Every word of a group lies within `tolerance` of the anchor (under the
// all-pairs rule, of every other word of the group) on `variable`, bounds
// included: |a - b| <= tolerance in double precision.
struct Control {
  std::string variable;
  double tolerance = 0;
};

enum class Relation { Less, LessOrEqual, Greater, GreaterOrEqual, Equal, NotEqual };

// A filter: only words whose value of `variable` satisfies it can be chosen.
struct Condition {
  std::string variable;
  Relation op = Relation::Equal;
  double value = 0;

  bool holds(double x) const;
  // "valence_sd <= 2".
  std::string text() const;
};

// Upper limit on the categories of one design: a group holds one word of
// each, and selection numbers categories in one byte.
constexpr int kMostCategories = 64;

struct Design {
  std::vector<Split> splits;      // empty: the built-in affect categories
  std::vector<Control> controls;  // empty: the default controls of the norms
  std::vector<Condition> filters;

  bool isAffect() const { return splits.empty(); }

  // The number of categories of a split design: the product of the band
  // counts (0 for the affect design, whose list mode decides).
  int categoryCount() const;

  // The category (1..categoryCount()) of the word whose split variables
  // have the band indexes `bands` (one per split, in split order), the
  // first split varying slowest; 0 when some index is -1.
  int categoryOf(const std::vector<int>& bands) const;

  // The band index of every split for category c (1..categoryCount()).
  std::vector<int> bandsOf(int category) const;

  // "neg/calm": the band labels of category c joined by "/".
  std::string categoryName(int category) const;

  // "valence_sd <= 2 and length < 9": every filter, joined by "and".
  std::string filtersText() const;

  // Every variable the design names, each once, in the order first named:
  // splits, then controls, then filters. The table keeps these columns.
  std::vector<std::string> variables() const;

  // The variables of variables() that only the norms file can supply:
  // every one but the computed length, frequency and zipf.
  std::vector<std::string> fileVariables() const;
};

// True for the variables computed from a record rather than read from a
// column: "length", "frequency" and "zipf", in any case.
bool isComputedVariable(const std::string& variable);

#endif  // STIMSEL_DESIGN_DESIGN_H_
