#pragma once
// Writes a 0x00RRGGBB picture as an 8-bit RGB PNG.

#include <cstdint>
#include <string>

namespace replay {

bool writePng(const std::string& path, const uint32_t* pixels, int width, int height);

}  // namespace replay
