#include "datasheet/affect_datasheet.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <limits>

#include "output/number_format.h"
#include "output/result_table.h"
#include "words/zipf.h"

namespace {

using Predicate = std::function<bool(float)>;

enum class Side { Above, Below };  // the side of the threshold a category takes

float stepped(float x, Side towards) {
  return std::nextafter(x, towards == Side::Above ? std::numeric_limits<float>::infinity()
                                                  : -std::numeric_limits<float>::infinity());
}

// The rating nearest the threshold that still meets `meets`, found by
// stepping float by float from the threshold as written: the smallest such
// float for Side::Above, the largest for Side::Below.
float lastMeeting(const Predicate& meets, float start, Side side) {
  const Side inward = side;
  const Side outward = side == Side::Above ? Side::Below : Side::Above;
  float x = start;
  constexpr int kMostSteps = 1 << 12;
  if (meets(x)) {
    for (int i = 0; i < kMostSteps && meets(stepped(x, outward)); ++i) x = stepped(x, outward);
    return x;
  }
  for (int i = 0; i < kMostSteps && !meets(x); ++i) x = stepped(x, inward);
  return x;
}

// The condition a rating must meet, in words that are exact on
// single-precision ratings: "above 7", "of 5.67 or more", "at most 5.72",
// "below 5.67". `threshold` is the cut on the file's scale.
std::string conditionText(const Predicate& meets, double threshold, Side side) {
  const std::string written = plainNumber(threshold);
  const float asRead = std::strtof(written.c_str(), nullptr);
  const float edge = lastMeeting(meets, asRead, side);
  if (side == Side::Above) {
    if (edge == asRead) return "of " + written + " or more";
    if (stepped(edge, Side::Below) == asRead) return "above " + written;
    return "of " + shortestText(edge) + " or more";
  }
  if (edge == asRead) return "at most " + written;
  if (stepped(edge, Side::Above) == asRead) return "below " + written;
  return "at most " + shortestText(edge);
}

bool positive(AffectCategory c) {
  return c == AffectCategory::PosCalm || c == AffectCategory::PosAroused;
}
bool negative(AffectCategory c) {
  return c == AffectCategory::NegCalm || c == AffectCategory::NegAroused;
}
bool neutral(AffectCategory c) {
  return c == AffectCategory::NeuCalm || c == AffectCategory::NeuAroused;
}
bool calm(AffectCategory c) {
  return c == AffectCategory::PosCalm || c == AffectCategory::NegCalm ||
         c == AffectCategory::NeuCalm;
}

// The valence clause, read off the classification itself at a calm arousal.
std::string valenceText(AffectCategory category, const RatingScale& s) {
  const auto lowArousal = static_cast<float>(s.low);
  auto band = [&](bool (*inBand)(AffectCategory)) -> Predicate {
    return [=](float v) { return inBand(classifyOnScale(v, 0, lowArousal, s)); };
  };
  const double onScale3 = s.fromNinePoint(kNegativeBelow);
  if (negative(category)) return "valence " + conditionText(band(negative), onScale3, Side::Below);
  if (positive(category)) {
    return "valence " + conditionText(band(positive), s.fromNinePoint(kPositiveAbove), Side::Above);
  }
  return "valence " + conditionText(band(neutral), s.fromNinePoint(kNeutralAbove), Side::Above) +
         " and " + conditionText(band(neutral), s.fromNinePoint(kNeutralBelow), Side::Below);
}

std::string arousalText(AffectCategory category, const RatingScale& s) {
  double cut = kNeuArousalCut;
  double valence = s.fromNinePoint(5);
  if (positive(category)) {
    cut = kPosArousalCut;
    valence = s.high;
  } else if (negative(category)) {
    cut = kNegArousalCut;
    valence = s.low;
  }
  const auto v = static_cast<float>(valence);
  const Predicate isCalm = [=](float a) { return calm(classifyOnScale(v, 0, a, s)); };
  const Predicate isAroused = [=](float a) { return !calm(classifyOnScale(v, 0, a, s)); };
  const double onScale = s.fromNinePoint(cut);
  return "arousal " + (calm(category) ? conditionText(isCalm, onScale, Side::Below)
                                      : conditionText(isAroused, onScale, Side::Above));
}

// The classification's own SD test: the spread scaled onto 1..9 as
// classifyOnScale scales it (by exactly 1 on the 1-9 scale).
bool spreadTooLarge(const WordRecord& r, const RatingScale& s) {
  return static_cast<double>(r.valSd) * (8.0 / (s.high - s.low)) > kMaxValenceSpread;
}

int playNumber(const std::vector<AffectCategory>& play, AffectCategory c) {
  const auto at = std::find(play.begin(), play.end(), c);
  return at == play.end() ? 0 : static_cast<int>(at - play.begin()) + 1;
}

struct Counts {
  long long repeated = 0;
  long long spread = 0;
  long long outside = 0;
  long long partOfSpeech = 0;
  long long exclusion = 0;
  long long eitherFilter = 0;
};

Counts countRemovals(const WordTable& table, const std::vector<AffectCategory>& play,
                     const RatingScale& scale, const AffectRunFacts& facts) {
  Counts n;
  const bool split = facts.barredByPartOfSpeech.size() == table.records.size();
  for (size_t i = 0; i < table.records.size(); ++i) {
    const WordRecord& r = table.records[i];
    if (r.duplicate) {
      ++n.repeated;
    } else if (table.hasValenceSd && spreadTooLarge(r, scale)) {
      ++n.spread;
    } else if (playNumber(play, r.category) == 0) {
      ++n.outside;
    } else if (r.excluded) {
      if (split) {
        ++(facts.barredByPartOfSpeech[i] ? n.partOfSpeech : n.exclusion);
      } else if (facts.partOfSpeechFilter && facts.exclusionList) {
        ++n.eitherFilter;
      } else {
        ++(facts.partOfSpeechFilter ? n.partOfSpeech : n.exclusion);
      }
    }
  }
  return n;
}

std::vector<Removal> removals(const WordTable& table, const std::vector<AffectCategory>& play,
                              const RatingScale& scale, const AffectRunFacts& facts) {
  const Counts n = countRemovals(table, play, scale, facts);
  std::vector<Removal> removed = facts.removedWhileLoading;
  removed.push_back({"repeats of a word listed earlier in the file", n.repeated});
  if (table.hasValenceSd) {
    removed.push_back(
        {"valence SD above " + plainNumber(scale.spreadFromNinePoint(kMaxValenceSpread)),
         n.spread});
  }
  removed.push_back({"ratings outside every category in play", n.outside});
  const bool split = facts.barredByPartOfSpeech.size() == table.records.size();
  if (facts.partOfSpeechFilter && facts.exclusionList && !split) {
    removed.push_back(
        {"not of the part of speech asked for, or on the exclusion list", n.eitherFilter});
    return removed;
  }
  if (facts.partOfSpeechFilter) {
    removed.push_back({"not of the part of speech asked for", n.partOfSpeech});
  }
  if (facts.exclusionList) removed.push_back({"on the exclusion list", n.exclusion});
  return removed;
}

std::vector<SheetControl> controlsOf(const MatchRules& rules, const AffectRunFacts& facts) {
  SheetControl length{"length", "letters", static_cast<double>(rules.lengthTolerance), 0,
                      boundOf(facts.lengthBound, facts.pooledSdBound)};
  SheetControl frequency{"frequency", facts.frequencyPerMillion ? "per million" : "frequency units",
                         rules.frequencyTolerance, 2,
                         boundOf(facts.frequencyBound, facts.pooledSdBound)};
  if (rules.zipf) {
    frequency.name = "Zipf frequency";
    frequency.unit = "Zipf units";
  }
  return {length, frequency};
}

std::string anchorRuleText(const std::vector<AffectCategory>& play) {
  if (play.size() < 2) return "";
  return "anchors were taken from categories 1 to " + std::to_string(play.size() - 1) +
         " in turn, so " + nameOf(play.back()) + " words were never anchors";
}

GroupCapacity capacityOf(const WordTable& table, const std::vector<AffectCategory>& play,
                         const MatchRules& rules) {
  CapacityInput input;
  input.categories = static_cast<int>(play.size());
  input.matchAll = rules.matchAll;
  CapacityControl length{{}, static_cast<double>(rules.lengthTolerance)};
  CapacityControl frequency{{}, rules.frequencyTolerance};
  for (const WordRecord& r : table.records) {
    input.categoryOf.push_back(r.canBeChosen() ? playNumber(play, r.category) : 0);
    length.values.push_back(r.len);
    frequency.values.push_back(matchKey(r, rules));
  }
  input.controls = {length, frequency};
  for (int c = 1; c < input.categories; ++c) input.anchorCycle.push_back(c);
  if (input.anchorCycle.empty()) input.anchorCycle.push_back(1);
  return greedyGroupCapacity(input);
}

}  // namespace

