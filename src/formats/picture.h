#pragma once
// Reading BMP and PNG pictures into an Image, the decoder chosen by the file's
// extension.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "formats/image.h"
#include "formats/parallel_png.h"

namespace mireforge {

// The largest width or height a picture may have. Decoding allocates the whole
// picture, so anything bigger is refused before a byte is allocated.
inline constexpr int MaxPictureSide = 16384;

struct PictureSize {
  int Width = 0;
  int Height = 0;
};

// The file kinds the writers produce; the values are the save dialogs' filter entries.
enum class PictureFileType { Bitmap = 1, Png = 2 };

// Error "Unknown picture file extension (.%s)" for an extension other than
// bmp or png, "Cannot open file %s" for a file that cannot be read, and the
// decoder's message for a damaged picture.
Image LoadPicture(const std::string& path, int maxSide = MaxPictureSide);

// The same from bytes already read; extension is "bmp" or "png" (any case, no dot).
Image DecodePicture(std::span<const unsigned char> bytes, std::string_view extension,
                    int maxSide = MaxPictureSide);

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

// The message for a picture whose width or height exceeds maxSide.
[[noreturn]] void ThrowPictureTooLarge(long long width, long long height, int maxSide);

inline std::span<const unsigned char> AsBytes(std::string_view text) {
  return {reinterpret_cast<const unsigned char*>(text.data()), text.size()};
}

}  // namespace mireforge
