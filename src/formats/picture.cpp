#include "formats/picture.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "formats/bmp_codec.h"
#include "formats/file_io.h"
#include "formats/png_codec.h"
#include "model/error.h"

namespace mireforge {
namespace {

enum class Decoder { Bmp, Png };

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  return lower;
}

Decoder DecoderFor(std::string_view extension) {
  const std::string lower = Lower(extension);
  if (lower == "bmp") return Decoder::Bmp;
  if (lower == "png") return Decoder::Png;
  throw Error(FormatMessage("Unknown picture file extension (.%s)", extension));
}

// As typed, for the message; the comparison ignores case.
std::string ExtensionOf(const std::string& path) {
  std::string extension = std::filesystem::path(path).extension().string();
  if (!extension.empty()) extension.erase(0, 1);
  return extension;
}

}  // namespace

void ThrowPictureTooLarge(long long width, long long height, int maxSide) {
  throw Error("The picture is too large (" + std::to_string(width) + " x " + std::to_string(height) +
              " pixels; at most " + std::to_string(maxSide) + " x " + std::to_string(maxSide) + ")");
}

Image DecodePicture(std::span<const unsigned char> bytes, std::string_view extension, int maxSide) {
  return DecoderFor(extension) == Decoder::Bmp ? DecodeBmpImage(bytes, maxSide) : DecodePng(bytes, maxSide);
}

PictureSize ProbePictureSize(std::span<const unsigned char> bytes, std::string_view extension) {
  return DecoderFor(extension) == Decoder::Bmp ? ProbeBmpSize(bytes) : ProbePngSize(bytes);
}

Image LoadPicture(const std::string& path, int maxSide) {
  const std::string extension = ExtensionOf(path);
  DecoderFor(extension);  // an unknown kind is refused before the file is touched
  const std::string bytes = ReadWholeFile(path);
  return DecodePicture(AsBytes(bytes), extension, maxSide);
}

}  // namespace mireforge
