#include "base/file_set.h"

namespace mireforge {

void AtomicFileSet::Add(const std::string& path, std::string_view bytes, const std::string& failureMessage) {
  files_.push_back(std::make_unique<AtomicFile>(path, failureMessage));
  files_.back()->Write(bytes);
  files_.back()->Finish();
}

void AtomicFileSet::Commit() {
  for (const auto& file : files_) file->Commit();
}

}  // namespace mireforge
