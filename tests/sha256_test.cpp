#include "datasheet/sha256.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "tests/test_support.h"

namespace {

struct KnownDigest {
  const char* name;
  std::string message;
  const char* hex;
};

// The FIPS 180 example messages, and lengths on either side of where the
// padding needs a second block (55 and 56 bytes) and of one whole block.
const std::vector<KnownDigest> kKnownDigests = {
    {"empty", "", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
    {"abc", "abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
    {"448 bits", "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
     "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
    {"896 bits",
     "abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrlm"
     "nopqrsmnopqrstnopqrstu",
     "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1"},
    {"one million a", std::string(1'000'000, 'a'),
     "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    {"55 bytes", std::string(55, 'a'),
     "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318"},
    {"56 bytes", std::string(56, 'a'),
     "b35439a4ac6f0948b6d6f9e3c6af0f5f590ce20f1bde7090ef7970686ec6738a"},
    {"64 bytes", std::string(64, 'a'),
     "ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb"},
};

TEST(Sha256, KnownDigestsWholeAndInPieces) {
  for (const KnownDigest& k : kKnownDigests) {
    EXPECT_EQ(sha256Hex(k.message), k.hex) << k.name;
    // Pieces that straddle block boundaries in every way must not matter.
    for (std::size_t piece : {1, 7, 63, 64, 65}) {
      Sha256 digest;
      for (std::size_t at = 0; at < k.message.size(); at += piece) {
        digest.add(std::string_view(k.message).substr(at, piece));
      }
      EXPECT_EQ(digest.hex(), k.hex) << k.name << " in pieces of " << piece;
    }
  }
}

// Each known digest above, and every length across four blocks, come out
// the same with and without the processor's SHA instructions.
TEST(Sha256, ProcessorInstructionsGiveTheSameDigest) {
  for (const KnownDigest& k : kKnownDigests) {
    Sha256 portable(false);
    portable.add(k.message);
    EXPECT_EQ(portable.hex(), k.hex) << k.name;
  }
  std::string bytes;
  for (std::size_t n = 0; n <= 256; ++n) {
    Sha256 portable(false);
    portable.add(bytes);
    EXPECT_EQ(sha256Hex(bytes), portable.hex()) << n << " bytes";
    bytes += static_cast<char>((n * 131 + 17) % 256);
  }
}

TEST(Sha256, FilesMatchSha256sum) {
  // Byte i is (31 i + 7) mod 251: 150,001 bytes, more than two read blocks.
  // `sha256sum` of the same bytes gave the expected digest; the sample
  // norms file's digest is `sha256sum data/KOVA.txt`.
  std::string pattern(150'001, '\0');
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    pattern[i] = static_cast<char>((i * 31 + 7) % 251);
  }
  TempDir dir;
  const std::string patternFile = dir.write("pattern.bin", pattern);
  const Result<std::string> patternDigest = sha256OfFile(patternFile);
  ASSERT_TRUE(patternDigest.ok()) << patternDigest.error().text();
  EXPECT_EQ(patternDigest.value(),
            "b20f03f732b3f223a7fa8db3607038440b6055dce9d2792fdc14736d1e8e4f7f");

  const Result<std::string> sample = sha256OfFile(STIMSEL_SOURCE_DIR "/data/KOVA.txt");
  ASSERT_TRUE(sample.ok()) << sample.error().text();
  EXPECT_EQ(sample.value(), "9f90dca90df9c800bb2e2933c434c26a6c88ef8ee3a2dd5d7a43fae028e13a8f");
}

TEST(Sha256, RefusesWhatIsNotARegularFile) {
  TempDir dir;
  const std::string fifo = dir.path() + "/fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const struct {
    const char* name;
    std::string path;
  } cases[] = {{"missing", dir.path() + "/absent.txt"}, {"folder", dir.path()}, {"fifo", fifo}};
  for (const auto& c : cases) {
    const Result<std::string> digest = sha256OfFile(c.path);
    ASSERT_FALSE(digest.ok()) << c.name;
    EXPECT_EQ(digest.error().text(), "Couldn't open " + c.path + " to compute its SHA-256")
        << c.name;
  }
}

}  // namespace