EquivalenceBound boundOf(const std::optional<double>& raw, double pooledSd) {
  if (!raw) return {pooledSd, EquivalenceBound::Unit::PooledSd};
  return {*raw, EquivalenceBound::Unit::Raw};
}

SheetBalance sheetBalanceOf(const BalanceResult& b) {
  SheetBalance s{b.imbalanceBefore,
                 b.imbalanceAfter,
                 b.replacements,
                 b.groupSwaps,
                 b.wordTrades,
                 b.reachedBound,
                 ""};
  s.cost =
      "for each control, with values in units of its SD among the eligible words, the sum over "
      "every two categories (and every two lists) of the squared difference of means plus " +
      plainNumber(kLogSdWeight) + " times the squared difference of log SDs (SDs floored at " +
      plainNumber(kSdFloor) + ")";
  return s;
}

std::string affectRuleText(AffectCategory category, const RatingScale& scale) {
  if (category == AffectCategory::Unclassed) return "";
  return valenceText(category, scale) + " and " + arousalText(category, scale);
}

DatasheetInput datasheetOfRun(const WordTable& table, const AffectRunFacts& facts, bool zipf) {
  DatasheetInput input;
  input.provenance = facts.provenance;
  input.normsName = facts.normsName;
  input.normsCitation = facts.normsCitation;
  input.rowsRead = facts.rowsRead;
  input.rowsLoaded = table.count();
  input.frequencySource = facts.frequencySource;
  input.frequencyUnit = facts.frequencyPerMillion ? "per million"
                        : zipf ? "unit not stated; taken as per million for the Zipf scale"
                               : "as given in the file; unit not stated";
  return input;
}

