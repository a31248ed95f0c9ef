#pragma once
// Two halves of one job on the two cores a desktop has.
#include <exception>
#include <thread>

namespace mireforge {

// Runs aside on a second thread while here runs on this one, and returns when both
// are done; a failure of either is thrown here (of here first), never lost.
template <typename Aside, typename Here>
void RunBeside(Aside&& aside, Here&& here) {
  std::exception_ptr asideFailure;
  std::thread worker([&] {
    try {
      aside();
    } catch (...) {
      asideFailure = std::current_exception();
    }
  });
  try {
    here();
  } catch (...) {
    worker.join();
    throw;
  }
  worker.join();
  if (asideFailure) std::rethrow_exception(asideFailure);
}

// Whether a second thread is worth starting for a job of this many items.
inline bool WorthASecondThread(std::size_t items, std::size_t threshold) {
  return items >= threshold && std::thread::hardware_concurrency() > 1;
}

}  // namespace mireforge
