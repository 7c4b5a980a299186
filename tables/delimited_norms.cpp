#include "tables/delimited_norms.h"

#include <cctype>

#include "tables/delimited_reader.h"
#include "words/message_text.h"
#include "words/norms_loader.h"
#include "words/record_fields.h"

namespace {

const Role kRatingRoles[] = {Role::Valence, Role::ValenceSd, Role::Arousal};

// Per role, the rows left out for a missing value in its column.
using MissingCounts = std::array<int, kRoleCount>;

std::string missingWarning(const std::string& fileName, int rows, const MissingCounts& missing,
                           const std::vector<std::string>& header, const ColumnMap& columns) {
  std::string perColumn;
  for (int r = 0; r < kRoleCount; ++r) {
    if (missing[static_cast<size_t>(r)] == 0) continue;
    perColumn += (perColumn.empty() ? "" : ", ") +
                 shownText(header[static_cast<size_t>(columns[r])]) + " " +
                 std::to_string(missing[static_cast<size_t>(r)]);
  }
  return "Warning: " + shownText(fileName) + ": " +
         (rows == 1 ? std::string("1 row has") : std::to_string(rows) + " rows have") +
         " a missing value and are left out of the selection (" + perColumn + ").\n";
}

class RowReader {
 public:
  RowReader(const std::string& fileName, const std::vector<std::string>& header,
            const ColumnMap& columns, const DelimitedLayout& layout)
      : fileName_(fileName), header_(header), columns_(columns), layout_(layout) {}

  // Fills `record` (and its part of speech, `pos`) from `fields`. Returns
  // false with `error` set for a cell that does not parse, and false with no
  // error for a row left out.
  bool read(const std::vector<std::string_view>& fields, long long line, WordRecord& record,
            std::string_view& pos, std::optional<ReadError>& error) {
    line_ = line;
    // A word column holds words: "nan" (grandmother) or "null" is one, and
    // only an empty cell is missing, which leaves the row malformed.
    const std::string_view word = text(fields, Role::Word);
    std::string problem;
    if (!parseWord(word, record, problem)) return fail(Role::Word, problem, error);
    float* const ratings[] = {&record.valMn, &record.valSd, &record.aroMn};
    for (int i = 0; i < 3; ++i) {
      std::string_view text;
      if (columnOf(columns_, kRatingRoles[i]) < 0) continue;  // no SD column: SD 0
      if (!cell(fields, kRatingRoles[i], text)) return false;
      if (!parseRating(text, "value", *ratings[i], problem)) {
        return fail(kRatingRoles[i], problem, error);
      }
      // A mean off the scale would be classified and plotted off it.
      if (kRatingRoles[i] != Role::ValenceSd &&
          !isOnScale(*ratings[i], text, layout_.scale.low, layout_.scale.high, problem)) {
        return fail(kRatingRoles[i], problem, error);
      }
    }
    if (columnOf(columns_, Role::Frequency) >= 0 && layout_.needsFrequency) {
      std::string_view text;
      if (!cell(fields, Role::Frequency, text)) return false;
      if (!parseTableFrequency(text, "value", record, problem)) {
        return fail(Role::Frequency, problem, error);
      }
    }
    if (columnOf(columns_, Role::Pos) >= 0) cell(fields, Role::Pos, pos);
    record.sourceLine = line;
    record.category = classifyOnScale(record.valMn, record.valSd, record.aroMn, layout_.scale);
    return true;
  }

  const MissingCounts& missing() const { return missing_; }

 private:
  // The trimmed cell of `role`; "" when the row is short.
  std::string_view text(const std::vector<std::string_view>& fields, Role role) const {
    const auto column = static_cast<size_t>(columnOf(columns_, role));
    return column < fields.size() ? trimmed(fields[column]) : std::string_view();
  }

