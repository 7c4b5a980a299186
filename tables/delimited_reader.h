// Reads CSV (RFC 4180) and tab-separated tables one record at a time.
#ifndef STIMSEL_TABLES_DELIMITED_READER_H_
#define STIMSEL_TABLES_DELIMITED_READER_H_

#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "words/file_text.h"
#include "words/line_reader.h"
#include "words/read_error.h"

// Fields are separated by `delimiter`. A field that starts with a double
// quote runs to the closing quote: it may hold the delimiter and line breaks,
// and "" inside it stands for one quote; only the delimiter or the end of
// the record may follow the closing quote. "\r\n" or "\n" end a record, and
// a UTF-8 byte-order mark at the start is skipped. A record may span at
// most kMaxLineBytes. Errors: a quote left open (on the line it opens), a
// first line holding a carriage return (a file whose lines end in "\r"
// alone) and a UTF-16 byte-order mark.
class DelimitedReader {
 public:
  // Reads `text`, which must outlive the reader; `fileName` names the file
  // in errors.
  DelimitedReader(std::string_view text, char delimiter, std::string fileName);
  // Reads all that `in` holds, keeping its own copy.
  DelimitedReader(std::istream& in, char delimiter, std::string fileName);

  // Reads the next record into `fields`. Returns false at the end of the
  // file or on an error, which error() then holds.
  bool next(std::vector<std::string>& fields);

  // The same as views: most records hold no quote and are split in place,
  // without copying a cell. The views are into the text when inPlace() says
  // so, else valid only until the next call.
  bool next(std::vector<std::string_view>& fields);
  bool inPlace() const { return inPlace_; }

  // The error that stopped the reader, if any.
  const std::optional<ReadError>& error() const { return error_; }

  // 1-based line on which the record last returned starts.
  long long recordLine() const { return recordLine_; }

 private:
  bool fail(const std::string& message);
  bool nextLine();
  // Splits the record that starts with the line just read.
  bool parseRecord(std::vector<std::string>& fields);

  FileText streamText_;  // the text of a stream
  TextLines lines_;
  char delimiter_;
  std::string fileName_;
  std::string_view line_;
  bool inPlace_ = false;
  long long recordLine_ = 0;
  std::vector<std::string> owned_;  // the cells of a record that held quotes
  std::optional<ReadError> error_;
};

// `cell` without the spaces and tabs at both ends.
inline std::string_view trimmed(std::string_view cell) {
  while (!cell.empty() && (cell.front() == ' ' || cell.front() == '\t')) cell.remove_prefix(1);
  while (!cell.empty() && (cell.back() == ' ' || cell.back() == '\t')) cell.remove_suffix(1);
  return cell;
}

// Reads the first record as the names of the columns, each trimmed. An
// empty file or an empty first row is an error: a table must name its
// columns.
Result<std::vector<std::string>> readColumnNames(DelimitedReader& reader,
                                                 const std::string& fileName);

// The delimiter of a layout name: "csv" gives ',', "tsv" gives '\t'.
char delimiterOf(const std::string& layout);

#endif  // STIMSEL_TABLES_DELIMITED_READER_H_
