// Which column of a delimited norms table holds what: found by name.
#ifndef STIMSEL_TABLES_COLUMN_ROLES_H_
#define STIMSEL_TABLES_COLUMN_ROLES_H_

#include <array>
#include <map>
#include <string>
#include <vector>

#include "words/read_error.h"

enum class Role { Word, Valence, ValenceSd, Arousal, Frequency, Pos };
constexpr int kRoleCount = 6;

// "word", "valence", "valence_sd", "arousal", "frequency", "pos".
const char* roleName(Role role);

// Parses a role name as the command line gives it; false when unknown.
bool parseRole(const std::string& name, Role& role);

// Column names the user gave (--column ROLE=NAME), by role.
using ColumnNames = std::map<Role, std::string>;

// The index of each role's column in the header, or -1 when the file has
// none (allowed only for roles that are not required).
using ColumnMap = std::array<int, kRoleCount>;

// Finds each role's column in `header`: the name the user gave (exact),
// else the first column whose name matches one of the role's usual names
// (case-insensitively; those of Warriner et al. 2013, the NRC VAD lexicon,
// SUBTLEX and the plain role names). A required role without a column is an
// error on line 1 that lists the columns the file has; `hint` says how the
// user names the column of a role ("--column valence=NAME").
using ColumnHint = std::string (*)(Role role);
Result<ColumnMap> findColumns(const std::vector<std::string>& header, const ColumnNames& given,
                              const std::vector<Role>& required, const std::string& fileName,
                              ColumnHint hint);

// The column of `role` in `columns`, for messages.
inline int columnOf(const ColumnMap& columns, Role role) {
  return columns[static_cast<size_t>(role)];
}

#endif  // STIMSEL_TABLES_COLUMN_ROLES_H_
