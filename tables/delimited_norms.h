// Reads a norms table in CSV or TSV whose first row names the columns.
#ifndef STIMSEL_TABLES_DELIMITED_NORMS_H_
#define STIMSEL_TABLES_DELIMITED_NORMS_H_

#include <istream>
#include <string>
#include <string_view>
#include <vector>

#include "tables/column_roles.h"
#include "words/file_text.h"
#include "words/rating_scale.h"
#include "words/read_error.h"
#include "words/word_table.h"

struct DelimitedLayout {
  char delimiter = ',';
  ColumnNames columns;         // --column ROLE=NAME
  bool needsFrequency = true;  // false when frequencies come from a second file
  RatingScale scale;
  // Variables a design names that the table must supply as numbers (not the
  // computed length, frequency and zipf): role names or column names.
  std::vector<std::string> keptColumns;
  // Whether the valence and arousal columns are required (the affect
  // design); when not, a rating role is read only if keptColumns names it.
  bool affectRatings = true;
  // Whether the common row is read in one quick pass (see readQuickly in
  // the source): false reads every row by the full rules alone, which the
  // tests compare it with.
  bool quickRows = true;
};

// True for the cells a spreadsheet writes for a missing number: empty, "NA",
// "N/A", "NaN" (any case) and ".". Only number columns have missing values:
// "nan" and "na" are words too.
bool isMissingValue(std::string_view cell);

// Reads the table. Columns are found by name (see findColumns); a row with a
// missing value in a number column it needs is left out and counted in one
// warning line in table.warnings. Errors "FILE:LINE: column NAME: ...": an
// empty word, a cell that does not parse, a mean rating outside
// `layout.scale`, a frequency below 0 or above kLargestFrequency. Blank rows
// are skipped; a file without data rows is an error. Records are classified
// on `layout.scale` and keep the file's own values; table.reading gives the
// rows read and the column of each role. Each kept column is found as a
// role's column or by name (an exact match first, then one that differs
// only in case), read as a double into table.columns under the variable's
// name; a missing value leaves the row out, a cell that is not a number is
// an error, and so is a name no column has.
// The table's words are views into `text`, which the table keeps.
Result<WordTable> readDelimitedNorms(FileText text, const std::string& fileName,
                                     const DelimitedLayout& layout);
Result<WordTable> readDelimitedNorms(std::istream& in, const std::string& fileName,
                                     const DelimitedLayout& layout);

#endif  // STIMSEL_TABLES_DELIMITED_NORMS_H_