  // The same; false (and counted) when it is missing.
  bool cell(const std::vector<std::string_view>& fields, Role role, std::string_view& value) {
    value = text(fields, role);
    if (role == Role::Pos || !isMissingValue(value)) return true;
    ++missing_[static_cast<size_t>(role)];
    return false;
  }

  bool fail(Role role, const std::string& problem, std::optional<ReadError>& error) const {
    const std::string& name = header_[static_cast<size_t>(columnOf(columns_, role))];
    error = ReadError::at(fileName_, line_, "column " + shownText(name) + ": " + problem);
    return false;
  }

  const std::string& fileName_;
  const std::vector<std::string>& header_;
  const ColumnMap& columns_;
  const DelimitedLayout& layout_;
  long long line_ = 0;
  MissingCounts missing_{};
};

bool isBlankRecord(const std::vector<std::string_view>& fields) {
  for (std::string_view f : fields) {
    if (!trimmed(f).empty()) return false;
  }
  return true;
}

}  // namespace

bool isMissingValue(std::string_view cell) {
  if (cell.size() > 3) return false;  // the common case: a value
  const auto is = [&cell](std::string_view missing) {
    if (cell.size() != missing.size()) return false;
    size_t i = 0;
    for (char c : cell) {
      if (std::toupper(static_cast<unsigned char>(c)) != missing[i++]) return false;
    }
    return true;
  };
  return cell.empty() || is("NA") || is("N/A") || is("NAN") || is(".");
}

Result<WordTable> readDelimitedNorms(std::istream& in, const std::string& fileName,
                                     const DelimitedLayout& layout) {
  DelimitedReader reader(in, layout.delimiter, fileName);
  const Result<std::vector<std::string>> names = readColumnNames(reader, fileName);
  if (!names.ok()) return names.error();
  const std::vector<std::string>& header = names.value();
  std::vector<Role> required = {Role::Word, Role::Valence, Role::Arousal};
  if (layout.needsFrequency) required.push_back(Role::Frequency);
  const Result<ColumnMap> columns =
      findColumns(header, layout.columns, required, {Role::ValenceSd, Role::Pos}, fileName,
                  [](Role role, bool several) {
                    const std::string option = std::string("--column ") + roleName(role) + "=NAME";
                    if (several) return "choose one with " + option;
                    return "name it with " + option +
                           (role == Role::Frequency ? ", or join one with --frequency FILE" : "");
                  });
  if (!columns.ok()) return columns.error();

  WordTable table;
  table.records.reserve(layout.expectedRows);
  const std::vector<Role> shown = {Role::Word,    Role::Valence,   Role::ValenceSd,
                                   Role::Arousal, Role::Frequency, Role::Pos};
  table.hasValenceSd = columnOf(columns.value(), Role::ValenceSd) >= 0;
  if (columnOf(columns.value(), Role::Pos) >= 0) {
    table.posColumn = header[static_cast<size_t>(columnOf(columns.value(), Role::Pos))];
  }
  RowReader rows(fileName, header, columns.value(), layout);
  std::vector<std::string_view> fields;
  std::optional<ReadError> error;
  int leftOut = 0;
  long long rowsRead = 0;
  while (reader.next(fields)) {
    if (isBlankRecord(fields)) continue;
    ++rowsRead;
    WordRecord record;
    std::string_view pos;
    if (rows.read(fields, reader.recordLine(), record, pos, error)) {
      table.records.push_back(std::move(record));
      if (!table.posColumn.empty()) table.partOfSpeech.emplace_back(pos);
    } else if (error) {
      return *error;
    } else {
      ++leftOut;
    }
  }
  if (reader.error()) return *reader.error();
  if (rowsRead == 0) return ReadError::at(fileName, 0, "the file has no data rows");
  table.reading =
      countOf(rowsRead, "row", "rows") + "; " + columnsRead(header, columns.value(), shown);
  if (leftOut > 0) {
    table.warnings.push_back(
        missingWarning(fileName, leftOut, rows.missing(), header, columns.value()));
  }
  markDuplicates(table);
  return table;
}
