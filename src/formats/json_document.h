#pragma once
// A small JSON reader and the string escaping for writers, bounded in depth
// and in the number of values.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace mireforge {

struct JsonMember;

struct JsonValue {
  enum class Kind { Null, Bool, Number, String, Array, Object };
  Kind Type = Kind::Null;
  bool Bool = false;
  double Number = 0;
  std::string String;
  std::vector<JsonValue> Items;                              // Array
  std::vector<JsonMember> Members;                           // Object, in file order

  // The member's value, or nullptr (also when this is not an object).
  const JsonValue* Member(std::string_view name) const;
  bool IsNumber() const { return Type == Kind::Number; }
  bool IsString() const { return Type == Kind::String; }
};

struct JsonMember {
  std::string Name;
  JsonValue Value;
};

struct JsonLimits {
  int MaxDepth = 64;
  std::size_t MaxValues = 8'000'000;
};

// Error "JSON line N: ..." for malformed input or a limit exceeded.
JsonValue ParseJson(std::string_view text, const JsonLimits& limits = {});

// text as a JSON string literal with its quotes; control characters escaped.
void AppendJsonString(std::string& out, std::string_view text);

}  // namespace mireforge
