// Checks of the files a run will write, made before any file is read, so
// that a run never destroys its own inputs and never blocks on an output.
//
// The outputs are --out, --plot, the schedule --latin-square writes beside
// the export and the two files of --datasheet. The run is refused with
// status 2 when an output names the same file as an input (the norms,
// --frequency, the tag file when a part of speech is asked for, the
// exclusion file) or as another output: for files that exist, the
// same device and inode, so that "./n.csv", "n.csv" and links all count; for
// files not there yet, the same name once resolved. Standard output ("-")
// can hold only one output, and never with --report.
//
// It is refused with status 1 when an existing output is not a regular file
// or a link to one: a FIFO would block the run, and a folder or a device
// cannot be replaced by the list.
#ifndef STIMSEL_APP_OUTPUT_CHECK_H_
#define STIMSEL_APP_OUTPUT_CHECK_H_

#include <functional>
#include <optional>
#include <string>

#include "app/settings.h"

// The JSON datasheet's name, from the Markdown one's ("sheet.md" ->
// "sheet.json"); `markdownPath` ends ".md".
std::string jsonBeside(const std::string& markdownPath);

// What the file system holds at a path, links followed.
struct PathFacts {
  // Equal for two paths exactly when they name one file: the device and
  // inode of a file that exists, else the absolute, resolved name.
  std::string identity;
  bool exists = false;
  // For an existing file that is not regular: what it is ("a folder", "a
  // FIFO", "a device", ...); else empty.
  std::string notRegular;
};

// Asks the file system.
PathFacts factsOf(const std::string& path);

using LookUpPath = std::function<PathFacts(const std::string&)>;

struct OutputProblem {
  int status;
  std::string message;
};

// The first reason the settings' outputs cannot be written safely, or
// nothing. `lookUp` reads the file system (tests may pass their own).
std::optional<OutputProblem> checkOutputs(const Settings& settings,
                                          const LookUpPath& lookUp = factsOf);

#endif  // STIMSEL_APP_OUTPUT_CHECK_H_
