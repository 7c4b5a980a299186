#include "app/output_check.h"

#include <sys/stat.h>

#include <filesystem>
#include <vector>

#include "app/stimsel.h"
#include "output/schedule_file.h"

namespace {

// A file the run names: the option that names it, and the path; `label`
// names a file the option implies rather than names.
struct NamedFile {
  std::string option;
  std::string path;
  std::string label;  // "" for option and path
};

std::string labelOf(const NamedFile& file) {
  return file.label.empty() ? file.option + " " + file.path : file.label;
}

std::vector<NamedFile> outputsOf(const Settings& s) {
  std::vector<NamedFile> outputs;
  if (s.outFile) outputs.push_back({"--out", *s.outFile, ""});
  if (s.plotFile) outputs.push_back({"--plot", *s.plotFile, ""});
  if (s.latinSquare && s.outFile && *s.outFile != "-") {
    outputs.push_back({"the --latin-square schedule", schedulePath(*s.outFile), ""});
  }
  if (s.datasheetFile) {
    const std::string json = jsonBeside(*s.datasheetFile);
    outputs.push_back({"--datasheet", *s.datasheetFile, ""});
    outputs.push_back(
        {"--datasheet", json,
         "the JSON datasheet " + json + " (beside --datasheet " + *s.datasheetFile + ")"});
  }
  return outputs;
}

// The tag file is counted whenever a part of speech is asked for: whether the
// norms hold a pos column of their own is known only once they are read.
std::vector<NamedFile> inputsOf(const Settings& s) {
  std::vector<NamedFile> inputs = {{"--norms", s.norms.path, ""}};
  if (s.norms.frequencyFile) inputs.push_back({"--frequency", *s.norms.frequencyFile, ""});
  if (s.partOfSpeech) inputs.push_back({"--tags", s.tagFile, ""});
  if (s.excludeFile) inputs.push_back({"the exclusion file", *s.excludeFile, ""});
  return inputs;
}

std::string kindOf(mode_t mode) {
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISFIFO(mode)) return "a FIFO";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
  if (S_ISSOCK(mode)) return "a socket";
  return "a special file";
}

OutputProblem sameFile(const NamedFile& output, const NamedFile& other) {
  return {kExitBadOption, "stimsel: " + labelOf(output) + " names the same file as " +
                              labelOf(other) + "; choose another output file"};
}

std::optional<OutputProblem> checkStandardOutput(const Settings& s) {
  const bool outThere = s.outFile && *s.outFile == "-";
  const bool plotThere = s.plotFile && *s.plotFile == "-";
  if (outThere && plotThere) {
    return OutputProblem{kExitBadOption,
                         "stimsel: --out - and --plot - cannot both write to standard output; "
                         "name a file for one of them"};
  }
  if (plotThere && s.report) {
    return OutputProblem{kExitBadOption,
                         "stimsel: --report cannot go with --plot - (standard output then "
                         "holds the plot alone)"};
  }
  return std::nullopt;
}

}  // namespace

std::string jsonBeside(const std::string& markdownPath) {
  return markdownPath.substr(0, markdownPath.size() - 3) + ".json";
}

PathFacts factsOf(const std::string& path) {
  PathFacts facts;
  struct stat status {};
  if (::stat(path.c_str(), &status) == 0) {
    facts.exists = true;
    facts.identity = "#" + std::to_string(status.st_dev) + ":" + std::to_string(status.st_ino);
    if (!S_ISREG(status.st_mode)) facts.notRegular = kindOf(status.st_mode);
    return facts;
  }
  // Resolved from an absolute name: the folders that exist have their links
  // followed, and "x.csv" and "./x.csv" come out alike.
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  const std::filesystem::path resolved = std::filesystem::weakly_canonical(absolute, error);
  facts.identity = (error ? absolute.lexically_normal() : resolved).string();
  return facts;
}

std::optional<OutputProblem> checkOutputs(const Settings& settings, const LookUpPath& lookUp) {
  if (auto problem = checkStandardOutput(settings)) return problem;
  std::vector<NamedFile> outputs;
  for (const NamedFile& output : outputsOf(settings)) {
    if (output.path != "-") outputs.push_back(output);
  }
  const std::vector<NamedFile> inputs = inputsOf(settings);
  std::vector<PathFacts> facts;
  facts.reserve(outputs.size());
  for (const NamedFile& output : outputs) facts.push_back(lookUp(output.path));
  for (size_t i = 0; i < outputs.size(); ++i) {
    for (const NamedFile& input : inputs) {
      if (lookUp(input.path).identity == facts[i].identity) return sameFile(outputs[i], input);
    }
    for (size_t k = 0; k < i; ++k) {
      if (facts[k].identity == facts[i].identity) return sameFile(outputs[i], outputs[k]);
    }
  }
  for (size_t i = 0; i < outputs.size(); ++i) {
    if (facts[i].notRegular.empty()) continue;
    return OutputProblem{kExitInputError, "stimsel: cannot write " + outputs[i].path + ": it is " +
                                              facts[i].notRegular + ", not a regular file"};
  }
  return std::nullopt;
}
