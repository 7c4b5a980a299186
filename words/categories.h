// Affect categories, their printed labels, and the list modes that decide
// which categories take part in a list.
#ifndef STIMSEL_WORDS_CATEGORIES_H_
#define STIMSEL_WORDS_CATEGORIES_H_

#include <cstdint>
#include <vector>

// The affect category a record was classified into. It never changes after
// loading: a list mode only chooses which categories are in play.
enum class AffectCategory : std::uint8_t {
  Unclassed = 0,
  PosCalm = 1,
  NegCalm = 2,
  NeuCalm = 3,
  PosAroused = 4,
  NegAroused = 5,
  NeuAroused = 6,
};

// The bands on the 1-9 scale. Valence below kNegativeBelow is negative,
// above kPositiveAbove positive, strictly between kNeutralAbove and
// kNeutralBelow neutral; the gaps are never used. Arousal at most the cut of
// a valence band is calm: the positive and negative cuts differ. A word
// whose valence SD exceeds kMaxValenceSpread is never used.
constexpr double kNegativeBelow = 3.0;
constexpr double kNeutralAbove = 4.0;
constexpr double kNeutralBelow = 6.0;
constexpr double kPositiveAbove = 7.0;
constexpr double kPosArousalCut = 5.67;
constexpr double kNegArousalCut = 5.72;
constexpr double kNeuArousalCut = 4.0;
constexpr double kMaxValenceSpread = 2.0;

// The two-character label printed in the table ("+ ", "- ", "N ", "+a",
// "-a", "Na"); "" for Unclassed.
const char* labelOf(AffectCategory category);

// "calm positive" ... "aroused neutral"; "unclassed" for Unclassed.
const char* nameOf(AffectCategory category);

// Valence and arousal of one record, as the loader holds them. Ratings are
// floats compared against double constants, so a rating written 5.67 in the
// file (5.6700000763 as a float) counts as above 5.67.
AffectCategory classify(float valMn, float valSd, float aroMn);

// The same bands for ratings already in double precision (ratings mapped
// from another scale).
AffectCategory classifyValues(double valMn, double valSd, double aroMn);

enum class ListMode { FullMode, NoArousalMode, NoNeutralMode };

// The categories in play, in the order that numbers them 1..K for anchors,
// partners and messages: all six; the three calm ones; or calm positive,
// calm negative, aroused positive, aroused negative.
std::vector<AffectCategory> categoriesInPlay(ListMode mode);

#endif  // STIMSEL_WORDS_CATEGORIES_H_
