#include "formats/json_document.h"

#include <cmath>
#include <cstdlib>

#include "base/text_encoding.h"
#include "base/error.h"

namespace mireforge {

const JsonValue* JsonValue::Member(std::string_view name) const {
  for (const auto& [key, value] : Members)
    if (key == name) return &value;
  return nullptr;
}

namespace {

class JsonParser {
 public:
  JsonParser(std::string_view text, const JsonLimits& limits) : text_(text), limits_(limits) {}

  JsonValue Document() {
    if (text_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
    JsonValue value = Value(1);
    SkipSpace();
    if (pos_ < text_.size()) Fail("text after the value");
    return value;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const {
    int line = 1;
    for (std::size_t i = 0; i < pos_ && i < text_.size(); ++i) line += text_[i] == '\n';
    throw Error("JSON line " + std::to_string(line) + ": " + what);
  }

  void SkipSpace() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\r' || text_[pos_] == '\n'))
      ++pos_;
  }

  char Peek() {
    SkipSpace();
    if (pos_ >= text_.size()) Fail("unexpected end of the text");
    return text_[pos_];
  }

  void Expect(char c) {
    if (Peek() != c) Fail(std::string("'") + c + "' expected");
    ++pos_;
  }

  bool Literal(std::string_view word) {
    if (text_.substr(pos_, word.size()) != word) return false;
    pos_ += word.size();
    return true;
  }

  unsigned Hex4() {
    if (pos_ + 4 > text_.size()) Fail("a broken \\u escape");
    unsigned value = 0;
    for (int i = 0; i < 4; ++i) {
      const char c = text_[pos_++];
      value <<= 4;
      if (c >= '0' && c <= '9') value |= c - '0';
      else if (c >= 'a' && c <= 'f') value |= c - 'a' + 10;
      else if (c >= 'A' && c <= 'F') value |= c - 'A' + 10;
      else Fail("a broken \\u escape");
    }
    return value;
  }

  std::string String() {
    ++pos_;  // '"'
    std::string out;
    for (;;) {
      if (pos_ >= text_.size()) Fail("unterminated string");
      const char c = text_[pos_];
      if (c == '"') break;
      if (static_cast<unsigned char>(c) < 0x20) Fail("a control character inside a string");
      if (c != '\\') {
        const std::size_t end = text_.find_first_of("\"\\", pos_);
        const std::size_t stop = end == std::string_view::npos ? text_.size() : end;
        for (std::size_t i = pos_; i < stop; ++i)
          if (static_cast<unsigned char>(text_[i]) < 0x20) {
            pos_ = i;
            Fail("a control character inside a string");
          }
        out.append(text_.substr(pos_, stop - pos_));
        pos_ = stop;
        continue;
      }
      if (++pos_ >= text_.size()) Fail("unterminated string");
      const char e = text_[pos_++];
      switch (e) {
        case '"': out += '"'; break;
        case '\\': out += '\\'; break;
        case '/': out += '/'; break;
        case 'b': out += '\b'; break;
        case 'f': out += '\f'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'u': {
          char32_t code = Hex4();
          if (code >= 0xD800 && code <= 0xDBFF) {
            if (!Literal("\\u")) Fail("a lone surrogate in a \\u escape");
            const unsigned low = Hex4();
            if (low < 0xDC00 || low > 0xDFFF) Fail("a lone surrogate in a \\u escape");
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
          } else if (code >= 0xDC00 && code <= 0xDFFF) {
            Fail("a lone surrogate in a \\u escape");
          }
          AppendUtf8(out, code);
          break;
        }
        default: Fail("an unknown escape in a string");
      }
    }
    ++pos_;
    return out;
  }

  double Number() {
    const std::size_t start = pos_;
    if (pos_ < text_.size() && text_[pos_] == '-') ++pos_;
    const auto digits = [&] {
      const std::size_t from = pos_;
      while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') ++pos_;
      return pos_ - from;
    };
    if (digits() == 0) Fail("a broken number");
    if (pos_ < text_.size() && text_[pos_] == '.') {
      ++pos_;
      if (digits() == 0) Fail("a broken number");
    }
    if (pos_ < text_.size() && (text_[pos_] == 'e' || text_[pos_] == 'E')) {
      ++pos_;
      if (pos_ < text_.size() && (text_[pos_] == '+' || text_[pos_] == '-')) ++pos_;
      if (digits() == 0) Fail("a broken number");
    }
    if (pos_ - start > 64) Fail("a number too long");
    const std::string copy(text_.substr(start, pos_ - start));
    const double value = std::strtod(copy.c_str(), nullptr);
    if (!std::isfinite(value)) Fail("a number out of range");
    return value;
  }

  JsonValue Value(int depth) {
    if (depth > limits_.MaxDepth) Fail("values nested too deeply");
    if (++values_ > limits_.MaxValues) Fail("too many values");
    JsonValue value;
    const char c = Peek();
    if (c == '{') {
      value.Type = JsonValue::Kind::Object;
      ++pos_;
      if (Peek() == '}') {
        ++pos_;
        return value;
      }
      for (;;) {
        if (Peek() != '"') Fail("a member name expected");
        std::string name = String();
        Expect(':');
        value.Members.push_back({std::move(name), Value(depth + 1)});
        if (Peek() == ',') {
          ++pos_;
          continue;
        }
        Expect('}');
        return value;
      }
    }
    if (c == '[') {
      value.Type = JsonValue::Kind::Array;
      ++pos_;
      if (Peek() == ']') {
        ++pos_;
        return value;
      }
      for (;;) {
        value.Items.push_back(Value(depth + 1));
        if (Peek() == ',') {
          ++pos_;
          continue;
        }
        Expect(']');
        return value;
      }
    }
    if (c == '"') {
      value.Type = JsonValue::Kind::String;
      value.String = String();
      return value;
    }
    if (Literal("true") || Literal("false")) {
      value.Type = JsonValue::Kind::Bool;
      value.Bool = text_[pos_ - 4] == 't';
      return value;
    }
    if (Literal("null")) return value;
    value.Type = JsonValue::Kind::Number;
    value.Number = Number();
    return value;
  }

  std::string_view text_;
  JsonLimits limits_;
  std::size_t pos_ = 0;
  std::size_t values_ = 0;
};

}  // namespace

JsonValue ParseJson(std::string_view text, const JsonLimits& limits) { return JsonParser(text, limits).Document(); }

void AppendJsonString(std::string& out, std::string_view text) {
  static constexpr char Hex[] = "0123456789abcdef";
  out += '"';
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"') out += "\\\"";
    else if (c == '\\') out += "\\\\";
    else if (c == '\n') out += "\\n";
    else if (c == '\r') out += "\\r";
    else if (c == '\t') out += "\\t";
    else if (u < 0x20) {
      out += "\\u00";
      out += Hex[u >> 4];
      out += Hex[u & 15];
    } else {
      out += c;
    }
  }
  out += '"';
}

}  // namespace mireforge
