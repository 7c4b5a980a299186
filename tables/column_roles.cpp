#include "tables/column_roles.h"

#include "words/ascii_text.h"

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

int findUsual(const std::vector<std::string>& header, const std::vector<const char*>& usual) {
  for (const char* name : usual) {
    for (size_t i = 0; i < header.size(); ++i) {
      if (asciiLower(header[i]) == name) return static_cast<int>(i);
    }
  }
  return -1;
}

int findExact(const std::vector<std::string>& header, const std::string& name) {
  for (size_t i = 0; i < header.size(); ++i) {
    if (header[i] == name) return static_cast<int>(i);
  }
  return -1;
}

std::string columnList(const std::vector<std::string>& header) {
  std::string list;
  for (const std::string& name : header) list += (list.empty() ? "" : ", ") + name;
  return list;
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
                              const std::vector<Role>& required, const std::string& fileName,
                              ColumnHint hint) {
  ColumnMap columns;
  for (const RoleNames& r : roleTable()) {
    const auto named = given.find(r.role);
    int& column = columns[static_cast<size_t>(r.role)];
    column = named != given.end() ? findExact(header, named->second) : findUsual(header, r.usual);
    if (named != given.end() && column < 0) {
      return ReadError::at(fileName, 1,
                           "no column named \"" + named->second + "\" for " + r.name +
                               "; the columns are: " + columnList(header));
    }
  }
  for (Role role : required) {
    if (columns[static_cast<size_t>(role)] >= 0) continue;
    return ReadError::at(fileName, 1,
                         std::string("no column for ") + roleName(role) + " (name it with " +
                             hint(role) + "); the columns are: " + columnList(header));
  }
  return columns;
}
