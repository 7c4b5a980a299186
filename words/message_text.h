// Pieces of the messages the tool prints about its inputs: bytes shown so
// that a terminal shows them, counts with their noun, and lists of names.
#ifndef STIMSEL_WORDS_MESSAGE_TEXT_H_
#define STIMSEL_WORDS_MESSAGE_TEXT_H_

#include <string>
#include <string_view>
#include <vector>

// `text` with every control byte (below 0x20, and 0x7F) written as "\xHH":
// a NUL, a line break or an escape sequence read from a file must not end a
// message line early or drive the terminal.
std::string shownText(std::string_view text);

// "1 word" or "3 words": `count`, a space, and the noun that agrees with it.
std::string countOf(long long count, std::string_view one, std::string_view many);

// The names joined by ", " (each shown with shownText); past `most` names,
// the rest as " and N more".
std::string nameList(const std::vector<std::string>& names, size_t most = 20);

#endif  // STIMSEL_WORDS_MESSAGE_TEXT_H_
