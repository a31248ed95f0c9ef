#include "base/text_encoding.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace mireforge {

namespace {

// Windows-1252 bytes 80 to 9F; the unassigned ones map to the C1 control of their number.
constexpr std::array<char32_t, 32> HighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t FromWindows1252(unsigned char byte) {
  return byte >= 0x80 && byte < 0xA0 ? HighControls[byte - 0x80] : static_cast<char32_t>(byte);
}

// The Windows-1252 byte of a character, or -1 when it has none.
int ToWindows1252(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
  for (std::size_t i = 0; i < HighControls.size(); ++i)
    if (HighControls[i] == c) return static_cast<int>(0x80 + i);
  return -1;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

enum class Step { Complete, Invalid, Truncated };

// One strict UTF-8 sequence at text[at] (no overlong forms, no surrogates, at
// most U+10FFFF). Truncated: a valid start that the end of text cuts off.
Step NextUtf8(std::string_view text, std::size_t at, char32_t& c, std::size_t& length) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) {
    c = lead;
    length = 1;
    return Step::Complete;
  }
  char32_t minimum;
  if (lead >= 0xC2 && lead <= 0xDF) { length = 2; c = lead & 0x1F; minimum = 0x80; }
  else if (lead >= 0xE0 && lead <= 0xEF) { length = 3; c = lead & 0x0F; minimum = 0x800; }
  else if (lead >= 0xF0 && lead <= 0xF4) { length = 4; c = lead & 0x07; minimum = 0x10000; }
  else return Step::Invalid;
  for (std::size_t i = 1; i < length; ++i) {
    if (at + i >= text.size()) return Step::Truncated;
    if ((byte(i) & 0xC0) != 0x80) return Step::Invalid;
    c = (c << 6) | (byte(i) & 0x3F);
    // Checked as soon as the second byte settles it, so a cut-off sequence is judged too.
    if (i == 1 || i + 1 == length) {
      const char32_t shift = 6 * static_cast<char32_t>(length - 1 - i);
      const char32_t low = c << shift, high = low | ((char32_t{1} << shift) - 1);
      if (high < minimum || low > 0x10FFFF || (low >= 0xD800 && high <= 0xDFFF)) return Step::Invalid;
    }
  }
  return Step::Complete;
}

// True when text is UTF-8 with a multibyte sequence; a sequence cut off by the
// end counts as valid when cutOff says the text is a prefix.
bool ReadsAsUtf8(std::string_view text, bool cutOff) {
  bool multibyte = false;
  for (std::size_t at = 0; at < text.size();) {
    char32_t c;
    std::size_t length;
    const Step step = NextUtf8(text, at, c, length);
    if (step == Step::Invalid) return false;
    if (step == Step::Truncated) return cutOff;  // the rest of the value lies beyond what is looked at
    multibyte = multibyte || length > 1;
    at += length;
  }
  return multibyte;
}

// Walks text held in memory as UTF-8; a byte that is not valid UTF-8 (never made
// by the readers, but possible from elsewhere) counts as its Windows-1252 character.
template <typename Visit>
void ForEachCharacter(std::string_view text, Visit visit) {
  for (std::size_t at = 0; at < text.size();) {
    char32_t c;
    std::size_t length;
    if (NextUtf8(text, at, c, length) != Step::Complete) {
      c = FromWindows1252(static_cast<unsigned char>(text[at]));
      length = 1;
    }
    visit(c);
    at += length;
  }
}

}  // namespace

bool IsAscii(std::string_view text) {
  // Eight bytes at a time: this looks at every text of a project that is saved.
  std::uint64_t high = 0;
  std::size_t i = 0;
  for (; i + 8 <= text.size(); i += 8) {
    std::uint64_t word;
    std::memcpy(&word, text.data() + i, 8);
    high |= word;
  }
  for (; i < text.size(); ++i) high |= static_cast<unsigned char>(text[i]);
  return (high & 0x8080808080808080ull) == 0;
}

std::string DecodeFileText(std::string_view bytes, std::size_t maxChars) {
  const std::size_t lookAt = maxChars >= AnyTextLength / 4 ? bytes.size() : maxChars * 4;
  const std::string_view prefix = bytes.substr(0, lookAt);
  std::string text;
  if (ReadsAsUtf8(prefix, prefix.size() < bytes.size())) {
    std::size_t count = 0;
    for (std::size_t at = 0; at < prefix.size() && count < maxChars; ++count) {
      char32_t c;
      std::size_t length;
      if (NextUtf8(prefix, at, c, length) != Step::Complete) break;
      at += length;
      text.append(prefix.substr(at - length, length));
    }
    return text;
  }
  const std::string_view kept = bytes.substr(0, maxChars);
  text.reserve(kept.size());
  for (const char byte : kept) AppendUtf8(text, FromWindows1252(static_cast<unsigned char>(byte)));
  return text;
}

std::string EncodeFileText(std::string_view text) {
  if (IsAscii(text)) return std::string(text);
  std::string bytes;
  bool representable = true;
  ForEachCharacter(text, [&](char32_t c) {
    const int byte = ToWindows1252(c);
    if (byte < 0) representable = false;
    else bytes += static_cast<char>(byte);
  });
  if (representable && !ReadsAsUtf8(bytes, false)) return bytes;
  std::string utf8;
  ForEachCharacter(text, [&](char32_t c) { AppendUtf8(utf8, c); });
  return utf8;
}

std::string EncodeWindows1252WithReferences(std::string_view text) {
  if (IsAscii(text)) return std::string(text);
  std::string bytes;
  ForEachCharacter(text, [&](char32_t c) {
    const int byte = ToWindows1252(c);
    if (byte >= 0) bytes += static_cast<char>(byte);
    else bytes += "&#" + std::to_string(static_cast<std::uint32_t>(c)) + ";";
  });
  return bytes;
}

std::string CleanDescription(std::string_view text) {
  std::string clean(text);
  for (char& c : clean)
    if (c == '\r' || c == '\n') c = ' ';
  return clean;
}

}  // namespace mireforge
