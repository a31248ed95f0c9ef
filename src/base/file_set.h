#pragma once
// The files of one save written together.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/file_io.h"

namespace mireforge {

// Each file is written whole as it is added, and none replaces its target
// before all are written, so a full disk leaves every target as it was.
class AtomicFileSet {
 public:
  void Add(const std::string& path, std::string_view bytes, const std::string& failureMessage);
  void Commit();

 private:
  std::vector<std::unique_ptr<AtomicFile>> files_;
};

}  // namespace mireforge
