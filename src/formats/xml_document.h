#pragma once
// A small XML reader and the escaping for writers: enough for the map and
// tileset files of tile map editors. Bounded on every axis, and without
// document type declarations, so no entity can expand or reach outside.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace mireforge {

struct XmlElement {
  std::string Name;
  std::vector<std::pair<std::string, std::string>> Attributes;
  std::vector<XmlElement> Children;
  std::string Text;  // the character data directly inside, references resolved
  int Line = 0;      // where the element starts, for messages

  // The attribute's value, or nullptr.
  const std::string* Attribute(std::string_view name) const;
  // The first child of that name, or nullptr.
  const XmlElement* Child(std::string_view name) const;
};

struct XmlLimits {
  int MaxDepth = 32;
  std::size_t MaxElements = 2'000'000;
  std::size_t MaxAttributes = 64;  // per element
};

// Parses a whole document into its root element. Error "XML line N: ..." for
// malformed input, a document type declaration, or a limit exceeded.
XmlElement ParseXml(std::string_view text, const XmlLimits& limits = {});

// Text for an attribute value between double quotes: & < > " and the
// white-space characters that attribute normalisation would turn into blanks.
void AppendXmlEscaped(std::string& out, std::string_view text);

}  // namespace mireforge
