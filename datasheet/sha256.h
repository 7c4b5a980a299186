// SHA-256 (FIPS 180-4) of bytes in memory or of a file, so that a datasheet
// can name exactly which input files a list was drawn from. The digest is
// written as 64 lower-case hexadecimal digits, the form `sha256sum` prints.
#ifndef STIMSEL_DATASHEET_SHA256_H_
#define STIMSEL_DATASHEET_SHA256_H_

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "words/read_error.h"

// An incremental digest: feed the message in pieces of any size with
// `add`, then call `hex` once. The pieces' boundaries do not change the
// digest. After `hex` the object is spent; a further `add` or `hex` is a
// programming error. The processor's SHA instructions are used where it
// has them, unless `processorInstructions` is false; the digest is the same.
class Sha256 {
 public:
  explicit Sha256(bool processorInstructions = true);
  void add(std::string_view bytes);
  std::string hex();

 private:
  void compressBlock(const unsigned char* block);

  std::array<std::uint32_t, 8> state_;
  std::array<unsigned char, 64> pending_{};  // bytes not yet compressed
  std::size_t pendingSize_ = 0;
  std::uint64_t messageBytes_ = 0;
  bool byInstructions_;  // the processor has SHA instructions: the same digest, sooner
};

// The digest of `bytes`.
std::string sha256Hex(std::string_view bytes);

// The digest of the file at `path`, read in blocks so that a file of any
// size costs a fixed amount of memory. Only regular files (or links to one)
// are read, as for every input: a folder, FIFO or device is an error, as is
// a file that cannot be opened or read. Errors name the file.
Result<std::string> sha256OfFile(const std::string& path);

#endif  // STIMSEL_DATASHEET_SHA256_H_
