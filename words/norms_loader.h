// Loads the norms file in its classic layout: header lines, then one word
// per line in nine white-space separated fields.
#ifndef STIMSEL_WORDS_NORMS_LOADER_H_
#define STIMSEL_WORDS_NORMS_LOADER_H_

#include <istream>
#include <string>
#include <string_view>

#include "words/file_text.h"
#include "words/rating_scale.h"
#include "words/read_error.h"
#include "words/word_table.h"

constexpr int kNormsHeaderLines = 41;
constexpr int kNormsRecords = 1030;

struct ClassicLayout {
  int headerLines = kNormsHeaderLines;
  // Data lines to read; later lines are not read. 0: every line to the end
  // of the file, blank lines skipped.
  int dataLines = kNormsRecords;
  // Frequencies may be decimal numbers instead of 32-bit whole numbers.
  bool decimalFrequency = false;
  RatingScale scale;  // records are classified on it
  // Mean ratings outside the scale are errors (the user's own files; the
  // sample keeps the rules it was always read by).
  bool meansOnScale = false;
};

// Parses one data line: word, number, six ratings and the frequency,
// separated by any run of white space; tokens after the ninth are ignored.
// Each token must parse whole. On success fills the record's fields (not its
// category or line) and returns true; otherwise sets `problem`.
bool parseNormsLine(std::string_view line, WordRecord& record, std::string& problem,
                    bool decimalFrequency = false);

// The same for the common line (a word of printable ASCII, whole numbers of
// at most seven digits, ratings of at most seven digits, spaces and tabs
// between fields) in one pass. Returns false for any other line, which
// parseNormsLine then reads; when it returns true, parseNormsLine would have
// filled the record alike.
bool parseCommonNormsLine(std::string_view line, WordRecord& record);

// Reads the records of `in` into a table and classifies each; `fileName`
// names the file in errors ("FILE:LINE: message"). A file that is UTF-16,
// or that ends inside its header lines, is an error that says so; so is one
// read to its end (dataLines 0) that holds no data line. table.reading gives
// the rows read after the header lines.
// The table's words are views into `text`, which the table keeps.
Result<WordTable> readNorms(FileText text, const std::string& fileName,
                            const ClassicLayout& layout = {});
Result<WordTable> readNorms(std::istream& in, const std::string& fileName,
                            const ClassicLayout& layout = {});

// Opens `fileName` and reads it; "Couldn't open norms file FILE" when it
// cannot be opened.
Result<WordTable> loadNorms(const std::string& fileName, const ClassicLayout& layout = {});

// The error for a norms file that cannot be opened.
ReadError cannotOpenNorms(const std::string& fileName);

// Marks every record whose word an earlier record holds, in the same or
// another letter case (see foldCase), and counts the words held more than
// once and, among them, those held in more than one case.
void markDuplicates(WordTable& table);

#endif  // STIMSEL_WORDS_NORMS_LOADER_H_
