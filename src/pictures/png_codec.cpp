#include "pictures/png_codec.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <vector>

#include "base/error.h"

// libpng reports errors by longjmp. Every libpng call below runs inside
// Guarded(), whose frame holds the setjmp; the frames a longjmp skips hold no
// C++ objects with destructors. The C++ exception is thrown only after
// Guarded() has returned false, never through libpng's C frames.

namespace mireforge {
namespace {

struct PngMessage {
  char Text[256] = "PNG image is not valid";
};

void OnPngError(png_structp png, png_const_charp message) {
  auto* target = static_cast<PngMessage*>(png_get_error_ptr(png));
  std::snprintf(target->Text, sizeof target->Text, "%s", message ? message : "PNG image is not valid");
  png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}  // ancillary damage is not worth a message

template <typename Body>
bool Guarded(png_structp png, Body body) {
  if (setjmp(png_jmpbuf(png))) return false;
  body();
  return true;
}

struct MemoryInput {
  const unsigned char* Data;
  std::size_t Size;
  std::size_t At = 0;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t length) {
  auto* input = static_cast<MemoryInput*>(png_get_io_ptr(png));
  if (length > input->Size - input->At) png_error(png, "Read Error");
  std::memcpy(out, input->Data + input->At, length);
  input->At += length;
}

struct ReadSession {
  PngMessage Message;
  MemoryInput Input;
  png_structp Png = nullptr;
  png_infop Info = nullptr;

  explicit ReadSession(std::span<const unsigned char> bytes) : Input{bytes.data(), bytes.size()} {
    Png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &Message, OnPngError, OnPngWarning);
    if (!Png) throw Error("Out of memory");
    Info = png_create_info_struct(Png);
    if (!Info) {
      png_destroy_read_struct(&Png, nullptr, nullptr);
      throw Error("Out of memory");
    }
    png_set_read_fn(Png, &Input, ReadFromMemory);
  }
  ~ReadSession() { png_destroy_read_struct(&Png, &Info, nullptr); }
  ReadSession(const ReadSession&) = delete;
  ReadSession& operator=(const ReadSession&) = delete;

  [[noreturn]] void Fail() const { throw PngError(Message.Text); }

  PictureSize ReadHeader() {
    png_uint_32 width = 0, height = 0;
    if (!Guarded(Png, [&] {
          png_read_info(Png, Info);
          width = png_get_image_width(Png, Info);
          height = png_get_image_height(Png, Info);
        }))
      Fail();
    // libpng's own limit (a million per side) is far above ours, so this holds.
    return {static_cast<int>(width), static_cast<int>(height)};
  }
};

}  // namespace

PictureSize ProbePngSize(std::span<const unsigned char> bytes) {
  ReadSession session(bytes);
  return session.ReadHeader();
}

Image DecodePng(std::span<const unsigned char> bytes, int maxSide, std::uint64_t maxPixels) {
  ReadSession session(bytes);
  const PictureSize size = session.ReadHeader();
  CheckPictureSize(size.Width, size.Height, maxSide, maxPixels);

  png_structp png = session.Png;
  png_infop info = session.Info;
  std::size_t rowBytes = 0;
  // Whatever is stored, ask libpng for 8-bit R, G, B, A.
  if (!Guarded(png, [&] {
        png_set_expand(png);
        png_set_strip_16(png);
        png_set_gray_to_rgb(png);
        png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
        png_set_interlace_handling(png);
        png_read_update_info(png, info);
        rowBytes = png_get_rowbytes(png, info);
      }))
    session.Fail();
  if (rowBytes != static_cast<std::size_t>(size.Width) * 4) throw PngError("PNG image is not valid");

  Image image(size.Width, size.Height);
  std::vector<png_bytep> rows(size.Height);
  for (int y = 0; y < size.Height; ++y) rows[y] = reinterpret_cast<png_bytep>(&image.At(0, y));
  if (!Guarded(png, [&] { png_read_image(png, rows.data()); })) session.Fail();

  // Each pixel holds the bytes R, G, B, A; make them one 0xAARRGGBB value.
  for (std::uint32_t& pixel : image.Pixels) {
    unsigned char p[4];
    std::memcpy(p, &pixel, 4);
    pixel = Argb(p[0], p[1], p[2], p[3]);
  }
  return image;
}

struct PngRowWriter::State {
  PngMessage Message;
  png_structp Png = nullptr;
  png_infop Info = nullptr;
  std::FILE* File = nullptr;
  std::string* Output = nullptr;
  std::vector<unsigned char> Row;
  PngColor Color = PngColor::Rgb;
  int Width = 0;
  int Height = 0;
  int RowsWritten = 0;
  bool Failed = false;

