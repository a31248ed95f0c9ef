#pragma once
// Decodes GIF pictures in tests with giflib's own reader, independent of our writer.
#include <cstdint>
#include <string>
#include <vector>

namespace mireforge {

struct DecodedGif {
  int Width = 0;
  int Height = 0;
  int ColorCount = 0;                 // entries of the global colour table
  int TransparentIndex = -1;          // -1: none
  std::vector<std::uint32_t> Pixels;  // 0xFFRRGGBB; transparent pixels 0
};

// The first picture of a GIF; throws std::runtime_error when it is no valid
// one-picture GIF with a global colour table.
DecodedGif DecodeGif(const std::string& bytes);

}  // namespace mireforge
