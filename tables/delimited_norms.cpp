#include "tables/delimited_norms.h"

#include <algorithm>
#include <cctype>

#include "tables/delimited_reader.h"
#include "words/ascii_text.h"
#include "words/message_text.h"
#include "words/norms_loader.h"
#include "words/number_text.h"
#include "words/record_fields.h"

namespace {

const Role kRatingRoles[] = {Role::Valence, Role::ValenceSd, Role::Arousal};

// Per role, the rows left out for a missing value in its column.
using MissingCounts = std::array<int, kRoleCount>;

// A kept column: where it is in the header and how many rows missed it.
struct KeptColumn {
  size_t column = 0;
  int missing = 0;
};

std::string missingWarning(const std::string& fileName, int rows, const MissingCounts& missing,
                           const std::vector<std::string>& header, const ColumnMap& columns,
                           const std::vector<KeptColumn>& kept) {
  std::string perColumn;
  const auto add = [&](size_t column, int count) {
    if (count == 0) return;
    perColumn +=
        (perColumn.empty() ? "" : ", ") + shownText(header[column]) + " " + std::to_string(count);
  };
  for (int r = 0; r < kRoleCount; ++r) {
    add(static_cast<size_t>(columns[r]), missing[static_cast<size_t>(r)]);
  }
  for (const KeptColumn& k : kept) add(k.column, k.missing);
  return "Warning: " + shownText(fileName) + ": " +
         (rows == 1 ? std::string("1 row has a missing value and is")
                    : std::to_string(rows) + " rows have a missing value and are") +
         " left out of the selection (" + perColumn + ").\n";
}

class RowReader {
 public:
  RowReader(const std::string& fileName, const std::vector<std::string>& header,
            const ColumnMap& columns, const DelimitedLayout& layout, std::vector<KeptColumn> kept)
      : fileName_(fileName),
        header_(header),
        columns_(columns),
        layout_(layout),
        kept_(std::move(kept)),
        keptValues_(kept_.size()) {
    for (Role role : {Role::Word, Role::Valence, Role::ValenceSd, Role::Arousal, Role::Pos}) {
      widest_ = std::max(widest_, columnOf(columns_, role));
    }
    if (layout_.needsFrequency) widest_ = std::max(widest_, columnOf(columns_, Role::Frequency));
    for (const KeptColumn& k : kept_) widest_ = std::max(widest_, static_cast<int>(k.column));
  }

  // The common row, read in one pass: every cell it needs is there with no
  // blank around it, and read()'s own checks (parseWord, the scale,
  // parseTableFrequency) take the raw cells as they stand; only the ratings
  // are read straight by the short-decimal path, which read() reaches
  // through three calls. For such a row read() gives the same record; for
  // any other this returns false, having changed nothing the caller keeps,
  // and read() must read it.
  bool readQuickly(const std::vector<std::string_view>& fields, long long line, WordRecord& record,
                   std::string_view& pos) {
    if (static_cast<int>(fields.size()) <= widest_) return false;
    const std::string_view word = fields[static_cast<size_t>(columnOf(columns_, Role::Word))];
    std::string problem;  // a refusal is left to read(), which words it
    if (word != trimmed(word) || !parseWord(word, record, problem)) return false;
    float* const ratings[] = {&record.valMn, &record.valSd, &record.aroMn};
    for (int i = 0; i < 3; ++i) {
      const int column = columnOf(columns_, kRatingRoles[i]);
      if (column < 0) continue;
      const std::string_view text = fields[static_cast<size_t>(column)];
      const char* p = text.data();
      if (!takeShortDecimal(p, p + text.size(), *ratings[i]) || p != text.data() + text.size()) {
        return false;
      }
      if (kRatingRoles[i] != Role::ValenceSd &&
          !isOnScale(*ratings[i], text, layout_.scale.low, layout_.scale.high, problem)) {
        return false;
      }
    }
    if (columnOf(columns_, Role::Frequency) >= 0 && layout_.needsFrequency) {
      const auto column = static_cast<size_t>(columnOf(columns_, Role::Frequency));
      if (!parseTableFrequency(fields[column], "value", record, problem)) return false;
    }
    for (size_t k = 0; k < kept_.size(); ++k) {
      const std::string_view text = fields[kept_[k].column];
      if (parseDecimal(text, keptValues_[k], kLargestFrequency) != NumberStatus::Ok) return false;
    }
    if (columnOf(columns_, Role::Pos) >= 0) {
      pos = trimmed(fields[static_cast<size_t>(columnOf(columns_, Role::Pos))]);
    }
    record.sourceLine = static_cast<int>(line);
    record.category = classifyOnScale(record.valMn, record.valSd, record.aroMn, layout_.scale);
    return true;
  }

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
    if (!readKept(fields, error)) return false;
    if (columnOf(columns_, Role::Pos) >= 0) cell(fields, Role::Pos, pos);
    record.sourceLine = static_cast<int>(line);
    record.category = classifyOnScale(record.valMn, record.valSd, record.aroMn, layout_.scale);
    return true;
  }

