#pragma once
// GIF pictures from Images (used for the pictures of the HTML map page).
#include <string>

#include "pictures/image.h"

namespace mireforge {

// Encodes the picture as a GIF89a. A picture of at most 256 colours keeps its
// exact colours; one with more is reduced to 256. Pixels with alpha below 128
// become the transparent colour. Error when the picture is empty.
std::string EncodeGif(const Image& image);

// Writes EncodeGif(image) atomically; Error "Cannot create file %s" when it cannot be written.
void WriteGif(const std::string& path, const Image& image);

}  // namespace mireforge
