#pragma once
// Reading BMP and PNG pictures into an Image, the decoder chosen by the file's
// extension.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "pictures/image.h"
#include "pictures/parallel_png.h"

namespace mireforge {

// The largest width or height a picture may have. Decoding allocates the whole
// picture, so anything bigger is refused before a byte is allocated.
inline constexpr int MaxPictureSide = 16384;

// The largest file that can hold a valid picture of so many pixels (16-bit RGBA
// PNG stored without compression, with room for chunks and headers); a larger
// file is refused before it is read.
inline constexpr std::uint64_t MaxPictureFileBytes(std::uint64_t pixels) {
  return pixels * 9 + 16ull * 1024 * 1024;
}

struct PictureSize {
  int Width = 0;
  int Height = 0;
};

// The file kinds the writers produce; the values are the save dialogs' filter entries.
enum class PictureFileType { Bitmap = 1, Png = 2 };

// Error "Unknown picture file extension (.%s)" for an extension other than
// bmp or png, "Cannot open file %s" for a file that cannot be read (or larger
// than a picture of maxPixels can be), and the decoder's message for a damaged
// picture (naming the file for PNG). A picture wider or higher than maxSide, or
// of more than maxPixels pixels (0: maxSide squared), is refused before its
// pixels are allocated.
Image LoadPicture(const std::string& path, int maxSide = MaxPictureSide, std::uint64_t maxPixels = 0);

// The same from bytes already read; extension is "bmp" or "png" (any case, no dot).
Image DecodePicture(std::span<const unsigned char> bytes, std::string_view extension,
                    int maxSide = MaxPictureSide, std::uint64_t maxPixels = 0);

// Width and height from the picture's header only, without decoding the pixels.
PictureSize ProbePictureSize(std::span<const unsigned char> bytes, std::string_view extension);

// Writes a picture row by row, top row first, into a temporary file that
// Commit() renames over path; dropped without Commit() it leaves any old file
// as it was. Bitmaps are 32 bits per pixel, PNG images RGB (alpha dropped)
// or RGBA at zlib level 5. A file that cannot be created or written gives
// "Cannot create file %s"; the encoders' own errors pass through.
class PictureRowWriter {
 public:
  PictureRowWriter(const std::string& path, PictureFileType type, int width, int height, bool pngAlpha = false);
  ~PictureRowWriter();
  PictureRowWriter(const PictureRowWriter&) = delete;
  PictureRowWriter& operator=(const PictureRowWriter&) = delete;

  void WriteRow(const std::uint32_t* argb);
  void Commit();

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

// A picture whose rows come from source, replaced atomically as PictureRowWriter
// does; a PNG (RGB) is drawn and compressed on every core, a bitmap row by row.
void SavePictureRows(const std::string& path, PictureFileType type, int width, int height,
                     const PictureRowSource& source, const PictureRowProgress& progress = {});

// The whole picture through a PictureRowWriter.
void SavePicture(const std::string& path, PictureFileType type, const Image& image, bool pngAlpha = false);

// Error "The picture is too large ..." when a side exceeds maxSide or the
// pixels exceed maxPixels (0: maxSide squared).
void CheckPictureSize(long long width, long long height, int maxSide, std::uint64_t maxPixels);

inline std::span<const unsigned char> AsBytes(std::string_view text) {
  return {reinterpret_cast<const unsigned char*>(text.data()), text.size()};
}

}  // namespace mireforge
