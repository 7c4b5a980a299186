// The files a run writes, replaced together or not at all.
//
// writeOutputFiles writes each file's whole contents to a new temporary file
// in the folder of its target (for a link, the file it points to), flushes it
// to disk and closes it. Only when every temporary was written and closed
// without error are they renamed over their targets, one after the other;
// on any failure before that, the temporaries are removed and every existing
// file is left as it was. A target that exists keeps its permission bits; a
// new one gets 0666 less the umask, as any newly created file.
//
// Each rename is atomic: a reader of a target sees the old file or the new
// one, never a part. A rename fails only when the folder changes during the
// run (a target turned into a folder, say); the message then also names the
// targets already replaced.
#ifndef STIMSEL_OUTPUT_OUTPUT_FILES_H_
#define STIMSEL_OUTPUT_OUTPUT_FILES_H_

#include <optional>
#include <string>
#include <vector>

struct OutputFile {
  std::string path;  // as the user named it: messages quote it
  std::string contents;
};

// Writes `files` as above. Returns the message of the first failure,
// "stimsel: cannot write PATH: REASON", or nothing when all were replaced.
std::optional<std::string> writeOutputFiles(const std::vector<OutputFile>& files);

#endif  // STIMSEL_OUTPUT_OUTPUT_FILES_H_
