#include "words/file_text.h"

#include <fstream>
#include <memory>
#include <utility>

#include "words/line_reader.h"

#if defined(__unix__) && !defined(__EMSCRIPTEN__)
#define STIMSEL_MAPS_FILES 1
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {
constexpr std::streamsize kReadBlock = 1 << 16;
}  // namespace

FileText::FileText(FileText&& other) noexcept
    : mapped_(std::exchange(other.mapped_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      owned_(std::move(other.owned_)) {}

FileText& FileText::operator=(FileText&& other) noexcept {
  if (this != &other) {
    release();
    mapped_ = std::exchange(other.mapped_, nullptr);
    size_ = std::exchange(other.size_, 0);
    owned_ = std::move(other.owned_);
  }
  return *this;
}

FileText::~FileText() {
  release();
}

void FileText::release() {
#ifdef STIMSEL_MAPS_FILES
  if (mapped_ != nullptr) munmap(const_cast<char*>(mapped_), size_);
#endif
  mapped_ = nullptr;
  size_ = 0;
}

FileText FileText::of(std::string text) {
  FileText file;
  file.owned_ = std::move(text);
  return file;
}

FileText FileText::read(std::istream& in) {
  // In blocks: a character at a time costs the browser's build a second on
  // a large table.
  std::string text;
  // Room for all that is left when the stream can tell, so that a large
  // file is not copied as the string grows.
  const std::streampos start = in.tellg();
  if (start != std::streampos(-1) && in.seekg(0, std::ios::end)) {
    const std::streamoff left = in.tellg() - start;
    if (left > 0) text.reserve(static_cast<std::size_t>(left));
    in.seekg(start);
  }
  in.clear();
  std::unique_ptr<char[]> block(new char[kReadBlock]);
  while (in.read(block.get(), kReadBlock) || in.gcount() > 0) {
    text.append(block.get(), static_cast<std::size_t>(in.gcount()));
  }
  return of(std::move(text));
}

#ifdef STIMSEL_MAPS_FILES

std::optional<FileText> FileText::open(const std::string& path) {
  std::ifstream probe;
  if (!openForReading(path, probe)) return std::nullopt;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat status {};
  FileText file;
  bool ok = fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
  if (ok && status.st_size > 0) {
    const auto size = static_cast<std::size_t>(status.st_size);
    // Populated at once: the whole file is read anyway, and one call maps
    // it faster than a fault per page would.
    void* const map = mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
    ok = map != MAP_FAILED;
    if (ok) {
      file.mapped_ = static_cast<const char*>(map);
      file.size_ = size;
    }
  }
  close(fd);
  if (!ok) return std::nullopt;
  // A file whose size the system does not know (those of /proc say 0) is
  // read as a stream.
  if (status.st_size == 0) {
    file = read(probe);
    if (probe.bad()) return std::nullopt;
  }
  return file;
}

#else

std::optional<FileText> FileText::open(const std::string& path) {
  std::ifstream in;
  if (!openForReading(path, in)) return std::nullopt;
  FileText file = read(in);
  if (in.bad()) return std::nullopt;
  return file;
}

#endif
