#include "output/output_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace {

// Temporary names tried in one folder before giving up: more runs than this
// writing the same target at the same moment would be strange.
constexpr int kNameAttempts = 100;

struct Temporary {
  std::string path;
  std::string target;
};

std::string cannotWrite(const std::string& path, int error) {
  return "stimsel: cannot write " + path + ": " + std::strerror(error);
}

// The file a rename must replace: the one a link points to, so that the link
// stays a link; the path itself when nothing is there yet.
std::string targetOf(const std::string& path) {
  std::error_code error;
  const std::filesystem::path real = std::filesystem::canonical(path, error);
  return error ? path : real.string();
}

// "list.csv.stimsel-PID-N" next to the target: visible, so that one left by
// a killed run is seen for what it is.
std::string temporaryName(const std::string& target, int attempt) {
  return target + ".stimsel-" + std::to_string(getpid()) + "-" + std::to_string(attempt);
}

// Creates a new, empty temporary for `target`; returns its descriptor, or
// -1 with errno set.
int createTemporary(const std::string& target, std::string& name) {
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    name = temporaryName(target, attempt);
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// Writes all of `contents`; returns 0 or the errno of the failure.
int writeAll(int fd, const std::string& contents) {
  const char* data = contents.data();
  size_t left = contents.size();
  while (left > 0) {
    const ssize_t written = ::write(fd, data, left);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return written < 0 ? errno : EIO;
    data += written;
    left -= static_cast<size_t>(written);
  }
  return 0;
}

// Fills the open temporary and closes it; returns 0 or the errno of the
// first failure. A file system that cannot sync (EINVAL) is no failure.
int fillAndClose(int fd, const std::string& target, const std::string& contents) {
  struct stat existing {};
  if (::stat(target.c_str(), &existing) == 0) ::fchmod(fd, existing.st_mode & 07777);
  int error = writeAll(fd, contents);
  if (error == 0 && ::fsync(fd) != 0 && errno != EINVAL) error = errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  return error;
}

void removeAll(const std::vector<Temporary>& temporaries, size_t from) {
  for (size_t i = from; i < temporaries.size(); ++i) ::unlink(temporaries[i].path.c_str());
}

// Writes one file's temporary; on failure returns the message.
std::optional<std::string> writeTemporary(const OutputFile& file,
                                          std::vector<Temporary>& temporaries) {
  Temporary temporary{"", targetOf(file.path)};
  const int fd = createTemporary(temporary.target, temporary.path);
  if (fd < 0) return cannotWrite(file.path, errno);
  if (const int error = fillAndClose(fd, temporary.target, file.contents)) {
    ::unlink(temporary.path.c_str());
    return cannotWrite(file.path, error);
  }
  temporaries.push_back(std::move(temporary));
  return std::nullopt;
}

}  // namespace

std::optional<std::string> writeOutputFiles(const std::vector<OutputFile>& files) {
  std::vector<Temporary> temporaries;
  for (const OutputFile& file : files) {
    if (auto error = writeTemporary(file, temporaries)) {
      removeAll(temporaries, 0);
      return error;
    }
  }
  for (size_t i = 0; i < temporaries.size(); ++i) {
    if (std::rename(temporaries[i].path.c_str(), temporaries[i].target.c_str()) == 0) continue;
    std::string message = cannotWrite(files[i].path, errno);
    removeAll(temporaries, i);
    for (size_t k = 0; k < i; ++k) {
      message += (k == 0 ? "; already replaced: " : ", ") + files[k].path;
    }
    return message;
  }
  return std::nullopt;
}
