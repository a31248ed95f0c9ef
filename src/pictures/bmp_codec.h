#pragma once
// Windows bitmaps: a reader for what paint programs write (1, 4, 8, 16, 24 and
// 32 bits per pixel, bottom-up or top-down, uncompressed or bit fields, every
// header version) and writers of 32-bit bitmaps, whole or row by row.
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

#include "pictures/image.h"
#include "pictures/picture.h"

namespace mireforge {

inline constexpr const char* BitmapNotValidMessage = "Bitmap image is not valid";

struct BmpPicture {
  Image Picture;  // every pixel opaque unless the file carries alpha
  int BitsPerPixel = 0;
  // For 1, 4 and 8-bit files: the colour table as stored (0xFFRRGGBB), and
  // each pixel's index into it, Width x Height bytes, rows top to bottom.
  // An index past the end of the table shows as black in Picture.
  std::vector<std::uint32_t> Palette;
  std::vector<std::uint8_t> Indexes;
};

// Errors: "Bitmap image is not valid" for a damaged or truncated file,
// "RLE-compressed bitmaps are not supported", and the too-large message when
// width or height exceeds maxSide or the pixels maxPixels (0: maxSide squared).
BmpPicture DecodeBmp(std::span<const unsigned char> bytes, int maxSide = MaxPictureSide, std::uint64_t maxPixels = 0);
// The picture alone; the palette indexes are not kept.
Image DecodeBmpImage(std::span<const unsigned char> bytes, int maxSide = MaxPictureSide, std::uint64_t maxPixels = 0);
// Width and height from the headers; the same errors for a damaged header.
PictureSize ProbeBmpSize(std::span<const unsigned char> bytes);

// A bottom-up 32-bit BI_RGB bitmap; the fourth byte of each pixel is its alpha.
std::string EncodeBmp32(const Image& image);

// Writes a 32-bit bitmap into file row by row, top row first, without holding
// the picture: each row goes straight to its place in the bottom-up layout.
// Throws Error when the picture would exceed the format's 2 GB or a write fails.
class BmpRowWriter {
 public:
  BmpRowWriter(std::FILE* file, int width, int height);
  void WriteRow(const std::uint32_t* argb);
  // Checks that every row arrived and leaves the file positioned at its end.
  void Finish();

 private:
  std::FILE* file_;
  int width_;
  int height_;
  int nextRow_ = 0;
  std::vector<unsigned char> row_;
};

}  // namespace mireforge
