// A catalogue of the inputs researchers actually feed the tool: files edited
// in spreadsheets, saved on other systems, cut short, or typed by hand, and
// odd command lines. Each row runs the binary and states the exit status,
// what the message must name, and whether a table may be printed.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>

#include "tests/test_support.h"
#include "words/norms_loader.h"

namespace {

std::string normsWith(int dataLine, const std::string& line) {
  std::string text = normsFileText(blockFixtureWords(100));
  size_t start = 0;
  for (int i = 1; i < kNormsHeaderLines + dataLine + 1; ++i) start = text.find('\n', start) + 1;
  text.replace(start, text.find('\n', start) - start, line);
  return text;
}

std::string cutAfterLines(const std::string& text, int lines) {
  size_t end = 0;
  for (int i = 0; i < lines; ++i) end = text.find('\n', end) + 1;
  return text.substr(0, end);
}

const std::string kGood = normsFileText(blockFixtureWords(100));
const std::string kTags = "3\n<adj>glad00</adj>\n<adj>grim00</adj>\n<adj>desk00</adj>\n";
const std::string kCsv =
    "Word,Valence,Arousal,Frequency\nglad,8,3,10\ngrim,2,3,10\ndesk,5,3,10\nwild,8.5,7,10\n"
    "rage,2.5,7,10\nloud,5.5,6.5,10\n";

std::string repeat(const std::string& piece, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += piece;
  return text;
}

struct Row {
  const char* name;
  // Written over the good fixture; nullopt removes the file.
  std::map<std::string, std::optional<std::string>> files;
  std::vector<std::string> args;
  int status;
  std::string message;  // whole lines that must appear in the output ("" for none)
  bool table;           // whether the result table is printed
};

std::vector<Row> catalogue() {
  const std::vector<std::string> kAdj = {"3", "NO", "0", "adj"};
  const std::vector<std::string> kUsed = {"3", "NO", "used.txt"};
  const std::string kMiB(1 << 20, 'h');
  std::string crOnly = kGood;
  for (char& c : crOnly) c = c == '\n' ? '\r' : c;
  std::string crOnlyCsv = kCsv;
  for (char& c : crOnlyCsv) c = c == '\n' ? '\r' : c;
  // clang-format off
  return {
      {"missing norms file", {{"KOVA.txt", std::nullopt}},
       {"12", "--seed=1"}, 1, "Couldn't open norms file KOVA.txt", false},
      {"missing tag file", {{"kovatags.txt", std::nullopt}},
       kAdj, 1, "Couldn't open part-of-speech word file kovatags.txt", false},
      {"missing exclusion file", {},
       {"3", "NO", "nothere.txt"}, 1, "Couldn't open bad word file nothere.txt", false},
      {"folder named as the exclusion file", {},
       {"3", "NO", "sub"}, 1, "Couldn't open bad word file sub", false},
      {"FIFO without a writer named as the exclusion file", {},
       {"3", "NO", "fifo"}, 1, "Couldn't open bad word file fifo", false},
      {"device named as the exclusion file", {},
       {"3", "NO", "/dev/zero"}, 1, "Couldn't open bad word file /dev/zero", false},
      {"empty norms file", {{"KOVA.txt", ""}}, {"12"}, 1,
       "KOVA.txt: the file is empty; expected 41 header lines and 1030 data lines", false},
      {"empty tag file", {{"kovatags.txt", ""}}, kAdj, 1,
       "kovatags.txt:1: the file is empty; expected the number of entries", false},
      {"empty exclusion file", {{"used.txt", ""}}, kUsed, 1,
       "used.txt:1: the file is empty; expected the number of entries", false},
      {"norms cut in the header", {{"KOVA.txt", cutAfterLines(kGood, 10)}}, {"12"}, 1,
       "KOVA.txt: the file ends after line 10; expected 41 header lines and 1030 data lines",
       false},
      {"norms cut in the data", {{"KOVA.txt", cutAfterLines(kGood, 500)}}, {"12"}, 1,
       "KOVA.txt: the file ends after line 500; expected 41 header lines and 1030 data lines",
       false},
      {"data line with eight fields", {{"KOVA.txt", normsWith(8, "w 1 8 1 3 1 1 1")}}, {"12"}, 1,
       "KOVA.txt:50: expected 9 fields (word, number, six ratings, frequency), found 8", false},
      {"data line holding only a tab", {{"KOVA.txt", normsWith(8, "\t")}}, {"12"}, 1,
       "KOVA.txt:50: expected 9 fields (word, number, six ratings, frequency), found 0", false},
      {"non-numeric rating", {{"KOVA.txt", normsWith(0, "w 1 8 1 high 1 1 1 10")}}, {"12"}, 1,
       "KOVA.txt:42: arousal mean \"high\" is not a decimal number", false},
      {"rating 5e", {{"KOVA.txt", normsWith(0, "w 1 5e 1 3 1 1 1 10")}}, {"12"}, 1,
       "KOVA.txt:42: valence mean \"5e\" is not a decimal number", false},
      {"rating 1e99 overflows", {{"KOVA.txt", normsWith(0, "w 1 1e99 1 3 1 1 1 10")}}, {"12"}, 1,
       "KOVA.txt:42: valence mean \"1e99\" is out of range (-1000000 to 1000000)", false},
      {"rating 1e-99 underflows", {{"KOVA.txt", normsWith(0, "w 1 5 1e-99 3 1 1 1 10")}}, {"12"},
       1, "KOVA.txt:42: valence SD \"1e-99\" is out of range (-1000000 to 1000000)", false},
      {"60-digit rating", {{"KOVA.txt", normsWith(0, "w 1 5 1 " + std::string(60, '9') +
                                                     " 1 1 1 10")}}, {"12"}, 1,
       "KOVA.txt:42: arousal mean \"" + std::string(40, '9') +
       "...\" is out of range (-1000000 to 1000000)", false},
      {"rating in exponent notation", {{"KOVA.txt", normsWith(0, "x 1 0.8e1 1 3 1 1 1 10")}},
       {"12", "--seed=1"}, 0, "", true},
      {"frequency beyond a million", {{"KOVA.txt", normsWith(3, "w 1 8 1 3 1 1 1 1000001")}},
       {"12"}, 1, "KOVA.txt:45: frequency \"1000001\" is out of range (-1000000 to 1000000)",
       false},
      {"31-letter word", {{"KOVA.txt", normsWith(1029, std::string(31, 'w') + " 1 8 1 3 1 1 1 10")}},
       {"12", "--seed=1"}, 0, "", true},
      {"32-letter word", {{"KOVA.txt", normsWith(1029, std::string(32, 'w') + " 1 8 1 3 1 1 1 10")}},
       {"12"}, 1, "KOVA.txt:1071: word \"" + std::string(32, 'w') +
       "\" is longer than 31 characters", false},
      {"21-letter Cyrillic word (42 bytes)",
       {{"KOVA.txt", normsWith(1029, repeat("\xD0\xB6", 21) + " 1 8 1 3 1 1 1 10")}},
       {"12", "--seed=1"}, 0, "", true},
      {"integer beyond 32 bits", {{"KOVA.txt", normsWith(3, "w 1 8 1 3 1 1 1 4294967296")}},
       {"12"}, 1, "KOVA.txt:45: frequency \"4294967296\" is not a 32-bit whole number", false},
      {"NUL byte in a word",
       {{"KOVA.txt", normsWith(3, std::string("w\0x 1 8 1 3 1 1 1 10", 20))}},
       {"12"}, 1, "KOVA.txt:45: word contains a NUL byte", false},
      {"invalid UTF-8 in a word is kept as bytes",
       {{"KOVA.txt", normsWith(1000, "caf\xE9\xFF 1 5 1 3 1 1 1 10")}},
       {"12", "--seed=1"}, 0, "", true},
      {"header line of exactly 1 MiB", {{"KOVA.txt", kMiB + "\n" + kGood.substr(kGood.find('\n') + 1)}},
       {"12"}, 0, "", true},
      {"header line one byte over 1 MiB", {{"KOVA.txt", kMiB + "h\n" + kGood}},
       {"12"}, 1, "KOVA.txt:1: line longer than 1048576 bytes", false},
      {"norms without any line break", {{"KOVA.txt", kMiB + kMiB}},
       {"12"}, 1, "KOVA.txt:1: line longer than 1048576 bytes", false},
      {"data line over 1 MiB", {{"KOVA.txt", normsWith(5, kMiB + "w")}},
       {"12"}, 1, "KOVA.txt:47: line longer than 1048576 bytes", false},
      {"tag line over 1 MiB", {{"kovatags.txt", "2\n<adj>glad00</adj>\n" + kMiB + "h\n"}},
       kAdj, 1, "kovatags.txt:3: line longer than 1048576 bytes", false},
      {"one-line exclusion file over 1 MiB", {{"used.txt", kMiB + kMiB}},
       kUsed, 1, "used.txt:1: line longer than 1048576 bytes", false},
      {"CR-only line endings", {{"KOVA.txt", crOnly}}, {"12"}, 1,
       "KOVA.txt: the file ends after line 1; expected 41 header lines and 1030 data lines", false},
      {"tag file without a count", {{"kovatags.txt", "<adj>glad00</adj>\n"}}, kAdj, 1,
       "kovatags.txt:1: expected the number of entries at the start of the line", false},
      {"exclusion file without a count", {{"used.txt", "glad00\n"}}, kUsed, 1,
       "used.txt:1: expected the number of entries at the start of the line", false},
      {"tag count larger than its lines", {{"kovatags.txt", "9" + kTags.substr(1)}}, kAdj, 0,
       "Warning: kovatags.txt announces 9 entries but holds only 3; those 3 were used.", true},
      {"tag count smaller than its lines", {{"kovatags.txt", "2" + kTags.substr(1)}}, kAdj, 3,
       "Warning: kovatags.txt announces 2 entries but has 1 more non-blank lines after them; "
       "those were not read.", true},
      {"negative tag count", {{"kovatags.txt", "-2" + kTags.substr(1)}}, kAdj, 3,
       "Warning: kovatags.txt announces -2 entries; no entry was read.", true},
      {"tag entry line holding only a tab", {{"kovatags.txt", "4\n\t\n" + kTags.substr(2)}},
       kAdj, 0, "Warning: kovatags.txt: 1 entry lines are not of the form <tag>word</tag>; they "
       "were skipped.", true},
      {"tag in the wrong case", {}, {"12", "YES", "0", "ADJ"}, 3,
       "Warning: kovatags.txt lists no word under the tag 'ADJ'; its tags are: adj.", true},
      {"exclusion count larger than its lines", {{"used.txt", "5\nrage00\n"}}, kUsed, 0,
       "Warning: used.txt announces 5 entries but holds only 1; those 1 were used.", true},
      {"exclusion count smaller than its lines", {{"used.txt", "1\nrage00\nglad00\n"}}, kUsed, 0,
       "Warning: used.txt announces 1 entries but has 1 more non-blank lines after them; those "
       "were not read.", true},
      {"more than a million lines after the count", {{"used.txt", "1\nrage00\n" + repeat("x\n", 1000002)}},
       kUsed, 0, "Warning: used.txt announces 1 entries but has more than 1000000 more non-blank "
       "lines after them; those were not read.", true},
      {"negative exclusion count", {{"used.txt", "-1\nglad00\n"}}, kUsed, 0,
       "Warning: used.txt announces -1 entries; no entry was read.", true},
      {"exclusion entry line holding only a tab", {{"used.txt", "1\n\t\n"}}, kUsed, 0,
       "Marking bad words or trying to..Done Marking", true},
      {"exclusion words not in the norms",
       {{"used.txt", "7\nrage00\nno1\nno2\nno3\nno4\nno5\nno6\n"}}, kUsed, 0,
       "Warning: used.txt: 6 listed words are not in the norms file: no1, no2, no3, no4, no5 and 1 "
       "more.",
       true},
      {"tag count 0 bars every word", {{"kovatags.txt", "0\n"}}, kAdj, 3,
       "Only 0 of 3 words could be matched.", true},
      {"over-long exclusion words",
       {{"used.txt", "2\n" + std::string(300, 'g') + "\nglad" + std::string(40, 'x') + "\n"}},
       kUsed, 0, "Marking bad words or trying to...Done Marking", true},
      {"over-long tags and words",
       {{"kovatags.txt", "2\n<adjective-phrase>glad00</adjective-phrase>\n<adj>" +
                         std::string(300, 'g') + "</adj>\n"}},
       kAdj, 3, "No word of category 1 (label \"+ \") is left to choose.", true},
      {"word held twice in the norms",
       {{"KOVA.txt", normsWith(1029, "glad00\t7\t8.00\t1.00\t3.00\t1.50\t3.00\t0.50\t10")}},
       {"12", "--seed=1"}, 0,
       "Warning: KOVA.txt: 1 word appears more than once; only the first record of each can be "
       "chosen.", true},
      {"CSV without an arousal column", {{"norms.csv", "word,valence,frequency\nglad,8,10\n"}},
       {"6", "--norms", "norms.csv"}, 1,
       "norms.csv:1: no column for arousal (name it with --column arousal=NAME); the columns "
       "are: word, valence, frequency", false},
      {"CSV without a frequency column", {{"norms.csv", "word,valence,arousal\nglad,8,3\n"}},
       {"6", "--norms", "norms.csv"}, 1,
       "norms.csv:1: no column for frequency (name it with --column frequency=NAME, or join one "
       "with --frequency FILE); the columns are: word, valence, arousal", false},
      {"CSV column named but absent", {{"norms.csv", kCsv}},
       {"6", "--norms", "norms.csv", "--column", "valence=Val"}, 1,
       "norms.csv:1: no column named \"Val\" for valence; the columns are: Word, Valence, "
       "Arousal, Frequency", false},
      {"CSV cell that is not a number", {{"norms.csv", kCsv + "bad,8,high,10\n"}},
       {"6", "--norms", "norms.csv"}, 1,
       "norms.csv:8: column Arousal: value \"high\" is not a decimal number", false},
      {"CSV quote never closed", {{"norms.csv", kCsv + "\"bad,8,3,10\nmore\n"}},
       {"6", "--norms", "norms.csv"}, 1,
       "norms.csv:8: a quoted field opened on this line is not closed before the end of the file",
       false},
      {"CSV text after a closing quote", {{"norms.csv", kCsv + "\"bad\"x,8,3,10\n"}},
       {"6", "--norms", "norms.csv"}, 1, "norms.csv:8: a quoted field must end at its closing quote",
       false},
      {"empty CSV", {{"norms.csv", ""}}, {"6", "--norms", "norms.csv"}, 1,
       "norms.csv: the file is empty; expected a first row naming the columns", false},
      {"CSV rows with missing values",
       {{"norms.csv", kCsv + "gone,NA,3,10\ngone2,8,,10\ngone3,8,3, n/a \n"}},
       {"6", "--norms", "norms.csv", "--seed=1"}, 0,
       "Warning: norms.csv: 3 rows have a missing value and are left out of the selection "
       "(Valence 1, Arousal 1, Frequency 1).", true},
      {"CSV row with a missing value", {{"norms.csv", kCsv + "gone,NA,3,10\n"}},
       {"6", "--norms", "norms.csv", "--seed=1"}, 0,
       "Warning: norms.csv: 1 row has a missing value and is left out of the selection "
       "(Valence 1).", true},
      {"missing frequency file", {{"norms.csv", kCsv}},
       {"6", "--norms", "norms.csv", "--frequency", "nothere.txt"}, 1,
       "Couldn't open frequency file nothere.txt", false},
      {"frequency file with a bad value",
       {{"norms.csv", kCsv}, {"freq.csv", "Word,SUBTLWF\nglad,12\ngrim,lots\n"}},
       {"6", "--norms", "norms.csv", "--frequency", "freq.csv"}, 1,
       "freq.csv:3: column SUBTLWF: value \"lots\" is not a decimal number", false},
      {"missing norms file named by --norms", {}, {"6", "--norms", "mine.csv"}, 1,
       "Couldn't open norms file mine.csv", false},
      {"scale with LOW not below HIGH", {}, {"6", "--scale", "1:1"}, 2,
       "stimsel: bad value '1:1' for --scale: expected LOW:HIGH, two numbers from -1000000 to "
       "1000000 with LOW below HIGH (such as 0:1 or -3:3)", false},
      {"column with an unknown role", {}, {"6", "--column", "colour=x"}, 2,
       "stimsel: bad value 'colour=x' for --column: expected ROLE=NAME, with ROLE one of word, "
       "valence, valence_sd, arousal, frequency, pos", false},
      {"unknown norms format", {}, {"6", "--norms-format", "xlsx"}, 2,
       "stimsel: bad value 'xlsx' for --norms-format: expected classic, csv or tsv", false},
      {"unknown option", {}, {"12", "--colour"}, 2,
       "stimsel: unknown option '--colour' (try --help)", false},
      {"malformed seed", {}, {"12", "--seed=1e3"}, 2,
       "stimsel: bad value '1e3' for --seed: expected a whole number from 0 to 4294967295", false},
      {"N of -1", {}, {"-1"}, 0, "", true},
      {"N of 0", {}, {"0"}, 0, "", true},
      {"N of 2147483647", {}, {"2147483647", "NO", "--seed=1"}, 3,
       "Only 300 of 2147483646 words could be matched.", true},
      {"N of 99999999999 saturates", {}, {"99999999999", "NO", "--seed=1"}, 3,
       "Only 300 of 2147483646 words could be matched.", true},
      {"N of 12abc reads 12", {}, {"12abc", "--seed=1"}, 0, "", true},
      {"words spelled like missing values are words",
       {{"norms.csv", "Word,Valence,Arousal,Frequency\nnan,8,3,10\nNA,2,3,10\nnull,5,3,10\n"
                      "N/A,8.5,7,10\nrage,2.5,7,10\nloud,5.5,6.5,10\n"}},
       {"6", "--norms", "norms.csv", "--seed=1"}, 0,
       "Reading: 6 rows; word=Word, valence=Valence, arousal=Arousal, frequency=Frequency.", true},
      {"empty word cell", {{"norms.csv", kCsv + " ,8,3,10\n"}}, {"6", "--norms", "norms.csv"}, 1,
       "norms.csv:8: column Word: the word is empty", false},
      {"exclusion line naming a word with a space",
       {{"norms.csv", kCsv + "ice,8,3,10\nice cream,8,3,10\n"}, {"used.txt", "1\nice cream\n"}},
       {"6", "YES", "used.txt", "--norms", "norms.csv", "--seed=1"}, 0,
       "Marking bad words or trying to..Marking bad word ice cream -- 7", true},
      {"tag-file words with blanks around them",
       {{"kovatags.txt", "3\n<adj> glad00</adj>\n<adj>grim00 </adj>\n<adj>desk00</adj>\n"}},
       kAdj, 0, "", true},
      {"two columns fit valence",
       {{"norms.csv", "Word,V.Mean.Sum,A.Mean.Sum,Valence,Arousal,frequency\nglad,8,3,0.8,0.3,10\n"}},
       {"6", "--norms", "norms.csv"}, 1,
       "norms.csv:1: 2 columns could hold valence: V.Mean.Sum, Valence; choose one with --column "
       "valence=NAME", false},
      {"word and lemma columns",
       {{"norms.csv", "word,lemma,valence,arousal,frequency\nglad,glad,8,3,10\n"}},
       {"6", "--norms", "norms.csv"}, 1,
       "norms.csv:1: 2 columns could hold word: word, lemma; choose one with --column word=NAME",
       false},
      {"column list cut at 20 names",
       {{"norms.csv", "word" + repeat(",x", 24) + "\nglad" + repeat(",1", 24) + "\n"}},
       {"6", "--norms", "norms.csv"}, 1,
       "norms.csv:1: no column for valence (name it with --column valence=NAME); the columns are: "
       "word" + repeat(", x", 19) + " and 5 more", false},
      {"words that differ only in case",
       {{"norms.csv", kCsv + "Glad,8,3,10\nGLAD,8,3,10\n"}},
       {"6", "--norms", "norms.csv", "--seed=1"}, 0,
       "Warning: norms.csv: 1 word appears more than once (its records differ only in case); only "
       "the first record of each can be chosen.", true},
      {"frequency rows that disagree",
       {{"norms.csv", kCsv}, {"freq.csv", "Word,SUBTLWF\nglad,10\nglad,500\ngrim,10\ndesk,10\n"
                                          "wild,10\nrage,10\nloud,10\n"}},
       {"6", "--norms", "norms.csv", "--frequency", "freq.csv", "--seed=1"}, 0,
       "Warning: freq.csv: 1 norms word has rows that disagree; the first row of each is used: "
       "glad (10).", true},
      {"frequency of the lower-cased form before another case",
       {{"norms.csv", "Word,Valence,Arousal\nAIDS,8,3\ngrim,2,3\ndesk,5,3\n"},
        {"freq.csv", "Word,SUBTLWF\nAids,1\naids,7\ngrim,7\ndesk,7\n"}},
       {"3", "NO", "--norms", "norms.csv", "--frequency", "freq.csv", "--seed=1"}, 0,
       "1\tAIDS           \t+ \t8.000\t3.000\t4\t7", true},
      {"raw counts joined as frequencies",
       {{"norms.csv", kCsv}, {"freq.csv", "Word,FREQcount\nyou,2134713\nglad,10\ngrim,10\n"
                                          "desk,10\nwild,10\nrage,10\nloud,10\n"}},
       {"6", "--norms", "norms.csv", "--frequency", "freq.csv", "--frequency-column", "FREQcount",
        "--seed=1"}, 0,
       "Reading: 6 rows; word=Word, valence=Valence, arousal=Arousal; frequency from freq.csv "
       "(Word, FREQcount).", true},
      {"frequency beyond 1e12",
       {{"norms.csv", kCsv}, {"freq.csv", "Word,FREQcount\nyou,2000000000000\n"}},
       {"6", "--norms", "norms.csv", "--frequency", "freq.csv", "--frequency-column", "FREQcount"},
       1,
       "freq.csv:2: column FREQcount: value \"2000000000000\" is out of range (0 to "
       "1000000000000)", false},
      {"comma-separated frequency file named .txt",
       {{"norms.csv", kCsv}, {"freq.txt", "Word,SUBTLWF\nglad,10\ngrim,10\ndesk,10\nwild,10\n"
                                          "rage,10\nloud,10\n"}},
       {"6", "--norms", "norms.csv", "--frequency", "freq.txt", "--seed=1"}, 0,
       "Reading: 6 rows; word=Word, valence=Valence, arousal=Arousal; frequency from freq.txt "
       "(Word, SUBTLWF).", true},
      {"rating outside the declared scale",
       {{"norms.csv", "Word,Valence,Arousal,Frequency\nglad,0.8,0.3,10\nodd,7.5,0.3,10\n"}},
       {"6", "--norms", "norms.csv", "--scale", "0:1"}, 1,
       "norms.csv:3: column Valence: 7.5 is outside the scale 0 to 1", false},
      {"rating outside 1-9 in a classic file named with --norms",
       {{"KOVA.txt", normsWith(0, "w 1 5 1 9.5 1 1 1 10")}}, {"12", "--norms", "KOVA.txt"}, 1,
       "KOVA.txt:42: arousal mean 9.5 is outside the scale 1 to 9", false},
      {"rating outside 1-9 in the default norms keeps being read",
       {{"KOVA.txt", normsWith(0, "w 1 5 1 9.5 1 1 1 10")}}, {"12", "--seed=1"}, 0, "", true},
      {"negative frequency in a CSV", {{"norms.csv", kCsv + "neg,8,3,-5\n"}},
       {"6", "--norms", "norms.csv"}, 1,
       "norms.csv:8: column Frequency: value \"-5\" is negative; a frequency is 0 or more", false},
      {"header lines and data rows said", {}, {"12", "--norms", "KOVA.txt", "--seed=1"}, 0,
       "Reading: 1030 rows after 41 header lines.", true},
      {"classic rows run out inside the header", {{"own.txt", cutAfterLines(kGood, 5)}},
       {"12", "--norms", "own.txt"}, 1,
       "own.txt: the file ends after line 5, inside its 41 header lines; give the number of "
       "header lines with --header-lines N", false},
      {"header lines with a CSV", {{"norms.csv", kCsv}},
       {"6", "--norms", "norms.csv", "--header-lines", "2"}, 2,
       "stimsel: --header-lines applies to the classic layout only; norms.csv is read as a table "
       "whose first row names the columns", false},
      {"CSV with carriage returns alone", {{"norms.csv", crOnlyCsv}},
       {"6", "--norms", "norms.csv"}, 1,
       "norms.csv: the lines end in carriage returns alone; save the file with Unix (LF) or "
       "Windows (CRLF) line ends", false},
      {"CSV with a header row only", {{"norms.csv", "Word,Valence,Arousal,Frequency\n\n"}},
       {"6", "--norms", "norms.csv"}, 1, "norms.csv: the file has no data rows", false},
      {"CSV with an empty header row", {{"norms.csv", ",,\n" + kCsv}},
       {"6", "--norms", "norms.csv"}, 1,
       "norms.csv:1: the file has an empty header row; its first row must name the columns", false},
      {"UTF-16 CSV", {{"norms.csv", std::string("\xFF\xFEW\0o\0r\0d\0\n\0", 12)}},
       {"6", "--norms", "norms.csv"}, 1, "norms.csv: the file is UTF-16; save it as UTF-8", false},
      {"option taken as a value", {}, {"12", "--plot", "--seed", "7"}, 2,
       "stimsel: --plot needs a value, a file name; '--seed' is an option, not a value", false},
      {"both tolerances", {}, {"12", "--zipf-tolerance", "0.2", "--frequency-tolerance", "5"}, 2,
       "stimsel: --zipf-tolerance and --frequency-tolerance cannot go together: groups are "
       "matched on one of them; give only one", false},
      {"tolerance beyond its limit", {}, {"12", "--frequency-tolerance", "1000001"}, 2,
       "stimsel: bad value '1000001' for --frequency-tolerance: expected a number from 0 to "
       "1000000", false},
      {"column named in another case", {{"norms.csv", kCsv}},
       {"6", "--norms", "norms.csv", "--column", "valence=valence", "--seed=1"}, 0,
       "Reading: 6 rows; word=Word, valence=Valence, arousal=Arousal, frequency=Frequency.", true},
      {"norms file behind a loop of links", {}, {"12", "--norms", "loop"}, 1,
       "Couldn't open norms file loop\nstimsel: loop: Too many levels of symbolic links", false},
      {"--latin-square without --lists", {}, {"12", "--latin-square"}, 2,
       "stimsel: --latin-square needs --lists L with L at least 2: the schedule says which list "
       "each group of participants gets in each of the L conditions", false},
      {"--latin-square with one list", {}, {"12", "--lists", "1", "--latin-square"}, 2,
       "stimsel: --latin-square needs --lists L with L at least 2: the schedule says which list "
       "each group of participants gets in each of the L conditions", false},
      {"--latin-square with the export on standard output", {},
       {"12", "--lists", "2", "--latin-square", "--out", "-"}, 2, "", false},
      {"schedule named like the norms", {{"l-schedule.csv", kCsv}},
       {"6", "--norms", "l-schedule.csv", "--lists", "2", "--latin-square", "--out", "l.csv"}, 2,
       "stimsel: the --latin-square schedule l-schedule.csv names the same file as --norms "
       "l-schedule.csv; choose another output file", false},
      {"plot named like the schedule", {},
       {"12", "--lists", "2", "--latin-square", "--out", "l.tsv", "--plot", "./l-schedule.tsv"}, 2,
       "stimsel: the --latin-square schedule l-schedule.tsv names the same file as --plot "
       "./l-schedule.tsv; choose another output file", false},
      {"--balance with a value", {}, {"12", "--balance=yes"}, 2,
       "stimsel: unknown option '--balance=yes' (try --help)", false},
      {"--balance on a list that falls short", {}, {"2147483647", "NO", "--seed=1", "--balance"},
       3, "Only 300 of 2147483646 words could be matched.", true},
      {"datasheet not named .md", {}, {"12", "--datasheet", "sheet.txt"}, 2,
       "stimsel: bad value 'sheet.txt' for --datasheet: expected a file name ending .md (the "
       "JSON datasheet is written beside it, ending .json)", false},
      {"equivalence bound without a unit", {}, {"12", "--equivalence-bound", "0.5"}, 2,
       "stimsel: bad value '0.5' for --equivalence-bound: expected NUMBERsd (in pooled SDs, such "
       "as 0.5sd) or VARIABLE=VALUE in the variable's own units (such as zipf=0.1 or length=1), "
       "with VARIABLE one of length, frequency, zipf", false},
      {"equivalence bound for a variable not matched", {},
       {"12", "--equivalence-bound", "valence=1"}, 2,
       "stimsel: bad value 'valence=1' for --equivalence-bound: expected NUMBERsd (in pooled SDs, "
       "such as 0.5sd) or VARIABLE=VALUE in the variable's own units (such as zipf=0.1 or "
       "length=1), with VARIABLE one of length, frequency, zipf", false},
      {"equivalence bound of 0", {}, {"12", "--equivalence-bound=0sd"}, 2,
       "stimsel: bad value '0sd' for --equivalence-bound: expected a bound above 0 and at most "
       "1000000", false},
      {"equivalence bound beyond a million", {}, {"12", "--equivalence-bound", "length=1e7"}, 2,
       "stimsel: bad value 'length=1e7' for --equivalence-bound: expected a bound above 0 and at "
       "most 1000000", false},
      {"two equivalence bounds for one variable", {},
       {"12", "--equivalence-bound", "zipf=0.1", "--equivalence-bound", "frequency=2"}, 2,
       "stimsel: bad value 'frequency=2' for --equivalence-bound: zipf=0.1 already bounds "
       "frequency; give one bound per variable", false},
      {"two equivalence bounds in SDs", {},
       {"12", "--equivalence-bound", "0.5sd", "--equivalence-bound", "0.3SD"}, 2,
       "stimsel: bad value '0.3SD' for --equivalence-bound: a bound in pooled SDs was already "
       "given (0.5sd); give one", false},
      {"Zipf bound while frequency is matched in its own units", {},
       {"12", "--equivalence-bound", "zipf=0.1"}, 2,
       "stimsel: --equivalence-bound zipf=0.1 bounds Zipf frequency, but this run matches "
       "frequency in its own units; give frequency=VALUE, or match on Zipf with --zipf-tolerance",
       false},
      {"control bytes in a message", {{"norms.csv", kCsv + "bad,8,x\x1b[2J\n\n"}},
       {"6", "--norms", "norms.csv"}, 1,
       "norms.csv:8: column Arousal: value \"x\\x1B[2J\" is not a decimal number", false},
  };
  // clang-format on
}

void PrintTo(const Row& row, std::ostream* os) {
  *os << row.name;
}

class BadInput : public ::testing::TestWithParam<Row> {};

TEST_P(BadInput, EndsAsStated) {
  const Row& row = GetParam();
  TempDir dir;
  dir.write("KOVA.txt", kGood);
  dir.write("kovatags.txt", kTags);
  for (const auto& [name, content] : row.files) {
    if (content) {
      dir.write(name, *content);
    } else {
      std::remove((dir.path() + "/" + name).c_str());
    }
  }
  std::filesystem::create_directory(dir.path() + "/sub");
  ASSERT_EQ(mkfifo((dir.path() + "/fifo").c_str(), 0600), 0);
  std::filesystem::create_symlink("loop", dir.path() + "/loop");
  const RunResult r = runStimsel(dir.path(), row.args);
  const std::string shown = r.output.substr(0, 2000);
  EXPECT_EQ(r.status, row.status) << shown;
  if (!row.message.empty()) {
    const size_t at = r.output.find(row.message + "\n");
    EXPECT_TRUE(at != std::string::npos && (at == 0 || r.output[at - 1] == '\n'))
        << "expected the line: " << row.message << "\n"
        << shown;
  }
  EXPECT_EQ(r.output.find("\ncount\tWord\t\tVal") != std::string::npos, row.table) << shown;
  EXPECT_EQ(r.output.find("Done.\n") != std::string::npos, row.table) << shown;
}

std::string caseName(const ::testing::TestParamInfo<Row>& info) {
  std::string name;
  for (const char* c = info.param.name; *c != '\0'; ++c) {
    name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(Catalogue, BadInput, ::testing::ValuesIn(catalogue()), caseName);

}  // namespace
