#include "app/warning_lines.h"

WarningLines::int_type WarningLines::overflow(int_type c) {
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  const char ch = traits_type::to_char_type(c);
  line_ += ch;
  if (ch == '\n') {
    if (line_.rfind("Warning:", 0) == 0) warnings_ << line_;
    line_.clear();
  }
  return c;
}
