#include "app/heap_pages.h"

#include <cstdint>
#include <cstdlib>  // defines __GLIBC__ on glibc

#if defined(__linux__) && defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

void useLargeHeapPages() {
  // Address space only: pages are backed when first touched.
  constexpr int kGrowth = 256 << 20;
  constexpr int kDefaultTopPad = 128 << 10;
  constexpr std::uintptr_t kLargePage = std::uintptr_t{2} << 20;
  constexpr std::uintptr_t kSmallRunBytes = std::uintptr_t{4} << 20;
  mallopt(M_MMAP_THRESHOLD, 1 << 30);
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
  mallopt(M_TOP_PAD, kGrowth);
  // More than the heap has left, so that it grows now, by kGrowth. Later
  // growth asks only for what is needed, as under a tight ulimit -v.
  void* const probe = std::malloc(std::size_t{1} << 20);
  mallopt(M_TOP_PAD, kDefaultTopPad);
  if (probe == nullptr) return;
  const auto start = reinterpret_cast<std::uintptr_t>(probe);
  const auto top = reinterpret_cast<std::uintptr_t>(sbrk(0));
  // The first megabytes stay in small pages: a run over a small table
  // touches only those, and zeroing a 2 MiB page would cost it more than the
  // faults it saves.
  const std::uintptr_t from = (start + kSmallRunBytes + kLargePage - 1) & ~(kLargePage - 1);
  // Under a sanitizer or valgrind the block may lie outside the heap.
  if (start < top && from < top) {
    madvise(static_cast<char*>(probe) + (from - start), top - from, MADV_HUGEPAGE);
  }
  std::free(probe);
}

#else

void useLargeHeapPages() {}

#endif