  ~State() { png_destroy_write_struct(&Png, &Info); }

  template <typename Body>
  void Run(Body body) {
    if (Failed) throw Error(Message.Text);
    if (!Guarded(Png, body)) {
      Failed = true;  // libpng's state is unusable after an error
      throw Error(Message.Text);
    }
  }
};

namespace {

void WriteToSink(png_structp png, png_bytep data, png_size_t length) {
  auto* state = static_cast<PngRowWriter::State*>(png_get_io_ptr(png));
  if (state->File) {
    if (std::fwrite(data, 1, length, state->File) != length) png_error(png, "Write Error");
    return;
  }
  bool stored = true;
  try {
    state->Output->append(reinterpret_cast<const char*>(data), length);
  } catch (...) {
    stored = false;
  }
  if (!stored) png_error(png, "Out of memory");  // after the handler: never longjmp out of one
}

void FlushSink(png_structp) {}  // the owner of the file flushes it when done

}  // namespace

PngRowWriter::PngRowWriter(std::FILE* file, int width, int height, PngColor color) : state_(new State) {
  state_->File = file;
  Start(width, height, color);
}

PngRowWriter::PngRowWriter(std::string* output, int width, int height, PngColor color) : state_(new State) {
  state_->Output = output;
  Start(width, height, color);
}

PngRowWriter::~PngRowWriter() = default;

void PngRowWriter::Start(int width, int height, PngColor color) {
  State& s = *state_;
  s.Width = width;
  s.Height = height;
  s.Color = color;
  if (width <= 0 || height <= 0) throw Error("A PNG image needs at least one pixel");
  s.Row.resize(static_cast<std::size_t>(width) * (color == PngColor::Rgb ? 3 : 4));
  s.Png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &s.Message, OnPngError, OnPngWarning);
  if (!s.Png) throw Error("Out of memory");
  s.Info = png_create_info_struct(s.Png);
  if (!s.Info) throw Error("Out of memory");
  png_structp png = s.Png;
  png_infop info = s.Info;
  s.Run([&] {
    png_set_write_fn(png, &s, WriteToSink, FlushSink);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 color == PngColor::Rgb ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, PngCompressionLevel);
    // Unfiltered rows: the adaptive filter search costs more than twice the
    // deflate time on tile pictures and made the files no smaller.
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_write_info(png, info);
  });
}

void PngRowWriter::WriteRow(const std::uint32_t* argb) {
  State& s = *state_;
  if (s.RowsWritten >= s.Height) throw Error("Too many rows for the PNG image");
  unsigned char* out = s.Row.data();
  if (s.Color == PngColor::Rgb) {
    for (int x = 0; x < s.Width; ++x, out += 3) {
      const std::uint32_t p = argb[x];
      out[0] = static_cast<unsigned char>(p >> 16);
      out[1] = static_cast<unsigned char>(p >> 8);
      out[2] = static_cast<unsigned char>(p);
    }
  } else {
    for (int x = 0; x < s.Width; ++x, out += 4) {
      const std::uint32_t p = argb[x];
      out[0] = static_cast<unsigned char>(p >> 16);
      out[1] = static_cast<unsigned char>(p >> 8);
      out[2] = static_cast<unsigned char>(p);
      out[3] = static_cast<unsigned char>(p >> 24);
    }
  }
  png_structp png = s.Png;
  png_bytep row = s.Row.data();
  s.Run([&] { png_write_row(png, row); });
  ++s.RowsWritten;
}

void PngRowWriter::Finish() {
  State& s = *state_;
  if (s.RowsWritten != s.Height) throw Error("The PNG image is missing rows");
  png_structp png = s.Png;
  s.Run([&] { png_write_end(png, nullptr); });
}

std::string EncodePng(const Image& image, PngColor color) {
  std::string bytes;
  PngRowWriter writer(&bytes, image.Width, image.Height, color);
  for (int y = 0; y < image.Height; ++y) writer.WriteRow(image.Pixels.data() + static_cast<std::size_t>(y) * image.Width);
  writer.Finish();
  return bytes;
}

void WritePng(std::FILE* file, const Image& image, PngColor color) {
  PngRowWriter writer(file, image.Width, image.Height, color);
  for (int y = 0; y < image.Height; ++y) writer.WriteRow(image.Pixels.data() + static_cast<std::size_t>(y) * image.Width);
  writer.Finish();
}

}  // namespace mireforge
