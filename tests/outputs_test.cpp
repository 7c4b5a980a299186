// What a run writes, and what it leaves alone: runs of the binary that try to
// make it destroy an input, leave a half-written file, replace one output
// while another fails, block on a FIFO, hide a short list in an export
// stream, or change the words it exports.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "tables/delimited_reader.h"
#include "tests/test_support.h"

namespace {

namespace fs = std::filesystem;

const std::string kData = std::string(STIMSEL_SOURCE_DIR) + "/data";

bool endsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Every entry of a folder, with the bytes of the regular files.
std::map<std::string, std::string> snapshot(const std::string& dir) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::directory_iterator(dir)) {
    const bool regular = entry.is_regular_file() && !entry.is_symlink();
    files[entry.path().filename().string()] = regular ? fileText(entry.path().string()) : "";
  }
  return files;
}

// The sample norms and tags, a CSV norms file, a frequency file, an
// exclusion file, links to the norms (named as a datasheet and its JSON
// would be), a FIFO, a folder and an old export.
void fillFolder(const TempDir& dir) {
  for (const char* name : {"KOVA.txt", "kovatags.txt"}) {
    fs::copy_file(kData + "/" + name, dir.path() + "/" + name);
  }
  fs::copy_file(kData + "/examples/warriner-style.csv", dir.path() + "/n.csv");
  fs::copy_file(kData + "/examples/subtlex-style.txt", dir.path() + "/freq.txt");
  dir.write("used.txt", "1\nabandon\n");
  dir.write("list.csv", "old list\n");
  fs::create_symlink("KOVA.txt", dir.path() + "/link.txt");
  fs::create_symlink("KOVA.txt", dir.path() + "/kova.md");
  fs::create_symlink("KOVA.txt", dir.path() + "/twin.json");
  mkfifo((dir.path() + "/fifo.csv").c_str(), 0600);
  fs::create_directory(dir.path() + "/folder.svg");
}

// Every column of every row, from a CSV or TSV export.
std::vector<std::vector<std::string>> readExport(const std::string& text, char delimiter) {
  std::istringstream in(text);
  DelimitedReader reader(in, delimiter, "export");
  std::vector<std::vector<std::string>> rows;
  for (std::vector<std::string> fields; reader.next(fields);) rows.push_back(fields);
  EXPECT_FALSE(reader.error().has_value()) << reader.error()->text();
  return rows;
}

