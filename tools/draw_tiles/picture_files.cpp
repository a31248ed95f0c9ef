#include "picture_files.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <stdexcept>

namespace drawtiles {
namespace {

void Put16(std::vector<std::uint8_t>& out, unsigned v) {
  out.push_back(std::uint8_t(v)), out.push_back(std::uint8_t(v >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) { Put16(out, v & 0xFFFF), Put16(out, v >> 16); }
void Put32BigEndian(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(std::uint8_t(v >> shift));
}

void Save(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  if (!file) throw std::runtime_error("cannot write " + path);
}

void Chunk(std::vector<std::uint8_t>& out, const char* type, const std::vector<std::uint8_t>& data) {
  Put32BigEndian(out, std::uint32_t(data.size()));
  const std::size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  Put32BigEndian(out, std::uint32_t(crc32(0, out.data() + start, uInt(out.size() - start))));
}

}  // namespace

void WriteIndexedBmp(const std::string& path, const IndexedPicture& picture, int bitsPerPixel) {
  const int entries = 1 << bitsPerPixel;
  if ((bitsPerPixel != 4 && bitsPerPixel != 8) || int(picture.Palette.size()) != entries)
    throw std::runtime_error("unsupported indexed layout for " + path);
  const int stride = ((picture.Width * bitsPerPixel + 31) / 32) * 4;
  const std::uint32_t pixelOffset = 14 + 40 + 4 * entries;
  const std::uint32_t imageSize = std::uint32_t(stride) * picture.Height;
  std::vector<std::uint8_t> out;
  out.push_back('B'), out.push_back('M');
  Put32(out, pixelOffset + imageSize);
  Put32(out, 0);
  Put32(out, pixelOffset);
  Put32(out, 40);
  Put32(out, std::uint32_t(picture.Width));
  Put32(out, std::uint32_t(picture.Height));  // positive: bottom-up rows
  Put16(out, 1);
  Put16(out, unsigned(bitsPerPixel));
  Put32(out, 0);  // BI_RGB
  Put32(out, imageSize);
  Put32(out, 2835), Put32(out, 2835);  // 72 dpi
  Put32(out, std::uint32_t(entries)), Put32(out, 0);
  for (Rgb8 c : picture.Palette) out.push_back(c.B), out.push_back(c.G), out.push_back(c.R), out.push_back(0);
  for (int y = picture.Height - 1; y >= 0; --y) {
    std::vector<std::uint8_t> row(std::size_t(stride), 0);
    for (int x = 0; x < picture.Width; ++x) {
      const std::uint8_t index = picture.Indexes[std::size_t(y) * picture.Width + x];
      if (bitsPerPixel == 8)
        row[x] = index;
      else
        row[x / 2] |= std::uint8_t(x % 2 == 0 ? index << 4 : index & 0x0F);
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  Save(path, out);
}

void WritePng(const std::string& path, int width, int height, const std::vector<Canvas::Pixel>& pixels) {
  std::vector<std::uint8_t> raw;
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);  // filter: none
    for (int x = 0; x < width; ++x) {
      const Canvas::Pixel& p = pixels[std::size_t(y) * width + x];
      const Rgb8 c = ToRgb8(p.Colour);
      raw.insert(raw.end(), {c.R, c.G, c.B, std::uint8_t(std::lround(std::clamp(p.Alpha, 0.0, 1.0) * 255))});
    }
  }
  uLongf packedSize = compressBound(uLong(raw.size()));
  std::vector<std::uint8_t> packed(packedSize);
  if (compress2(packed.data(), &packedSize, raw.data(), uLong(raw.size()), 9) != Z_OK)
    throw std::runtime_error("compression failed for " + path);
  packed.resize(packedSize);

  std::vector<std::uint8_t> out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<std::uint8_t> header;
  Put32BigEndian(header, std::uint32_t(width));
  Put32BigEndian(header, std::uint32_t(height));
  header.insert(header.end(), {8, 6, 0, 0, 0});  // 8-bit RGBA, deflate, no interlace
  Chunk(out, "IHDR", header);
  Chunk(out, "IDAT", packed);
  Chunk(out, "IEND", {});
  Save(path, out);
}

}  // namespace drawtiles
