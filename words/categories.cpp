#include "words/categories.h"

namespace {

struct Names {
  const char* label;
  const char* name;
};

// By category number, Unclassed first.
constexpr Names kNames[] = {{"", "unclassed"},          {"+ ", "calm positive"},
                            {"- ", "calm negative"},    {"N ", "calm neutral"},
                            {"+a", "aroused positive"}, {"-a", "aroused negative"},
                            {"Na", "aroused neutral"}};

}  // namespace

const char* labelOf(AffectCategory category) {
  return kNames[static_cast<int>(category)].label;
}

const char* nameOf(AffectCategory category) {
  return kNames[static_cast<int>(category)].name;
}

AffectCategory classify(float valMn, float valSd, float aroMn) {
  // A float widens to double exactly, so this compares the float ratings.
  return classifyValues(valMn, valSd, aroMn);
}

AffectCategory classifyValues(double valMn, double valSd, double aroMn) {
  if (valSd > kMaxValenceSpread) return AffectCategory::Unclassed;
  if (valMn < kNegativeBelow) {
    return aroMn <= kNegArousalCut ? AffectCategory::NegCalm : AffectCategory::NegAroused;
  }
  if (valMn > kPositiveAbove) {
    return aroMn <= kPosArousalCut ? AffectCategory::PosCalm : AffectCategory::PosAroused;
  }
  if (valMn > kNeutralAbove && valMn < kNeutralBelow) {
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
