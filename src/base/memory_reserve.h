#pragma once
// Memory for a big job made ready in one go.
#include <cstddef>

namespace mireforge {

// Readies about bytes of heap for the allocations that follow: the heap is grown
// once, and memory freed stays in it for the next job instead of going back to
// the system. Taken again from the system, every 4 KB would fault in anew, and a
// 512 x 512 project touches tens of megabytes: on virtual machines those faults
// cost more than the work itself.
// Does nothing where the system has no such means; never fails.
void ReserveMemory(std::size_t bytes);

}  // namespace mireforge
