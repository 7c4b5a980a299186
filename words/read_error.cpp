#include "words/read_error.h"

#include "words/message_text.h"

std::string ReadError::text() const {
  if (standsAlone) return message;
  if (line > 0) return shownText(file) + ":" + std::to_string(line) + ": " + message;
  return shownText(file) + ": " + message;
}
