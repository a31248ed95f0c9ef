#pragma once
// Writers for the artwork files: indexed BMP for the tile pictures, RGBA PNG
// for the application pictures.
#include <cstdint>
#include <string>
#include <vector>

#include "canvas.h"
#include "quantize.h"

namespace drawtiles {

// A bottom-up BITMAPINFOHEADER BMP with 4 or 8 bits per pixel and a full
// palette (16 or 256 entries).
void WriteIndexedBmp(const std::string& path, const IndexedPicture& picture, int bitsPerPixel);

// An 8-bit RGBA PNG; alpha comes from the drawing's coverage.
void WritePng(const std::string& path, int width, int height, const std::vector<Canvas::Pixel>& pixels);

}  // namespace drawtiles
