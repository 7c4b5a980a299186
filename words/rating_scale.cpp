#include "words/rating_scale.h"

AffectCategory classifyOnScale(float valMn, float valSd, float aroMn, const RatingScale& scale) {
  if (scale.isDefault()) return classify(valMn, valSd, aroMn);
  const double stretch = 8.0 / (scale.high - scale.low);
  return classifyValues(1 + (valMn - scale.low) * stretch, valSd * stretch,
                        1 + (aroMn - scale.low) * stretch);
}
