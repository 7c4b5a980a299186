#include "tables/delimited_reader.h"

#include <cstdint>
#include <cstring>

namespace {

// A 0x80 in each byte of `word` that is zero, and nothing elsewhere: exact
// for every byte, unlike the shorter test that lets a borrow mark the byte
// above a zero.
std::uint64_t zeroBytes(std::uint64_t word) {
  constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Fu;
  return ~(((word & kLow7) + kLow7) | word | kLow7);
}

// Splits `line` at `delimiter` into views of it; false, with `fields` left
// part filled, at the first quote, whose record the full parser reads.
// Eight bytes are looked at a time: cells are short, and a call to find the
// next delimiter would cost more than the cell.
bool splitUnquoted(std::string_view line, char delimiter, std::vector<std::string_view>& fields) {
  const char* const data = line.data();
  const size_t size = line.size();
  size_t start = 0;
  size_t i = 0;
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
  constexpr std::uint64_t kEach = 0x0101010101010101u;
  const std::uint64_t delimiters = kEach * static_cast<unsigned char>(delimiter);
  const std::uint64_t quotes = kEach * static_cast<unsigned char>('"');
  for (; i + 8 <= size; i += 8) {
    std::uint64_t word = 0;
    std::memcpy(&word, data + i, 8);
    if (zeroBytes(word ^ quotes) != 0) return false;
    for (std::uint64_t found = zeroBytes(word ^ delimiters); found != 0; found &= found - 1) {
      const size_t at = i + static_cast<size_t>(__builtin_ctzll(found) / 8);
      fields.emplace_back(data + start, at - start);
      start = at + 1;
    }
  }
#endif
  for (; i < size; ++i) {
    if (data[i] == '"') return false;
    if (data[i] == delimiter) {
      fields.emplace_back(data + start, i - start);
      start = i + 1;
    }
  }
  fields.emplace_back(data + start, size - start);
  return true;
}

}  // namespace

DelimitedReader::DelimitedReader(std::string_view text, char delimiter, std::string fileName)
    : lines_(text), delimiter_(delimiter), fileName_(std::move(fileName)) {}

DelimitedReader::DelimitedReader(std::istream& in, char delimiter, std::string fileName)
    : streamText_(FileText::read(in)),
      lines_(streamText_.view()),
      delimiter_(delimiter),
      fileName_(std::move(fileName)) {}

bool DelimitedReader::fail(const std::string& message) {
  error_ = ReadError::at(fileName_, lines_.lineNumber(), message);
  return false;
}

bool DelimitedReader::nextLine() {
  const LineStatus status = lines_.next(line_);
  // Carriage returns alone end no line here, so such a file reads as one
  // line: refuse it rather than read it as one row.
  if (status != LineStatus::End && lines_.lineNumber() == 1 &&
      line_.find('\r') != std::string::npos) {
    error_ = ReadError::at(fileName_, 0,
                           "the lines end in carriage returns alone; save the file with "
                           "Unix (LF) or Windows (CRLF) line ends");
    return false;
  }
  if (status == LineStatus::TooLong) {
    error_ = lines_.tooLong(fileName_);
    return false;
  }
  if (status == LineStatus::Line && lines_.lineNumber() == 1 && isUtf16(line_)) {
    error_ = utf16Error(fileName_);
    return false;
  }
  return status == LineStatus::Line;
}

bool DelimitedReader::next(std::vector<std::string>& fields) {
  if (error_ || !nextLine()) {
    fields.clear();
    return false;
  }
  return parseRecord(fields);
}

bool DelimitedReader::next(std::vector<std::string_view>& fields) {
  fields.clear();
  if (error_ || !nextLine()) return false;
  inPlace_ = splitUnquoted(line_, delimiter_, fields);
  if (inPlace_) {
    recordLine_ = lines_.lineNumber();
    return true;
  }
  fields.clear();
  if (!parseRecord(owned_)) return false;
  fields.assign(owned_.begin(), owned_.end());
  return true;
}

bool DelimitedReader::parseRecord(std::vector<std::string>& fields) {
  // The strings of the last record are reused, so that their buffers are.
  size_t count = 0;
  const auto nextField = [&fields, &count]() -> std::string& {
    if (count == fields.size()) fields.emplace_back();
    std::string& field = fields[count++];
    field.clear();
    return field;
  };
  const auto finish = [&fields, &count] {
    fields.resize(count);
    return true;
  };
  recordLine_ = lines_.lineNumber();
  size_t pos = 0;
  size_t held = line_.size();  // bytes of the record so far, for the bound
  for (;;) {
    std::string& field = nextField();
    if (pos < line_.size() && line_[pos] == '"') {
      // A quoted field, perhaps over several lines.
      const long long opened = lines_.lineNumber();
      ++pos;
      for (;;) {
        const size_t quote = line_.find('"', pos);
        if (quote == std::string::npos) {
          field.append(line_, pos, std::string::npos);
          if (!nextLine()) {
            if (error_) return false;
            error_ = ReadError::at(fileName_, opened,
                                   "a quoted field opened on this line is not closed before the "
                                   "end of the file");
            return false;
          }
          held += line_.size() + 1;
          if (held > kMaxLineBytes) return fail("a quoted field runs past 1048576 bytes");
          field += '\n';
          pos = 0;
          continue;
        }
        field.append(line_, pos, quote - pos);
        if (quote + 1 < line_.size() && line_[quote + 1] == '"') {
          field += '"';
          pos = quote + 2;
          continue;
        }
        pos = quote + 1;
        break;
      }
      if (pos < line_.size() && line_[pos] != delimiter_) {
        return fail("a quoted field must end at its closing quote");
      }
    } else {
      const size_t end = line_.find(delimiter_, pos);
      field.append(line_, pos, end == std::string::npos ? std::string::npos : end - pos);
      pos = end == std::string::npos ? line_.size() : end;
    }
    if (pos >= line_.size()) return finish();
    ++pos;  // past the delimiter
  }
}

Result<std::vector<std::string>> readColumnNames(DelimitedReader& reader,
                                                 const std::string& fileName) {
  std::vector<std::string> names;
  if (!reader.next(names)) {
    if (reader.error()) return *reader.error();
    return ReadError::at(fileName, 0, "the file is empty; expected a first row naming the columns");
  }
  bool named = false;
  for (std::string& name : names) {
    name = std::string(trimmed(name));
    named = named || !name.empty();
  }
  if (!named) {
    return ReadError::at(fileName, reader.recordLine(),
                         "the file has an empty header row; its first row must name the columns");
  }
  return names;
}

char delimiterOf(const std::string& layout) {
  return layout == "csv" ? ',' : '\t';
}
