// Feeds arbitrary bytes to the TMJ (JSON) map reader.
#include "tiled_map_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return FuzzTiledMap({reinterpret_cast<const char*>(data), size}, mireforge::ParseTmj, mireforge::FormatTmj);
}
