#include "base/memory_reserve.h"

#if defined(__linux__) && defined(__GLIBC__)
#include <malloc.h>

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
  // freed, they join its free top. Their pages are left to fault in as used:
  // filling them now would clear memory the job never touches. Not as large
  // pages either: a virtual machine hands free 2 MB blocks back to its host after
  // a pause, and a large page then faults in five times slower than 4 KB pages
  // (an editor opening a big project spent 40 to 80 ms more).
  constexpr std::size_t block = LargestHeapBlock / 2;
  constexpr int MaxBlocks = 32;
  void* blocks[MaxBlocks];
  int count = 0;
  for (std::size_t left = bytes; left > 0 && count < MaxBlocks;) {
    const std::size_t size = left < block ? left : block;
    void* memory = std::malloc(size);
    if (!memory) break;
    blocks[count++] = memory;
    left -= size;
  }
  while (count > 0) std::free(blocks[--count]);
}

#else

void ReserveMemory(std::size_t) {}

#endif

}  // namespace mireforge
