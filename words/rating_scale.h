// The scale a norms file rates on, and classification on it.
#ifndef STIMSEL_WORDS_RATING_SCALE_H_
#define STIMSEL_WORDS_RATING_SCALE_H_

#include "words/categories.h"

// Ratings run from `low` to `high`; the category bands are set on 1..9.
struct RatingScale {
  double low = 1;
  double high = 9;

  bool isDefault() const { return low == 1 && high == 9; }
  // A rating of the 1-9 bands on this scale, and a spread (SD) likewise.
  double fromNinePoint(double rating) const { return low + (rating - 1) * (high - low) / 8; }
  double spreadFromNinePoint(double spread) const { return spread * (high - low) / 8; }
};

// Classifies ratings of `scale` by mapping them linearly onto 1..9 (the SD
// scales with them). On the default scale the float ratings are compared as
// they are, so that classification stays exactly what it always was.
AffectCategory classifyOnScale(float valMn, float valSd, float aroMn, const RatingScale& scale);

#endif  // STIMSEL_WORDS_RATING_SCALE_H_
