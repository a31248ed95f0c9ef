#pragma once
// Reading BMP and PNG pictures into an Image, the decoder chosen by the file's
// extension.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "formats/image.h"

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

// The message for a picture whose width or height exceeds maxSide.
[[noreturn]] void ThrowPictureTooLarge(long long width, long long height, int maxSide);

inline std::span<const unsigned char> AsBytes(std::string_view text) {
  return {reinterpret_cast<const unsigned char*>(text.data()), text.size()};
}

}  // namespace mireforge
