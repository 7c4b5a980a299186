#include "tables/column_roles.h"

#include <algorithm>

#include "words/ascii_text.h"
#include "words/message_text.h"

namespace {

struct RoleNames {
  Role role;
  const char* name;
  std::vector<const char*> usual;  // lower case
};

const std::vector<RoleNames>& roleTable() {
  static const std::vector<RoleNames> kRoles = {
      {Role::Word, "word", {"word", "words", "lemma", "term"}},
      {Role::Valence, "valence", {"valence", "v.mean.sum", "valence_mean", "val_mn", "valmn"}},
      {Role::ValenceSd, "valence_sd", {"valence_sd", "v.sd.sum", "valence_sd", "val_sd", "valsd"}},
      {Role::Arousal, "arousal", {"arousal", "a.mean.sum", "arousal_mean", "aro_mn", "aromn"}},
      {Role::Frequency, "frequency", {"frequency", "freq", "subtlwf", "fpm"}},
      {Role::Pos, "pos", {"pos", "part_of_speech", "word_class", "dom_pos_subtlex"}},
  };
  return kRoles;
}

// Every column whose name matches `accepts`, in header order.
template <typename Accepts>
std::vector<int> columnsWhere(const std::vector<std::string>& header, Accepts accepts) {
  std::vector<int> found;
  for (size_t i = 0; i < header.size(); ++i) {
    if (accepts(header[i])) found.push_back(static_cast<int>(i));
  }
  return found;
}

// The columns that may hold a role: the one named exactly, else those named
// alike but for case; with no name given, those bearing a usual name.
std::vector<int> candidates(const std::vector<std::string>& header, const RoleNames& role,
                            const std::string* named) {
  if (named != nullptr) {
    std::vector<int> exact =
        columnsWhere(header, [named](const std::string& name) { return name == *named; });
    if (!exact.empty()) return exact;
    const std::string lower = asciiLower(*named);
    return columnsWhere(header,
                        [&lower](const std::string& name) { return asciiLower(name) == lower; });
  }
  return columnsWhere(header, [&role](const std::string& name) {
    const std::string lower = asciiLower(name);
    for (const char* usual : role.usual) {
      if (lower == usual) return true;
    }
    return false;
  });
}

std::string ambiguity(const std::vector<std::string>& header, const RoleNames& role,
                      const std::vector<int>& found, const std::string* named, ColumnHint hint) {
  std::vector<std::string> names;
  names.reserve(found.size());
  for (int column : found) names.push_back(header[static_cast<size_t>(column)]);
  const std::string list = nameList(names);
  if (named == nullptr) {
    return std::to_string(found.size()) + " columns could hold " + role.name + ": " + list + "; " +
           hint(role.role, true);
  }
  return std::to_string(found.size()) + " columns match the name \"" + shownText(*named) +
         "\" given for " + role.name + ": " + list + "; rename all but one of them";
}

bool isWanted(Role role, const std::vector<Role>& required, const std::vector<Role>& optional) {
  const auto has = [role](const std::vector<Role>& roles) {
    return std::find(roles.begin(), roles.end(), role) != roles.end();
  };
  return has(required) || has(optional);
}

}  // namespace

const char* roleName(Role role) {
  return roleTable()[static_cast<size_t>(role)].name;
}

bool parseRole(const std::string& name, Role& role) {
  for (const RoleNames& r : roleTable()) {
    if (name == r.name) {
      role = r.role;
      return true;
    }
  }
  return false;
}

Result<ColumnMap> findColumns(const std::vector<std::string>& header, const ColumnNames& given,
                              const std::vector<Role>& required, const std::vector<Role>& optional,
                              const std::string& fileName, ColumnHint hint) {
  ColumnMap columns;
  columns.fill(-1);
  for (const RoleNames& r : roleTable()) {
    if (!isWanted(r.role, required, optional)) continue;
    const auto namedEntry = given.find(r.role);
    const std::string* named = namedEntry != given.end() ? &namedEntry->second : nullptr;
    const std::vector<int> found = candidates(header, r, named);
    if (found.size() > 1) {
      return ReadError::at(fileName, 1, ambiguity(header, r, found, named, hint));
    }
    if (named != nullptr && found.empty()) {
      return ReadError::at(fileName, 1,
                           "no column named \"" + shownText(*named) + "\" for " + r.name +
                               "; the columns are: " + nameList(header));
    }
    columns[static_cast<size_t>(r.role)] = found.empty() ? -1 : found.front();
  }
  for (Role role : required) {
    if (columns[static_cast<size_t>(role)] >= 0) continue;
    return ReadError::at(fileName, 1,
                         std::string("no column for ") + roleName(role) + " (" + hint(role, false) +
                             "); the columns are: " + nameList(header));
  }
  return columns;
}

std::string columnsRead(const std::vector<std::string>& header, const ColumnMap& columns,
                        const std::vector<Role>& roles) {
  std::string text;
  for (Role role : roles) {
    const int column = columnOf(columns, role);
    if (column < 0) continue;
    text += (text.empty() ? "" : ", ") + std::string(roleName(role)) + "=" +
            shownText(header[static_cast<size_t>(column)]);
  }
  return text;
}
