#include "pictures/bmp_codec.h"

#include <algorithm>
#include <bit>
#include <climits>

#include "base/error.h"

namespace mireforge {
namespace {

constexpr std::size_t FileHeaderSize = 14;
constexpr std::size_t CoreHeaderSize = 12;     // OS/2 1.x BITMAPCOREHEADER
constexpr std::size_t InfoHeaderSize = 40;     // BITMAPINFOHEADER
constexpr std::size_t Os2v2HeaderSize = 64;    // OS/2 2.x, its own compression codes
constexpr std::size_t LargestHeaderSize = 124; // BITMAPV5HEADER

enum Compression : std::uint32_t { BiRgb = 0, BiRle8 = 1, BiRle4 = 2, BiBitfields = 3, BiAlphaBitfields = 6 };

[[noreturn]] void NotValid() { throw Error(BitmapNotValidMessage); }

std::uint16_t U16(std::span<const unsigned char> b, std::size_t at) {
  if (at + 2 > b.size()) NotValid();
  return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

std::uint32_t U32(std::span<const unsigned char> b, std::size_t at) {
  if (at + 4 > b.size()) NotValid();
  return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8) |
         (static_cast<std::uint32_t>(b[at + 2]) << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

void PutU16(unsigned char* p, std::uint32_t v) {
  p[0] = static_cast<unsigned char>(v);
  p[1] = static_cast<unsigned char>(v >> 8);
}

void PutU32(unsigned char* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}

// One colour channel described by a bit mask, scaled to 0..255.
struct Channel {
  std::uint32_t Mask = 0;
  int Shift = 0;
  std::uint32_t Max = 0;

  explicit Channel(std::uint32_t mask = 0) : Mask(mask) {
    if (!mask) return;
    Shift = std::countr_zero(mask);
    const std::uint32_t bits = mask >> Shift;
    Max = bits;  // a mask with holes still yields values up to its highest bit
  }
  unsigned Extract(std::uint32_t value) const {
    if (!Max) return 0;
    const std::uint64_t v = (value & Mask) >> Shift;
    return static_cast<unsigned>((v * 255 + Max / 2) / Max);
  }
};

// Everything the headers say, checked against the file before any pixel is read.
struct Layout {
  std::int64_t Width = 0;
  std::int64_t Height = 0;  // always positive; TopDown says which row comes first
  bool TopDown = false;
  int BitsPerPixel = 0;
  std::uint32_t Compression = BiRgb;
  std::size_t DataOffset = 0;
  std::size_t Stride = 0;
  std::size_t PaletteOffset = 0;
  std::size_t PaletteCount = 0;
  std::size_t PaletteEntrySize = 4;
  Channel Red, Green, Blue, Alpha;
};

Layout ReadLayout(std::span<const unsigned char> b) {
  if (b.size() < FileHeaderSize + CoreHeaderSize || b[0] != 'B' || b[1] != 'M') NotValid();
  Layout l;
  const std::uint32_t headerSize = U32(b, 14);
  std::size_t afterHeader = FileHeaderSize + headerSize;
  if (headerSize == CoreHeaderSize) {
    l.Width = U16(b, 18);
    l.Height = U16(b, 20);
    if (U16(b, 22) != 1) NotValid();
    l.BitsPerPixel = U16(b, 24);
    l.PaletteEntrySize = 3;
  } else if (headerSize >= InfoHeaderSize && headerSize <= LargestHeaderSize) {
    if (afterHeader > b.size()) NotValid();
    l.Width = static_cast<std::int32_t>(U32(b, 18));
    const std::int32_t height = static_cast<std::int32_t>(U32(b, 22));
    if (height == INT_MIN) NotValid();
    l.TopDown = height < 0;
    l.Height = height < 0 ? -static_cast<std::int64_t>(height) : height;
    if (U16(b, 26) != 1) NotValid();
    l.BitsPerPixel = U16(b, 28);
    l.Compression = U32(b, 30);
    l.PaletteCount = U32(b, 46);
    if (headerSize == Os2v2HeaderSize && l.Compression != BiRgb) {
      // OS/2 2.x numbers its compressions differently; only plain data is read.
      if (l.Compression == BiRle8 || l.Compression == BiRle4)
        throw Error("RLE-compressed bitmaps are not supported");
      NotValid();
    }
    if (l.Compression == BiRle8 || l.Compression == BiRle4)
      throw Error("RLE-compressed bitmaps are not supported");
    if (l.Compression == BiBitfields || l.Compression == BiAlphaBitfields) {
      if (l.BitsPerPixel != 16 && l.BitsPerPixel != 32) NotValid();
      // A plain info header keeps its masks just after it; later versions inside.
      std::size_t masks = FileHeaderSize + InfoHeaderSize;
      const bool alphaMask = l.Compression == BiAlphaBitfields || headerSize >= 56;
      if (headerSize == InfoHeaderSize) afterHeader += alphaMask ? 16 : 12;
      l.Red = Channel(U32(b, masks));
      l.Green = Channel(U32(b, masks + 4));
      l.Blue = Channel(U32(b, masks + 8));
      if (alphaMask) l.Alpha = Channel(U32(b, masks + 12));
    } else if (l.Compression != BiRgb) {
      NotValid();
    }
  } else {
    NotValid();
  }

  switch (l.BitsPerPixel) {
    case 1: case 4: case 8:
      if (l.Compression != BiRgb) NotValid();
      if (l.PaletteCount == 0 || l.PaletteCount > (1u << l.BitsPerPixel)) l.PaletteCount = 1u << l.BitsPerPixel;
      break;
    case 16:
      if (l.Compression == BiRgb) {  // the default 5-5-5 layout
        l.Red = Channel(0x7C00);
        l.Green = Channel(0x03E0);
        l.Blue = Channel(0x001F);
      }
      l.PaletteCount = 0;
      break;
    case 24: case 32:
      l.PaletteCount = 0;  // an optional table for display optimisation; never needed
      break;
    default:
      NotValid();
  }
  if (l.Width <= 0 || l.Height <= 0) NotValid();

  l.PaletteOffset = afterHeader;
  if (l.PaletteOffset + l.PaletteCount * l.PaletteEntrySize > b.size()) {
    // Some writers store fewer entries than the depth allows; use those that fit.
    if (l.PaletteOffset > b.size()) NotValid();
    l.PaletteCount = (b.size() - l.PaletteOffset) / l.PaletteEntrySize;
  }
  l.DataOffset = U32(b, 10);
  if (l.DataOffset < FileHeaderSize + headerSize || l.DataOffset > b.size()) NotValid();
  if (l.BitsPerPixel <= 8) {
    // The table must not run into the pixels.
    const std::size_t roomForPalette =
        l.DataOffset > l.PaletteOffset ? (l.DataOffset - l.PaletteOffset) / l.PaletteEntrySize : 0;
    l.PaletteCount = std::min(l.PaletteCount, roomForPalette);
    if (l.PaletteCount == 0) NotValid();
  }
  return l;
}

// Checks that the pixel data is all there; the last row may lack its padding.
void CheckPixelData(const Layout& l, std::size_t fileSize) {
  const std::uint64_t rowBits = static_cast<std::uint64_t>(l.Width) * l.BitsPerPixel;
  const std::uint64_t stride = (rowBits + 31) / 32 * 4;
  const std::uint64_t lastRow = (rowBits + 7) / 8;
  const std::uint64_t needed = stride * static_cast<std::uint64_t>(l.Height - 1) + lastRow;
  if (needed > fileSize - l.DataOffset) NotValid();
}


}  // namespace

PictureSize ProbeBmpSize(std::span<const unsigned char> bytes) {
  const Layout l = ReadLayout(bytes);
  if (l.Width > INT_MAX || l.Height > INT_MAX) NotValid();
  return {static_cast<int>(l.Width), static_cast<int>(l.Height)};
}

namespace {

BmpPicture Decode(std::span<const unsigned char> bytes, int maxSide, std::uint64_t maxPixels, bool keepIndexes) {
  Layout l = ReadLayout(bytes);
  CheckPictureSize(l.Width, l.Height, maxSide, maxPixels);
  CheckPixelData(l, bytes.size());
  l.Stride = static_cast<std::size_t>((static_cast<std::uint64_t>(l.Width) * l.BitsPerPixel + 31) / 32 * 4);

  const int width = static_cast<int>(l.Width);
  const int height = static_cast<int>(l.Height);
  BmpPicture result;
  result.BitsPerPixel = l.BitsPerPixel;
  result.Picture = Image(width, height);
  if (l.BitsPerPixel <= 8) {
    result.Palette.resize(l.PaletteCount);
    for (std::size_t i = 0; i < l.PaletteCount; ++i) {
      const unsigned char* p = bytes.data() + l.PaletteOffset + i * l.PaletteEntrySize;
      result.Palette[i] = Argb(p[2], p[1], p[0]);
    }
    if (keepIndexes) result.Indexes.resize(static_cast<std::size_t>(width) * height);
  }

  // 32-bit BI_RGB files keep alpha in the spare byte only by convention: a
  // file whose spare bytes are all zero is opaque.
  bool spareByteIsAlpha = false;
  if (l.BitsPerPixel == 32 && l.Compression == BiRgb) {
    for (int y = 0; y < height && !spareByteIsAlpha; ++y) {
      const unsigned char* row = bytes.data() + l.DataOffset + static_cast<std::size_t>(y) * l.Stride;
      for (int x = 0; x < width; ++x)
        if (row[x * 4 + 3]) { spareByteIsAlpha = true; break; }
    }
  }

  const int bpp = l.BitsPerPixel;
  for (int fileRow = 0; fileRow < height; ++fileRow) {
    const unsigned char* row = bytes.data() + l.DataOffset + static_cast<std::size_t>(fileRow) * l.Stride;
    const int y = l.TopDown ? fileRow : height - 1 - fileRow;
    std::uint32_t* out = &result.Picture.At(0, y);
    if (bpp <= 8) {
      std::uint8_t* indexes = keepIndexes ? result.Indexes.data() + static_cast<std::size_t>(y) * width : nullptr;
      const int perByte = 8 / bpp;
      const unsigned mask = (1u << bpp) - 1;
      for (int x = 0; x < width; ++x) {
        const int shift = 8 - bpp * (x % perByte + 1);
        const unsigned index = (row[x / perByte] >> shift) & mask;
        if (indexes) indexes[x] = static_cast<std::uint8_t>(index);
        out[x] = index < result.Palette.size() ? result.Palette[index] : Argb(0, 0, 0);
      }
    } else if (bpp == 24) {
      for (int x = 0; x < width; ++x) out[x] = Argb(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]);
    } else if (bpp == 32 && l.Compression == BiRgb) {
      for (int x = 0; x < width; ++x) {
        const unsigned char* p = row + x * 4;
        out[x] = Argb(p[2], p[1], p[0], spareByteIsAlpha ? p[3] : 255);
      }
    } else {
      const bool hasAlpha = l.Alpha.Mask != 0;
      for (int x = 0; x < width; ++x) {
        const std::uint32_t v = bpp == 16 ? static_cast<std::uint32_t>(row[x * 2] | (row[x * 2 + 1] << 8))
                                          : static_cast<std::uint32_t>(row[x * 4]) | (row[x * 4 + 1] << 8) |
                                                (row[x * 4 + 2] << 16) |
                                                (static_cast<std::uint32_t>(row[x * 4 + 3]) << 24);
        out[x] = Argb(l.Red.Extract(v), l.Green.Extract(v), l.Blue.Extract(v), hasAlpha ? l.Alpha.Extract(v) : 255);
      }
    }
  }
  return result;
}

}  // namespace

BmpPicture DecodeBmp(std::span<const unsigned char> bytes, int maxSide, std::uint64_t maxPixels) {
  return Decode(bytes, maxSide, maxPixels, true);
}

Image DecodeBmpImage(std::span<const unsigned char> bytes, int maxSide, std::uint64_t maxPixels) {
  return std::move(Decode(bytes, maxSide, maxPixels, false).Picture);
}

namespace {

constexpr std::size_t Bmp32HeaderSize = FileHeaderSize + InfoHeaderSize;

// The headers of a bottom-up 32-bit BI_RGB bitmap; Error when it cannot be
// described (the size fields are 32-bit; stay below 2 GB so offsets fit a long).
std::string Bmp32Header(int width, int height) {
  if (width <= 0 || height <= 0) throw Error("A bitmap needs at least one pixel");
  const std::uint64_t dataSize = static_cast<std::uint64_t>(width) * height * 4;
  if (dataSize + Bmp32HeaderSize > static_cast<std::uint64_t>(INT32_MAX))
    throw Error("The picture is too large for a Windows bitmap");
  std::string header(Bmp32HeaderSize, '\0');
  auto* h = reinterpret_cast<unsigned char*>(header.data());
  h[0] = 'B';
  h[1] = 'M';
  PutU32(h + 2, static_cast<std::uint32_t>(dataSize + Bmp32HeaderSize));
  PutU32(h + 10, Bmp32HeaderSize);
  PutU32(h + 14, InfoHeaderSize);
  PutU32(h + 18, static_cast<std::uint32_t>(width));
  PutU32(h + 22, static_cast<std::uint32_t>(height));
  PutU16(h + 26, 1);
  PutU16(h + 28, 32);
  PutU32(h + 30, BiRgb);
  PutU32(h + 34, static_cast<std::uint32_t>(dataSize));
  PutU32(h + 38, 2835);  // 72 dots per inch
  PutU32(h + 42, 2835);
  return header;
}

void PackRow(const std::uint32_t* argb, int width, unsigned char* out) {
  for (int x = 0; x < width; ++x) PutU32(out + x * 4, argb[x]);  // B, G, R, A in file order
}

}  // namespace

std::string EncodeBmp32(const Image& image) {
  std::string bytes = Bmp32Header(image.Width, image.Height);
  const std::size_t stride = static_cast<std::size_t>(image.Width) * 4;
  bytes.resize(bytes.size() + stride * image.Height);
  auto* data = reinterpret_cast<unsigned char*>(bytes.data()) + Bmp32HeaderSize;
  for (int y = 0; y < image.Height; ++y)
    PackRow(image.Pixels.data() + static_cast<std::size_t>(y) * image.Width, image.Width, data + static_cast<std::size_t>(image.Height - 1 - y) * stride);
  return bytes;
}

BmpRowWriter::BmpRowWriter(std::FILE* file, int width, int height)
    : file_(file), width_(width), height_(height) {
  const std::string header = Bmp32Header(width, height);
  row_.resize(static_cast<std::size_t>(width) * 4);
  if (std::fwrite(header.data(), 1, header.size(), file_) != header.size())
    throw Error("Cannot write the bitmap");
}

void BmpRowWriter::WriteRow(const std::uint32_t* argb) {
  if (nextRow_ >= height_) throw Error("Too many rows for the bitmap");
  const long offset = static_cast<long>(Bmp32HeaderSize + row_.size() * (height_ - 1 - nextRow_));
  PackRow(argb, width_, row_.data());
  if (std::fseek(file_, offset, SEEK_SET) != 0 || std::fwrite(row_.data(), 1, row_.size(), file_) != row_.size())
    throw Error("Cannot write the bitmap");
  ++nextRow_;
}

void BmpRowWriter::Finish() {
  if (nextRow_ != height_) throw Error("The bitmap is missing rows");
  if (std::fseek(file_, 0, SEEK_END) != 0) throw Error("Cannot write the bitmap");
}

}  // namespace mireforge
