// Helpers shared by the fuzz targets.
#ifndef STIMSEL_FUZZ_FUZZ_SUPPORT_H_
#define STIMSEL_FUZZ_FUZZ_SUPPORT_H_

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "words/word_table.h"

// Stops the run with a message when an invariant fails: libFuzzer then
// keeps the input that broke it.
#define FUZZ_CHECK(condition)                                                  \
  do {                                                                         \
    if (!(condition)) {                                                        \
      std::cerr << __FILE__ << ":" << __LINE__ << ": " #condition " failed\n"; \
      std::abort();                                                            \
    }                                                                          \
  } while (0)

// A small table with a word held twice, used by the filter targets.
WordTable smallTable();

// Lines of `text` as the line reader sees them ("\r\n" or "\n").
std::vector<std::string> splitLines(const std::string& text);

// Counts occurrences of `piece` in `text`.
size_t countOf(const std::string& text, const std::string& piece);

#endif  // STIMSEL_FUZZ_FUZZ_SUPPORT_H_
