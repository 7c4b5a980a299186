// The datasheet of a drawn list: where it came from, what the design was,
// which words were chosen, and how closely the categories (and lists) agree
// on every control, written as Markdown for people and as JSON for programs
// from one plain value. The writer works out every statistic itself from
// the chosen words' values; the caller supplies only facts of the run
// (files, counts, texts of the rules as applied). Nothing here reads a file
// or the command line, and nothing prints but into the stream it is given.
//
// Every figure the Markdown shows is the JSON's number rounded by
// fixedDecimals (half away from zero on the decimal value); the JSON keeps
// the full double. The figures describe the chosen items after selection;
// they are not tests of a hypothesis about a population of words.
#ifndef STIMSEL_DATASHEET_DATASHEET_H_
#define STIMSEL_DATASHEET_DATASHEET_H_

#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "balance/latin_square.h"
#include "datasheet/group_capacity.h"
#include "datasheet/mean_comparison.h"

// One input file of the run, as the caller measured it.
struct SourceFile {
  std::string role;  // "norms", "frequency", "part-of-speech tags", "exclusion list"
  std::string name;  // as named on the command line
  std::uintmax_t bytes = 0;
  long long rows = 0;  // data rows (entries, for the word lists)
  std::string sha256;  // 64 lower-case hex digits
};

struct Provenance {
  std::string version;  // "1.0.0"
  std::string command;  // the command that draws the list again, seed included
  std::uint32_t seed = 0;
  std::vector<SourceFile> files;  // the norms file first
};

// Words one rule took out of the pool. A word counts under the first rule
// of the list that removes it, so the counts add up: rowsLoaded minus every
// removal after loading is the number of eligible words.
struct Removal {
  std::string rule;  // "valence SD above 2"
  long long words = 0;
};

struct SheetCategory {
  std::string name;  // "calm positive"
  // The rule as the comparison makes it, true for every value the file can
  // hold: "valence above 7 and arousal below 5.67".
  std::string rule;
  long long eligible = 0;  // words that could be drawn, before drawing
};

struct SheetControl {
  std::string name;  // "length", "Zipf frequency", "concreteness"
  std::string unit;  // plural, after a number: "letters", "Zipf units"
  double tolerance = 0;
  int decimals = 2;  // for the chosen words' values in the word table
  // The equivalence bound in force: 0.5 pooled SD unless the run named one
  // in the variable's own units.
  EquivalenceBound bound;
};

// A chosen word with one value per control, in the order of the controls.
struct SheetWord {
  std::string word;
  int list = 1;      // 1..L
  int group = 1;     // 1.. within its list
  int category = 1;  // 1..K
  bool anchor = false;
  std::vector<double> values;
};

struct SheetBalance {
  double imbalanceBefore = 0;
  double imbalanceAfter = 0;
  long long replacements = 0;
  long long groupSwaps = 0;
  long long wordTrades = 0;
  bool reachedBound = false;  // stopped by the bound on exchanges
  std::string cost;           // the imbalance written out, one sentence
};

struct DatasheetInput {
  Provenance provenance;
  std::string normsName;        // the norms file as named
  std::string normsCitation;    // what to cite, when known ("" asks for the norms' reference)
  long long rowsRead = 0;       // data rows in the norms file
  long long rowsLoaded = 0;     // rows with every value the design needs (after a frequency join)
  std::string frequencySource;  // "the norms file's frequency column", "SUBTLEX.txt (SUBTLWF)"
  std::string frequencyUnit;    // "per million", "as given in the file (unit not stated)"
  // How words were sorted into categories, one clause: "by their mean
  // valence and arousal ratings (scale 1 to 9)".
  std::string sortedBy;
  std::vector<Removal> removed;  // from rowsLoaded down to the eligible words
  std::vector<SheetCategory> categories;
  GroupCapacity capacity;
  std::vector<SheetControl> controls;
  // The bounds were set for the run; false: stimsel's default of 0.5 pooled
  // SD on every control, which the methods paragraph then explains.
  bool boundsGiven = false;
  bool matchAll = false;
  std::string anchorRule;  // how anchors are taken: "anchors cycle through categories 1 to 5"
  int lists = 1;
  long long wantedWords = 0;
  std::vector<SheetWord> words;  // by list, group, category
  std::optional<SheetBalance> balance;
  std::optional<Schedule> latinSquare;
  double alpha = 0.05;
};

// The comparison of one control between two categories or two lists
// (numbered from 1), a minus b.
struct PairFigures {
  int control = 0;  // index into DatasheetInput::controls
  int a = 0;
  int b = 0;
  MeanComparison comparison;
};

// Per category or list and control: the chosen values' summary.
struct SetFigures {
  int number = 0;  // category 1..K or list 1..L
  std::vector<SampleSummary> perControl;
  std::vector<double> minimum;
  std::vector<double> maximum;
};

// The largest |g| over a set of pairs, when any pair has one.
struct LargestG {
  bool found = false;
  PairFigures pair;
};

struct DatasheetFigures {
  std::vector<SetFigures> categories;  // categories holding at least one word
  std::vector<PairFigures> categoryPairs;
  std::vector<SetFigures> lists;  // lists with at least one complete group (L > 1)
  std::vector<int> emptyLists;    // lists without a complete group (L > 1)
  std::vector<PairFigures> listPairs;
  LargestG largestCategoryG;
  LargestG largestListG;
  long long equivalenceShown = 0;   // category pairs with equivalence shown
  long long equivalenceTested = 0;  // category pairs with a TOST
};

// Works out every statistic of the datasheet. Pairs run over controls in
// order, then a < b. A category (or list) without words takes part in no
// pair; a pair without spread keeps its raw difference. For a summary (the
// report), the pairs of lists, which grow with the square of the lists,
// get g's interval only for the largest |g|: the figures the methods
// paragraph states are the same either way.
enum class FigureScope { Everything, Summary };
DatasheetFigures datasheetFigures(const DatasheetInput& input,
                                  FigureScope scope = FigureScope::Everything);

// The methods paragraph, one line without a final newline, true of the
// input as given: rules, rows, frequency source and unit, tolerances and
// match rule, groups and lists, the largest |g| with its interval and bound
// and where the bound came from, seed and version, and a request to cite
// the norms: methodsSentences, a space, then citationRequest.
std::string methodsParagraph(const DatasheetInput& input, const DatasheetFigures& figures);
std::string methodsSentences(const DatasheetInput& input, const DatasheetFigures& figures);
std::string citationRequest(const DatasheetInput& input);

// The whole datasheet as Markdown. `figures` must be datasheetFigures(input):
// a run that writes both forms computes them once.
void writeDatasheetMarkdown(const DatasheetInput& input, std::ostream& out);
void writeDatasheetMarkdown(const DatasheetInput& input, const DatasheetFigures& figures,
                            std::ostream& out);

// The same content as data; the schema is described in the README
// ("datasheet" 1: provenance, rows, removed, design, capacity, words,
// categories, category_pairs, lists, list_pairs, largest_g, balance,
// latin_square, methods). Figures that are not whole numbers carry
// kDataFigureDigits significant digits (output/number_format.h).
nlohmann::ordered_json datasheetJson(const DatasheetInput& input);
nlohmann::ordered_json datasheetJson(const DatasheetInput& input, const DatasheetFigures& figures);

#endif  // STIMSEL_DATASHEET_DATASHEET_H_
