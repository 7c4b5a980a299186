// Where the norms come from and in which layout: the one entry that reads a
// norms table of any layout, with its frequencies.
#ifndef STIMSEL_TABLES_NORMS_FILE_H_
#define STIMSEL_TABLES_NORMS_FILE_H_

#include <optional>
#include <string>
#include <vector>

#include "tables/column_roles.h"
#include "words/norms_loader.h"
#include "words/rating_scale.h"
#include "words/read_error.h"
#include "words/word_table.h"

enum class NormsFormat { Classic, Csv, Tsv };

struct NormsSource {
  std::string path = "KOVA.txt";
  std::optional<NormsFormat> format;  // none: by the file's extension
  ClassicLayout classic;
  ColumnNames columns;                         // --column ROLE=NAME
  std::optional<std::string> frequencyFile;    // --frequency FILE
  std::optional<std::string> frequencyColumn;  // --frequency-column NAME
  RatingScale scale;
  bool named = false;             // --norms: the user's own file, read by the stricter rules
  bool headerLinesGiven = false;  // --header-lines
  // Variables a design names that only the file can supply (every one but
  // length, frequency and zipf), kept as table.columns.
  std::vector<std::string> designColumns;
  // False for a design of the user's own categories: the affect ratings are
  // then read only where the design names them.
  bool affectRatings = true;
  // False when nothing of the run looks at frequencies (a design whose
  // controls, splits and filters name none): no frequency column is needed.
  bool frequencies = true;
};

// The layout of the norms file: the one asked for, else by the extension
// (".csv": csv; ".tsv" and ".tab": tsv; anything else: classic).
NormsFormat formatOf(const NormsSource& source);

// Reads the norms file in its layout, classifies every record on the scale
// and joins the frequencies of the frequency file when there is one (comma
// separated for ".csv", tab for ".tsv" and ".tab", else the delimiter its
// first line holds most: tab, comma or semicolon). Errors name the file they
// are in; a file that cannot be opened gives the "Couldn't open ..."
// message. A file named with --norms must keep its mean ratings on the scale.
// A classic file supplies only the rating roles to a design: any other
// design column is an error naming the columns that layout has.
Result<WordTable> loadNormsFile(const NormsSource& source);

#endif  // STIMSEL_TABLES_NORMS_FILE_H_