DatasheetInput affectDatasheetInput(const WordTable& table, const DrawnList& list,
                                    const MatchRules& rules, const RatingScale& scale,
                                    long long wantedWords, const AffectRunFacts& facts) {
  DatasheetInput input = datasheetOfRun(table, facts, rules.zipf);
  input.sortedBy = "by their mean valence and arousal ratings (scale " + plainNumber(scale.low) +
                   " to " + plainNumber(scale.high) + ")";
  input.removed = removals(table, list.play, scale, facts);
  for (AffectCategory c : list.play) {
    long long eligible = 0;
    for (const WordRecord& r : table.records) eligible += r.canBeChosen() && r.category == c;
    input.categories.push_back({nameOf(c), affectRuleText(c, scale), eligible});
  }
  input.capacity = capacityOf(table, list.play, rules);
  input.controls = controlsOf(rules, facts);
  input.boundsGiven = facts.boundsGiven;
  input.matchAll = rules.matchAll;
  input.anchorRule = anchorRuleText(list.play);
  input.lists = list.lists;
  input.wantedWords = wantedWords;
  for (const ListRow& row : list.rows) {
    const WordRecord& r = list.record(row);
    input.words.push_back({std::string(r.word()),
                           row.list,
                           row.group,
                           row.category,
                           row.anchor,
                           {static_cast<double>(r.len), matchKey(r, rules)}});
  }
  if (facts.balance) input.balance = sheetBalanceOf(*facts.balance);
  input.latinSquare = facts.latinSquare;
  return input;
}
