#include "select/direct_draw.h"

namespace {

// A partner of category p for `members`, uniform among those that leave
// the categories of `rest` fillable. Under matchAll a drawn row that would
// not is set aside for this choice only and the draw repeats among the
// others, which keeps the choice uniform among the rows that do.
int drawPartner(MatchIndex& index, int p, std::vector<int>& members, const std::vector<int>& rest,
                RandomSource& random) {
  const std::vector<Span> spans = index.closeSpans(p, members);
  std::vector<int> setAside;
  int chosen = -1;
  for (long long free = index.freeIn(spans); free > 0; free = index.freeIn(spans)) {
    const int row = index.rowAt(spans, random.uniform(static_cast<int>(free)));
    members.push_back(row);
    const bool fits =
        !index.matchAll() || rest.empty() || index.completes(members, rest) == Fit::Yes;
    members.pop_back();
    if (fits) {
      chosen = row;
      break;
    }
    index.hide(row);
    setAside.push_back(row);
  }
  for (int row : setAside) index.unhide(row);
  return chosen;
}

}  // namespace

std::vector<int> drawGroupDirectly(MatchIndex& index, int s, RandomSource& random) {
  const int anchor = index.drawAnchor(s, [&](int n) { return random.uniform(n); });
  if (anchor < 0) return {};
  std::vector<int> members = {anchor};
  std::vector<int> rest;
  for (int p = 1; p <= index.categories(); ++p) {
    if (p != s) rest.push_back(p);
  }
  while (!rest.empty()) {
    const int p = rest.front();
    rest.erase(rest.begin());
    const int partner = drawPartner(index, p, members, rest, random);
    if (partner < 0) return {};
    members.push_back(partner);
  }
  return members;
}
