// Reads a norms table in CSV or TSV whose first row names the columns.
#ifndef STIMSEL_TABLES_DELIMITED_NORMS_H_
#define STIMSEL_TABLES_DELIMITED_NORMS_H_

#include <istream>
#include <string>
#include <string_view>

#include "tables/column_roles.h"
#include "words/rating_scale.h"
#include "words/read_error.h"
#include "words/word_table.h"

struct DelimitedLayout {
  char delimiter = ',';
  ColumnNames columns;         // --column ROLE=NAME
  bool needsFrequency = true;  // false when frequencies come from a second file
  RatingScale scale;
  size_t expectedRows = 0;  // room to reserve for the records, when known
};

// True for the cells a spreadsheet writes for a missing value: empty, "NA",
// "N/A", "NaN" (any case) and ".".
bool isMissingValue(std::string_view cell);

// Reads the table. Columns are found by name (see findColumns); a row with a
// missing value in a column it needs is left out and counted in one warning
// line in table.warnings; any other cell that does not parse is an error
// "FILE:LINE: column NAME: ...". Blank rows are skipped. Records are
// classified on `layout.scale` and keep the file's own values.
Result<WordTable> readDelimitedNorms(std::istream& in, const std::string& fileName,
                                     const DelimitedLayout& layout);

#endif  // STIMSEL_TABLES_DELIMITED_NORMS_H_
