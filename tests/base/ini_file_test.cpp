#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "base/file_io.h"
#include "base/ini_file.h"
#include "base/error.h"
#include "support/temp_dir.h"

namespace mireforge {
namespace {

using Names = std::vector<std::string>;

TEST(IniFile, WritesWindowsLayoutAndFindsNamesWithoutCase) {
  IniFile ini;
  ini.WriteString("Settings", "Show grid", "1");
  ini.WriteString("MRUProjects", "MRU1", "/a.mfp");
  ini.WriteString("SETTINGS", "start FULLSCREEN", "0");  // same section, new key
  ini.WriteString("settings", "SHOW GRID", "0");         // same key: overwritten in place
  EXPECT_EQ(ini.Serialize(), "[Settings]\r\nShow grid=0\r\nstart FULLSCREEN=0\r\n[MRUProjects]\r\nMRU1=/a.mfp\r\n");
  EXPECT_EQ(ini.ReadString("mruprojects", "mru1", "x"), "/a.mfp");
  EXPECT_EQ(ini.ReadString("MRUProjects", "MRU2", "none"), "none");
  EXPECT_EQ(ini.ReadString("Other", "MRU1", "none"), "none");
  EXPECT_EQ(ini.KeyNames("SETTINGS"), (Names{"Show grid", "start FULLSCREEN"}));
}

TEST(IniFile, SectionsKeepFirstWrittenOrderAndErasedOnesGoToTheEnd) {
  IniFile ini = IniFile::Parse("[A]\r\nk=1\r\n[B]\r\nk=2\r\n[C]\r\nk=3\r\n");
  ini.EraseSection("b");
  EXPECT_FALSE(ini.SectionExists("B"));
  ini.WriteString("A", "j", "x");
  ini.WriteString("B", "k", "4");
  EXPECT_EQ(ini.SectionNames(), (Names{"A", "C", "B"}));
  EXPECT_EQ(ini.KeyCount("B"), 1u);
  ini.DeleteKey("A", "K");
  EXPECT_EQ(ini.KeyNames("A"), (Names{"j"}));
  ini.EraseSection("missing");  // no effect, no failure
  ini.DeleteKey("missing", "k");
  EXPECT_EQ(ini.Serialize(), "[A]\r\nj=x\r\n[C]\r\nk=3\r\n[B]\r\nk=4\r\n");
}

TEST(IniFile, ValuesRoundTripExactly) {
  const std::vector<std::string> values = {
      "",        "plain text", "  leading", "trailing  ", " both ", "\"quoted\"", "\"",
      "\"half",  "half\"",     "\" \"",     "\t",         "a=b=c",  "[not a section]",
      "; not a comment", "\"\"",  "x\"  ",  std::string(5000, 'q'), "caf\xE9 \xFF"};
  IniFile ini;
  for (std::size_t i = 0; i < values.size(); ++i) ini.WriteString("V", std::to_string(i), values[i]);
  const IniFile back = IniFile::Parse(ini.Serialize());
  for (std::size_t i = 0; i < values.size(); ++i)
    EXPECT_EQ(back.ReadWholeString("V", std::to_string(i), "<missing>"), values[i]) << i;
  // Reading as Windows does gives the first 2,047 characters.
  EXPECT_EQ(back.ReadString("V", "16", ""), std::string(2047, 'q'));
  EXPECT_EQ(back.Find("V", "16")->size(), 2047u);
  EXPECT_EQ(back.Serialize(), ini.Serialize());
}

TEST(IniFile, TextsReadFromTheDocumentCanBeWrittenBackIntoIt) {
  // Views into the document, used while the document grows (a run under
  // AddressSanitizer catches any use of storage that has moved).
  IniFile ini = IniFile::Parse("[A]\r\nname=Key\r\nk=" + std::string(100, 'v') + "\r\n");
  for (int i = 0; i < 200; ++i) {
    const std::string key = "k" + std::to_string(i);
    ini.WriteString("B", key, *ini.Find("A", "k"));
    ASSERT_EQ(ini.ReadString("B", key, ""), std::string(100, 'v'));
  }
  ini.WriteString("C", *ini.Find("A", "name"), std::string(100000, 'w'));
  EXPECT_EQ(ini.KeyNames("C"), (Names{"Key"}));
  EXPECT_EQ(ini.ReadWholeString("C", "key", "").size(), 100000u);
}

TEST(IniFile, LineBreaksInValuesBecomeBlanksInsteadOfNewEntries) {
  IniFile ini;
  ini.WriteString("S", "k", "one\r\n[Evil]\nx=1\rend");
  const IniFile back = IniFile::Parse(ini.Serialize());
  EXPECT_EQ(back.ReadString("S", "k", ""), "one  [Evil] x=1 end");
  EXPECT_EQ(back.SectionNames(), (Names{"S"}));
}

TEST(IniFile, ReadsFilesWrittenByHandOrOtherTools) {
  // A UTF-8 mark, LF and lone CR line ends, blanks around names and "=", enclosing quotes.
  const IniFile ini = IniFile::Parse("\xEF\xBB\xBF [ Main ] trailing\n  Key  =  spaced value  \rQ=\"  kept  \"\r\n\n[Other");
  EXPECT_EQ(ini.SectionNames(), (Names{"Main", "Other"}));
  EXPECT_EQ(ini.ReadString("main", "key", ""), "spaced value");
  EXPECT_EQ(ini.ReadString("Main", "Q", ""), "  kept  ");
  EXPECT_TRUE(ini.SectionExists("other"));
  EXPECT_EQ(ini.KeyCount("Other"), 0u);

  // One mark is ignored at the start of any line; a line it does not explain is kept whole.
  const std::string marks =
      "\xEF\xBB\xBF\xEF\xBB\xBFx\r\n\xEF\xBB\xBF[B]\r\n\xEF\xBB\xBFk=1\r\n\xEF\xBB\xBF\xEF\xBB\xBF=2\r\n";
  const IniFile marked = IniFile::Parse(marks);
  EXPECT_EQ(marked.KeyNames("b"), (Names{"k"}));
  EXPECT_EQ(marked.ReadString("b", "k", ""), "1");
  EXPECT_EQ(IniFile::Parse(marked.Serialize()).Serialize(),
            "\xEF\xBB\xBF\xEF\xBB\xBFx\r\n[B]\r\nk=1\r\n\xEF\xBB\xBF\xEF\xBB\xBF=2\r\n");
}

TEST(IniFile, KeepsWhatItDoesNotUnderstand) {
  const std::string text =
      "; header comment\r\nloose=1\r\n"
      "[A]\r\n; comment\r\nk=first\r\nno equals sign\r\nK=shadowed\r\n=empty key\r\n"
      "[B]\r\nb=1\r\n"
      "[a]\r\nlate=2\r\n";
  IniFile ini = IniFile::Parse(text);
  // The first of a repeated key wins, however often it is read; a repeated
  // section joins the first one.
  EXPECT_EQ(ini.ReadString("A", "k", ""), "first");
  EXPECT_EQ(ini.ReadString("A", "k", ""), "first");
  EXPECT_EQ(ini.ReadString("A", "late", ""), "2");
  EXPECT_EQ(ini.KeyNames("A"), (Names{"k", "late"}));
  EXPECT_EQ(ini.SectionNames(), (Names{"A", "B"}));
  ini.WriteString("A", "k", "new");
  EXPECT_EQ(ini.Serialize(),
            "; header comment\r\nloose=1\r\n"
            "[A]\r\n; comment\r\nk=new\r\nno equals sign\r\nK=shadowed\r\n=empty key\r\nlate=2\r\n"
            "[B]\r\nb=1\r\n");
}

TEST(IniFile, IntegersInDecimalAndHexadecimal) {
  struct Case {
    const char* text;
    std::int32_t expected;
  };
  const Case cases[] = {
      {"0", 0},          {"42", 42},         {"-17", -17},       {"+5", 5},
      {"0x1F", 31},      {"0X1f", 31},       {"$1F", 31},        {"$ff", 255},
      {"-$10", -16},     {"$FFFFFFFF", -1},  {"536870911", 536870911},
      {"2147483647", 2147483647},            {"-2147483648", INT32_MIN},
      // Not numbers: the fallback 7.
      {"", 7},           {"12abc", 7},       {"abc", 7},         {"0x", 7},
      {"$", 7},          {"-", 7},           {"1.5", 7},         {"2147483648", 7},
      {"$100000000", 7}, {"0x1G", 7},        {"1 2", 7},         {"--1", 7}};
  IniFile ini;
  for (const Case& c : cases) {
    ini.WriteString("N", "v", c.text);
    EXPECT_EQ(ini.ReadInteger("N", "v", 7), c.expected) << c.text;
  }
  EXPECT_EQ(ini.ReadInteger("N", "missing", 7), 7);
}

TEST(IniFile, BooleansAreWrittenAsOneAndZero) {
  IniFile ini;
  ini.WriteBool("S", "on", true);
  ini.WriteBool("S", "off", false);
  ini.WriteString("S", "two", "2");
  ini.WriteString("S", "word", "yes");
  EXPECT_EQ(ini.ReadString("S", "on", ""), "1");
  EXPECT_EQ(ini.ReadString("S", "off", ""), "0");
  EXPECT_TRUE(ini.ReadBool("S", "on", false));
  EXPECT_FALSE(ini.ReadBool("S", "off", true));
  EXPECT_TRUE(ini.ReadBool("S", "two", false));
  EXPECT_TRUE(ini.ReadBool("S", "word", true));  // not a number: the fallback
  EXPECT_FALSE(ini.ReadBool("S", "word", false));
  EXPECT_TRUE(ini.ReadBool("S", "missing", true));
}

TEST(IniFile, RefusesNamesThatCouldNotBeReadBack) {
  IniFile ini;
  for (const char* key : {"", "a=b", "[x", " lead", "trail ", "two\nlines", "\xEF\xBB\xBFmarked", "eight=78", "abcdefg\r",
                          "a much longer key = yes", "a much longer key\nbroken"})
    EXPECT_THROW(ini.WriteString("S", key, "v"), std::invalid_argument) << key;
  for (const char* section : {"a]b", " lead", "x\r"})
    EXPECT_THROW(ini.WriteString(section, "k", "v"), std::invalid_argument) << section;
  EXPECT_EQ(ini.Serialize(), "");
}

// Documents as large as a project's are indexed on two threads and scanned eight
// bytes at a time: line ends at every offset, repeated keys in the largest section
// and in the others, every reader agreeing with the first occurrence of each key.
TEST(IniFile, LargeDocumentsReadTheFirstOfEveryKeyOnEveryPath) {
  const char* const ends[] = {"\r\n", "\n", "\r"};
  std::string text = "[Big]\r\n";
  std::vector<std::pair<std::string, std::string>> big, other;
  const auto add = [&](std::vector<std::pair<std::string, std::string>>& into, int i) {
    std::string key = "k" + std::to_string(i % 20000);  // keys from 20000 on repeat earlier ones
    std::string value(static_cast<std::size_t>(i % 19), static_cast<char>('a' + i % 26));
    text += key + "=" + value + ends[i % 3];
    into.emplace_back(std::move(key), std::move(value));
  };
  for (int i = 0; i < 20100; ++i) add(big, i);
  text += "[Other]\r\n";
  for (int i = 0; i < 20050; ++i) add(other, i);

  const IniFile ini = IniFile::Parse(text);
  EXPECT_EQ(ini.KeyCount("Big"), 20000u);
  EXPECT_EQ(ini.KeyCount("Other"), 20000u);
  std::string canonical;
  for (const auto& [name, lines] : {std::pair{"Big", &big}, std::pair{"Other", &other}}) {
    canonical += std::string("[") + name + "]\r\n";
    for (const auto& [key, value] : *lines) canonical += key + "=" + value + "\r\n";
  }
  EXPECT_EQ(ini.Serialize(), canonical);  // repeated keys stay as the lines they were

  for (const auto& [name, lines] : {std::pair{"Big", &big}, std::pair{"Other", &other}}) {
    // Readers in file order, backwards, and two at once on two threads (opened here,
    // read there).
    const IniFile::SectionReader opened = ini.ReadSection(name);
    const auto check = [&, lines = lines](bool backwards, std::vector<std::string>& wrong) {
      IniFile::SectionReader reader = opened;
      for (std::size_t n = 0; n < 20000; ++n) {
        const std::size_t i = backwards ? 19999 - n : n;
        const std::optional<std::string_view> value = reader.FindWhole((*lines)[i].first);
        if (value != std::string_view((*lines)[i].second)) wrong.push_back((*lines)[i].first);
      }
      // A repeated key read in file order gives its first value, not the later line's.
      for (std::size_t i = 20000; i < lines->size(); ++i)
        if (reader.FindWhole((*lines)[i].first) != std::string_view((*lines)[i - 20000].second))
          wrong.push_back((*lines)[i].first + " (repeated)");
    };
    std::vector<std::string> forwards, backwards;
    std::thread other([&] { check(true, backwards); });
    check(false, forwards);
    other.join();
    EXPECT_EQ(forwards, Names{}) << name;
    EXPECT_EQ(backwards, Names{}) << name;
    EXPECT_EQ(ini.ReadString(name, "k19999", "?"), (*lines)[19999].second);
  }
  IniFile::SectionReader missing = ini.ReadSection("None");
  EXPECT_EQ(missing.FindWhole("k1"), std::nullopt);
  EXPECT_EQ(missing.ReadInteger("k1", -7), -7);
}

// A large text is parsed in two halves at once. Wherever they meet (in a line
// break, before a repeated section, in the lines before any section), the
// document must be the one a single pass makes; a reader leaving a section out
// makes it in one pass. Each pattern fills the text and is shifted byte by byte,
// so the halves meet at every place in it.
TEST(IniFile, ALargeTextParsedInTwoHalvesIsTheSameDocument) {
  const std::string patterns[] = {
      "[A]\r\nk=v\r\n\n\r\r\nx=1\r[B]\r\n",
      "\xEF\xBB\xBF[a]\r\nk5=again\r\n  [ C ]  \r\n=no key\r\nno equals\n",
      "; before any section\r\n\r\n",
  };
  TempDir dir;
  const std::string path = dir.File("big.ini");
  std::vector<std::string> wrong;
  for (const std::string& pattern : patterns) {
    for (std::size_t shift = 0; shift < pattern.size(); ++shift) {
      std::string text = ";" + std::string(shift, 'x') + "\r\n";
      while (text.size() < (1040u << 10)) text += pattern;
      text += "[Z]\r\nk5=last\r\n";
      WriteWholeFile(path, text, "x %s");
      const IniFile halves = IniFile::Parse(text);
      const IniFile whole = IniFile::Load(path, AnyFileSize, {"no such section"});
      if (halves.Serialize() != whole.Serialize() || halves.SectionNames() != whole.SectionNames() ||
          halves.ReadString("A", "k5", "") != whole.ReadString("A", "k5", ""))
        wrong.push_back(pattern.substr(0, 8) + " shifted " + std::to_string(shift));
    }
  }
  EXPECT_EQ(wrong, Names{});
}

TEST(IniFile, SectionsLeftOutOnLoadingAreAsIfErased) {
  TempDir dir;
  const std::string path = dir.File("p.ini");
  IniFile written = IniFile::Parse("top=1\r\n[Keep]\r\na=1\r\n[Drop]\r\nb=2\r\n[Mid]\r\n[Keep]\r\nc=3\r\n[drop]\r\n [x]=y\r\n");
  written.Save(path);
  IniFile erased = IniFile::Load(path, AnyFileSize);
  erased.EraseSection("DROP");
  const IniFile left = IniFile::LoadIfExists(path, AnyFileSize, {"DROP", "none"});
  EXPECT_EQ(left.Serialize(), erased.Serialize());
  EXPECT_EQ(left.Serialize(), "top=1\r\n[Keep]\r\na=1\r\nc=3\r\n[Mid]\r\n[x]\r\n");  // " [x]=y" opens a section

  // A section left out is skipped from one "[" to the next: only those that open
  // a line (after blanks or a UTF-8 mark) end it, whatever the line breaks.
  const std::string hostile[] = {
      "[Drop]\r\nv=[not a section]\r\nw = x [y]\r\n\t [Keep]\r\na=1",
      "[Drop]\rk=1\r\xEF\xBB\xBF  [Keep]\nz=2\n[drop]\n[[Drop]]\r\n",
      "[Drop]\r\n  \xEF\xBB\xBF[no section]\r\nx\xEF\xBB\xBF[nor this]\r\n[Keep]\r\n",
      "x=1\r\n[Drop]\n\n[\n[Drop ]\r\n]=[\r\n[",
      "[Drop]\r\n[",
  };
  for (const std::string& text : hostile) {
    WriteWholeFile(path, text, "%s");
    IniFile whole = IniFile::Load(path, AnyFileSize);
    whole.EraseSection("Drop");
    EXPECT_EQ(IniFile::Load(path, AnyFileSize, {"Drop"}).Serialize(), whole.Serialize()) << text;
  }
}

TEST(IniFile, LoadsAndSavesFiles) {
  TempDir dir;
  const std::string path = dir.File("prefs.ini");
  EXPECT_EQ(IniFile::LoadIfExists(path, AnyFileSize).Serialize(), "");
  try {
    IniFile::Load(path, AnyFileSize);
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot open file " + path);
  }
  IniFile ini;
  ini.WriteString("Settings", "Show grid", "1");
  ini.Save(path);
  EXPECT_EQ(ReadWholeFile(path), "[Settings]\r\nShow grid=1\r\n");
  EXPECT_TRUE(IniFile::LoadIfExists(path, AnyFileSize).ReadBool("settings", "show grid", false));
  EXPECT_THROW(IniFile::LoadIfExists(dir.Path(), AnyFileSize), Error);  // exists but is no file
  try {
    ini.Save(dir.File("no-such-folder/p.ini"));
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "Unable to write to " + dir.File("no-such-folder/p.ini") + ": No such file or directory");
  }
}

}  // namespace
}  // namespace mireforge
