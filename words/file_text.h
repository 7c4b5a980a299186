// The whole text of an input file, held at once so that a reader can hand
// out views into it instead of copying each line and cell.
#ifndef STIMSEL_WORDS_FILE_TEXT_H_
#define STIMSEL_WORDS_FILE_TEXT_H_

#include <cstddef>
#include <istream>
#include <optional>
#include <string>
#include <string_view>

// A regular file is mapped read-only where the system can map files: its
// pages come from the system's file cache, so a large table costs neither a
// copy nor freshly zeroed memory. Elsewhere (the browser), and for text
// already in memory, the bytes are held in a string. Views from view() stay
// valid while the FileText lives and is not moved: keep it where it will
// stay (a WordStore) before taking views. A mapped file that another
// program shortens while the run reads it ends the run (SIGBUS), as any
// program reading a mapped file would.
class FileText {
 public:
  FileText() = default;
  FileText(FileText&& other) noexcept;
  FileText& operator=(FileText&& other) noexcept;
  FileText(const FileText&) = delete;
  FileText& operator=(const FileText&) = delete;
  ~FileText();

  // The text of the regular file at `path` (see openForReading); nothing
  // when it cannot be opened or read.
  static std::optional<FileText> open(const std::string& path);

  // Text that is already in memory, or all that `in` still holds.
  static FileText of(std::string text);
  static FileText read(std::istream& in);

  std::string_view view() const {
    return mapped_ != nullptr ? std::string_view(mapped_, size_) : std::string_view(owned_);
  }

 private:
  void release();

  const char* mapped_ = nullptr;
  std::size_t size_ = 0;
  std::string owned_;
};

#endif  // STIMSEL_WORDS_FILE_TEXT_H_
