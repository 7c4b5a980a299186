#include "datasheet/sha256.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <fstream>
#include <vector>

#include "words/line_reader.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <cpuid.h>
#include <immintrin.h>
#define STIMSEL_SHA_INSTRUCTIONS 1
#endif

namespace {

// The first 32 bits of the fractional parts of the cube roots of the first
// 64 primes.
constexpr std::uint32_t kRoundConstants[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

// The first 32 bits of the fractional parts of the square roots of the
// first 8 primes.
constexpr std::array<std::uint32_t, 8> kInitialState = {
    0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a, 0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};

constexpr std::size_t kBlockBytes = 64;
constexpr std::size_t kFileChunkBytes = 1 << 16;

std::uint32_t rotateRight(std::uint32_t x, int n) {
  return (x >> n) | (x << (32 - n));
}

std::uint32_t bigEndianWord(const unsigned char* p) {
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
         std::uint32_t{p[3]};
}

#ifdef STIMSEL_SHA_INSTRUCTIONS

// Asked of the processor itself: not every compiler's __builtin_cpu_supports
// knows the SHA extensions.
bool hasShaInstructions() {
  unsigned a = 0, b = 0, c = 0, d = 0;
  if (__get_cpuid(1, &a, &b, &c, &d) == 0 || (c & bit_SSE4_1) == 0) return false;
  if (__get_cpuid_count(7, 0, &a, &b, &c, &d) == 0) return false;
  return (b & bit_SHA) != 0;
}

// The same compression by the processor's SHA instructions, four rounds a
// step. They hold the state as the words ABEF and CDGH, so it is rearranged
// on the way in and out.
__attribute__((target("sha,sse4.1"))) void compressByInstructions(std::uint32_t* state,
                                                                  const unsigned char* block) {
  const __m128i byteOrder = _mm_set_epi64x(0x0c0d0e0f08090a0bULL, 0x0405060700010203ULL);
  __m128i dcba = _mm_loadu_si128(reinterpret_cast<const __m128i*>(state));
  __m128i hgfe = _mm_loadu_si128(reinterpret_cast<const __m128i*>(state + 4));
  const __m128i cdab = _mm_shuffle_epi32(dcba, 0xB1);
  const __m128i efgh = _mm_shuffle_epi32(hgfe, 0x1B);
  __m128i abef = _mm_alignr_epi8(cdab, efgh, 8);
  __m128i cdgh = _mm_blend_epi16(efgh, cdab, 0xF0);
  const __m128i abefBefore = abef;
  const __m128i cdghBefore = cdgh;
  __m128i w[4];
  for (int i = 0; i < 16; ++i) {
    __m128i& words = w[i % 4];
    if (i < 4) {
      words = _mm_shuffle_epi8(
          _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + std::ptrdiff_t{16} * i)),
          byteOrder);
    } else {
      // w[i % 4] holds words 4i-16..4i-13 until it is replaced.
      const __m128i before = _mm_alignr_epi8(w[(i + 3) % 4], w[(i + 2) % 4], 4);
      words = _mm_sha256msg2_epu32(
          _mm_add_epi32(_mm_sha256msg1_epu32(words, w[(i + 1) % 4]), before), w[(i + 3) % 4]);
    }
    __m128i message = _mm_add_epi32(
        words,
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(kRoundConstants + std::ptrdiff_t{4} * i)));
    cdgh = _mm_sha256rnds2_epu32(cdgh, abef, message);
    message = _mm_shuffle_epi32(message, 0x0E);
    abef = _mm_sha256rnds2_epu32(abef, cdgh, message);
  }
  abef = _mm_add_epi32(abef, abefBefore);
  cdgh = _mm_add_epi32(cdgh, cdghBefore);
  const __m128i feba = _mm_shuffle_epi32(abef, 0x1B);
  const __m128i dchg = _mm_shuffle_epi32(cdgh, 0xB1);
  dcba = _mm_blend_epi16(feba, dchg, 0xF0);
  hgfe = _mm_alignr_epi8(dchg, feba, 8);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(state), dcba);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(state + 4), hgfe);
}

#else

bool hasShaInstructions() {
  return false;
}
void compressByInstructions(std::uint32_t*, const unsigned char*) {}

#endif

}  // namespace

Sha256::Sha256(bool processorInstructions)
    : state_(kInitialState), byInstructions_(processorInstructions && hasShaInstructions()) {}

