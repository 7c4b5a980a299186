// The settings of one run, all settled from the command line before any
// file is read.
#ifndef STIMSEL_APP_SETTINGS_H_
#define STIMSEL_APP_SETTINGS_H_

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/equivalence_bounds.h"
#include "design/design.h"
#include "output/export.h"
#include "select/selection.h"
#include "tables/norms_file.h"
#include "words/categories.h"

struct Settings {
  int wanted = 12;  // N, the number of words wanted
  ListMode mode = ListMode::FullMode;
  NormsSource norms;  // KOVA.txt in the classic layout unless --norms says otherwise
  std::string tagFile = "kovatags.txt";
  bool tagsGiven = false;  // --tags: own norms read a tag file only when it is named
  std::optional<std::string> excludeFile;
  std::optional<std::string> partOfSpeech;
  std::optional<std::uint32_t> seed;  // none: seed from the clock
  MatchRules rules;
  bool frequencyToleranceGiven = false;  // --frequency-tolerance and --zipf-tolerance
  bool zipfToleranceGiven = false;       // exclude each other
  // The design: --split, --where, and every spelling of a control in the
  // order given (--control, --length-tolerance, --frequency-tolerance,
  // --zipf-tolerance), each remembering which option gave it.
  Design design;
  std::vector<std::string> controlSpellings;  // per design.controls entry: its option
  bool controlGiven = false;                  // --control replaces the default controls
  std::optional<bool> perMillion;             // --frequency-unit; none: from the norms
  std::string modeArgument;                   // position 2 as given, for --split
  bool excludeOptionGiven = false;            // --exclude, the third position's spelling
  bool posOptionGiven = false;                // --pos, the fourth position's spelling
  int lists = 1;                              // --lists: disjoint lists dealt from one draw
  std::optional<std::string> outFile;         // --out; "-" is standard output
  std::optional<ExportFormat> outFormat;
  bool report = false;
  bool balance = false;      // --balance: exchanges after the draw lower the imbalance
  bool latinSquare = false;  // --latin-square: the counterbalancing schedule of the lists
  std::optional<std::string> plotFile;
  std::optional<std::string> datasheetFile;  // --datasheet FILE.md; FILE.json goes beside it
  EquivalenceBounds bounds;                  // --equivalence-bound, every one given
  std::vector<std::string> arguments;        // as given, for the command that reruns the list
  int positionalCount = 0;                   // arguments that are not options
  bool showHelp = false;
  bool showVersion = false;
};

#endif  // STIMSEL_APP_SETTINGS_H_