  const MissingCounts& missing() const { return missing_; }
  const std::vector<KeptColumn>& kept() const { return kept_; }
  // The kept columns' values of the row read last.
  const std::vector<double>& keptValues() const { return keptValues_; }

 private:
  bool readKept(const std::vector<std::string_view>& fields, std::optional<ReadError>& error) {
    for (size_t k = 0; k < kept_.size(); ++k) {
      const size_t column = kept_[k].column;
      const std::string_view value = column < fields.size() ? trimmed(fields[column]) : "";
      if (isMissingValue(value)) {
        ++kept_[k].missing;
        return false;
      }
      if (parseDecimal(value, keptValues_[k], kLargestFrequency) != NumberStatus::Ok) {
        error = ReadError::at(fileName_, line_,
                              "column " + shownText(header_[column]) + ": " + quoted(value) +
                                  " is not a number (a design needs this column's numbers)");
        return false;
      }
    }
    return true;
  }

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
  std::vector<KeptColumn> kept_;
  std::vector<double> keptValues_;
  int widest_ = 0;  // the last column a row must have for readQuickly
};

// The header column of a variable a design names: a rating role's column,
// else the column of that name (exactly, else the only one alike but for
// case).
Result<size_t> keptColumnOf(const std::string& variable, const std::vector<std::string>& header,
                            const ColumnMap& columns, const std::string& fileName) {
  Role role = Role::Word;
  if (parseRole(asciiLower(variable), role)) {
    const int column = columnOf(columns, role);
    if (role != Role::Word && role != Role::Pos && column >= 0) return static_cast<size_t>(column);
    if (role == Role::Word || role == Role::Pos) {
      return ReadError::at(fileName, 1,
                           "the " + std::string(roleName(role)) +
                               " column holds no numbers; a design cannot use it");
    }
  }
  std::vector<size_t> alike;
  for (size_t i = 0; i < header.size(); ++i) {
    if (header[i] == variable) return i;
    if (asciiLower(header[i]) == asciiLower(variable)) alike.push_back(i);
  }
  if (alike.size() == 1) return alike.front();
  if (alike.size() > 1) {
    std::vector<std::string> names;
    names.reserve(alike.size());
    for (size_t i : alike) names.push_back(header[i]);
    return ReadError::at(fileName, 1,
                         std::to_string(alike.size()) + " columns match the name \"" +
                             shownText(variable) + "\": " + nameList(names) +
                             "; name it as the file spells it");
  }
  return ReadError::at(fileName, 1,
                       "no column named \"" + shownText(variable) +
                           "\" for the design; the columns are: " + nameList(header));
}

bool isBlankRecord(const std::vector<std::string_view>& fields) {
  for (std::string_view f : fields) {
    if (!trimmed(f).empty()) return false;
  }
  return true;
}

// The affect design needs valence and arousal and reads an SD when there is
// one; another design reads only the ratings it names, so that a row is not
// left out for a rating the design never looks at.
void ratingRoles(const DelimitedLayout& layout, std::vector<Role>& required,
                 std::vector<Role>& optional) {
  if (layout.affectRatings) {
    required.insert(required.end(), {Role::Valence, Role::Arousal});
    optional.push_back(Role::ValenceSd);
    return;
  }
  for (Role role : kRatingRoles) {
    for (const std::string& variable : layout.keptColumns) {
      Role named = Role::Word;
      if (parseRole(asciiLower(variable), named) && named == role) {
        optional.push_back(role);
        break;
      }
    }
  }
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
  return readDelimitedNorms(FileText::read(in), fileName, layout);
}