void Sha256::compressBlock(const unsigned char* block) {
  if (byInstructions_) {
    compressByInstructions(state_.data(), block);
    return;
  }
  std::uint32_t w[64];
  for (std::size_t i = 0; i < 16; ++i) w[i] = bigEndianWord(block + 4 * i);
  for (int i = 16; i < 64; ++i) {
    const std::uint32_t s0 =
        rotateRight(w[i - 15], 7) ^ rotateRight(w[i - 15], 18) ^ (w[i - 15] >> 3);
    const std::uint32_t s1 =
        rotateRight(w[i - 2], 17) ^ rotateRight(w[i - 2], 19) ^ (w[i - 2] >> 10);
    w[i] = w[i - 16] + s0 + w[i - 7] + s1;
  }
  std::uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3];
  std::uint32_t e = state_[4], f = state_[5], g = state_[6], h = state_[7];
  for (int i = 0; i < 64; ++i) {
    const std::uint32_t sum1 = rotateRight(e, 6) ^ rotateRight(e, 11) ^ rotateRight(e, 25);
    const std::uint32_t choice = (e & f) ^ (~e & g);
    const std::uint32_t t1 = h + sum1 + choice + kRoundConstants[i] + w[i];
    const std::uint32_t sum0 = rotateRight(a, 2) ^ rotateRight(a, 13) ^ rotateRight(a, 22);
    const std::uint32_t majority = (a & b) ^ (a & c) ^ (b & c);
    const std::uint32_t t2 = sum0 + majority;
    h = g;
    g = f;
    f = e;
    e = d + t1;
    d = c;
    c = b;
    b = a;
    a = t1 + t2;
  }
  state_[0] += a;
  state_[1] += b;
  state_[2] += c;
  state_[3] += d;
  state_[4] += e;
  state_[5] += f;
  state_[6] += g;
  state_[7] += h;
}

void Sha256::add(std::string_view bytes) {
  messageBytes_ += bytes.size();
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  std::size_t left = bytes.size();
  if (pendingSize_ > 0) {
    const std::size_t taken = std::min(left, kBlockBytes - pendingSize_);
    std::memcpy(pending_.data() + pendingSize_, p, taken);
    pendingSize_ += taken;
    p += taken;
    left -= taken;
    if (pendingSize_ < kBlockBytes) return;
    compressBlock(pending_.data());
    pendingSize_ = 0;
  }
  for (; left >= kBlockBytes; p += kBlockBytes, left -= kBlockBytes) compressBlock(p);
  std::memcpy(pending_.data(), p, left);
  pendingSize_ = left;
}

std::string Sha256::hex() {
  // Padding: a 1 bit, zeros up to 56 bytes into a block, then the message
  // length in bits as a 64-bit big-endian number.
  const std::uint64_t messageBits = messageBytes_ * 8;
  unsigned char padding[kBlockBytes + 8] = {0x80};
  const std::size_t zerosEnd = pendingSize_ < 56 ? 56 : 56 + kBlockBytes;
  std::size_t paddingSize = zerosEnd - pendingSize_;
  for (int i = 7; i >= 0; --i) {
    padding[paddingSize++] = static_cast<unsigned char>(messageBits >> (8 * i));
  }
  add(std::string_view(reinterpret_cast<const char*>(padding), paddingSize));
  static const char kDigits[] = "0123456789abcdef";
  std::string text;
  text.reserve(64);
  for (std::uint32_t word : state_) {
    for (int shift = 28; shift >= 0; shift -= 4) text += kDigits[(word >> shift) & 0xf];
  }
  return text;
}

std::string sha256Hex(std::string_view bytes) {
  Sha256 digest;
  digest.add(bytes);
  return digest.hex();
}

Result<std::string> sha256OfFile(const std::string& path) {
  std::ifstream in;
  if (!openForReading(path, in))
    return ReadError::alone(path, "Couldn't open " + path + " to compute its SHA-256");
  Sha256 digest;
  std::vector<char> chunk(kFileChunkBytes);
  while (in) {
    in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    digest.add(std::string_view(chunk.data(), static_cast<std::size_t>(in.gcount())));
  }
  if (in.bad()) return ReadError::alone(path, "Couldn't read " + path + " to compute its SHA-256");
  return digest.hex();
}
