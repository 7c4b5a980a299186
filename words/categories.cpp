#include "words/categories.h"

namespace {

// Arousal cut-offs differ between the positive and the negative band.
constexpr double kPosArousalCut = 5.67;
constexpr double kNegArousalCut = 5.72;
constexpr double kNeuArousalCut = 4.0;
constexpr double kMaxValenceSpread = 2.0;

}  // namespace

const char* labelOf(AffectCategory category) {
  switch (category) {
    case AffectCategory::PosCalm:
      return "+ ";
    case AffectCategory::NegCalm:
      return "- ";
    case AffectCategory::NeuCalm:
      return "N ";
    case AffectCategory::PosAroused:
      return "+a";
    case AffectCategory::NegAroused:
      return "-a";
    case AffectCategory::NeuAroused:
      return "Na";
    case AffectCategory::Unclassed:
      break;
  }
  return "";
}

const char* nameOf(AffectCategory category) {
  switch (category) {
    case AffectCategory::PosCalm:
      return "calm positive";
    case AffectCategory::NegCalm:
      return "calm negative";
    case AffectCategory::NeuCalm:
      return "calm neutral";
    case AffectCategory::PosAroused:
      return "aroused positive";
    case AffectCategory::NegAroused:
      return "aroused negative";
    case AffectCategory::NeuAroused:
      return "aroused neutral";
    case AffectCategory::Unclassed:
      break;
  }
  return "unclassed";
}

AffectCategory classify(float valMn, float valSd, float aroMn) {
  // A float widens to double exactly, so this compares the float ratings.
  return classifyValues(valMn, valSd, aroMn);
}

AffectCategory classifyValues(double valMn, double valSd, double aroMn) {
  if (valSd > kMaxValenceSpread) return AffectCategory::Unclassed;
  if (valMn < 3.0) {
    return aroMn <= kNegArousalCut ? AffectCategory::NegCalm : AffectCategory::NegAroused;
  }
  if (valMn > 7.0) {
    return aroMn <= kPosArousalCut ? AffectCategory::PosCalm : AffectCategory::PosAroused;
  }
  if (valMn > 4.0 && valMn < 6.0) {
    return aroMn <= kNeuArousalCut ? AffectCategory::NeuCalm : AffectCategory::NeuAroused;
  }
  return AffectCategory::Unclassed;  // the gaps 3..4 and 6..7, bounds included
}

std::vector<AffectCategory> categoriesInPlay(ListMode mode) {
  using C = AffectCategory;
  switch (mode) {
    case ListMode::NoArousalMode:
      return {C::PosCalm, C::NegCalm, C::NeuCalm};
    case ListMode::NoNeutralMode:
      return {C::PosCalm, C::NegCalm, C::PosAroused, C::NegAroused};
    case ListMode::FullMode:
      break;
  }
  return {C::PosCalm, C::NegCalm, C::NeuCalm, C::PosAroused, C::NegAroused, C::NeuAroused};
}
