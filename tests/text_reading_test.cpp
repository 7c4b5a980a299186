// Reading tables from text held whole: the in-place splitter and line
// iterator must read exactly what the general parser and the stream line
// reader read.
#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "tables/delimited_norms.h"
#include "tables/delimited_reader.h"
#include "words/line_reader.h"
#include "words/norms_loader.h"

namespace {

// Cells of the bytes that matter to a splitter (the delimiters, blanks,
// carriage returns and bytes above ASCII) at every offset of an 8-byte
// word; one in ten quoted, holding quotes and line ends; one in a thousand
// a stray quote, which ends the table in an error.
std::string randomCell(std::mt19937& random) {
  static const char kBytes[] = {'a', 'b', '5', '.', '-', ',', '\t', ' ', '\r', '\xC3', '\xA9'};
  std::uniform_int_distribution<int> length(0, 12);
  std::uniform_int_distribution<size_t> byte(0, sizeof kBytes - 1);
  std::uniform_int_distribution<int> kind(0, 999);
  std::string cell;
  const int n = length(random);
  for (int i = 0; i < n; ++i) cell += kBytes[byte(random)];
  const int k = kind(random);
  if (k == 0) return cell + "\"" + cell;
  if (k < 100) return "\"" + cell + (k % 2 ? "\"\"\n" : "") + cell + "\"";
  return cell;
}

std::string randomTable(std::mt19937& random, int fields) {
  std::uniform_int_distribution<int> perRow(1, 9);
  std::uniform_int_distribution<int> ending(0, 3);
  // A carriage return on the first line would refuse the whole table.
  std::string text = "first,line\n";
  while (fields > 0) {
    const int row = perRow(random);
    for (int f = 0; f < row; ++f) text += (f > 0 ? "," : "") + randomCell(random);
    text += ending(random) == 0 ? "\r\n" : "\n";
    fields -= row;
  }
  return text;
}

struct Read {
  std::vector<std::vector<std::string>> records;
  std::vector<long long> lines;
  std::string error;
};

template <typename Field>
Read readAll(const std::string& text, char delimiter) {
  DelimitedReader reader(std::string_view(text), delimiter, "t.csv");
  Read read;
  std::vector<Field> fields;
  while (reader.next(fields)) {
    read.records.emplace_back(fields.begin(), fields.end());
    read.lines.push_back(reader.recordLine());
  }
  if (reader.error()) read.error = reader.error()->text();
  return read;
}

TEST(TextReading, InPlaceSplitReadsWhatTheFullParserReadsOnAMillionRandomFields) {
  std::mt19937 random(20261209);
  long long fields = 0;
  int errors = 0;
  for (int table = 0; table < 1000; ++table) {
    // Many small tables: a stray quote ends one early, in an error.
    const std::string text = randomTable(random, 1000);
    for (char delimiter : {',', '\t'}) {
      const Read plain = readAll<std::string>(text, delimiter);
      const Read inPlace = readAll<std::string_view>(text, delimiter);
      ASSERT_EQ(inPlace.records, plain.records) << text;
      ASSERT_EQ(inPlace.lines, plain.lines) << text;
      ASSERT_EQ(inPlace.error, plain.error) << text;
      for (const auto& record : plain.records) fields += static_cast<long long>(record.size());
      errors += plain.error.empty() ? 0 : 1;
    }
  }
  // Enough of both kinds to mean something.
  EXPECT_GE(fields, 1000000);
  EXPECT_GE(errors, 100);
}

// The lines of a text held whole are those a stream reader gives.
TEST(TextReading, TextLinesReadWhatTheStreamReaderReads) {
  const struct {
    const char* name;
    std::string text;
  } cases[] = {
      {"empty", ""},
      {"one line without a line end", "word,1"},
      {"crlf and lf", "a\r\nb\n\nc\r\n"},
      {"byte-order mark", "\xEF\xBB\xBFword\nx\xEF\xBB\xBF\n"},
      {"carriage return alone inside", "a\rb\nc\n"},
      {"line at the bound", std::string(kMaxLineBytes, 'x') + "\r\nshort\n"},
      {"line past the bound", "ok\n" + std::string(kMaxLineBytes + 1, 'x') + "\n"},
  };
  for (const auto& c : cases) {
    std::istringstream in(c.text);
    LineReader stream(in);
    TextLines text(c.text);
    for (;;) {
      std::string expected;
      std::string_view line;
      const LineStatus want = stream.next(expected);
      const LineStatus got = text.next(line);
      ASSERT_EQ(got, want) << c.name;
      ASSERT_EQ(text.lineNumber(), stream.lineNumber()) << c.name;
      if (want != LineStatus::Line) break;
      ASSERT_EQ(std::string(line), expected) << c.name;
    }
  }
}

// Rows of near-valid cells: mostly what the quick pass reads, with the
// cells it must leave to the full rules (blanks, signs, exponents, missing
// values, means off the scale, negative or huge frequencies, long or
// non-ASCII words) mixed in.
std::string randomNormsTable(std::mt19937& random, int rows) {
  static const char* const kWords[] = {
      "w",   "Word", " spaced ", "\xC3\xA9t\xC3\xA9", "nan",
      "a b", "",     "x\ty",     "\"quo\"\"ted\"",    "abcdefghijklmnopqrstuvwxyzabcdef"};
  static const char* const kRatings[] = {"5.67", "5",   "-1.5",  "+2.25",     "1e0",  " 3.5",
                                         "3.5 ", "NA",  "",      ".",         "9.99", "9.5",
                                         "0.5",  "1,5", "4.125", "1.2345678", "7.10", "\"6.5\""};
  static const char* const kCounts[] = {"0", "12", "-3", "1e13", "3.5", "NaN", "007", "-0", "99"};
  static const char* const kTags[] = {"n", " adj ", "", "v"};
  // One cell in twenty unusual: a table then mostly runs for a few dozen
  // rows before a faulty cell ends it in an error.
  std::uniform_int_distribution<int> common(0, 19);
  const auto pick = [&](const auto& cells, int usual) {
    std::uniform_int_distribution<size_t> any(0, std::size(cells) - 1);
    return std::string(cells[common(random) > 0 ? static_cast<size_t>(usual) : any(random)]);
  };
  std::string text = "word,valence,valence_sd,arousal,frequency,pos,aoa\n";
  for (int r = 0; r < rows; ++r) {
    text += pick(kWords, 1) + std::to_string(r) + "," + pick(kRatings, 0) + "," +
            pick(kRatings, 16) + "," + pick(kRatings, 14) + "," + pick(kCounts, 1) + "," +
            pick(kTags, 0) + "," + pick(kRatings, 10) + "\n";
  }
  return text;
}

std::string describe(const Result<WordTable>& result) {
  if (!result.ok()) return "error " + result.error().text();
  const WordTable& t = result.value();
  std::ostringstream out;
  out << t.reading << "|" << t.rows.read << "," << t.rows.missingValues << "|" << t.duplicateWords
      << "," << t.caseVariantWords << "\n";
  for (const std::string& warning : t.warnings) out << warning;
  for (size_t i = 0; i < t.records.size(); ++i) {
    const WordRecord& r = t.records[i];
    out << r.word() << "|" << r.freq << "|" << r.wholeFreq << "|" << r.sourceLine << "|"
        << int{r.len} << "|" << r.valMn << "|" << r.valSd << "|" << r.aroMn << "|"
        << static_cast<int>(r.category) << "|" << r.duplicate << "|" << t.partOfSpeech[i];
    for (const NumericColumn& c : t.columns) out << "|" << c.values[i];
    out << "\n";
  }
  return out.str();
}

TEST(TextReading, QuickRowsReadWhatTheFullRulesReadOnAMillionRandomFields) {
  std::mt19937 random(7);
  long long fields = 0;
  int errors = 0;
  for (int table = 0; table < 8000; ++table) {
    const std::string text = randomNormsTable(random, 50);
    DelimitedLayout layout;
    layout.keptColumns = {"aoa"};
    const Result<WordTable> quick = readDelimitedNorms(FileText::of(text), "t.csv", layout);
    layout.quickRows = false;
    const Result<WordTable> full = readDelimitedNorms(FileText::of(text), "t.csv", layout);
    ASSERT_EQ(describe(quick), describe(full)) << text;
    if (full.ok()) {
      fields += 7 * static_cast<long long>(full.value().rows.read);
    } else {
      ++errors;
      fields += 7 * static_cast<long long>(full.error().line);
    }
  }
  EXPECT_GE(fields, 1000000);
  EXPECT_GE(errors, 100);
}

// Quoted words are unquoted into scratch cells that the next quoted row
// reuses: the table must keep its own copy, and tables built from it must
// keep their words after the one read is gone.
TEST(TextReading, QuotedWordsOutliveTheReaderAndTheTable) {
  std::string text = "word,valence,arousal,frequency\n\"say \"\"hi\"\"\",5,5,1\n";
  for (int i = 0; i < 5000; ++i) text += "\"w" + std::to_string(i) + "\",5,5,1\n";
  DelimitedLayout layout;
  WordTable copy;
  {
    Result<WordTable> table = readDelimitedNorms(FileText::of(text), "t.csv", layout);
    ASSERT_TRUE(table.ok()) << table.error().text();
    copy = table.value();
  }
  ASSERT_EQ(copy.count(), 5001);
  EXPECT_EQ(copy.records[0].word(), "say \"hi\"");
  EXPECT_EQ(copy.records[4321].word(), "w4320");
  EXPECT_EQ(copy.records[5000].word(), "w4999");
}

}  // namespace

