// Loads the norms file: the table of rated words every run draws from.
#ifndef STIMSEL_WORDS_NORMS_LOADER_H_
#define STIMSEL_WORDS_NORMS_LOADER_H_

#include <iostream>
#include <optional>
#include <string>

#include "words/word_table.h"

constexpr int kNormsHeaderLines = 41;
constexpr int kNormsRecords = 1030;

// Parses one data line: word, number, six ratings and the frequency,
// separated by any run of white space; tokens after the ninth are ignored.
// Each token must parse whole. On success fills the record's fields (not its
// category) and returns true; otherwise sets `problem` and returns false.
bool parseNormsLine(const std::string& line, WordRecord& record, std::string& problem);

// Prints "filename is <name>", then reads the 41 header lines and the 1030
// data lines that follow into `table`, classifying each record; later lines
// are not read. Returns the record count. When the file cannot be opened or
// is malformed, prints one line naming the file (and the line) and returns
// nothing; the table is then left empty.
std::optional<int> loadNorms(const std::string& fileName, WordTable& table,
                             std::ostream& out = std::cout);

// The reading part of loadNorms, for text already open: no "filename is"
// line; `fileName` only names the file in messages.
std::optional<int> readNorms(std::istream& in, const std::string& fileName, WordTable& table,
                             std::ostream& out = std::cout);

#endif  // STIMSEL_WORDS_NORMS_LOADER_H_
