#include "pictures/picture.h"

#include <algorithm>
#include <cstdio>
#include <cctype>
#include <filesystem>
#include <new>
#include <vector>

#include "pictures/bmp_codec.h"
#include "base/file_io.h"
#include "pictures/png_codec.h"
#include "base/error.h"

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

void CheckPictureSize(long long width, long long height, int maxSide, std::uint64_t maxPixels) {
  const std::string size = std::to_string(width) + " x " + std::to_string(height) + " pixels";
  if (width > maxSide || height > maxSide)
    throw Error("The picture is too large (" + size + "; at most " + std::to_string(maxSide) + " x " +
                std::to_string(maxSide) + ")");
  if (maxPixels != 0 && static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) > maxPixels)
    throw Error("The picture is too large (" + size + "; at most " + std::to_string(maxPixels) + " pixels)");
}

Image DecodePicture(std::span<const unsigned char> bytes, std::string_view extension, int maxSide,
                    std::uint64_t maxPixels) {
  return DecoderFor(extension) == Decoder::Bmp ? DecodeBmpImage(bytes, maxSide, maxPixels)
                                               : DecodePng(bytes, maxSide, maxPixels);
}

PictureSize ProbePictureSize(std::span<const unsigned char> bytes, std::string_view extension) {
  return DecoderFor(extension) == Decoder::Bmp ? ProbeBmpSize(bytes) : ProbePngSize(bytes);
}

Image LoadPicture(const std::string& path, int maxSide, std::uint64_t maxPixels) {
  const std::string extension = ExtensionOf(path);
  DecoderFor(extension);  // an unknown kind is refused before the file is touched
  if (maxPixels == 0) maxPixels = static_cast<std::uint64_t>(maxSide) * static_cast<std::uint64_t>(maxSide);
  const std::string bytes = ReadWholeFile(path, MaxPictureFileBytes(maxPixels));
  try {
    return DecodePicture(AsBytes(bytes), extension, maxSide, maxPixels);
  } catch (const PngError& error) {
    throw Error(FormatMessage("The PNG image %s is damaged", path) + ": " + error.what());
  } catch (const std::bad_alloc&) {
    ThrowOutOfMemory(path);
  }
}

struct PictureRowWriter::Impl {
  Impl(const std::string& path) : File(path, "Cannot create file %s") {}

  // A codec error caused by the file itself is reported as the file's failure.
  template <typename Step>
  void Run(Step step) {
    try {
      step();
    } catch (const Error&) {
      if (File.Handle() && std::ferror(File.Handle())) File.Fail();
      throw;
    }
  }

  AtomicFile File;
  std::unique_ptr<BmpRowWriter> Bmp;
  std::unique_ptr<PngRowWriter> Png;
};

PictureRowWriter::PictureRowWriter(const std::string& path, PictureFileType type, int width, int height,
                                   bool pngAlpha)
    : impl_(std::make_unique<Impl>(path)) {
  Impl& w = *impl_;
  w.Run([&] {
    if (type == PictureFileType::Bitmap)
      w.Bmp = std::make_unique<BmpRowWriter>(w.File.Handle(), width, height);
    else
      w.Png = std::make_unique<PngRowWriter>(w.File.Handle(), width, height, pngAlpha ? PngColor::Rgba : PngColor::Rgb);
  });
}

PictureRowWriter::~PictureRowWriter() = default;

void PictureRowWriter::WriteRow(const std::uint32_t* argb) {
  impl_->Run([&] { impl_->Bmp ? impl_->Bmp->WriteRow(argb) : impl_->Png->WriteRow(argb); });
}

void PictureRowWriter::Commit() {
  impl_->Run([&] { impl_->Bmp ? impl_->Bmp->Finish() : impl_->Png->Finish(); });
  impl_->File.Commit();
}

void SavePictureRows(const std::string& path, PictureFileType type, int width, int height,
                     const PictureRowSource& source, const PictureRowProgress& progress) {
  if (type == PictureFileType::Bitmap) {
    PictureRowWriter writer(path, type, width, height);
    std::vector<std::uint32_t> row(static_cast<std::size_t>(std::max(width, 0)));
    for (int y = 0; y < height; ++y) {
      source(y, row.data());
      writer.WriteRow(row.data());
      if (progress) progress(y + 1);
    }
    writer.Commit();
    return;
  }
  PictureRowWriter::Impl w(path);
  w.Run([&] { WriteParallelPng(w.File.Handle(), width, height, source, progress); });
  w.File.Commit();
}

void SavePicture(const std::string& path, PictureFileType type, const Image& image, bool pngAlpha) {
  PictureRowWriter writer(path, type, image.Width, image.Height, pngAlpha);
  for (int y = 0; y < image.Height; ++y) writer.WriteRow(image.Pixels.data() + static_cast<std::size_t>(y) * image.Width);
  writer.Commit();
}

}  // namespace mireforge
