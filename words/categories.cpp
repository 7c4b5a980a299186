#include "words/categories.h"

#include "words/word_table.h"

namespace {

// Arousal cut-offs differ between the positive and the negative band.
constexpr double kPosArousalCut = 5.67;
constexpr double kNegArousalCut = 5.72;
constexpr double kNeuArousalCut = 4.0;
constexpr double kMaxValenceSpread = 2.0;

AffectCategory categoryFor(const WordRecord& r) {
  if (r.valSd > kMaxValenceSpread) return AffectCategory::Unclassed;
  if (r.valMn < 3.0) {
    return r.aroMn <= kNegArousalCut ? AffectCategory::NegCalm : AffectCategory::NegAroused;
  }
  if (r.valMn > 7.0) {
    return r.aroMn <= kPosArousalCut ? AffectCategory::PosCalm : AffectCategory::PosAroused;
  }
  if (r.valMn > 4.0 && r.valMn < 6.0) {
    return r.aroMn <= kNeuArousalCut ? AffectCategory::NeuCalm : AffectCategory::NeuAroused;
  }
  return AffectCategory::Unclassed;  // the gaps 3..4 and 6..7, bounds included
}

void renumber(WordTable& table, int count, AffectCategory from, AffectCategory to) {
  for (int i = 0; i < count; ++i) {
    WordRecord& r = table.records[i];
    if (r.category == categoryNumber(from)) r.category = categoryNumber(to);
  }
}

}  // namespace

LabelTable defaultLabelTable() {
  return {"+ ", "- ", "N ", "+a", "-a", "Na", ""};
}

const std::string& labelOf(const LabelTable& labels, int category) {
  static const std::string kNone;
  if (category < 1 || category > static_cast<int>(labels.size())) return kNone;
  return labels[category - 1];
}

void classify(WordRecord& record) {
  record.category = categoryNumber(categoryFor(record));
}

void dropNeutral(WordTable& table, int count) {
  renumber(table, count, AffectCategory::NeuCalm, AffectCategory::Dropped);
  renumber(table, count, AffectCategory::PosAroused, AffectCategory::NeuCalm);
  renumber(table, count, AffectCategory::NegAroused, AffectCategory::PosAroused);
  table.labels[2] = "+a";
  table.labels[3] = "-a";
}

int groupSize(ListMode mode) {
  switch (mode) {
    case ListMode::NoArousalMode:
      return 3;
    case ListMode::NoNeutralMode:
      return 4;
    case ListMode::FullMode:
      break;
  }
  return 6;
}
