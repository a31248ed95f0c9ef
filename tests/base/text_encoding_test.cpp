#include <gtest/gtest.h>

#include <string>

#include "base/text_encoding.h"

namespace mireforge {
namespace {

std::string AllBytes() {
  std::string bytes;
  for (int b = 1; b < 256; ++b) bytes += static_cast<char>(b);
  return bytes;
}

TEST(TextEncoding, AByteAboveAsciiIsSeenAtAnyPlace) {
  const std::string plain(21, 'a');
  for (std::size_t length = 0; length <= plain.size(); ++length) {
    EXPECT_TRUE(IsAscii(std::string_view(plain).substr(0, length))) << length;
    for (std::size_t at = 0; at < length; ++at) {
      std::string text = plain.substr(0, length);
      text[at] = '\x80';
      EXPECT_FALSE(IsAscii(text)) << length << " " << at;
    }
  }
}

TEST(TextEncoding, Windows1252ReadsAsItsCharactersAndWritesBackByteForByte) {
  EXPECT_EQ(DecodeFileText("Ch\xE2teau \x80 5 \x93quoted\x94"), "Ch\xC3\xA2teau \xE2\x82\xAC 5 \xE2\x80\x9Cquoted\xE2\x80\x9D");
  // Every byte, the five Windows-1252 leaves unassigned included, comes back unchanged.
  const std::string bytes = AllBytes();
  EXPECT_EQ(EncodeFileText(DecodeFileText(bytes)), bytes);
  EXPECT_EQ(DecodeFileText("\x81\x8D\x8F\x90\x9D"), "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D");
}

TEST(TextEncoding, Utf8FromEarlierVersionsStaysReadable) {
  EXPECT_EQ(DecodeFileText("caf\xC3\xA9"), "caf\xC3\xA9");
  EXPECT_EQ(DecodeFileText("\xE2\x86\x92 north"), "\xE2\x86\x92 north");
  // Not UTF-8 after all (an overlong form, a surrogate, a lone lead): Windows-1252.
  EXPECT_EQ(DecodeFileText("\xC0\xAF"), "\xC3\x80\xC2\xAF");
  EXPECT_EQ(DecodeFileText("\xED\xA0\x80"), "\xC3\xAD\xC2\xA0\xE2\x82\xAC");
  EXPECT_EQ(DecodeFileText("caf\xC3"), "caf\xC3\x83");
}

TEST(TextEncoding, EveryTextInMemoryRoundTrips) {
  const std::string texts[] = {
      "plain",
      "caf\xC3\xA9 \xE2\x82\xAC",                 // Windows-1252 holds it: one byte a character
      "\xC3\x83\xC2\xA9",                         // "Ã©": its Windows-1252 bytes would read as UTF-8
      "\xE2\x86\x92 \xF0\x9F\x8F\xB0 \xC3\xA9",   // characters Windows-1252 lacks
      "\xC2\x81",                                 // an unassigned byte's control character
  };
  for (const std::string& text : texts) EXPECT_EQ(DecodeFileText(EncodeFileText(text)), text) << text;
  EXPECT_EQ(EncodeFileText("caf\xC3\xA9 \xE2\x82\xAC"), "caf\xE9 \x80");
  EXPECT_EQ(EncodeFileText("\xE2\x86\x92"), "\xE2\x86\x92");
}

TEST(TextEncoding, ReadingCutsToTheFirstCharactersAndLooksNoFurther) {
  EXPECT_EQ(DecodeFileText(std::string(5000, 'a'), 2047), std::string(2047, 'a'));
  EXPECT_EQ(DecodeFileText(std::string(3000, '\xE9'), 2047).size(), 2047u * 2);  // é is two bytes in memory
  // 2,047 arrows (three bytes each) are kept whole; a value cut inside a character loses it.
  std::string arrows;
  for (int i = 0; i < 3000; ++i) arrows += "\xE2\x86\x92";
  EXPECT_EQ(DecodeFileText(arrows, 2047), arrows.substr(0, 2047 * 3));
  EXPECT_EQ(DecodeFileText(std::string(8186, 'a') + "\xE2\x86\x92", 2047), std::string(2047, 'a'));
}

TEST(TextEncoding, HtmlGetsReferencesForWhatWindows1252Lacks) {
  EXPECT_EQ(EncodeWindows1252WithReferences("caf\xC3\xA9 \xE2\x86\x92"), "caf\xE9 &#8594;");
  EXPECT_EQ(EncodeWindows1252WithReferences("plain"), "plain");
}

TEST(TextEncoding, CleanDescriptionTurnsLineBreaksIntoBlanks) {
  EXPECT_EQ(CleanDescription("a\r\nb\nc\rd"), "a  b c d");
  EXPECT_EQ(CleanDescription("  \"quoted\"  "), "  \"quoted\"  ");
}

}  // namespace
}  // namespace mireforge