// Runs that must stop before anything is read or written, and leave every
// file as it was. A regression on the FIFO would block: `timeout` ends it.
TEST(Outputs, ARefusedRunLeavesEveryFileAsItWas) {
  const std::string same = "; choose another output file\n";
  const struct {
    const char* name;
    std::vector<std::string> args;
    int status;
    bool onStandardError;
    std::string message;
  } cases[] = {
      {"out names the norms by another name",
       {"--norms", "n.csv", "--frequency", "freq.txt", "--out", "./n.csv"},
       2,
       false,
       "stimsel: --out ./n.csv names the same file as --norms n.csv" + same},
      {"plot names the norms through a link",
       {"--plot", "link.txt"},
       2,
       false,
       "stimsel: --plot link.txt names the same file as --norms KOVA.txt" + same},
      {"plot names the default tag file",
       {"0", "adj", "--plot", "kovatags.txt"},
       2,
       false,
       "stimsel: --plot kovatags.txt names the same file as --tags kovatags.txt" + same},
      {"out names the exclusion file",
       {"used.txt", "--out", "used.txt", "--out-format", "csv"},
       2,
       false,
       "stimsel: --out used.txt names the same file as the exclusion file used.txt" + same},
      {"out names the frequency file",
       {"--norms", "n.csv", "--frequency", "freq.txt", "--out", "freq.txt", "--out-format=tsv"},
       2,
       false,
       "stimsel: --out freq.txt names the same file as --frequency freq.txt" + same},
      {"out and plot name one new file",
       {"--out", "new.csv", "--plot", "./new.csv"},
       2,
       false,
       "stimsel: --plot ./new.csv names the same file as --out new.csv" + same},
      {"out and plot both on standard output",
       {"--out", "-", "--plot", "-"},
       2,
       true,
       "stimsel: --out - and --plot - cannot both write to standard output; name a file for "
       "one of them\n"},
      {"out is a FIFO",
       {"--out", "fifo.csv"},
       1,
       false,
       "stimsel: cannot write fifo.csv: it is a FIFO, not a regular file\n"},
      {"plot is a folder",
       {"--plot", "folder.svg"},
       1,
       false,
       "stimsel: cannot write folder.svg: it is a folder, not a regular file\n"},
      {"out is a device",
       {"--out", "/dev/full", "--out-format", "csv"},
       1,
       false,
       "stimsel: cannot write /dev/full: it is a device, not a regular file\n"},
      {"datasheet names the norms through a link",
       {"--datasheet", "kova.md"},
       2,
       false,
       "stimsel: --datasheet kova.md names the same file as --norms KOVA.txt" + same},
      {"the JSON beside the datasheet names the norms through a link",
       {"--datasheet", "twin.md"},
       2,
       false,
       "stimsel: the JSON datasheet twin.json (beside --datasheet twin.md) names the same file as "
       "--norms KOVA.txt" +
           same},
      {"datasheet's JSON names the export",
       {"--out", "list.json", "--datasheet", "list.md"},
       2,
       false,
       "stimsel: the JSON datasheet list.json (beside --datasheet list.md) names the same file as "
       "--out list.json" +
           same},
  };
  for (const auto& c : cases) {
    TempDir dir;
    fillFolder(dir);
    const auto before = snapshot(dir.path());
    std::vector<std::string> args = {"36", "YES"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const RunResult r = runStimsel(dir.path(), args, "", "timeout 20");
    EXPECT_EQ(r.status, c.status) << c.name;
    EXPECT_EQ(c.onStandardError ? r.errors : r.output, c.message) << c.name;
    EXPECT_EQ(c.onStandardError ? r.output : r.errors, "") << c.name;
    EXPECT_EQ(snapshot(dir.path()), before) << c.name;
  }
}

// A write that fails, first or second of two, leaves the old export as it
// was and no temporary behind.
TEST(Outputs, AFailedWriteReplacesNothing) {
  const struct {
    const char* name;
    std::string before;  // shell text run before the binary
    std::vector<std::string> args;
    std::string message;
  } cases[] = {
      {"export over the file size limit",
       "ulimit -f 16;",
       {"900", "YES", "--out", "list.csv"},
       "stimsel: cannot write list.csv: File too large\n"},
      {"plot after the export over the limit",
       "ulimit -f 16;",
       {"36", "YES", "--out", "list.csv", "--plot", "p.svg"},
       "stimsel: cannot write p.svg: File too large\n"},
      {"plot after the export into a missing folder",
       "",
       {"36", "YES", "--out", "list.csv", "--plot", "nodir/p.svg"},
       "stimsel: cannot write nodir/p.svg: No such file or directory\n"},
      {"datasheet over the file size limit after the export",
       "ulimit -f 16;",
       {"36", "YES", "--out", "list.csv", "--datasheet", "sheet.md"},
       "stimsel: cannot write sheet.md: File too large\n"},
      {"datasheet after the export into a missing folder",
       "",
       {"36", "YES", "--out", "list.csv", "--datasheet", "nodir/sheet.md"},
       "stimsel: cannot write nodir/sheet.md: No such file or directory\n"},
      {"plot into a missing folder beside a datasheet",
       "",
       {"36", "YES", "--datasheet", "sheet.md", "--plot", "nodir/p.svg"},
       "stimsel: cannot write nodir/p.svg: No such file or directory\n"},
  };
  for (const auto& c : cases) {
    TempDir dir;
    fillFolder(dir);
    const auto before = snapshot(dir.path());
    std::vector<std::string> args = c.args;
    args.insert(args.end(), {"--seed", "1"});
    const RunResult r = runStimsel(dir.path(), args, "", c.before);
    EXPECT_EQ(r.status, 1) << c.name;
    EXPECT_TRUE(endsWith(r.output, c.message)) << c.name << "\n" << r.output;
    EXPECT_EQ(snapshot(dir.path()), before) << c.name;
  }
}

TEST(Outputs, AnExportReplacesTheOldFileAndKeepsItsPermissions) {
  TempDir dir;
  const std::string list = dir.write("list.csv", "old list\n");
  chmod(list.c_str(), 0640);
  const RunResult r = runStimsel(kData, {"36", "YES", "--seed", "7", "--out", list});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(readExport(fileText(list), ',').size(), 37u);
  EXPECT_EQ(fs::status(list).permissions(), fs::perms(0640));
  EXPECT_EQ(snapshot(dir.path()).size(), 1u) << "a temporary was left";
}

// With the export or the plot on standard output, everything else a user
// must see goes to standard error.
TEST(Outputs, StandardOutputHoldsTheOutputAndStandardErrorTheRest) {
  TempDir dir;
  dir.write("norms.csv",
            "word,valence,arousal,frequency\ncaf\xe9,8,3,10\ncaf\xe8,2,3,10\n=one,5,3,10\n"
            "=one,5,3,10\n");
  const std::string shortfall =
      "Only 438 of 900 words could be matched.\nNo word of category 4 (label \"+a\") left has "
      "a partner within 2 letters and 10 in frequency in every other category.\n5 groups were "
      "completed by direct draws after the random draw reached its limit.\nOf the categories in "
      "play, category 4 (label \"+a\") has the fewest words left: 12.\n";
  const struct {
    const char* name;
    std::vector<std::string> args;
    int status;
    size_t rows;  // CSV rows on standard output, header included
    std::string errors;
  } cases[] = {
      {"short list", {"900", "YES", "--seed", "1", "--out", "-"}, 3, 439, shortfall},
      {"warnings",
       {"3", "NO", "--norms", "norms.csv", "--seed", "1", "--out", "-"},
       0,
       4,
       "Warning: norms.csv: 1 word appears more than once; only the first record of each can be "
       "chosen.\nWarning: norms.csv: 2 words are not valid UTF-8 (first on line 2)\nWarning: 1 "
       "exported word begins with =, +, - or @, which a spreadsheet may read as a formula; import "
       "the word column as text.\n"},
      {"failed plot",
       {"36", "YES", "--out", "-", "--plot", "nodir/p.svg"},
       1,
       0,
       "stimsel: cannot write nodir/p.svg: No such file or directory\n"},
      {"bad option",
       {"36", "--out", "-", "--seed", "x"},
       2,
       0,
       "stimsel: bad value 'x' for --seed: expected a whole number from 0 to 4294967295\n"},
  };
  for (const auto& c : cases) {
    const RunResult r = runStimsel(c.args[1] == "NO" ? dir.path() : kData, c.args);
    EXPECT_EQ(r.status, c.status) << c.name;
    EXPECT_EQ(r.errors, c.errors) << c.name;
    const auto rows = readExport(r.output, ',');
    EXPECT_EQ(rows.size(), c.rows) << c.name << "\n" << r.output;
    for (const auto& row : rows) EXPECT_EQ(row.size(), 14u) << c.name;
  }
  const RunResult plot = runStimsel(kData, {"900", "YES", "--seed", "1", "--plot", "-"});
  EXPECT_EQ(plot.status, 3);
  EXPECT_EQ(plot.output.rfind("<?xml", 0), 0u);
  EXPECT_TRUE(endsWith(plot.output, "</svg>\n"));
  EXPECT_EQ(plot.errors, shortfall);
}

// CSV and TSV keep every word's bytes, quotes included, and warn of words a
// spreadsheet would compute; JSON refuses words it would change.
TEST(Outputs, ExportsKeepEveryWordOrRefuse) {
  TempDir dir;
  const std::set<std::string> odd = {"12\"in", "=1+2", "+plus", "\"ab\"", "@home", "-less"};
  dir.write("odd.csv",
            "word,valence,arousal,frequency\n\"12\"\"in\",8,3,10\n=1+2,2,3,10\n+plus,5,3,10\n"
            "\"\"\"ab\"\"\",8,3,10\n@home,2,3,10\n-less,5,3,10\n");
  std::string latinCsv = "word,valence,arousal,frequency\n";
  std::set<std::string> latin;
  for (char c = '\xe0'; c != '\xec'; ++c) {
    latin.insert(std::string("caf") + c);
    latinCsv += std::string("caf") + c + "," + "825"[latin.size() % 3] + ",3,10\n";
  }
  dir.write("latin.csv", latinCsv);
  const std::string formulas =
      "Warning: 4 exported words begin with =, +, - or @, which a spreadsheet may read as a "
      "formula; import the word column as text.\n";
  for (const auto& [norms, words, format] :
       {std::tuple{"odd.csv", odd, "csv"}, {"odd.csv", odd, "tsv"}, {"latin.csv", latin, "tsv"}}) {
    const std::string name = std::string(norms) + " as " + format;
    const RunResult r =
        runStimsel(dir.path(), {std::to_string(words.size()), "NO", "--norms", norms, "--seed", "2",
                                "--out", "-", "--out-format", format});
    EXPECT_EQ(r.status, 0) << name << r.errors;
    EXPECT_EQ(r.errors.find(formulas) != std::string::npos, words == odd) << name << r.errors;
    std::set<std::string> exported;
    for (const auto& row : readExport(r.output, *format == 'c' ? ',' : '\t')) {
      if (row.size() == 14 && row[0] != "list") exported.insert(row[6]);
    }
    EXPECT_EQ(exported, words) << name;
  }
  const RunResult json =
      runStimsel(dir.path(), {"6", "NO", "--norms", "odd.csv", "--out", "o.json"});
  std::set<std::string> fromJson;
  for (const auto& row : nlohmann::json::parse(fileText(dir.path() + "/o.json"))) {
    fromJson.insert(row.at("word").get<std::string>());
  }
  EXPECT_EQ(fromJson, odd);
  EXPECT_EQ(json.output.find("Warning"), std::string::npos) << json.output;

  // The first exported word names the line; nothing is written.
  const RunResult csv =
      runStimsel(dir.path(), {"12", "NO", "--norms", "latin.csv", "--seed", "2", "--out", "-"});
  const std::string line = readExport(csv.output, ',').at(1).at(13);
  const RunResult refused = runStimsel(
      dir.path(), {"12", "NO", "--norms", "latin.csv", "--seed", "2", "--out", "l.json"});
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.output.rfind(
                "filename is latin.csv\nReading: 12 rows; word=word, valence=valence, "
                "arousal=arousal, frequency=frequency.\nMatching: length within 2 letters and "
                "frequency within 10 of the group's anchor.\nWarning: latin.csv: 12 words "
                "are not valid UTF-8 (first on line 2)\n",
                0),
            0u)
      << refused.output;
  const std::string message = "latin.csv:" + line +
                              ": the word is not valid UTF-8, so a JSON export would change it; "
                              "export CSV or TSV, which keep its bytes\n";
  EXPECT_TRUE(endsWith(refused.output, message)) << refused.output;
  EXPECT_FALSE(fs::exists(dir.path() + "/l.json"));
}

}  // namespace
