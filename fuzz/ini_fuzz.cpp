// Any bytes parse; what is parsed serialises to a fixed point, and every key
// reads back the same value from the serialised text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/ini_file.h"

using mireforge::IniFile;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  IniFile ini = IniFile::Parse(bytes);
  const std::string text = ini.Serialize();
  const IniFile again = IniFile::Parse(text);
  if (again.Serialize() != text) __builtin_trap();
  for (const std::string& section : ini.SectionNames()) {
    if (!again.SectionExists(section)) __builtin_trap();
    for (const std::string& key : ini.KeyNames(section)) {
      const std::string value = ini.ReadString(section, key, "");
      if (again.ReadString(section, key, "<missing>") != value) __builtin_trap();
      if (again.ReadWholeString(section, key, "<missing>") != ini.ReadWholeString(section, key, "")) __builtin_trap();
      (void)ini.ReadInteger(section, key, 0);
    }
  }
  // Writing the input back as a value under a fixed key must round-trip too.
  ini.WriteString("Fuzz", "Value", bytes);
  ini.DeleteKey("Fuzz", "Missing");
  // Stored whole, read as Windows reads it: cut to MaxValueLength characters.
  const IniFile back = IniFile::Parse(ini.Serialize());
  std::string clean(bytes);
  for (char& c : clean)
    if (c == '\r' || c == '\n') c = ' ';
  if (back.ReadWholeString("fuzz", "value", "<missing>") != clean) __builtin_trap();
  if (back.ReadString("fuzz", "value", "<missing>") != clean.substr(0, IniFile::MaxValueLength)) __builtin_trap();
  return 0;
}
