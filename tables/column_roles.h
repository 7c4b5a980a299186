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

// Finds the column of each role in `required` and `optional` in `header`
// (other roles get -1): the column the user named (the exact name, else the
// one name that matches it case-insensitively), else the column whose name
// matches one of the role's usual names case-insensitively (those of
// Warriner et al. 2013, the NRC VAD lexicon, SUBTLEX and the plain role
// names). Errors are on line 1: a required role without a column lists the
// columns the file has; a role that more than one column fits lists those
// candidates, since picking one silently could read the wrong scale. `hint`
// says how the user settles it: names the missing column of a role ("name it
// with --column valence=NAME") or, for `several`, chooses one ("choose one
// with ...").
using ColumnHint = std::string (*)(Role role, bool several);
Result<ColumnMap> findColumns(const std::vector<std::string>& header, const ColumnNames& given,
                              const std::vector<Role>& required, const std::vector<Role>& optional,
                              const std::string& fileName, ColumnHint hint);

// "word=Word, valence=V.Mean.Sum": each role of `roles` that has a column,
// with the column's name, for the line that says how a table was read.
std::string columnsRead(const std::vector<std::string>& header, const ColumnMap& columns,
                        const std::vector<Role>& roles);

// The column of `role` in `columns`, for messages.
inline int columnOf(const ColumnMap& columns, Role role) {
  return columns[static_cast<size_t>(role)];
}

#endif  // STIMSEL_TABLES_COLUMN_ROLES_H_