// A classic line near the common shape: a word, a number, six ratings and a
// frequency, whose cells are drawn from forms the one-pass reading takes
// and forms it must leave to the full rules (other decimals, signs, several
// blanks, trailing bytes).
std::string randomClassicLine(std::mt19937& random) {
  static const char* const kRatings[] = {"3.00",  "9.99", "0.05", "5.5",  "5.555", "-1.25", "+2.50",
                                         "12.34", "4.",   ".75",  "7.2x", "1e2",   "6.25\r"};
  static const char* const kWholes[] = {"1", "42", "0", "-3", "999999", "1234567", "12a", ""};
  static const char* const kBlanks[] = {"\t", " ", "\t\t", " \t"};
  std::uniform_int_distribution<int> pick(0, 99);
  const auto cell = [&](const char* const* forms, int count) {
    const int k = pick(random);
    return std::string(forms[k < 70 ? 0 : k % count]);
  };
  const auto blank = [&] { return std::string(kBlanks[pick(random) < 85 ? 0 : pick(random) % 4]); };
  std::string line = pick(random) < 5 ? " word" : "word";
  line += blank() + cell(kWholes, 8);
  for (int i = 0; i < 6; ++i) {
    line += blank() + (pick(random) < 60 ? std::to_string(pick(random) % 10) + "." +
                                               std::to_string(10 + pick(random) % 90)
                                         : cell(kRatings, 13));
  }
  line += blank() + cell(kWholes, 8) + (pick(random) < 5 ? blank() : "");
  return line;
}

TEST(TextReading, OnePassClassicLinesReadWhatTheFullRulesRead) {
  std::mt19937 random(11);
  int common = 0;
  for (int i = 0; i < 200000; ++i) {
    const std::string line = randomClassicLine(random);
    WordRecord fast;
    if (!parseCommonNormsLine(line, fast)) continue;
    ++common;
    WordRecord full;
    std::string problem;
    ASSERT_TRUE(parseNormsLine(line, full, problem, false)) << line << ": " << problem;
    ASSERT_TRUE(fast.word() == full.word() && fast.len == full.len && fast.freq == full.freq &&
                fast.valMn == full.valMn && fast.valSd == full.valSd && fast.aroMn == full.aroMn)
        << line;
  }
  // Both kinds of line occur often.
  EXPECT_GE(common, 20000);
  EXPECT_LE(common, 180000);
}