Result<WordTable> readDelimitedNorms(FileText text, const std::string& fileName,
                                     const DelimitedLayout& layout) {
  WordTable table;
  const std::string_view all = text.view();
  const size_t lines = countLines(all);
  DelimitedReader reader(all, layout.delimiter, fileName);
  const Result<std::vector<std::string>> names = readColumnNames(reader, fileName);
  if (!names.ok()) return names.error();
  const std::vector<std::string>& header = names.value();
  std::vector<Role> required = {Role::Word};
  std::vector<Role> optional = {Role::Pos};
  ratingRoles(layout, required, optional);
  if (layout.needsFrequency) required.push_back(Role::Frequency);
  const Result<ColumnMap> columns = findColumns(
      header, layout.columns, required, optional, fileName, [](Role role, bool several) {
        const std::string option = std::string("--column ") + roleName(role) + "=NAME";
        if (several) return "choose one with " + option;
        return "name it with " + option +
               (role == Role::Frequency ? ", or join one with --frequency FILE" : "");
      });
  if (!columns.ok()) return columns.error();

  table.records.reserve(lines);
  const std::vector<Role> shown = {Role::Word,    Role::Valence,   Role::ValenceSd,
                                   Role::Arousal, Role::Frequency, Role::Pos};
  table.hasValenceSd = columnOf(columns.value(), Role::ValenceSd) >= 0;
  if (layout.needsFrequency) {
    table.frequencyColumn = header[static_cast<size_t>(columnOf(columns.value(), Role::Frequency))];
  }
  if (columnOf(columns.value(), Role::Pos) >= 0) {
    table.posColumn = header[static_cast<size_t>(columnOf(columns.value(), Role::Pos))];
  }
  std::vector<KeptColumn> kept;
  for (const std::string& variable : layout.keptColumns) {
    const Result<size_t> column = keptColumnOf(variable, header, columns.value(), fileName);
    if (!column.ok()) return column.error();
    kept.push_back({column.value(), 0});
    table.columns.push_back({variable, {}});
  }
  for (NumericColumn& column : table.columns) column.values.reserve(lines);
  RowReader rows(fileName, header, columns.value(), layout, kept);
  std::vector<std::string_view> fields;
  std::optional<ReadError> error;
  int leftOut = 0;
  long long rowsRead = 0;
  while (reader.next(fields)) {
    if (isBlankRecord(fields)) continue;
    if (reader.recordLine() > kLastSourceLine) {
      return ReadError::at(fileName, reader.recordLine(), tooManyLines());
    }
    ++rowsRead;
    WordRecord record;
    std::string_view pos;
    bool ok = layout.quickRows && rows.readQuickly(fields, reader.recordLine(), record, pos);
    if (!ok) {
      record = WordRecord();
      ok = rows.read(fields, reader.recordLine(), record, pos, error);
    }
    if (ok) {
      // The cells are views into the text or, for a quoted word, into the
      // reader's scratch cells; the table keeps copies of its own.
      table.add(record);
      if (!table.posColumn.empty()) table.partOfSpeech.push_back(table.keepWord(pos));
      for (size_t k = 0; k < table.columns.size(); ++k) {
        table.columns[k].values.push_back(rows.keptValues()[k]);
      }
    } else if (error) {
      return *error;
    } else {
      ++leftOut;
    }
  }
  if (reader.error()) return *reader.error();
  if (rowsRead == 0) return ReadError::at(fileName, 0, "the file has no data rows");
  table.rows.read = rowsRead;
  table.rows.missingValues = leftOut;
  table.reading =
      countOf(rowsRead, "row", "rows") + "; " + columnsRead(header, columns.value(), shown);
  if (leftOut > 0) {
    table.warnings.push_back(
        missingWarning(fileName, leftOut, rows.missing(), header, columns.value(), rows.kept()));
  }
  // The table holds copies of its words: the text can go before the
  // duplicate set is built.
  text = FileText();
  markDuplicates(table);
  return table;
}
