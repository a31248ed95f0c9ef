#pragma once
// PNG through libpng: any PNG decoded into an Image, and 8-bit RGB or RGBA
// written whole or row by row. libpng's own error texts become the messages.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string>

#include "pictures/image.h"
#include "pictures/picture.h"
#include "base/error.h"

namespace mireforge {

// A message from libpng about a damaged file.
class PngError : public Error {
 public:
  using Error::Error;
};

// Every colour type and depth, palette and tRNS transparency expanded, 16-bit
// channels reduced to 8, interlaced or not. No gamma correction is applied, so
// stored colour values come back exactly. Error with libpng's message for a
// damaged file, the too-large message when a side exceeds maxSide.
// PngError for what libpng refuses.
Image DecodePng(std::span<const unsigned char> bytes, int maxSide = MaxPictureSide, std::uint64_t maxPixels = 0);
// Width and height from the header chunk only.
PictureSize ProbePngSize(std::span<const unsigned char> bytes);

enum class PngColor { Rgb, Rgba };
inline constexpr int PngCompressionLevel = 5;

// Writes rows top to bottom into a file or a string. Any libpng failure, and
// a failed write, throws Error with libpng's message.
class PngRowWriter {
 public:
  PngRowWriter(std::FILE* file, int width, int height, PngColor color);
  PngRowWriter(std::string* output, int width, int height, PngColor color);
  ~PngRowWriter();
  PngRowWriter(const PngRowWriter&) = delete;
  PngRowWriter& operator=(const PngRowWriter&) = delete;

  void WriteRow(const std::uint32_t* argb);
  // Writes the end of the file; every row must have been written.
  void Finish();

  struct State;

 private:
  void Start(int width, int height, PngColor color);
  std::unique_ptr<State> state_;
};

std::string EncodePng(const Image& image, PngColor color);
void WritePng(std::FILE* file, const Image& image, PngColor color);

}  // namespace mireforge
