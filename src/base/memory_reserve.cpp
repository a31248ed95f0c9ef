#include "base/memory_reserve.h"

#if defined(__linux__) && defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <mutex>
#endif

namespace mireforge {

#if defined(__linux__) && defined(__GLIBC__)

namespace {

// glibc takes blocks from its heap below this size, and mmaps larger ones afresh.
constexpr std::size_t LargestHeapBlock = 32u << 20;
constexpr std::size_t LargePage = 2u << 20;

void Prepare(char* from, char* to) {
  const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
  const auto start = (reinterpret_cast<std::uintptr_t>(from) + page - 1) & ~(page - 1);
  const auto end = reinterpret_cast<std::uintptr_t>(to) & ~(page - 1);
  if (end <= start) return;
  // Faulted in as used, a large page at a time: filling them all now would clear
  // memory the job never touches, which costs more than the faults it spares.
  // Refused by an older kernel, the pages fault in as before.
  ::madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
}

}  // namespace

void ReserveMemory(std::size_t bytes) {
  static std::once_flag once;
  std::call_once(once, [] {
    // Big vectors come from the heap too, and freed memory stays for the next job
    // instead of going back to the system and faulting in again.
    ::mallopt(M_MMAP_THRESHOLD, static_cast<int>(LargestHeapBlock));
    ::mallopt(M_TRIM_THRESHOLD, 256 << 20);
    // A second thread (loads and generators use two) allocates from the same ready heap.
    ::mallopt(M_ARENA_MAX, 1);
  });
  // Taken in blocks the heap serves, which lie one after the other at its top;
  // freed, they join its free top, ready.
  constexpr std::size_t block = LargestHeapBlock - LargePage;
  constexpr int MaxBlocks = 16;
  void* blocks[MaxBlocks];
  int count = 0;
  for (std::size_t left = bytes; left > 0 && count < MaxBlocks;) {
    const std::size_t size = left < block ? left : block;
    void* memory = std::malloc(size);
    if (!memory) break;
    Prepare(static_cast<char*>(memory), static_cast<char*>(memory) + size);
    blocks[count++] = memory;
    left -= size;
  }
  while (count > 0) std::free(blocks[--count]);
}

#else

void ReserveMemory(std::size_t) {}

#endif

}  // namespace mireforge
