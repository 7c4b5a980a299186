// The rows of each category in play, grouped by their values of every
// control but the last and sorted by the last, with the rows still free to
// choose kept in an AliveSet. Before each group the selection asks whether
// a group can still be built; the direct draw asks how many free rows fit
// and which one is the j-th. Rows are only ever taken away, so an anchor
// that cannot head a group once never can again: the check forgets it, and
// the total work of all checks of a run stays near n log n.
#ifndef STIMSEL_SELECT_MATCH_INDEX_H_
#define STIMSEL_SELECT_MATCH_INDEX_H_

#include <cstdint>
#include <vector>

#include "select/alive_set.h"
#include "select/controls.h"

enum class Fit { Yes, No, Undecided };

// Free rows of one bucket at positions lo..hi-1.
struct Span {
  int category = 0;
  int bucket = 0;
  int lo = 0;
  int hi = 0;
};

class MatchIndex {
 public:
  // `slot`: per row its category in play (1..k), 0 for rows never chosen.
  // Under `matchAll` every two words of a group must be close, otherwise
  // every word to the group's anchor. `controls` must outlive the index.
  MatchIndex(const std::vector<std::uint8_t>& slot, const Controls& controls, int k, bool matchAll);

  int categories() const { return k_; }
  bool matchAll() const { return matchAll_; }
  // Free rows of category p.
  int left(int p) const { return left_[static_cast<size_t>(p)]; }
  // Row `row` is chosen for good.
  void take(int row);

  // Whether some free row of category s can anchor a group: under the
  // anchor rule it has a close free partner in every other category; under
  // matchAll it and one free row of every other category are all close.
  // Undecided only when more than two controls make the search too wide.
  Fit someGroupFits(int s);
  // Draws, with random.uniform, one of the free rows of category s that can
  // anchor a group, each as likely; -1 when there is none.
  template <typename Uniform>
  int drawAnchor(int s, Uniform uniform);

  // The free rows of category p close to every row of `members` (all of
  // them under matchAll, the first otherwise).
  std::vector<Span> closeSpans(int p, const std::vector<int>& members) const;
  long long freeIn(const std::vector<Span>& spans) const;
  // The row at the j-th free position of `spans` (j < freeIn(spans)).
  int rowAt(const std::vector<Span>& spans, long long j) const;
  // Takes a row out of the free rows for a while, and puts it back.
  void hide(int row);
  void unhide(int row);
  // Under matchAll: whether `members` (pairwise close, of distinct
  // categories) and one free row of each category of `rest` can all be close.
  Fit completes(const std::vector<int>& members, const std::vector<int>& rest) const;

 private:
  // A bucket's rows are at positions begin..begin+size-1 of its category's
  // arrays; total counts those still free.
  using Bucket = AliveRuns::Run;
  // The buckets of one category, with their values side by side: with a
  // continuous leading control most buckets hold one row, and a vector or
  // two of their own would cost more than the rows.
  struct Category {
    std::vector<Bucket> buckets;
    std::vector<double> values;  // bucket b's leading controls at b * last_ (its rows share them)
    std::vector<double> keys;    // per position: the last control, ascending within a bucket
    std::vector<int> rows;       // per position: its row
    AliveRuns free;
    double value(size_t b, int c, int last) const {
      return values[b * static_cast<size_t>(last) + static_cast<size_t>(c)];
    }
  };
  struct Place {
    int bucket = -1;
    int position = 0;
  };
  // A row as the buckets are built: its first leading controls (0 past the
  // last), its key, the row. The leading values are kept beside the row:
  // they decide nearly every comparison of the sort without a look into the
  // controls of a row far away, even when one of them takes few values.
  static constexpr int kEntryLeads = 3;
  struct Entry {
    double leads[kEntryLeads] = {};
    double key = 0;
    int row = 0;
  };

  // -1, 0 or 1 as a's leading control values come before, with or after b's.
  int leadOrder(const Entry& a, const Entry& b) const;
  bool leadBefore(const Entry& a, const Entry& b) const { return leadOrder(a, b) < 0; }
  void addBuckets(int p, std::vector<Entry>& entries);

  Fit anchorFits(int a) const;
  void dropFromPool(int row);
  bool isFree(int row) const;
  Fit completesInCorner(const std::vector<int>& members, const std::vector<int>& rest,
                        const std::vector<double>& low) const;
  // Calls found(b), in order, for the buckets b among lo..hi-1 of category
  // p (which agree on the leading controls before c) whose leading values
  // are close to those of the first `compared` members.
  template <typename Found>
  void closeBuckets(int p, size_t lo, size_t hi, int c, const std::vector<int>& members,
                    size_t compared, Found& found) const;
  double key(int row) const { return controls_.value(row, last_); }

  const Controls& controls_;
  int k_;
  bool matchAll_;
  int last_;  // the control the buckets are sorted by
  std::vector<std::uint8_t> slot_;
  std::vector<Category> categories_;  // [category]
  std::vector<Place> place_;          // per row
  std::vector<int> left_;
  // Per anchor category, its free rows not yet known unable to anchor.
  std::vector<std::vector<int>> pool_;
  std::vector<int> poolPosition_;  // per row, -1 when in no pool
  // Per anchor category, rows the search could not decide on.
  std::vector<std::vector<int>> undecided_;
};

template <typename Uniform>
int MatchIndex::drawAnchor(int s, Uniform uniform) {
  // Uniform over the pool, and a draw that cannot anchor leaves the pool
  // for good: what is accepted is uniform over the rows that can anchor.
  std::vector<int>& pool = pool_[static_cast<size_t>(s)];
  while (!pool.empty()) {
    const int a = pool[static_cast<size_t>(uniform(static_cast<int>(pool.size())))];
    const Fit fit = anchorFits(a);
    if (fit == Fit::Yes) return a;
    if (fit == Fit::Undecided) undecided_[static_cast<size_t>(s)].push_back(a);
    dropFromPool(a);
  }
  return -1;
}

#endif  // STIMSEL_SELECT_MATCH_INDEX_H_
