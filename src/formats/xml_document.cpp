#include "formats/xml_document.h"

#include <charconv>

#include "base/text_encoding.h"
#include "base/error.h"

namespace mireforge {

const std::string* XmlElement::Attribute(std::string_view name) const {
  for (const auto& [key, value] : Attributes)
    if (key == name) return &value;
  return nullptr;
}

const XmlElement* XmlElement::Child(std::string_view name) const {
  for (const XmlElement& child : Children)
    if (child.Name == name) return &child;
  return nullptr;
}

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool IsNameChar(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u >= 0x80 || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '-' || c == '.' || c == ':';
}

class XmlParser {
 public:
  XmlParser(std::string_view text, const XmlLimits& limits) : text_(text), limits_(limits) {}

  XmlElement Document() {
    if (text_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
    SkipMisc();
    if (AtEnd() || text_[pos_] != '<') Fail("the document has no root element");
    XmlElement root = Element(1);
    SkipMisc();
    if (!AtEnd()) Fail("text after the root element");
    return root;
  }

 private:
  bool AtEnd() const { return pos_ >= text_.size(); }
  bool StartsWith(std::string_view s) const { return text_.substr(pos_, s.size()) == s; }

  [[noreturn]] void Fail(const std::string& what) const {
    int line = 1;
    for (std::size_t i = 0; i < pos_ && i < text_.size(); ++i) line += text_[i] == '\n';
    throw Error("XML line " + std::to_string(line) + ": " + what);
  }

  void SkipSpace() {
    while (!AtEnd() && IsSpace(text_[pos_])) ++pos_;
  }

  void SkipPast(std::string_view end, const char* what) {
    const std::size_t found = text_.find(end, pos_);
    if (found == std::string_view::npos) Fail(std::string("unterminated ") + what);
    pos_ = found + end.size();
  }

  // Declarations, processing instructions, comments and white space between elements.
  void SkipMisc() {
    for (;;) {
      SkipSpace();
      if (StartsWith("<?")) SkipPast("?>", "processing instruction");
      else if (StartsWith("<!--")) SkipPast("-->", "comment");
      else if (StartsWith("<!")) Fail("document type declarations are not accepted");
      else return;
    }
  }

  std::string Name() {
    const std::size_t start = pos_;
    while (!AtEnd() && IsNameChar(text_[pos_])) ++pos_;
    if (pos_ == start) Fail("a name is missing");
    return std::string(text_.substr(start, pos_ - start));
  }

  // "&...;" at pos_, appended to out as UTF-8.
  void Reference(std::string& out) {
    const std::size_t end = text_.find(';', pos_);
    if (end == std::string_view::npos || end - pos_ > 12) Fail("a broken character reference");
    const std::string_view name = text_.substr(pos_ + 1, end - pos_ - 1);
    pos_ = end + 1;
    if (name == "lt") out += '<';
    else if (name == "gt") out += '>';
    else if (name == "amp") out += '&';
    else if (name == "quot") out += '"';
    else if (name == "apos") out += '\'';
    else if (name.size() > 1 && name[0] == '#') {
      const bool hex = name[1] == 'x';
      const std::string_view digits = name.substr(hex ? 2 : 1);
      std::uint32_t value = 0;
      const auto [end2, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, hex ? 16 : 10);
      if (digits.empty() || error != std::errc() || end2 != digits.data() + digits.size() || value == 0 ||
          value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        Fail("a broken character reference");
      AppendUtf8(out, static_cast<char32_t>(value));
    } else {
      Fail("unknown entity &" + std::string(name) + ";");
    }
  }

  std::string AttributeValue() {
    if (AtEnd() || (text_[pos_] != '"' && text_[pos_] != '\'')) Fail("an attribute value must be quoted");
    const char quote = text_[pos_++];
    std::string value;
    for (;;) {
      if (AtEnd()) Fail("unterminated attribute value");
      const char c = text_[pos_];
      if (c == quote) break;
      if (c == '<') Fail("'<' inside an attribute value");
      if (c == '&') {
        Reference(value);
        continue;
      }
      value += IsSpace(c) ? ' ' : c;  // attribute value normalisation
      ++pos_;
    }
    ++pos_;
    return value;
  }

  XmlElement Element(int depth) {
    if (depth > limits_.MaxDepth) Fail("elements nested too deeply");
    if (++elements_ > limits_.MaxElements) Fail("too many elements");
    XmlElement element;
    for (; lineCountedTo_ < pos_; ++lineCountedTo_) lines_ += text_[lineCountedTo_] == '\n';
    element.Line = lines_ + 1;
    ++pos_;  // '<'
    element.Name = Name();
    for (;;) {
      const std::size_t before = pos_;
      SkipSpace();
      if (AtEnd()) Fail("unterminated element <" + element.Name + ">");
      if (StartsWith("/>")) {
        pos_ += 2;
        return element;
      }
      if (text_[pos_] == '>') {
        ++pos_;
        break;
      }
      if (pos_ == before) Fail("white space is missing between attributes");
      std::string key = Name();
      SkipSpace();
      if (AtEnd() || text_[pos_] != '=') Fail("'=' is missing after attribute " + key);
      ++pos_;
      SkipSpace();
      if (element.Attribute(key)) Fail("attribute " + key + " given twice");
      if (element.Attributes.size() >= limits_.MaxAttributes) Fail("too many attributes");
      element.Attributes.emplace_back(std::move(key), AttributeValue());
    }
    for (;;) {
      if (AtEnd()) Fail("element <" + element.Name + "> is not closed");
      const char c = text_[pos_];
      if (c == '&') {
        Reference(element.Text);
      } else if (c != '<') {
        const std::size_t next = text_.find_first_of("<&", pos_);
        const std::size_t end = next == std::string_view::npos ? text_.size() : next;
        element.Text.append(text_.substr(pos_, end - pos_));
        pos_ = end;
      } else if (StartsWith("</")) {
        pos_ += 2;
        if (Name() != element.Name) Fail("</...> does not close <" + element.Name + ">");
        SkipSpace();
        if (AtEnd() || text_[pos_] != '>') Fail("'>' is missing");
        ++pos_;
        return element;
      } else if (StartsWith("<!--")) {
        SkipPast("-->", "comment");
      } else if (StartsWith("<![CDATA[")) {
        pos_ += 9;
        const std::size_t end = text_.find("]]>", pos_);
        if (end == std::string_view::npos) Fail("unterminated CDATA section");
        element.Text.append(text_.substr(pos_, end - pos_));
        pos_ = end + 3;
      } else if (StartsWith("<?")) {
        SkipPast("?>", "processing instruction");
      } else if (StartsWith("<!")) {
        Fail("declarations are not accepted inside elements");
      } else {
        element.Children.push_back(Element(depth + 1));
      }
    }
  }

  std::string_view text_;
  XmlLimits limits_;
  std::size_t pos_ = 0;
  std::size_t elements_ = 0;
  std::size_t lineCountedTo_ = 0;
  int lines_ = 0;
};

}  // namespace

XmlElement ParseXml(std::string_view text, const XmlLimits& limits) { return XmlParser(text, limits).Document(); }

void AppendXmlEscaped(std::string& out, std::string_view text) {
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\t': out += "&#9;"; break;
      case '\n': out += "&#10;"; break;
      case '\r': out += "&#13;"; break;
      default: out += c;
    }
  }
}

}  // namespace mireforge
