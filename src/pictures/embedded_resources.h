#pragma once
// The artwork under resources/tiles, compiled into the core.
#include <optional>
#include <span>
#include <string_view>

namespace mireforge {

// The bytes of a compiled-in resource file by its file name ("terrain.bmp"), or nothing.
std::optional<std::span<const unsigned char>> EmbeddedResource(std::string_view name);

}  // namespace mireforge
