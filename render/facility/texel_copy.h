#pragma once
// The colour key and the copy of an image into the top texture level without resampling.

#include <array>
#include <cstdint>

#include "render/facility/decoded_image.h"
#include "render/facility/level_view.h"

namespace texload {

// A colour key as 0xAARRGGBB; 0 means no key.
constexpr uint32_t kNoColourKey = 0;

// Turns into (0, 0, 0, 0) every palette entry equal to the key in all four bytes. True when
// some entry then has an alpha below 255.
bool keyPalette(std::array<PaletteEntry, 256>& palette, uint32_t colourKey);

// Writes the image into `level` at the same coordinates, texel for texel, converting each pixel
// to the level's format. Pixels equal to the key (reduced to the image's own format first)
// become (0, 0, 0, 0); palette images are not keyed here, their palette is (keyPalette).
// Texels beyond the image are (0, 0, 0, 0); pixels beyond the level are dropped.
void copyImageToLevel(const DecodedImage& image, uint32_t colourKey, const LevelView& level);

}  // namespace texload
