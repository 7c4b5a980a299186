#include "words/read_error.h"

std::string ReadError::text() const {
  if (standsAlone) return message;
  if (line > 0) return file + ":" + std::to_string(line) + ": " + message;
  return file + ": " + message;
}
