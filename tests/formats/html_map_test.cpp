#include "formats/html_map.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "base/file_io.h"
#include "pictures/tile_pictures.h"
#include "base/error.h"
#include "project/project.h"
#include "support/gif_reader.h"
#include "support/crlf_lines.h"
#include "support/temp_dir.h"

namespace mireforge {
namespace {

std::string Tag(const std::string& picture, const std::string& title) {
  return "<IMG src=\"" + picture + "\" title=\"" + title + "\" width=\"32\" height=\"32\">";
}

TEST(HtmlMap, PictureNamesSwapPlainsAndMountains) {
  const std::string expected[TerrainCount] = {"E.gif", "1.gif", "2.gif", "3.gif", "4.gif", "5.gif",
                                              "6.gif", "7.gif", "8.gif", "9.gif", "A.gif", "B.gif",
                                              "C.gif", "D.gif", "0.gif", "F.gif"};
  for (int code = 0; code < TerrainCount; ++code) EXPECT_EQ(HtmlPictureName(code), expected[code]) << code;
}

TEST(HtmlMap, PageOfAFullMap) {
  Project p;
  p.Map.ResizeMap(66, 63);
  for (int y = 0; y < 63; ++y)
    for (int x = 0; x < 66; ++x) p.Map.Cells[x + y * 66] = static_cast<TerrainCode>((x * 7 + y) % 16);
  BuildDefaultDescriptions(p.Descriptions, p.Map);
  const auto lines = SplitCrLfLines(FormatHtmlMap(p));
  ASSERT_EQ(lines.size(), 73u);
  const std::vector<std::string> head = {
      "<HTML>",
      "<HEAD>",
      R"(<META http-equiv="Content-Type" content="text/html; charset=windows-1252">)",
      "<TITLE>Mireforge generated map</TITLE>",
      "</HEAD>",
      R"(<BODY bgcolor="#FFFFFF" TEXT="#000000" LINK="#0000ff" VLINK="#800080">)",
      R"(<TABLE CELLSPACING="0" BORDER="0" CELLPADDING="0">)"};
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 7), head);
  EXPECT_EQ(std::vector<std::string>(lines.end() - 3, lines.end()),
            (std::vector<std::string>{"</TABLE>", "</BODY>", "</HTML>"}));
  for (int y = 0; y < 63; ++y) {
    std::string row = "<TR><TD>";
    for (int x = 0; x < 66; ++x) {
      const int code = (x * 7 + y) % 16;
      row += Tag(HtmlPictureName(code), std::string(TerrainNames[code]));
    }
    row += "</TD></TR>";
    ASSERT_EQ(lines[7 + y], row) << y;
  }
  // The four named in the brief, spelled out rather than computed.
  EXPECT_NE(lines[7].find(Tag("E.gif", "plains")), std::string::npos);
  EXPECT_NE(lines[7].find(Tag("0.gif", "mountains")), std::string::npos);
  EXPECT_NE(lines[7].find(Tag("A.gif", "frozen wastes")), std::string::npos);
  EXPECT_NE(lines[7].find(Tag("9.gif", "lake")), std::string::npos);
  // Windows-1252 as the page says; what it lacks as character references.
  p.Descriptions.Entry(0).Text = "Ch\xC3\xA2teau \"\xE2\x86\x92\"";
  EXPECT_NE(FormatHtmlMap(p).find("title=\"Ch\xE2teau &quot;&#8594;&quot;\""), std::string::npos);
}

TEST(HtmlMap, TitlesAreEscapedSoTheBrowserShowsTheText) {
  const struct {
    std::string in;
    std::string out;
  } cases[] = {
      {"Tower of the Moon, 'old' #1", "Tower of the Moon, 'old' #1"},
      {R"(a "quoted" name)", "a &quot;quoted&quot; name"},
      {"<script>x</script>", "&lt;script&gt;x&lt;/script&gt;"},
      {"Salt & Pepper &amp;", "Salt &amp; Pepper &amp;amp;"},
      {"two\r\nlines", "two&#13;&#10;lines"},
  };
  for (const auto& c : cases) EXPECT_EQ(EscapeHtmlAttribute(c.in), c.out) << c.in;

  Project p;
  p.Map.ResizeMap(2, 1);
  p.Map.Cells = {Mountains, Lake};
  BuildDefaultDescriptions(p.Descriptions, p.Map);
  p.CellDescription(0, 0)->Text = "\"><b>x</b>";
  const auto lines = SplitCrLfLines(FormatHtmlMap(p));
  ASSERT_EQ(lines.size(), 11u);
  EXPECT_EQ(lines[7], "<TR><TD>" + Tag("0.gif", "&quot;&gt;&lt;b&gt;x&lt;/b&gt;") + Tag("9.gif", "lake") + "</TD></TR>");

  // Without a description entry a cell shows its terrain name.
  p.Descriptions.Clear();
  EXPECT_EQ(SplitCrLfLines(FormatHtmlMap(p))[7], "<TR><TD>" + Tag("0.gif", "mountains") + Tag("9.gif", "lake") + "</TD></TR>");
}

