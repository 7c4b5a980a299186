// The datasheet's input for a run of the affect design: the six valence and
// arousal categories (or those of the list mode), matched on length and on
// frequency or Zipf frequency. Everything the table, the drawn list and the
// match rule hold is read here; what only the run knows (files, rows read,
// rows dropped while loading, which filter barred a word) comes in the facts.
#ifndef STIMSEL_DATASHEET_AFFECT_DATASHEET_H_
#define STIMSEL_DATASHEET_AFFECT_DATASHEET_H_

#include <optional>
#include <string>
#include <vector>

#include "balance/balance.h"
#include "datasheet/datasheet.h"
#include "output/drawn_list.h"
#include "select/selection.h"
#include "words/rating_scale.h"

struct AffectRunFacts {
  Provenance provenance;
  std::string normsName;
  std::string normsCitation;  // "" when not known
  long long rowsRead = 0;     // data rows of the norms file
  // Rows dropped before the table was built (missing values, no frequency
  // in the frequency file), in that order; the table holds the rest.
  std::vector<Removal> removedWhileLoading;
  std::string frequencySource = "the norms file's frequency column";
  bool frequencyPerMillion = false;  // the unit is known to be per million
  bool partOfSpeechFilter = false;   // a part of speech was asked for
  bool exclusionList = false;        // an exclusion list was given
  // Per record, whether the part-of-speech filter barred it; empty when not
  // known, and then words barred with both filters on are counted together.
  std::vector<bool> barredByPartOfSpeech;
  // Equivalence bounds in the variable's own units; none: `pooledSdBound`
  // pooled SDs. `boundsGiven`: any of them was set for the run.
  std::optional<double> lengthBound;
  std::optional<double> frequencyBound;
  double pooledSdBound = 0.5;
  bool boundsGiven = false;
  std::optional<BalanceResult> balance;
  std::optional<Schedule> latinSquare;
};

// What every design's datasheet takes from the run's facts and the table:
// provenance, the norms and their rows, the frequencies' source and unit
// (`zipf`: frequencies are matched on the Zipf scale).
DatasheetInput datasheetOfRun(const WordTable& table, const AffectRunFacts& facts, bool zipf);

// The equivalence bound of a control: `raw` in the variable's own units
// when the run set one, else `pooledSd` pooled SDs.
EquivalenceBound boundOf(const std::optional<double>& raw, double pooledSd);

// The datasheet's account of a balancing, with its cost in one sentence.
SheetBalance sheetBalanceOf(const BalanceResult& b);

// The rule of category `category` on `scale`, as the classification's
// comparisons decide it on single-precision ratings: "valence above 7 and
// arousal of 5.67 or more" (a rating read as 5.67 lies above 5.67),
// "valence below 3 and arousal at most 5.72" (one read as 5.72 lies below).
std::string affectRuleText(AffectCategory category, const RatingScale& scale);

// The datasheet's input for `list` drawn from `table` under `rules`, with
// `wantedWords` the words the list should have held. Controls: length and,
// under rules.zipf, Zipf frequency, else frequency, with the values the
// match rule compares. Removals after loading are counted in this order:
// repeated words, valence SD above the limit, outside every category in
// play, part of speech, exclusion list.
DatasheetInput affectDatasheetInput(const WordTable& table, const DrawnList& list,
                                    const MatchRules& rules, const RatingScale& scale,
                                    long long wantedWords, const AffectRunFacts& facts);

#endif  // STIMSEL_DATASHEET_AFFECT_DATASHEET_H_
