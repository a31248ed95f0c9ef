#include "formats/name_list.h"

#include "base/file_io.h"
#include "base/text_encoding.h"
#include "generate/name_generator.h"

namespace mireforge {

namespace {

// A list of names is text; anything bigger is not one.
constexpr std::uint64_t MaxNameListBytes = 64ull << 20;

}  // namespace

std::vector<std::string> ReadNameList(const std::string& path) {
  return ParseNameList(DecodeFileText(ReadWholeFile(path, MaxNameListBytes)));
}

}  // namespace mireforge
