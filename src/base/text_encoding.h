#pragma once
// Text in files and text in memory. Files are single-byte Windows-1252 text, as
// the project files made on Windows are; the program holds text as UTF-8.
//
// Reading: a value that is valid UTF-8 and holds at least one multibyte sequence
// is taken as UTF-8 (earlier versions of this program wrote what was typed as
// UTF-8); every other value is Windows-1252. Its five unassigned bytes (81, 8D,
// 8F, 90, 9D) stand for the control characters of the same number, so that any
// byte string reads and writes back unchanged.
//
// Writing: Windows-1252 wherever it holds the text and reads back as the same
// text; otherwise (a character Windows-1252 lacks, or a rare text whose
// Windows-1252 bytes would read as UTF-8) the value is written as UTF-8, which
// the rule above reads back exactly. No text is ever lost.
#include <cstddef>
#include <string>
#include <string_view>

namespace mireforge {

inline constexpr std::size_t AnyTextLength = static_cast<std::size_t>(-1);

// The text of a file value, cut to its first maxChars characters (a UTF-8 value
// counts characters, a Windows-1252 one bytes). Only the first 4 x maxChars bytes
// are looked at, so a huge value costs no more than a short one.
std::string DecodeFileText(std::string_view bytes, std::size_t maxChars = AnyTextLength);

// The bytes that DecodeFileText reads back as text.
std::string EncodeFileText(std::string_view text);

// Windows-1252 bytes; a character it lacks becomes "&#N;" (an HTML character reference).
std::string EncodeWindows1252WithReferences(std::string_view text);

bool IsAscii(std::string_view text);

// Descriptions and other INI values cannot hold line breaks, so they become blanks.
std::string CleanDescription(std::string_view text);

}  // namespace mireforge
