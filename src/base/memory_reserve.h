#pragma once
// Memory for a big job made ready in one go.
#include <cstddef>

namespace mireforge {

// Readies about bytes of heap for the allocations that follow. A fresh process
// otherwise takes a page fault for every 4 KB it first touches, and loading or
// building a 512 x 512 project touches tens of megabytes: on virtual machines
// those faults cost more than the work itself. The heap is grown once, marked for
// large pages where the system offers them (one fault for 2 MB), and kept for the
// next allocations.
// Does nothing where the system has no such means; never fails.
void ReserveMemory(std::size_t bytes);

}  // namespace mireforge
