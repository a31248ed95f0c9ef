#include "base/memory_reserve.h"

#if defined(__linux__) && defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#endif

namespace mireforge {

#if defined(__linux__) && defined(__GLIBC__)

namespace {

// glibc takes blocks from its heap below this size, and mmaps larger ones afresh.
constexpr std::size_t LargestHeapBlock = 32u << 20;

}  // namespace

void ReserveMemory(std::size_t bytes) {
  static std::once_flag once;
  std::call_once(once, [] {
    // Big vectors come from the heap too, and freed memory stays for the next job
    // instead of going back to the system and faulting in again.
    ::mallopt(M_MMAP_THRESHOLD, static_cast<int>(LargestHeapBlock));
    ::mallopt(M_TRIM_THRESHOLD, 256 << 20);
    // A second thread (loads and generators use two) allocates from the same grown heap.
    ::mallopt(M_ARENA_MAX, 1);
  });
  // Taken in blocks the heap serves, which lie one after the other at its top;
  // freed, they join its free top. Their pages are left to fault in as used
  // (filling them now would clear memory the job never touches), as large pages:
  // one fault per 2 MB instead of 512, and on virtual machines each costs
  // several microseconds.
  constexpr std::size_t block = LargestHeapBlock / 2;
  constexpr int MaxBlocks = 32;
  void* blocks[MaxBlocks];
  int count = 0;
  std::uintptr_t low = UINTPTR_MAX, high = 0;
  for (std::size_t left = bytes; left > 0 && count < MaxBlocks;) {
    const std::size_t size = left < block ? left : block;
    void* memory = std::malloc(size);
    if (!memory) break;
    blocks[count++] = memory;
    low = std::min(low, reinterpret_cast<std::uintptr_t>(memory));
    high = std::max(high, reinterpret_cast<std::uintptr_t>(memory) + size);
    left -= size;
  }
  while (count > 0) std::free(blocks[--count]);
  constexpr std::uintptr_t LargePage = 2u << 20;
  low = (low + LargePage - 1) & ~(LargePage - 1);
  high &= ~(LargePage - 1);
  if (low < high) ::madvise(reinterpret_cast<void*>(low), high - low, MADV_HUGEPAGE);
}

#else

void ReserveMemory(std::size_t) {}

#endif

}  // namespace mireforge
