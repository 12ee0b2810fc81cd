#pragma once
// Minimal PNG encoder (8-bit RGB, zlib-compressed) for decoded frames.

#include <cstdint>
#include <string>
#include <vector>

namespace reelcast {

// Encodes 32-bit pixels (R in bits 0-7, G 8-15, B 16-23) as a PNG file image.
std::vector<uint8_t> encodePng(const uint32_t* pixels, uint32_t width, uint32_t height);

// Writes the PNG through a temporary file renamed into place; false (with errno set) on failure.
bool writePng(const std::string& path, const uint32_t* pixels, uint32_t width, uint32_t height);

} // namespace reelcast