TEST(HtmlMap, WritesTheFileAndReportsFailures) {
  TempDir dir;
  Project p;
  p.Map.ResizeMap(3, 2);
  BuildDefaultDescriptions(p.Descriptions, p.Map);
  WriteHtmlMap(dir.File("m.html"), p);
  EXPECT_EQ(ReadWholeFile(dir.File("m.html")), FormatHtmlMap(p));
  const std::string bad = dir.File("no/m.html");
  try {
    WriteHtmlMap(bad, p);
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot create file " + bad + ": No such file or directory");
  }
}

TEST(HtmlMap, PicturesCompleteThePage) {
  TempDir dir;
  Project p;
  p.Map.ResizeMap(4, 4);
  BuildDefaultDescriptions(p.Descriptions, p.Map);
  const std::string page = dir.File("m.html");
  WriteHtmlMap(page, p);
  EXPECT_FALSE(std::filesystem::exists(dir.File("E.gif")));  // only when asked

  WriteHtmlMap(page, p, HtmlMapOptions{true});
  const std::vector<Image> tiles = TerrainTiles(TileLook::Color);
  ASSERT_EQ(tiles.size(), 16u);
  const struct {
    std::string file;
    int terrain;
  } named[] = {{"E.gif", Plains}, {"0.gif", Mountains}, {"A.gif", FrozenWastes}, {"9.gif", Lake}};
  for (const auto& n : named) {
    const DecodedGif gif = DecodeGif(ReadWholeFile(dir.File(n.file)));
    EXPECT_EQ(gif.Width, 32);
    EXPECT_EQ(gif.Height, 32);
    EXPECT_EQ(gif.Pixels, tiles[n.terrain].Pixels) << n.file;
  }
  for (int code = 0; code < TerrainCount; ++code) {
    const std::string file = dir.File(HtmlPictureName(code));
    EXPECT_EQ(DecodeGif(ReadWholeFile(file)).Pixels, tiles[code].Pixels) << file;
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 17);

  // A second opinion from another decoder, where ImageMagick is installed.
  if (std::system("command -v identify >/dev/null 2>&1") == 0) {
    const std::string command = "identify -format '%m %w %h\\n' " + dir.File("*.gif") + " > " + dir.File("id.txt");
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::string expected;
    for (int i = 0; i < 16; ++i) expected += "GIF 32 32\n";
    EXPECT_EQ(ReadWholeFile(dir.File("id.txt")), expected);
  }

  EXPECT_THROW(WriteHtmlPictures(dir.Path(), std::vector<Image>(15, Image(32, 32))), Error);
}

TEST(HtmlMap, ExistingPicturesAreFoundAndCanBeKept) {
  TempDir dir;
  Project p;
  p.Map.ResizeMap(3, 3);
  BuildDefaultDescriptions(p.Descriptions, p.Map);
  const std::string page = dir.File("m.html");
  EXPECT_TRUE(ExistingHtmlPictures(page).empty());
  WriteWholeFile(dir.File("E.gif"), "mine", "%s");
  WriteWholeFile(dir.File("0.gif"), "mine too", "%s");
  EXPECT_EQ(ExistingHtmlPictures(page), (std::vector<std::string>{"0.gif", "E.gif"}));

  HtmlMapOptions keep;
  keep.WritePictures = true;
  keep.KeepExistingPictures = true;
  WriteHtmlMap(page, p, keep);
  EXPECT_EQ(ReadWholeFile(dir.File("E.gif")), "mine");
  EXPECT_EQ(ReadWholeFile(dir.File("0.gif")), "mine too");
  EXPECT_EQ(DecodeGif(ReadWholeFile(dir.File("9.gif"))).Width, 32);  // the missing ones are written
  EXPECT_EQ(ExistingHtmlPictures(page).size(), 16u);

  WriteHtmlMap(page, p, HtmlMapOptions{true});
  EXPECT_EQ(DecodeGif(ReadWholeFile(dir.File("E.gif"))).Width, 32);
}

TEST(HtmlMap, WithPicturesEveryFileIsWrittenOrNone) {
  Project p;
  p.Map.ResizeMap(66, 63);
  BuildDefaultDescriptions(p.Descriptions, p.Map);
  // A picture that cannot be written, half-way through the sixteen: a folder in
  // its place, and a name that leads to a device whose every write finds the
  // disk full (/dev/full).
  const struct {
    std::string name;
    std::string reason;
    bool link;
  } blockers[] = {{"9.gif", "Is a directory", false}, {"A.gif", "No space left on device", true}};
  for (const auto& blocker : blockers) {
    TempDir dir;
    const std::string page = dir.File("m.html");
    if (blocker.link) std::filesystem::create_symlink("/dev/full", dir.File(blocker.name));
    else std::filesystem::create_directory(dir.File(blocker.name));
    try {
      WriteHtmlMap(page, p, HtmlMapOptions{true});
      ADD_FAILURE() << "no error";
    } catch (const Error& e) {
      EXPECT_EQ(std::string(e.what()), "Cannot create file " + dir.File(blocker.name) + ": " + blocker.reason);
    }
    // Nothing but the blocker: no page, no picture, no temporary file.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1) << blocker.name;
  }
}

}  // namespace
}  // namespace mireforge
